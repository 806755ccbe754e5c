#include "framework3d/primitive3d.h"

#include <cstring>

#include "framework/app/log.h"
#include "framework/app/zeth.h"
#include "framework/core/lock.h"
#include "framework3d/batch_buffers.h"

namespace {

// Vertex types 0-4: position and colour, then 0 to 4 texture coordinate pairs.
struct VertexType {
    uint32_t size;
    uint32_t fvf;
};
constexpr VertexType kVertexTypes[5] = {{16, 0x042}, {24, 0x142}, {32, 0x242}, {40, 0x342}, {48, 0x442}};

}  // namespace

CBasePrimitive3D::~CBasePrimitive3D() {
    if (vertexBuffer_ != nullptr) vertexBuffer_->Release();
    Zeth::MemoryFree(vertices_);
}

gfx::Result CBasePrimitive3D::CreateVertexBuffer() {
    gfx::Device* device = GetDevicePointer();
    if (device == nullptr) return gfx::result::kInvalidCall;
    gfx::Result result = device->CreateVertexBuffer(bufferBytes_, batch::kUsage, fvf_, gfx::pool::kDefault, &vertexBuffer_);
    if (gfx::Failed(result)) vertexBuffer_ = nullptr;
    return result;
}

bool CBasePrimitive3D::CreateBatch(uint32_t capacity, uint32_t type) {
    if (type > 4) return false;
    uint64_t bytes = uint64_t{capacity} * kVertexTypes[type].size;
    if (bytes == 0 || bytes > UINT32_MAX) return false;
    vertexType_ = type;
    vertexSize_ = kVertexTypes[type].size;
    fvf_ = kVertexTypes[type].fvf;
    bufferBytes_ = static_cast<uint32_t>(bytes);
    capacity_ = capacity;
    queued_ = queuedBytes_ = requested_ = 0;
    return batch::CreateBuffers(
        *this, [this] { return CreateVertexBuffer(); },
        [this] { return (vertices_ = Zeth::MemoryAlloc(bufferBytes_)) != nullptr; }, capacity, vertexSize_);
}

void CBasePrimitive3D::OnLostDevice() {
    if (vertexBuffer_ != nullptr) vertexBuffer_->Release();
    vertexBuffer_ = nullptr;
}

void CBasePrimitive3D::OnResetDevice() {
    if (vertices_ == nullptr || vertexBuffer_ != nullptr) return;
    if (batch::RestoreBuffer(*this, [this] { return CreateVertexBuffer(); })) End();
}

bool CBasePrimitive3D::Queue(const Vertex3D* vertices, uint32_t n, bool keepLastFree) {
    requested_ += n;
    if (vertices_ == nullptr || (keepLastFree ? queued_ + n >= capacity_ : queued_ + n > capacity_)) return false;
    auto* out = static_cast<uint8_t*>(vertices_) + queuedBytes_;
    for (uint32_t i = 0; i < n; ++i) std::memcpy(out + i * vertexSize_, &vertices[i], vertexSize_);
    queued_ += n;
    queuedBytes_ += n * vertexSize_;
    return true;
}

void CBasePrimitive3D::Upload() { batch::Upload(vertexBuffer_, vertices_, queuedBytes_); }

void CBasePrimitive3D::Draw(uint32_t primitiveType, uint32_t count) {
    gfx::Device* device = GetDevicePointer();
    if (device == nullptr || vertexBuffer_ == nullptr || count == 0) return;
    gfx::Matrix world;
    std::memcpy(world.m, transform.world.m, sizeof world.m);
    device->SetTransform(gfx::transform::kWorld, &world);
    batch::Draw(device, vertexBuffer_, fvf_, vertexSize_, primitiveType, count);
    Zeth::AddPolygonCount3D(count);
}

CPrimitive3D::~CPrimitive3D() {
    if (quiet_) return;
    ZethLog::PrintError("CPrimitive3D Destruct [%s]", GetName());
    ZethLog::PrintBreak();
}

bool CPrimitive3D::Create(uint32_t capacity, uint32_t type) { return CreateBatch(capacity, type); }

bool CPrimitive3D::Push(const Vertex3D* triangles, uint32_t triangleCount) {
    for (uint32_t i = 0; i < triangleCount; ++i) {
        if (!Queue(triangles + 3 * i, 3, false)) return false;
    }
    return true;
}

void CPrimitive3D::Begin() { queued_ = queuedBytes_ = requested_ = 0; }

void CPrimitive3D::End() { Upload(); }

void CPrimitive3D::Rendering() { Draw(gfx::prim::kTriangleList, queued_ / 3); }

bool CList3D::Create(uint32_t capacity) { return CreateBatch(capacity, 0); }

bool CList3D::Push(const Vertex3D* vertices, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        if (!Queue(vertices + perPrimitive_ * i, perPrimitive_, true)) return false;
    }
    return true;
}

void CList3D::Begin() { queued_ = queuedBytes_ = 0; }

void CList3D::End() { Upload(); }

void CList3D::Rendering() { Draw(primitiveType_, queued_ / perPrimitive_); }

CLine3D::CLine3D(CBaseManager* manager) : CList3D(manager, 2, gfx::prim::kLineList) {}

CLine3D::~CLine3D() {
    ZethLog::PrintError("CLine3D Destruct");
    ZethLog::PrintBreak();
}

CPoint3D::CPoint3D(CBaseManager* manager) : CList3D(manager, 1, gfx::prim::kPointList) {}

CPoint3D::~CPoint3D() {
    ZethLog::PrintError("CPoint3D Destruct [%s]", GetName());
    ZethLog::PrintBreak();
}
