// The geometry of one model mesh, held twice: a system-memory copy that the loader fills and
// that survives a lost device, and the device buffer built from it. Vertices are kept as full
// 76-byte vertices; the device buffer holds only the fields of the buffer's vertex type, and the
// vertex buffer owns the declaration of that type.
#pragma once

#include <cstdint>

#include "framework/graphics/object_base.h"
#include "platform/gfx/device.h"

// The system copy's vertex: every field any vertex type can carry.
struct FullVertex {
    float position[3];
    float normal[3];
    float position2[3];  // morph target
    float normal2[3];
    float weights[3];    // blend weights
    uint32_t indices;    // four blend-index bytes, stored as a colour
    uint32_t color;      // ARGB
    float uv[2];
};
static_assert(sizeof(FullVertex) == 76);

constexpr uint32_t kVertexTypeCount = 8;
// The size of a device vertex of a type (0 for a type above 7).
uint32_t VertexTypeSize(uint32_t vertexType);

class CIndexBuffer : public CBaseObject {
public:
    explicit CIndexBuffer(uint32_t count);  // count zeroed 16-bit indices
    ~CIndexBuffer() override;

    virtual void OnLostDevice();   // releases the device buffer
    virtual void OnResetDevice();  // builds it again with the saved shader version
    // Builds the device buffer from the system copy (system memory when the shader version needs
    // software vertex processing, else the default pool); false, logged, on failure.
    virtual bool Create(uint16_t shaderVersionMajor, uint16_t shaderVersionMinor);
    virtual uint16_t* GetBuffer() { return indices_; }
    virtual uint32_t GetCount() { return count_; }
    virtual void SetDevice();  // binds the buffer's indices for drawing

    platform::gfx::IndexBuffer* GetDeviceBuffer() const { return buffer_; }

private:
    uint32_t count_;
    uint16_t* indices_;
    platform::gfx::IndexBuffer* buffer_ = nullptr;
    uint16_t shaderVersionMajor_ = 0;
    uint16_t shaderVersionMinor_ = 0;
};

class CVertexBuffer : public CBaseObject {
public:
    explicit CVertexBuffer(uint32_t count);  // count zeroed full vertices
    ~CVertexBuffer() override;

    virtual void OnLostDevice();   // releases the device buffer and the declaration
    virtual void OnResetDevice();  // builds them again with the saved version and type
    // Builds the device buffer of vertex type 0-7 from the system copy, and its declaration:
    // software vertex processing puts it in system memory, else it is dynamic in the default
    // pool. False, logged, on failure (a type above 7 included).
    virtual bool Create(uint16_t shaderVersionMajor, uint16_t shaderVersionMinor, uint32_t vertexType);
    virtual FullVertex* GetBuffer() { return vertices_; }
    virtual uint32_t GetCount() { return count_; }
    virtual void SetDevice();  // binds the declaration and the buffer as stream 0

    platform::gfx::VertexBuffer* GetDeviceBuffer() const { return buffer_; }
    platform::gfx::VertexDeclaration* GetDeclaration() const { return declaration_; }
    uint32_t GetVertexType() const { return vertexType_; }

private:
    void ReleaseDeviceObjects();

    uint32_t count_;
    FullVertex* vertices_;
    platform::gfx::VertexBuffer* buffer_ = nullptr;
    platform::gfx::VertexDeclaration* declaration_ = nullptr;
    uint32_t vertexType_ = 0;
    uint16_t shaderVersionMajor_ = 0;
    uint16_t shaderVersionMinor_ = 0;
};
