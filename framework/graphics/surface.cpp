#include "framework/graphics/surface.h"

#include <cstdio>

#include "framework/graphics/device.h"
#include "framework/graphics/device_names.h"
#include "framework/files/file_system.h"
#include "framework/core/lock.h"
#include "framework/app/log.h"

CSurface::~CSurface() {
    ZethLog::PrintError("CSurface Destruct [%s]", GetName());
    ZethLog::PrintBreak();
    if (copy_ != nullptr) copy_->Release();
    if (surface_ != nullptr) surface_->Release();
}

bool CSurface::Fail(const char* text, gfx::Result result) {
    ZethLog::PrintError(text, GetErrorString(result));
    ZethLog::PrintBreak();
    return false;
}

void CSurface::LogSize(const char* title, uint32_t width, uint32_t height) {
    ZethLog::PrintTitle("%s", title);
    ZethLog::Print("[ %u x %u ] : [ %s ] : ", width, height, GetFormatName(format_));
}

// The common end of the three ways of creating an empty surface: log the outcome and keep the
// surface's figures on success.
bool CSurface::Finish(gfx::Result result, uint32_t width, uint32_t height, uint32_t formatIndex, bool renderTarget,
                      bool depthStencil) {
    if (gfx::Failed(result)) {
        surface_ = nullptr;
        return Fail("サーフェイスの生成に失敗 [ %s ]", result);
    }
    formatIndex_ = formatIndex;
    width_ = info_.width = width;
    height_ = info_.height = height;
    renderTarget_ = renderTarget;
    depthStencil_ = depthStencil;
    ZethLog::PrintSuccess("Success!");
    ZethLog::PrintBreak();
    return true;
}

bool CSurface::Create(uint32_t width, uint32_t height, uint32_t formatIndex) {
    format_ = Zeth3D::SelectFormat(formatIndex);
    LogSize("CSurface::Create", width, height);
    gfx::Device* device = GetDevicePointer();
    gfx::Result result = device ? device->CreateOffscreenPlainSurface(width, height, format_, gfx::pool::kDefault, &surface_)
                                : gfx::result::kInvalidCall;
    return Finish(result, width, height, formatIndex, false, false);
}

bool CSurface::CreateFromFile(const char* file, uint32_t formatIndex) {
    ZethLog::PrintTitle("CSurface::CreateFromFile");
    void* data = nullptr;
    uint32_t size = 0;
    if (!ZethFile::Load(file, &data, &size)) {
        ZethLog::PrintError("ファイルがみつかりません");
        ZethLog::Print(" : ");
        return false;
    }
    bool loaded = false;
    gfx::Device* device = GetDevicePointer();
    if (device != nullptr && GetImageInfoFromMemory(data, size)) {
        format_ = Zeth3D::SelectFormat(formatIndex);
        formatIndex_ = formatIndex;
        width_ = info_.width;
        height_ = info_.height;
        ZethLog::Print("[ %u x %u ] : [ %s ] : ", width_, height_, GetFormatName(format_));
        gfx::Result result = device->CreateOffscreenPlainSurface(width_, height_, format_, gfx::pool::kSystemMem, &copy_);
        if (gfx::Succeeded(result)) {
            result = device->CreateOffscreenPlainSurface(width_, height_, format_, gfx::pool::kDefault, &surface_);
        }
        if (gfx::Failed(result)) {
            Fail("サーフェイスの生成に失敗 [ %s ]", result);
        } else if (LoadSurfaceFromMemory(copy_, data, size, width_, height_, 0)) {
            device->UpdateSurface(copy_, nullptr, surface_, nullptr);
            ZethLog::PrintSuccess("Success!");
            ZethLog::PrintBreak();
            loaded = true;
        }
    }
    Zeth::MemoryFree(data);
    return loaded;
}

bool CSurface::CreateRenderTarget(uint32_t width, uint32_t height, uint32_t formatIndex) {
    format_ = Zeth3D::SelectFormat(formatIndex);
    LogSize("CSurface::CreateRenderTarget", width, height);
    gfx::Device* device = GetDevicePointer();
    gfx::Result result = device ? device->CreateRenderTarget(width, height, format_, 0, 0, true, &surface_)
                                : gfx::result::kInvalidCall;
    return Finish(result, width, height, formatIndex, true, false);
}

bool CSurface::CreateDepthStencil(uint32_t width, uint32_t height, uint32_t formatIndex) {
    format_ = Zeth3D::SelectFormat(formatIndex);
    ZethLog::PrintTitle("CSurface::CreateDepthStencil");
    ZethLog::Print(" : SIZE [ %u x %u ] : FORMAT [ %s ] : ", width, height, GetFormatName(format_));
    gfx::Device* device = GetDevicePointer();
    gfx::Result result = device ? device->CreateDepthStencilSurface(width, height, format_, 0, 0, true, &surface_)
                                : gfx::result::kInvalidCall;
    return Finish(result, width, height, formatIndex, false, true);
}

bool CSurface::StretchFrom(const gfx::Rect* destinationRect, CSurface* source, const gfx::Rect* sourceRect) {
    gfx::Device* device = GetDevicePointer();
    if (device == nullptr || source == nullptr || surface_ == nullptr || source->surface_ == nullptr) return false;
    gfx::Rect destination = destinationRect != nullptr ? *destinationRect
                                                       : gfx::Rect{0, 0, static_cast<int32_t>(width_), static_cast<int32_t>(height_)};
    gfx::Rect from = sourceRect != nullptr ? *sourceRect
                                           : gfx::Rect{0, 0, static_cast<int32_t>(source->width_),
                                                       static_cast<int32_t>(source->height_)};
    if (!Zeth3D::ClipRectToViewport(&destination, &from)) return false;
    for (uint32_t filter : {gfx::filter::kLinear, gfx::filter::kNone}) {
        if (gfx::Succeeded(device->StretchRect(source->surface_, &from, surface_, &destination, filter))) return true;
    }
    return false;
}

bool CSurface::GetSurface(gfx::Surface** out) {
    *out = surface_;
    if (surface_ == nullptr) return false;
    surface_->AddRef();
    return true;
}

bool CSurface::SetRenderTarget() {
    gfx::Device* device = GetDevicePointer();
    return device != nullptr && surface_ != nullptr && gfx::Succeeded(device->SetRenderTarget(0, surface_));
}

bool CSurface::SetDepthStencil() {
    if (gfx::Device* device = GetDevicePointer(); device != nullptr) device->SetDepthStencilSurface(surface_);
    return true;
}

void CSurface::OnLostDevice() {
    if (surface_ != nullptr) surface_->Release();
    surface_ = nullptr;
}

void CSurface::OnResetDevice() {
    gfx::Device* device = GetDevicePointer();
    if (device == nullptr || surface_ != nullptr || width_ == 0) return;
    gfx::Result result;
    if (renderTarget_) {
        result = device->CreateRenderTarget(width_, height_, format_, 0, 0, true, &surface_);
    } else if (depthStencil_) {
        result = device->CreateDepthStencilSurface(width_, height_, format_, 0, 0, true, &surface_);
    } else {
        result = device->CreateOffscreenPlainSurface(width_, height_, format_, gfx::pool::kDefault, &surface_);
        if (gfx::Succeeded(result) && copy_ != nullptr) device->UpdateSurface(copy_, nullptr, surface_, nullptr);
    }
    if (gfx::Failed(result)) {
        surface_ = nullptr;
        Fail("サーフェイスのリストアに失敗 [ %s ]", result);
    }
}

CSurface* CSurfaceManager::CreateOffscreen(uint32_t width, uint32_t height, uint32_t formatIndex) {
    SizedName name("OFFSCREEN", width, height, Zeth3D::SelectFormat(formatIndex));
    return CreateNamed<CSurface>(this, name.text, [&](CSurface& s) { return s.Create(width, height, formatIndex); });
}

CSurface* CSurfaceManager::CreateFromFile(const char* file, uint32_t formatIndex) {
    char path[ZethFile::kPathSize];
    if (!ResolveSourceFile(path, file, "CSurface::CreateFromFile")) return nullptr;
    return CreateNamed<CSurface>(this, path, [&](CSurface& s) { return s.CreateFromFile(file, formatIndex); });
}

CSurface* CSurfaceManager::CreateRenderTarget(uint32_t width, uint32_t height, uint32_t formatIndex) {
    SizedName name("RENDER_TARGET", width, height, Zeth3D::SelectFormat(formatIndex));
    return CreateNamed<CSurface>(this, name.text,
                                 [&](CSurface& s) { return s.CreateRenderTarget(width, height, formatIndex); });
}

CSurface* CSurfaceManager::CreateDepthStencil(uint32_t width, uint32_t height, uint32_t formatIndex) {
    SizedName name("DEPTH_STENCIL", width, height, Zeth3D::SelectFormat(formatIndex));
    return CreateNamed<CSurface>(this, name.text,
                                 [&](CSurface& s) { return s.CreateDepthStencil(width, height, formatIndex); });
}
