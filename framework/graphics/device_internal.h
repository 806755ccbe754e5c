// The module state of Zeth3D, shared by its files (device, states, inventory).
#pragma once

#include <string>
#include <vector>

#include "framework/graphics/device.h"

namespace Zeth3D::internal {

struct FormatList {
    std::vector<gfx::Format> formats;
    bool Has(gfx::Format format) const;
};

struct DeviceState {
    gfx::Direct3D* direct3D = nullptr;
    gfx::Device* device = nullptr;
    gfx::Surface* backBuffer = nullptr;
    std::string description, driver, driverVersion;
    gfx::DisplayMode currentMode{};
    std::vector<gfx::DisplayMode> modes;  // at most 256, one per width, height and format
    gfx::DisplayMode mode16{};
    gfx::DisplayMode mode32{};
    FormatList textureFormats, renderTargetFormats, depthFormats;
    gfx::PresentParameters windowedParameters{};
    gfx::PresentParameters fullScreenParameters{};
    bool fullColor = false;
    DeviceInformation information{};
    // Drawing-state caches; 0xFFFFFFFF is an unknown value.
    uint32_t renderStates[gfx::rs::kCount];
    uint32_t stageStates[4][gfx::tss::kCount];
    uint32_t samplerStates[4][gfx::samp::kCount];
    RenderStateBlock defaultBlock{};
    gfx::Viewport viewport{};
    float fog[3] = {};
    bool backBufferLocked = false;
    void* lockedBits = nullptr;
    uint32_t lockedPitch = 0;
    gfx::Format lockedFormat = 0;
    uint32_t lockedWidth = 0, lockedHeight = 0;
    uint32_t sceneDepth = 0;
    CBaseImage* renderTarget = nullptr;
    bool resetFailureReported = false;
};

DeviceState& State();

// Adapter inventory and capability logging of Initialize and Start.
void InventoryAdapter();
void ReadCapabilities(const gfx::Caps& caps, DeviceInformation& out);
void LogCapabilities();
void LogDeviceFigures();

}  // namespace Zeth3D::internal
