// The framework's 4 x 4 float matrix in row-major order: row vectors multiply from the left,
// rows 0 to 2 are the transformed axes and row 3 the translation. The storage is 16-byte
// aligned and belongs to the object, so a copy never shares it.
#pragma once

#include <cstdint>

class CVector3;

struct CMatrix {
    alignas(16) float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

    CMatrix() = default;
    explicit CMatrix(const float* sixteen);

    void Identity();
    void Set(const float* sixteen);
    void Scaling(float x, float y, float z);  // diagonal x, y, z, 1
    // Rotation from three binary angles (65536 a turn) through a unit quaternion of the half angles.
    void RotationEuler(int32_t ax, int32_t ay, int32_t az);
    void Inverse(const CMatrix& source);  // a singular source leaves this matrix unchanged
    void Inverse();
    CMatrix operator*(const CMatrix& right) const;  // this x right
    CMatrix& operator*=(const CMatrix& right);
    // Splits into translation (row 3), the lengths of rows 0 to 2, and those rows divided by them.
    void Decompose(CVector3* translation, CVector3* scale, CMatrix* rotation) const;
};
