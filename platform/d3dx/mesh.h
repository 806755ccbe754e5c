// Meshes in system memory: vertices in a flexible vertex format, 16-bit triangle indices and one
// attribute (material number) per face; cloning into another format, adjacency, attribute
// sorting; normals and bounds; the byte buffers and material records the loaders hand out.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gfx/device.h"

namespace platform::d3dx {

using gfx::Result;

// Mesh creation options.
namespace meshopt {
constexpr uint32_t k32Bit = 0x001;  // 32-bit indices: refused, meshes here have 16-bit indices
constexpr uint32_t kSystemMem = 0x110;
constexpr uint32_t kManaged = 0x220;
}  // namespace meshopt

// OptimizeInplace flags.
namespace optimize {
constexpr uint32_t kCompact = 0x01000000;
constexpr uint32_t kAttrSort = 0x02000000;
constexpr uint32_t kVertexCache = 0x04000000;
constexpr uint32_t kStripReorder = 0x08000000;
constexpr uint32_t kIgnoreVerts = 0x10000000;
}  // namespace optimize

// Vertex-format bits beyond those the device draws: blend weights and packed blend indices.
namespace fvfx {
constexpr uint32_t kXyzB1 = 0x006;
constexpr uint32_t kXyzB2 = 0x008;
constexpr uint32_t kXyzB3 = 0x00A;
constexpr uint32_t kXyzB4 = 0x00C;
constexpr uint32_t kXyzB5 = 0x00E;
constexpr uint32_t kLastBetaUbyte4 = 0x1000;
constexpr uint32_t kLastBetaColor = 0x8000;
}  // namespace fvfx

constexpr uint32_t kMaxVertices = 65535;  // 16-bit indices
constexpr uint32_t kNoFace = 0xFFFFFFFF;  // adjacency entry of an open edge

// Where each element of a vertex format lies (-1: absent) and the vertex size.
struct VertexLayout {
    uint32_t size = 0;
    int32_t position = -1;
    int32_t weights = -1;
    uint32_t weightCount = 0;  // floats
    int32_t indices = -1;      // four bytes of blend indices
    int32_t normal = -1;
    int32_t pointSize = -1;
    int32_t diffuse = -1;
    int32_t specular = -1;
    uint32_t texCount = 0;
    int32_t tex[8] = {};
    uint32_t texFloats[8] = {};
};
// The layout of an FVF with an untransformed position; size 0 for formats meshes do not take.
VertexLayout LayoutOfFvf(uint32_t fvf);

struct AttributeRange {  // 20 bytes, as the attribute table hands them out
    uint32_t attribId;
    uint32_t faceStart;
    uint32_t faceCount;
    uint32_t vertexStart;
    uint32_t vertexCount;
};

// A block of bytes handed out by the loaders (adjacency, materials, effect records, combinations).
class Buffer : public gfx::RefCounted {
public:
    explicit Buffer(size_t size) : bytes_(size) {}
    void* GetBufferPointer() { return bytes_.empty() ? nullptr : bytes_.data(); }
    size_t GetBufferSize() const { return bytes_.size(); }

private:
    std::vector<uint8_t> bytes_;
};

// A material as a file gives it: the device material and the texture file name (null for none).
struct XMaterial {
    gfx::Material material;
    char* textureFilename;
};

struct EffectDefault {
    char* parameterName;
    uint32_t type;
    uint32_t bytes;
    void* value;
};

// The effect a material asks for; files read here name none.
struct EffectInstance {
    char* effectFilename;
    uint32_t numDefaults;
    EffectDefault* defaults;
};

class Mesh : public gfx::RefCounted {
public:
    // An empty mesh (zeroed vertices, indices and attributes); kInvalidArg for an FVF without
    // an untransformed position, 32-bit indices, no faces, or more than kMaxVertices vertices.
    static Result Create(uint32_t faces, uint32_t vertices, uint32_t options, uint32_t fvf, gfx::Device* device,
                         Mesh** mesh);

    uint32_t GetFVF() const { return fvf_; }
    uint32_t GetOptions() const { return options_; }
    uint32_t GetNumFaces() const { return faces_; }
    uint32_t GetNumVertices() const { return vertices_; }
    uint32_t GetNumBytesPerVertex() const { return layout_.size; }
    Result GetDevice(gfx::Device** device);  // with a reference; kInvalidCall without device

    // Locks give the whole array; a second lock of the same array fails until it is unlocked.
    Result LockVertexBuffer(uint32_t flags, void** data);
    Result UnlockVertexBuffer();
    Result LockIndexBuffer(uint32_t flags, void** data);  // faces x 3 uint16_t
    Result UnlockIndexBuffer();
    Result LockAttributeBuffer(uint32_t flags, uint32_t** data);  // one per face
    Result UnlockAttributeBuffer();

    // A new mesh in another format: every element both formats hold is copied (blend weights
    // as far as both have them), the others are zero; indices, attributes and table are kept.
    Result CloneMeshFVF(uint32_t options, uint32_t fvf, gfx::Device* device, Mesh** clone);
    // Three entries a face: the face across each edge, or kNoFace. Vertices closer than epsilon
    // on every axis count as one point, so split vertices still join their faces.
    Result GenerateAdjacency(float epsilon, uint32_t* adjacency);
    // Sorts faces stably by attribute and builds the attribute table (every optimisation level
    // does; the vertex cache order is the sorted order). adjacencyIn and adjacencyOut (3 a face)
    // and faceRemap (new face -> old face) may be null; vertexRemap gets the identity.
    Result OptimizeInplace(uint32_t flags, const uint32_t* adjacencyIn, uint32_t* adjacencyOut, uint32_t* faceRemap,
                           Buffer** vertexRemap);
    // With a null table, only the entry count; else fills count entries.
    Result GetAttributeTable(AttributeRange* table, uint32_t* count) const;
    // Replaces the attribute table (used by the skin conversion).
    void SetAttributeTable(std::vector<AttributeRange> table) { attributeTable_ = std::move(table); }

    bool IndicesInRange() const;  // every index names a vertex of the mesh
    const VertexLayout& Layout() const { return layout_; }
    uint8_t* VertexBytes() { return vertexBytes_.data(); }
    uint16_t* Indices() { return indices_.data(); }
    uint32_t* Attributes() { return attributes_.data(); }

private:
    Mesh() = default;
    ~Mesh() override;

    uint32_t faces_ = 0;
    uint32_t vertices_ = 0;
    uint32_t options_ = 0;
    uint32_t fvf_ = 0;
    VertexLayout layout_;
    gfx::Device* device_ = nullptr;
    std::vector<uint8_t> vertexBytes_;
    std::vector<uint16_t> indices_;
    std::vector<uint32_t> attributes_;
    std::vector<AttributeRange> attributeTable_;
    bool vertexLocked_ = false;
    bool indexLocked_ = false;
    bool attributeLocked_ = false;
};

// Angle-weighted vertex normals: each triangle adds its unit normal, weighted by its angle at
// the corner over pi, to its three vertices; the sums are normalised. The mesh needs normals in
// its format; adjacency is not needed and may be null.
Result ComputeNormals(Mesh* mesh, const uint32_t* adjacency);
// The smallest box around count positions, stride bytes apart.
Result ComputeBoundingBox(const gfx::Vector3* first, uint32_t count, uint32_t stride, gfx::Vector3* min,
                          gfx::Vector3* max);
// A sphere around count positions: the centre is their mean, the radius the farthest distance.
Result ComputeBoundingSphere(const gfx::Vector3* first, uint32_t count, uint32_t stride, gfx::Vector3* centre,
                             float* radius);

}  // namespace platform::d3dx
