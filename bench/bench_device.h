// What the software device's benchmarks share: the framework's one-texture vertex and a device
// whose frames are presented to memory.
#pragma once

#include "platform/gfx/device.h"

namespace bench {

struct Vertex {
    float x, y, z, rhw;
    uint32_t color;
    float u, v;
};
constexpr uint32_t kFvf = platform::gfx::fvf::kXyzRhw | platform::gfx::fvf::kDiffuse | platform::gfx::fvf::kTex1;

// A device with a 640 x 480 back buffer, presenting into the sink, with a depth buffer when asked.
inline platform::gfx::Device* CreateDevice(platform::gfx::MemorySink* sink, bool depth) {
    using namespace platform::gfx;
    SetPresentSink(sink);
    Direct3D* d3d = CreateDirect3D(kSdkVersion);
    PresentParameters pp{};
    pp.backBufferWidth = 640;
    pp.backBufferHeight = 480;
    pp.backBufferFormat = fmt::kX8R8G8B8;
    pp.windowed = true;
    pp.enableAutoDepthStencil = depth;
    pp.autoDepthStencilFormat = fmt::kD24S8;
    Device* device = nullptr;
    d3d->CreateDevice(0, devtype::kHal, nullptr, create::kMixedVertexProcessing, &pp, &device);
    d3d->Release();
    return device;
}

// The framework's sprite states: no lighting or culling, source-alpha blending, alpha above 0,
// texture times colour.
inline void UseSpriteStates(platform::gfx::Device* device) {
    using namespace platform::gfx;
    device->SetRenderState(rs::kLighting, 0);
    device->SetRenderState(rs::kCullMode, cull::kNone);
    device->SetRenderState(rs::kAlphaBlendEnable, 1);
    device->SetRenderState(rs::kSrcBlend, blend::kSrcAlpha);
    device->SetRenderState(rs::kDestBlend, blend::kInvSrcAlpha);
    device->SetRenderState(rs::kAlphaTestEnable, 1);
    device->SetRenderState(rs::kAlphaFunc, cmp::kGreater);
    device->SetTextureStageState(0, tss::kAlphaOp, top::kModulate);
}

}  // namespace bench
