#include "platform/gfx/texel_plane.h"

#include <utility>

#include "platform/gfx/raster.h"

namespace platform::gfx {

namespace {

using Wide = __int128;

constexpr int64_t kSlopeLimit = int64_t(1) << 40;
constexpr int64_t kOriginLimit = int64_t(1) << 60;

// The nearest whole number to n / d, halves upwards, for d > 0: floor((2n + d) / 2d).
template <class T>
T RoundedQuotient(T n, T d) {
    const T num = 2 * n + d, den = 2 * d;
    const T q = num / den;
    return q - (num % den < 0 ? 1 : 0);
}

// The plane from the numerators of its slopes and origin over their common denominator.
template <class T>
TexelPlane PlaneOver(T dxNum, T dyNum, T originNum, T det) {
    auto clamp = [](T v, int64_t limit) { return int64_t(std::clamp<T>(v, -limit, limit)); };
    return {clamp(RoundedQuotient(originNum, det) + kTexelNudge, kOriginLimit),
            clamp(RoundedQuotient(dxNum, det), kSlopeLimit), clamp(RoundedQuotient(dyNum, det), kSlopeLimit)};
}

// The arithmetic in 128 bits, which hold every product of coordinates within 2^50 units and
// corners within the guard band.
TexelPlane WidePlane(const int64_t x[3], const int64_t y[3], const int64_t c[3]) {
    const int64_t ex1 = x[1] - x[0], ey1 = y[1] - y[0], ex2 = x[2] - x[0], ey2 = y[2] - y[0];
    const Wide d1 = Wide(c[1]) - c[0], d2 = Wide(c[2]) - c[0];
    Wide det = Wide(ex1) * ey2 - Wide(ex2) * ey1;
    Wide nx = d1 * ey2 - d2 * ey1, ny = d2 * ex1 - d1 * ex2;
    if (det < 0) {
        det = -det;
        nx = -nx;
        ny = -ny;
    }
    const Wide pixel = Wide(1) << kSubpixelBits;
    return PlaneOver<Wide>(nx * pixel, ny * pixel, Wide(c[0]) * det - nx * x[0] - ny * y[0], det);
}

}  // namespace

TexelPlane TexelPlaneOf(const int64_t x[3], const int64_t y[3], const int64_t c[3]) {
    // The coordinate at subpixel (px, py) is c0 + (nx (px - x0) + ny (py - y0)) / det. Worked
    // out in 64 bits where it stays there (sprites of textures of usual sizes), else in 128.
    const int64_t ex1 = x[1] - x[0], ey1 = y[1] - y[0], ex2 = x[2] - x[0], ey2 = y[2] - y[0];
    const int64_t d1 = c[1] - c[0], d2 = c[2] - c[0];
    int64_t det = ex1 * ey2 - ex2 * ey1;  // within 2^47 in the guard band
    int64_t a, b, nx, ny;
    bool over = __builtin_mul_overflow(d1, ey2, &a) | __builtin_mul_overflow(d2, ey1, &b) |
                __builtin_sub_overflow(a, b, &nx);
    over |= __builtin_mul_overflow(d2, ex1, &a) | __builtin_mul_overflow(d1, ex2, &b) |
            __builtin_sub_overflow(a, b, &ny);
    if (det < 0) {
        det = -det;
        nx = -nx;
        ny = -ny;
    }
    int64_t dxNum, dyNum, originNum, p0, p1, p2;
    over |= __builtin_mul_overflow(nx, int64_t(1) << kSubpixelBits, &dxNum) |
            __builtin_mul_overflow(ny, int64_t(1) << kSubpixelBits, &dyNum);
    over |= __builtin_mul_overflow(c[0], det, &p0) | __builtin_mul_overflow(nx, x[0], &p1) |
            __builtin_mul_overflow(ny, y[0], &p2) | __builtin_sub_overflow(p0, p1, &a) |
            __builtin_sub_overflow(a, p2, &originNum);
    // RoundedQuotient's 2n + d stays within 64 bits for numbers below 2^61.
    constexpr int64_t kNarrow = int64_t(1) << 61;
    if (over || std::abs(dxNum) >= kNarrow || std::abs(dyNum) >= kNarrow || std::abs(originNum) >= kNarrow) {
        return WidePlane(x, y, c);
    }
    return PlaneOver<int64_t>(dxNum, dyNum, originNum, det);
}

void TexelLineOf(int64_t p0, int64_t p1, int64_t c0, int64_t c1, bool alongX, TexelPlane* out) {
    // The coordinate at subpixel p is c0 + (c1 - c0) (p - p0) / (p1 - p0).
    if (p1 < p0) {
        std::swap(p0, p1);
        std::swap(c0, c1);
    }
    const int64_t span = p1 - p0, change = c1 - c0;
    constexpr int kUnitsPerSubpixel = kTexelFraction - kSubpixelBits;
    constexpr int64_t kTexel = int64_t(1) << kTexelFraction;
    int64_t origin, slope;
    constexpr int64_t kNarrow = int64_t(1) << 36;  // keeps every product below within 2^61
    if (change == span << kUnitsPerSubpixel || change == -(span << kUnitsPerSubpixel)) {
        // One texel a pixel either way: every number is whole.
        slope = change > 0 ? kTexel : -kTexel;
        origin = c0 - (slope >> kSubpixelBits) * p0 + kTexelNudge;
    } else if (std::abs(c0) < kNarrow && std::abs(c1) < kNarrow) {
        const TexelPlane p = PlaneOver<int64_t>(change << kSubpixelBits, 0, c0 * span - change * p0, span);
        origin = p.origin;
        slope = p.dx;
    } else {
        const Wide wideChange = change;
        const TexelPlane p = PlaneOver<Wide>(wideChange << kSubpixelBits, 0, c0 * Wide(span) - wideChange * p0, span);
        origin = p.origin;
        slope = p.dx;
    }
    out->origin = origin;
    out->dx = alongX ? slope : 0;
    out->dy = alongX ? 0 : slope;
}

}  // namespace platform::gfx
