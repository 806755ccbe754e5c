// The allocator of model frame hierarchies: frames with a combined matrix, and mesh containers
// that always have normals, at least one material (ambient a quarter of the diffuse), their
// textures loaded through the framework, skinning tables and bounds. Every mesh is logged.
#pragma once

#include <cstdint>

#include "platform/d3dx/mesh_hierarchy.h"

class CTexture;

namespace d3dx = platform::d3dx;

class CAllocateHierarchy : public d3dx::AllocateHierarchy {
public:
    struct Frame : d3dx::Frame {
        platform::gfx::Matrix combinedMatrix;  // filled by the model; zero at creation
    };

    struct MeshContainer : d3dx::MeshContainer {
        d3dx::Mesh* sourceMesh;  // the mesh before the skinning clone (skinned meshes only)
        d3dx::AttributeRange* attributeTable;
        uint32_t attributeCount;
        platform::gfx::Matrix** boneMatrixPointers;  // one a bone, filled by the model
        platform::gfx::Matrix* boneMatrices;         // one a bone, filled by the model
        platform::gfx::Matrix* boneOffsetMatrices;   // one a bone, from the skin information
        uint32_t boneCount;
        CTexture** textures;  // one a material; null where the material names none
        float boundingSphereRadius;
        float boundingSphereCenter[3];
        float boundingBoxMin[3];
        float boundingBoxMax[3];
        uint32_t vertexCount;
        uint32_t faceCount;
    };

    // Textures are loaded with this format index and colour key (ARGB, 0 for none).
    explicit CAllocateHierarchy(uint32_t textureFormat = 0, uint32_t textureColorKey = 0)
        : textureFormat(textureFormat), textureColorKey(textureColorKey) {}
    virtual ~CAllocateHierarchy() = default;

    platform::gfx::Result CreateFrame(const char* name, d3dx::Frame** newFrame) override;
    platform::gfx::Result CreateMeshContainer(const char* name, const d3dx::MeshData* meshData,
                                              const d3dx::XMaterial* materials,
                                              const d3dx::EffectInstance* effectInstances, uint32_t numMaterials,
                                              const uint32_t* adjacency, d3dx::SkinInfo* skinInfo,
                                              d3dx::MeshContainer** newMeshContainer) override;
    platform::gfx::Result DestroyFrame(d3dx::Frame* frame) override;
    platform::gfx::Result DestroyMeshContainer(d3dx::MeshContainer* container) override;

    uint32_t frameCount = 0;          // frames created
    uint32_t meshContainerCount = 0;  // mesh containers created
    uint32_t textureFormat;
    uint32_t textureColorKey;
};
