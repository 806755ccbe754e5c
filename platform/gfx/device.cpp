// The device: creation and destruction, resource creation, copies between surfaces, render
// targets, scenes, clearing, presentation, device loss and Reset.
#include <algorithm>
#include <cmath>

#include "platform/gfx/device_impl.h"
#include "platform/gfx/formats.h"

namespace platform::gfx {

namespace {

constexpr uint32_t kMaxTextureSide = 4096;
constexpr uint32_t kMaxBufferBytes = 256u << 20;
constexpr uint32_t kReportedTextureMemory = 512u << 20;
constexpr uint32_t kDefaultWidth = 640, kDefaultHeight = 480;

template <class T>
void Rebind(T*& slot, T* value) {
    if (value) value->AddRef();
    if (slot) slot->Release();
    slot = value;
}

uint32_t FullMipChain(uint32_t width, uint32_t height) {
    uint32_t levels = 1;
    while (width > 1 || height > 1) {
        width = std::max(1u, width / 2);
        height = std::max(1u, height / 2);
        ++levels;
    }
    return levels;
}

bool ValidSize(uint32_t width, uint32_t height) {
    return width > 0 && height > 0 && width <= kMaxTextureSide && height <= kMaxTextureSide;
}

void CopyArgb(const SurfaceImpl& from, const Rect& area, SurfaceImpl* to, int32_t x, int32_t y) {
    const Format format = to->GetFormat();
    for (int32_t row = area.top; row < area.bottom; ++row) {
        const uint32_t* src = from.ArgbPixels() + size_t(row) * from.Width() + size_t(area.left);
        uint32_t* dst = to->Argb() + size_t(y + row - area.top) * to->Width() + size_t(x);
        for (int32_t i = 0; i < area.right - area.left; ++i) dst[i] = QuantizeArgb(format, src[i]);
    }
}

// Bilinear sample of a surface at a source position (pixel centres at +0.5), clamped to area.
uint32_t SampleBilinear(const SurfaceImpl& s, const Rect& area, double x, double y) {
    const double fx = std::clamp(x - 0.5, double(area.left), double(area.right - 1));
    const double fy = std::clamp(y - 0.5, double(area.top), double(area.bottom - 1));
    const int x0 = int(fx), y0 = int(fy);
    const int x1 = std::min(x0 + 1, int(area.right - 1)), y1 = std::min(y0 + 1, int(area.bottom - 1));
    const uint32_t wx = uint32_t((fx - x0) * 256.0), wy = uint32_t((fy - y0) * 256.0);
    const uint32_t* p = s.ArgbPixels();
    const size_t w = s.Width();
    const uint32_t c00 = p[size_t(y0) * w + size_t(x0)], c10 = p[size_t(y0) * w + size_t(x1)];
    const uint32_t c01 = p[size_t(y1) * w + size_t(x0)], c11 = p[size_t(y1) * w + size_t(x1)];
    return BlendBilinear(c00, c10, c01, c11, wx, wy);
}

bool Overlaps(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

DeviceImpl::DeviceImpl(const CreationParameters& creation, const PresentParameters& parameters)
    : creation_(creation), parameters_(parameters) {
    CreateBackBuffer();
    SetDefaultStates();
    GetPresentSink().SetWindowed(parameters_.windowed);
}

DeviceImpl::~DeviceImpl() {
    for (TextureImpl*& texture : textures_) Rebind<TextureImpl>(texture, nullptr);
    Rebind<VertexBufferImpl>(stream_, nullptr);
    Rebind<IndexBufferImpl>(indices_, nullptr);
    Rebind<VertexDeclarationImpl>(declaration_, nullptr);
    Rebind<VertexProgram>(program_, nullptr);
    Rebind<SurfaceImpl>(renderTarget_, nullptr);
    Rebind<SurfaceImpl>(depthStencil_, nullptr);
    Rebind<SurfaceImpl>(backBuffer_, nullptr);
    Rebind<SurfaceImpl>(autoDepthStencil_, nullptr);
    for (DeviceLink* link : links_) link->Detach();
}

void DeviceImpl::CreateBackBuffer() {
    PresentParameters& p = parameters_;
    if (p.backBufferWidth == 0) p.backBufferWidth = kDefaultWidth;
    if (p.backBufferHeight == 0) p.backBufferHeight = kDefaultHeight;
    if (p.backBufferFormat == fmt::kUnknown) p.backBufferFormat = fmt::kX8R8G8B8;
    const bool lockable = (p.flags & kPresentFlagLockableBackBuffer) != 0;
    // The back buffer and the automatic depth buffer belong to the device, not to the default
    // pool the application must empty before Reset, so they do not register.
    backBuffer_ = new SurfaceImpl(nullptr,
                                  {p.backBufferWidth, p.backBufferHeight, p.backBufferFormat,
                                   usage::kRenderTarget, pool::kDefault, lockable},
                                  nullptr);
    if (p.enableAutoDepthStencil && IsDepthFormat(p.autoDepthStencilFormat)) {
        autoDepthStencil_ = new SurfaceImpl(nullptr,
                                            {p.backBufferWidth, p.backBufferHeight,
                                             p.autoDepthStencilFormat, usage::kDepthStencil,
                                             pool::kDefault, false},
                                            nullptr);
    }
    BindRenderTarget(backBuffer_);
    BindDepthStencil(autoDepthStencil_);
}

// ---- state of the device ----

Result DeviceImpl::TestCooperativeLevel() {
    switch (loss_) {
        case Loss::kLost:
            loss_ = Loss::kNotReset;
            return result::kDeviceLost;
        case Loss::kNotReset:
            return result::kDeviceNotReset;
        default:
            return result::kOk;
    }
}

void DeviceImpl::SimulateDeviceLoss() {
    loss_ = Loss::kLost;
    sceneOpen_ = false;
}

uint32_t DeviceImpl::GetAvailableTextureMem() { return kReportedTextureMemory; }

Result DeviceImpl::GetCreationParameters(CreationParameters* parameters) {
    if (!parameters) return result::kInvalidCall;
    *parameters = creation_;
    return result::kOk;
}

Result DeviceImpl::GetDisplayMode(uint32_t swapChain, DisplayMode* mode) {
    if (!mode || swapChain != 0) return result::kInvalidCall;
    *mode = {parameters_.backBufferWidth, parameters_.backBufferHeight, 60,
             parameters_.backBufferFormat};
    return result::kOk;
}

Result DeviceImpl::Reset(PresentParameters* parameters) {
    if (!parameters ||
        (parameters->backBufferFormat != fmt::kUnknown &&
         !IsRenderTargetFormat(parameters->backBufferFormat))) {
        return result::kInvalidCall;
    }
    // Reset starts from the default states: nothing stays bound.
    for (TextureImpl*& texture : textures_) Rebind<TextureImpl>(texture, nullptr);
    Rebind<VertexBufferImpl>(stream_, nullptr);
    Rebind<IndexBufferImpl>(indices_, nullptr);
    BindRenderTarget(backBuffer_);
    BindDepthStencil(autoDepthStencil_);
    const bool defaultPoolLeft = std::any_of(links_.begin(), links_.end(), [](DeviceLink* link) {
        return link->Pool() == pool::kDefault;
    });
    // The device holds two references on its back buffer: its own and the render-target slot.
    if (defaultPoolLeft || backBuffer_->RefCount() != 2) {
        loss_ = Loss::kNotReset;
        return result::kInvalidCall;
    }
    Rebind<SurfaceImpl>(renderTarget_, nullptr);
    Rebind<SurfaceImpl>(depthStencil_, nullptr);
    Rebind<SurfaceImpl>(backBuffer_, nullptr);
    Rebind<SurfaceImpl>(autoDepthStencil_, nullptr);
    parameters_ = *parameters;
    CreateBackBuffer();
    SetDefaultStates();
    loss_ = Loss::kNone;
    sceneOpen_ = false;
    GetPresentSink().SetWindowed(parameters_.windowed);
    return result::kOk;
}

Result DeviceImpl::Present(const Rect*, const Rect*, WindowHandle, const void*) {
    if (loss_ != Loss::kNone) return result::kDeviceLost;
    GetPresentSink().Show(backBuffer_->ArgbPixels(), int(backBuffer_->Width()),
                          int(backBuffer_->Height()), int(backBuffer_->Width()));
    return result::kOk;
}

Result DeviceImpl::GetBackBuffer(uint32_t swapChain, uint32_t index, uint32_t,
                                 Surface** surface) {
    if (!surface || swapChain != 0 || index != 0) return result::kInvalidCall;
    backBuffer_->AddRef();
    *surface = backBuffer_;
    return result::kOk;
}

// ---- resources ----

Result DeviceImpl::CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t use,
                                 Format format, uint32_t where, Texture** texture) {
    if (!texture) return result::kInvalidCall;
    *texture = nullptr;
    const bool renderTarget = (use & usage::kRenderTarget) != 0;
    const uint32_t maxLevels = FullMipChain(width, height);
    if (!ValidSize(width, height) || !IsColorFormat(format) || levels > maxLevels ||
        (use & usage::kDepthStencil) || where > pool::kScratch ||
        (renderTarget && (where != pool::kDefault || !IsRenderTargetFormat(format)))) {
        return result::kInvalidCall;
    }
    // Default-pool textures live where the program cannot reach them, unless dynamic.
    const bool lockable = where != pool::kDefault || (use & usage::kDynamic);
    *texture = new TextureImpl(this, {width, height, format, use, where, lockable},
                               levels == 0 ? maxLevels : levels);
    return result::kOk;
}

Result DeviceImpl::CreateVertexBuffer(uint32_t length, uint32_t use, uint32_t fvf, uint32_t where,
                                      VertexBuffer** buffer) {
    if (!buffer) return result::kInvalidCall;
    *buffer = nullptr;
    if (length == 0 || where > pool::kScratch) return result::kInvalidCall;
    if (length > kMaxBufferBytes) return result::kOutOfVideoMemory;
    *buffer = new VertexBufferImpl(this, {fmt::kVertexData, rtype::kVertexBuffer, use, where,
                                          length, fvf});
    return result::kOk;
}

Result DeviceImpl::CreateIndexBuffer(uint32_t length, uint32_t use, Format format, uint32_t where,
                                     IndexBuffer** buffer) {
    if (!buffer) return result::kInvalidCall;
    *buffer = nullptr;
    if (length == 0 || where > pool::kScratch ||
        (format != fmt::kIndex16 && format != fmt::kIndex32)) {
        return result::kInvalidCall;
    }
    if (length > kMaxBufferBytes) return result::kOutOfVideoMemory;
    *buffer = new IndexBufferImpl(this, {format, rtype::kIndexBuffer, use, where, length, 0});
    return result::kOk;
}

Result DeviceImpl::CreateRenderTarget(uint32_t width, uint32_t height, Format format, uint32_t,
                                      uint32_t, bool lockable, Surface** surface) {
    if (!surface) return result::kInvalidCall;
    *surface = nullptr;
    if (!ValidSize(width, height) || !IsRenderTargetFormat(format)) return result::kInvalidCall;
    *surface = new SurfaceImpl(
        this, {width, height, format, usage::kRenderTarget, pool::kDefault, lockable}, nullptr);
    return result::kOk;
}

Result DeviceImpl::CreateDepthStencilSurface(uint32_t width, uint32_t height, Format format,
                                             uint32_t, uint32_t, bool, Surface** surface) {
    if (!surface) return result::kInvalidCall;
    *surface = nullptr;
    if (!ValidSize(width, height) || !IsDepthFormat(format)) return result::kInvalidCall;
    *surface = new SurfaceImpl(
        this, {width, height, format, usage::kDepthStencil, pool::kDefault, false}, nullptr);
    return result::kOk;
}

Result DeviceImpl::CreateOffscreenPlainSurface(uint32_t width, uint32_t height, Format format,
                                               uint32_t where, Surface** surface) {
    if (!surface) return result::kInvalidCall;
    *surface = nullptr;
    if (!ValidSize(width, height) || !IsColorFormat(format) || where == pool::kManaged ||
        where > pool::kScratch) {
        return result::kInvalidCall;
    }
    *surface = new SurfaceImpl(this, {width, height, format, 0, where, true}, nullptr);
    return result::kOk;
}

// ---- copies ----

Result DeviceImpl::UpdateSurface(Surface* source, const Rect* sourceRect, Surface* destination,
                                 const Point* destinationPoint) {
    if (!source || !destination) return result::kInvalidCall;
    SurfaceImpl* from = Impl(source);
    SurfaceImpl* to = Impl(destination);
    Rect area;
    const Point at = destinationPoint ? *destinationPoint : Point{0, 0};
    if (from->GetPool() != pool::kSystemMem || to->GetPool() != pool::kDefault ||
        from->GetFormat() != to->GetFormat() || from->IsDepth() || from->IsLocked() ||
        to->IsLocked() || !ResolveRect(sourceRect, from->Width(), from->Height(), &area)) {
        return result::kInvalidCall;
    }
    const Rect target{at.x, at.y, at.x + (area.right - area.left), at.y + (area.bottom - area.top)};
    Rect checked;
    if (!ResolveRect(&target, to->Width(), to->Height(), &checked)) return result::kInvalidCall;
    CopyArgb(*from, area, to, at.x, at.y);
    return result::kOk;
}

Result DeviceImpl::UpdateTexture(Texture* source, Texture* destination) {
    if (!source || !destination) return result::kInvalidCall;
    TextureImpl* from = Impl(source);
    TextureImpl* to = Impl(destination);
    if (from->GetPool() != pool::kSystemMem || to->GetPool() != pool::kDefault ||
        from->Level(0)->GetFormat() != to->Level(0)->GetFormat()) {
        return result::kInvalidCall;
    }
    // Source level i goes to the destination level of the same size.
    uint32_t copied = 0;
    for (uint32_t i = 0; i < from->GetLevelCount(); ++i) {
        SurfaceImpl* src = from->Level(i);
        for (uint32_t j = 0; j < to->GetLevelCount(); ++j) {
            SurfaceImpl* dst = to->Level(j);
            if (dst->Width() == src->Width() && dst->Height() == src->Height()) {
                if (src->IsLocked() || dst->IsLocked()) return result::kInvalidCall;
                CopyArgb(*src, {0, 0, int32_t(src->Width()), int32_t(src->Height())}, dst, 0, 0);
                ++copied;
                break;
            }
        }
    }
    return copied ? result::kOk : result::kInvalidCall;
}

Result DeviceImpl::GetRenderTargetData(Surface* renderTarget, Surface* destination) {
    if (!renderTarget || !destination) return result::kInvalidCall;
    SurfaceImpl* from = Impl(renderTarget);
    SurfaceImpl* to = Impl(destination);
    if (!(from->Usage() & usage::kRenderTarget) || to->GetPool() != pool::kSystemMem ||
        from->GetFormat() != to->GetFormat() || from->Width() != to->Width() ||
        from->Height() != to->Height() || to->IsLocked()) {
        return result::kInvalidCall;
    }
    CopyArgb(*from, {0, 0, int32_t(from->Width()), int32_t(from->Height())}, to, 0, 0);
    return result::kOk;
}

Result DeviceImpl::StretchRect(Surface* source, const Rect* sourceRect, Surface* destination,
                               const Rect* destinationRect, uint32_t filterType) {
    if (!source || !destination) return result::kInvalidCall;
    SurfaceImpl* from = Impl(source);
    SurfaceImpl* to = Impl(destination);
    Rect s, d;
    if (from->IsDepth() || to->IsDepth() || from->IsLocked() || to->IsLocked() ||
        from->GetPool() == pool::kSystemMem || to->GetPool() == pool::kSystemMem ||
        filterType > filter::kLinear ||
        !ResolveRect(sourceRect, from->Width(), from->Height(), &s) ||
        !ResolveRect(destinationRect, to->Width(), to->Height(), &d) ||
        (from == to && Overlaps(s, d))) {
        return result::kInvalidCall;
    }
    const double sx = double(s.right - s.left) / double(d.right - d.left);
    const double sy = double(s.bottom - s.top) / double(d.bottom - d.top);
    const Format format = to->GetFormat();
    for (int32_t y = d.top; y < d.bottom; ++y) {
        const double fy = s.top + (y - d.top + 0.5) * sy;
        uint32_t* row = to->Argb() + size_t(y) * to->Width();
        for (int32_t x = d.left; x < d.right; ++x) {
            const double fx = s.left + (x - d.left + 0.5) * sx;
            uint32_t c;
            if (filterType == filter::kLinear) {
                c = SampleBilinear(*from, s, fx, fy);
            } else {
                const int px = std::min(int(fx), int(s.right - 1));
                const int py = std::min(int(fy), int(s.bottom - 1));
                c = from->ArgbPixels()[size_t(py) * from->Width() + size_t(px)];
            }
            row[x] = QuantizeArgb(format, c);
        }
    }
    return result::kOk;
}

Result DeviceImpl::ColorFill(Surface* surface, const Rect* rect, uint32_t argb) {
    if (!surface) return result::kInvalidCall;
    SurfaceImpl* target = Impl(surface);
    Rect area;
    if (target->IsDepth() || target->IsLocked() ||
        !ResolveRect(rect, target->Width(), target->Height(), &area)) {
        return result::kInvalidCall;
    }
    target->Fill(area, argb);
    return result::kOk;
}

// ---- render targets ----

void DeviceImpl::BindRenderTarget(SurfaceImpl* surface) {
    Rebind<SurfaceImpl>(renderTarget_, surface);
    viewport_ = {0, 0, surface->Width(), surface->Height(), 0.0f, 1.0f};
}

void DeviceImpl::BindDepthStencil(SurfaceImpl* surface) {
    Rebind<SurfaceImpl>(depthStencil_, surface);
}

Result DeviceImpl::SetRenderTarget(uint32_t index, Surface* surface) {
    if (index != 0 || !surface) return result::kInvalidCall;
    SurfaceImpl* target = Impl(surface);
    if (!(target->Usage() & usage::kRenderTarget) || target->IsDepth()) return result::kInvalidCall;
    BindRenderTarget(target);
    return result::kOk;
}

Result DeviceImpl::GetRenderTarget(uint32_t index, Surface** surface) {
    if (!surface || index != 0) return result::kInvalidCall;
    renderTarget_->AddRef();
    *surface = renderTarget_;
    return result::kOk;
}

Result DeviceImpl::SetDepthStencilSurface(Surface* surface) {
    if (surface && !Impl(surface)->IsDepth()) return result::kInvalidCall;
    BindDepthStencil(surface ? Impl(surface) : nullptr);
    return result::kOk;
}

Result DeviceImpl::GetDepthStencilSurface(Surface** surface) {
    if (!surface) return result::kInvalidCall;
    *surface = nullptr;
    if (!depthStencil_) return result::kNotFound;
    depthStencil_->AddRef();
    *surface = depthStencil_;
    return result::kOk;
}

// ---- scenes and clearing ----

Result DeviceImpl::BeginScene() {
    if (loss_ != Loss::kNone) return result::kDeviceLost;
    if (sceneOpen_) return result::kInvalidCall;
    sceneOpen_ = true;
    return result::kOk;
}

Result DeviceImpl::EndScene() {
    if (!sceneOpen_) return result::kInvalidCall;
    sceneOpen_ = false;
    return result::kOk;
}

Result DeviceImpl::Clear(uint32_t count, const Rect* rects, uint32_t flags, uint32_t argb, float z,
                         uint32_t) {
    if (count > 0 && !rects) return result::kInvalidCall;
    const Rect view{int32_t(viewport_.x), int32_t(viewport_.y),
                    int32_t(std::min(viewport_.x + viewport_.width, renderTarget_->Width())),
                    int32_t(std::min(viewport_.y + viewport_.height, renderTarget_->Height()))};
    // A depth buffer smaller than the target is cleared where it reaches.
    SurfaceImpl* depth = (flags & clear::kZBuffer) ? depthStencil_ : nullptr;
    const float depthValue = z > 0.0f ? std::min(z, 1.0f) : 0.0f;
    const uint32_t n = count > 0 ? count : 1;
    for (uint32_t i = 0; i < n; ++i) {
        Rect r = view;
        if (count > 0) {
            r.left = std::max(r.left, rects[i].left);
            r.top = std::max(r.top, rects[i].top);
            r.right = std::min(r.right, rects[i].right);
            r.bottom = std::min(r.bottom, rects[i].bottom);
        }
        if (r.left >= r.right || r.top >= r.bottom) continue;
        if (flags & clear::kTarget) renderTarget_->Fill(r, argb);
        if (depth) {
            const Rect dr{r.left, r.top, std::min(r.right, int32_t(depth->Width())),
                          std::min(r.bottom, int32_t(depth->Height()))};
            if (dr.left < dr.right && dr.top < dr.bottom) depth->FillDepth(dr, depthValue);
        }
    }
    return result::kOk;
}

}  // namespace platform::gfx
