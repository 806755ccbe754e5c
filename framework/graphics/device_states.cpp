// The drawing-state side of the device: caches of every render, texture-stage and sampler
// state, the blend modes, filtering and alpha test, scenes, clearing, texture binding, the
// back-buffer lock and the viewport clip of blits.
#include <bit>
#include <cmath>
#include <cstring>

#include "framework/graphics/device.h"
#include "framework/graphics/device_internal.h"
#include "framework/graphics/extension3d.h"
#include "framework/graphics/texture.h"

namespace Zeth3D {

using internal::State;
namespace rs = gfx::rs;
namespace tss = gfx::tss;
namespace samp = gfx::samp;

namespace {

constexpr uint32_t kUnknown = 0xFFFFFFFFu;
constexpr uint32_t kStages = 4;

struct BlendMode {
    uint32_t operation, source, destination;
};

constexpr BlendMode kBlendModes[8] = {
    {gfx::blendop::kAdd, gfx::blend::kOne, gfx::blend::kZero},                  // opaque
    {gfx::blendop::kAdd, gfx::blend::kSrcAlpha, gfx::blend::kInvSrcAlpha},      // alpha blend
    {gfx::blendop::kAdd, gfx::blend::kSrcAlpha, gfx::blend::kOne},              // additive
    {gfx::blendop::kAdd, gfx::blend::kOne, gfx::blend::kOne},                   // additive without alpha
    {gfx::blendop::kRevSubtract, gfx::blend::kSrcAlpha, gfx::blend::kOne},      // subtractive
    {gfx::blendop::kRevSubtract, gfx::blend::kOne, gfx::blend::kOne},           // subtractive without alpha
    {gfx::blendop::kAdd, gfx::blend::kZero, gfx::blend::kSrcColor},             // multiply
    {gfx::blendop::kAdd, gfx::blend::kInvDestColor, gfx::blend::kZero},         // inverting
};

gfx::Device* Device() { return State().device; }

uint32_t VertexShaderVersion(uint16_t major, uint16_t minor) {
    return 0xFFFE0000u | static_cast<uint32_t>(major) << 8 | minor;
}

}  // namespace

void InitRenderStates() {
    internal::DeviceState& state = State();
    int32_t width = 0, height = 0;
    Zeth::GetScreenInfo(&width, &height, nullptr);
    // The tiny near plane keeps pre-transformed depth 0 inside the viewport's range.
    state.viewport = gfx::Viewport{0, 0, static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                                   std::bit_cast<float>(0x15F79688u), 1.0f};
    state.renderTarget = nullptr;
    std::fill(std::begin(state.renderStates), std::end(state.renderStates), kUnknown);
    for (uint32_t s : gfx::kDefinedRenderStates) Device()->GetRenderState(s, &state.renderStates[s]);
    for (uint32_t stage = 0; stage < kStages; ++stage) {
        std::fill(std::begin(state.stageStates[stage]), std::end(state.stageStates[stage]), kUnknown);
        std::fill(std::begin(state.samplerStates[stage]), std::end(state.samplerStates[stage]), kUnknown);
        for (uint32_t type : gfx::kDefinedTextureStageStates) {
            Device()->GetTextureStageState(stage, type, &state.stageStates[stage][type]);
        }
        for (uint32_t type = 1; type < samp::kCount; ++type) {
            Device()->GetSamplerState(stage, type, &state.samplerStates[stage][type]);
        }
    }
    SetRenderState(rs::kLighting, 0);
    SetRenderState(rs::kZEnable, 0);
    SetRenderState(rs::kZWriteEnable, 0);
    SetRenderState(rs::kAlphaBlendEnable, 1);
    SetRenderState(rs::kAlphaTestEnable, 0);
    SetRenderState(rs::kCullMode, gfx::cull::kNone);
    for (uint32_t stage = 0; stage < kStages; ++stage) {
        SetSamplerStateCached(stage, samp::kAddressU, gfx::address::kWrap);
        SetSamplerStateCached(stage, samp::kAddressV, gfx::address::kWrap);
        SetSamplerStateCached(stage, samp::kMagFilter, gfx::filter::kLinear);
        SetSamplerStateCached(stage, samp::kMinFilter, gfx::filter::kLinear);
        SetSamplerStateCached(stage, samp::kMipFilter, gfx::filter::kLinear);
        SetSamplerStateCached(stage, samp::kMaxAnisotropy, state.information.maxAnisotropy);
        uint32_t operation = stage == 0 ? gfx::top::kModulate : gfx::top::kDisable;
        SetTextureStageStateCached(stage, tss::kColorOp, operation);
        SetTextureStageStateCached(stage, tss::kAlphaOp, operation);
        SetTextureStageStateCached(stage, tss::kColorArg1, gfx::ta::kTexture);
        SetTextureStageStateCached(stage, tss::kAlphaArg1, gfx::ta::kTexture);
        SetTextureStageStateCached(stage, tss::kColorArg2, gfx::ta::kCurrent);
        SetTextureStageStateCached(stage, tss::kAlphaArg2, gfx::ta::kCurrent);
    }
    RenderStateBlock& block = state.defaultBlock;
    block = RenderStateBlock{};
    for (uint32_t stage = 0; stage < kStages; ++stage) {
        for (uint32_t type : gfx::kDefinedTextureStageStates) block.textureStage[stage][type] = state.stageStates[stage][type];
        for (uint32_t type = 1; type < samp::kCount; ++type) block.sampler[stage][type] = state.samplerStates[stage][type];
    }
    block.blendMode = 0;
    block.alphaTest = block.filter = block.depthTest = block.depthWrite = true;
}

void RestoreRenderStates() {
    internal::DeviceState& state = State();
    if (Device() == nullptr) return;
    Device()->SetViewport(&state.viewport);
    if (state.renderTarget != nullptr) state.renderTarget->SetRenderTarget();
    for (uint32_t s : gfx::kDefinedRenderStates) Device()->SetRenderState(s, state.renderStates[s]);
    for (uint32_t stage = 0; stage < kStages; ++stage) {
        for (uint32_t type : gfx::kDefinedTextureStageStates) {
            Device()->SetTextureStageState(stage, type, state.stageStates[stage][type]);
        }
    }
    for (uint32_t stage = 0; stage < kStages; ++stage) {
        for (uint32_t type = 1; type < samp::kCount; ++type) {
            Device()->SetSamplerState(stage, type, state.samplerStates[stage][type]);
        }
    }
    Device()->Clear(0, nullptr, gfx::clear::kTarget, 0, 1.0f, 0);
    Zeth::Hook3D<&Zeth::Extension3D::applyActiveCamera>();
}

void SetRenderState(uint32_t renderState, uint32_t value) {
    internal::DeviceState& state = State();
    if (renderState >= rs::kCount || Device() == nullptr || state.renderStates[renderState] == value) return;
    state.renderStates[renderState] = value;
    Device()->SetRenderState(renderState, value);
}

void SetTextureStageStateCached(uint32_t stage, uint32_t type, uint32_t value) {
    internal::DeviceState& state = State();
    if (stage >= kStages || type >= tss::kCount || Device() == nullptr || state.stageStates[stage][type] == value) return;
    state.stageStates[stage][type] = value;
    Device()->SetTextureStageState(stage, type, value);
}

void SetSamplerStateCached(uint32_t sampler, uint32_t type, uint32_t value) {
    internal::DeviceState& state = State();
    if (sampler >= kStages || type >= samp::kCount || Device() == nullptr ||
        state.samplerStates[sampler][type] == value) {
        return;
    }
    state.samplerStates[sampler][type] = value;
    Device()->SetSamplerState(sampler, type, value);
}

void SetBlendMode(uint32_t mode) {
    if (mode >= 8) return;
    SetRenderState(rs::kBlendOp, kBlendModes[mode].operation);
    SetRenderState(rs::kSrcBlend, kBlendModes[mode].source);
    SetRenderState(rs::kDestBlend, kBlendModes[mode].destination);
}

void SetFilterEnable(bool on) {
    ZethTexture::SetTexelOffset(on ? 0.5f : 0.0f);
    uint32_t filter = on ? gfx::filter::kLinear : gfx::filter::kPoint;
    for (uint32_t sampler = 0; sampler < kStages; ++sampler) {
        SetSamplerStateCached(sampler, samp::kMagFilter, filter);
        SetSamplerStateCached(sampler, samp::kMinFilter, filter);
    }
}

void SetAlphaTestEnable(bool on) {
    SetRenderState(rs::kAlphaBlendEnable, 1);
    if (on) {
        SetRenderState(rs::kAlphaTestEnable, 1);
        SetRenderState(rs::kAlphaFunc, gfx::cmp::kGreater);
        SetRenderState(rs::kAlphaRef, 0);
    } else {
        SetRenderState(rs::kAlphaTestEnable, 0);
    }
}

void GetRenderStateBlock(RenderStateBlock* block) { *block = State().defaultBlock; }

void SetRenderStateBlock(const RenderStateBlock* block) {
    SetBlendMode(block->blendMode);
    SetFilterEnable(block->filter);
    SetAlphaTestEnable(block->alphaTest);
    SetRenderState(rs::kZEnable, block->depthTest ? 1 : 0);
    SetRenderState(rs::kZWriteEnable, block->depthWrite ? 1 : 0);
    for (uint32_t stage = 0; stage < kStages; ++stage) {
        for (uint32_t type : gfx::kDefinedTextureStageStates) {
            SetTextureStageStateCached(stage, type, block->textureStage[stage][type]);
        }
        for (uint32_t type = 1; type < samp::kCount; ++type) SetSamplerStateCached(stage, type, block->sampler[stage][type]);
    }
}

bool Clear(uint32_t flags, uint32_t colour, float z, uint32_t stencil, const gfx::Rect* rect) {
    if (Device() == nullptr) return false;
    return gfx::Succeeded(Device()->Clear(rect != nullptr ? 1 : 0, rect, flags, colour, z, stencil));
}

bool BeginScene() {
    internal::DeviceState& state = State();
    if (Device() == nullptr) return false;
    if (state.sceneDepth == 0 && gfx::Failed(Device()->BeginScene())) return false;
    ++state.sceneDepth;
    return true;
}

void EndScene() {
    internal::DeviceState& state = State();
    if (state.sceneDepth == 0) return;
    if (--state.sceneDepth == 0 && Device() != nullptr) Device()->EndScene();
}

void SetTexture(uint32_t stage, CBaseImage* image) {
    if (stage >= kStages || Device() == nullptr) return;
    Device()->SetTexture(stage, image != nullptr ? image->GetDeviceTexture() : nullptr);
}

bool NeedSoftwareVertexProcessing(uint16_t major, uint16_t minor) {
    const DeviceInformation& info = State().information;
    return !(info.hardwareTransformAndLight && VertexShaderVersion(major, minor) <= info.vertexShaderVersion);
}

void SelectVertexProcessing(uint16_t major, uint16_t minor) {
    if (Device() != nullptr) Device()->SetSoftwareVertexProcessing(NeedSoftwareVertexProcessing(major, minor));
}

// A second lock hands out the first lock's figures, so a nested caller never reads unset values.
bool LockBackBuffer(void** bits, uint32_t* pitch, gfx::Format* format, uint32_t* width, uint32_t* height) {
    internal::DeviceState& state = State();
    if (!state.backBufferLocked) {
        if (Device() == nullptr) return false;
        gfx::Surface* surface = nullptr;
        if (gfx::Failed(Device()->GetBackBuffer(0, 0, 0, &surface))) return false;
        gfx::SurfaceDesc desc{};
        surface->GetDesc(&desc);
        gfx::LockedRect locked{};
        state.backBufferLocked = gfx::Succeeded(surface->LockRect(&locked, nullptr, 0));
        surface->Release();
        if (!state.backBufferLocked) return false;
        state.lockedBits = locked.bits;
        state.lockedPitch = static_cast<uint32_t>(locked.pitch);
        state.lockedFormat = desc.format;
        state.lockedWidth = desc.width;
        state.lockedHeight = desc.height;
    }
    if (bits != nullptr) *bits = state.lockedBits;
    if (pitch != nullptr) *pitch = state.lockedPitch;
    if (format != nullptr) *format = state.lockedFormat;
    if (width != nullptr) *width = state.lockedWidth;
    if (height != nullptr) *height = state.lockedHeight;
    return true;
}

void UnlockBackBuffer() {
    internal::DeviceState& state = State();
    if (!state.backBufferLocked || Device() == nullptr) return;
    gfx::Surface* surface = nullptr;
    if (gfx::Succeeded(Device()->GetBackBuffer(0, 0, 0, &surface))) {
        surface->UnlockRect();
        surface->Release();
    }
    state.backBufferLocked = false;
}

bool ClipRectToViewport(gfx::Rect* destination, gfx::Rect* source) {
    const gfx::Viewport& viewport = State().viewport;
    int32_t width = destination->right - destination->left;
    int32_t height = destination->bottom - destination->top;
    if (width <= 0 || height <= 0) return false;
    float rx = static_cast<float>(source->right - source->left) / static_cast<float>(width);
    float ry = static_cast<float>(source->bottom - source->top) / static_cast<float>(height);
    auto moved = [](int32_t amount, float ratio) { return static_cast<int32_t>(static_cast<float>(amount) * ratio); };
    int32_t left = static_cast<int32_t>(viewport.x), top = static_cast<int32_t>(viewport.y);
    int32_t right = left + static_cast<int32_t>(viewport.width), bottom = top + static_cast<int32_t>(viewport.height);
    if (destination->left < left) {
        source->left += moved(left - destination->left, rx);
        destination->left = left;
    }
    if (destination->top < top) {
        source->top += moved(top - destination->top, ry);
        destination->top = top;
    }
    if (destination->right > right) {
        source->right -= moved(destination->right - right, rx);
        destination->right = right;
    }
    if (destination->bottom > bottom) {
        source->bottom -= moved(destination->bottom - bottom, ry);
        destination->bottom = bottom;
    }
    return destination->left < destination->right && destination->top < destination->bottom;
}

void GetFog(float* a, float* b, float* c) {
    const float* fog = State().fog;
    if (a != nullptr) *a = fog[0];
    if (b != nullptr) *b = fog[1];
    if (c != nullptr) *c = fog[2];
}

}  // namespace Zeth3D
