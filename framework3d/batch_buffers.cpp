#include "framework3d/batch_buffers.h"

#include <cstring>

#include "framework/app/log.h"
#include "framework/graphics/device.h"

namespace batch {

bool CreateBuffers(CDeviceObject& object, const std::function<gfx::Result()>& createBuffer,
                   const std::function<bool()>& allocateCopy, uint32_t capacity, uint32_t vertexSize) {
    ZethLog::Print("描画用頂点バッファ生成 : ");
    if (gfx::Result result = createBuffer(); gfx::Failed(result)) {
        ZethLog::PrintError("頂点バッファの生成に失敗 [ %s ]", object.GetErrorString(result));
        ZethLog::PrintBreak();
        return false;
    }
    ZethLog::Print("頂点保存用バッファ生成 { ");
    ZethLog::PrintBreak();
    ZethLog::Print("　　");
    bool allocated = allocateCopy();
    ZethLog::Print(" } ");
    if (!allocated) {
        ZethLog::PrintError("頂点用メモリの確保に失敗");
        ZethLog::PrintBreak();
        return false;
    }
    ZethLog::Print(" VERTEX COUNT [ %4d ] : VERTEX SIZE [ %3dBYTE ] : ", static_cast<int>(capacity),
                   static_cast<int>(vertexSize));
    return true;
}

bool RestoreBuffer(CDeviceObject& object, const std::function<gfx::Result()>& createBuffer) {
    gfx::Result result = createBuffer();
    if (gfx::Succeeded(result)) return true;
    ZethLog::PrintError("頂点バッファのリストアに失敗 [ %s ]", object.GetErrorString(result));
    ZethLog::PrintBreak();
    return false;
}

void Upload(gfx::VertexBuffer* buffer, const void* queue, uint32_t bytes) {
    void* locked = nullptr;
    if (buffer == nullptr || queue == nullptr || bytes == 0) return;
    if (gfx::Failed(buffer->Lock(0, bytes, &locked, gfx::lock::kDiscard))) return;
    std::memcpy(locked, queue, bytes);
    buffer->Unlock();
}

bool Draw(gfx::Device* device, gfx::VertexBuffer* buffer, uint32_t fvf, uint32_t stride, uint32_t type, uint32_t count) {
    if (device == nullptr || buffer == nullptr || count == 0) return false;
    Zeth3D::SelectVertexProcessing(0, 0);
    device->SetFVF(fvf);
    device->SetStreamSource(0, buffer, 0, stride);
    device->DrawPrimitive(type, 0, count);
    return true;
}

}  // namespace batch
