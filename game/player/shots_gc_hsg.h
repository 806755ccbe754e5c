// The GC, BH, HSG and DOGMA weapons (type ids 249-251, 256-260): a shot in four colours, a short-
// lived reflector whose contacts spawn homing shots, a small shot, a chariot that stays on the
// field with its aimed shot, a discharge spraying sparks, and a fast directional shot.
#pragma once

#include <cstdint>

#include "game/player/shot.h"
#include "game/player/shots_dg.h"

class S_GC_Shot : public Shot {
public:
    S_GC_Shot(float x, float y, float vx, float vy, float ax, float ay) : Shot(249, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;  // the angle field is its colour row
};

// Rides on its owner for 11 frames; its first frame hits wide and hard.
class S_BH_Reflect : public Shot {
public:
    S_BH_Reflect(float x, float y, float vx, float vy, float ax, float ay) : Shot(250, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Homes until age 119 (on the party without enemies) and may leave the field until age 120.
class S_BH_Shot : public Shot {
public:
    S_BH_Shot(float x, float y, float vx, float vy, float ax, float ay) : Shot(251, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

class S_HSG_Shot : public Shot {
public:
    S_HSG_Shot(float x, float y, float vx, float vy, float ax, float ay) : Shot(256, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
};

// Held in the field and never worn out: it goes only with its owner.
class S_HSG_Chariot : public Shot {
public:
    S_HSG_Chariot(float x, float y, float vx, float vy, float ax, float ay) : Shot(257, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

class S_HSG_ChariotShot : public SectorShot {
public:
    S_HSG_ChariotShot(float x, float y, float vx, float vy, float ax, float ay)
        : SectorShot(258, x, y, vx, vy, ax, ay, 1.0f, 176.0f, 80.0f) {}
};

// Sprays a spark a frame for variant x 60 + 112 frames and wears 0.2 a frame.
class S_HSG_DisCharge : public Shot {
public:
    S_HSG_DisCharge(float x, float y, float vx, float vy, float ax, float ay) : Shot(259, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

class S_DOGMA_RadicalTriger : public SectorShot {
public:
    S_DOGMA_RadicalTriger(float x, float y, float vx, float vy, float ax, float ay)
        : SectorShot(260, x, y, vx, vy, ax, ay, 0.5f, 192.0f, -32.0f) {}
};
