// The runs of pixels a triangle covers, row by row, against its edge functions evaluated at
// every pixel centre of its box under the top-left rule: triangles at random, with corners on
// pixel centres and level sides, long and thin, and tall enough on either side of the height
// from which rows are stepped in 64 bits rather than eight at a time in 32; read a row at a
// time, in pieces and at once, with and without AVX2. And the runs of parallelograms against
// the pixels their two triangles' edge functions give, and how many of the two have any.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <functional>
#include <vector>

#include "platform/gfx/device.h"
#include "platform/gfx/raster.h"

namespace platform::gfx {
namespace {

struct PixelRun {
    int first, last;
};

// Each row's covered pixels, tested one by one. Edge P -> Q with the third corner R: E(X) is the
// cross product of Q - P and X - P, signed so that E(R) > 0. A centre on the edge (E = 0) is
// the triangle's when the edge is a left edge (E grows to the right) or a top edge (level, E
// grows downwards).
std::vector<PixelRun> CoveredRuns(const TriangleSetup& t) {
    std::vector<PixelRun> runs;
    for (int py = t.top; py <= t.bottom; ++py) {
        PixelRun run{INT_MAX, INT_MIN};
        int pixels = 0;
        for (int px = t.left; px <= t.right; ++px) {
            const int64_t x = int64_t(px) * 256, y = int64_t(py) * 256;
            bool inside = true;
            for (int k = 0; k < 3; ++k) {
                const int p = k, q = (k + 1) % 3, r = (k + 2) % 3;
                auto cross = [&](int64_t cx, int64_t cy) {
                    return (t.x[q] - t.x[p]) * (cy - t.y[p]) - (t.y[q] - t.y[p]) * (cx - t.x[p]);
                };
                const int64_t sign = cross(t.x[r], t.y[r]) > 0 ? 1 : -1;
                const int64_t e = sign * cross(x, y);
                const int64_t gx = -sign * (t.y[q] - t.y[p]), gy = sign * (t.x[q] - t.x[p]);
                const bool owns = gx > 0 || (gx == 0 && gy > 0);
                inside = inside && (e > 0 || (e == 0 && owns));
            }
            if (!inside) continue;
            run.first = std::min(run.first, px);
            run.last = std::max(run.last, px);
            ++pixels;
        }
        EXPECT_TRUE(pixels == 0 || pixels == run.last - run.first + 1) << "row " << py << " is not one run";
        runs.push_back(run);
    }
    return runs;
}

uint32_t g_seed = 1;
int Next(int range) {
    g_seed = g_seed * 1103515245u + 12345u;
    return int((g_seed >> 8) % uint32_t(range));
}

// A place in pixels: on a pixel centre, half way between two, or anywhere in 1/256.
float Place(int low, int high) {
    const int whole = low + Next(high - low + 1);
    switch (Next(3)) {
        case 0: return float(whole);
        case 1: return float(whole) + 0.5f;
        default: return float(whole) + float(Next(256)) / 256.0f;
    }
}

class CoverageTest : public ::testing::Test {
protected:
    void TearDown() override { SetForceSse2(false); }
};

// A triangle `height` pixels tall from above the box to below it: its top and bottom corners
// near the box's columns, so that the long edge crosses it, the middle one near its rows.
std::array<float, 6> Tall(float height, int left, int top, int side) {
    const float y = float(top + side) - height + float(Next(int(height) - side)) + float(Next(256)) / 256.0f;
    return {Place(left - 40, left + side + 40), y, Place(left - 40, left + side + 40), y + height,
            Place(left - 200, left + side + 200), Place(top - 40, top + side + 40)};
}

TEST_F(CoverageTest, RunsAreThePixelCentresTheEdgeFunctionsPutInside) {
    // The box is cut to 64 x 64 pixels, away from the target's corner.
    constexpr int kLeft = 16, kTop = 8, kSide = 64;
    using Corners = std::array<float, 6>;
    struct Family {
        const char* name;
        int count;
        std::function<Corners()> corners;
    };
    const Family families[] = {
        {"sprite-sized", 400,
         [] {
             const float cx = Place(kLeft - 8, kLeft + kSide + 8), cy = Place(kTop - 8, kTop + kSide + 8);
             return Corners{cx + Place(-24, 24), cy + Place(-24, 24), cx + Place(-24, 24),
                            cy + Place(-24, 24), cx + Place(-24, 24), cy + Place(-24, 24)};
         }},
        {"level side", 200,
         [] {
             const float y = Place(kTop - 4, kTop + kSide + 4), x = Place(kLeft - 4, kLeft + kSide + 4);
             return Corners{x, y, x + Place(-40, 40), y, Place(kLeft, kLeft + kSide), Place(kTop - 40, kTop + kSide + 40)};
         }},
        {"long and thin", 100,
         [] {
             const float y = Place(kTop, kTop + kSide);
             return Corners{Place(-9000, 0), y, Place(kSide, 9000), y + Place(-3, 3), Place(-9000, 9000),
                            y + Place(-3, 3)};
         }},
        // Edges up to 4096 pixels less a subpixel tall are stepped eight rows at a time.
        {"tallest eight-row steps", 50, [] { return Tall(4096.0f - 1.0f / 256.0f, kLeft, kTop, kSide); }},
        {"taller", 100, [] { return Tall(4096.0f + float(Next(12288)), kLeft, kTop, kSide); }},
    };
    PipelineState ps;
    ps.scissor = {kLeft, kTop, kLeft + kSide, kTop + kSide};
    for (const Family& family : families) {
        g_seed = 5;
        for (int i = 0; i < family.count; ++i) {
            const Corners c = family.corners();
            ScreenVertex v[3]{};
            for (int k = 0; k < 3; ++k) {
                v[k].x = c[size_t(2 * k)];
                v[k].y = c[size_t(2 * k + 1)];
            }
            TriangleSetup t;
            if (!SetUpTriangle(ps, &v[0], &v[1], &v[2], &t) || t.left > t.right || t.top > t.bottom) continue;
            const std::vector<PixelRun> expected = CoveredRuns(t);
            const int rows = int(expected.size());
            for (const bool avx2 : {true, false}) {
                SetForceSse2(!avx2);
                SCOPED_TRACE(::testing::Message() << family.name << " " << i << (avx2 ? " avx2" : " scalar"));
                Coverage byRow(t);
                for (int r = 0; r < rows; ++r) {
                    const PixelRun& want = expected[size_t(r)];
                    PixelRun run{0, -1};
                    ASSERT_EQ(byRow.NextRow(&run.first, &run.last), want.first <= want.last) << "row " << r;
                    if (want.first <= want.last) {
                        ASSERT_EQ(run.first, want.first) << "row " << r;
                        ASSERT_EQ(run.last, want.last) << "row " << r;
                    }
                }
                // Pieces of one row up to past eight, and the whole box at once.
                for (const int piece : {1, 3, 7, 8, 9, 17, rows}) {
                    Coverage coverage(t);
                    std::vector<int> first(size_t(rows + Coverage::kRowSlack)), last(first.size());
                    for (int r = 0; r < rows; r += piece) {
                        const int count = std::min(piece, rows - r);
                        bool some = false;
                        for (int k = r; k < r + count; ++k) some |= expected[size_t(k)].first <= expected[size_t(k)].last;
                        ASSERT_EQ(coverage.Rows(count, &first[size_t(r)], &last[size_t(r)]), some) << "rows from " << r;
                    }
                    for (int r = 0; r < rows; ++r) {
                        const PixelRun& want = expected[size_t(r)];
                        if (want.first > want.last) {
                            ASSERT_GT(first[size_t(r)], last[size_t(r)]) << "row " << r << " in pieces of " << piece;
                        } else {
                            ASSERT_EQ(first[size_t(r)], want.first) << "row " << r << " in pieces of " << piece;
                            ASSERT_EQ(last[size_t(r)], want.last) << "row " << r << " in pieces of " << piece;
                        }
                    }
                }
            }
            SetForceSse2(false);
        }
    }
}

TEST_F(CoverageTest, ParallelogramRunsAreTheirTrianglesPixels) {
    if (!UseAvx2()) GTEST_SKIP() << "parallelograms are stepped with AVX2 only";
    constexpr int kLeft = 16, kTop = 8, kSide = 64;
    // Corner a and the sides from it to b and to d, in subpixels: c = b + d - a.
    struct Shape {
        int64_t ax, ay, bx, by, dx, dy;
    };
    auto subpixels = [](int low, int high) { return int64_t(Place(low, high) * 256.0f); };
    // Whole or half pixels along an axis or a diagonal.
    auto level = [](int64_t* x, int64_t* y) {
        const int64_t length = int64_t(1 + Next(48)) * 128;
        static constexpr int kDirections[][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}, {-1, 0}, {0, -1}};
        const int* direction = kDirections[Next(6)];
        *x = direction[0] * length;
        *y = direction[1] * length;
    };
    struct Family {
        const char* name;
        int count;
        std::function<Shape()> shape;
        // Which are to be declined: those with a level diagonal only, some more, or all.
        enum { kLevelDiagonals, kSome, kAll } declined;
        int height = kSide;  // of the box
    };
    const Family families[] = {
        {"turned and skewed, either winding", 400,
         [&] {
             return Shape{subpixels(kLeft - 24, kLeft + kSide + 24), subpixels(kTop - 24, kTop + kSide + 24),
                          subpixels(-48, 48), subpixels(-48, 48), subpixels(-48, 48), subpixels(-48, 48)};
         },
         Family::kLevelDiagonals},
        // Half of them squares, whose diagonals are level when turned by 45 degrees.
        {"level sides and diagonals on pixel centres", 400,
         [&] {
             Shape s{int64_t(kLeft + Next(kSide)) * 256 + 128 * Next(2), int64_t(kTop + Next(kSide)) * 256 + 128 * Next(2),
                     0, 0, 0, 0};
             level(&s.bx, &s.by);
             if (Next(2) == 0) {
                 level(&s.dx, &s.dy);
             } else {
                 s.dx = -s.by;
                 s.dy = s.bx;
             }
             return s;
         },
         Family::kLevelDiagonals},
        {"reaching far past the box", 200,
         [&] {
             return Shape{subpixels(kLeft - 400, kLeft + kSide + 400), subpixels(kTop - 400, kTop + kSide + 400),
                          subpixels(-800, 800), subpixels(-800, 800), subpixels(-40, 40), subpixels(-40, 40)};
         },
         Family::kLevelDiagonals},
        // Sides up to 8,000 pixels tall through the box: from 4,096 on, eight rows of their
        // remainders pass 32 bits.
        {"steep and taller than 4,096 pixels", 100,
         [&] {
             const int64_t height = subpixels(1000, 8000);
             return Shape{subpixels(kLeft - 8, kLeft + kSide + 8), kTop * 256 - height / 2, subpixels(-40, 40),
                          height, subpixels(-40, 40), subpixels(-8, 8)};
         },
         Family::kSome},
        // A long side rising a subpixel or two, or none, across the guard band: in the box's rows
        // its line passes billions of pixels from it when it lies far above or below it, which
        // 32-bit steps do not keep.
        {"almost level slivers", 200,
         [&] {
             return Shape{-16300 * 256, subpixels(kTop - 300, kTop + kSide + 300), 32600 * 256, int64_t(Next(5)) - 2,
                          subpixels(-4, 4), subpixels(-300, 300)};
         },
         Family::kSome},
        // The same just within reach of the box's top row, and out of it within its 256 rows.
        {"almost level slivers leaving the steps' reach", 40,
         [&] {
             return Shape{-16300 * 256, kTop * 256 - 16418 + int64_t(Next(64)), 32600 * 256, 1, 256, 300 * 256};
         },
         Family::kAll, 256},
        // A diagonal rising a subpixel across the guard band, 64 rows above the box's top one:
        // within reach there, out of it in the lower rows.
        {"almost level diagonals leaving the steps' reach", 40,
         [&] {
             return Shape{int64_t(kLeft + 32 - 16300) * 256, int64_t(kTop - 64) * 256 + int64_t(Next(64)),
                          16300 * 256, -400 * 256, 16300 * 256, 400 * 256 + 1};
         },
         Family::kAll, 256},
    };
    for (const Family& family : families) {
        const Rect scissor{kLeft, kTop, kLeft + kSide, kTop + family.height};
        PipelineState ps;
        ps.scissor = scissor;
        g_seed = 11;
        int taken = 0, declined = 0;
        for (int i = 0; i < family.count; ++i) {
            SCOPED_TRACE(::testing::Message() << family.name << " " << i);
            const Shape s = family.shape();
            const int64_t x[4] = {s.ax, s.ax + s.bx, s.ax + s.bx + s.dx, s.ax + s.dx};
            const int64_t y[4] = {s.ay, s.ay + s.by, s.ay + s.by + s.dy, s.ay + s.dy};
            ScreenVertex v[4]{};
            for (int k = 0; k < 4; ++k) {
                v[k].x = float(x[k]) / 256.0f;
                v[k].y = float(y[k]) / 256.0f;
            }
            // The pixels each triangle owns, by its own edge functions.
            std::vector<std::vector<int>> owner(size_t(family.height), std::vector<int>(kSide, -1));
            int pixels[2] = {0, 0};
            const int corners[2][3] = {{0, 1, 2}, {2, 3, 0}};
            bool flat = false;
            for (int k = 0; k < 2; ++k) {
                TriangleSetup t;
                if (!SetUpTriangle(ps, &v[corners[k][0]], &v[corners[k][1]], &v[corners[k][2]], &t)) {
                    flat = true;
                    break;
                }
                const std::vector<PixelRun> runs = CoveredRuns(t);
                for (size_t r = 0; r < runs.size(); ++r) {
                    for (int px = runs[r].first; px <= runs[r].last; ++px) {
                        ASSERT_EQ(owner[size_t(t.top - kTop) + r][size_t(px - kLeft)], -1) << "owned twice";
                        owner[size_t(t.top - kTop) + r][size_t(px - kLeft)] = k;
                        ++pixels[k];
                    }
                }
            }
            if (flat) continue;
            QuadCoverage quad;
            if (!quad.SetUp(x, y, scissor)) {
                ++declined;
                if (family.declined == Family::kLevelDiagonals) {
                    ASSERT_EQ(y[0], y[2]) << "declined with a diagonal that is not level";
                }
                continue;
            }
            ASSERT_NE(y[0], y[2]) << "took a level diagonal";
            ASSERT_NE(family.declined, Family::kAll) << "took what 32-bit steps do not keep";
            ++taken;
            std::vector<int> first(size_t(quad.rows() + Coverage::kRowSlack)), last(first.size());
            const int covering = quad.rows() > 0 ? quad.Rows(first.data(), last.data()) : 0;
            for (int py = kTop; py < kTop + family.height; ++py) {
                const int r = py - quad.top();
                for (int px = kLeft; px < kLeft + kSide; ++px) {
                    const bool got = r >= 0 && r < quad.rows() && px >= first[size_t(r)] && px <= last[size_t(r)];
                    ASSERT_EQ(got, owner[size_t(py - kTop)][size_t(px - kLeft)] >= 0) << "pixel " << px << "," << py;
                }
            }
            EXPECT_EQ(covering, (pixels[0] > 0 ? 1 : 0) + (pixels[1] > 0 ? 1 : 0));
        }
        if (family.declined != Family::kAll) {
            EXPECT_GT(taken, family.count / 4) << family.name;
        }
        if (family.declined != Family::kLevelDiagonals) {
            EXPECT_GT(declined, 0) << family.name;
        }
    }
}

}  // namespace
}  // namespace platform::gfx
