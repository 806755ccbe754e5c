// Sound effects by id (1-34; 0 is silence) with a three-frame re-trigger guard per id. The
// effects themselves are not loaded yet, so playing one only runs the guard.
#pragma once

#include <cstdint>

class SoundEffects {
public:
    static constexpr int kIds = 64;
    static constexpr int kEffects = 34;

    // Reduces the id to 0-63 (a non-negative remainder, so negative ids cannot index outside
    // the table) and plays it unless it played in the last 3 frames. Returns the reduced id.
    int32_t Play(int32_t id);
    void TickCooldowns();  // once per frame

    int32_t cooldown[kIds] = {};
};

void LoadSoundEffects();
void ReleaseSoundEffects();
void SetSEVolume(float volume);
