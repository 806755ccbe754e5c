// The creation and restoring steps every 3D-side vertex batch shares, with their log lines: a
// dynamic write-only vertex buffer in the default pool and a system-memory copy of the queue.
#pragma once

#include <cstdint>
#include <functional>

#include "framework/graphics/device_object.h"

namespace batch {

constexpr uint32_t kUsage = gfx::usage::kDynamic | gfx::usage::kWriteOnly;

// Makes the buffer (createBuffer) and the copy (allocateCopy), logging each; false after
// logging the first failure.
bool CreateBuffers(CDeviceObject& object, const std::function<gfx::Result()>& createBuffer,
                   const std::function<bool()>& allocateCopy, uint32_t capacity, uint32_t vertexSize);
// Makes the buffer again after a reset; false after logging the failure.
bool RestoreBuffer(CDeviceObject& object, const std::function<gfx::Result()>& createBuffer);
// Copies bytes of the queue into the buffer with a discarding lock; nothing without a buffer
// or queue, or when the lock fails.
void Upload(gfx::VertexBuffer* buffer, const void* queue, uint32_t bytes);
// Draws count primitives of the type from the buffer (nothing for count 0 or no buffer).
bool Draw(gfx::Device* device, gfx::VertexBuffer* buffer, uint32_t fvf, uint32_t stride, uint32_t type, uint32_t count);

}  // namespace batch
