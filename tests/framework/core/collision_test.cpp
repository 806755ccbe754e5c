#include <gtest/gtest.h>

#include <cmath>

#include "framework/core/collision.h"

TEST(RectOverlap, EdgesAreInclusive) {
    struct Case {
        float a[4];
        float b[4];
        bool overlap;
    };
    const Case cases[] = {
        {{0, 0, 16, 16}, {16, 0, 32, 16}, true},        // shared edge
        {{0, 0, 16, 16}, {16.001f, 0, 32, 16}, false},  // just beyond
        {{0, 0, 16, 16}, {16, 16, 20, 20}, true},       // shared corner
        {{16, 16, 0, 0}, {8, 8, 9, 9}, true},           // swapped corners
        {{16, 16, 0, 0}, {17, 0, 20, 16}, false},
        {{5, 0, 5, 10}, {5, 5, 6, 6}, true},            // zero width still touches
        {{0, 0, 1, 1}, {0, 2, 1, 3}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RectOverlap(c.a, c.b), c.overlap);
        EXPECT_EQ(RectOverlap(c.b, c.a), c.overlap);
    }
}

TEST(RayTriangleHit, HitsCornersAndIgnoresParallelRays) {
    const CVector3 triangle[3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    float t, u, v;
    const CVector3 down[2] = {{0.25f, 0.25f, 1}, {0.25f, 0.25f, 0}};
    ASSERT_TRUE(RayTriangleHit(down, triangle, &t, &u, &v));
    EXPECT_FLOAT_EQ(t, 1.0f);
    const CVector3 corner[2] = {{0, 0, 2}, {0, 0, 1}};
    EXPECT_TRUE(RayTriangleHit(corner, triangle, &t, &u, &v));
    EXPECT_FLOAT_EQ(t, 2.0f);
    const CVector3 behind[2] = {{0.2f, 0.2f, -1}, {0.2f, 0.2f, -2}};
    ASSERT_TRUE(RayTriangleHit(behind, triangle, &t, &u, &v));
    EXPECT_FLOAT_EQ(t, -1.0f);
    const CVector3 parallel[2] = {{0, 0, 1}, {1, 0, 1}};
    EXPECT_FALSE(RayTriangleHit(parallel, triangle, &t, &u, &v));
    const CVector3 outside[2] = {{2, 2, 1}, {2, 2, 0}};
    EXPECT_FALSE(RayTriangleHit(outside, triangle, &t, &u, &v));
}

// A plane through three points: the normal is (a - b) x (a - c) made unit length, and d puts a on it.
TEST(Volumes, PlanesThroughThreePoints) {
    const struct {
        CVector3 a, b, c;
        CPlane plane;
    } cases[] = {
        {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1, 0}},
        {{0, 0, 5}, {1, 0, 5}, {0, 1, 5}, {0, 0, 1, -5}},
        {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, -1, 0}},
        {{2, 0, 0}, {2, 3, 0}, {2, 0, 4}, {1, 0, 0, -2}},
        {{0, 1, 0}, {0, 1, 2}, {3, 1, 0}, {0, 1, 0, -1}},
    };
    for (const auto& c : cases) {
        CPlane plane{};
        PlaneFromPoints(plane, c.a, c.b, c.c);
        EXPECT_FLOAT_EQ(plane.a, c.plane.a);
        EXPECT_FLOAT_EQ(plane.b, c.plane.b);
        EXPECT_FLOAT_EQ(plane.c, c.plane.c);
        EXPECT_FLOAT_EQ(plane.d, c.plane.d);
    }
}

TEST(Volumes, BoxPlanesFaceOutwardConsistently) {
    CVolume volume;
    CMatrix identity;
    MakeBoxVolume(volume, CVector3(-1, -1, -1), CVector3(1, 1, 1), identity);
    // The centre lies on the same side of all six planes, at distance one from each.
    float first = 0.0f;
    for (int i = 0; i < 6; ++i) {
        const CPlane& p = volume.plane[i];
        float d = p.d;
        if (i == 0) first = d;
        EXPECT_FLOAT_EQ(std::fabs(d), 1.0f);
        EXPECT_EQ(d > 0, first > 0) << "plane " << i;
    }
    CMatrix move;
    move.m[3][0] = 5.0f;
    MakeBoxVolume(volume, CVector3(0, 0, 0), CVector3(1, 1, 1), move);
    EXPECT_FLOAT_EQ(volume.corner[7].x, 6.0f);
}

TEST(SegmentPlaneHit, CrossingInsideTheQuad) {
    const CVector3 quad[4] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    CPlane plane{0, 0, 1, 0};
    CVector3 point;
    const CVector3 through[2] = {{0.5f, 0.5f, 1}, {0.5f, 0.5f, -1}};
    ASSERT_TRUE(SegmentPlaneHit(through, quad, plane, &point));
    EXPECT_FLOAT_EQ(point.z, 0.0f);
    const CVector3 beside[2] = {{2, 2, 1}, {2, 2, -1}};
    EXPECT_FALSE(SegmentPlaneHit(beside, quad, plane, nullptr));
    const CVector3 above[2] = {{0.5f, 0.5f, 1}, {0.5f, 0.5f, 2}};
    EXPECT_FALSE(SegmentPlaneHit(above, quad, plane, nullptr));
}
