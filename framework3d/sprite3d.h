// The 3D sprite: a textured triangle batch with up to four texture stages whose operations turn
// one textured rectangle, a ring or a band of segments placed by a transform, or a ribbon
// through a list of points, into triangles.
#pragma once

#include <cstdint>

#include "framework3d/primitive3d.h"

class CTexture;

class CSprite3D : public CPrimitive3D {
public:
    explicit CSprite3D(CBaseManager* manager) : CPrimitive3D(manager, Quiet{}) {}
    ~CSprite3D() override;  // releases its textures

    bool Create(uint32_t capacity, uint32_t type);
    void Rendering() override;  // binds the four stages, then draws the batch
    using CDeviceObject::SetTexture;
    void SetTexture(uint32_t stage, CTexture* texture);  // takes a reference; a replaced one is released
    CTexture* GetTexture(uint32_t stage) const { return stage < 4 ? textures_[stage] : nullptr; }

    // src: one {x, y, width, height} in texture pixels per stage. The quad lies in the
    // placement's x-y plane, centred on it, the texture's left edge on +x; (x, y, z) is added
    // after the placement's world matrix.
    bool DrawQuad(const CTransform3D& placement, float x, float y, float z, float width, float height, const float* src,
                  uint32_t colour, uint32_t stages);
    // Segments from straight up around the placement's z axis, turned by its rotation and moved
    // to (x, y, z); scroll moves every source rectangle right by that many texels.
    bool DrawRing(const CTransform3D& placement, float x, float y, float z, const float* src, float innerRadius,
                  float outerRadius, uint32_t innerColour, uint32_t outerColour, int32_t segments, float scroll,
                  uint32_t stages);
    bool DrawBand(const CTransform3D& placement, float x, float y, float z, const float* src, float radius, float width,
                  uint32_t colour, int32_t segments, float scroll, uint32_t stages);
    // Ribbons through count points, stage 0 only: at point i the vector (0, halfWidth[i]) turned
    // by angle[i] is taken from and added to the point, in the x-y plane (A), the y-z plane (B,
    // its x along z) or the x-z plane (C, its y along z).
    bool DrawStripA(const float* x, const float* y, const float* z, const float* halfWidth, const int32_t* angle,
                    const uint32_t* colour, int32_t count, const float* src);
    bool DrawStripB(const float* x, const float* y, const float* z, const float* halfWidth, const int32_t* angle,
                    const uint32_t* colour, int32_t count, const float* src);
    bool DrawStripC(const float* x, const float* y, const float* z, const float* halfWidth, const int32_t* angle,
                    const uint32_t* colour, int32_t count, const float* src);

    // Texture coordinates {left, top, right, bottom} of each stage's source; stages without a
    // texture, and those from the stage count on, keep 0.
    struct Cells {
        float uv[4][4];
    };
    Cells SourceCoordinates(const float* src, uint32_t stages, float scroll = 0.0f) const;

private:
    enum class Plane { kXY, kYZ, kXZ };
    bool DrawStrip(Plane plane, const float* x, const float* y, const float* z, const float* halfWidth,
                   const int32_t* angle, const uint32_t* colour, int32_t count, const float* src);
    // Corner k of a quad: texture coordinates as the quad's (0 left top, 1 right top, 2 right
    // bottom, 3 left bottom, or the band's order), pushed as (0, 1, 2) and (2, 3, 0).
    bool PushQuad(Vertex3D corners[4], const Cells& cells, const int (&order)[4][2]);

    CTexture* textures_[4] = {};
};
