#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "framework3d/animation.h"

namespace {

class AnimationTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ZethAnimation::Initialize()); }
    void TearDown() override { ZethAnimation::Finalize(); }

    // A curve with keys (time, value), no tangents.
    int32_t Curve(const std::vector<std::pair<float, float>>& keys) {
        const int32_t h = AnimationCreate(uint32_t(keys.size()));
        for (size_t i = 0; i < keys.size(); ++i) {
            AnimationSetKey(h, uint32_t(i), keys[i].first, keys[i].second, false, false, 0, 0);
        }
        return h;
    }
};

TEST_F(AnimationTest, SamplingAtTheEndsAndInsideSegments) {
    const int32_t h = Curve({{10, 1}, {20, 3}, {30, 7}, {40, 7}});
    struct Row {
        float time;
        uint32_t mode;
        float expected;
    };
    const Row rows[] = {
        {0.0f, kAnimationLinear, 1},        // time 0 gives key 0 though its time is 10
        {-5.0f, kAnimationHermite, 1},      // so does any time below
        {5.0f, kAnimationLinear, 0},        // between 0 and the first key: segment 0 extended
        {50.0f, kAnimationStep, 7},         // after the last key: its value
        {15.0f, kAnimationStep, 1},
        {15.0f, kAnimationLinear, 2},
        {20.0f, kAnimationLinear, 3},       // an inner key's own time
        {20.0f, kAnimationStep, 3},         // the search lands on key 1 itself
        {30.0f, kAnimationStep, 3},         // and for key 2 on the key before it
        {30.0f, kAnimationLinear, 7},
        {35.0f, kAnimationStep, 7},         // flat segment in every mode
        {35.0f, kAnimationLinear, 7},
        {35.0f, kAnimationHermite, 7},
        {15.0f, kAnimationPolynomial, 0},   // nothing fills the coefficients
        {15.0f, 4, -9},                     // unknown mode: the default
    };
    for (const Row& r : rows) EXPECT_FLOAT_EQ(AnimationGetValue(h, r.time, r.mode, -9), r.expected) << r.time;
    EXPECT_FLOAT_EQ(AnimationGetValue(h, std::nanf(""), kAnimationLinear, -9), 1);
}

TEST_F(AnimationTest, HermiteTangents) {
    // Segment 0 takes its prev tangent from the last key (circular) unless it has an out tangent.
    const int32_t h = Curve({{0, 0}, {10, 10}, {20, 0}});
    const double s = 0.5, s2 = s * s, s3 = s2 * s, hh = 3 * s2 - 2 * s3;
    const double m0 = (10.0 / (10.0 - 20.0)) * (0.0 - 0.0 + 10.0);  // prev is key 2
    const double m1 = (10.0 / (20.0 - 0.0)) * (0.0 - 10.0 + 10.0);
    const double expected = m0 * (s3 - 2 * s2 + s) + (1 - hh) * 0 + hh * 10 + (s3 - s2) * m1;
    EXPECT_FLOAT_EQ(AnimationGetValue(h, 5, kAnimationHermite, 0), float(expected));
    AnimationSetKey(h, 0, 0, 0, false, true, 0, 4.0f);
    AnimationSetKey(h, 1, 10, 10, true, false, 2.0f, 0);
    const double withTangents = 4.0 * (s3 - 2 * s2 + s) + hh * 10 + (s3 - s2) * 2.0;
    EXPECT_FLOAT_EQ(AnimationGetValue(h, 5, kAnimationHermite, 0), float(withTangents));
    // Two keys: each is the other's prev and next, the spans have no length, and the tangents
    // fall back to the difference, so the curve stays finite.
    const int32_t two = Curve({{0, 0}, {10, 10}});
    const float v = AnimationGetValue(two, 5, kAnimationHermite, -1);
    EXPECT_TRUE(std::isfinite(v));
    EXPECT_FLOAT_EQ(v, 5.0f);
}

TEST_F(AnimationTest, HandlesThatNameNoCurve) {
    EXPECT_EQ(AnimationCreate(0), -1);
    for (int32_t handle : {-1, -2, ZethAnimation::kRecords, 12345}) {
        AnimationSetKey(handle, 0, 1, 1, false, false, 0, 0);  // ignored
        AnimationRelease(handle);
        EXPECT_FLOAT_EQ(AnimationGetValue(handle, 1, kAnimationLinear, 0.5f), 0.5f) << handle;
    }
    // Key indexes wrap at the key count.
    const int32_t h = Curve({{0, 0}, {10, 1}});
    AnimationSetKey(h, 3, 10, 4, false, false, 0, 0);
    EXPECT_FLOAT_EQ(AnimationGetValue(h, 10, kAnimationStep, 0), 4);
    AnimationRelease(h);
    EXPECT_FLOAT_EQ(AnimationGetValue(h, 10, kAnimationStep, -3), -3);
}

TEST_F(AnimationTest, UnsearchableKeysGiveTheDefault) {
    // A key time that is not a number (damaged file data) leaves the search without a segment.
    const int32_t h = Curve({{0, 0}, {std::nanf(""), 1}, {10, 2}});
    EXPECT_FLOAT_EQ(AnimationGetValue(h, 5, kAnimationLinear, -1), -1);
    EXPECT_EQ(AnimationFindKey(nullptr, 0, 0), nullptr);
}

TEST_F(AnimationTest, FullPoolRefusesAndFreedRecordsAreReused) {
    for (int i = 0; i < ZethAnimation::kRecords; ++i) ASSERT_EQ(AnimationCreate(1), i);
    EXPECT_EQ(AnimationCreate(1), -1);
    AnimationRelease(77);
    EXPECT_EQ(AnimationCreate(2), 77);
}

TEST(AnimationPool, NoPoolNoCurves) { EXPECT_EQ(AnimationCreate(1), -1); }

}  // namespace
