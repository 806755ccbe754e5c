// The game's 34 sound effects, addressed by id 1-34 (0 is silence), loaded from the folder
// "sound", with a three-frame re-trigger guard per id.
#pragma once

#include <cstdint>

class SoundEffects {
public:
    static constexpr int kIds = 64;
    static constexpr int kEffects = 34;
    static constexpr int32_t kCooldownFrames = 3;

    // Reduces the id to 0-63 (a non-negative remainder, so negative ids cannot index outside
    // the table) and plays it unless it played in the last 3 frames; an id with no effect
    // (35-63) gets a message instead. Returns the reduced id.
    int32_t Play(int32_t id);
    void TickCooldowns();  // once per frame

    int32_t cooldown[kIds] = {};
};

void LoadSoundEffects();     // the 34 effects from the folder "sound", in id order
void ReleaseSoundEffects();  // the three menu effects; the service's shutdown frees the rest
void SetSEVolume(float volume);  // 0-100 for every effect
