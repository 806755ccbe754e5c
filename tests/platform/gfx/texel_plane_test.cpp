// The whole-number texel planes that every loop samples triangles without perspective by:
// within their bound of the exact plane through the corners (worked out here from barycentric
// areas, not from slopes), one plane for every triangle of one map, samples on texel edges
// taken to the texel after them, and the limits kept beyond their reach.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/gfx/raster.h"

namespace platform::gfx {
namespace {

using Wide = __int128;

constexpr int64_t kUnit = int64_t(1) << kTexelFraction;  // a texel

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    // Uniform in [low, high].
    int64_t In(int64_t low, int64_t high) {
        state_ = state_ * 6364136223846793005u + 1442695040888963407u;
        return low + int64_t((state_ >> 11) % uint64_t(high - low + 1));
    }

private:
    uint64_t state_;
};

Wide Abs(Wide v) { return v < 0 ? -v : v; }

// Twice the signed area of (a, b, c), in square subpixels.
Wide Area(int64_t ax, int64_t ay, int64_t bx, int64_t by, int64_t cx, int64_t cy) {
    return Wide(bx - ax) * (cy - ay) - Wide(by - ay) * (cx - ax);
}

// Whether the plane's coordinate at pixel (x, y), less the nudge, lies within 1/2 + (|x| + |y|)
// / 2 units of the exact plane's: the corners' values weighted by the areas opposite them.
bool WithinBound(const TexelPlane& p, const int64_t x[3], const int64_t y[3], const int64_t c[3], int64_t px,
                 int64_t py) {
    const int64_t sx = px * 256, sy = py * 256;
    const Wide area = Area(x[0], y[0], x[1], y[1], x[2], y[2]);
    const Wide weighted = Wide(c[0]) * Area(sx, sy, x[1], y[1], x[2], y[2]) +
                          Wide(c[1]) * Area(x[0], y[0], sx, sy, x[2], y[2]) +
                          Wide(c[2]) * Area(x[0], y[0], x[1], y[1], sx, sy);
    const Wide got = Wide(p.At(px, py) - kTexelNudge);
    return Abs(2 * got * area - 2 * weighted) <= Abs(area) * (1 + std::abs(px) + std::abs(py));
}

TEST(TexelPlaneTest, CornerUnitsRoundAndStayWithinTheirLimit) {
    const float kInf = std::numeric_limits<float>::infinity();
    const int64_t kLimit = int64_t(1) << 50;  // 2^30 texels
    struct Case {
        const char* name;
        float uv;
        int size;
        int64_t units;
    } cases[] = {
        {"half a texture", 0.5f, 16, 8 * kUnit},
        {"a quarter texel back", -1.0f / 64, 16, -kUnit / 4},
        {"half a unit rounds away from zero", std::ldexp(1.0f, -21), 1, 1},
        {"and below zero too", -std::ldexp(1.0f, -21), 1, -1},
        {"not a number", std::numeric_limits<float>::quiet_NaN(), 64, 0},
        {"2^30 texels", std::ldexp(1.0f, 30), 1, kLimit},
        {"past 2^30 texels", std::ldexp(1.0f, 30) + 128.0f, 1, kLimit},
        {"far past them, below zero", -1.0e20f, 256, -kLimit},
        {"infinity", kInf, 32, kLimit},
        {"minus infinity", -kInf, 32, -kLimit},
    };
    for (const Case& c : cases) EXPECT_EQ(TexelUnits(c.uv, c.size), c.units) << c.name;

    struct Texel {
        int64_t units;
        int texel;
    } texels[] = {{0, 0}, {kUnit - 1, 0}, {-1, -1}, {-kUnit, -1}, {-kUnit - 1, -2},
                  {kLimit, 1 << 30}, {kLimit * 4, 1 << 30}, {-kLimit * 4, -(1 << 30)}};
    for (const Texel& t : texels) EXPECT_EQ(TexelOf(t.units), t.texel) << t.units;
}

// Triangles at random over a 640 x 480 target and far around it, with coordinates from a few
// texels to 2^28 texels (past what 64 bits hold of the products), every corner order.
TEST(TexelPlaneTest, PlanesLieWithinTheirBoundOfTheExactPlane) {
    Random random(7);
    int checked = 0;
    for (int i = 0; i < 3000; ++i) {
        const int64_t reach = i % 3 == 0 ? int64_t(1) << 22 : 64 * 256;  // subpixels
        const int64_t cx = random.In(-200, 840) * 256, cy = random.In(-200, 680) * 256;
        const int64_t coords = i % 4 == 0 ? int64_t(1) << 48 : 64 * kUnit;
        int64_t x[3], y[3], c[3];
        for (int k = 0; k < 3; ++k) {
            x[k] = std::clamp<int64_t>(cx + random.In(-reach, reach), -(int64_t(1) << 22), int64_t(1) << 22);
            y[k] = std::clamp<int64_t>(cy + random.In(-reach, reach), -(int64_t(1) << 22), int64_t(1) << 22);
            c[k] = random.In(-coords, coords);
        }
        const Wide area = Area(x[0], y[0], x[1], y[1], x[2], y[2]);
        if (Abs(area) < 256 * 256) continue;  // too thin for the slopes to stay within their limit
        const TexelPlane p = TexelPlaneOf(x, y, c);
        if (std::abs(p.dx) == int64_t(1) << 40 || std::abs(p.dy) == int64_t(1) << 40) continue;
        for (const auto& [px, py] : {std::pair{0, 0}, {639, 0}, {0, 479}, {639, 479}, {int(i % 640), int(i % 480)}}) {
            ASSERT_TRUE(WithinBound(p, x, y, c, px, py)) << "triangle " << i << " at " << px << "," << py;
        }
        ++checked;
    }
    EXPECT_GT(checked, 2500);
}

// The two triangles of a parallelogram, in every order of their corners, have one plane; and
// an axis-aligned rectangle's planes are its u's line along x and its v's along y.
TEST(TexelPlaneTest, EveryTriangleOfOneMapHasOnePlane) {
    Random random(11);
    for (int i = 0; i < 2000; ++i) {
        const int64_t reach = i % 5 == 0 ? int64_t(1) << 21 : 40 * 256;
        const int64_t coords = i % 7 == 0 ? int64_t(1) << 47 : 48 * kUnit;
        int64_t x[4], y[4], c[4];
        for (int k = 0; k < 3; ++k) {
            x[k] = random.In(-reach, reach);
            y[k] = random.In(-reach, reach);
            c[k] = random.In(-coords, coords);
        }
        // d = a + c - b.
        x[3] = x[0] + x[2] - x[1];
        y[3] = y[0] + y[2] - y[1];
        c[3] = c[0] + c[2] - c[1];
        if (Area(x[0], y[0], x[1], y[1], x[2], y[2]) == 0) continue;
        const TexelPlane first = TexelPlaneOf(x, y, c);
        const int orders[][3] = {{2, 3, 0}, {3, 0, 2}, {0, 2, 3}, {1, 2, 0}, {2, 1, 0}, {0, 3, 2}, {1, 3, 0}};
        for (const auto& o : orders) {
            const int64_t ox[3] = {x[o[0]], x[o[1]], x[o[2]]}, oy[3] = {y[o[0]], y[o[1]], y[o[2]]};
            const int64_t oc[3] = {c[o[0]], c[o[1]], c[o[2]]};
            const TexelPlane other = TexelPlaneOf(ox, oy, oc);
            ASSERT_EQ(other.origin, first.origin) << i;
            ASSERT_EQ(other.dx, first.dx) << i;
            ASSERT_EQ(other.dy, first.dy) << i;
        }
    }
    // Rectangles: scaled, one texel a pixel, mirrored, far out, with coordinates past 64 bits.
    for (int i = 0; i < 2000; ++i) {
        const int64_t left = random.In(-(1 << 21), 1 << 21), top = random.In(-(1 << 21), 1 << 21);
        const int64_t width = random.In(1, 9000), height = random.In(1, 9000);
        const int64_t coords = i % 3 == 0 ? int64_t(1) << 49 : 64 * kUnit;
        int64_t u0 = random.In(-coords, coords), u1 = random.In(-coords, coords), v0 = random.In(-coords, coords),
                v1 = random.In(-coords, coords);
        if (i % 4 == 1) u1 = u0 + (width << (kTexelFraction - 8));    // one texel a pixel
        if (i % 4 == 2) v1 = v0 - (height << (kTexelFraction - 8));   // the same, mirrored
        const int64_t right = left + width, bottom = top + height;
        const int64_t tx[2][3] = {{left, right, right}, {right, left, left}};
        const int64_t ty[2][3] = {{top, top, bottom}, {bottom, bottom, top}};
        const int64_t tu[2][3] = {{u0, u1, u1}, {u1, u0, u0}}, tv[2][3] = {{v0, v0, v1}, {v1, v1, v0}};
        TexelPlane u, v;
        TexelLineOf(left, right, u0, u1, true, &u);
        TexelLineOf(top, bottom, v0, v1, false, &v);
        for (int k = 0; k < 2; ++k) {
            const TexelPlane pu = TexelPlaneOf(tx[k], ty[k], tu[k]), pv = TexelPlaneOf(tx[k], ty[k], tv[k]);
            ASSERT_TRUE(pu.origin == u.origin && pu.dx == u.dx && pu.dy == 0 && u.dy == 0) << i;
            ASSERT_TRUE(pv.origin == v.origin && pv.dy == v.dy && pv.dx == 0 && v.dx == 0) << i;
        }
    }
}

// A pixel centre exactly on a texel edge takes the texel after it, in the far corner of a large
// target as near its origin: a sprite stretched twice at whole pixels, and one shrunk by 3/7.
TEST(TexelPlaneTest, SamplesOnATexelEdgeTakeTheTexelAfterIt) {
    struct Case {
        const char* name;
        int64_t left, top;   // pixels
        int64_t pixels;      // wide and tall
        int64_t from, to;    // texels at the left and right sides
    } cases[] = {
        {"stretched, at the origin", 0, 0, 10, 0, 5},
        {"stretched, far out", 1900, 1000, 10, 3, 8},
        {"mirrored, far out", 1900, 1000, 10, 8, 3},
        {"shrunk by 3/7", 1500, 500, 21, 0, 49},
    };
    for (const Case& c : cases) {
        const int64_t x[3] = {c.left * 256, (c.left + c.pixels) * 256, c.left * 256};
        const int64_t y[3] = {c.top * 256, c.top * 256, (c.top + c.pixels) * 256};
        const int64_t u[3] = {c.from * kUnit, c.to * kUnit, c.from * kUnit};
        const TexelPlane p = TexelPlaneOf(x, y, u);
        for (int64_t n = 0; n < c.pixels; ++n) {
            // Exactly from + (to - from) n / pixels: its floor, the texel after an edge it lies on.
            const int64_t scaled = c.from * c.pixels + (c.to - c.from) * n;
            const int64_t texel = scaled >= 0 ? scaled / c.pixels : -((-scaled + c.pixels - 1) / c.pixels);
            for (int64_t row = 0; row < c.pixels; ++row) {
                ASSERT_EQ(TexelOf(p.At(c.left + n, c.top + row)), texel)
                    << c.name << ", pixel " << n << ", row " << row;
            }
        }
    }
}

// Beyond their limits: a sliver one subpixel wide far from the origin, whose slope and origin
// would leave 64 bits, is kept at 2^40 units a pixel and 2^60 units.
TEST(TexelPlaneTest, SlopesAndOriginsStopAtTheirLimits) {
    const int64_t far = int64_t(1) << 22;
    const int64_t x[3] = {far, far + 1, far}, y[3] = {0, 0, 256};
    const int64_t c[3] = {0, int64_t(1) << 49, 0};
    const TexelPlane p = TexelPlaneOf(x, y, c);
    EXPECT_EQ(p.dx, int64_t(1) << 40);
    EXPECT_EQ(p.dy, 0);
    EXPECT_EQ(p.origin, -(int64_t(1) << 60));
    const int64_t flipped[3] = {0, -(int64_t(1) << 49), 0};
    const TexelPlane q = TexelPlaneOf(x, y, flipped);
    EXPECT_EQ(q.dx, -(int64_t(1) << 40));
    EXPECT_EQ(q.origin, int64_t(1) << 60);
}

}  // namespace
}  // namespace platform::gfx
