#include "game/world/sound_effects.h"

#include <array>

#include "framework/files/file_system.h"
#include "framework/sound/sound.h"
#include "framework/app/zeth.h"
#include "game/world/sound_ids.h"

namespace {

constexpr const char* kEffectFiles[SoundEffects::kEffects] = {
    "blast_1.wav",       "blast_2.wav",         "blast_3.wav",        "blast_4.wav",        "blast_5.wav",
    "blast_6.wav",       "blast_7.wav",         "blast_8.wav",        "extend.wav",         "ghost_bass.wav",
    "ghost_hhclose.wav", "ghost_hhopen.wav",    "ghost_snare.wav",    "item_bget.wav",      "item_pget.wav",
    "item_pup.wav",      "pc_miss.wav",         "select_select.wav",  "select_decide.wav",  "select_Cancel.wav",
    "shot_hit_1.wav",    "shot_hit_2.wav",      "shot_hit_3.wav",     "shot_hit_4.wav",     "shot_shot_1.wav",
    "shot_shot_2.wav",   "shot_shot_3.wav",     "shot_shot_4.wav",    "shot_shot_5.wav",    "shot_shot_6.wav",
    "shot_bell.wav",     "pi.wav",              "eek1.wav",           "eek2.wav",
};
constexpr int32_t kMenuEffects[] = {sound::kMenuMove, sound::kMenuDecide, sound::kMenuCancel};  // released with the resources
constexpr const char* kNoSuchEffectText = "ありえない音鳴らすよう言われたよ＠効果音管理クラス";

// The sound service's ids by effect id - 1; -1 (no sound) until loaded, so that a volume set
// before loading touches no other sound.
std::array<int32_t, SoundEffects::kEffects> handles = [] {
    std::array<int32_t, SoundEffects::kEffects> none;
    none.fill(-1);
    return none;
}();

}  // namespace

int32_t SoundEffects::Play(int32_t id) {
    int32_t i = ((id % kIds) + kIds) % kIds;
    if (cooldown[i] != 0) return i;
    cooldown[i] = kCooldownFrames;
    if (i >= 1 && i <= kEffects) {
        ZethSound::Play(handles[i - 1], 0);
    } else if (i > kEffects) {
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
    for (int i = 0; i < SoundEffects::kEffects; ++i) handles[i] = ZethSound::CreateFromFile(kEffectFiles[i], 1, true, false, 1);
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
