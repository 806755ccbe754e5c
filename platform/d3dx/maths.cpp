#include "platform/d3dx/maths.h"

#include <cmath>

namespace platform::d3dx {

Quaternion* D3DXQuaternionSlerp(Quaternion* out, const Quaternion* a, const Quaternion* b, float t) {
    float cosine = a->x * b->x + a->y * b->y + a->z * b->z + a->w * b->w;
    float sign = 1.0f;
    if (cosine < 0.0f) {
        cosine = -cosine;
        sign = -1.0f;
    }
    float k0 = 1.0f - t, k1 = t;
    if (1.0f - cosine > 1.0e-5f) {
        const float theta = std::acos(cosine);
        const float s = std::sin(theta);
        k0 = std::sin((1.0f - t) * theta) / s;
        k1 = std::sin(t * theta) / s;
    }
    k1 *= sign;
    *out = {k0 * a->x + k1 * b->x, k0 * a->y + k1 * b->y, k0 * a->z + k1 * b->z,
            k0 * a->w + k1 * b->w};
    return out;
}

Quaternion* D3DXQuaternionRotationMatrix(Quaternion* out, const Matrix* matrix) {
    const auto& m = matrix->m;
    const float trace = m[0][0] + m[1][1] + m[2][2];
    Quaternion q;
    if (trace > 0.0f) {
        const float s = std::sqrt(trace + 1.0f) * 2.0f;  // 4w
        q = {(m[1][2] - m[2][1]) / s, (m[2][0] - m[0][2]) / s, (m[0][1] - m[1][0]) / s, 0.25f * s};
    } else if (m[0][0] >= m[1][1] && m[0][0] >= m[2][2]) {
        const float s = std::sqrt(1.0f + m[0][0] - m[1][1] - m[2][2]) * 2.0f;  // 4x
        q = {0.25f * s, (m[0][1] + m[1][0]) / s, (m[0][2] + m[2][0]) / s, (m[1][2] - m[2][1]) / s};
    } else if (m[1][1] >= m[2][2]) {
        const float s = std::sqrt(1.0f + m[1][1] - m[0][0] - m[2][2]) * 2.0f;  // 4y
        q = {(m[0][1] + m[1][0]) / s, 0.25f * s, (m[1][2] + m[2][1]) / s, (m[2][0] - m[0][2]) / s};
    } else {
        const float s = std::sqrt(1.0f + m[2][2] - m[0][0] - m[1][1]) * 2.0f;  // 4z
        q = {(m[0][2] + m[2][0]) / s, (m[1][2] + m[2][1]) / s, 0.25f * s, (m[0][1] - m[1][0]) / s};
    }
    *out = q;
    return out;
}

Matrix* D3DXMatrixRotationQuaternion(Matrix* out, const Quaternion* q) {
    const float x = q->x, y = q->y, z = q->z, w = q->w;
    *out = Matrix{{{1.0f - 2.0f * (y * y + z * z), 2.0f * (x * y + z * w), 2.0f * (x * z - y * w), 0.0f},
                   {2.0f * (x * y - z * w), 1.0f - 2.0f * (x * x + z * z), 2.0f * (y * z + x * w), 0.0f},
                   {2.0f * (x * z + y * w), 2.0f * (y * z - x * w), 1.0f - 2.0f * (x * x + y * y), 0.0f},
                   {0.0f, 0.0f, 0.0f, 1.0f}}};
    return out;
}

Vector3* D3DXVec3Normalize(Vector3* out, const Vector3* v) {
    const float length = std::sqrt(v->x * v->x + v->y * v->y + v->z * v->z);
    *out = length > 0.0f ? Vector3{v->x / length, v->y / length, v->z / length} : Vector3{0, 0, 0};
    return out;
}

}  // namespace platform::d3dx
