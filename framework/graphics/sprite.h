// Sprites: triangle batches with up to four textures and draw operations that turn a shape, a
// depth, source cells in texture pixels and colours into textured triangles. The game draws
// every picture through ZethSprite::DrawRect.
#pragma once

#include <cstdint>

#include "framework/core/matrix.h"
#include "framework/graphics/primitive2d.h"

class CTexture;

class CSprite2D : public CPrimitive2D {
public:
    // A point of DrawTriangle: position, depth, an unused float, colour, texture pixel.
    struct TrianglePoint {
        float x, y, z, unused;
        uint32_t colour;
        float u, v;
    };

    explicit CSprite2D(CBaseManager* manager) : CPrimitive2D(manager) {}
    ~CSprite2D() override;  // releases every texture it holds
    void Rendering() override;  // binds the four stages, then draws the batch

    using CDeviceObject::SetTexture;
    void SetTexture(uint32_t stage, CTexture* texture);  // takes a reference; a replaced one is released
    CTexture* GetTexture(uint32_t stage) const { return stage < 4 ? textures_[stage] : nullptr; }
    // dst {x, y, w, h} in virtual-screen units; src {x, y, w, h} per stage in texture pixels.
    bool DrawRect(const float* dst, float z, const float* src, uint32_t colour, uint32_t stages);
    // Turned by the binary angle about the centre of dst moved by (dx, dy).
    bool DrawRotate(const float* dst, float z, const float* src, uint32_t colour, int32_t angle, uint32_t stages,
                    float dx, float dy);
    bool DrawRotate3D(const float* dst, float z, const float* src, uint32_t colour, int32_t ax, int32_t ay, int32_t az,
                      uint32_t stages);
    // A quad of stage 0's source size centred on the origin, transformed by the matrix.
    bool DrawMatrix(const CMatrix* m, const float* src, uint32_t colour, uint32_t stages);
    bool DrawRing(float cx, float cy, float z, const float* src, float radiusA, float radiusB, uint32_t colourA,
                  uint32_t colourB, int32_t segments, float vScale, uint32_t stages);
    bool DrawRingFrom(float cx, float cy, float z, const float* src, float radiusA, float radiusB, uint32_t colourA,
                      uint32_t colourB, int32_t segments, int32_t start, float vScale, uint32_t stages);
    bool DrawRing3D(float cx, float cy, float z, const float* src, float radiusA, float radiusB, uint32_t colourA,
                    uint32_t colourB, int32_t segments, int32_t ax, int32_t ay, int32_t az, float vScale,
                    uint32_t stages);
    bool DrawTube(float cx, float cy, float z, const float* src, float radius, float height, uint32_t colour,
                  int32_t segments, float vScale, uint32_t stages);
    bool DrawTubeFrom(float cx, float cy, float z, const float* src, float radius, float height, uint32_t colour,
                      int32_t segments, int32_t start, float vScale, uint32_t stages);
    bool DrawTube3D(float cx, float cy, float z, const float* src, float radius, float height, uint32_t colour,
                    int32_t segments, int32_t ax, int32_t ay, int32_t az, float vScale, uint32_t stages);
    bool DrawTriangle(const TrianglePoint& a, const TrianglePoint& b, const TrianglePoint& c, int32_t angle);
    bool DrawTriangle3D(const TrianglePoint& a, const TrianglePoint& b, const TrianglePoint& c, int32_t ax,
                        int32_t ay, int32_t az);
    // A ribbon through count points: at point i the vector (0, halfWidth[i]) turned by angle[i]
    // is added to and taken from the point.
    bool DrawStrip(const float* x, const float* y, const float* z, const float* halfWidth, const uint32_t* angle,
                   const uint32_t* colour, uint32_t count, const float* src);

    // Texture coordinates of the source cells, {left, top, right, bottom} per stage; stages
    // without a texture keep 0. vScale multiplies the top and bottom texture pixels.
    struct Cells {
        float uv[4][4];
    };
    Cells SourceCoordinates(const float* src, uint32_t stages, float vScale = 1.0f) const;
    // Corner k of a quad (0 top left, 1 top right, 2 bottom right, 3 bottom left) at a position.
    static Vertex2D Corner(const Cells& cells, int k, float x, float y, float z, uint32_t colour);

private:
    struct RingShape {
        float radius[2];  // of the first and second row of points
        float depth[2];   // their offsets from the depth, before turning
        uint32_t colour[2];
        bool tube;        // rows run along the depth instead of across the radius
    };
    bool DrawRingShape(float cx, float cy, float z, const float* src, const RingShape& shape, int32_t segments,
                       int32_t start, const CMatrix* turn, float vScale, uint32_t stages);
    bool DrawTurnedTriangle(const TrianglePoint* points, const CMatrix& turn);

    CTexture* textures_[4] = {};
};

class CSprite2DManager : public CObject2DManager {
public:
    using CObject2DManager::CObject2DManager;
    CSprite2D* Create(uint32_t count, uint32_t type, bool sort);
};

namespace ZethSprite {

bool Initialize();  // creates the manager with the device
void Finalize();    // deletes it, releasing one reference of every sprite still listed
void OnLostDevice();
void OnResetDevice();
CSprite2DManager* GetManager();
CSprite2D* Create(uint32_t count, uint32_t type, bool sort);
void SetScaling(bool enable, float centreX, float centreY, float scale);
void SetPerspective(bool enable, float centreX, float centreY, float factor);
// Every operation below ignores a null sprite.
void SetTexture(CSprite2D* sprite, uint32_t stage, CTexture* texture);
void Release(CSprite2D* sprite);
void Begin(CSprite2D* sprite);
void End(CSprite2D* sprite);
void Rendering(CSprite2D* sprite);
bool DrawRect(CSprite2D* sprite, const float* dst, float z, const float* src, uint32_t colour, uint32_t stages);
// Is shown the source cells {x, y, w, h} per stage of every shape any sprite draws from then on,
// before they become texture coordinates (null: nothing is); tests use it to see which cells a
// program draws.
using SourceObserver = void (*)(const CSprite2D* sprite, const float* src, uint32_t stages);
void SetSourceObserver(SourceObserver observer);

}  // namespace ZethSprite
