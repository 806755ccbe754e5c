#include <gtest/gtest.h>

#include <cmath>

#include "platform/d3dx/maths.h"

namespace platform::d3dx {
namespace {

constexpr float kHalf = 0.70710678f;  // sin and cos of 45 degrees

void ExpectQuaternion(const Quaternion& q, const Quaternion& expected) {
    EXPECT_NEAR(q.x, expected.x, 1e-5f);
    EXPECT_NEAR(q.y, expected.y, 1e-5f);
    EXPECT_NEAR(q.z, expected.z, 1e-5f);
    EXPECT_NEAR(q.w, expected.w, 1e-5f);
}

TEST(Maths, SlerpTakesTheShorterArc) {
    const Quaternion identity{0, 0, 0, 1}, quarterZ{0, 0, kHalf, kHalf};
    Quaternion q;
    D3DXQuaternionSlerp(&q, &identity, &quarterZ, 0.5f);
    ExpectQuaternion(q, {0, 0, std::sin(0.3926991f), std::cos(0.3926991f)});  // 45 degrees about z
    // The same rotation written negated is reached the short way, not through a half turn.
    const Quaternion negated{0, 0, -kHalf, -kHalf};
    D3DXQuaternionSlerp(&q, &identity, &negated, 0.5f);
    ExpectQuaternion(q, {0, 0, std::sin(0.3926991f), std::cos(0.3926991f)});
    // Equal ends stay put at every fraction.
    D3DXQuaternionSlerp(&q, &quarterZ, &quarterZ, 0.3f);
    ExpectQuaternion(q, quarterZ);
}

TEST(Maths, QuaternionAndMatrixRoundTripInRowVectorConvention) {
    Matrix m;
    const Quaternion quarterZ{0, 0, kHalf, kHalf};
    D3DXMatrixRotationQuaternion(&m, &quarterZ);
    // A row vector (1, 0, 0) times the matrix: a quarter turn about z takes x to y.
    EXPECT_NEAR(m.m[0][0], 0.0f, 1e-6f);
    EXPECT_NEAR(m.m[0][1], 1.0f, 1e-6f);
    EXPECT_NEAR(m.m[1][0], -1.0f, 1e-6f);
    EXPECT_FLOAT_EQ(m.m[3][3], 1.0f);
    // Every branch of the matrix-to-quaternion conversion: positive trace, half turns about each
    // axis (the largest diagonal element picks the branch), and turns of 150 degrees about each
    // axis, whose negative trace takes the same branches with a real part that is not 0.
    constexpr float kSin75 = 0.96592583f, kCos75 = 0.25881905f;
    const Quaternion cases[] = {{0.1f, 0.2f, 0.3f, 0.9273618f}, {1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0},
                                {kHalf, 0, 0, kHalf}, {kSin75, 0, 0, kCos75}, {0, kSin75, 0, kCos75},
                                {0, 0, kSin75, kCos75}, {0.2f * kSin75, 0.9f * kSin75, 0.3872983f * kSin75, kCos75}};
    for (const Quaternion& q : cases) {
        Quaternion back;
        D3DXMatrixRotationQuaternion(&m, &q);
        D3DXQuaternionRotationMatrix(&back, &m);
        SCOPED_TRACE(testing::Message() << q.x << " " << q.y << " " << q.z << " " << q.w);
        ExpectQuaternion(back, q);
    }
}

TEST(Maths, NormalizeKeepsZeroAtZero) {
    Vector3 v{3, 4, 0};
    D3DXVec3Normalize(&v, &v);
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, 0.8f);
    const Vector3 zero{0, 0, 0};
    D3DXVec3Normalize(&v, &zero);
    EXPECT_EQ(v.x, 0.0f);
    EXPECT_FALSE(std::isnan(v.y));
}

}  // namespace
}  // namespace platform::d3dx
