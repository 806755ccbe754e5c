// The runs of pixels a triangle covers, row by row, against its edge functions evaluated at
// every pixel centre of its box under the top-left rule: triangles at random, with corners on
// pixel centres and level sides, long and thin, and tall enough on either side of the height
// from which rows are stepped in 64 bits rather than eight at a time in 32; read a row at a
// time, in pieces and at once, with and without AVX2.
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

}  // namespace
}  // namespace platform::gfx
