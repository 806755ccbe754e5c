// The pose of a 3D object: three axis vectors, a position and a scale, and the four matrices
// derived from them.
#pragma once

#include <cstdint>

#include "framework/core/collision.h"
#include "framework/core/matrix.h"

class CTransform3D {
public:
    CMatrix rotation;         // the axes as rows, no translation
    CMatrix inverseRotation;  // the transpose of rotation
    CMatrix world;            // scale, then rotation, then translation
    CMatrix worldInverse;     // the inverse of rotation plus translation (scale left out)
    CVector3 up{0.0f, 1.0f, 0.0f};
    CVector3 right{1.0f, 0.0f, 0.0f};
    CVector3 front{0.0f, 0.0f, 1.0f};
    CVector3 position{0.0f, 0.0f, 0.0f};
    CVector3 scale{1.0f, 1.0f, 1.0f};

    CTransform3D() = default;
    CTransform3D(const CTransform3D& other) = default;
    CTransform3D& operator=(const CTransform3D& other) = default;
    void CopyTo(CTransform3D& destination) const { destination = *this; }
    void Reset() { *this = CTransform3D(); }  // identity matrices, initial vectors
    void Update();                            // recomputes the four matrices from the vectors
    void RotateYaw(int32_t angle);            // turns right and front about up by a binary angle
    void SetPosition(float x, float y, float z) { position.Set(x, y, z); }
};
