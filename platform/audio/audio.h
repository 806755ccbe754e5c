// The audio output and the sound buffers mixed into it: one 44,100 Hz, 16-bit stereo output fed
// by our own mixer. Volumes are in hundredths of a decibel (0 = full, -10000 = silent), pans
// likewise (negative quietens the right side, positive the left).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio/wave.h"

namespace platform::audio {

constexpr uint32_t kMixRate = 44100;
constexpr int32_t kVolumeFull = 0;
constexpr int32_t kVolumeSilent = -10000;
// Starts, stops, pauses and volume changes fade over this many frames (about 1.5 ms): long enough
// to hide a step in the wave, short enough to keep an attack sharp.
constexpr uint32_t kRampFrames = 64;

enum class Output {
    kNone,        // not open
    kDevice,      // the SDL audio device pulls the mix
    kSilentSink,  // no usable device: the mix is pulled in step with the clock (platform::GetClock) and dropped
    kManual,      // nothing pulls: the caller renders with RenderFrames (tests)
};

// Opens the output once (later calls return what is open). SDL's dummy driver or a device that
// will not open gives the silent sink, so sounds still start, play and end at the clock's pace.
Output OpenOutput(bool manual);
void CloseOutput();
Output CurrentOutput();
// Mixes frames of 16-bit stereo into out; the same calls on the same voices give the same bytes.
void RenderFrames(int16_t* out, uint32_t frames);

// The 0-100 volume scale of the framework: -(100 - v)^2 hundredths of a decibel, truncated;
// above 100 is full, below 0 silent.
int32_t PercentToHundredthsDb(float volume);
// Linear amplitude of a volume in hundredths of a decibel; -10000 and below are exactly 0.
float GainFromHundredthsDb(int32_t volume);

class BufferVoice;

// A sound held in memory at the mix format, played once or looping.
class SoundBuffer {
public:
    // The most frames a buffer holds (64 MB, over six minutes): a sound longer than that once
    // converted is no sound effect but damage, and a slow rate must not blow a small file up.
    static constexpr uint32_t kMaxFrames = 1u << 24;
    // Converts samples of the format (8/16-bit, mono/stereo, any rate the format allows) to the mix
    // format; null for a format that cannot be played, no whole frame of samples, or more than
    // kMaxFrames once converted.
    static std::unique_ptr<SoundBuffer> Create(const PcmFormat& format, const void* samples, uint32_t bytes);
    ~SoundBuffer();
    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;

    std::unique_ptr<SoundBuffer> Duplicate() const;  // shares the samples; own position and volume
    void Play(bool loop);   // from the current position; a playing buffer only takes the loop flag
    void Stop();            // stops where it is
    bool IsPlaying() const;
    uint32_t GetPosition() const;  // frame at the mix rate; back to 0 after playing to the end
    bool SetPosition(uint32_t frame);  // false beyond the end
    void SetVolume(int32_t hundredthsDb);
    void SetPan(int32_t hundredthsDb);
    uint32_t FrameCount() const;

private:
    explicit SoundBuffer(std::shared_ptr<const std::vector<int16_t>> samples);
    void ApplyGain();

    std::unique_ptr<BufferVoice> voice_;
    int32_t volume_ = kVolumeFull;
    int32_t pan_ = 0;
};

}  // namespace platform::audio
