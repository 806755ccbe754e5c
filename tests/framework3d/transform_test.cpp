#include <gtest/gtest.h>

#include <cmath>

#include "framework3d/animation.h"
#include "framework3d/animation_set.h"
#include "framework3d/transform3d.h"

namespace {

void ExpectMatrix(const CMatrix& m, const float (&expected)[4][4], const char* what) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(m.m[r][c], expected[r][c], 1e-6f) << what << " " << r << "," << c;
    }
}

constexpr float kIdentity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

TEST(Transform3D, MatricesFromAxesPositionAndScale) {
    CTransform3D t;
    t.SetPosition(1, 2, 3);
    t.scale.Set(2, 2, 2);
    t.Update();
    const float world[4][4] = {{2, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, 2, 0}, {1, 2, 3, 1}};
    const float inverse[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {-1, -2, -3, 1}};
    ExpectMatrix(t.world, world, "world");  // scale only here
    ExpectMatrix(t.worldInverse, inverse, "worldInverse");
    ExpectMatrix(t.rotation, kIdentity, "rotation");
    CTransform3D copy(t), assigned;
    assigned = t;
    ExpectMatrix(copy.world, world, "copy");
    t.CopyTo(assigned);
    ExpectMatrix(assigned.worldInverse, inverse, "CopyTo");
    t.Reset();
    t.Update();
    ExpectMatrix(t.world, kIdentity, "after Reset");
    ExpectMatrix(t.worldInverse, kIdentity, "after Reset");
}

TEST(Transform3D, QuarterYawAndItsInverse) {
    CTransform3D t;
    t.RotateYaw(16384);
    EXPECT_NEAR(t.right.x, 0, 1e-6f);
    EXPECT_NEAR(t.right.z, -1, 1e-6f);
    EXPECT_NEAR(t.front.x, 1, 1e-6f);
    EXPECT_NEAR(t.front.z, 0, 1e-6f);
    EXPECT_FLOAT_EQ(t.up.y, 1);
    t.SetPosition(4, 0, 0);
    t.Update();
    // The inverse takes the position back to the origin and is the rotation's transpose.
    CVector3 p{4, 0, 0};
    p.TransformCoord(t.worldInverse);
    EXPECT_NEAR(p.x, 0, 1e-6f);
    EXPECT_NEAR(p.z, 0, 1e-6f);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) EXPECT_FLOAT_EQ(t.inverseRotation.m[r][c], t.rotation.m[c][r]);
    }
}

class TrackTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ZethAnimation::Initialize()); }
    void TearDown() override { ZethAnimation::Finalize(); }
    static int32_t Line(float from, float to) {
        const int32_t h = AnimationCreate(2);
        AnimationSetKey(h, 0, 0, from, false, false, 0, 0);
        AnimationSetKey(h, 1, 10, to, false, false, 0, 0);
        return h;
    }
    CVector3 fileTranslation_{5, 6, 7}, fileScale_{2, 3, 4};
    CMatrix fileRotation_;  // identity
};

TEST_F(TrackTest, PositionKeysOnlyKeepTheFileScaleAndRotation) {
    auto* track = new LibModel::AnimasionSet;
    track->translationX = Line(0, 10);
    track->translationY = Line(0, 20);
    track->translationZ = Line(0, 30);
    track->scaleX = Line(1, 9);  // two of three scale curves: the file scale for all axes
    track->scaleY = Line(1, 9);
    CMatrix m;
    track->GetMatrix(&m, 5, kAnimationLinear, fileTranslation_, fileScale_, fileRotation_);
    const float expected[4][4] = {{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {5, 10, 15, 1}};
    ExpectMatrix(m, expected, "GetMatrix");
    CVector3 t, s;
    LibModel::AnimasionSet::Quaternion q;
    track->GetTransform(&t, &s, &q, 5, kAnimationLinear, fileTranslation_, fileScale_, fileRotation_);
    EXPECT_FLOAT_EQ(t.y, 10);
    EXPECT_FLOAT_EQ(s.z, 4);
    EXPECT_FLOAT_EQ(q.w, 1);
    EXPECT_STREQ(LibModel::AnimasionSet::kClassName.GetText(), "LibModel::AnimasionSet");
    track->Release();
    EXPECT_FLOAT_EQ(AnimationGetValue(1, 5, kAnimationLinear, -1), -1);  // the curves were released
}

TEST_F(TrackTest, RotationHoldsAtTheLastKeyAndStaysInsideTheKeys) {
    auto* track = new LibModel::AnimasionSet;
    const LibModel::AnimasionSet::Quaternion keys[2] = {{0, 0, 0, 1}, {0, 0, 0.70710678f, 0.70710678f}};
    ASSERT_TRUE(track->SetRotationKeys(keys, 2));
    EXPECT_FALSE(track->SetRotationKeys(keys, 0));
    // Key times 0 and 10 map to indexes 0 and 1; a Hermite curve with huge tangents overshoots.
    track->rotationIndex = AnimationCreate(2);
    AnimationSetKey(track->rotationIndex, 0, 0, 0, false, true, 0, 1.0e6f);
    AnimationSetKey(track->rotationIndex, 1, 10, 1, true, false, 1.0e6f, 0);
    struct Row {
        float time;
        uint32_t mode;
        float sinHalf;  // of the expected turn about z
    };
    const Row rows[] = {{10, kAnimationLinear, 0.70710678f},   // the last key: i + 1 repeats it
                        {20, kAnimationLinear, 0.70710678f},
                        {5, kAnimationLinear, 0.38268343f},    // half way: 45 degrees
                        {2, kAnimationHermite, 0.70710678f},   // overshoot above: the last key
                        {8, kAnimationHermite, 0.0f}};         // overshoot below: the first
    for (const Row& r : rows) {
        CMatrix m;
        track->GetMatrix(&m, r.time, r.mode, fileTranslation_, CVector3{1, 1, 1}, fileRotation_);
        const float angle = 2.0f * std::asin(r.sinHalf);
        EXPECT_NEAR(m.m[0][0], std::cos(angle), 1e-5f) << r.time;
        EXPECT_NEAR(m.m[0][1], std::sin(angle), 1e-5f) << r.time;
        EXPECT_FLOAT_EQ(m.m[3][0], 5) << r.time;
    }
    track->Release();
    CAnimation set;
    EXPECT_EQ(set.GetLength(), 0u);
    set.SetLength(4800);
    EXPECT_EQ(set.GetLength(), 4800u);
}

}  // namespace
