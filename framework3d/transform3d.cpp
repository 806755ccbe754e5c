#include "framework3d/transform3d.h"

#include "framework/core/angle.h"

namespace {

CMatrix Rows(const CVector3& a, const CVector3& b, const CVector3& c, const CVector3& d, float w) {
    const float m[16] = {a.x, a.y, a.z, 0.0f, b.x, b.y, b.z, 0.0f, c.x, c.y, c.z, 0.0f, d.x, d.y, d.z, w};
    return CMatrix(m);
}

}  // namespace

void CTransform3D::Update() {
    const CVector3 none{0.0f, 0.0f, 0.0f};
    rotation = Rows(right, up, front, none, 1.0f);
    CMatrix scaling;
    scaling.Scaling(scale.x, scale.y, scale.z);
    world = scaling * Rows(right, up, front, position, 1.0f);
    const CVector3 columnX{right.x, up.x, front.x}, columnY{right.y, up.y, front.y}, columnZ{right.z, up.z, front.z};
    inverseRotation = Rows(columnX, columnY, columnZ, none, 1.0f);
    const CVector3 back{-position.Dot(right), -position.Dot(up), -position.Dot(front)};
    worldInverse = Rows(columnX, columnY, columnZ, back, 1.0f);
}

void CTransform3D::RotateYaw(int32_t angle) {
    const float c = AngleCos(angle), s = AngleSin(angle);
    const CVector3 r = right, f = front;
    right.Set(r.x * c - f.x * s, r.y * c - f.y * s, r.z * c - f.z * s);
    front.Set(r.x * s + f.x * c, r.y * s + f.y * c, r.z * s + f.z * c);
}
