#include "framework3d/model_data.h"

#include <strings.h>

#include "framework/app/zeth.h"
#include "framework/core/lock.h"

using LibModel::CBaseMesh;
using LibModel::CFrame;
using LibModel::CMaterial;

namespace {

template <typename Object>
int32_t FindByName(Object* const* table, uint32_t count, const char* name) {
    for (uint32_t i = 0; i < count; ++i) {
        if (strcasecmp(table[i]->GetName(), name) == 0) return int32_t(i);
    }
    return -1;
}

}  // namespace

CModelData::~CModelData() {
    for (uint32_t i = 0; i < animationCount_; ++i) animations_[i]->Release();
    delete[] animations_;
    delete[] frameTable_;
    delete[] meshTable_;
    while (CBaseObject* frame = rootFrames_.GetTop()) {
        rootFrames_.Remove(frame);
        frame->Release();
    }
}

template <typename Visit>
void CModelData::ForMeshes(int32_t meshIndex, Visit visit) const {
    for (uint32_t i = 0; i < meshCount_; ++i) {
        if (meshIndex < 0 || uint32_t(meshIndex) >= meshCount_ || uint32_t(meshIndex) == i) visit(*meshTable_[i]);
    }
}

template <typename Visit>
void CModelData::ForMaterials(int32_t meshIndex, int32_t materialIndex, Visit visit) const {
    ForMeshes(meshIndex, [&](CBaseMesh& mesh) {
        const uint32_t count = mesh.GetMaterialCount();
        for (uint32_t j = 0; j < count; ++j) {
            if (materialIndex >= 0 && uint32_t(materialIndex) < count && uint32_t(materialIndex) != j) continue;
            CMaterial* material = nullptr;
            if (!mesh.GetMaterial(j, CMaterial::kClassName, &material)) continue;
            visit(*material);
            material->Release();
        }
    });
}

void CModelData::OnLostDevice() {
    ForMeshes(-1, [](CBaseMesh& mesh) { mesh.OnLostDevice(); });
}

void CModelData::OnResetDevice() {
    ForMeshes(-1, [](CBaseMesh& mesh) { mesh.OnResetDevice(); });
}

CFrame* CModelData::GetRootFrame() const { return static_cast<CFrame*>(rootFrames_.GetTop()); }

bool CModelData::BuildFrameTable() {
    delete[] frameTable_;
    frameTable_ = nullptr;
    frameCount_ = 0;
    CFrame* root = GetRootFrame();
    if (root == nullptr) return false;
    uint32_t count = 0;
    root->CollectFrames(nullptr, count);
    frameTable_ = new CFrame*[count];
    root->CollectFrames(frameTable_, frameCount_);
    return true;
}

bool CModelData::BuildMeshTable() {
    delete[] meshTable_;
    meshTable_ = nullptr;
    meshCount_ = 0;
    CFrame* root = GetRootFrame();
    if (root == nullptr) return false;
    uint32_t count = 0;
    root->CollectMeshes(nullptr, count);
    meshTable_ = new CBaseMesh*[count];
    root->CollectMeshes(meshTable_, meshCount_);
    return true;
}

void CModelData::SetAnimationSets(const CObjectList& list) {
    for (uint32_t i = 0; i < animationCount_; ++i) animations_[i]->Release();
    delete[] animations_;
    animationCount_ = list.GetCount();
    animations_ = new CAnimation*[animationCount_];
    uint32_t i = 0;
    for (CBaseObject* set = list.GetTop(); set != nullptr; set = CObjectList::GetNext(set)) {
        set->AddRef();
        animations_[i++] = static_cast<CAnimation*>(set);
    }
}

void CModelData::BindAnimations() {
    for (uint32_t f = 0; f < frameCount_; ++f) frameTable_[f]->AllocateTracks(animationCount_);
    for (uint32_t s = 0; s < animationCount_; ++s) {
        for (uint32_t f = 0; f < frameCount_; ++f) frameTable_[f]->BindTrack(s, animations_[s]);
    }
}

void CModelData::AddRootFrame(CFrame* frame) { rootFrames_.AddTail(frame); }

bool CModelData::IsSkinMesh(uint32_t meshIndex) const {
    return meshIndex >= meshCount_ || meshTable_[meshIndex]->IsSkinMesh();
}

uint32_t CModelData::GetAnimationLength(uint32_t index) const {
    return index < animationCount_ ? animations_[index]->GetLength() : 0;
}

int32_t CModelData::FindFrameIndex(const char* name) const { return FindByName(frameTable_, frameCount_, name); }
int32_t CModelData::FindMeshIndex(const char* name) const { return FindByName(meshTable_, meshCount_, name); }
int32_t CModelData::FindAnimationIndex(const char* name) const {
    return FindByName(animations_, animationCount_, name);
}

void CModelData::SetMaterialUseRenderState(bool value, int32_t meshIndex, int32_t materialIndex) {
    ForMaterials(meshIndex, materialIndex, [&](CMaterial& material) { material.SetUseRenderState(value); });
}

void CModelData::CreateShaders(uint32_t shaderType, int32_t meshIndex) {
    ForMeshes(meshIndex, [&](CBaseMesh& mesh) {
        uint32_t options = mesh.IsSkinMesh()    ? shaderopt::kSkinned
                           : mesh.IsMorphMesh() ? shaderopt::kMorph
                                                : shaderopt::kStatic;
        if (shaderType < uint32_t(kShaderTypeCount)) options |= kShaderTypeOptions[shaderType];
        uint32_t flags = 0;
        ZethShaderFx* effect = ZethShaderFx::Create(options, mesh.GetMaxInfluences(), mesh.GetPaletteSize(), &flags);
        mesh.SetEffect(effect, flags);
        if (effect != nullptr) ZethShaderFx::Release(effect);
    });
}

void CModelData::SetEffect(ZethShaderFx* effect, int32_t meshIndex, uint32_t flags) {
    if (effect == nullptr) return;
    ForMeshes(meshIndex, [&](CBaseMesh& mesh) { mesh.SetEffect(effect, flags); });
}

void CModelData::SetMaterialTexture(uint32_t stage, CTexture* texture, int32_t meshIndex, int32_t materialIndex) {
    ForMeshes(meshIndex, [&](CBaseMesh& mesh) { mesh.SetMaterialTexture(stage, texture, materialIndex); });
}

void CModelData::SetMaterialAlpha(float alpha, int32_t meshIndex, int32_t materialIndex) {
    ForMeshes(meshIndex, [&](CBaseMesh& mesh) { mesh.SetMaterialAlpha(alpha, materialIndex); });
}

void CModelData::SetExtrusion(float value, int32_t meshIndex) {
    ForMeshes(meshIndex, [&](CBaseMesh& mesh) { mesh.SetExtrusion(value); });
}

void CModelData::SetSlideU(float value, int32_t meshIndex) {
    ForMeshes(meshIndex, [&](CBaseMesh& mesh) { mesh.SetSlideU(value); });
}

void CModelData::SetSlideV(float value, int32_t meshIndex) {
    ForMeshes(meshIndex, [&](CBaseMesh& mesh) { mesh.SetSlideV(value); });
}

void CModelData::SetMorphWeight(float value, int32_t meshIndex) {
    ForMeshes(meshIndex, [&](CBaseMesh& mesh) { mesh.SetMorphWeight(value); });
}

void CModelData::SetMorphTarget(int32_t meshIndex, CModelData* other, int32_t otherMeshIndex) {
    if (other == nullptr || meshIndex < 0 || uint32_t(meshIndex) >= meshCount_ || otherMeshIndex < 0 ||
        uint32_t(otherMeshIndex) >= other->meshCount_) {
        return;
    }
    meshTable_[meshIndex]->SetMorphTarget(other->meshTable_[otherMeshIndex]);
}

void CModelData::UpdateWorld(const CMatrix& matrix) {
    if (CFrame* root = GetRootFrame()) root->UpdateWorld(matrix, 0);
}

void CModelData::Animate(float timeA, float timeB, uint32_t mode) {
    if (CFrame* root = GetRootFrame()) root->Animate(timeA, timeB, mode);
}

uint32_t CModelData::Render() {
    uint32_t drawn = 0;
    ForMeshes(-1, [&](CBaseMesh& mesh) { drawn += mesh.Render(); });
    Zeth::AddPolygonCount3D(drawn);
    return drawn;
}

void CModelData::SetMeshFlags(uint8_t value, uint8_t mask, int32_t meshIndex) {
    if (meshIndex >= 0 && uint32_t(meshIndex) >= meshCount_) return;
    ForMeshes(meshIndex, [&](CBaseMesh& mesh) { mesh.SetFlags(value, mask); });
}

uint8_t CModelData::GetMeshFlags(int32_t meshIndex) const {
    return meshIndex >= 0 && uint32_t(meshIndex) < meshCount_ ? meshTable_[meshIndex]->GetFlags() : 0;
}

void CModelData::SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value, int32_t meshIndex,
                                      int32_t materialIndex) {
    ForMaterials(meshIndex, materialIndex, [&](CMaterial& m) { m.SetTextureStageState(stage, type, value); });
}

void CModelData::SetSamplerState(uint32_t stage, uint32_t type, uint32_t value, int32_t meshIndex,
                                 int32_t materialIndex) {
    ForMaterials(meshIndex, materialIndex, [&](CMaterial& m) { m.SetSamplerState(stage, type, value); });
}

void CModelData::SetBlendMode(uint32_t mode, int32_t meshIndex, int32_t materialIndex) {
    ForMaterials(meshIndex, materialIndex, [&](CMaterial& m) { m.SetBlendMode(mode); });
}

void CModelData::SetFilterEnable(bool on, int32_t meshIndex, int32_t materialIndex) {
    ForMaterials(meshIndex, materialIndex, [&](CMaterial& m) { m.SetFilterEnable(on); });
}

void CModelData::SetAlphaTestEnable(bool on, int32_t meshIndex, int32_t materialIndex) {
    ForMaterials(meshIndex, materialIndex, [&](CMaterial& m) { m.SetAlphaTestEnable(on); });
}

void CModelData::SetDepthTestEnable(bool on, int32_t meshIndex, int32_t materialIndex) {
    ForMaterials(meshIndex, materialIndex, [&](CMaterial& m) { m.SetDepthTestEnable(on); });
}

void CModelData::SetDepthWriteEnable(bool on, int32_t meshIndex, int32_t materialIndex) {
    ForMaterials(meshIndex, materialIndex, [&](CMaterial& m) { m.SetDepthWriteEnable(on); });
}

bool CModelData::GetObject(uint32_t index, const CClassName& classId, CBaseObject** out) {
    if (classId == CBaseMesh::kClassName && index < meshCount_) {
        *out = meshTable_[index];
    } else if (classId == CFrame::kClassName && index < frameCount_) {
        *out = frameTable_[index];
    } else {
        return false;
    }
    (*out)->AddRef();
    return true;
}

bool CModelData::GetObjectByName(const char* name, const CClassName& classId, CBaseObject** out) {
    const int32_t index = classId == CBaseMesh::kClassName ? FindMeshIndex(name)
                          : classId == CFrame::kClassName  ? FindFrameIndex(name)
                                                           : -1;
    return index >= 0 && GetObject(uint32_t(index), classId, out);
}
