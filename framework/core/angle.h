// Binary angles: 65536 steps a turn, 0 along +x and 16384 along +y (down the screen). Sine and
// cosine come from a 65536-entry table, the arctangent from an 8193-entry table, so every game
// direction is an integer and repeats exactly.
#pragma once

#include <cstdint>

uint16_t AngleIndex(int32_t angle);  // the angle modulo 65536
float AngleSin(int32_t angle);
float AngleCos(int32_t angle);
uint32_t AngleAtan2(float x, float y);  // direction of (x, y); may return 65536 just below +x
void RotateByAngle(float vector[2], int32_t angle);

// The tables themselves, for tests and for code that walks them.
const float* AngleSinTable();     // 65536 entries
const uint32_t* AngleAtanTable();  // 8193 entries
