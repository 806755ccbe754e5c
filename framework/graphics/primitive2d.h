// Batches of pre-transformed 2D triangles: pushed in virtual-screen coordinates with a depth,
// converted to screen pixels, clipped, queued (in push order or into 8191 depth buckets), then
// uploaded to one dynamic vertex buffer by End and drawn by Rendering as one triangle list.
#pragma once

#include <cstdint>

#include "framework/graphics/device_object.h"

// The vertex as pushed, converted and clipped; a vertex buffer holds a prefix of it.
struct Vertex2D {
    float x, y;       // virtual-screen units when pushed, screen pixels after conversion
    float z;          // 0 (near) to 65535 (far) when pushed, 0.0 to 1.0 after conversion
    float rhw;        // pushers set 1.0
    uint32_t diffuse; // ARGB
    float uv[4][2];   // texture coordinates of stages 0 to 3
};
static_assert(sizeof(Vertex2D) == 52);

// A vertex to push: at (x, y) and depth z in the colour, its texture coordinates 0.
inline Vertex2D PushedVertex(float x, float y, float z, uint32_t colour) {
    Vertex2D v{};
    v.x = x;
    v.y = y;
    v.z = z;
    v.rhw = 1.0f;
    v.diffuse = colour;
    return v;
}

class CBasePrimitive2D : public CDeviceObject {
public:
    static constexpr uint32_t kBuckets = 8191;

    explicit CBasePrimitive2D(CBaseManager* manager) : CDeviceObject(manager) {}
    ~CBasePrimitive2D() override;

    void OnLostDevice() override;   // releases the vertex buffer
    void OnResetDevice() override;  // makes it again and uploads the queue again
    virtual bool Push(const Vertex2D* triangles, uint32_t triangleCount) = 0;
    // Pushes a quad (corners 0 top left, 1 top right, 2 bottom right, 3 bottom left) as the
    // triangles (0, 1, 2) and (2, 3, 0).
    virtual bool PushQuad(const Vertex2D corners[4]);
    // An axis-aligned quad of one depth and colour: top left (x0, y0), bottom right (x1, y1),
    // and each stage's texture coordinates {left, top, right, bottom}.
    struct RectQuad {
        float x0, y0, x1, y1, z;
        uint32_t colour;
        float uv[4][4];
    };
    // Corner k of it, as PushQuad takes it.
    static Vertex2D RectCorner(const RectQuad& quad, int k);
    // Pushes it as PushQuad pushes its four corners.
    virtual bool PushRect(const RectQuad& quad);
    virtual void Begin() = 0;
    virtual void End() = 0;
    virtual void Rendering() = 0;
    // Every vertex that came out of clipping since Begin, queued or not.
    virtual uint32_t GetVertexCount() const { return submitted_; }
    virtual void SetClipRect(const CObject2DManager::ClipRect* rect);  // null turns clipping off
    virtual void SetPerspective(bool enable, float centreX, float centreY, float factor);
    virtual void SetScaling(bool enable, float centreX, float centreY, float scale);
    // out = a + (b - a) t for every float; each colour byte likewise, truncated.
    static void LerpVertex(const Vertex2D* a, const Vertex2D* b, Vertex2D* out, float t);

protected:
    struct SortNode {
        uint8_t vertices[3 * sizeof(Vertex2D)];
        SortNode* next;
    };

    // A pushed vertex in screen pixels: perspective and scaling about their centres, the
    // virtual-to-screen factors and the half-pixel shift; depth to 0.0-1.0.
    Vertex2D ConvertVertex(const Vertex2D& in) const;
    // The converted x, y, z and rhw alone, of count vertices.
    struct Position2D {
        float x, y, z, rhw;
    };
    void ConvertPositions(const Vertex2D* in, Position2D* out, uint32_t count) const;
    gfx::Result CreateVertexBuffer();  // the buffer of bufferBytes_ in the default pool
    bool AllocatePool();               // the sort nodes
    bool AllocateHeads();              // the bucket heads
    bool AllocateCopy();               // the system copy of a non-sorting batch
    void FreeBuffers();

    gfx::VertexBuffer* vertexBuffer_ = nullptr;
    SortNode** heads_ = nullptr;
    int32_t lowestKey_ = 0, highestKey_ = -1;  // the buckets in use since Begin (none when high < low)
    void* systemBuffer_ = nullptr;  // the node pool when sorting, else the queued vertices
    uint32_t vertexType_ = 0;
    uint32_t fvf_ = 0;
    uint32_t bufferBytes_ = 0;
    uint32_t vertexSize_ = 0;
    uint32_t capacity_ = 0;
    uint32_t queued_ = 0;
    uint32_t writePosition_ = 0;  // bytes (non-sorting) or nodes (sorting) used
    uint32_t submitted_ = 0;
    bool sorting_ = false;
    bool perspective_ = false;
    bool scaling_ = false;
    bool clipping_ = false;
    float perspectiveX_ = 0, perspectiveY_ = 0, perspectiveFactor_ = 0;
    float scalingX_ = 0, scalingY_ = 0, scale_ = 0;
    float clipLeft_ = 0, clipTop_ = 0, clipRight_ = 0, clipBottom_ = 0;
};

class CPrimitive2D : public CBasePrimitive2D {
public:
    using CBasePrimitive2D::CBasePrimitive2D;
    ~CPrimitive2D() override;

    bool Push(const Vertex2D* triangles, uint32_t triangleCount) override;  // false when the batch was full
    // The same bytes as Push of the two triangles, each corner converted once and written
    // straight into the queue where no clip edge cuts them.
    bool PushQuad(const Vertex2D corners[4]) override;
    // The same bytes as PushQuad of its corners; without depth perspective or sorting, its two
    // columns and two rows are converted once and its vertices written a field at a time.
    bool PushRect(const RectQuad& quad) override;
    void Begin() override;
    void End() override;
    void Rendering() override;
    // A batch for count vertices of type 0-4 (0 to 4 texture coordinate sets).
    bool Create(uint32_t count, uint32_t type, bool sort);
    bool Resize(uint32_t count);  // same vertex size and sorting, new capacity

    // The depth bucket of a converted triangle; -1 when it lies outside 0 to 8190.
    static int32_t SortKey(float z0, float z1, float z2);

protected:
    uint32_t ClipTriangle(Vertex2D* out, const Vertex2D* in);  // vertices written: 0 or 3 per triangle
    uint32_t ClipLeft(const Vertex2D* in, Vertex2D* out, uint32_t n);
    uint32_t ClipTop(const Vertex2D* in, Vertex2D* out, uint32_t n);
    uint32_t ClipRight(const Vertex2D* in, Vertex2D* out, uint32_t n);
    uint32_t ClipBottom(const Vertex2D* in, Vertex2D* out, uint32_t n);
    void ConvertVertices(Vertex2D* out, const Vertex2D* in);  // three vertices to screen pixels

private:
    bool OutsideClip(const Position2D& p) const;  // beyond an edge of the clip rectangle
    // Queues whole triangles: count vertices, at the given converted positions (null: their
    // own); false when the batch is full.
    bool Queue(const Vertex2D* vertices, const Position2D* positions, uint32_t count);
    // Queues one triangle (in its depth bucket when sorting; one out of every bucket is
    // dropped); the caller has made room.
    void QueueTriangle(const Vertex2D* const vertices[3], const Position2D* positions);
    // Logs text (with the result's explanation for a "%s") in red and a line break; false.
    bool LogFailure(const char* text, gfx::Result result = gfx::result::kOk);
};

class CPrimitive2DManager : public CObject2DManager {
public:
    using CObject2DManager::CObject2DManager;
    CPrimitive2D* Create(uint32_t count, uint32_t type, bool sort);
};
