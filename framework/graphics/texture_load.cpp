// Textures from image files: on disk or in the pack, in memory, or an entry of a LAG archive.
#include "framework/graphics/device.h"
#include "framework/graphics/device_names.h"
#include "framework/files/file_system.h"
#include "framework/graphics/lag.h"
#include "framework/core/lock.h"
#include "framework/app/log.h"
#include "framework/graphics/texture.h"

namespace {

bool Finish(bool loaded) {
    if (loaded) ZethLog::PrintSuccess("Success!");
    else ZethLog::PrintError("Failed!");
    ZethLog::PrintBreak();
    return loaded;
}

bool LoadFailure(const char* text) {
    ZethLog::PrintError("%s", text);
    ZethLog::Print(" : ");
    return false;
}

}  // namespace

bool CTexture::CreateFromImage(const void* data, uint32_t size, uint32_t formatIndex, uint32_t colourKey) {
    FitToDevice();
    kind_ = kPlain;
    format_ = Zeth3D::SelectFormat(formatIndex, info_.format);
    pool_ = gfx::pool::kManaged;
    gfx::Device* d = GetDevicePointer();
    gfx::Result result = d ? d->CreateTexture(width_, height_, 1, 0, format_, pool_, &texture_) : gfx::result::kInvalidCall;
    if (gfx::Failed(result)) {
        texture_ = nullptr;
        return Fail("テクスチャの生成に失敗しました [ %d x %d ] [ %s ]", result);
    }
    uint32_t levels = texture_->GetLevelCount();
    for (uint32_t level = 0; level < levels; ++level) {
        gfx::Surface* surface = nullptr;
        gfx::SurfaceDesc desc{};
        result = texture_->GetSurfaceLevel(level, &surface);
        bool loaded = false;
        if (gfx::Failed(result)) {
            ZethLog::PrintError("サーフェイスの取得に失敗しました [ %s ]", GetErrorString(result));
            ZethLog::PrintBreak();
        } else {
            surface->GetDesc(&desc);
            loaded = LoadSurfaceFromMemory(surface, data, size, desc.width, desc.height, colourKey);
            surface->Release();
        }
        if (!loaded) {
            texture_->Release();
            texture_ = nullptr;
            return false;
        }
    }
    ZethLog::Print("SIZE [ %d x %d ] FORMAT [ %s ] MIPMAP [ %d ] : ", static_cast<int>(width_),
                   static_cast<int>(height_), GetFormatName(format_), static_cast<int>(levels));
    UpdateTexture();
    return true;
}

bool CTexture::LoadFromMemory(const void* data, uint32_t size, uint32_t formatIndex, uint32_t colourKey) {
    if (texture_ != nullptr) texture_->Release();
    texture_ = nullptr;
    return GetImageInfoFromMemory(data, size) && CreateFromImage(data, size, formatIndex, colourKey);
}

bool CTexture::LoadFromFile(const char* file, uint32_t formatIndex, uint32_t colourKey) {
    if (texture_ != nullptr) texture_->Release();
    texture_ = nullptr;
    void* data = nullptr;
    uint32_t size = 0;
    if (!ZethFile::Load(file, &data, &size)) return LoadFailure("ファイルがみつかりません");
    bool loaded = false;
    if (!GetImageInfoFromMemory(data, size)) LoadFailure("画像データの展開に失敗");
    else if (!CreateFromImage(data, size, formatIndex, colourKey)) LoadFailure("テクスチャの生成に失敗");
    else loaded = true;
    Zeth::MemoryFree(data);
    return loaded;
}

bool CTexture::CreateFromFile(const char* file, uint32_t formatIndex, uint32_t colourKey) {
    ZethLog::PrintTitle("CTexture::CreateFromFile");
    ZethLog::Print(" : [ %s ] : ", file);
    return Finish(LoadFromFile(file, formatIndex, colourKey));
}

bool CTexture::CreateFromMemory(const void* data, uint32_t size, uint32_t formatIndex, uint32_t colourKey) {
    ZethLog::PrintTitle("CTexture::CreateFromMemory");
    ZethLog::Print(" : ");
    return Finish(LoadFromMemory(data, size, formatIndex, colourKey));
}

bool CTexture::CreateFromLAG(const char* archive, const char* entry, uint32_t formatIndex) {
    ZethLog::PrintTitle("CTexture::CreateFromLAG");
    ZethLog::Print(": [ %s / %s ] : ", archive, entry);
    CLagArchive lag;
    if (const char* failure = lag.Load(archive, entry); failure != nullptr) {
        ZethLog::PrintError("ファイルの読み込みに失敗しました [ %s ]", failure);
        return Finish(false);
    }
    return Finish(LoadFromMemory(lag.GetFileData(), lag.GetFileSize(), formatIndex, 0));
}
