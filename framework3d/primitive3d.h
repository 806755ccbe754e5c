// 3D primitive batches: vertices queued during a frame, copied into one dynamic vertex buffer
// at its end and drawn with one call, placed in the world by the batch's own transform. The
// base holds the buffer, its system-memory copy and the counters and rebuilds the buffer after
// a lost device; CPrimitive3D is the triangle list the 3D sprite builds on.
#pragma once

#include <cstdint>

#include "framework/graphics/device_object.h"
#include "framework3d/transform3d.h"

// What callers push: position, colour, then four texture coordinate pairs; a batch keeps the
// prefix its vertex type holds.
struct Vertex3D {
    float x, y, z;
    uint32_t colour;
    float uv[4][2];
};
static_assert(sizeof(Vertex3D) == 48);

class CBasePrimitive3D : public CDeviceObject {
public:
    CTransform3D transform;  // its world matrix places the whole batch

    explicit CBasePrimitive3D(CBaseManager* manager) : CDeviceObject(manager) {}
    ~CBasePrimitive3D() override;

    void OnLostDevice() override;   // releases the vertex buffer; the copy stays
    void OnResetDevice() override;  // makes it again and uploads the queue again
    virtual bool Push(const Vertex3D* vertices, uint32_t count) = 0;
    virtual void Begin() = 0;
    virtual void End() = 0;
    virtual void Rendering() = 0;
    // Vertices offered to Push, also those that no longer fitted.
    virtual uint32_t GetVertexCount() const { return requested_; }
    // The queue as it is uploaded: the vertices since Begin, each the type's size.
    const uint8_t* GetQueuedVertices() const { return static_cast<const uint8_t*>(vertices_); }

protected:
    // The buffer and copy for capacity vertices of type 0-4, with the creation log lines.
    bool CreateBatch(uint32_t capacity, uint32_t type);
    // Offers n vertices: counted, then copied when they fit (the lists keep their last slot free).
    bool Queue(const Vertex3D* vertices, uint32_t n, bool keepLastFree);
    void Upload();  // the queue into the buffer
    // Draws count primitives of the type with the transform's world matrix; nothing without
    // a queue or a buffer.
    void Draw(uint32_t primitiveType, uint32_t count);

    uint32_t queued_ = 0;
    uint32_t queuedBytes_ = 0;
    uint32_t requested_ = 0;

private:
    gfx::Result CreateVertexBuffer();

    gfx::VertexBuffer* vertexBuffer_ = nullptr;
    void* vertices_ = nullptr;
    uint32_t vertexType_ = 0;
    uint32_t fvf_ = 0;
    uint32_t bufferBytes_ = 0;
    uint32_t vertexSize_ = 0;
    uint32_t capacity_ = 0;
};

class CPrimitive3D : public CBasePrimitive3D {
public:
    using CBasePrimitive3D::CBasePrimitive3D;
    ~CPrimitive3D() override;
    bool Push(const Vertex3D* triangles, uint32_t triangleCount) override;  // false at the first that does not fit
    void Begin() override;
    void End() override;
    void Rendering() override;
    bool Create(uint32_t capacity, uint32_t type);

protected:
    // For the derived classes, which write their own line instead.
    struct Quiet {};
    CPrimitive3D(CBaseManager* manager, Quiet) : CBasePrimitive3D(manager), quiet_(true) {}

private:
    bool quiet_ = false;
};

// The 3D line and point lists: type-0 vertices, a queue whose last slot stays free and an
// offered count that Begin does not reset.
class CList3D : public CBasePrimitive3D {
public:
    CList3D(CBaseManager* manager, uint32_t verticesPerPrimitive, uint32_t primitiveType)
        : CBasePrimitive3D(manager), perPrimitive_(verticesPerPrimitive), primitiveType_(primitiveType) {}
    bool Push(const Vertex3D* vertices, uint32_t count) override;  // count lines or points
    void Begin() override;
    void End() override;
    void Rendering() override;
    bool Create(uint32_t capacity);

private:
    uint32_t perPrimitive_;
    uint32_t primitiveType_;
};

class CLine3D : public CList3D {
public:
    explicit CLine3D(CBaseManager* manager);
    ~CLine3D() override;
};

class CPoint3D : public CList3D {
public:
    explicit CPoint3D(CBaseManager* manager);
    ~CPoint3D() override;
};
