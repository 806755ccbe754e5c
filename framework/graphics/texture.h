// Image objects and textures. CBaseImage keeps an image's description and loads image files
// held in memory; CTexture wraps one device texture (empty, from an image file, from a LAG
// entry, or a render target with a system-memory copy) and survives device loss. ZethTexture
// is the plain-function API over the one texture manager, which names and shares textures.
#pragma once

#include <cstdint>

#include "framework/graphics/device_object.h"
#include "platform/gfx/image.h"

class CBaseImage : public CDeviceObject {
public:
    enum Kind : uint32_t { kRenderTarget = 0, kPlain = 2 };

    explicit CBaseImage(CBaseManager* manager) : CDeviceObject(manager) {}

    // Loads the whole image file into {0, 0, width, height} of the surface with the triangle
    // filter; pixels of the colour key (ARGB, 0 for none) become transparent black.
    bool LoadSurfaceFromMemory(gfx::Surface* surface, const void* data, uint32_t size, uint32_t width,
                               uint32_t height, uint32_t colourKey);
    bool GetImageInfoFromMemory(const void* data, uint32_t size);  // fills the description; logs a failure
    uint32_t GetImageWidth() const { return info_.width; }
    uint32_t GetImageHeight() const { return info_.height; }
    uint32_t GetWidth() const { return width_; }    // the sides actually allocated
    uint32_t GetHeight() const { return height_; }
    gfx::Format GetFormat() const { return format_; }
    virtual bool SetRenderTarget() = 0;  // binds the image as render target 0
    virtual bool SetDepthStencil() = 0;
    virtual gfx::Texture* GetDeviceTexture() const { return nullptr; }  // for binding; no reference added

protected:
    gfx::ImageInfo info_{};
    gfx::Format format_ = 0;
    uint32_t width_ = 0;
    uint32_t height_ = 0;
    bool locked_ = false;
    uint32_t kind_ = kPlain;
};

class CTexture : public CBaseImage {
public:
    explicit CTexture(CBaseManager* manager) : CBaseImage(manager) {}
    ~CTexture() override;

    void OnLostDevice() override;   // default-pool textures release theirs
    void OnResetDevice() override;  // and make it again (a render target's picture is lost)
    bool SetRenderTarget() override;
    bool SetDepthStencil() override { return false; }
    gfx::Texture* GetDeviceTexture() const override { return texture_; }

    bool Create(uint32_t width, uint32_t height, uint32_t formatIndex);
    bool CreateEx(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, gfx::Format format, uint32_t pool);
    bool CreateRenderTarget(uint32_t width, uint32_t height, uint32_t formatIndex);
    bool CreateRenderTargetFrom(const CTexture* source);
    bool CreateFromLAG(const char* archive, const char* entry, uint32_t formatIndex);
    bool CreateFromFile(const char* file, uint32_t formatIndex, uint32_t colourKey);
    bool CreateFromMemory(const void* data, uint32_t size, uint32_t formatIndex, uint32_t colourKey);
    bool LoadFromMemory(const void* data, uint32_t size, uint32_t formatIndex, uint32_t colourKey);
    bool LoadFromFile(const char* file, uint32_t formatIndex, uint32_t colourKey);
    bool CreateFromImage(const void* data, uint32_t size, uint32_t formatIndex, uint32_t colourKey);

    // Locks level 0 of the copy (default pool) or the texture (managed); null outs are skipped.
    bool Lock(const gfx::Rect* rect, uint32_t* pitch, void** bits, uint32_t* width, uint32_t* height,
              gfx::Format* format);
    void Unlock();
    bool Clear(uint32_t colour);  // false when the texture could not be locked
    bool StretchRect(const gfx::Rect* sourceRect, CTexture* destination, const gfx::Rect* destinationRect,
                     bool scaleRects);
    bool DownloadRenderTarget();  // a render target's picture into its copy
    bool UpdateTexture();         // the copy into the texture
    bool GetSurface(gfx::Surface** out);      // level 0 of the texture, with a reference
    bool GetBaseSurface(gfx::Surface** out);  // level 0 of the copy, with a reference
    bool GetTexture(gfx::Texture** out);
    bool GetBaseTexture(gfx::Texture** out);
    float PixelToTexelU(float x) const { return x / static_cast<float>(info_.width); }
    float PixelToTexelV(float y) const { return y / static_cast<float>(info_.height); }
    bool SaveToFile(const char* file, uint32_t fileFormat);  // render targets only

    // The side a texture gets for an image side: the next power of two, within the device's maximum.
    static uint32_t TextureSide(uint32_t side, uint32_t maximum);

private:
    void FitToDevice();  // sets the texture sides from the picture sides and the device limits
    bool MakeRenderTarget(const char* copyFailure);
    bool Fail(const char* format, gfx::Result result);
    gfx::Texture* LockTarget() const { return pool_ == gfx::pool::kDefault ? copy_ : texture_; }

    gfx::Texture* texture_ = nullptr;
    gfx::Texture* copy_ = nullptr;  // render targets only
    uint32_t pool_ = gfx::pool::kDefault;
};

class CTextureManager : public CDeviceObjectManager {
public:
    using CDeviceObjectManager::CDeviceObjectManager;
    CTexture* Create(uint32_t width, uint32_t height, uint32_t formatIndex);
    CTexture* CreateEx(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, gfx::Format format,
                       uint32_t pool);
    CTexture* CreateRenderTarget(uint32_t width, uint32_t height, uint32_t formatIndex);
    CTexture* CreateRenderTargetFrom(const CTexture* source);
    CTexture* CreateFromLAG(const char* archive, const char* entry, uint32_t formatIndex);
    CTexture* CreateFromFile(const char* file, uint32_t formatIndex, uint32_t colourKey);
    CTexture* CreateFromMemory(const void* data, uint32_t size, uint32_t formatIndex, uint32_t colourKey);
    CTexture* FindByName(const char* name);  // case-insensitive; the first from the head

    float texelInset = 0.0f;
};

namespace ZethTexture {

bool Initialize();  // creates the manager with the device
void Finalize();
void OnLostDevice();
void OnResetDevice();
CTextureManager* GetManager();
void Release(CTexture* texture);  // null ignored
void AddRef(CTexture* texture);
CTexture* Create(uint32_t width, uint32_t height, uint32_t formatIndex);
// A texture already loaded from that file is returned with one more reference.
CTexture* CreateFromFile(const char* file, uint32_t formatIndex, uint32_t colourKey);
CTexture* CreateFromLAG(const char* archive, const char* entry, uint32_t formatIndex);
CTexture* CreateRenderTarget(uint32_t width, uint32_t height, uint32_t formatIndex);
void SetTexelOffset(float inset);  // added to the left and top, taken from the right and bottom of sources
float GetTexelOffset();
// Draws source {x, y, w, h} (texture pixels) of the texture at destination {x, y, w, h} at once.
void Draw(CTexture* texture, const float* destination, const float* source, uint32_t colour);
float PixelToTexelU(const CTexture* texture, float pixel);  // 0 for a null texture
float PixelToTexelV(const CTexture* texture, float pixel);

}  // namespace ZethTexture
