// The BomberKing, Quinty and Kame weapons (type ids 195-205): a range-limited beam, a bomb blast
// and a missile; a floor panel that flips enemies off the top of the field; and seven sea-creature
// shots. The level, where used, is the score field.
#pragma once

#include <cstdint>

#include "game/player/shot.h"

// Lives (level + 3) x 10 frames.
class S_BomberKing_Beam : public Shot {
public:
    S_BomberKing_Beam(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(195, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Eight frames of a growing explosion, always drawn in white.
class S_BomberKing_Blast : public Shot {
public:
    S_BomberKing_Blast(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(196, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

class S_BomberKing_Missile final : public CellShot {
public:
    S_BomberKing_Missile(float x, float y, float vx, float vy, float ax, float ay)
        : CellShot(197, x, y, vx, vy, ax, ay) {}
};

// Rises and stands up over its first steps, then folds down; gone after 16 frames.
class S_Quinty_Panel : public Shot {
public:
    S_Quinty_Panel(float x, float y, float vx, float vy, float ax, float ay) : Shot(198, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    int32_t step = 0;
};

// The Kame shots with a Run of their own share the table cell look.
class KameShot : public CellShot {
public:
    void Run(ObjectController* ctx) override;  // first-frame side, the class's rule, age + 1

protected:
    using CellShot::CellShot;
    virtual void Behave() {}
};

class S_Kame_Ika final : public KameShot {
public:
    S_Kame_Ika(float x, float y, float vx, float vy, float ax, float ay) : KameShot(199, x, y, vx, vy, ax, ay) {}

protected:
    void Behave() override;  // killed past age 30
};

// Bounces off the side walls at x 4 and 252.
class S_Kame_Tako final : public KameShot {
public:
    S_Kame_Tako(float x, float y, float vx, float vy, float ax, float ay) : KameShot(200, x, y, vx, vy, ax, ay) {}

protected:
    void Behave() override;
};

// Turns back across every sixth frame.
class S_Kame_Kurage final : public KameShot {
public:
    S_Kame_Kurage(float x, float y, float vx, float vy, float ax, float ay) : KameShot(201, x, y, vx, vy, ax, ay) {}

protected:
    void Behave() override;
};

// Never worn out; something else places it.
class S_Kame_Umihebi_Bit final : public KameShot {
public:
    S_Kame_Umihebi_Bit(float x, float y, float vx, float vy, float ax, float ay)
        : KameShot(202, x, y, vx, vy, ax, ay) {}
    void Move(ObjectController*) override {}

protected:
    void Behave() override { hp = maxHp; }
};

class S_Kame_Umihebi_Shot final : public KameShot {
public:
    S_Kame_Umihebi_Shot(float x, float y, float vx, float vy, float ax, float ay)
        : KameShot(203, x, y, vx, vy, ax, ay) {}

protected:
    void Behave() override;  // killed past age 10
};

class S_Kame_Shinju final : public CellShot {
public:
    S_Kame_Shinju(float x, float y, float vx, float vy, float ax, float ay) : CellShot(204, x, y, vx, vy, ax, ay) {}
};

// Its angle field is one of eight directions (0 right, 2 down, 4 left, 6 up).
class S_Kame_STG : public Shot {
public:
    S_Kame_STG(float x, float y, float vx, float vy, float ax, float ay) : Shot(205, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
};
