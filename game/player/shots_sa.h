// The SA weapons (type ids 190-194): a companion sprite flying as a weapon that grows with power
// items and fires its own shots, the blast it leaves, and a searching laser: a head running along
// the screen's axes that turns toward enemies, trailed by short-lived tail segments.
// Declared here are the classes that other files name; the rest live in shots_sa.cpp.
#pragma once

#include <cstdint>

#include "game/player/shot.h"
#include "game/world/type_table.h"

// Fires while told to (OnMessage code), at most two shots at a time; its grade follows its hp.
// It stays when its owner goes.
class S_SASprite : public ShotOf<type_id::S_SASprite, ParentShot<2>> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    void OnKilled(ObjectController* ctx) override;
    void ForgetObject(Object* gone) override;
    void OnMessage(const Message& message) override;
    void PowerUp(ObjectController* ctx, int32_t count) override;

    int32_t grade = 0;
    int32_t cooldown = 0;
    int32_t firing = 0;
};

// The angle field is the path state (0-11, plus 16 when searching), the score field the path
// pattern (0-5).
class S_SALaserHead : public ShotOf<type_id::S_SALaserHead, ParentShot<8>> {
public:
    S_SALaserHead(float x, float y, float vx, float vy, float ax, float ay)
        : ShotOf(x, y, vx, vy, ax, ay), lastOwnerX(x), lastOwnerY(y) {}
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;  // never removed at the edge
    void Run(ObjectController* ctx) override;
    void ForgetObject(Object* gone) override;   // the owner going only clears it

    int32_t tailValue = 4;
    uint8_t searching = 0;
    float lastOwnerX, lastOwnerY;
    bool reportedBadState = false;

private:
    void Search(ObjectController* ctx);
    void FollowPattern();
};

// The direction (0 right, 1 down, 2 left, 3 up) of a path state, or -1 for states 12-15.
int32_t LaserStateDirection(int32_t state);
