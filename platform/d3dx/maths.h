// Quaternion and vector maths of the helper library, in the device's row-vector convention
// (a vector times the matrix; row 3 holds the translation).
#pragma once

#include "platform/gfx/device.h"

namespace platform::d3dx {

using Matrix = gfx::Matrix;
using Vector3 = gfx::Vector3;

struct Quaternion {
    float x, y, z, w;
};

// Interpolates from a to b by t along the shorter arc (b is negated when the two are more
// than half a turn apart); nearly equal quaternions are interpolated linearly.
Quaternion* D3DXQuaternionSlerp(Quaternion* out, const Quaternion* a, const Quaternion* b, float t);
// The unit quaternion of the rotation in the upper 3 x 3 of the matrix.
Quaternion* D3DXQuaternionRotationMatrix(Quaternion* out, const Matrix* m);
// The rotation matrix of a unit quaternion, translation zero.
Matrix* D3DXMatrixRotationQuaternion(Matrix* out, const Quaternion* q);
// The vector divided by its length; the zero vector stays zero.
Vector3* D3DXVec3Normalize(Vector3* out, const Vector3* v);

}  // namespace platform::d3dx
