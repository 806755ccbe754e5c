// The bomb, barrel and ice weapons (type ids 221-226).
#pragma once

#include <cstdint>
#include <vector>

#include "game/player/shot.h"

// Kicked by its owner moving up from just below; any contact stops it and makes it harmless;
// it bursts after 120 frames or at its fourth bullet.
class S_BM_Bomb : public Shot {
public:
    S_BM_Bomb(float x, float y, float vx, float vy, float ax, float ay) : Shot(221, x, y, vx, vy, ax, ay) {}
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
class S_BM_Blast : public Shot {
public:
    S_BM_Blast(float x, float y, float vx, float vy, float ax, float ay);
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    std::vector<FlameCell> Cells() const;  // the pieces it draws this frame

    int32_t frame = 0;
    uint8_t horizontal;
};

class S_Makaijima_Barrel : public Shot {
public:
    S_Makaijima_Barrel(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(223, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
};

// The ice pieces that leave a blast when killed.
class IceShot : public Shot {
public:
    void OnKilled(ObjectController* ctx) override;

protected:
    using Shot::Shot;
};

// Takes 17 contacts or stands 300 frames.
class S_Meikyuujima_IceWall : public IceShot {
public:
    S_Meikyuujima_IceWall(float x, float y, float vx, float vy, float ax, float ay)
        : IceShot(224, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Its kills are reported to its owner (kind 508).
class S_Meikyuujima_Shot : public Shot {
public:
    S_Meikyuujima_Shot(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(225, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
};

// Pushed up by its owner, knocked back down by a contact and harmless for 4 frames after.
class S_Meikyuujima_IceCube : public IceShot {
public:
    S_Meikyuujima_IceCube(float x, float y, float vx, float vy, float ax, float ay)
        : IceShot(226, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    void Damage(ObjectController* ctx, float amount) override;
    int32_t cooldown = 0;
};
