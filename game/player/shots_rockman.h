// The Rockman weapons (type ids 227-235) and the invisible shot (236): a buster shot, the short-
// lived pieces of a bomb and two electric attacks, a returning blade, a circling fire shield and
// simple projectiles; and a hit box without a picture that an enemy bomb's blast carries.
// Declared here are the classes that other files name; the rest live in shots_rockman.cpp.
#pragma once

#include <cstdint>

#include "game/player/shot.h"

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

