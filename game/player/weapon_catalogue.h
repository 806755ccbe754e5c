// What the constructor of every player weapon (type ids 140-266) sets: drawn size, hit box, hit
// points, power and initial motion, one row per id. Class names and kinds are the type table's.
#pragma once

#include <cstdint>

#include "game/world/type_table.h"

// How the constructor sets speed and angle from the creation velocity.
enum class ShotMotion : uint8_t {
    kNone,             // speed and angle left at 0
    kSpeedAngle,       // speed = |v|, angle = the direction of v
    kAngle,            // angle = the direction of v
    kFixedAngle,       // angle = fixedAngle
    kSpeedFixedAngle,  // speed = |v| (or fixedSpeed when set), angle = fixedAngle
};

// Creation arguments some classes read as a variant (kept in the angle field) instead of motion.
enum class ShotVariant : uint8_t {
    kNone,
    kFromVx,            // variant = trunc(vx); velocity and acceleration cleared; size by variant
    kFromYThousands,    // variant = trunc(y) / 1000, the thousands taken off y; hit box by variant
    kFromAcceleration,  // variant 1 when ax or ay is set, else 0; acceleration cleared
    kFromAx,            // variant 1 when ax is set, else 0; acceleration cleared
    kFromDirection,     // variant = the eighth of a turn v points to; horizontal ones lie flat
    kBarrierFromVx,     // variant = trunc(vx); velocity cleared; size 16, 12 or 8 by variant
    kHorizontalFlag,    // variant 1 when ax = ay = 0 (horizontal), else 0; acceleration cleared
};

struct WeaponEntry {
    int16_t id;
    int16_t width, height;
    int16_t hitHalfWidth, hitHalfHeight;
    float hp, maxHp;
    float power;
    ShotMotion motion;
    int32_t fixedAngle;
    float fixedSpeed;  // 0 = from the velocity
    int8_t moveMode;
    float speedAccel;
    ShotVariant variant;
};

constexpr int32_t kFirstWeaponId = type_id::S_Gunnac;
constexpr int32_t kLastWeaponId = type_id::S_Hattori_FireBall;
constexpr int kWeaponCount = kLastWeaponId - kFirstWeaponId + 1;
extern const WeaponEntry kWeaponTable[kWeaponCount];  // row i is type id 140 + i

// The row of a weapon id; ids outside 140-266 are a programming error.
const WeaponEntry& WeaponRow(int32_t typeId);
