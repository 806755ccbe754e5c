// The CF weapons (type ids 217-220) that Keito fires and places: a shot drawn in one of eight
// directions, a weaving shot whose swing widens, a barrier in three sizes, and a homing laser
// that waits for an enemy to line up vertically and then strikes. In each the constructor turns
// one creation argument into a variant kept in the angle field, which is not a direction here.
#pragma once

#include <cstdint>

#include "game/player/shot.h"

// Variant: the eighth of a turn it flies in (0 right, 2 down, 4 left, 6 up); a tens digit of 1
// marks the piercing look.
class S_CF_NormalShot : public Shot {
public:
    S_CF_NormalShot(float x, float y, float vx, float vy, float ax, float ay) : Shot(217, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
};

// Variant 0 swings right first, any other the mirror image.
class S_CF_SinShot : public Shot {
public:
    S_CF_SinShot(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(218, x, y, vx, vy, ax, ay), baseX(x) {}
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;  // wide x limits, bottom at 240
    void Run(ObjectController* ctx) override;

    float baseX;
};

// Variant (type) 0, 1 or 2 sets the size 16, 12 or 8; its character places it.
class S_CF_Barrier : public Shot {
public:
    S_CF_Barrier(float x, float y, float vx, float vy, float ax, float ay) : Shot(219, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController*) override {}
    void Run(ObjectController* ctx) override;
};

class S_CF_HomingLaser : public Shot {
public:
    enum Phase : int32_t { kSearching = 0, kLockedAbove = 1, kLockedBelow = 2, kLaunched = 3 };

    S_CF_HomingLaser(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(220, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;

    int32_t phase = kSearching;
    int32_t lockCount = 0;
};
