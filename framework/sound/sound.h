// The sound service: 64 numbered sounds, each either up to 32 layers of one WAVE sound held in
// memory (so an effect can overlap itself) or one stream player. Id -1 means no sound; operations
// on -1, on an id outside the table, on a free slot or on a missing layer do nothing.
#pragma once

#include <cstdint>

namespace ZethSound {

constexpr int32_t kSlotCount = 64;
constexpr uint32_t kMaxLayers = 32;

// Starts the service: the slot table and the audio output (a silent sink when there is no device).
bool Initialize();
// Releases every sound, the table and the audio output.
void Finalize();

// Loads a sound through the file system: a stream player when usePlayer is set, otherwise a WAVE
// file in memory with layerCount layers (at most 32). Returns the id, or -1 with the reason logged.
int32_t CreateFromFile(const char* name, uint32_t playerFlag, bool usePlayer, bool hardware, uint32_t layerCount);
// Drops one reference; the sound is freed at the last one.
void Release(int32_t id);

// A layer is sounding (a stream player: sounding or paused).
bool IsPlaying(int32_t id, uint32_t layer);
// Plays once from where the layer stands (a stream player: from the start).
void Play(int32_t id, uint32_t layer);
// Plays looping; a stream player starts from the start and goes back to loopFrame at each end.
void Loop(int32_t id, int32_t count, int32_t loopFrame, uint32_t layer);
// Stops and goes back to the start.
void Stop(int32_t id, uint32_t layer);
// Pauses, or resumes a paused sound where it was (looping again if it looped).
void Pause(int32_t id, uint32_t layer);
// Volume 0-100: -(100 - volume)^2 hundredths of a decibel; above 100 full, below 0 silent.
void SetVolume(int32_t id, float volume, uint32_t layer);

// True while the service holds the audio output, which the music service shares.
bool GetDirectSound();

}  // namespace ZethSound
