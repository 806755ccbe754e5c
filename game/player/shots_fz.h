// The FZ weapons (type ids 206-216): Yuu's bubble that stays on the field eating bullets until
// it bursts into a reflect, her shot, a shot bouncing off the top edge, a hovering companion that
// fires one tall beam, a seed and a petal, and four plain shots.
#pragma once

#include <cstdint>

#include "game/player/shot.h"

// Type (angle field) 0, 1 or 2 from the creation vx; killed, it leaves a blast and a reflect.
class S_FZ_Poppoes : public Shot {
public:
    S_FZ_Poppoes(float x, float y, float vx, float vy, float ax, float ay) : Shot(206, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;  // held inside the field
    void OnKilled(ObjectController* ctx) override;
};

// Variant (angle field) from the thousands of the creation y.
class S_FZ_Poppoes_Shot : public Shot {
public:
    S_FZ_Poppoes_Shot(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(207, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController*) override { age += 1; }
};

// Variant 1 (made with an acceleration) bounces off the top edge.
class S_FZ_Stanparon_Shot final : public CellShot {
public:
    S_FZ_Stanparon_Shot(float x, float y, float vx, float vy, float ax, float ay)
        : CellShot(208, x, y, vx, vy, ax, ay) {}
    void Run(ObjectController* ctx) override;
};

// A tall beam lengthening over its first frames; at the top edge it shrinks away.
class S_FZ_Kobabeach_Shot : public Shot {
public:
    S_FZ_Kobabeach_Shot(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(209, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Hovers at its first-frame offset from its owner and fires its beam once, at age T (the angle
// field), rising before and settling after.
class S_FZ_Kobabeach final : public CellShot {
public:
    S_FZ_Kobabeach(float x, float y, float vx, float vy, float ax, float ay) : CellShot(210, x, y, vx, vy, ax, ay) {}
    void Run(ObjectController* ctx) override;
    void OnKilled(ObjectController* ctx) override;

    float offsetX = 0.0f, offsetY = 0.0f;
};

class S_FZ_Boranda_Seed final : public CellShot {
public:
    S_FZ_Boranda_Seed(float x, float y, float vx, float vy, float ax, float ay)
        : CellShot(211, x, y, vx, vy, ax, ay) {}
    void Move(ObjectController* ctx) override;  // as the beam's, to y 248
};

class S_FZ_Boranda_Petal final : public CellShot {
public:
    S_FZ_Boranda_Petal(float x, float y, float vx, float vy, float ax, float ay)
        : CellShot(212, x, y, vx, vy, ax, ay) {}
    void Move(ObjectController*) override {}
    void Run(ObjectController* ctx) override;
};

class S_FZ_Opaopa_Shot final : public CellShot {
public:
    S_FZ_Opaopa_Shot(float x, float y, float vx, float vy, float ax, float ay) : CellShot(213, x, y, vx, vy, ax, ay) {}
};

class S_FZ_Opaopa_Bomb final : public CellShot {
public:
    S_FZ_Opaopa_Bomb(float x, float y, float vx, float vy, float ax, float ay) : CellShot(214, x, y, vx, vy, ax, ay) {}
};

class S_FZ_Opaopa_7way final : public CellShot {
public:
    S_FZ_Opaopa_7way(float x, float y, float vx, float vy, float ax, float ay) : CellShot(215, x, y, vx, vy, ax, ay) {}
};

class S_FZ_Opaopa_HeavyBomb final : public CellShot {
public:
    S_FZ_Opaopa_HeavyBomb(float x, float y, float vx, float vy, float ax, float ay)
        : CellShot(216, x, y, vx, vy, ax, ay) {}
};
