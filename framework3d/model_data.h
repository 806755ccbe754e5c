// One loaded model: the top-level frames of its frame tree, flat tables of every frame, mesh
// and animation set, and its placement. Operations that take a mesh or material index act on
// that element when the index is in its table, and on every element otherwise.
#pragma once

#include <cstdint>

#include "framework/graphics/device_object.h"
#include "framework3d/animation_set.h"
#include "framework3d/model_mesh.h"
#include "framework3d/transform3d.h"

class CModelData : public CDeviceObject {
public:
    explicit CModelData(CBaseManager* manager) : CDeviceObject(manager) {}
    // Releases the animation sets, frees the tables, then releases the top-level frames.
    ~CModelData() override;

    void OnLostDevice() override;
    void OnResetDevice() override;
    virtual LibModel::CFrame* GetRootFrame() const;  // the first top-level frame
    // The tables, sized by what the first top-level frame's walks gather.
    virtual bool BuildFrameTable();
    virtual bool BuildMeshTable();
    virtual void SetAnimationSets(const CObjectList& list);
    virtual void BindAnimations();
    virtual void AddRootFrame(LibModel::CFrame* frame);  // the caller's reference passes to the model
    virtual bool IsSkinMesh(uint32_t meshIndex) const;  // true past the table
    virtual uint32_t GetAnimationLength(uint32_t index) const;  // 0 past the table
    virtual uint32_t GetAnimationCount() const { return animationCount_; }
    virtual int32_t FindFrameIndex(const char* name) const;
    virtual int32_t FindMeshIndex(const char* name) const;
    virtual int32_t FindAnimationIndex(const char* name) const;
    virtual uint32_t GetMeshCount() const { return meshCount_; }
    virtual uint32_t GetFrameCount() const { return frameCount_; }
    virtual LibModel::CBaseMesh** GetMeshTable() const { return meshTable_; }
    virtual void SetMaterialUseRenderState(bool value, int32_t meshIndex, int32_t materialIndex);
    // Generates each chosen mesh's effect for shader type 0-5 on its vertex input.
    virtual void CreateShaders(uint32_t shaderType, int32_t meshIndex);
    virtual void SetEffect(ZethShaderFx* effect, int32_t meshIndex, uint32_t flags);
    virtual void SetMaterialTexture(uint32_t stage, CTexture* texture, int32_t meshIndex, int32_t materialIndex);
    virtual void SetMaterialAlpha(float alpha, int32_t meshIndex, int32_t materialIndex);
    virtual void SetExtrusion(float value, int32_t meshIndex);
    virtual void SetSlideU(float value, int32_t meshIndex);
    virtual void SetSlideV(float value, int32_t meshIndex);
    virtual void SetMorphWeight(float value, int32_t meshIndex);
    // The other model's mesh becomes this mesh's morph target; indexes outside either table do nothing.
    virtual void SetMorphTarget(int32_t meshIndex, CModelData* other, int32_t otherMeshIndex);
    virtual void UpdateWorld(const CMatrix& matrix);
    virtual void Animate(float timeA, float timeB, uint32_t mode);
    // Every mesh draws itself; the faces drawn go to the 3D polygon count and are returned.
    virtual uint32_t Render();
    virtual void SetTransform(const CTransform3D& transform) { transform_ = transform; }
    virtual void GetTransform(CTransform3D* out) const { *out = transform_; }
    virtual void SetMeshFlags(uint8_t value, uint8_t mask, int32_t meshIndex);
    virtual uint8_t GetMeshFlags(int32_t meshIndex) const;  // 0 outside the table
    virtual void SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value, int32_t meshIndex,
                                      int32_t materialIndex);
    virtual void SetSamplerState(uint32_t stage, uint32_t type, uint32_t value, int32_t meshIndex,
                                 int32_t materialIndex);
    virtual void SetBlendMode(uint32_t mode, int32_t meshIndex, int32_t materialIndex);
    virtual void SetFilterEnable(bool on, int32_t meshIndex, int32_t materialIndex);
    virtual void SetAlphaTestEnable(bool on, int32_t meshIndex, int32_t materialIndex);
    virtual void SetDepthTestEnable(bool on, int32_t meshIndex, int32_t materialIndex);
    virtual void SetDepthWriteEnable(bool on, int32_t meshIndex, int32_t materialIndex);
    // A mesh (LibModel::CBaseMesh identity) or frame (LibModel::CFrame) with a new reference.
    virtual bool GetObject(uint32_t index, const CClassName& classId, CBaseObject** out);
    virtual bool GetObjectByName(const char* name, const CClassName& classId, CBaseObject** out);

    uint32_t GetRootFrameCount() const { return rootFrames_.GetCount(); }

private:
    // Calls visit on the mesh at meshIndex when it is in the table, else on every mesh.
    template <typename Visit>
    void ForMeshes(int32_t meshIndex, Visit visit) const;
    // Within those meshes, on the material at materialIndex when it is in the mesh's table, else
    // on every material; each taken by the mesh's typed query and released after the call.
    template <typename Visit>
    void ForMaterials(int32_t meshIndex, int32_t materialIndex, Visit visit) const;

    CTransform3D transform_;
    uint32_t frameCount_ = 0;
    LibModel::CFrame** frameTable_ = nullptr;
    uint32_t meshCount_ = 0;
    LibModel::CBaseMesh** meshTable_ = nullptr;
    uint32_t animationCount_ = 0;
    CAnimation** animations_ = nullptr;
    CObjectList rootFrames_;
};
