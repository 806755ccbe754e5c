// The level table of the aimed enemy fire (ObjectController::FireAimed).
#pragma once

#include <cstdint>

struct AimedFireLevel {
    int32_t cap;       // most enemy bullets on screen for a limited or burst shot
    int32_t interval;  // calls between two limited shots
    float speed;
    int32_t snap;  // aim granularity in binary units; 0 = exact
};

// What ArrestLevel r allows. Type id 1, the normal enemy bullet, is aimed in eighths of a turn at
// levels 16 to 127, where every other type is aimed exactly; at all other levels it shares the
// others' snapping.
AimedFireLevel AimedFireLevelOf(int32_t r, int32_t typeId);
