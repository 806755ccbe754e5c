#include "framework3d/sprite3d.h"

#include "framework/app/log.h"
#include "framework/core/angle.h"
#include "framework/core/collision.h"
#include "framework/graphics/texture.h"

namespace {

// (u column, v row) of quad corners 0-3: 0 = left or top, 1 = right or bottom.
constexpr int kQuadOrder[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
constexpr int kBandOrder[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
constexpr int32_t kStraightUp = -16384;
// Which component of a strip's turned offset (0 its x, 1 its y, -1 none) moves x, y and z, for
// the x-y, y-z and x-z planes.
constexpr int kStripAxes[3][3] = {{0, 1, -1}, {-1, 1, 0}, {0, -1, 1}};

Vertex3D At(const CVector3& p, uint32_t colour) {
    Vertex3D v{};
    v.x = p.x;
    v.y = p.y;
    v.z = p.z;
    v.colour = colour;
    return v;
}

}  // namespace

CSprite3D::~CSprite3D() {
    ZethLog::PrintError("CSprite3D Destruct");
    ZethLog::PrintBreak();
    for (CTexture*& texture : textures_) {
        ZethTexture::Release(texture);
        texture = nullptr;
    }
}

bool CSprite3D::Create(uint32_t capacity, uint32_t type) {
    ZethLog::Print(" : ");
    if (!CPrimitive3D::Create(capacity, type)) return false;
    ZethLog::Print(" : ");
    return true;
}

void CSprite3D::Rendering() {
    if (queued_ == 0) return;
    for (uint32_t stage = 0; stage < 4; ++stage) CDeviceObject::SetTexture(stage, textures_[stage]);
    CPrimitive3D::Rendering();
}

void CSprite3D::SetTexture(uint32_t stage, CTexture* texture) {
    if (stage >= 4) return;
    ZethTexture::AddRef(texture);
    ZethTexture::Release(textures_[stage]);
    textures_[stage] = texture;
}

CSprite3D::Cells CSprite3D::SourceCoordinates(const float* src, uint32_t stages, float scroll) const {
    Cells cells{};
    const float inset = ZethTexture::GetTexelOffset();
    for (uint32_t s = 0; s < stages && s < 4; ++s) {
        const CTexture* texture = textures_[s];
        if (texture == nullptr) continue;
        const float* cell = src + 4 * s;
        const float left = cell[0] + scroll;
        cells.uv[s][0] = texture->PixelToTexelU(inset + left);
        cells.uv[s][1] = texture->PixelToTexelV(inset + cell[1]);
        cells.uv[s][2] = texture->PixelToTexelU(left + cell[2] - inset);
        cells.uv[s][3] = texture->PixelToTexelV(cell[1] + cell[3] - inset);
    }
    return cells;
}

bool CSprite3D::PushQuad(Vertex3D corners[4], const Cells& cells, const int (&order)[4][2]) {
    for (int k = 0; k < 4; ++k) {
        for (int s = 0; s < 4; ++s) {
            corners[k].uv[s][0] = cells.uv[s][order[k][0] == 0 ? 0 : 2];
            corners[k].uv[s][1] = cells.uv[s][order[k][1] == 0 ? 1 : 3];
        }
    }
    const Vertex3D triangles[6] = {corners[0], corners[1], corners[2], corners[2], corners[3], corners[0]};
    return Push(triangles, 2);
}

bool CSprite3D::DrawQuad(const CTransform3D& placement, float x, float y, float z, float width, float height,
                         const float* src, uint32_t colour, uint32_t stages) {
    const float hw = width * 0.5f, hh = height * 0.5f;
    const float offsets[4][2] = {{hw, hh}, {-hw, hh}, {-hw, -hh}, {hw, -hh}};
    Vertex3D corners[4];
    for (int k = 0; k < 4; ++k) {
        CVector3 p(offsets[k][0], offsets[k][1], 0.0f);
        p.TransformCoord(placement.world);
        corners[k] = At(CVector3(p.x + x, p.y + y, p.z + z), colour);
    }
    return PushQuad(corners, SourceCoordinates(src, stages), kQuadOrder);
}

bool CSprite3D::DrawRing(const CTransform3D& placement, float x, float y, float z, const float* src, float innerRadius,
                         float outerRadius, uint32_t innerColour, uint32_t outerColour, int32_t segments, float scroll,
                         uint32_t stages) {
    if (segments < 1) return false;
    const Cells cells = SourceCoordinates(src, stages, scroll);
    bool pushed = true;
    for (int32_t i = 0; i < segments; ++i) {
        const int32_t a0 = i * 65536 / segments + kStraightUp, a1 = (i + 1) * 65536 / segments + kStraightUp;
        // Around the quad: outer at a0 and a1, then inner back from a1 to a0.
        const struct {
            int32_t angle;
            float radius;
            uint32_t colour;
        } points[4] = {{a0, outerRadius, outerColour}, {a1, outerRadius, outerColour}, {a1, innerRadius, innerColour},
                       {a0, innerRadius, innerColour}};
        Vertex3D corners[4];
        for (int k = 0; k < 4; ++k) {
            CVector3 p(AngleCos(points[k].angle) * points[k].radius, AngleSin(points[k].angle) * points[k].radius, 0.0f);
            p.TransformNormal(placement.world);
            corners[k] = At(CVector3(p.x + x, p.y + y, p.z + z), points[k].colour);
        }
        pushed = PushQuad(corners, cells, kQuadOrder) && pushed;
    }
    return pushed;
}

bool CSprite3D::DrawBand(const CTransform3D& placement, float x, float y, float z, const float* src, float radius,
                         float width, uint32_t colour, int32_t segments, float scroll, uint32_t stages) {
    if (segments < 1) return false;
    const Cells cells = SourceCoordinates(src, stages, scroll);
    bool pushed = true;
    for (int32_t i = 0; i < segments; ++i) {
        const int32_t a0 = i * 65536 / segments + kStraightUp, a1 = (i + 1) * 65536 / segments + kStraightUp;
        const int32_t angles[4] = {a0, a0, a1, a1};
        const float depths[4] = {-width * 0.5f, width * 0.5f, width * 0.5f, -width * 0.5f};
        Vertex3D corners[4];
        for (int k = 0; k < 4; ++k) {
            CVector3 p(AngleCos(angles[k]) * radius, AngleSin(angles[k]) * radius, depths[k]);
            p.TransformNormal(placement.world);
            corners[k] = At(CVector3(p.x + x, p.y + y, p.z + z), colour);
        }
        pushed = PushQuad(corners, cells, kBandOrder) && pushed;
    }
    return pushed;
}

bool CSprite3D::DrawStrip(Plane plane, const float* x, const float* y, const float* z, const float* halfWidth,
                          const int32_t* angle, const uint32_t* colour, int32_t count, const float* src) {
    if (count < 2) return false;
    const Cells cells = SourceCoordinates(src, 1);
    const float* uv = cells.uv[0];
    // The edge point of point i on the side sign (-1 or +1).
    auto edge = [&](int32_t i, float sign) {
        float o[2] = {0.0f, halfWidth[i]};
        RotateByAngle(o, angle[i]);
        o[0] *= sign;
        o[1] *= sign;
        const int (&axes)[3] = kStripAxes[static_cast<int>(plane)];
        auto along = [&](int axis) { return axes[axis] < 0 ? 0.0f : o[axes[axis]]; };
        Vertex3D v{};
        v.x = x[i] + along(0);
        v.y = y[i] + along(1);
        v.z = z[i] + along(2);
        v.colour = colour[i];
        v.uv[0][0] = sign < 0.0f ? uv[0] : uv[2];
        v.uv[0][1] = uv[1] + static_cast<float>(i) * (uv[3] - uv[1]) / static_cast<float>(count - 1);
        return v;
    };
    bool pushed = true;
    for (int32_t i = 0; i + 1 < count; ++i) {
        const Vertex3D p0 = edge(i, -1.0f), p1 = edge(i, 1.0f), p2 = edge(i + 1, -1.0f), p3 = edge(i + 1, 1.0f);
        const Vertex3D triangles[6] = {p0, p1, p2, p2, p3, p1};
        pushed = Push(triangles, 2) && pushed;
    }
    return pushed;
}

bool CSprite3D::DrawStripA(const float* x, const float* y, const float* z, const float* halfWidth,
                           const int32_t* angle, const uint32_t* colour, int32_t count, const float* src) {
    return DrawStrip(Plane::kXY, x, y, z, halfWidth, angle, colour, count, src);
}

bool CSprite3D::DrawStripB(const float* x, const float* y, const float* z, const float* halfWidth,
                           const int32_t* angle, const uint32_t* colour, int32_t count, const float* src) {
    return DrawStrip(Plane::kYZ, x, y, z, halfWidth, angle, colour, count, src);
}

bool CSprite3D::DrawStripC(const float* x, const float* y, const float* z, const float* halfWidth,
                           const int32_t* angle, const uint32_t* colour, int32_t count, const float* src) {
    return DrawStrip(Plane::kXZ, x, y, z, halfWidth, angle, colour, count, src);
}
