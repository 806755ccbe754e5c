// The level table of the aimed enemy fire (ObjectController::FireAimed).
#pragma once

#include <cstdint>

struct AimedFireLevel {
    int32_t cap;       // most enemy bullets on screen for a limited or burst shot
    int32_t interval;  // calls between two limited shots
    float speed;
    int32_t snap;  // aim granularity in binary units; 0 = exact
};

// What ArrestLevel r allows; the normal enemy bullet (type id 1) is always aimed in eighths.
AimedFireLevel AimedFireLevelOf(int32_t r, int32_t typeId);
