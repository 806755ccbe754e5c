#include "framework/core/matrix.h"

#include <cstring>

#include "framework/core/angle.h"
#include "framework/core/collision.h"

CMatrix::CMatrix(const float* sixteen) { Set(sixteen); }

void CMatrix::Identity() { *this = CMatrix(); }

void CMatrix::Set(const float* sixteen) { std::memcpy(m, sixteen, sizeof(m)); }

void CMatrix::Scaling(float x, float y, float z) {
    std::memset(m, 0, sizeof(m));
    m[0][0] = x;
    m[1][1] = y;
    m[2][2] = z;
    m[3][3] = 1.0f;
}

void CMatrix::RotationEuler(int32_t ax, int32_t ay, int32_t az) {
    float s1 = AngleSin(ax >> 1), c1 = AngleCos(ax >> 1);
    float s2 = AngleSin(ay >> 1), c2 = AngleCos(ay >> 1);
    float s3 = AngleSin(az >> 1), c3 = AngleCos(az >> 1);
    float w = c1 * c2 * c3 + s1 * s2 * s3;
    float x = s1 * c2 * c3 - c1 * s2 * s3;
    float y = c1 * s2 * c3 + s1 * c2 * s3;
    float z = c1 * c2 * s3 - s1 * s2 * c3;
    const float rows[16] = {
        1 - 2 * (y * y + z * z), 2 * (x * y - z * w),     2 * (z * x + y * w),     0,
        2 * (x * y + z * w),     1 - 2 * (x * x + z * z), 2 * (y * z - x * w),     0,
        2 * (z * x - y * w),     2 * (y * z + x * w),     1 - 2 * (x * x + y * y), 0,
        0,                       0,                       0,                       1,
    };
    Set(rows);
}

// Inverse by cofactors: each entry of the adjugate over the determinant.
void CMatrix::Inverse(const CMatrix& source) {
    const float* a = &source.m[0][0];
    float inv[16];
    inv[0] = a[5] * a[10] * a[15] - a[5] * a[11] * a[14] - a[9] * a[6] * a[15] + a[9] * a[7] * a[14] +
             a[13] * a[6] * a[11] - a[13] * a[7] * a[10];
    inv[4] = -a[4] * a[10] * a[15] + a[4] * a[11] * a[14] + a[8] * a[6] * a[15] - a[8] * a[7] * a[14] -
             a[12] * a[6] * a[11] + a[12] * a[7] * a[10];
    inv[8] = a[4] * a[9] * a[15] - a[4] * a[11] * a[13] - a[8] * a[5] * a[15] + a[8] * a[7] * a[13] +
             a[12] * a[5] * a[11] - a[12] * a[7] * a[9];
    inv[12] = -a[4] * a[9] * a[14] + a[4] * a[10] * a[13] + a[8] * a[5] * a[14] - a[8] * a[6] * a[13] -
              a[12] * a[5] * a[10] + a[12] * a[6] * a[9];
    inv[1] = -a[1] * a[10] * a[15] + a[1] * a[11] * a[14] + a[9] * a[2] * a[15] - a[9] * a[3] * a[14] -
             a[13] * a[2] * a[11] + a[13] * a[3] * a[10];
    inv[5] = a[0] * a[10] * a[15] - a[0] * a[11] * a[14] - a[8] * a[2] * a[15] + a[8] * a[3] * a[14] +
             a[12] * a[2] * a[11] - a[12] * a[3] * a[10];
    inv[9] = -a[0] * a[9] * a[15] + a[0] * a[11] * a[13] + a[8] * a[1] * a[15] - a[8] * a[3] * a[13] -
             a[12] * a[1] * a[11] + a[12] * a[3] * a[9];
    inv[13] = a[0] * a[9] * a[14] - a[0] * a[10] * a[13] - a[8] * a[1] * a[14] + a[8] * a[2] * a[13] +
              a[12] * a[1] * a[10] - a[12] * a[2] * a[9];
    inv[2] = a[1] * a[6] * a[15] - a[1] * a[7] * a[14] - a[5] * a[2] * a[15] + a[5] * a[3] * a[14] +
             a[13] * a[2] * a[7] - a[13] * a[3] * a[6];
    inv[6] = -a[0] * a[6] * a[15] + a[0] * a[7] * a[14] + a[4] * a[2] * a[15] - a[4] * a[3] * a[14] -
             a[12] * a[2] * a[7] + a[12] * a[3] * a[6];
    inv[10] = a[0] * a[5] * a[15] - a[0] * a[7] * a[13] - a[4] * a[1] * a[15] + a[4] * a[3] * a[13] +
              a[12] * a[1] * a[7] - a[12] * a[3] * a[5];
    inv[14] = -a[0] * a[5] * a[14] + a[0] * a[6] * a[13] + a[4] * a[1] * a[14] - a[4] * a[2] * a[13] -
              a[12] * a[1] * a[6] + a[12] * a[2] * a[5];
    inv[3] = -a[1] * a[6] * a[11] + a[1] * a[7] * a[10] + a[5] * a[2] * a[11] - a[5] * a[3] * a[10] -
             a[9] * a[2] * a[7] + a[9] * a[3] * a[6];
    inv[7] = a[0] * a[6] * a[11] - a[0] * a[7] * a[10] - a[4] * a[2] * a[11] + a[4] * a[3] * a[10] +
             a[8] * a[2] * a[7] - a[8] * a[3] * a[6];
    inv[11] = -a[0] * a[5] * a[11] + a[0] * a[7] * a[9] + a[4] * a[1] * a[11] - a[4] * a[3] * a[9] -
              a[8] * a[1] * a[7] + a[8] * a[3] * a[5];
    inv[15] = a[0] * a[5] * a[10] - a[0] * a[6] * a[9] - a[4] * a[1] * a[10] + a[4] * a[2] * a[9] +
              a[8] * a[1] * a[6] - a[8] * a[2] * a[5];
    float determinant = a[0] * inv[0] + a[1] * inv[4] + a[2] * inv[8] + a[3] * inv[12];
    if (determinant == 0.0f) return;
    float reciprocal = 1.0f / determinant;
    for (float& value : inv) value *= reciprocal;
    Set(inv);
}

void CMatrix::Inverse() { Inverse(CMatrix(*this)); }

CMatrix CMatrix::operator*(const CMatrix& right) const {
    CMatrix product;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            product.m[row][column] = m[row][0] * right.m[0][column] + m[row][1] * right.m[1][column] +
                                     m[row][2] * right.m[2][column] + m[row][3] * right.m[3][column];
        }
    }
    return product;
}

CMatrix& CMatrix::operator*=(const CMatrix& right) { return *this = *this * right; }

void CMatrix::Decompose(CVector3* translation, CVector3* scale, CMatrix* rotation) const {
    CMatrix turned = *this;
    translation->Set(turned.m[3][0], turned.m[3][1], turned.m[3][2]);
    turned.m[3][0] = turned.m[3][1] = turned.m[3][2] = 0.0f;
    CVector3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    float lengths[3];
    for (int i = 0; i < 3; ++i) {
        axes[i].TransformNormal(turned);
        lengths[i] = axes[i].Length();
    }
    scale->Set(lengths[0], lengths[1], lengths[2]);
    CMatrix unscale;
    unscale.Scaling(1.0f / lengths[0], 1.0f / lengths[1], 1.0f / lengths[2]);
    *rotation = unscale * turned;
}
