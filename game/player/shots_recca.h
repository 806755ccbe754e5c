// The Recca weapons (type ids 149-162): straight shots, a homing shot, a piercing laser that
// turns once toward an enemy on a diagonal and trails a trace, five options that hang on their
// owner, the shot the options fire, a screen bomb and a barrier. The score field holds the level
// (shots, barrier) or the slot 0 or 1 (options).
// Declared here are the classes that other files name; the rest live in shots_recca.cpp.
#pragma once

#include <cstdint>

#include "game/player/shot.h"
#include "game/world/type_table.h"

// A piercing laser; levels 1 and 2 turn once onto an enemy on their diagonal (becoming 3 and 4).
// Its trace is held in the link field and remade every frame.
class S_ReccaL : public ShotOf<type_id::S_ReccaL> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    void Detach() override;  // tells the owner; the trace vanishes with it
    // The laser keeps flying when its owner goes.
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

class S_ReccaOptionR : public ShotOf<type_id::S_ReccaOptionR, ReccaOption> {
public:
    using ShotOf::ShotOf;

protected:
    void Steer(ObjectController* ctx, float ox, float oy) override;
};

// Aims opposite the held direction and swings toward that aim.
class S_ReccaOptionC : public ShotOf<type_id::S_ReccaOptionC, ReccaOption> {
public:
    using ShotOf::ShotOf;
    int32_t aim = 270;  // a binary angle, not degrees

protected:
    void Steer(ObjectController* ctx, float ox, float oy) override;
    void SteerAlone(ObjectController* ctx) override;
};

// The screen bomb: wears itself out by 8 a frame and eats bullets while it lasts.
class S_ReccaBomber : public ShotOf<type_id::S_ReccaBomber> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    int32_t frame = 0;
};

// One range of option angles (lower bound excluded) and the frame of the option it shows.
struct OptionCellRange {
    int32_t low, high;
    int8_t frame;
    bool mirrorX, mirrorY;
};
constexpr int kOptionCellRanges = 16;
extern const OptionCellRange kOptionCells[kOptionCellRanges];
// The first range holding the angle, or -1.
int32_t OptionCellFor(int32_t angle);
