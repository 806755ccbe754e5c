// The Gradius weapons (type ids 183-189): shots, a laser growing up from its owner while fire is
// held, missiles, a widening ripple ring and two bullet-eating shields. The level, where used, is
// the score field set by the firing option.
// Declared here are the classes that other files name; the rest live in shots_gradius.cpp.
#pragma once

#include <cstdint>

#include "game/player/shot.h"
#include "game/world/type_table.h"

// Grows upward while attached to its owner; released at age 20 or when fire is let go.
class S_GradiusLaser : public ShotOf<type_id::S_GradiusLaser> {
public:
    S_GradiusLaser(float x, float y, float vx, float vy, float ax, float ay)
        : ShotOf(x, y, vx, vy, ax, ay), lastOwnerY(y) {}
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;

    uint8_t attached = 1;
    float lastOwnerY;
};

// Its cell follows its heading.
class S_Gradius2Missile : public ShotOf<type_id::S_Gradius2Missile> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    int32_t frame = 0;
};

// The missile's frame for a heading (exclusive lower, inclusive upper bounds), or -1 for a
// heading in no range.
int32_t GradiusMissileFrame(int32_t angle);
