#include "framework3d/pools.h"

#include "framework/core/lock.h"
#include "framework/graphics/extension3d.h"

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
};

// Slots of the model and grid-mesh pools: a reference count per record, since the
// records these pools will hold are reference-counted objects.
struct CountedRecord {
    int32_t references;
};

Pool<ZethCamera::Record> g_cameras;
ZethLight::Record g_lights[ZethLight::kRecords];
Pool<CountedRecord> g_models;
Pool<CountedRecord> g_gridMeshes;
CCriticalSection g_gridMeshLock;

}  // namespace

namespace ZethCamera {
bool Initialize() {
    if (!g_cameras.Allocate(kRecords)) return false;
    for (int i = 0; i < kRecords; ++i) g_cameras.records[i] = Record{false, CMatrix{}, CMatrix{}};
    return true;
}
void Finalize() { g_cameras.Free(); }
const Record* Records() { return g_cameras.records; }
}  // namespace ZethCamera

namespace ZethLight {
bool Initialize() {
    for (Record& light : g_lights) light = Record{{1.0f, 1.0f, 1.0f}, 100.0f, {0.1f, 0.1f, 0.1f}};
    return true;
}
const Record* Records() { return g_lights; }
}  // namespace ZethLight

namespace ZethModel {
bool Initialize() { return g_models.Allocate(kRecords) || true; }
void Finalize() { g_models.Free(); }
}  // namespace ZethModel

namespace ZethGridMesh {
bool Initialize() { return g_gridMeshes.Allocate(kRecords) || true; }
void Finalize() {
    CLockScope scope(g_gridMeshLock);
    g_gridMeshes.Free();
}
// No grid mesh holds device buffers until the 3D side creates them.
void OnLostDevice() { CLockScope scope(g_gridMeshLock); }
void OnResetDevice() { CLockScope scope(g_gridMeshLock); }
}  // namespace ZethGridMesh

namespace {

bool InitializePools() {
    return ZethCamera::Initialize() && ZethLight::Initialize() && ZethModel::Initialize() &&
           ZethGridMesh::Initialize();
}

void ReleaseModelsAndCameras() {
    ZethModel::Finalize();
    ZethCamera::Finalize();
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
});

}  // namespace
