// The Ogg player that stands where the Vox library stood: one tune at a time, with its position
// in milliseconds. Its operations follow the slot order of that library's player object.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/audio/reader.h"

namespace platform::audio {

class StreamVoice;

class OggPlayer {
public:
    OggPlayer();
    ~OggPlayer();
    OggPlayer(const OggPlayer&) = delete;
    OggPlayer& operator=(const OggPlayer&) = delete;

    bool Open(std::unique_ptr<Reader> reader);  // 0: closes the open tune; false when not Ogg Vorbis
    void Play();                                // 1: plays or resumes; from the start after the end
    void Pause();                               // 2
    void Stop();                                // 3: stops and goes back to the start
    void SetVolume(float volume);               // 6: linear, 0.0-1.0
    void Release();                             // 9: deletes the player
    double GetPosition();                       // 11: milliseconds from the start of the tune
    void SetPosition(float milliseconds);       // 12
    int32_t GetState();                         // 13: 1 while playing, 0 otherwise

private:
    std::unique_ptr<StreamVoice> voice_;
    float volume_ = 1.0f;
};

OggPlayer* CreateVox();

}  // namespace platform::audio
