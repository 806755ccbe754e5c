// The game's sound effects, made from the rows of sound_rows.h: the name of every id, as in
// sound::kCharacterLost, and every effect's file in the order LoadSoundEffects loads them. Id 0
// is silence. Header-only and free of other game code, so that the data set's maker reads it too.
#pragma once

#include <cstdint>
#include <iterator>

#include "game/world/class_rows.h"

namespace sound {

enum : int32_t {
    kNone = 0,  // silence: no effect plays
#define SOUND(id, name, file) name = id,
#include "game/world/sound_rows.h"
#undef SOUND
};

struct EffectRow {
    int32_t id;
    const char* file;  // in the folder "sound"
};

// Row i is effect id i + 1.
constexpr EffectRow kEffectRows[] = {
#define SOUND(id, name, file) {id, file},
#include "game/world/sound_rows.h"
#undef SOUND
};
static_assert(RowsRunFrom(kEffectRows, 1), "sound_rows.h lists the effects by id from 1, one row each");

constexpr int32_t kEffectCount = static_cast<int32_t>(std::size(kEffectRows));

}  // namespace sound
