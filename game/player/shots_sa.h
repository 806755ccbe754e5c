// The SA weapons (type ids 190-194): a companion sprite flying as a weapon that grows with power
// items and fires its own shots, the blast it leaves, and a searching laser: a head running along
// the screen's axes that turns toward enemies, trailed by short-lived tail segments.
#pragma once

#include <cstdint>

#include "game/player/shot.h"

class S_SASpriteShot : public Shot {
public:
    S_SASpriteShot(float x, float y, float vx, float vy, float ax, float ay) : Shot(190, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Fires while told to (OnMessage code), at most two shots at a time; its grade follows its hp.
// It stays when its owner goes.
class S_SASprite : public ParentShot<2> {
public:
    S_SASprite(float x, float y, float vx, float vy, float ax, float ay) : ParentShot(191, x, y, vx, vy, ax, ay) {}
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

// Grows and shrinks its hit box over 15 frames; kills by it drop power items.
class S_SASpriteBlast : public Shot {
public:
    S_SASpriteBlast(float x, float y, float vx, float vy, float ax, float ay) : Shot(192, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    int32_t frame = 0;
};

// The angle field is the path state (0-11, plus 16 when searching), the score field the path
// pattern (0-5).
class S_SALaserHead : public ParentShot<8> {
public:
    S_SALaserHead(float x, float y, float vx, float vy, float ax, float ay)
        : ParentShot(193, x, y, vx, vy, ax, ay), lastOwnerX(x), lastOwnerY(y) {}
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

class S_SALaserTail : public Shot {
public:
    S_SALaserTail(float x, float y, float vx, float vy, float ax, float ay) : Shot(194, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;  // killed off the field
    void Run(ObjectController* ctx) override;
};

// The direction (0 right, 1 down, 2 left, 3 up) of a path state, or -1 for states 12-15.
int32_t LaserStateDirection(int32_t state);
