#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "framework/core/angle.h"
#include "framework/core/random.h"

TEST(Random, MatchesTheReferenceSequences) {
    ZethRandom::Seed(5489);
    EXPECT_EQ(ZethRandom::Generate(), 3499211612u);
    EXPECT_EQ(ZethRandom::Generate(), 581869302u);
    EXPECT_EQ(ZethRandom::Generate(), 3890346734u);
    ZethRandom::Seed(0);
    EXPECT_EQ(ZethRandom::Generate(), 2357136044u);
}

TEST(Random, RangeUsesTheHalvedOutput) {
    ZethRandom::Seed(5489);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(ZethRandom::Range(7, 7), 7);
    // 0 to 1 takes bit 1 of the raw output.
    ZethRandom::Seed(5489);
    uint32_t raw[16];
    for (uint32_t& r : raw) r = ZethRandom::Generate();
    ZethRandom::Seed(5489);
    for (uint32_t r : raw) EXPECT_EQ(ZethRandom::Range(0, 1), static_cast<int32_t>((r >> 1) & 1));
    // A negative low end shifts the whole range, and the full int32 range cannot overflow.
    ZethRandom::Seed(1);
    for (int i = 0; i < 1000; ++i) {
        int32_t v = ZethRandom::Range(-5, 5);
        EXPECT_GE(v, -5);
        EXPECT_LE(v, 5);
    }
    ZethRandom::Range(INT32_MIN, INT32_MAX);
}

TEST(Angle, TablesHoldTheSinglePrecisionValues) {
    EXPECT_EQ(AngleSin(0), 0.0f);
    EXPECT_EQ(AngleSin(16384), 1.0f);
    EXPECT_EQ(AngleSin(49152), -1.0f);
    EXPECT_EQ(AngleCos(0), 1.0f);
    EXPECT_FLOAT_EQ(AngleSin(32768), -8.742278e-8f);
    EXPECT_NE(AngleSin(32768), 0.0f);
    EXPECT_EQ(AngleSin(65536 + 16384), AngleSin(16384));
    const uint32_t* atan = AngleAtanTable();
    EXPECT_EQ(atan[0], 0u);
    EXPECT_EQ(atan[1269], 1602u);
    EXPECT_EQ(atan[6638], 7102u);
    EXPECT_EQ(atan[8192], 8191u);
}

TEST(Angle, Atan2OnTheAxesAndInEveryOctant) {
    struct Case {
        float x, y;
        uint32_t angle;
    };
    // The axes, then the four diagonals: each lies on the border between two octants and belongs
    // to the one measured from the x axis (the last table entry, 8191, added to or taken from it).
    const Case axes[] = {{1, 0, 0},       {0, 1, 16384},     {-1, 0, 32768},    {0, -1, 49152}, {0, 0, 16384},
                         {1, 1, 8191},    {-1, 1, 24577},    {-1, -1, 40959},   {1, -1, 57345}};
    for (const Case& c : axes) EXPECT_EQ(AngleAtan2(c.x, c.y), c.angle) << c.x << "," << c.y;

    // Points whose ratio hits a table index exactly, in all eight octants: the result is the
    // table entry (or its complement), so it lies within one unit of the exact direction.
    for (int k = 1; k < 8192; k += 97) {
        float n = static_cast<float>(k);
        const float points[8][2] = {{8192, n}, {n, 8192}, {-n, 8192}, {-8192, n},
                                    {-8192, -n}, {-n, -8192}, {n, -8192}, {8192, -n}};
        for (const auto& p : points) {
            double exact = std::atan2(p[1], p[0]) * 65536.0 / (2.0 * M_PI);
            if (exact < 0) exact += 65536.0;
            EXPECT_LT(std::fabs(AngleAtan2(p[0], p[1]) - exact), 1.0) << p[0] << "," << p[1];
        }
    }
    // Not-a-number input stays inside the table.
    EXPECT_LE(AngleAtan2(NAN, 1.0f), 65536u);
}

TEST(Angle, RotateByQuarterTurn) {
    float v[2] = {1.0f, 0.0f};
    RotateByAngle(v, 16384);
    EXPECT_NEAR(v[0], 0.0f, 1e-6f);
    EXPECT_NEAR(v[1], 1.0f, 1e-6f);
}
