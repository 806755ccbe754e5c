#include "game/world/sound_effects.h"

#include "framework/zeth.h"

int32_t SoundEffects::Play(int32_t id) {
    int32_t i = ((id % kIds) + kIds) % kIds;
    if (cooldown[i] != 0) return i;
    cooldown[i] = 3;
    if (i > kEffects) Zeth::MessageBox(0, "test", "%s", "ありえない音鳴らすよう言われたよ＠効果音管理クラス");
    return i;
}

void SoundEffects::TickCooldowns() {
    for (int32_t& c : cooldown) {
        if (c > 0) c -= 1;
    }
}

void LoadSoundEffects() {}
void ReleaseSoundEffects() {}
void SetSEVolume(float) {}
