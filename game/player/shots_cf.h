// The CF weapons (type ids 217-220) that Keito fires and places: a shot drawn in one of eight
// directions, a weaving shot whose swing widens, a barrier in three sizes, and a homing laser
// that waits for an enemy to line up vertically and then strikes. In each the constructor turns
// one creation argument into a variant kept in the angle field, which is not a direction here.
// Declared here are the classes that other files name; the rest live in shots_cf.cpp.
#pragma once

#include <cstdint>

#include "game/player/shot.h"
#include "game/world/type_table.h"

// Variant 0 swings right first, any other the mirror image.
class S_CF_SinShot : public ShotOf<type_id::S_CF_SinShot> {
public:
    S_CF_SinShot(float x, float y, float vx, float vy, float ax, float ay)
        : ShotOf(x, y, vx, vy, ax, ay), baseX(x) {}
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;  // wide x limits, bottom at 240
    void Run(ObjectController* ctx) override;

    float baseX;
};

class S_CF_HomingLaser : public ShotOf<type_id::S_CF_HomingLaser> {
public:
    enum Phase : int32_t { kSearching = 0, kLockedAbove = 1, kLockedBelow = 2, kLaunched = 3 };

    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;

    int32_t phase = kSearching;
    int32_t lockCount = 0;
};
