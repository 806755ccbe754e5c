// The meshes of a model: LibModel::CBaseMesh owns the geometry (framework vertex and index
// buffers), the generated effect, the materials, the bounds and a list of ray hits; CMesh draws
// static geometry by attribute range, CSkinMesh skinned geometry by bone combination with a
// palette of bone matrices. LibModel::CMaterial draws one range with its colours and textures.
#pragma once

#include <cstdint>

#include "framework/core/collision.h"
#include "framework/graphics/device.h"
#include "framework3d/mesh_buffers.h"
#include "framework3d/model_frame.h"
#include "framework3d/shader_fx.h"
#include "platform/d3dx/skin.h"

class CTexture;

namespace d3dx = platform::d3dx;

// The hits of the last ray test: local and world point, local and world face normal.
class CHitList : public CBaseObject {
public:
    explicit CHitList(uint32_t capacity);
    ~CHitList() override;
    virtual void Clear() { count_ = 0; }
    virtual bool Add(const CVector3& localPoint, const CVector3& worldPoint, const CVector3& localNormal,
                     const CVector3& worldNormal);  // false when full
    // Copies the vectors asked for (each optional); false past the hits.
    virtual bool Get(uint32_t index, CVector3* localPoint, CVector3* worldPoint, CVector3* localNormal,
                     CVector3* worldNormal) const;
    uint32_t GetCount() const { return count_; }
    uint32_t GetCapacity() const { return capacity_; }

private:
    uint32_t capacity_;
    uint32_t count_ = 0;
    CVector3* vectors_;  // capacity entries of each of the four kinds
};

namespace LibModel {

// Replaces the mesh by a clone with (zero) normals added when its format has none, the old one
// released; false, logged, when the clone cannot be made.
bool AddNormals(d3dx::Mesh** mesh);

class CMaterial : public CBaseObject {
public:
    static const CClassName kClassName;  // "LibModel::CMaterial"

    // White diffuse, black emissive, ambient 0.3; the device's current render-state block.
    CMaterial();
    ~CMaterial() override;  // releases the textures

    // Copies the material; the ambient colour becomes 0.3 x diffuse + emissive.
    virtual void SetMaterial(const platform::gfx::Material& material);
    virtual void SetTexture(uint32_t stage, CTexture* texture);  // stages 0 to 3
    virtual void SetAlpha(float alpha);
    virtual void SetTextureName(uint32_t stage, const char* name);
    virtual void GetTextureName(uint32_t stage, char* out) const;  // empty for stage 4 or above
    // Draws one range of the mesh bound to the device; returns the faces drawn.
    virtual uint32_t Render(uint32_t shaderFlags, ZethShaderFx* effect, const d3dx::AttributeRange& range);
    virtual void SetUseRenderState(bool use);
    virtual void SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value);
    virtual void SetSamplerState(uint32_t stage, uint32_t type, uint32_t value);
    virtual void SetBlendMode(uint32_t mode);
    // The four switches at the end of the render-state block.
    virtual void SetFilterEnable(bool on);
    virtual void SetAlphaTestEnable(bool on);
    virtual void SetDepthTestEnable(bool on);
    virtual void SetDepthWriteEnable(bool on);

    const platform::gfx::Material& GetMaterial() const { return material_; }
    CTexture* GetTexture(uint32_t stage) const { return stage < 4 ? textures_[stage] : nullptr; }
    const Zeth3D::RenderStateBlock& GetRenderState() const { return renderState_; }

private:
    bool useRenderState_ = false;
    Zeth3D::RenderStateBlock renderState_;
    platform::gfx::Material material_{};
    CTexture* textures_[4] = {};
    char textureNames_[4][260] = {};
};

class CBaseMesh : public CBaseNode {
public:
    static const CClassName kClassName;  // "LibModel::CBaseMesh"

    CBaseMesh(uint16_t shaderVersionMajor, uint16_t shaderVersionMinor);
    ~CBaseMesh() override;

    // The frame's world matrix, unchanged, and the bounding box under it; then the next
    // sibling's UpdateWorld.
    void UpdateWorld(const CMatrix& world, uint32_t arg) override;
    // Meshes have no animation of their own: only the next sibling is animated.
    void Animate(float timeA, float timeB, uint32_t mode) override;
    void Dump() override { DumpLine(true); }
    virtual void CreateHitList();  // capacity: index count / 10
    // Angle-weighted normals added to those the vertices hold, then normalised; for the
    // positions and again for the morph target.
    virtual void ComputeNormals();
    virtual bool GetMaterial(uint32_t index, const CClassName& classId, CMaterial** out);
    virtual bool GetMaterialByName(const char* name, const CClassName& classId, CMaterial** out);
    virtual void OnLostDevice();
    virtual void OnResetDevice();
    virtual void BuildMaterialTable();  // the mesh's children, in order
    virtual void SetEffect(ZethShaderFx* effect, uint32_t flags);
    virtual void SetExtrusion(float value) { extrusion = value; }
    virtual void SetSlideU(float value) { slideU = value; }
    virtual void SetSlideV(float value) { slideV = value; }
    virtual void SetMorphWeight(float value) { morphWeight = value; }
    // Material forwarders: the material at index when it is in the table, else every material.
    virtual void SetMaterialTexture(uint32_t stage, CTexture* texture, int32_t materialIndex);
    virtual void SetMaterialAlpha(float alpha, int32_t materialIndex);
    // Takes the other mesh's positions and normals as the morph target when both have as many
    // vertices; anything else changes nothing.
    virtual void SetMorphTarget(CBaseMesh* other);
    virtual void GetBoundingSphere(CVector3* centre, float* radius) const;
    virtual void GetBoundingBox(CVector3* min, CVector3* max, CVolume* volume) const;
    virtual void CopyWorldMatrix(CMatrix* out) const { *out = worldMatrix; }
    // Hits of the world-space segment with the mesh's triangles; true when there is one.
    virtual bool HitTest(const CVector3& start, const CVector3& end, bool wantNormal);
    virtual bool GetHit(uint32_t index, CVector3* localPoint, CVector3* worldPoint, CVector3* localNormal,
                        CVector3* worldNormal) const;
    virtual uint32_t GetHitCount() const;
    virtual uint32_t GetMaterialCount() const { return materialCount; }
    virtual int32_t FindMaterialIndex(const char* name) const;
    virtual bool IsMorphMesh() const { return vertexType == 1; }
    virtual void Bind(LibModel::CFrame** frames, uint32_t frameCount) = 0;
    virtual bool Load(d3dx::Mesh* mesh, d3dx::SkinInfo* skinInfo, const uint32_t* adjacency) = 0;
    virtual bool IsSkinMesh() const = 0;
    virtual uint32_t GetMaxInfluences() const = 0;
    virtual uint32_t GetPaletteSize() const = 0;
    virtual void SetFlags(uint8_t value, uint8_t mask) { flags = uint8_t((flags & ~mask) | (value & mask)); }
    virtual uint8_t GetFlags() const { return flags; }

    CVertexBuffer* vertexBuffer = nullptr;
    CIndexBuffer* indexBuffer = nullptr;
    ZethShaderFx* effect = nullptr;
    CHitList* hitList = nullptr;
    uint32_t vertexType = 8;  // none yet
    CVector3 boxMin, boxMax;
    CVector3 sphereCentre;
    float sphereRadius = 0.0f;
    CVolume boxVolume{};
    uint32_t shaderFlags = 0;
    float slideU = 0.0f, slideV = 0.0f, extrusion = 0.0f, morphWeight = 0.0f;
    CMaterial** materials = nullptr;
    uint32_t materialCount = 0;
    uint16_t shaderVersionMajor;
    uint16_t shaderVersionMinor;
    uint8_t flags = 0;  // not zero: hidden

protected:
    // The node after this mesh among its parent's children, or null (a mesh read from a file,
    // which hangs on its frame rather than among children, has none).
    CBaseNode* NextSiblingNode() const { return dynamic_cast<CBaseNode*>(GetNextSibling()); }
    // Optimises the loaded mesh in place (attribute sort, then vertex cache); false, logged.
    static bool Optimize(d3dx::Mesh* mesh);
    // Fills the buffers from a clone of the mesh in cloneFvf: every full-vertex field the clone
    // holds (the position and normal twice), white unless the file gave colours; then bounds,
    // indices, normals, device buffers, hit list and material table. False, logged, on failure.
    bool Convert(d3dx::Mesh* mesh, uint32_t cloneFvf, bool hasColor);
    // Sets the effect constants that shaderFlags asks for, with `world` as the world matrix.
    void SetShaderConstants(const CMatrix& world);
    // Binds the buffers, selects the vertex processing, sets the constants with `world` and
    // begins the effect; the pass count (0 without an effect).
    uint32_t BeginDraw(const CMatrix& world);
    // The material of an attribute id draws the range in the pass begun; a range whose
    // attribute id has no material is left out.
    uint32_t DrawRange(const d3dx::AttributeRange& range);
};

}  // namespace LibModel

class CMesh : public LibModel::CBaseMesh {
public:
    using CBaseMesh::CBaseMesh;
    ~CMesh() override;

    // Nothing while hidden; else, when the active camera sees it, each pass draws every range in
    // turn; plus what the next sibling draws.
    uint32_t Render() override;
    void Bind(LibModel::CFrame**, uint32_t) override {}
    bool Load(d3dx::Mesh* mesh, d3dx::SkinInfo* skinInfo, const uint32_t* adjacency) override;
    bool IsSkinMesh() const override { return false; }
    uint32_t GetMaxInfluences() const override { return 0; }
    uint32_t GetPaletteSize() const override { return 0; }

private:
    uint32_t rangeCount_ = 0;
    d3dx::AttributeRange* ranges_ = nullptr;
};

class CSkinMesh : public LibModel::CBaseMesh {
public:
    static constexpr uint32_t kMaxPalette = 32;

    using CBaseMesh::CBaseMesh;
    ~CSkinMesh() override;

    uint32_t Render() override;  // nothing while hidden
    // Each bone takes the world matrix of the first frame named like it; a bone without one
    // is drawn with the identity.
    void Bind(LibModel::CFrame** frames, uint32_t frameCount) override;
    bool Load(d3dx::Mesh* mesh, d3dx::SkinInfo* skinInfo, const uint32_t* adjacency) override;
    bool IsSkinMesh() const override { return true; }
    uint32_t GetMaxInfluences() const override { return maxInfluences_; }
    uint32_t GetPaletteSize() const override { return paletteSize_; }

private:
    CMatrix* boneOffsets_ = nullptr;
    uint32_t paletteSize_ = 0;
    uint32_t maxInfluences_ = 0;
    uint32_t combinationCount_ = 0;
    d3dx::Buffer* combinations_ = nullptr;
    d3dx::SkinInfo* skinInfo_ = nullptr;
    const CMatrix** boneWorld_ = nullptr;
};
