// The Zanac and Gunnac shots (type ids 140-148): straight shots, a weaving bullet-eating orb,
// a letter that throws side shots, a screen-clearing orb, a growing beam and a homing shot. In
// this family the score field is the shot's level, set by the firing character.
// Declared here are the classes that other files name; the rest live in shots_zanac.cpp.
#pragma once

#include <cstdint>

#include "game/player/shot.h"
#include "game/world/type_table.h"

// A beam standing on its owner that grows or shrinks toward 16 x angle units.
class S_Gunnac4 : public ShotOf<type_id::S_Gunnac4> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;  // no upper bound in y
    void Run(ObjectController* ctx) override;

    int32_t length = 16;
};

