#include "framework3d/pools.h"

#include <cstddef>
#include <cstring>

#include "framework/app/log.h"
#include "framework/core/lock.h"
#include "framework/graphics/device.h"
#include "framework/graphics/extension3d.h"
#include "framework/graphics/texture.h"
#include "framework3d/allocate_hierarchy.h"
#include "framework3d/animation.h"
#include "framework3d/pools_internal.h"

namespace gfx = platform::gfx;

namespace {

// A pool is one zero-filled block of fixed-size records from the framework's allocator.
template <typename Record>
struct Pool {
    Record* records = nullptr;

    bool Allocate(int count) {
        records = static_cast<Record*>(Zeth::MemoryAlloc(static_cast<uint32_t>(sizeof(Record)) * count));
        return records != nullptr;
    }
    void Free() {
        Zeth::MemoryFree(records);
        records = nullptr;
    }
    // The record of a handle in use; null for a handle outside the pool or a free record.
    Record* InUse(int32_t handle, int count) const {
        if (records == nullptr || handle < 0 || handle >= count || !records[handle].inUse) return nullptr;
        return &records[handle];
    }
};

template <typename T>
void ReleaseDeviceObject(T** object) {
    if (*object != nullptr) (*object)->Release();
    *object = nullptr;
}

Pool<ZethGridMesh::Record> g_gridMeshes;
CCriticalSection g_gridMeshLock;
Pool<ZethModel::Record> g_models;
gfx::Light g_lights[ZethLight::kRecords];
bool g_lightEnabled[ZethLight::kRecords];
float g_ambient[4];
Pool<ZethCamera::Record> g_cameras;
CCriticalSection g_cameraLock;

// The current camera.
struct CurrentCamera {
    int32_t handle = -1;
    float position[3] = {};
    CMatrix view, projection, viewProjection, inverseViewProjection;
    CVolume frustum{};
};
CurrentCamera g_current;

}  // namespace

namespace ZethGridMesh {
namespace {

void FreeQuadTree(QuadNode* node) {
    if (node == nullptr) return;
    for (QuadNode* child : node->children) FreeQuadTree(child);
    Zeth::MemoryFree(node);
}

void DestroyRecord(Record& record) {
    for (uint32_t s = 0; s < record.textureSetCount && record.textureSets != nullptr; ++s) {
        for (CTexture* texture : record.textureSets[s].textures) ZethTexture::Release(texture);
    }
    if (record.effect != nullptr) ZethShaderFx::Release(record.effect);
    FreeQuadTree(record.quadTree);
    const uint32_t blocks = record.blocks != nullptr ? record.blocksPerSide * record.blocksPerSide : 0;
    for (uint32_t b = 0; b < blocks; ++b) {
        Block& block = record.blocks[b];
        ReleaseDeviceObject(&block.vertexBuffer);
        ReleaseDeviceObject(&block.indexBuffer);
        ReleaseDeviceObject(&block.declaration);
        Zeth::MemoryFree(block.vertices);
        Zeth::MemoryFree(block.indices);
        for (void* extra : block.extra) Zeth::MemoryFree(extra);
    }
    Zeth::MemoryFree(record.textureSets);
    Zeth::MemoryFree(record.auxData);
    Zeth::MemoryFree(record.blocks);
    record = Record{};
}

namespace dt = gfx::decltype_;
namespace du = gfx::declusage;

// The device layouts: without a tangent frame 36 bytes, with it the whole source vertex.
constexpr gfx::VertexElement kPlainLayout[] = {
    {0, 0, dt::kFloat3, 0, du::kPosition, 0}, {0, 12, dt::kFloat3, 0, du::kNormal, 0},
    {0, 24, dt::kColor, 0, du::kColor, 0},    {0, 28, dt::kFloat2, 0, du::kTexCoord, 0},
    {0xFF, 0, dt::kUnused, 0, 0, 0}};
constexpr gfx::VertexElement kTangentLayout[] = {
    {0, 0, dt::kFloat3, 0, du::kPosition, 0}, {0, 12, dt::kFloat3, 0, du::kNormal, 0},
    {0, 24, dt::kFloat3, 0, du::kTangent, 0}, {0, 36, dt::kFloat3, 0, du::kBinormal, 0},
    {0, 48, dt::kColor, 0, du::kColor, 0},    {0, 52, dt::kFloat2, 0, du::kTexCoord, 0},
    {0xFF, 0, dt::kUnused, 0, 0, 0}};

void CopyPlainVertex(uint8_t* out, const SourceVertex& in) {
    std::memcpy(out, in.position, 12);
    std::memcpy(out + 12, in.normal, 12);
    std::memcpy(out + 24, &in.color, 4);
    std::memcpy(out + 28, in.uv, 8);
}

}  // namespace

bool RebuildBlock(const Record& record, uint32_t blockIndex) {
    Block& block = record.blocks[blockIndex];
    const int x = int(blockIndex % record.blocksPerSide), y = int(blockIndex / record.blocksPerSide);
    ReleaseDeviceObject(&block.indexBuffer);
    ReleaseDeviceObject(&block.vertexBuffer);
    ReleaseDeviceObject(&block.declaration);
    const bool software = Zeth3D::NeedSoftwareVertexProcessing(record.shaderVersionMajor, record.shaderVersionMinor);
    const uint32_t usage = software ? gfx::usage::kWriteOnly | gfx::usage::kSoftwareProcessing
                                    : gfx::usage::kDynamic | gfx::usage::kWriteOnly;
    const uint32_t pool = software ? gfx::pool::kSystemMem : gfx::pool::kDefault;
    const uint32_t stride = record.hasTangentFrame ? sizeof(SourceVertex) : 36;
    gfx::Device* device = Zeth3D::GetDevice();
    auto fail = [&](const char* message, gfx::Result result, bool withBlock) {
        ReleaseDeviceObject(&block.indexBuffer);
        ReleaseDeviceObject(&block.vertexBuffer);
        ReleaseDeviceObject(&block.declaration);
        if (withBlock) {
            ZethLog::PrintError(message, x, y, Zeth3D::GetErrorString(result));
        } else {
            ZethLog::PrintError(message, Zeth3D::GetErrorString(result));
        }
        ZethLog::PrintBreak();
        return false;
    };
    gfx::Result result =
        device->CreateVertexDeclaration(record.hasTangentFrame ? kTangentLayout : kPlainLayout, &block.declaration);
    if (gfx::Failed(result)) return fail("頂点シェーダ宣言の生成に失敗 [ %s ]", result, false);
    result = device->CreateVertexBuffer(block.vertexCount * stride, usage, 0, pool, &block.vertexBuffer);
    if (gfx::Failed(result)) return fail("頂点バッファの生成に失敗 (%d,%d) [ %s ]", result, true);
    void* data = nullptr;
    result = block.vertexBuffer->Lock(0, 0, &data, 0);
    if (gfx::Failed(result)) return fail("頂点バッファのロックに失敗 (%d,%d) [ %s ]", result, true);
    for (uint32_t v = 0; v < block.vertexCount; ++v) {
        uint8_t* out = static_cast<uint8_t*>(data) + size_t(v) * stride;
        if (record.hasTangentFrame) {
            std::memcpy(out, &block.vertices[v], sizeof(SourceVertex));
        } else {
            CopyPlainVertex(out, block.vertices[v]);
        }
    }
    block.vertexBuffer->Unlock();
    result = device->CreateIndexBuffer(block.indexCount * 2, usage & ~gfx::usage::kSoftwareProcessing,
                                       gfx::fmt::kIndex16, pool, &block.indexBuffer);
    if (gfx::Failed(result)) return fail("インデックスバッファの生成に失敗 (%d,%d) [ %s ]", result, true);
    result = block.indexBuffer->Lock(0, 0, &data, 0);
    if (gfx::Failed(result)) return fail("インデックスバッファのロックに失敗 (%d,%d) [ %s ]", result, true);
    std::memcpy(data, block.indices, size_t(block.indexCount) * 2);
    block.indexBuffer->Unlock();
    return true;
}

bool Initialize() { return g_gridMeshes.Allocate(kRecords); }

void Finalize() {
    CLockScope scope(g_gridMeshLock);
    for (int i = 0; g_gridMeshes.records != nullptr && i < kRecords; ++i) {
        if (g_gridMeshes.records[i].inUse) {
            g_gridMeshes.records[i].refCount = 1;
            Release(i);
        }
    }
    g_gridMeshes.Free();
}

bool Release(int32_t handle) {
    Record* record = g_gridMeshes.InUse(handle, kRecords);
    if (record == nullptr) return false;
    if (record->refCount-- != 1) return false;
    DestroyRecord(*record);
    return true;
}

Record* Records() { return g_gridMeshes.records; }

void OnLostDevice() {
    CLockScope scope(g_gridMeshLock);
    for (int i = 0; g_gridMeshes.records != nullptr && i < kRecords; ++i) {
        Record& record = g_gridMeshes.records[i];
        const uint32_t blocks = record.blocks != nullptr ? record.blocksPerSide * record.blocksPerSide : 0;
        for (uint32_t b = 0; b < blocks; ++b) {
            ReleaseDeviceObject(&record.blocks[b].vertexBuffer);
            ReleaseDeviceObject(&record.blocks[b].indexBuffer);
        }
    }
}

void OnResetDevice() {
    CLockScope scope(g_gridMeshLock);
    for (int i = 0; g_gridMeshes.records != nullptr && i < kRecords; ++i) {
        Record& record = g_gridMeshes.records[i];
        const uint32_t blocks = record.blocks != nullptr ? record.blocksPerSide * record.blocksPerSide : 0;
        for (uint32_t b = 0; b < blocks; ++b) {
            if (record.blocks[b].vertices != nullptr && record.blocks[b].vertexCount > 0) RebuildBlock(record, b);
        }
    }
}

}  // namespace ZethGridMesh

namespace ZethModel {

bool Initialize() {
    const bool allocated = g_models.Allocate(kRecords);
    ZethLog::PrintBreak();
    return allocated;
}

void Finalize() {
    for (int i = 0; g_models.records != nullptr && i < kRecords; ++i) {
        if (g_models.records[i].inUse) {
            g_models.records[i].refCount = 1;
            Release(i);
        }
    }
    g_models.Free();
}

bool Release(int32_t handle) {
    Record* record = g_models.InUse(handle, kRecords);
    if (record == nullptr) return false;
    if (--record->refCount > 0) return true;
    Zeth::MemoryFree(record->extra);
    if (record->rootFrame != nullptr) {
        CAllocateHierarchy hierarchy;
        platform::d3dx::FrameDestroy(record->rootFrame, &hierarchy);
    }
    if (record->animationController != nullptr) record->animationController->Release();
    *record = Record{};
    return true;
}

Record* Records() { return g_models.records; }

}  // namespace ZethModel

namespace ZethLight {

bool Initialize() {
    for (int i = 0; i < kRecords; ++i) {
        g_lights[i] = gfx::Light{};
        g_lights[i].ambient = gfx::ColorValue{1.0f, 1.0f, 1.0f, 0.0f};
        g_lights[i].range = 100.0f;
        g_lights[i].attenuation0 = g_lights[i].attenuation1 = g_lights[i].attenuation2 = 0.1f;
        g_lightEnabled[i] = false;
    }
    std::memset(g_ambient, 0, sizeof g_ambient);
    return true;
}

void BuildLightBlock(LightBlock* out) {
    *out = LightBlock{};
    for (int i = 0; i < kRecords; ++i) {
        if (!g_lightEnabled[i]) continue;
        const gfx::Light& light = g_lights[i];
        out->isUse[i] = 1;
        out->isDirectional[i] = light.type == gfx::light::kDirectional ? 1 : 0;
        out->attenuation[i] = light.attenuation1;
        const float position[4] = {light.position.x, light.position.y, light.position.z, 1.0f};
        const float direction[4] = {light.direction.x, light.direction.y, light.direction.z, 1.0f};
        const float color[4] = {light.diffuse.r, light.diffuse.g, light.diffuse.b, light.diffuse.a};
        std::memcpy(out->position[i], position, sizeof position);
        std::memcpy(out->direction[i], direction, sizeof direction);
        std::memcpy(out->color[i], color, sizeof color);
    }
    if (g_lightEnabled[0]) {
        const gfx::ColorValue& s = g_lights[0].specular;
        const float specular[4] = {s.r, s.g, s.b, s.a};
        std::memcpy(out->specular, specular, sizeof specular);
    }
    std::memcpy(out->ambient, g_ambient, sizeof g_ambient);
}

void SetLight(int32_t index, const gfx::Light& light, bool enable) {
    if (index < 0 || index >= kRecords) return;
    g_lights[index] = light;
    g_lightEnabled[index] = enable;
}

void SetAmbient(const float colour[4]) { std::memcpy(g_ambient, colour, sizeof g_ambient); }

const gfx::Light* GetLight(int32_t index) { return index >= 0 && index < kRecords ? &g_lights[index] : nullptr; }

}  // namespace ZethLight

namespace ZethCamera {

bool Initialize() {
    CLockScope scope(g_cameraLock);
    if (!g_cameras.Allocate(kRecords)) return false;
    for (int i = 0; i < kRecords; ++i) g_cameras.records[i] = Record{};
    g_current = CurrentCamera{};
    return true;
}

void Finalize() {
    CLockScope scope(g_cameraLock);
    for (int i = 0; g_cameras.records != nullptr && i < kRecords; ++i) {
        Record& record = g_cameras.records[i];
        if (record.inUse && --record.refCount == 0) record = Record{};
    }
    g_cameras.Free();
    g_current.handle = -1;
}

void SetActive(int32_t handle) {
    CLockScope scope(g_cameraLock);
    if (g_cameras.records == nullptr || handle < 0 || handle >= kRecords) return;
    const Record& camera = g_cameras.records[handle];
    g_current.handle = handle;
    std::memcpy(g_current.position, camera.position, sizeof g_current.position);
    g_current.view = camera.view;
    g_current.projection = camera.projection;
    g_current.viewProjection = camera.viewProjection;
    g_current.inverseViewProjection.Inverse(camera.viewProjection);
    MakeFrustumVolume(g_current.frustum, CVector3(-1.0f, -1.0f, 0.0f), CVector3(1.0f, 1.0f, 1.0f),
                      g_current.inverseViewProjection);
    if (gfx::Device* device = Zeth3D::GetDevice()) {
        device->SetTransform(gfx::transform::kView, reinterpret_cast<const gfx::Matrix*>(g_current.view.m));
        device->SetTransform(gfx::transform::kProjection, reinterpret_cast<const gfx::Matrix*>(g_current.projection.m));
    }
}

int32_t GetActive() { return g_current.handle; }

void GetMatrices(CMatrix* projection, CMatrix* view, CMatrix* viewProjection, CMatrix* inverseViewProjection) {
    if (projection != nullptr) *projection = g_current.projection;
    if (view != nullptr) *view = g_current.view;
    if (viewProjection != nullptr) *viewProjection = g_current.viewProjection;
    if (inverseViewProjection != nullptr) *inverseViewProjection = g_current.inverseViewProjection;
}

void GetPosition(int32_t handle, float out[3]) {
    if (g_cameras.records != nullptr && handle >= 0 && handle < kRecords) {
        const CVector3& position = g_cameras.records[handle].transform.position;
        out[0] = position.x, out[1] = position.y, out[2] = position.z;
        return;
    }
    std::memcpy(out, g_current.position, sizeof g_current.position);
}

bool IsVisible(const CVolume& volume) { return VolumeTest(volume, g_current.frustum); }

Record* Records() { return g_cameras.records; }

}  // namespace ZethCamera

namespace {

bool InitializePools() {
    return ZethCamera::Initialize() && ZethLight::Initialize() && ZethModel::Initialize() &&
           ZethGridMesh::Initialize();
}

void ReleaseModelsAndCameras() {
    ZethModel::Finalize();
    ZethCamera::Finalize();
}

// After start-up and every reset the device gets the active camera's view and projection again.
void ApplyActiveCamera() {
    if (ZethCamera::GetActive() != -1) ZethCamera::SetActive(ZethCamera::GetActive());
}

const Zeth::Extension3DRegistration kRegistration({
    .initializeAnimations = ZethAnimation::Initialize,
    .initializePools = InitializePools,
    .finalizeAnimations = ZethAnimation::Finalize,
    .releaseGridMeshes = ZethGridMesh::Finalize,
    .releaseModelsAndCameras = ReleaseModelsAndCameras,
    .releaseEffects = ZethShaderFx::Finalize,
    .loseGridMeshes = ZethGridMesh::OnLostDevice,
    .resetGridMeshes = ZethGridMesh::OnResetDevice,
    .loseEffects = ZethShaderFx::OnLostDevice,
    .resetEffects = ZethShaderFx::OnResetDevice,
    .applyActiveCamera = ApplyActiveCamera,
});

}  // namespace
