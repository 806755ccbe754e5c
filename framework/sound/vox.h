// The Ogg tune player of the game's ghost-mode music, which stands where the Vox library stood.
// It reads its tune through the file system. Operations in the order of that library's slots.
#pragma once

#include <cstdint>

namespace platform::audio {
class OggPlayer;
}

class VoxPlayer {
public:
    bool Open(const char* path);           // 0: opens a tune in place of the open one; false when it cannot
    void Play();                           // 1: plays or resumes
    void Pause();                          // 2
    void Stop();                           // 3: stops the open tune and goes back to its start
    void SetVolume(float volume);          // 6: 0.0-1.0
    void Release();                        // 9: deletes the player
    double GetPosition();                  // 11: milliseconds
    void SetPosition(float milliseconds);  // 12
    int32_t GetState();                    // 13: 1 while playing, 0 when stopped or paused

private:
    friend VoxPlayer* CreateVox();
    explicit VoxPlayer(platform::audio::OggPlayer* player) : player_(player) {}
    ~VoxPlayer();

    platform::audio::OggPlayer* player_;
};

// Creates a player; the player is built in, so this never fails.
VoxPlayer* CreateVox();
