// The stream player that stands where the Ayame library stood: a WAVE or Ogg Vorbis file decoded
// from its reader while it plays. Its operations follow the order of that library's table.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/audio/reader.h"

namespace platform::audio {

class StreamVoice;

class StreamPlayer {
public:
    explicit StreamPlayer(std::unique_ptr<StreamVoice> voice);
    ~StreamPlayer();
    StreamPlayer(const StreamPlayer&) = delete;
    StreamPlayer& operator=(const StreamPlayer&) = delete;

    bool IsPlaying();                            // 1: sounding, or paused (Pause resumes it)
    void Play(int32_t, int32_t);                 // 2: from the start, once
    void Loop(int32_t count, int32_t loopFrame);  // 3: from the start; each end jumps to loopFrame
    void Stop();                                 // 4: stops and goes back to the start
    void Pause();                                // 5: pauses, or resumes a paused stream
    void SetVolume(float volume);                // 6: 0-100 on the framework's volume scale
    void Release();                              // 8: stops and deletes the player

private:
    std::unique_ptr<StreamVoice> voice_;
    bool paused_ = false;
};

// A player for the file window [offset, offset + size) of the file at path (size 0 = to the end);
// null on failure, with the reason for Ayame_GetLastError. Every file is streamed, so the flags
// choose nothing.
StreamPlayer* Ayame_CreateInstanceFromFileEx(const char* path, uint32_t offset, uint32_t size, uint32_t flags);
// The same for a reader the caller opened (the framework's file layer); the player owns it.
StreamPlayer* Ayame_CreateInstanceFromReader(std::unique_ptr<Reader> reader);
// Copies the reason of the last failed creation into text (512 bytes).
void Ayame_GetLastError(char* text);

}  // namespace platform::audio
