#include "game/world/sound_effects.h"

#include <array>

#include "framework/files/file_system.h"
#include "framework/sound/sound.h"
#include "framework/app/zeth.h"

namespace {

constexpr int32_t kMenuEffects[] = {sound::kMenuMove, sound::kMenuDecide, sound::kMenuCancel};  // released with the resources
constexpr const char* kNoSuchEffectText = "ありえない音鳴らすよう言われたよ＠効果音管理クラス";

// The sound service's ids by effect id - 1; -1 (no sound) until loaded, so that a volume set
// before loading touches no other sound.
std::array<int32_t, sound::kEffectCount> handles = [] {
    std::array<int32_t, sound::kEffectCount> none;
    none.fill(-1);
    return none;
}();

}  // namespace

int32_t SoundEffects::Play(int32_t id) {
    int32_t i = ((id % kIds) + kIds) % kIds;
    if (cooldown[i] != 0) return i;
    cooldown[i] = kCooldownFrames;
    if (i >= 1 && i <= sound::kEffectCount) {
        ZethSound::Play(handles[i - 1], 0);
    } else if (i > sound::kEffectCount) {
        Zeth::MessageBox(0, "test", "%s", kNoSuchEffectText);
    }
    return i;
}

void SoundEffects::TickCooldowns() {
    for (int32_t& c : cooldown) {
        if (c > 0) c -= 1;
    }
}

void LoadSoundEffects() {
    ZethFile::SetCurrentPath("sound");
    for (const sound::EffectRow& row : sound::kEffectRows) {
        handles[row.id - 1] = ZethSound::CreateFromFile(row.file, 1, true, false, 1);
    }
}

void ReleaseSoundEffects() {
    for (int32_t id : kMenuEffects) {
        ZethSound::Release(handles[id - 1]);
        handles[id - 1] = -1;
    }
}

void SetSEVolume(float volume) {
    for (int32_t handle : handles) ZethSound::SetVolume(handle, volume, 0);
}
