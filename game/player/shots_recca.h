// The Recca weapons (type ids 149-162): straight shots, a homing shot, a piercing laser that
// turns once toward an enemy on a diagonal and trails a trace, five options that hang on their
// owner, the shot the options fire, a screen bomb and a barrier. The score field holds the level
// (shots, barrier) or the slot 0 or 1 (options).
#pragma once

#include <cstdint>

#include "game/player/shot.h"

// Tilt = trunc(vx / 2) picks the cell.
class S_ReccaV : public Shot {
public:
    S_ReccaV(float x, float y, float vx, float vy, float ax, float ay);
    void Draw(ObjectController* ctx) override;
    int32_t tilt;
};

// Direction 0 up, 1 up-slanted, 2 sideways, 3 down-slanted, 4 down, from the velocity's signs.
class S_ReccaF : public Shot {
public:
    S_ReccaF(float x, float y, float vx, float vy, float ax, float ay);
    void Draw(ObjectController* ctx) override;
    int32_t direction;
};

class S_ReccaB : public Shot {
public:
    S_ReccaB(float x, float y, float vx, float vy, float ax, float ay) : Shot(151, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
};

// Homes on the nearest enemy, turning faster and flying faster with its level.
class S_ReccaH : public Shot {
public:
    S_ReccaH(float x, float y, float vx, float vy, float ax, float ay) : Shot(152, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// A piercing laser; levels 1 and 2 turn once onto an enemy on their diagonal (becoming 3 and 4).
// Its trace is held in the link field and remade every frame.
class S_ReccaL : public Shot {
public:
    S_ReccaL(float x, float y, float vx, float vy, float ax, float ay) : Shot(153, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    void Detach() override;  // tells the owner; the trace vanishes with it
    // The laser keeps flying when its owner goes.
    void ForgetObject(Object* gone) override { Object::ForgetObject(gone); }
};

// The laser's look between two frames' positions: it passes the damage it takes to its laser.
class S_ReccaL_Trace : public Shot {
public:
    S_ReccaL_Trace(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(154, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;  // no removal at the field edge
    void Damage(ObjectController* ctx, float amount) override;
    void Detach() override {}
    void ForgetObject(Object* gone) override { Object::ForgetObject(gone); }
};

// The shared base of the five options: placed on the owner every frame, never worn out, drawn
// with the cell of the angle range the angle lies in.
class ReccaOption : public Shot {
public:
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController*) override {}
    void Run(ObjectController* ctx) override;

    int32_t cell = -1;  // the last matched angle range; -1 before any matched

protected:
    using Shot::Shot;
    // Aims and places the option round its owner at (ox, oy).
    virtual void Steer(ObjectController* ctx, float ox, float oy) = 0;
    // Aims without an owner to place it on.
    virtual void SteerAlone(ObjectController*) {}
};

class S_ReccaOptionF : public ReccaOption {
public:
    S_ReccaOptionF(float x, float y, float vx, float vy, float ax, float ay)
        : ReccaOption(155, x, y, vx, vy, ax, ay) {}

protected:
    void Steer(ObjectController* ctx, float ox, float oy) override;
};

class S_ReccaOptionS : public ReccaOption {
public:
    S_ReccaOptionS(float x, float y, float vx, float vy, float ax, float ay)
        : ReccaOption(156, x, y, vx, vy, ax, ay) {}
    void Move(ObjectController*) override;  // the movement modes, no removal

protected:
    void Steer(ObjectController* ctx, float ox, float oy) override;
    void SteerAlone(ObjectController* ctx) override;
};

class S_ReccaOptionR : public ReccaOption {
public:
    S_ReccaOptionR(float x, float y, float vx, float vy, float ax, float ay)
        : ReccaOption(157, x, y, vx, vy, ax, ay) {}

protected:
    void Steer(ObjectController* ctx, float ox, float oy) override;
};

class S_ReccaOptionB : public ReccaOption {
public:
    S_ReccaOptionB(float x, float y, float vx, float vy, float ax, float ay)
        : ReccaOption(158, x, y, vx, vy, ax, ay) {}

protected:
    void Steer(ObjectController* ctx, float ox, float oy) override;
};

// Aims opposite the held direction and swings toward that aim.
class S_ReccaOptionC : public ReccaOption {
public:
    S_ReccaOptionC(float x, float y, float vx, float vy, float ax, float ay)
        : ReccaOption(159, x, y, vx, vy, ax, ay) {}
    int32_t aim = 270;  // a binary angle, not degrees

protected:
    void Steer(ObjectController* ctx, float ox, float oy) override;
    void SteerAlone(ObjectController* ctx) override;
};

class S_ReccaOptionShot : public Shot {
public:
    S_ReccaOptionShot(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(160, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
};

// The screen bomb: wears itself out by 8 a frame and eats bullets while it lasts.
class S_ReccaBomber : public Shot {
public:
    S_ReccaBomber(float x, float y, float vx, float vy, float ax, float ay) : Shot(161, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    int32_t frame = 0;
};

// Sized by its level; its character places it.
class S_ReccaBarrier : public Shot {
public:
    S_ReccaBarrier(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(162, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController*) override {}
    void Run(ObjectController* ctx) override;
};

// One range of option angles (lower bound excluded) and the cell it shows.
struct OptionCellRange {
    int32_t low, high;
    float u, v, w, h;  // a negative size mirrors
};
constexpr int kOptionCellRanges = 16;
extern const OptionCellRange kOptionCells[kOptionCellRanges];
// The first range holding the angle, or -1.
int32_t OptionCellFor(int32_t angle);
