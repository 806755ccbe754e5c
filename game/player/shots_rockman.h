// The Rockman weapons (type ids 227-235) and the invisible shot (236): a buster shot, the short-
// lived pieces of a bomb and two electric attacks, a returning blade, a circling fire shield and
// simple projectiles; and a hit box without a picture that an enemy bomb's blast carries.
#pragma once

#include <cstdint>

#include "game/player/shot.h"

// The cells of a weapon drawn from "shot.bmp": offsets from the centre and source rectangles.
struct PieceCell {
    float dx, dy;  // the destination's top-left from (x, y)
    int16_t dw, dh;
    float u, v, w, h;
};

class S_Rockman_RockBuster : public Shot {
public:
    S_Rockman_RockBuster(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(227, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
};

// Pieces killed once older than their limit; their effect sets their side.
class RockmanPiece : public Shot {
public:
    void Run(ObjectController* ctx) override;
    void Draw(ObjectController* ctx) override;
    virtual PieceCell Cell() const = 0;  // what it draws this frame

protected:
    RockmanPiece(int32_t typeId, int32_t limit, float x, float y, float vx, float vy, float ax, float ay)
        : Shot(typeId, x, y, vx, vy, ax, ay), ageLimit(limit) {}
    int32_t ageLimit;
};

class S_Rockman_BombBlast final : public RockmanPiece {
public:
    S_Rockman_BombBlast(float x, float y, float vx, float vy, float ax, float ay)
        : RockmanPiece(228, 32, x, y, vx, vy, ax, ay) {}
    PieceCell Cell() const override;
};

class S_Rockman_Elec_Side final : public RockmanPiece {
public:
    S_Rockman_Elec_Side(float x, float y, float vx, float vy, float ax, float ay)
        : RockmanPiece(229, 2, x, y, vx, vy, ax, ay) {}
    PieceCell Cell() const override;
};

// Variants 0-4 from its effect.
class S_Rockman_Elec_Front final : public RockmanPiece {
public:
    S_Rockman_Elec_Front(float x, float y, float vx, float vy, float ax, float ay)
        : RockmanPiece(230, 4, x, y, vx, vy, ax, ay) {}
    PieceCell Cell() const override;
};

class S_Rockman_Guts : public Shot {
public:
    S_Rockman_Guts(float x, float y, float vx, float vy, float ax, float ay) : Shot(231, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;  // a 2 x 2 block of one cell
};

class S_Rockman_Ice : public Shot {
public:
    S_Rockman_Ice(float x, float y, float vx, float vy, float ax, float ay) : Shot(232, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
};

// Curves, then homes on its thrower, who catches it from age 110.
class S_Rockman_Cut : public Shot {
public:
    S_Rockman_Cut(float x, float y, float vx, float vy, float ax, float ay) : Shot(233, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

class S_Rockman_Fire : public Shot {
public:
    S_Rockman_Fire(float x, float y, float vx, float vy, float ax, float ay) : Shot(234, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
};

// Circles its owner at radius 16 every 8 frames; gone after 65.
class S_Rockman_Fire_Option : public Shot {
public:
    S_Rockman_Fire_Option(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(235, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Never worn out: only restores its hp and counts its age (its maker sets its side).
class KeptShot : public Shot {
public:
    void Run(ObjectController*) override {
        age += 1;
        hp = maxHp;
    }

protected:
    using Shot::Shot;
};

// Undrawn; killed the frame its maker goes.
class S_InvisibleShot : public KeptShot {
public:
    S_InvisibleShot(float x, float y, float vx, float vy, float ax, float ay) : KeptShot(236, x, y, vx, vy, ax, ay) {}
    void ForgetObject(Object* gone) override;
};
