#include "framework/core/angle.h"

#include <cmath>

namespace {

struct AngleTables {
    float sine[65536];
    uint32_t atan[8193];

    // Both tables are computed in single precision so that their values match the ones the
    // game was tuned with: the sine of 32768 is -8.742278e-8. The arctangent goes through
    // degrees (57.29578 degrees a radian, 182.04444 angle units a degree), which puts three
    // entries (1269, 6638, 8192) one below the exact integer part.
    AngleTables() {
        const float twoPi = 6.28318530717958647692f;
        for (int i = 0; i < 65536; ++i) {
            float radians = twoPi * static_cast<float>(i) / 65536.0f;
            sine[i] = std::sin(radians);
        }
        for (int i = 0; i <= 8192; ++i) {
            float ratio = static_cast<float>(i) / 8192.0f;
            float degrees = std::atan(ratio) * 57.29578f;
            atan[i] = static_cast<uint32_t>(degrees * 182.04444f);
        }
    }
};

const AngleTables& Tables() {
    static const AngleTables tables;
    return tables;
}

// Index into the arctangent table: the integer part of a * 8192 / b, for 0 <= a <= b.
// Values outside the table (not a number, infinities) are clamped to its ends.
uint32_t AtanOf(float a, float b) {
    float index = a * 8192.0f / b;
    if (!(index >= 0.0f)) index = 0.0f;
    if (index > 8192.0f) index = 8192.0f;
    return Tables().atan[static_cast<int>(index)];
}

}  // namespace

uint16_t AngleIndex(int32_t angle) { return static_cast<uint16_t>(angle & 0xFFFF); }

float AngleSin(int32_t angle) { return Tables().sine[AngleIndex(angle)]; }

float AngleCos(int32_t angle) { return Tables().sine[AngleIndex(angle + 16384)]; }

uint32_t AngleAtan2(float x, float y) {
    if (x == 0.0f) return y >= 0.0f ? 16384u : 49152u;
    if (y == 0.0f) return x >= 0.0f ? 0u : 32768u;
    if (x > 0.0f && y > 0.0f) return x >= y ? AtanOf(y, x) : 16384u - AtanOf(x, y);
    if (x < 0.0f && y > 0.0f) return -x >= y ? 32768u - AtanOf(y, -x) : 16384u + AtanOf(-x, y);
    if (x < 0.0f) return -x >= -y ? 32768u + AtanOf(-y, -x) : 49152u - AtanOf(-x, -y);
    return x >= -y ? 65536u - AtanOf(-y, x) : 49152u + AtanOf(x, -y);
}

void RotateByAngle(float vector[2], int32_t angle) {
    float s = AngleSin(angle);
    float c = AngleCos(angle);
    float x = vector[0];
    float y = vector[1];
    vector[0] = c * x - s * y;
    vector[1] = c * y + s * x;
}

const float* AngleSinTable() { return Tables().sine; }
const uint32_t* AngleAtanTable() { return Tables().atan; }
