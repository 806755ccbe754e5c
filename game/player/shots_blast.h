// The player blast (type id 163) and, with it, the RB weapon family (164-176).
#pragma once

#include "game/player/shot.h"

// The eight pieces thrown out round a character that loses a life: five frames of bullet
// erasing, drawn in white whatever the ghost display says.
class S_PCBlast : public Shot {
public:
    S_PCBlast(float x, float y, float vx, float vy, float ax, float ay) : Shot(163, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};
