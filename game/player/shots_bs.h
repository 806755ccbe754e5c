// The BS weapons (type ids 252-255): a shot whose width and power grow with its charge level
// (the angle field), and the head, body segments and blasts of a charged shot that its
// controller effect assembles, holds and moves.
#pragma once

#include <cstdint>

#include "game/player/shot.h"

class S_BS_Shot : public Shot {
public:
    S_BS_Shot(float x, float y, float vx, float vy, float ax, float ay) : Shot(252, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// The charged shot's parts never move themselves: they vanish only above -16 or below 240.
class HeldShot : public Shot {
public:
    void Move(ObjectController* ctx) override;

protected:
    using Shot::Shot;
};

class S_BS_ChargeHead : public HeldShot {
public:
    S_BS_ChargeHead(float x, float y, float vx, float vy, float ax, float ay) : HeldShot(253, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
};

// Form 0-4 (angle field) picks its look.
class S_BS_ChargeBody : public HeldShot {
public:
    S_BS_ChargeBody(float x, float y, float vx, float vy, float ax, float ay) : HeldShot(254, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
};

// Lives 12 frames and passes every hit on to its owner.
class S_BS_ChargeBlast : public HeldShot {
public:
    S_BS_ChargeBlast(float x, float y, float vx, float vy, float ax, float ay)
        : HeldShot(255, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    void Damage(ObjectController* ctx, float amount) override;
};
