// The ids of the game's sound effects, in the order LoadSoundEffects loads their files (0 is
// silence).
#pragma once

#include <cstdint>

namespace sound {

constexpr int32_t kBlast2 = 2;  // the blasts 1 to 8
constexpr int32_t kBlast3 = 3;
constexpr int32_t kBlast4 = 4;
constexpr int32_t kBlast6 = 6;
constexpr int32_t kBlast7 = 7;
constexpr int32_t kBlast8 = 8;
constexpr int32_t kExtend = 9;
constexpr int32_t kBonusItemTaken = 14;
constexpr int32_t kPowerItemTaken = 15;
constexpr int32_t kPowerUp = 16;
constexpr int32_t kCharacterLost = 17;
constexpr int32_t kMenuMove = 18;
constexpr int32_t kMenuDecide = 19;
constexpr int32_t kMenuCancel = 20;
constexpr int32_t kShotHit3 = 23;  // the invisible wall absorbing a shot
constexpr int32_t kShot1 = 25;
constexpr int32_t kPi = 32;

}  // namespace sound
