// What both mesh kinds share: geometry conversion, normals, bounds, materials, shader
// constants, ray hits and morph targets.
#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "framework/app/log.h"
#include "framework/core/lock.h"
#include "framework3d/model_mesh.h"
#include "framework3d/pools.h"

namespace gfx = platform::gfx;

namespace {

void LogFailure(const char* format, gfx::Result result) {
    ZethLog::PrintError(format, Zeth3D::GetErrorString(result));
    ZethLog::PrintBreak();
}

CVector3 Difference(const float a[3], const float b[3]) { return CVector3(a[0] - b[0], a[1] - b[1], a[2] - b[2]); }

// The angle between two edges from their unit vectors; a cosine rounded past +-1 is clamped.
float AngleBetween(const CVector3& a, const CVector3& b) {
    return std::acos(std::clamp(a.Dot(b), -1.0f, 1.0f));
}

d3dx::Matrix ToMatrix(const CMatrix& m) {
    d3dx::Matrix out;
    std::memcpy(out.m, m.m, sizeof out.m);
    return out;
}

}  // namespace

namespace LibModel {

bool AddNormals(d3dx::Mesh** mesh) {
    if ((*mesh)->Layout().normal >= 0) return true;
    d3dx::Mesh* withNormals = nullptr;
    const gfx::Result result = (*mesh)->CloneMeshFVF((*mesh)->GetOptions(), (*mesh)->GetFVF() | gfx::fvf::kNormal,
                                                     Zeth3D::GetDevice(), &withNormals);
    if (gfx::Failed(result)) {
        LogFailure("メッシュのコンバートに失敗 [ %s ]", result);
        return false;
    }
    (*mesh)->Release();
    *mesh = withNormals;
    return true;
}

const CClassName CBaseMesh::kClassName("LibModel::CBaseMesh");

CBaseMesh::CBaseMesh(uint16_t major, uint16_t minor) : shaderVersionMajor(major), shaderVersionMinor(minor) {}

CBaseMesh::~CBaseMesh() {
    delete[] materials;
    if (effect != nullptr) ZethShaderFx::Release(effect);
    if (vertexBuffer != nullptr) vertexBuffer->Release();
    if (indexBuffer != nullptr) indexBuffer->Release();
    if (hitList != nullptr) hitList->Release();
}

void CBaseMesh::UpdateWorld(const CMatrix& world, uint32_t arg) {
    worldMatrix = world;
    MakeBoxVolume(boxVolume, boxMin, boxMax, worldMatrix);
    if (CBaseNode* next = NextSiblingNode()) next->UpdateWorld(world, arg);
}

void CBaseMesh::Animate(float timeA, float timeB, uint32_t mode) {
    if (CBaseNode* next = NextSiblingNode()) next->Animate(timeA, timeB, mode);
}

void CBaseMesh::CreateHitList() {
    if (hitList != nullptr) hitList->Release();
    hitList = new CHitList(indexBuffer != nullptr ? indexBuffer->GetCount() / 10 : 0);
}

void CBaseMesh::ComputeNormals() {
    if (vertexBuffer == nullptr || indexBuffer == nullptr) return;
    FullVertex* vertices = vertexBuffer->GetBuffer();
    const uint16_t* indices = indexBuffer->GetBuffer();
    const uint32_t vertexCount = vertexBuffer->GetCount(), triangles = indexBuffer->GetCount() / 3;
    constexpr float kPi = 3.14159265358979f;
    for (int target = 0; target < 2; ++target) {
        auto position = [&](uint32_t v) { return target == 0 ? vertices[v].position : vertices[v].position2; };
        auto normal = [&](uint32_t v) { return target == 0 ? vertices[v].normal : vertices[v].normal2; };
        for (uint32_t t = 0; t < triangles; ++t) {
            const uint32_t corner[3] = {indices[t * 3], indices[t * 3 + 1], indices[t * 3 + 2]};
            if (corner[0] >= vertexCount || corner[1] >= vertexCount || corner[2] >= vertexCount) continue;
            CVector3 edge[3];  // the unit edge leaving each corner towards the next
            bool degenerate = false;
            for (int k = 0; k < 3; ++k) {
                edge[k] = Difference(position(corner[(k + 1) % 3]), position(corner[k]));
                degenerate = degenerate || edge[k].Length() == 0.0f;
            }
            CVector3 face;
            face.Cross(edge[0], Difference(position(corner[2]), position(corner[0])));
            if (degenerate || face.Length() == 0.0f) continue;  // no direction to add
            face.Normalize();
            for (CVector3& e : edge) e.Normalize();
            for (int k = 0; k < 3; ++k) {
                const CVector3& out = edge[k];
                const CVector3& back = edge[(k + 2) % 3];
                const CVector3 in(-back.x, -back.y, -back.z);
                const float weight = AngleBetween(out, in) / kPi;
                float* n = normal(corner[k]);
                n[0] += face.x * weight, n[1] += face.y * weight, n[2] += face.z * weight;
            }
        }
        for (uint32_t v = 0; v < vertexCount; ++v) {
            d3dx::Vector3 n;
            std::memcpy(&n, normal(v), sizeof n);
            d3dx::D3DXVec3Normalize(&n, &n);
            std::memcpy(normal(v), &n, sizeof n);
        }
    }
}

bool CBaseMesh::GetMaterial(uint32_t index, const CClassName& classId, CMaterial** out) {
    if (!(classId == CMaterial::kClassName) || index >= materialCount) return false;
    *out = materials[index];
    (*out)->AddRef();
    return true;
}

bool CBaseMesh::GetMaterialByName(const char* name, const CClassName& classId, CMaterial** out) {
    const int32_t index = FindMaterialIndex(name);
    return index >= 0 && GetMaterial(uint32_t(index), classId, out);
}

int32_t CBaseMesh::FindMaterialIndex(const char* name) const {
    for (uint32_t i = 0; i < materialCount; ++i) {
        if (strcasecmp(materials[i]->GetName(), name) == 0) return int32_t(i);
    }
    return -1;
}

void CBaseMesh::OnLostDevice() {
    if (vertexBuffer != nullptr) vertexBuffer->OnLostDevice();
    if (indexBuffer != nullptr) indexBuffer->OnLostDevice();
}

void CBaseMesh::OnResetDevice() {
    if (vertexBuffer != nullptr) vertexBuffer->OnResetDevice();
    if (indexBuffer != nullptr) indexBuffer->OnResetDevice();
}

void CBaseMesh::BuildMaterialTable() {
    delete[] materials;
    materialCount = uint32_t(GetChildCount());
    materials = new CMaterial*[materialCount];
    uint32_t i = 0;
    for (CBaseObject* child = GetChild(); child != nullptr; child = child->GetNextSibling()) {
        materials[i++] = static_cast<CMaterial*>(child);
    }
}

void CBaseMesh::SetEffect(ZethShaderFx* newEffect, uint32_t newFlags) {
    if (newEffect != nullptr) newEffect->AddRef();
    if (effect != nullptr) ZethShaderFx::Release(effect);
    effect = newEffect;
    shaderFlags = newFlags;
}

void CBaseMesh::SetMaterialTexture(uint32_t stage, CTexture* texture, int32_t materialIndex) {
    for (uint32_t i = 0; i < materialCount; ++i) {
        if (materialIndex < 0 || uint32_t(materialIndex) >= materialCount || uint32_t(materialIndex) == i) {
            materials[i]->SetTexture(stage, texture);
        }
    }
}

void CBaseMesh::SetMaterialAlpha(float alpha, int32_t materialIndex) {
    for (uint32_t i = 0; i < materialCount; ++i) {
        if (materialIndex < 0 || uint32_t(materialIndex) >= materialCount || uint32_t(materialIndex) == i) {
            materials[i]->SetAlpha(alpha);
        }
    }
}

void CBaseMesh::SetMorphTarget(CBaseMesh* other) {
    if (other == nullptr || vertexBuffer == nullptr || other->vertexBuffer == nullptr ||
        vertexBuffer->GetCount() != other->vertexBuffer->GetCount()) {
        return;
    }
    FullVertex* mine = vertexBuffer->GetBuffer();
    const FullVertex* theirs = other->vertexBuffer->GetBuffer();
    for (uint32_t v = 0; v < vertexBuffer->GetCount(); ++v) {
        std::memcpy(mine[v].position2, theirs[v].position, sizeof mine[v].position2);
        std::memcpy(mine[v].normal2, theirs[v].normal, sizeof mine[v].normal2);
    }
    static constexpr uint32_t kMorphForm[kVertexTypeCount] = {1, 1, 5, 6, 7, 5, 6, 7};
    if (vertexType < kVertexTypeCount) vertexType = kMorphForm[vertexType];
    vertexBuffer->Create(shaderVersionMajor, shaderVersionMinor, vertexType);
}

void CBaseMesh::GetBoundingSphere(CVector3* centre, float* radius) const {
    if (centre != nullptr) *centre = sphereCentre;
    if (radius != nullptr) *radius = sphereRadius;
}

void CBaseMesh::GetBoundingBox(CVector3* min, CVector3* max, CVolume* volume) const {
    if (min != nullptr) *min = boxMin;
    if (max != nullptr) *max = boxMax;
    if (volume != nullptr) *volume = boxVolume;
}

bool CBaseMesh::HitTest(const CVector3& start, const CVector3& end, bool wantNormal) {
    if (hitList == nullptr || vertexBuffer == nullptr || indexBuffer == nullptr) return false;
    hitList->Clear();
    CMatrix inverse;
    inverse.Inverse(worldMatrix);
    CVector3 ray[2];
    ray[0].TransformCoord(start, inverse);
    ray[1].TransformCoord(end, inverse);
    CVector3 direction;
    ray[1].Subtract(ray[0], direction);
    const float length = direction.Length();
    if (length == 0.0f) return false;
    direction.Scale(1.0f / length, 1.0f / length, 1.0f / length);
    const float rayMin[3] = {std::min(ray[0].x, ray[1].x), std::min(ray[0].y, ray[1].y), std::min(ray[0].z, ray[1].z)};
    const float rayMax[3] = {std::max(ray[0].x, ray[1].x), std::max(ray[0].y, ray[1].y), std::max(ray[0].z, ray[1].z)};
    const FullVertex* vertices = vertexBuffer->GetBuffer();
    const uint16_t* indices = indexBuffer->GetBuffer();
    const uint32_t vertexCount = vertexBuffer->GetCount();
    for (uint32_t t = 0; t < indexBuffer->GetCount() / 3; ++t) {
        CVector3 corner[3];
        bool inside = true;
        for (int k = 0; k < 3; ++k) {
            const uint16_t v = indices[t * 3 + k];
            if (v >= vertexCount) inside = false;
            else corner[k].Set(vertices[v].position[0], vertices[v].position[1], vertices[v].position[2]);
        }
        for (int axis = 0; axis < 3 && inside; ++axis) {
            auto at = [&](int k) { return axis == 0 ? corner[k].x : axis == 1 ? corner[k].y : corner[k].z; };
            const float low = std::min({at(0), at(1), at(2)}), high = std::max({at(0), at(1), at(2)});
            inside = high >= rayMin[axis] && low <= rayMax[axis];
        }
        float distance = 0.0f, u = 0.0f, v = 0.0f;
        if (!inside || !RayTriangleHit(ray, corner, &distance, &u, &v) || distance < 0.0f || distance > length) continue;
        CVector3 local = direction, world;
        local.Scale(distance, distance, distance);
        local += ray[0];
        world.TransformCoord(local, worldMatrix);
        CVector3 localNormal, worldNormal;  // zero unless asked for
        if (wantNormal) {
            CVector3 e1, e2;
            corner[1].Subtract(corner[0], e1);
            corner[2].Subtract(corner[0], e2);
            localNormal.Cross(e1, e2);
            localNormal.Normalize();
            worldNormal.TransformNormal(localNormal, worldMatrix);
        }
        hitList->Add(local, world, localNormal, worldNormal);
    }
    return hitList->GetCount() > 0;
}

bool CBaseMesh::GetHit(uint32_t index, CVector3* localPoint, CVector3* worldPoint, CVector3* localNormal,
                       CVector3* worldNormal) const {
    return hitList != nullptr && hitList->Get(index, localPoint, worldPoint, localNormal, worldNormal);
}

uint32_t CBaseMesh::GetHitCount() const { return hitList != nullptr ? hitList->GetCount() : 0; }

bool CBaseMesh::Optimize(d3dx::Mesh* mesh) {
    const uint32_t faces = mesh->GetNumFaces();
    uint32_t* adjacency = new uint32_t[size_t(faces) * 6];
    gfx::Result result = mesh->GenerateAdjacency(0.0f, adjacency);
    if (!gfx::Failed(result)) {
        result = mesh->OptimizeInplace(d3dx::optimize::kAttrSort, adjacency, adjacency + size_t(faces) * 3, nullptr,
                                       nullptr);
    }
    if (!gfx::Failed(result)) {
        result = mesh->OptimizeInplace(d3dx::optimize::kVertexCache, adjacency + size_t(faces) * 3, nullptr, nullptr,
                                       nullptr);
    }
    delete[] adjacency;
    if (gfx::Failed(result)) LogFailure("メッシュの最適化に失敗 [ %s ]", result);
    return !gfx::Failed(result);
}

bool CBaseMesh::Convert(d3dx::Mesh* mesh, uint32_t cloneFvf, bool hasColor) {
    d3dx::Mesh* clone = nullptr;
    gfx::Result result = mesh->CloneMeshFVF(mesh->GetOptions(), cloneFvf, Zeth3D::GetDevice(), &clone);
    if (gfx::Failed(result)) {
        LogFailure("メッシュのコンバートに失敗 [ %s ]", result);
        return false;
    }
    const uint32_t vertexCount = clone->GetNumVertices(), indexCount = clone->GetNumFaces() * 3;
    if (vertexBuffer != nullptr) vertexBuffer->Release();
    if (indexBuffer != nullptr) indexBuffer->Release();
    vertexBuffer = new CVertexBuffer(vertexCount);
    indexBuffer = new CIndexBuffer(indexCount);
    void* data = nullptr;
    result = clone->LockVertexBuffer(0, &data);
    if (gfx::Failed(result)) {
        LogFailure("頂点データのロックに失敗 [ %s ]", result);
        clone->Release();
        return false;
    }
    const d3dx::VertexLayout& layout = clone->Layout();
    FullVertex* out = vertexBuffer->GetBuffer();
    for (uint32_t v = 0; v < vertexCount; ++v) {
        const uint8_t* in = static_cast<const uint8_t*>(data) + size_t(v) * layout.size;
        FullVertex& full = out[v];
        std::memcpy(full.position, in + layout.position, 12);
        if (layout.normal >= 0) std::memcpy(full.normal, in + layout.normal, 12);
        std::memcpy(full.position2, full.position, 12);
        std::memcpy(full.normal2, full.normal, 12);
        if (layout.weights >= 0) std::memcpy(full.weights, in + layout.weights, 4 * std::min(layout.weightCount, 3u));
        if (layout.indices >= 0) std::memcpy(&full.indices, in + layout.indices, 4);
        full.color = 0xFFFFFFFFu;
        if (hasColor && layout.diffuse >= 0) std::memcpy(&full.color, in + layout.diffuse, 4);
        if (layout.texCount > 0) std::memcpy(full.uv, in + layout.tex[0], 8);
    }
    clone->UnlockVertexBuffer();
    // Bounds: a box flat on an axis is made 0.002 thick there.
    d3dx::Vector3 low{}, high{}, centre{};
    const auto* positions = reinterpret_cast<const d3dx::Vector3*>(out);
    d3dx::ComputeBoundingBox(positions, vertexCount, sizeof(FullVertex), &low, &high);
    float* lows[3] = {&low.x, &low.y, &low.z};
    float* highs[3] = {&high.x, &high.y, &high.z};
    for (int axis = 0; axis < 3; ++axis) {
        if (*lows[axis] == *highs[axis]) *lows[axis] -= 0.001f, *highs[axis] += 0.001f;
    }
    boxMin.Set(low.x, low.y, low.z);
    boxMax.Set(high.x, high.y, high.z);
    d3dx::ComputeBoundingSphere(positions, vertexCount, sizeof(FullVertex), &centre, &sphereRadius);
    sphereCentre.Set(centre.x, centre.y, centre.z);
    result = clone->LockIndexBuffer(0, &data);
    if (gfx::Failed(result)) {
        LogFailure("頂点データのロックに失敗 [ %s ]", result);
        clone->Release();
        return false;
    }
    std::memcpy(indexBuffer->GetBuffer(), data, size_t(indexCount) * 2);
    clone->UnlockIndexBuffer();
    clone->Release();
    ComputeNormals();
    if (!vertexBuffer->Create(shaderVersionMajor, shaderVersionMinor, vertexType) ||
        !indexBuffer->Create(shaderVersionMajor, shaderVersionMinor)) {
        return false;
    }
    CreateHitList();
    BuildMaterialTable();
    return true;
}

void CBaseMesh::SetShaderConstants(const CMatrix& world) {
    CMatrix view, projection;
    ZethCamera::GetMatrices(&projection, &view, nullptr, nullptr);
    const CMatrix worldView = world * view;
    if (shaderFlags & fxuse::kTransform) {
        const d3dx::Matrix m = ToMatrix(worldView * projection);
        ZethShaderFx::SetMatrix(effect, "mTransform", &m);
    }
    if (shaderFlags & fxuse::kWorld) {
        const d3dx::Matrix m = ToMatrix(world);
        ZethShaderFx::SetMatrix(effect, "mWorld", &m);
    }
    if (shaderFlags & fxuse::kWorldView) {
        const d3dx::Matrix m = ToMatrix(worldView);
        ZethShaderFx::SetMatrix(effect, "mWorldView", &m);
    }
    if (shaderFlags & fxuse::kFog) {
        float a = 0.0f, b = 0.0f;
        Zeth3D::GetFog(&a, &b, nullptr);
        // Fog never set leaves a = b: no fog rather than a division by zero.
        const float fog[2] = {b != a ? -1.0f / (b - a) : 0.0f, b != a ? b / (b - a) : 1.0f};
        ZethShaderFx::SetFloatArray(effect, "FogParameter", fog, 2);
        const d3dx::Vector4 column{worldView.m[0][2], worldView.m[1][2], worldView.m[2][2], worldView.m[3][2]};
        ZethShaderFx::SetVector(effect, "FogTransform", &column);
    }
    if (shaderFlags & fxuse::kSlide) {
        ZethShaderFx::SetFloat(effect, "SlideTextureU", slideU);
        ZethShaderFx::SetFloat(effect, "SlideTextureV", slideV);
    }
    if (shaderFlags & fxuse::kExtrusion) ZethShaderFx::SetFloat(effect, "VertexExtrusion", extrusion);
    if (shaderFlags & fxuse::kMorphWeight) ZethShaderFx::SetFloat(effect, "MorphWeight", morphWeight);
    CMatrix inverse;
    if (shaderFlags & (fxuse::kCameraPosition | fxuse::kLights)) inverse.Inverse(world);
    if (shaderFlags & fxuse::kCameraPosition) {
        float position[3];
        ZethCamera::GetPosition(-1, position);
        CVector3 local;
        local.TransformCoord(CVector3(position[0], position[1], position[2]), inverse);
        const d3dx::Vector4 camera{local.x, local.y, local.z, 1.0f};
        ZethShaderFx::SetVector(effect, "vCameraPos", &camera);
    }
    if (shaderFlags & fxuse::kLights) {
        ZethLight::LightBlock block;
        ZethLight::BuildLightBlock(&block);
        CVector3 translation, scale;
        CMatrix rotation, inverseRotation;
        world.Decompose(&translation, &scale, &rotation);
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) inverseRotation.m[r][c] = rotation.m[c][r];
        }
        bool use[4], directional[4];
        d3dx::Vector4 colour[4], parameter[4];
        for (int i = 0; i < 4; ++i) {
            use[i] = block.isUse[i] != 0;
            directional[i] = block.isDirectional[i] != 0;
            colour[i] = d3dx::Vector4{block.color[i][0], block.color[i][1], block.color[i][2], block.color[i][3]};
            CVector3 local;
            if (use[i] && directional[i]) {
                local.TransformNormal(CVector3(block.direction[i][0], block.direction[i][1], block.direction[i][2]),
                                      inverseRotation);
                if (local.Length() > 0.0f) local.Normalize();
            } else if (use[i]) {
                local.TransformCoord(CVector3(block.position[i][0], block.position[i][1], block.position[i][2]), inverse);
            }
            parameter[i] = d3dx::Vector4{local.x, local.y, local.z, use[i] ? 1.0f : 0.0f};
        }
        const d3dx::Vector4 ambient{block.ambient[0], block.ambient[1], block.ambient[2], block.ambient[3]};
        const d3dx::Vector4 specular{block.specular[0], block.specular[1], block.specular[2], block.specular[3]};
        ZethShaderFx::SetVector(effect, "LightAmbient", &ambient);
        ZethShaderFx::SetVector(effect, "LightSpecular", &specular);
        ZethShaderFx::SetBoolArray(effect, "LightIsUse", use, 4);
        ZethShaderFx::SetBoolArray(effect, "LightIsDirectional", directional, 4);
        ZethShaderFx::SetFloatArray(effect, "LightAttenuation", block.attenuation, 4);
        ZethShaderFx::SetVectorArray(effect, "LightColor", colour, 4);
        ZethShaderFx::SetVectorArray(effect, "LightParameter", parameter, 4);
    }
}

uint32_t CBaseMesh::BeginDraw(const CMatrix& world) {
    vertexBuffer->SetDevice();
    indexBuffer->SetDevice();
    Zeth3D::SelectVertexProcessing(shaderVersionMajor, shaderVersionMinor);
    SetShaderConstants(world);
    uint32_t passes = 0;
    return ZethShaderFx::Begin(effect, &passes) ? passes : 0;
}

uint32_t CBaseMesh::DrawRange(const d3dx::AttributeRange& range) {
    return range.attribId < materialCount ? materials[range.attribId]->Render(shaderFlags, effect, range) : 0;
}

}  // namespace LibModel
