// The texture manager, which names and shares textures, and the ZethTexture API over it.
#include <cstdio>

#include "framework/graphics/device.h"
#include "framework/graphics/device_names.h"
#include "framework/files/file_system.h"
#include "framework/core/lock.h"
#include "framework/graphics/simple.h"
#include "framework/graphics/texture.h"

namespace {

CTextureManager* g_manager = nullptr;

// Creation, release and the lost/reset calls of textures run under this lock.
CCriticalSection& TextureLock() {
    static CCriticalSection lock;
    return lock;
}

}  // namespace

CTexture* CTextureManager::FindByName(const char* name) { return static_cast<CTexture*>(FindListed(name)); }

CTexture* CTextureManager::Create(uint32_t width, uint32_t height, uint32_t formatIndex) {
    SizedName name("OFFSCREEN", width, height, Zeth3D::SelectFormat(formatIndex));
    return CreateNamed<CTexture>(this, name.text, [&](CTexture& t) { return t.Create(width, height, formatIndex); });
}

CTexture* CTextureManager::CreateEx(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                    gfx::Format format, uint32_t pool) {
    SizedName name("OFFSCREEN_EX", width, height, format);
    return CreateNamed<CTexture>(this, name.text,
                                 [&](CTexture& t) { return t.CreateEx(width, height, levels, usage, format, pool); });
}

CTexture* CTextureManager::CreateRenderTarget(uint32_t width, uint32_t height, uint32_t formatIndex) {
    SizedName name("RENDER_TARGET", width, height, Zeth3D::SelectFormat(formatIndex));
    return CreateNamed<CTexture>(this, name.text,
                                 [&](CTexture& t) { return t.CreateRenderTarget(width, height, formatIndex); });
}

CTexture* CTextureManager::CreateRenderTargetFrom(const CTexture* source) {
    if (source == nullptr) return nullptr;
    SizedName name("RENDER_TARGET", source->GetImageWidth(), source->GetImageHeight(), source->GetFormat());
    return CreateNamed<CTexture>(this, name.text, [&](CTexture& t) { return t.CreateRenderTargetFrom(source); });
}

CTexture* CTextureManager::CreateFromLAG(const char* archive, const char* entry, uint32_t formatIndex) {
    char path[ZethFile::kPathSize];
    if (!ResolveSourceFile(path, archive, "CTexture::CreateFromLAG")) return nullptr;
    char name[ZethFile::kPathSize + 32];
    std::snprintf(name, sizeof(name), "%s[%s]", path, entry);
    if (CTexture* shared = FindByName(name); shared != nullptr) {
        shared->AddRef();
        return shared;
    }
    return CreateNamed<CTexture>(this, name, [&](CTexture& t) { return t.CreateFromLAG(archive, entry, formatIndex); });
}

CTexture* CTextureManager::CreateFromFile(const char* file, uint32_t formatIndex, uint32_t colourKey) {
    char path[ZethFile::kPathSize];
    if (!ResolveSourceFile(path, file, "CTexture::CreateFromFile")) return nullptr;
    if (CTexture* shared = FindByName(path); shared != nullptr) {
        shared->AddRef();
        return shared;
    }
    return CreateNamed<CTexture>(this, path, [&](CTexture& t) { return t.CreateFromFile(file, formatIndex, colourKey); });
}

CTexture* CTextureManager::CreateFromMemory(const void* data, uint32_t size, uint32_t formatIndex, uint32_t colourKey) {
    return CreateNamed<CTexture>(this, nullptr,
                                 [&](CTexture& t) { return t.CreateFromMemory(data, size, formatIndex, colourKey); });
}

namespace ZethTexture {

bool Initialize() {
    g_manager = new CTextureManager(Zeth3D::GetDevice());
    return true;
}

void Finalize() {
    CLockScope scope(TextureLock());
    delete g_manager;
    g_manager = nullptr;
}

void OnLostDevice() {
    CLockScope scope(TextureLock());
    if (g_manager != nullptr) g_manager->OnLostDevice();
}

void OnResetDevice() {
    CLockScope scope(TextureLock());
    if (g_manager != nullptr) g_manager->OnResetDevice();
}

CTextureManager* GetManager() { return g_manager; }

void Release(CTexture* texture) {
    CLockScope scope(TextureLock());
    if (texture != nullptr) texture->Release();
}

void AddRef(CTexture* texture) {
    if (texture != nullptr) texture->AddRef();
}

CTexture* Create(uint32_t width, uint32_t height, uint32_t formatIndex) {
    CLockScope scope(TextureLock());
    return g_manager != nullptr ? g_manager->Create(width, height, formatIndex) : nullptr;
}

CTexture* CreateFromFile(const char* file, uint32_t formatIndex, uint32_t colourKey) {
    CLockScope scope(TextureLock());
    return g_manager != nullptr ? g_manager->CreateFromFile(file, formatIndex, colourKey) : nullptr;
}

CTexture* CreateFromLAG(const char* archive, const char* entry, uint32_t formatIndex) {
    CLockScope scope(TextureLock());
    return g_manager != nullptr ? g_manager->CreateFromLAG(archive, entry, formatIndex) : nullptr;
}

CTexture* CreateRenderTarget(uint32_t width, uint32_t height, uint32_t formatIndex) {
    CLockScope scope(TextureLock());
    return g_manager != nullptr ? g_manager->CreateRenderTarget(width, height, formatIndex) : nullptr;
}

void SetTexelOffset(float inset) {
    if (g_manager != nullptr) g_manager->texelInset = inset;
}

float GetTexelOffset() { return g_manager != nullptr ? g_manager->texelInset : 0.0f; }

void Draw(CTexture* texture, const float* destination, const float* source, uint32_t colour) {
    const float sources[1][4] = {{source[0], source[1], source[2], source[3]}};
    CTexture* const textures[1] = {texture};
    ZethSimple::DrawQuad(destination, 0, sources, colour, textures, 1, 0, 0);
}

float PixelToTexelU(const CTexture* texture, float pixel) {
    return texture != nullptr ? texture->PixelToTexelU(pixel) : 0.0f;
}

float PixelToTexelV(const CTexture* texture, float pixel) {
    return texture != nullptr ? texture->PixelToTexelV(pixel) : 0.0f;
}

}  // namespace ZethTexture
