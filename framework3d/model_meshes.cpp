// The two mesh kinds: static meshes drawn by attribute range, skinned meshes drawn by bone
// combination with a palette of bone matrices.
#include <strings.h>

#include <algorithm>
#include <cstring>

#include "framework/app/log.h"
#include "framework3d/model_mesh.h"
#include "framework3d/pools.h"

namespace gfx = platform::gfx;

namespace {

constexpr uint32_t kStaticFvf = 0x152;  // position, normal, diffuse colour, one texture coordinate

void LogFailure(const char* format, gfx::Result result) {
    ZethLog::PrintError(format, Zeth3D::GetErrorString(result));
    ZethLog::PrintBreak();
}

}  // namespace

// ---- CMesh ----

CMesh::~CMesh() { delete[] ranges_; }

bool CMesh::Load(d3dx::Mesh* mesh, d3dx::SkinInfo*, const uint32_t*) {
    if (!Optimize(mesh)) return false;
    uint32_t count = 0;
    gfx::Result result = mesh->GetAttributeTable(nullptr, &count);
    if (gfx::Failed(result)) {
        LogFailure("属性テーブルのサイズの取得に失敗 [ %s ]", result);
        return false;
    }
    delete[] ranges_;
    ranges_ = new d3dx::AttributeRange[count];
    rangeCount_ = count;
    result = mesh->GetAttributeTable(ranges_, &count);
    if (gfx::Failed(result)) {
        LogFailure("属性テーブルの取得に失敗 [ %s ]", result);
        return false;
    }
    vertexType = 0;
    return Convert(mesh, kStaticFvf, mesh->Layout().diffuse >= 0);
}

uint32_t CMesh::Render() {
    if (flags != 0) return 0;
    uint32_t drawn = 0;
    if (ZethCamera::IsVisible(boxVolume)) {
        const uint32_t passes = BeginDraw(worldMatrix);
        for (uint32_t pass = 0; pass < passes; ++pass) {
            ZethShaderFx::BeginPass(effect, pass);
            for (uint32_t r = 0; r < rangeCount_; ++r) drawn += DrawRange(ranges_[r]);
            ZethShaderFx::EndPass(effect);
        }
        ZethShaderFx::End(effect);
    }
    if (CBaseNode* next = NextSiblingNode()) drawn += next->Render();
    return drawn;
}

// ---- CSkinMesh ----

CSkinMesh::~CSkinMesh() {
    delete[] boneOffsets_;
    delete[] boneWorld_;
    if (combinations_ != nullptr) combinations_->Release();
    if (skinInfo_ != nullptr) skinInfo_->Release();
}

bool CSkinMesh::Load(d3dx::Mesh* mesh, d3dx::SkinInfo* skinInfo, const uint32_t* adjacency) {
    skinInfo->AddRef();
    if (skinInfo_ != nullptr) skinInfo_->Release();
    skinInfo_ = skinInfo;
    paletteSize_ = std::min(skinInfo->GetNumBones(), kMaxPalette);
    ZethLog::Print("LoadMesh -> Bone [ %d ]", int(paletteSize_));
    ZethLog::PrintBreak();
    d3dx::Mesh* blended = nullptr;
    gfx::Result result = skinInfo->ConvertToIndexedBlendedMesh(mesh, d3dx::optimize::kVertexCache, paletteSize_,
                                                               adjacency, nullptr, nullptr, nullptr, &maxInfluences_,
                                                               &combinationCount_, &combinations_, &blended);
    if (gfx::Failed(result)) {
        LogFailure("インデックスブレンディングメッシュへの変換に失敗 [ %s ]", result);
        return false;
    }
    bool loaded = Optimize(blended) && LibModel::AddNormals(&blended);
    if (loaded) {
        const uint32_t bones = skinInfo->GetNumBones();
        delete[] boneOffsets_;
        boneOffsets_ = new CMatrix[bones];
        for (uint32_t b = 0; b < bones; ++b) boneOffsets_[b].Set(&skinInfo->GetBoneOffsetMatrix(b)->m[0][0]);
        static constexpr uint32_t kVertexTypeOfInfluences[d3dx::kMaxInfluences + 1] = {0, 2, 2, 3, 4};
        vertexType = kVertexTypeOfInfluences[std::min(maxInfluences_, d3dx::kMaxInfluences)];
        loaded = Convert(blended, d3dx::kBlendedFvf, mesh->Layout().diffuse >= 0);
    }
    blended->Release();
    return loaded;
}

void CSkinMesh::Bind(LibModel::CFrame** frames, uint32_t frameCount) {
    const uint32_t bones = skinInfo_ != nullptr ? skinInfo_->GetNumBones() : 0;
    delete[] boneWorld_;
    boneWorld_ = new const CMatrix*[bones]();
    for (uint32_t b = 0; b < bones; ++b) {
        for (uint32_t f = 0; f < frameCount; ++f) {
            if (strcasecmp(frames[f]->GetName(), skinInfo_->GetBoneName(b)) == 0) {
                boneWorld_[b] = &frames[f]->GetWorldMatrix();
                break;
            }
        }
    }
}

uint32_t CSkinMesh::Render() {
    if (flags != 0) return 0;
    const uint32_t passes = BeginDraw(CMatrix());
    const uint32_t bones = skinInfo_->GetNumBones();
    const auto* combinations = static_cast<const d3dx::BoneCombination*>(combinations_->GetBufferPointer());
    uint32_t drawn = 0;
    for (uint32_t c = 0; c < combinationCount_; ++c) {
        const d3dx::BoneCombination& combination = combinations[c];
        if (shaderFlags & fxuse::kBoneMatrices) {
            d3dx::Matrix palette[kMaxPalette] = {};
            for (uint32_t k = 0; k < paletteSize_; ++k) {
                const uint32_t bone = combination.boneId[k];
                if (bone == d3dx::kUnusedBone || bone >= bones) continue;
                const CMatrix world = boneWorld_ != nullptr && boneWorld_[bone] != nullptr ? *boneWorld_[bone] : CMatrix();
                const CMatrix skin = boneOffsets_[bone] * world;
                std::memcpy(palette[k].m, skin.m, sizeof palette[k].m);
            }
            ZethShaderFx::SetMatrixArray(effect, "mBoneMatrixArray", palette, paletteSize_);
            ZethShaderFx::SetInt(effect, "BoneWeightCount", int32_t(maxInfluences_) - 1);
        }
        const d3dx::AttributeRange range{combination.attribId, combination.faceStart, combination.faceCount,
                                         combination.vertexStart, combination.vertexCount};
        for (uint32_t pass = 0; pass < passes; ++pass) {
            ZethShaderFx::BeginPass(effect, pass);
            drawn += DrawRange(range);
            ZethShaderFx::EndPass(effect);
        }
    }
    ZethShaderFx::End(effect);
    return drawn;
}
