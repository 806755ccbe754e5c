// The device's stored states: render, texture-stage and sampler states with their defaults,
// bound textures and streams, transforms, material, lights and the viewport.
#include <algorithm>
#include <cstring>

#include "platform/gfx/device_impl.h"

namespace platform::gfx {

namespace {

uint32_t FloatBits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Render states whose default is not 0: {state, value}.
struct StateDefault {
    uint32_t state;
    uint32_t value;
};

const StateDefault kRenderStateDefaults[] = {
    {8, 3},                    // fill mode: solid
    {9, shade::kGouraud},      // shade mode
    {rs::kZWriteEnable, 1},
    {rs::kLastPixel, 1},
    {rs::kSrcBlend, blend::kOne},
    {rs::kDestBlend, blend::kZero},
    {rs::kCullMode, cull::kCounterClockwise},
    {rs::kZFunc, cmp::kLessEqual},
    {rs::kAlphaFunc, cmp::kAlways},
    {37, FloatBits(1.0f)},     // fog end
    {38, FloatBits(1.0f)},     // fog density
    {53, 1}, {54, 1}, {55, 1},  // stencil fail, depth fail, pass: keep
    {56, cmp::kAlways},        // stencil function
    {58, 0xFFFFFFFF}, {59, 0xFFFFFFFF},  // stencil masks
    {rs::kTextureFactor, 0xFFFFFFFF},
    {rs::kClipping, 1},
    {rs::kLighting, 1},
    {rs::kColorVertex, 1},
    {142, 1},                  // local viewer
    {rs::kDiffuseMaterialSource, 1},
    {146, 2},                  // specular material source: second colour
    {154, FloatBits(1.0f)},    // point size
    {155, FloatBits(1.0f)},    // point size minimum
    {158, FloatBits(1.0f)},    // point scale A
    {161, 1},                  // multisample antialias
    {162, 0xFFFFFFFF},         // multisample mask
    {166, FloatBits(64.0f)},   // point size maximum
    {rs::kColorWriteEnable, 0xF},
    {rs::kBlendOp, blendop::kAdd},
    {172, 3},                  // position degree: cubic
    {173, 1},                  // normal degree: linear
    {178, FloatBits(1.0f)}, {179, FloatBits(1.0f)},  // tessellation levels
    {182, FloatBits(1.0f)},    // adaptive tessellation z
    {186, 1}, {187, 1}, {188, 1},  // counter-clockwise stencil operations: keep
    {189, cmp::kAlways},
    {190, 0xF}, {191, 0xF}, {192, 0xF},  // colour write masks of targets 1 to 3
    {193, 0xFFFFFFFF},         // blend factor
    {207, blend::kOne},        // alpha source blend
    {208, blend::kZero},       // alpha destination blend
    {rs::kBlendOpAlpha, blendop::kAdd},
};

struct DefinedStates {
    bool render[rs::kCount] = {};
    bool stage[tss::kCount] = {};
    DefinedStates() {
        for (uint32_t state : kDefinedRenderStates) render[state] = true;
        for (uint32_t type : kDefinedTextureStageStates) stage[type] = true;
    }
};

const DefinedStates& Defined() {
    static const DefinedStates defined;
    return defined;
}

Matrix Identity() {
    Matrix m{};
    for (int i = 0; i < 4; ++i) m.m[i][i] = 1.0f;
    return m;
}

}  // namespace

void DeviceImpl::SetDefaultStates() {
    std::fill(std::begin(renderStates_), std::end(renderStates_), 0u);
    for (const StateDefault& d : kRenderStateDefaults) renderStates_[d.state] = d.value;
    renderStates_[rs::kZEnable] = autoDepthStencil_ ? 1 : 0;
    for (uint32_t stage = 0; stage < kStageCount; ++stage) {
        uint32_t* t = stageStates_[stage];
        std::fill(t, t + tss::kCount, 0u);
        t[tss::kColorOp] = stage == 0 ? top::kModulate : top::kDisable;
        t[tss::kAlphaOp] = stage == 0 ? top::kSelectArg1 : top::kDisable;
        t[tss::kColorArg1] = t[tss::kAlphaArg1] = ta::kTexture;
        t[tss::kColorArg2] = t[tss::kAlphaArg2] = ta::kCurrent;
        t[tss::kColorArg0] = t[tss::kAlphaArg0] = t[tss::kResultArg] = ta::kCurrent;
        t[tss::kTexCoordIndex] = stage;
        uint32_t* s = samplerStates_[stage];
        std::fill(s, s + samp::kCount, 0u);
        s[samp::kAddressU] = s[samp::kAddressV] = s[samp::kAddressW] = address::kWrap;
        s[samp::kMagFilter] = s[samp::kMinFilter] = filter::kPoint;
        s[samp::kMaxAnisotropy] = 1;
    }
    world_ = view_ = projection_ = Identity();
    material_ = {};
    std::fill(std::begin(lightEnabled_), std::end(lightEnabled_), false);
    fvf_ = 0;
    SetVertexDeclaration(nullptr);
    softwareProcessing_ = false;
}

bool DeviceImpl::ValidRenderState(uint32_t state) const {
    return state < rs::kCount && Defined().render[state];
}

Result DeviceImpl::SetRenderState(uint32_t state, uint32_t value) {
    if (!ValidRenderState(state)) return result::kInvalidCall;
    renderStates_[state] = value;
    return result::kOk;
}

Result DeviceImpl::GetRenderState(uint32_t state, uint32_t* value) {
    if (!value || !ValidRenderState(state)) return result::kInvalidCall;
    *value = renderStates_[state];
    return result::kOk;
}

Result DeviceImpl::SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) {
    if (stage >= kStageCount || type >= tss::kCount || !Defined().stage[type]) {
        return result::kInvalidCall;
    }
    stageStates_[stage][type] = value;
    return result::kOk;
}

Result DeviceImpl::GetTextureStageState(uint32_t stage, uint32_t type, uint32_t* value) {
    if (!value || stage >= kStageCount || type >= tss::kCount || !Defined().stage[type]) {
        return result::kInvalidCall;
    }
    *value = stageStates_[stage][type];
    return result::kOk;
}

Result DeviceImpl::SetSamplerState(uint32_t sampler, uint32_t type, uint32_t value) {
    if (sampler >= kStageCount || type == 0 || type >= samp::kCount) return result::kInvalidCall;
    samplerStates_[sampler][type] = value;
    return result::kOk;
}

Result DeviceImpl::GetSamplerState(uint32_t sampler, uint32_t type, uint32_t* value) {
    if (!value || sampler >= kStageCount || type == 0 || type >= samp::kCount) {
        return result::kInvalidCall;
    }
    *value = samplerStates_[sampler][type];
    return result::kOk;
}

Result DeviceImpl::SetTexture(uint32_t stage, Texture* texture) {
    if (stage >= kStageCount) return result::kInvalidCall;
    TextureImpl* impl = texture ? Impl(texture) : nullptr;
    if (impl) impl->AddRef();
    if (textures_[stage]) textures_[stage]->Release();
    textures_[stage] = impl;
    return result::kOk;
}

Result DeviceImpl::GetTexture(uint32_t stage, Texture** texture) {
    if (!texture || stage >= kStageCount) return result::kInvalidCall;
    *texture = textures_[stage];
    if (*texture) (*texture)->AddRef();
    return result::kOk;
}

Result DeviceImpl::SetSoftwareVertexProcessing(bool software) {
    softwareProcessing_ = software;
    return result::kOk;
}

Result DeviceImpl::SetFVF(uint32_t fvf) {
    fvf_ = fvf;
    SetVertexDeclaration(nullptr);
    return result::kOk;
}

Result DeviceImpl::CreateVertexDeclaration(const VertexElement* elements,
                                           VertexDeclaration** declaration) {
    if (!elements || !declaration) return result::kInvalidCall;
    *declaration = nullptr;
    constexpr size_t kMaxElements = 64;
    std::vector<VertexElement> list;
    for (size_t i = 0; elements[i].stream != 0xFF; ++i) {
        if (i == kMaxElements || elements[i].type > decltype_::kUnused) return result::kInvalidCall;
        list.push_back(elements[i]);
    }
    *declaration = new VertexDeclarationImpl(std::move(list));
    return result::kOk;
}

Result DeviceImpl::SetVertexDeclaration(VertexDeclaration* declaration) {
    auto* impl = static_cast<VertexDeclarationImpl*>(declaration);
    if (impl) impl->AddRef();
    if (declaration_) declaration_->Release();
    declaration_ = impl;
    return result::kOk;
}

Result DeviceImpl::SetVertexShader(VertexProgram* program) {
    if (program) program->AddRef();
    if (program_) program_->Release();
    program_ = program;
    return result::kOk;
}

Result DeviceImpl::SetPixelShader(const void* shader) {
    return shader ? result::kInvalidCall : result::kOk;
}

Result DeviceImpl::GetFVF(uint32_t* fvf) {
    if (!fvf) return result::kInvalidCall;
    *fvf = fvf_;
    return result::kOk;
}

Result DeviceImpl::SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset,
                                   uint32_t stride) {
    if (stream >= kStreamCount) return result::kInvalidCall;
    VertexBufferImpl* impl = buffer ? Impl(buffer) : nullptr;
    if (impl) impl->AddRef();
    if (stream_) stream_->Release();
    stream_ = impl;
    streamOffset_ = offset;
    streamStride_ = stride;
    return result::kOk;
}

Result DeviceImpl::SetIndices(IndexBuffer* buffer) {
    IndexBufferImpl* impl = buffer ? Impl(buffer) : nullptr;
    if (impl) impl->AddRef();
    if (indices_) indices_->Release();
    indices_ = impl;
    return result::kOk;
}

Result DeviceImpl::SetTransform(uint32_t state, const Matrix* matrix) {
    if (!matrix) return result::kInvalidCall;
    switch (state) {
        case transform::kWorld: world_ = *matrix; return result::kOk;
        case transform::kView: view_ = *matrix; return result::kOk;
        case transform::kProjection: projection_ = *matrix; return result::kOk;
        default: return state < transform::kWorld ? result::kOk : result::kInvalidCall;
    }
}

Result DeviceImpl::GetTransform(uint32_t state, Matrix* matrix) {
    if (!matrix) return result::kInvalidCall;
    switch (state) {
        case transform::kWorld: *matrix = world_; return result::kOk;
        case transform::kView: *matrix = view_; return result::kOk;
        case transform::kProjection: *matrix = projection_; return result::kOk;
        default: *matrix = Identity(); return result::kOk;
    }
}

Result DeviceImpl::SetMaterial(const Material* material) {
    if (!material) return result::kInvalidCall;
    material_ = *material;
    return result::kOk;
}

Result DeviceImpl::GetMaterial(Material* material) {
    if (!material) return result::kInvalidCall;
    *material = material_;
    return result::kOk;
}

Result DeviceImpl::SetLight(uint32_t index, const Light* light) {
    if (!light || index >= kLightCount) return result::kInvalidCall;
    lights_[index] = *light;
    return result::kOk;
}

Result DeviceImpl::GetLight(uint32_t index, Light* light) {
    if (!light || index >= kLightCount) return result::kInvalidCall;
    *light = lights_[index];
    return result::kOk;
}

Result DeviceImpl::LightEnable(uint32_t index, bool enable) {
    if (index >= kLightCount) return result::kInvalidCall;
    lightEnabled_[index] = enable;
    return result::kOk;
}

Result DeviceImpl::GetLightEnable(uint32_t index, bool* enable) {
    if (!enable || index >= kLightCount) return result::kInvalidCall;
    *enable = lightEnabled_[index];
    return result::kOk;
}

Result DeviceImpl::SetViewport(const Viewport* viewport) {
    if (!viewport || viewport->width == 0 || viewport->height == 0 ||
        viewport->x + viewport->width > renderTarget_->Width() ||
        viewport->y + viewport->height > renderTarget_->Height()) {
        return result::kInvalidCall;
    }
    viewport_ = *viewport;
    return result::kOk;
}

Result DeviceImpl::GetViewport(Viewport* viewport) {
    if (!viewport) return result::kInvalidCall;
    *viewport = viewport_;
    return result::kOk;
}

}  // namespace platform::gfx
