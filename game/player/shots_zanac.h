// The Zanac and Gunnac shots (type ids 140-148): straight shots, a weaving bullet-eating orb,
// a letter that throws side shots, a screen-clearing orb, a growing beam and a homing shot. In
// this family the score field is the shot's level, set by the firing character.
#pragma once

#include <cstdint>

#include "game/player/shot.h"

class S_Gunnac : public Shot {
public:
    S_Gunnac(float x, float y, float vx, float vy, float ax, float ay) : Shot(140, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;  // one of eight directions
    void Move(ObjectController* ctx) override;  // vanishes below y 240
};

class S_ZanacA : public Shot {
public:
    S_ZanacA(float x, float y, float vx, float vy, float ax, float ay) : Shot(141, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;  // the hit box follows the level
};

class S_ZanacB : public Shot {
public:
    S_ZanacB(float x, float y, float vx, float vy, float ax, float ay) : Shot(142, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
};

// A satellite placed by its character; it never wears out.
class S_SayakaCap : public Shot {
public:
    S_SayakaCap(float x, float y, float vx, float vy, float ax, float ay) : Shot(143, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController*) override {}
    void Run(ObjectController* ctx) override;
};

// A rising orb that weaves across the field and eats bullets; its hit box shrinks as it wears.
class S_Kavlet : public Shot {
public:
    S_Kavlet(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(144, x, y, vx, vy, ax, ay), centreX(x) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;

    float centreX;
    int32_t sizeStep = 0;
};

// A letter that throws two side shots at ages set by its level.
class S_HikaruLetter : public Shot {
public:
    S_HikaruLetter(float x, float y, float vx, float vy, float ax, float ay) : Shot(145, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;

    int32_t frame = 0;  // animation 0-7
};

// Killed, it bombs the whole field for the scene's score.
class S_Zanac6Shot : public Shot {
public:
    S_Zanac6Shot(float x, float y, float vx, float vy, float ax, float ay) : Shot(146, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void OnKilled(ObjectController* ctx) override;
};

// A beam standing on its owner that grows or shrinks toward 16 x angle units.
class S_Gunnac4 : public Shot {
public:
    S_Gunnac4(float x, float y, float vx, float vy, float ax, float ay) : Shot(147, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;  // no upper bound in y
    void Run(ObjectController* ctx) override;

    int32_t length = 16;
};

// A shot that turns toward the nearest enemy in eighths of a turn.
class S_Gunnac3 : public Shot {
public:
    S_Gunnac3(float x, float y, float vx, float vy, float ax, float ay) : Shot(148, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Where S_HikaruLetter's frames lie in "shot.bmp": four cells, the last four frames mirrored.
constexpr float kLetterCellX = 0.0f;
constexpr float kLetterCellY = 96.0f;
