// Frame hierarchies: the frame and mesh-container records, the allocation callbacks a caller
// supplies, the loader that drives them over an X file's frames and meshes, and their release.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/d3dx/mesh_load.h"

namespace platform::d3dx {

namespace meshtype {
constexpr uint32_t kMesh = 1;
constexpr uint32_t kProgressiveMesh = 2;
constexpr uint32_t kPatchMesh = 3;
}  // namespace meshtype

struct MeshData {
    uint32_t type;  // meshtype::
    Mesh* mesh;
};

struct MeshContainer {
    char* name;
    MeshData meshData;
    XMaterial* materials;
    EffectInstance* effects;
    uint32_t numMaterials;
    uint32_t* adjacency;
    SkinInfo* skinInfo;
    MeshContainer* nextMeshContainer;
};

struct Frame {
    char* name;
    gfx::Matrix transformationMatrix;
    MeshContainer* meshContainer;
    Frame* frameSibling;
    Frame* frameFirstChild;
};

// The caller's allocation of frames and mesh containers. CreateMeshContainer receives what the
// loader read (it takes its own references to keep any of it).
class AllocateHierarchy {
public:
    virtual Result CreateFrame(const char* name, Frame** newFrame) = 0;
    virtual Result CreateMeshContainer(const char* name, const MeshData* meshData, const XMaterial* materials,
                                       const EffectInstance* effectInstances, uint32_t numMaterials,
                                       const uint32_t* adjacency, SkinInfo* skinInfo,
                                       MeshContainer** newMeshContainer) = 0;
    virtual Result DestroyFrame(Frame* frame) = 0;
    virtual Result DestroyMeshContainer(MeshContainer* container) = 0;

protected:
    ~AllocateHierarchy() = default;
};

// Reads an X file from memory (the standard and skinning templates registered) and builds its
// frames and meshes through alloc: each frame with its transform, child frames and meshes (in
// file order, meshes chained on their frame); top-level frames are siblings of the first, and a
// top-level mesh gets an unnamed frame of its own. Animation sets are not read. On any failure
// everything built so far is destroyed through alloc and the error returned.
Result LoadMeshHierarchyFromMemory(const void* data, size_t size, uint32_t options, gfx::Device* device,
                                   AllocateHierarchy* alloc, Frame** root);

// Destroys a frame, its siblings and children, and their mesh containers through alloc.
Result FrameDestroy(Frame* frame, AllocateHierarchy* alloc);

}  // namespace platform::d3dx
