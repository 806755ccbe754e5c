// The player blast (type id 163) and, with it, the RB weapon family (164-176): shots, side
// options, a circling option with shields, a standing laser, missiles and a bursting shot. The
// score field is the level (shots) or the slot (options and shields).
#pragma once

#include "game/player/shot.h"

// The eight pieces thrown out round a character that loses a life: five frames of bullet
// erasing, drawn in white whatever the ghost display says.
class S_PCBlast : public Shot {
public:
    S_PCBlast(float x, float y, float vx, float vy, float ax, float ay) : Shot(163, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Aiko's forward shot: sized by its level over its first two frames; its side comes from the
// firing code.
class S_RBShot : public Shot {
public:
    S_RBShot(float x, float y, float vx, float vy, float ax, float ay) : Shot(164, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// An option that opens sideways from its owner within five frames and rides 16 units out, held
// inside the field.
class RBSideOption : public Shot {
public:
    void Run(ObjectController* ctx) override;

protected:
    using Shot::Shot;
};

class S_RBOptionV : public RBSideOption {
public:
    S_RBOptionV(float x, float y, float vx, float vy, float ax, float ay) : RBSideOption(165, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
};

class S_RBShotV : public Shot {
public:
    S_RBShotV(float x, float y, float vx, float vy, float ax, float ay) : Shot(166, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController*) override { age += 1; }
};

// Homes on the nearest enemy at 5 degrees a frame.
class S_RBShotVR : public Shot {
public:
    S_RBShotVR(float x, float y, float vx, float vy, float ax, float ay) : Shot(167, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Circles its owner; slots 2 and 3 trail two shields, its children.
class S_RBOptionL : public ParentShot<4> {
public:
    S_RBOptionL(float x, float y, float vx, float vy, float ax, float ay) : ParentShot(168, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController*) override {}
    void Run(ObjectController* ctx) override;
};

class S_RBOptionLShield : public Shot {
public:
    S_RBOptionLShield(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(169, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController*) override { hp = maxHp; }
};

// A laser standing beside its owner that grows for as many frames as its angle field says.
class S_RBShotL : public ParentShot<8> {
public:
    S_RBShotL(float x, float y, float vx, float vy, float ax, float ay) : ParentShot(170, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

class S_RBShotLTrace : public Shot {
public:
    S_RBShotLTrace(float x, float y, float vx, float vy, float ax, float ay) : Shot(171, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

class S_RBShotLR : public Shot {
public:
    S_RBShotLR(float x, float y, float vx, float vy, float ax, float ay) : Shot(172, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;  // killed past age 45
};

class S_RBOptionM : public RBSideOption {
public:
    S_RBOptionM(float x, float y, float vx, float vy, float ax, float ay) : RBSideOption(173, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
};

// A missile that starts climbing faster from age 15.
class S_RBShotM : public Shot {
public:
    S_RBShotM(float x, float y, float vx, float vy, float ax, float ay) : Shot(174, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Killed at age 30 or by a hit, it leaves a blast; vanishing at the edge leaves none.
class S_RBShotMR : public Shot {
public:
    S_RBShotMR(float x, float y, float vx, float vy, float ax, float ay) : Shot(175, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    void OnKilled(ObjectController* ctx) override;
};

class S_RBShotMRBlast : public Shot {
public:
    S_RBShotMRBlast(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(176, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    int32_t frame = 0;
};

// The sector (0-15, a sixteenth of a turn each, sector 0 centred on +x) of a binary angle.
int32_t SectorOf(int32_t angle);
