// Point sampling of triangles whose corners share one rhw, with whole numbers.
//
// A texel coordinate (a texture coordinate times the texture's size) is held in units of
// 2^-kTexelFraction texel. Over such a triangle it is a plane in the target's pixels: origin +
// dx x + dy y at the centre of pixel (x, y), the exact plane through the corners' coordinates
// (each rounded to a unit) at their snapped positions, with its slopes and its value at pixel
// (0, 0) rounded to the nearest unit, and moved up by kTexelNudge. A pixel samples the texel at
// the whole part of its coordinate. Every loop that samples such a triangle by point evaluates this plane, so they
// agree to the bit. As the plane depends only on the map and not on the corners that give it,
// the two triangles of a parallelogram (a, b, c), (c, d, a) whose positions and coordinates
// both keep a + c = b + d have one plane, and can be drawn as one.
#pragma once

#include <algorithm>
#include <cstdint>

namespace platform::gfx {

constexpr int kTexelFraction = 20;
// Samples are moved this many units (2^-10 texel) up both axes: more than the rounding of the
// slopes moves them within 2^11 pixels of the origin, so that a pixel centre lying exactly on a
// texel edge (a sprite scaled at whole pixels) takes the texel after it wherever it lies.
constexpr int64_t kTexelNudge = int64_t(1) << 10;

struct TexelPlane {
    int64_t origin, dx, dy;

    // The coordinate at pixel (x, y), for pixels of a target (within 2^15 of the origin).
    int64_t At(int64_t x, int64_t y) const { return origin + dx * x + dy * y; }
};

// A corner's coordinate in units: uv x size rounded to the nearest (halves away from zero),
// kept within 2^30 texels either way; not a number is 0.
inline int64_t TexelUnits(float uv, int size) {
    constexpr double kLimit = double(int64_t(1) << (kTexelFraction + 30));
    // Exact: a float's 24 bits times a size below 2^29 times a power of two.
    const double units = double(uv) * (double(size) * double(int64_t(1) << kTexelFraction));
    if (!(units > -kLimit && units < kLimit)) return units != units ? 0 : int64_t(units > 0.0 ? kLimit : -kLimit);
    return int64_t(units + (units >= 0.0 ? 0.5 : -0.5));
}

// The texel whose square holds a coordinate in units (its whole part), kept within an int.
inline int TexelOf(int64_t units) {
    return int(std::clamp<int64_t>(units >> kTexelFraction, -(int64_t(1) << 30), int64_t(1) << 30));
}

// The plane through coordinates c[k] (in units, as TexelUnits gives them) at corners (x[k],
// y[k]) (subpixels within the guard band) of a triangle of non-zero area. The slopes are kept
// within 2^40 units a pixel and the origin within 2^60 units, which only triangles far thinner
// than a pixel and far from their texture reach.
TexelPlane TexelPlaneOf(const int64_t x[3], const int64_t y[3], const int64_t c[3]);

// The plane of a coordinate that changes along one axis alone (x, or y when !alongX): c0 units
// at subpixel p0 of that axis and c1 at p1 (p0 != p1). It is the plane TexelPlaneOf gives every
// triangle of that map (an axis-aligned rectangle's u or v), found with fewer divisions, and
// with none for a sprite drawn one texel a pixel. Written into *out field by field: a copy of a
// returned plane would read it wider than it was written, and wait for that.
void TexelLineOf(int64_t p0, int64_t p1, int64_t c0, int64_t c1, bool alongX, TexelPlane* out);

}  // namespace platform::gfx
