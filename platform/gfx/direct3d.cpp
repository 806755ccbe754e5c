// The device library object (in progress).
#include "platform/gfx/device.h"
#include "platform/gfx/image.h"

namespace platform::gfx {

Direct3D* CreateDirect3D(uint32_t) { return nullptr; }

uint32_t VertexSizeOfFvf(uint32_t) { return 0; }
uint32_t BytesPerPixel(Format) { return 0; }

}  // namespace platform::gfx
