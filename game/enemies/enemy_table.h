// The enemy class table: one row per type id 8-96 with the values every enemy constructor
// sets. Kinds stay in the world's type table, where the factory reads them.
#pragma once

#include <cstdint>

#include "game/world/type_table.h"

// Which constructor arguments (a, b, c, d) become velocity and acceleration.
enum class EnemyArgs : uint8_t {
    kNone,
    kA,     // vx = a
    kB,     // vy = b
    kAB,    // vx = a, vy = b
    kAC,    // vx = a, ax = c
    kABCD,  // vx = a, vy = b, ax = c, ay = d
};

// Values set by a few classes only.
enum EnemyExtra : uint8_t {
    kNoExtra = 0,
    kGhostColour = 1,          // colour = -1 (the ghost classes)
    kGhostLookFromCD = 2,      // ghostLook = 1 when c or d is non-zero
    kAngleFromAB = 4,          // angle = the direction of (a, b)
    kSpeedFromAB = 8,          // speed = the length of (a, b)
};

struct EnemyRow {
    int16_t id;
    int16_t width, height;
    int16_t hitHalfWidth, hitHalfHeight;
    float hp;
    int32_t score;
    int8_t destroySound, hitSound;  // sound ids, sound::kNone for none
    bool intX;  // x truncated to an integer and kept as spawnX
    EnemyArgs args;
    float vx, vy, ay;  // fixed values, set before the arguments
    int8_t moveMode;
    int32_t angle;
    float speed, speedAccel;
    int16_t invincible;
    int8_t placeStep;  // placed at (x + step a, y + step b); 0 none
    uint8_t extra;     // EnemyExtra bits
};

constexpr int32_t kFirstEnemyId = type_id::E_Coin_W;
constexpr int32_t kLastEnemyId = type_id::E_SF_BigBlock_G;
constexpr int kEnemyRowCount = kLastEnemyId - kFirstEnemyId + 1;
extern const EnemyRow kEnemyTable[kEnemyRowCount];  // row i is type id 8 + i

// The row of an enemy type id, or null outside 8-96.
const EnemyRow* FindEnemyRow(int32_t typeId);
