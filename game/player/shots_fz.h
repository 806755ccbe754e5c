// The FZ weapons (type ids 206-216): Yuu's bubble that stays on the field eating bullets until
// it bursts into a reflect, her shot, a shot bouncing off the top edge, a hovering companion that
// fires one tall beam, a seed and a petal, and four plain shots.
// Declared here are the classes that other files name; the rest live in shots_fz.cpp.
#pragma once

#include <cstdint>

#include "game/player/shot.h"
#include "game/world/type_table.h"

// Type (angle field) 0, 1 or 2 from the creation vx; killed, it leaves a blast and a reflect.
class S_FZ_Poppoes : public ShotOf<type_id::S_FZ_Poppoes> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;  // held inside the field
    void OnKilled(ObjectController* ctx) override;
};

// Variant (angle field) from the thousands of the creation y.
class S_FZ_Poppoes_Shot : public ShotOf<type_id::S_FZ_Poppoes_Shot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController*) override { age += 1; }
};

