// Materials of model meshes and the hit list of their ray tests.
#include <cstring>

#include "framework/graphics/texture.h"
#include "framework3d/model_mesh.h"

namespace gfx = platform::gfx;

CHitList::CHitList(uint32_t capacity) : capacity_(capacity), vectors_(new CVector3[size_t(capacity) * 4]) {}

CHitList::~CHitList() { delete[] vectors_; }

bool CHitList::Add(const CVector3& localPoint, const CVector3& worldPoint, const CVector3& localNormal,
                   const CVector3& worldNormal) {
    if (count_ == capacity_) return false;
    const CVector3 four[4] = {localPoint, worldPoint, localNormal, worldNormal};
    for (int kind = 0; kind < 4; ++kind) vectors_[size_t(kind) * capacity_ + count_] = four[kind];
    ++count_;
    return true;
}

bool CHitList::Get(uint32_t index, CVector3* localPoint, CVector3* worldPoint, CVector3* localNormal,
                   CVector3* worldNormal) const {
    if (index >= count_) return false;
    CVector3* outs[4] = {localPoint, worldPoint, localNormal, worldNormal};
    for (int kind = 0; kind < 4; ++kind) {
        if (outs[kind] != nullptr) *outs[kind] = vectors_[size_t(kind) * capacity_ + index];
    }
    return true;
}

namespace LibModel {

const CClassName CMaterial::kClassName("LibModel::CMaterial");

CMaterial::CMaterial() {
    Zeth3D::GetRenderStateBlock(&renderState_);
    material_.diffuse = gfx::ColorValue{1.0f, 1.0f, 1.0f, 1.0f};
    material_.ambient = gfx::ColorValue{0.3f, 0.3f, 0.3f, 0.0f};
}

CMaterial::~CMaterial() {
    for (CTexture* texture : textures_) ZethTexture::Release(texture);
}

void CMaterial::SetMaterial(const gfx::Material& material) {
    material_ = material;
    material_.ambient.r = 0.3f * material.diffuse.r + material.emissive.r;
    material_.ambient.g = 0.3f * material.diffuse.g + material.emissive.g;
    material_.ambient.b = 0.3f * material.diffuse.b + material.emissive.b;
}

void CMaterial::SetTexture(uint32_t stage, CTexture* texture) {
    if (stage >= 4) return;
    if (texture != nullptr) ZethTexture::AddRef(texture);
    ZethTexture::Release(textures_[stage]);
    textures_[stage] = texture;
}

void CMaterial::SetAlpha(float alpha) { material_.diffuse.a = alpha; }

void CMaterial::SetTextureName(uint32_t stage, const char* name) {
    if (stage >= 4) return;
    std::strncpy(textureNames_[stage], name, sizeof textureNames_[stage] - 1);
}

void CMaterial::GetTextureName(uint32_t stage, char* out) const {
    std::strcpy(out, stage < 4 ? textureNames_[stage] : "");
}

uint32_t CMaterial::Render(uint32_t shaderFlags, ZethShaderFx* effect, const d3dx::AttributeRange& range) {
    if (range.faceCount == 0) return 0;
    if (useRenderState_) Zeth3D::SetRenderStateBlock(&renderState_);
    static const char* const kStageNames[4] = {"TextureStage0", "TextureStage1", "TextureStage2", "TextureStage3"};
    for (uint32_t stage = 0; stage < 4; ++stage) {
        if (shaderFlags & fxuse::kTextureStages) {
            ZethShaderFx::SetTexture(effect, kStageNames[stage], textures_[stage]);
        } else {
            Zeth3D::SetTexture(stage, textures_[stage]);
        }
    }
    if (shaderFlags & fxuse::kMaterial) {
        const d3dx::Vector4 diffuse{material_.diffuse.r, material_.diffuse.g, material_.diffuse.b, material_.diffuse.a};
        const d3dx::Vector4 ambient{material_.ambient.r, material_.ambient.g, material_.ambient.b, 1.0f};
        ZethShaderFx::SetVector(effect, "MaterialDiffuse", &diffuse);
        ZethShaderFx::SetVector(effect, "MaterialAmbient", &ambient);
    }
    ZethShaderFx::CommitChanges(effect);
    Zeth3D::GetDevice()->DrawIndexedPrimitive(gfx::prim::kTriangleList, 0, range.vertexStart, range.vertexCount,
                                              range.faceStart * 3, range.faceCount);
    return range.faceCount;
}

void CMaterial::SetUseRenderState(bool use) { useRenderState_ = use; }

void CMaterial::SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) {
    if (stage < 4 && type < gfx::tss::kCount) renderState_.textureStage[stage][type] = value;
}

void CMaterial::SetSamplerState(uint32_t stage, uint32_t type, uint32_t value) {
    if (stage < 4 && type < gfx::samp::kCount) renderState_.sampler[stage][type] = value;
}

void CMaterial::SetBlendMode(uint32_t mode) { renderState_.blendMode = mode; }
void CMaterial::SetFilterEnable(bool on) { renderState_.filter = on; }
void CMaterial::SetAlphaTestEnable(bool on) { renderState_.alphaTest = on; }
void CMaterial::SetDepthTestEnable(bool on) { renderState_.depthTest = on; }
void CMaterial::SetDepthWriteEnable(bool on) { renderState_.depthWrite = on; }

}  // namespace LibModel
