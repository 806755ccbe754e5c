// Textures: creation, render targets with their system-memory copy, locking, clearing,
// copies between textures, device loss and reset.
#include "framework/graphics/texture.h"

#include "framework/graphics/device.h"
#include "framework/graphics/device_names.h"
#include "framework/app/log.h"

namespace {

constexpr uint32_t kUsageNone = 0;

void LogSize(uint32_t width, uint32_t height, gfx::Format format) {
    ZethLog::Print(" : SIZE [ %d x %d ] FORMAT [ %s ] : ", static_cast<int>(width), static_cast<int>(height),
                   GetFormatName(format));
}

gfx::Rect Scaled(const gfx::Rect& rect, const CTexture& texture) {
    float sx = static_cast<float>(texture.GetWidth()) / static_cast<float>(texture.GetImageWidth());
    float sy = static_cast<float>(texture.GetHeight()) / static_cast<float>(texture.GetImageHeight());
    return gfx::Rect{static_cast<int32_t>(static_cast<float>(rect.left) * sx),
                     static_cast<int32_t>(static_cast<float>(rect.top) * sy),
                     static_cast<int32_t>(static_cast<float>(rect.right) * sx),
                     static_cast<int32_t>(static_cast<float>(rect.bottom) * sy)};
}

}  // namespace

bool CBaseImage::LoadSurfaceFromMemory(gfx::Surface* surface, const void* data, uint32_t size, uint32_t width,
                                       uint32_t height, uint32_t colourKey) {
    gfx::Rect destination{0, 0, static_cast<int32_t>(width), static_cast<int32_t>(height)};
    gfx::Rect source{0, 0, static_cast<int32_t>(info_.width), static_cast<int32_t>(info_.height)};
    gfx::Result result = gfx::LoadSurfaceFromFileInMemory(surface, nullptr, &destination, data, size, &source,
                                                          gfx::imagefilter::kTriangle, colourKey, nullptr);
    if (gfx::Succeeded(result)) return true;
    ZethLog::PrintError("画像の読み込みに失敗しました [ %s ]", GetErrorString(result));
    ZethLog::PrintBreak();
    return false;
}

bool CBaseImage::GetImageInfoFromMemory(const void* data, uint32_t size) {
    gfx::Result result = gfx::GetImageInfoFromFileInMemory(data, size, &info_);
    if (gfx::Succeeded(result) && info_.width > 0 && info_.height > 0) return true;
    ZethLog::PrintError("ファイルの読み込みに失敗しました [ %s ]", GetErrorString(result));
    ZethLog::PrintBreak();
    return false;
}

CTexture::~CTexture() {
    if (copy_ != nullptr) copy_->Release();
    if (texture_ != nullptr) texture_->Release();
}

uint32_t CTexture::TextureSide(uint32_t side, uint32_t maximum) {
    uint64_t result = 1;
    while (result < side) result <<= 1;
    while (result > maximum && result > 1) result >>= 1;
    return static_cast<uint32_t>(result);
}

bool CTexture::Fail(const char* format, gfx::Result result) {
    ZethLog::PrintError(format, static_cast<int>(width_), static_cast<int>(height_), GetErrorString(result));
    ZethLog::PrintBreak();
    return false;
}

// The texture's sides: the picture's sides rounded up to what the device can hold.
void CTexture::FitToDevice() {
    Zeth3D::DeviceInformation device{};
    Zeth3D::GetDeviceInformation(&device);
    width_ = TextureSide(info_.width, device.maxTextureWidth);
    height_ = TextureSide(info_.height, device.maxTextureHeight);
}

bool CTexture::Create(uint32_t width, uint32_t height, uint32_t formatIndex) {
    ZethLog::PrintTitle("CTexture::Create");
    format_ = info_.format = Zeth3D::SelectFormat(formatIndex);
    info_.width = width;
    info_.height = height;
    FitToDevice();
    kind_ = kPlain;
    pool_ = gfx::pool::kManaged;
    gfx::Device* d = GetDevicePointer();
    gfx::Result result = d ? d->CreateTexture(width_, height_, 1, kUsageNone, format_, pool_, &texture_)
                           : gfx::result::kInvalidCall;
    if (gfx::Failed(result)) {
        texture_ = nullptr;
        return Fail(" テクスチャの生成に失敗しました [ %d x %d ] [ %s ]", result);
    }
    LogSize(width_, height_, format_);
    ZethLog::PrintBreak();
    return true;
}

bool CTexture::CreateEx(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, gfx::Format format,
                        uint32_t pool) {
    ZethLog::PrintTitle("CTexture::CreateEx");
    width_ = info_.width = width;
    height_ = info_.height = height;
    format_ = info_.format = format;
    kind_ = (usage & gfx::usage::kRenderTarget) != 0 ? kRenderTarget : kPlain;
    pool_ = pool;
    gfx::Device* d = GetDevicePointer();
    gfx::Result result = d ? d->CreateTexture(width, height, levels, usage, format, pool, &texture_)
                           : gfx::result::kInvalidCall;
    if (gfx::Failed(result)) {
        texture_ = nullptr;
        return Fail("テクスチャの生成に失敗しました [ %d x %d ] [ %s ]", result);
    }
    LogSize(width_, height_, format_);
    ZethLog::PrintBreak();
    return true;
}

// The system-memory copy and the render target itself, of the sides and format already set.
bool CTexture::MakeRenderTarget(const char* copyFailure) {
    kind_ = kRenderTarget;
    pool_ = gfx::pool::kDefault;
    gfx::Device* d = GetDevicePointer();
    if (d == nullptr) return Fail(copyFailure, gfx::result::kInvalidCall);
    gfx::Result result = d->CreateTexture(width_, height_, 1, kUsageNone, format_, gfx::pool::kSystemMem, &copy_);
    if (gfx::Failed(result)) {
        copy_ = nullptr;
        return Fail(copyFailure, result);
    }
    result = d->CreateTexture(width_, height_, 1, gfx::usage::kRenderTarget, format_, gfx::pool::kDefault, &texture_);
    if (gfx::Failed(result)) {
        texture_ = nullptr;
        return Fail("テクスチャの生成に失敗しました [ %d x %d ] [ %s ]", result);
    }
    return true;
}

bool CTexture::CreateRenderTarget(uint32_t width, uint32_t height, uint32_t formatIndex) {
    ZethLog::PrintTitle("CTexture::CreateRenderTarget");
    format_ = info_.format = Zeth3D::SelectFormat(formatIndex);
    info_.width = width;
    info_.height = height;
    FitToDevice();
    if (!MakeRenderTarget("ベーステクスチャの生成に失敗しました [ %d x %d ] [ %s ]")) return false;
    LogSize(width_, height_, format_);
    ZethLog::PrintSuccess("Success!");
    ZethLog::PrintBreak();
    return true;
}

bool CTexture::CreateRenderTargetFrom(const CTexture* source) {
    info_ = source->info_;
    width_ = source->width_;
    height_ = source->height_;
    format_ = source->format_;
    if (!MakeRenderTarget("テクスチャの生成に失敗しました [ %d x %d ] [ %s ]")) return false;
    gfx::Surface* from = nullptr;
    gfx::Surface* to = nullptr;
    gfx::Result result = gfx::result::kInvalidCall;
    if (source->texture_ != nullptr && gfx::Succeeded(source->texture_->GetSurfaceLevel(0, &from)) &&
        gfx::Succeeded(copy_->GetSurfaceLevel(0, &to))) {
        result = GetDevicePointer()->GetRenderTargetData(from, to);
    }
    if (from != nullptr) from->Release();
    if (to != nullptr) to->Release();
    if (gfx::Failed(result)) {
        ZethLog::PrintError("テクスチャのコピーに失敗しました [ %s ]", GetErrorString(result));
        ZethLog::PrintBreak();
        return false;
    }
    UpdateTexture();
    LogSize(width_, height_, format_);
    ZethLog::PrintBreak();
    return true;
}

bool CTexture::SetRenderTarget() {
    gfx::Device* device = GetDevicePointer();
    gfx::Surface* surface = nullptr;
    if (device == nullptr || texture_ == nullptr || gfx::Failed(texture_->GetSurfaceLevel(0, &surface))) return false;
    gfx::Result result = device->SetRenderTarget(0, surface);
    surface->Release();
    return gfx::Succeeded(result);
}

bool CTexture::Lock(const gfx::Rect* rect, uint32_t* pitch, void** bits, uint32_t* width, uint32_t* height,
                    gfx::Format* format) {
    if (locked_) {
        ZethLog::PrintError("テクスチャは既にロックされています");
        ZethLog::PrintBreak();
        return false;
    }
    DownloadRenderTarget();
    gfx::Texture* target = LockTarget();
    gfx::LockedRect locked{};
    gfx::Result result = target != nullptr ? target->LockRect(0, &locked, rect, 0) : gfx::result::kInvalidCall;
    if (gfx::Failed(result)) {
        ZethLog::PrintError("テクスチャのロックに失敗しました [ %s ]", GetErrorString(result));
        ZethLog::PrintBreak();
        return false;
    }
    locked_ = true;
    if (pitch != nullptr) *pitch = static_cast<uint32_t>(locked.pitch);
    if (bits != nullptr) *bits = locked.bits;
    if (width != nullptr) *width = rect != nullptr ? static_cast<uint32_t>(rect->right - rect->left) : width_;
    if (height != nullptr) *height = rect != nullptr ? static_cast<uint32_t>(rect->bottom - rect->top) : height_;
    if (format != nullptr) *format = format_;
    return true;
}

void CTexture::Unlock() {
    if (!locked_) return;
    if (gfx::Texture* target = LockTarget(); target != nullptr) target->UnlockRect(0);
    locked_ = false;
}

bool CTexture::Clear(uint32_t colour) {
    uint32_t pitch = 0, height = 0;
    void* bits = nullptr;
    if (!Lock(nullptr, &pitch, &bits, nullptr, &height, nullptr)) return false;
    uint32_t a = colour >> 24, r = (colour >> 16) & 0xFF, g = (colour >> 8) & 0xFF, b = colour & 0xFF;
    uint32_t value = 0;
    switch (format_) {
        case gfx::fmt::kA8R8G8B8:
        case gfx::fmt::kX8R8G8B8:
            value = colour;
            break;
        case gfx::fmt::kR5G6B5:
            value = (r >> 3) << 11 | (g >> 2) << 5 | b >> 3;
            break;
        case gfx::fmt::kA1R5G5B5:
        case gfx::fmt::kX1R5G5B5:
            value = (a > 127 ? 1u : 0u) << 15 | (r >> 3) << 10 | (g >> 3) << 5 | b >> 3;
            break;
        case gfx::fmt::kA4R4G4B4:
        case gfx::fmt::kX4R4G4B4:
            value = (a >> 4) << 12 | (r >> 4) << 8 | (g >> 4) << 4 | b >> 4;
            break;
        default:
            break;
    }
    if (format_ != gfx::fmt::kA8R8G8B8 && format_ != gfx::fmt::kX8R8G8B8) value |= value << 16;
    auto* words = static_cast<uint32_t*>(bits);
    size_t count = static_cast<size_t>(pitch / 4) * height;
    for (size_t i = 0; i < count; ++i) words[i] = value;
    Unlock();
    UpdateTexture();
    return true;
}

bool CTexture::StretchRect(const gfx::Rect* sourceRect, CTexture* destination, const gfx::Rect* destinationRect,
                           bool scaleRects) {
    gfx::Device* device = GetDevicePointer();
    gfx::Surface* from = nullptr;
    gfx::Surface* to = nullptr;
    bool done = false;
    if (device != nullptr && destination != nullptr && GetSurface(&from) && destination->GetSurface(&to)) {
        gfx::Rect source{}, target{};
        const gfx::Rect* sourceArgument = sourceRect;
        const gfx::Rect* targetArgument = destinationRect;
        if (scaleRects && sourceRect != nullptr) sourceArgument = &(source = Scaled(*sourceRect, *this));
        if (scaleRects && destinationRect != nullptr) targetArgument = &(target = Scaled(*destinationRect, *destination));
        for (uint32_t filter : {gfx::filter::kLinear, gfx::filter::kPoint, gfx::filter::kNone}) {
            if (gfx::Succeeded(device->StretchRect(from, sourceArgument, to, targetArgument, filter))) {
                done = true;
                break;
            }
        }
    }
    if (from != nullptr) from->Release();
    if (to != nullptr) to->Release();
    return done;
}

bool CTexture::DownloadRenderTarget() {
    if (kind_ != kRenderTarget || texture_ == nullptr || copy_ == nullptr) return false;
    gfx::Surface* from = nullptr;
    gfx::Surface* to = nullptr;
    bool done = false;
    gfx::Result result = texture_->GetSurfaceLevel(0, &from);
    if (gfx::Succeeded(result)) result = copy_->GetSurfaceLevel(0, &to);
    if (gfx::Failed(result)) {
        ZethLog::PrintError("サーフェイスの取得に失敗 [%s]", GetErrorString(result));
        ZethLog::PrintBreak();
    } else if (result = GetDevicePointer()->GetRenderTargetData(from, to); gfx::Failed(result)) {
        ZethLog::PrintError("テクスチャのコピー処理に失敗 [%s]", GetErrorString(result));
        ZethLog::PrintBreak();
    } else {
        done = true;
    }
    if (from != nullptr) from->Release();
    if (to != nullptr) to->Release();
    return done;
}

bool CTexture::UpdateTexture() {
    if (texture_ == nullptr || copy_ == nullptr || GetDevicePointer() == nullptr) return false;
    copy_->AddDirtyRect(nullptr);
    texture_->AddDirtyRect(nullptr);
    gfx::Result result = GetDevicePointer()->UpdateTexture(copy_, texture_);
    if (gfx::Succeeded(result)) return true;
    ZethLog::PrintError("UpdateTexture() に失敗しました [ %s ]", GetErrorString(result));
    ZethLog::PrintBreak();
    return false;
}

namespace {

bool LevelZero(gfx::Texture* texture, gfx::Surface** out) {
    *out = nullptr;
    return texture != nullptr && gfx::Succeeded(texture->GetSurfaceLevel(0, out));
}

bool WithReference(gfx::Texture* texture, gfx::Texture** out) {
    *out = texture;
    if (texture == nullptr) return false;
    texture->AddRef();
    return true;
}

}  // namespace

bool CTexture::GetSurface(gfx::Surface** out) { return LevelZero(texture_, out); }
bool CTexture::GetBaseSurface(gfx::Surface** out) { return LevelZero(copy_, out); }
bool CTexture::GetTexture(gfx::Texture** out) { return WithReference(texture_, out); }
bool CTexture::GetBaseTexture(gfx::Texture** out) { return WithReference(copy_, out); }

bool CTexture::SaveToFile(const char* file, uint32_t fileFormat) {
    if (texture_ == nullptr || copy_ == nullptr) return false;
    DownloadRenderTarget();
    return gfx::Succeeded(gfx::SaveTextureToFile(file, fileFormat, copy_, nullptr));
}

void CTexture::OnLostDevice() {
    if (pool_ != gfx::pool::kDefault || texture_ == nullptr) return;
    texture_->Release();
    texture_ = nullptr;
}

void CTexture::OnResetDevice() {
    gfx::Device* device = GetDevicePointer();
    if (pool_ != gfx::pool::kDefault || texture_ != nullptr || device == nullptr) return;
    uint32_t usage = kind_ == kRenderTarget ? gfx::usage::kRenderTarget : kUsageNone;
    gfx::Result result = device->CreateTexture(width_, height_, 1, usage, format_, gfx::pool::kDefault, &texture_);
    if (gfx::Failed(result)) {
        texture_ = nullptr;
        ZethLog::PrintError("テクスチャの生成に失敗しました [ %s ]", GetErrorString(result));
        ZethLog::PrintBreak();
        return;
    }
    if (kind_ == kPlain) UpdateTexture();
}
