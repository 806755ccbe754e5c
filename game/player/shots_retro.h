// The retro single shots (type ids 177-182): small variations on the shot base that differ in
// collision kind (a bullet eater, shots that hit only ground or only air targets, an invisible
// one-frame blast), sprite and, for one, a looping path. The level, where used, is the score
// field set by the creator.
// Declared here are the classes that other files name; the rest live in shots_retro.cpp.
#pragma once

#include <cstdint>

#include "game/player/shot.h"
#include "game/world/type_table.h"

// Level 0 dies after 60 frames; level 2 loops round a centre that advances with its speed.
class S_ShinjinruiShot : public ShotOf<type_id::S_ShinjinruiShot> {
public:
    S_ShinjinruiShot(float x, float y, float vx, float vy, float ax, float ay)
        : ShotOf(x, y, vx, vy, ax, ay), startX(x), startY(y), startVy(vy) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;

    float startX, startY, startVy;
};
