#include "framework/core/collision.h"

#include <cmath>
#include <utility>

void CVector3::Set(float ax, float ay, float az) {
    x = ax;
    y = ay;
    z = az;
}

float CVector3::Length() const { return std::sqrt(x * x + y * y + z * z); }

float CVector3::Dot(const CVector3& v) const { return x * v.x + y * v.y + z * v.z; }

void CVector3::Normalize(const CVector3& v) {
    float inverse = 1.0f / v.Length();
    Set(v.x * inverse, v.y * inverse, v.z * inverse);
}

void CVector3::Normalize() { Normalize(CVector3(*this)); }

void CVector3::Cross(const CVector3& a, const CVector3& b) {
    Set(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

void CVector3::TransformNormal(const CVector3& v, const CMatrix& m) {
    Set(v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0],
        v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1],
        v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2]);
}

void CVector3::TransformCoord(const CVector3& v, const CMatrix& m) {
    TransformNormal(v, m);
    x += m.m[3][0];
    y += m.m[3][1];
    z += m.m[3][2];
}

void CVector3::TransformNormal(const CMatrix& m) { TransformNormal(CVector3(*this), m); }
void CVector3::TransformCoord(const CMatrix& m) { TransformCoord(CVector3(*this), m); }

void CVector3::Scale(float sx, float sy, float sz) {
    x *= sx;
    y *= sy;
    z *= sz;
}

CVector3& CVector3::operator+=(const CVector3& v) {
    x += v.x;
    y += v.y;
    z += v.z;
    return *this;
}

void CVector3::Subtract(const CVector3& v, CVector3& out) const { out.Set(x - v.x, y - v.y, z - v.z); }

namespace {

CVector3 Minus(const CVector3& a, const CVector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

CVector3 CrossOf(const CVector3& a, const CVector3& b) {
    CVector3 out;
    out.Cross(a, b);
    return out;
}

}  // namespace

bool RectOverlap(const float a[4], const float b[4]) {
    float ax1 = a[0], ay1 = a[1], ax2 = a[2], ay2 = a[3];
    float bx1 = b[0], by1 = b[1], bx2 = b[2], by2 = b[3];
    if (ax1 > ax2) std::swap(ax1, ax2);
    if (ay1 > ay2) std::swap(ay1, ay2);
    if (bx1 > bx2) std::swap(bx1, bx2);
    if (by1 > by2) std::swap(by1, by2);
    return ax1 <= bx2 && ax2 >= bx1 && ay1 <= by2 && ay2 >= by1;
}

bool RayTriangleHit(const CVector3 ray[2], const CVector3 triangle[3], float* t, float* u, float* v) {
    CVector3 direction;
    direction.Normalize(Minus(ray[1], ray[0]));
    const CVector3& origin = ray[0];
    CVector3 e1 = Minus(triangle[1], triangle[0]);
    CVector3 e2 = Minus(triangle[2], triangle[0]);
    CVector3 p = CrossOf(direction, e2);
    float det = e1.Dot(p);
    CVector3 s;
    if (det > 0.0f) {
        s = Minus(origin, triangle[0]);
    } else {
        s = Minus(triangle[0], origin);
        det = -det;
    }
    if (det < 0.0001f) return false;
    float uu = s.Dot(p);
    if (uu < 0.0f || uu > det) return false;
    CVector3 q = CrossOf(s, e1);
    float w = direction.Dot(q);
    if (w < 0.0f || uu + w > det) return false;
    *t = e2.Dot(q) / det;
    *u = uu / det;
    *v = w / det;
    return true;
}

bool SegmentPlaneHit(const CVector3 segment[2], const CVector3 quad[4], const CPlane& plane, CVector3* point) {
    float d0 = plane.a * segment[0].x + plane.b * segment[0].y + plane.c * segment[0].z + plane.d;
    float d1 = plane.a * segment[1].x + plane.b * segment[1].y + plane.c * segment[1].z + plane.d;
    if (d0 * d1 > 0.0f) return false;
    if (d0 == d1) return false;  // the segment lies in the plane: no single crossing
    float f = d0 / (d0 - d1);
    CVector3 hit(segment[0].x + (segment[1].x - segment[0].x) * f, segment[0].y + (segment[1].y - segment[0].y) * f,
                 segment[0].z + (segment[1].z - segment[0].z) * f);
    if (point != nullptr) *point = hit;

    // Project onto the plane of the two axes the normal leans on least.
    float aa = std::fabs(plane.a), ab = std::fabs(plane.b), ac = std::fabs(plane.c);
    auto project = [&](const CVector3& p, float& u, float& w) {
        if (aa > ab && aa > ac) { u = p.y; w = p.z; }
        else if (ab > aa && ab > ac) { u = p.x; w = p.z; }
        else { u = p.x; w = p.y; }
    };
    float pu, pw;
    project(hit, pu, pw);
    int positive = 0, negative = 0;
    for (int i = 0; i < 4; ++i) {
        float u0, w0, u1, w1;
        project(quad[i], u0, w0);
        project(quad[(i + 1) % 4], u1, w1);
        float cross = (u1 - u0) * (pw - w0) - (w1 - w0) * (pu - u0);
        if (cross > 0.0f) ++positive;
        else if (cross < 0.0f) ++negative;
    }
    // A point on an edge (cross of zero) counts as inside.
    return positive == 0 || negative == 0;
}

void PlaneFromPoints(CPlane& out, const CVector3& a, const CVector3& b, const CVector3& c) {
    CVector3 n;
    n.Normalize(CrossOf(Minus(a, b), Minus(a, c)));
    out.a = n.x;
    out.b = n.y;
    out.c = n.z;
    out.d = -n.Dot(a);
}

namespace {

void BoxCorners(CVector3 corner[8], const CVector3& min, const CVector3& max) {
    for (int i = 0; i < 8; ++i) {
        corner[i].Set((i & 1) ? max.x : min.x, (i & 2) ? max.y : min.y, (i & 4) ? max.z : min.z);
    }
}

void VolumePlanes(CVolume& out) {
    const CVector3* c = out.corner;
    PlaneFromPoints(out.plane[0], c[0], c[1], c[2]);
    PlaneFromPoints(out.plane[1], c[6], c[7], c[5]);
    PlaneFromPoints(out.plane[2], c[2], c[6], c[4]);
    PlaneFromPoints(out.plane[3], c[7], c[3], c[5]);
    PlaneFromPoints(out.plane[4], c[2], c[3], c[6]);
    PlaneFromPoints(out.plane[5], c[1], c[0], c[4]);
}

}  // namespace

void MakeBoxVolume(CVolume& out, const CVector3& min, const CVector3& max, const CMatrix& m) {
    BoxCorners(out.corner, min, max);
    for (CVector3& corner : out.corner) corner.TransformCoord(m);
    VolumePlanes(out);
}

void MakeFrustumVolume(CVolume& out, const CVector3& min, const CVector3& max, const CMatrix& m) {
    BoxCorners(out.corner, min, max);
    for (CVector3& corner : out.corner) {
        CVector3 p = corner;
        corner.TransformCoord(p, m);
        float w = p.x * m.m[0][3] + p.y * m.m[1][3] + p.z * m.m[2][3] + m.m[3][3];
        if (w != 0.0f) corner.Scale(1.0f / w, 1.0f / w, 1.0f / w);
    }
    VolumePlanes(out);
}

namespace {

float PlaneDistance(const CPlane& plane, const CVector3& p) { return plane.a * p.x + plane.b * p.y + plane.c * p.z + plane.d; }

// True when a plane of `volume` has all of `other`'s corners outside.
bool Separates(const CVolume& volume, const CVolume& other) {
    CVector3 centre;
    for (const CVector3& corner : volume.corner) centre += corner;
    centre.Scale(0.125f, 0.125f, 0.125f);
    for (const CPlane& plane : volume.plane) {
        const float inside = PlaneDistance(plane, centre) < 0.0f ? -1.0f : 1.0f;
        bool allOutside = true;
        for (const CVector3& corner : other.corner) allOutside = allOutside && PlaneDistance(plane, corner) * inside < 0.0f;
        if (allOutside) return true;
    }
    return false;
}

}  // namespace

bool VolumeTest(const CVolume& a, const CVolume& b) { return !Separates(a, b) && !Separates(b, a); }
