// The bomb, barrel and ice weapons (type ids 221-226).
// Declared here are the classes that other files name; the rest live in shots_bm_ice.cpp.
#pragma once

#include <cstdint>
#include <vector>

#include "game/player/shot.h"
#include "game/world/type_table.h"

// Kicked by its owner moving up from just below; any contact stops it and makes it harmless;
// it bursts after 120 frames or at its fourth bullet.
class S_BM_Bomb : public ShotOf<type_id::S_BM_Bomb> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    void OnKilled(ObjectController* ctx) override;  // flames only while a game runs
    void Damage(ObjectController* ctx, float amount) override;
    int32_t frame = 0;
};

// One piece of a flame: its offset from the centre and its source cell (negative size mirrors).
struct FlameCell {
    float dx, dy;
    float u, v, w, h;
};

// A flame along one axis (horizontal when made with no acceleration), stretching its hit box
// over its length while it flares.
class S_BM_Blast : public ShotOf<type_id::S_BM_Blast> {
public:
    S_BM_Blast(float x, float y, float vx, float vy, float ax, float ay);
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    std::vector<FlameCell> Cells() const;  // the pieces it draws this frame

    int32_t frame = 0;
    uint8_t horizontal;
};

