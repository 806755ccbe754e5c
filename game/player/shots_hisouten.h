// The Hisouten and Hattori weapons (type ids 261-266): a crackling bolt that sways, an orb used as
// a trailing segment, two serpents (a head that records its path and segments that follow it),
// a throwing star that can pierce and a fireball that stays on the field.
// Declared here are the classes that other files name; the rest live in shots_hisouten.cpp.
#pragma once

#include <cstdint>

#include "game/player/shot.h"
#include "game/player/shots_rockman.h"
#include "game/world/type_table.h"

// Sways about its starting x by its angle field, with a jitter, trailing sparks.
class S_Hisouten_Iku6CShot : public ShotOf<type_id::S_Hisouten_Iku6CShot> {
public:
    S_Hisouten_Iku6CShot(float x, float y, float vx, float vy, float ax, float ay);
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;

    float baseX;
    float trailX[4], trailY[4];
};

// A serpent's head: it records its path in a ring and its segments follow it; it takes them
// with it when it goes and dies with its owner.
template <int PathLength>
class Serpent : public Shot {
public:
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;
    void Detach() override;
    void ForgetObject(Object* gone) override;

    Object* segments[8] = {};
    float pathX[PathLength], pathY[PathLength];
    int32_t pathHeading[PathLength];

protected:
    Serpent(int32_t typeId, float x, float y, float vx, float vy, float ax, float ay);
    // Records the head at age and moves each segment j to the entry lag(j) frames back.
    void Record(int32_t lagPerSegment);
    // Makes count segments (the last first) with their ages and power.
    void MakeSegments(ObjectController* ctx, int32_t count, int32_t ageStep, float power);
};

// Flies out, stops at 30 and at 40 shoots off toward the nearest enemy; segment count from its
// angle field on its first frame.
class S_Hisouten_Seidenyuudoudan : public ShotOf<type_id::S_Hisouten_Seidenyuudoudan, Serpent<32>> {
public:
    using ShotOf::ShotOf;
    void Run(ObjectController* ctx) override;
};

// The remainder of a by m, never negative (m > 0).
int32_t FloorMod(int32_t a, int32_t m);
