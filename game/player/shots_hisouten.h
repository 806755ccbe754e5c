// The Hisouten and Hattori weapons (type ids 261-266): a crackling bolt that sways, an orb used as
// a trailing segment, two serpents (a head that records its path and segments that follow it),
// a throwing star that can pierce and a fireball that stays on the field.
#pragma once

#include <cstdint>

#include "game/player/shot.h"
#include "game/player/shots_rockman.h"

// Sways about its starting x by its angle field, with a jitter, trailing sparks.
class S_Hisouten_Iku6CShot : public Shot {
public:
    S_Hisouten_Iku6CShot(float x, float y, float vx, float vy, float ax, float ay);
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;

    float baseX;
    float trailX[4], trailY[4];
};

// Never worn out; score 1 draws the plain orb, otherwise a cell by its heading.
class S_Hisouten_Ryuunome : public KeptShot {
public:
    S_Hisouten_Ryuunome(float x, float y, float vx, float vy, float ax, float ay)
        : KeptShot(262, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;
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
class S_Hisouten_Seidenyuudoudan : public Serpent<32> {
public:
    S_Hisouten_Seidenyuudoudan(float x, float y, float vx, float vy, float ax, float ay)
        : Serpent(263, x, y, vx, vy, ax, ay) {}
    void Run(ObjectController* ctx) override;
};

// Curves onto the nearest enemy, turning tighter as it slows; gone at 120.
class S_Hisouten_Inabikari : public Serpent<16> {
public:
    S_Hisouten_Inabikari(float x, float y, float vx, float vy, float ax, float ay)
        : Serpent(264, x, y, vx, vy, ax, ay) {}
    void Run(ObjectController* ctx) override;
};

// Variant 1 (angle field) pierces for 60 frames; variant 0 dies at its first contact or at 30.
class S_Hattori_Shuriken : public Shot {
public:
    S_Hattori_Shuriken(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(265, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Held in the field and never worn out.
class S_Hattori_FireBall : public Shot {
public:
    S_Hattori_FireBall(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(266, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// The remainder of a by m, never negative (m > 0).
int32_t FloorMod(int32_t a, int32_t m);
