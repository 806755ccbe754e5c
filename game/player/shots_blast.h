// The player blast (type id 163) and, with it, the RB weapon family (164-176): shots, side
// options, a circling option with shields, a standing laser, missiles and a bursting shot. The
// score field is the level (shots) or the slot (options and shields).
// Declared here are the classes that other files name; the rest live in shots_blast.cpp.
#pragma once

#include "game/player/shot.h"
#include "game/world/type_table.h"

// An option that opens sideways from its owner within five frames and rides 16 units out, held
// inside the field.
class RBSideOption : public Shot {
public:
    void Run(ObjectController* ctx) override;

protected:
    using Shot::Shot;
};

class S_RBOptionV : public ShotOf<type_id::S_RBOptionV, RBSideOption> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
};

class S_RBShotV : public ShotOf<type_id::S_RBShotV> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController*) override { age += 1; }
};

// Homes on the nearest enemy at 5 degrees a frame.
class S_RBShotVR : public ShotOf<type_id::S_RBShotVR> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Circles its owner; slots 2 and 3 trail two shields, its children.
class S_RBOptionL : public ShotOf<type_id::S_RBOptionL, ParentShot<4>> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController*) override {}
    void Run(ObjectController* ctx) override;
};

// The sector (0-15, a sixteenth of a turn each, sector 0 centred on +x) of a binary angle.
int32_t SectorOf(int32_t angle);
