// The game's sound effects, addressed by their ids (sound_ids.h; 0 is silence), loaded from the
// folder "sound", with a three-frame re-trigger guard per id.
#pragma once

#include <cstdint>

#include "game/world/sound_ids.h"

class SoundEffects {
public:
    static constexpr int kIds = 64;
    static constexpr int32_t kCooldownFrames = 3;
    static_assert(sound::kEffectCount < kIds, "every effect id is below the id range");

    // Reduces the id to 0-63 (a non-negative remainder, so negative ids cannot index outside
    // the table) and plays it unless it played in the last 3 frames; an id above the last
    // effect gets a message instead. Returns the reduced id.
    int32_t Play(int32_t id);
    void TickCooldowns();  // once per frame

    int32_t cooldown[kIds] = {};
};

void LoadSoundEffects();     // every effect from the folder "sound", in id order
void ReleaseSoundEffects();  // the three menu effects; the service's shutdown frees the rest
void SetSEVolume(float volume);  // 0-100 for every effect
