// The Gradius weapons (type ids 183-189): shots, a laser growing up from its owner while fire is
// held, missiles, a widening ripple ring and two bullet-eating shields. The level, where used, is
// the score field set by the firing option.
#pragma once

#include <cstdint>

#include "game/player/shot.h"

class S_GradiusShot : public Shot {
public:
    S_GradiusShot(float x, float y, float vx, float vy, float ax, float ay) : Shot(183, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
};

// Grows upward while attached to its owner; released at age 20 or when fire is let go.
class S_GradiusLaser : public Shot {
public:
    S_GradiusLaser(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(184, x, y, vx, vy, ax, ay), lastOwnerY(y) {}
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;

    uint8_t attached = 1;
    float lastOwnerY;
};

class S_GradiusMissile final : public CellShot {
public:
    S_GradiusMissile(float x, float y, float vx, float vy, float ax, float ay) : CellShot(185, x, y, vx, vy, ax, ay) {}
};

// Changes its look below 8 hp.
class S_GradiusShield : public Shot {
public:
    S_GradiusShield(float x, float y, float vx, float vy, float ax, float ay) : Shot(186, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
};

// Its cell follows its heading.
class S_Gradius2Missile : public Shot {
public:
    S_Gradius2Missile(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(187, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    int32_t frame = 0;
};

// Widens at ages 6 and 12.
class S_GradiusRipple : public Shot {
public:
    S_GradiusRipple(float x, float y, float vx, float vy, float ax, float ay) : Shot(188, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    int32_t frame = 0;
};

class S_GradiusForceField final : public CellShot {
public:
    S_GradiusForceField(float x, float y, float vx, float vy, float ax, float ay)
        : CellShot(189, x, y, vx, vy, ax, ay) {}
};

// The missile's frame for a heading (exclusive lower, inclusive upper bounds), or -1 for a
// heading in no range.
int32_t GradiusMissileFrame(int32_t angle);
