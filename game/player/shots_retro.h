// The retro single shots (type ids 177-182): small variations on the shot base that differ in
// collision kind (a bullet eater, shots that hit only ground or only air targets, an invisible
// one-frame blast), sprite and, for one, a looping path. The level, where used, is the score
// field set by the creator.
#pragma once

#include <cstdint>

#include "game/player/shot.h"

// Noa's slow shot: erases the first bullet it touches and dies with it.
class S_InvaderShot : public Shot {
public:
    S_InvaderShot(float x, float y, float vx, float vy, float ax, float ay) : Shot(177, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
};

// Passes over ground targets (kind 400).
class S_Zapper : public Shot {
public:
    S_Zapper(float x, float y, float vx, float vy, float ax, float ay) : Shot(178, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
};

// Hits only ground targets for one frame and is never drawn.
class S_Blaster_Blast : public Shot {
public:
    S_Blaster_Blast(float x, float y, float vx, float vy, float ax, float ay) : Shot(179, x, y, vx, vy, ax, ay) {}
    void Run(ObjectController* ctx) override;  // killed at its second Run
};

// Akimi's twin shot.
class S_StarForceShot : public Shot {
public:
    S_StarForceShot(float x, float y, float vx, float vy, float ax, float ay) : Shot(180, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
};

class S_StarSoldierShot : public Shot {
public:
    S_StarSoldierShot(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(181, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;  // one cell a level
};

// Level 0 dies after 60 frames; level 2 loops round a centre that advances with its speed.
class S_ShinjinruiShot : public Shot {
public:
    S_ShinjinruiShot(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(182, x, y, vx, vy, ax, ay), startX(x), startY(y), startVy(vy) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;

    float startX, startY, startVy;
};
