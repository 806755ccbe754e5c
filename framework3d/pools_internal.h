// The records of the scene pools, for the code that fills them (nothing in the framework
// creates grid meshes, models or cameras or sets lights; tests do).
#pragma once

#include <cstdint>

#include "framework3d/pools.h"
#include "framework3d/shader_fx.h"
#include "framework3d/transform3d.h"
#include "platform/d3dx/mesh_hierarchy.h"
#include "platform/gfx/device.h"

class CTexture;

namespace ZethGridMesh {

struct SourceVertex {  // 60 bytes
    float position[3];
    float normal[3];
    float tangent[3];
    float binormal[3];
    uint32_t color;
    float uv[2];
};

struct Block {
    platform::gfx::VertexDeclaration* declaration;
    platform::gfx::VertexBuffer* vertexBuffer;
    platform::gfx::IndexBuffer* indexBuffer;
    SourceVertex* vertices;  // Zeth::MemoryAlloc
    uint16_t* indices;       // Zeth::MemoryAlloc
    uint32_t vertexCount;
    uint32_t indexCount;
    void* extra[2];  // Zeth::MemoryAlloc, freed with the block
};

struct QuadNode {
    QuadNode* children[4];  // Zeth::MemoryAlloc
};

struct TextureSet {
    CTexture* textures[4];
};

struct Record {
    uint8_t inUse;
    uint32_t refCount;
    uint32_t blocksPerSide;
    Block* blocks;  // blocksPerSide squared, Zeth::MemoryAlloc
    void* auxData;
    QuadNode* quadTree;
    TextureSet* textureSets;
    uint32_t textureSetCount;
    uint8_t hasTangentFrame;
    uint16_t shaderVersionMajor;
    uint16_t shaderVersionMinor;
    ZethShaderFx* effect;
};

Record* Records();  // null outside Initialize..Finalize
// Builds one block's declaration, vertex and index buffer from its source; false (logged) on
// the first failing step, which leaves the block without device objects.
bool RebuildBlock(const Record& record, uint32_t blockIndex);

}  // namespace ZethGridMesh

namespace ZethModel {
struct Record {
    uint8_t inUse;
    uint32_t refCount;
    platform::gfx::RefCounted* animationController;
    platform::d3dx::Frame* rootFrame;  // built by CAllocateHierarchy
    void* extra;                       // Zeth::MemoryAlloc
};
Record* Records();
}  // namespace ZethModel

namespace ZethCamera {
struct Record {
    uint8_t inUse;
    uint32_t refCount;
    CMatrix projection;
    CMatrix view;
    CMatrix viewProjection;
    float position[3];
    CTransform3D transform;
};
Record* Records();
}  // namespace ZethCamera

namespace ZethLight {
// Sets one light (0 to 3; others ignored) and whether it is on.
void SetLight(int32_t index, const platform::gfx::Light& light, bool enable);
void SetAmbient(const float colour[4]);
const platform::gfx::Light* GetLight(int32_t index);  // null outside 0..3
}  // namespace ZethLight
