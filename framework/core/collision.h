// Geometric helpers: the rectangle overlap test behind every hit in the game, a ray-triangle
// test, bounding volumes, and the small 3D vector the framework's 3D side uses.
#pragma once

#include "framework/core/matrix.h"

class CVector3 {
public:
    float x = 0.0f, y = 0.0f, z = 0.0f;

    CVector3() = default;
    CVector3(float ax, float ay, float az) : x(ax), y(ay), z(az) {}

    void Set(float ax, float ay, float az);
    float Length() const;
    float Dot(const CVector3& v) const;
    void Normalize(const CVector3& v);  // this = v / |v|; callers never pass a zero vector
    void Normalize();
    void Cross(const CVector3& a, const CVector3& b);
    void TransformNormal(const CVector3& v, const CMatrix& m);  // upper 3 x 3 only
    void TransformCoord(const CVector3& v, const CMatrix& m);   // plus row 3, no division by w
    void TransformNormal(const CMatrix& m);
    void TransformCoord(const CMatrix& m);
    void Scale(float sx, float sy, float sz);
    CVector3& operator+=(const CVector3& v);
    void Subtract(const CVector3& v, CVector3& out) const;  // out = this - v
};

// A rectangle is x1, y1, x2, y2 with its corners in any order; edges are inclusive.
bool RectOverlap(const float a[4], const float b[4]);

// Two-sided Moller-Trumbore test of the ray from ray[0] towards ray[1]; t may be negative.
bool RayTriangleHit(const CVector3 ray[2], const CVector3 triangle[3], float* t, float* u, float* v);

// Plane as normal x, y, z and distance d, with n . p + d = 0 on the plane.
struct CPlane {
    float a = 0.0f, b = 0.0f, c = 0.0f, d = 0.0f;
};

// Whether the segment crosses the plane inside the quad (corners in order); the crossing
// point is stored in *point when one is given.
bool SegmentPlaneHit(const CVector3 segment[2], const CVector3 quad[4], const CPlane& plane, CVector3* point);

void PlaneFromPoints(CPlane& out, const CVector3& a, const CVector3& b, const CVector3& c);

// Eight corners and six planes of a box or of a view frustum.
struct CVolume {
    CVector3 corner[8];
    CPlane plane[6];
};

void MakeBoxVolume(CVolume& out, const CVector3& min, const CVector3& max, const CMatrix& m);
// As MakeBoxVolume, with each corner divided by w (a projective transform).
void MakeFrustumVolume(CVolume& out, const CVector3& min, const CVector3& max, const CMatrix& m);
// Whether two volumes overlap: false when some face plane of either has every corner of the
// other outside it (inside is the side of the volume's own centre, whatever its handedness).
bool VolumeTest(const CVolume& a, const CVolume& b);
