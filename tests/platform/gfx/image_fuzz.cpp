// Fuzz target: image files of any content through the loader into a surface.
#include <cstddef>
#include <cstdint>

#include "platform/gfx/device.h"
#include "platform/gfx/image.h"

using namespace platform::gfx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MemorySink sink;
    static Device* device = [] {
        SetPresentSink(&sink);
        Direct3D* d3d = CreateDirect3D(kSdkVersion);
        PresentParameters pp{};
        pp.windowed = true;
        Device* created = nullptr;
        d3d->CreateDevice(0, devtype::kHal, nullptr, 0, &pp, &created);
        d3d->Release();
        return created;
    }();
    ImageInfo info;
    if (Failed(GetImageInfoFromFileInMemory(data, size, &info))) return 0;
    Surface* surface = nullptr;
    if (Failed(device->CreateOffscreenPlainSurface(64, 64, fmt::kA4R4G4B4, pool::kSystemMem,
                                                   &surface))) {
        return 0;
    }
    LoadSurfaceFromFileInMemory(surface, nullptr, nullptr, data, size, nullptr,
                                imagefilter::kTriangle, 0xFF000000, &info);
    surface->Release();
    return 0;
}
