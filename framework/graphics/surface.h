// Surfaces that are not textures (off-screen, render target, depth-stencil), and sheets: a
// picture of any size cut into 256 x 256 textures and drawn as screen quads.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/graphics/primitive2d.h"
#include "framework/graphics/texture.h"

class CSurface : public CBaseImage {
public:
    explicit CSurface(CBaseManager* manager) : CBaseImage(manager) {}
    ~CSurface() override;

    void OnLostDevice() override;
    void OnResetDevice() override;  // render-target and depth-stencil contents are not restored
    bool SetRenderTarget() override;
    bool SetDepthStencil() override;

    bool Create(uint32_t width, uint32_t height, uint32_t formatIndex);
    bool CreateFromFile(const char* file, uint32_t formatIndex);
    bool CreateRenderTarget(uint32_t width, uint32_t height, uint32_t formatIndex);
    bool CreateDepthStencil(uint32_t width, uint32_t height, uint32_t formatIndex);
    // Copies with scaling; null rectangles mean the whole surface.
    bool StretchFrom(const gfx::Rect* destinationRect, CSurface* source, const gfx::Rect* sourceRect);
    bool GetSurface(gfx::Surface** out);  // with a reference

private:
    bool Fail(const char* text, gfx::Result result);
    bool Finish(gfx::Result result, uint32_t width, uint32_t height, uint32_t formatIndex, bool renderTarget,
                bool depthStencil);
    void LogSize(const char* title, uint32_t width, uint32_t height);

    gfx::Surface* surface_ = nullptr;
    gfx::Surface* copy_ = nullptr;  // made when loaded from a file
    uint32_t formatIndex_ = 0;
    bool renderTarget_ = false;
    bool depthStencil_ = false;
};

class CSurfaceManager : public CDeviceObjectManager {
public:
    using CDeviceObjectManager::CDeviceObjectManager;
    CSurface* CreateOffscreen(uint32_t width, uint32_t height, uint32_t formatIndex);
    CSurface* CreateFromFile(const char* file, uint32_t formatIndex);  // always loaded anew
    CSurface* CreateRenderTarget(uint32_t width, uint32_t height, uint32_t formatIndex);
    CSurface* CreateDepthStencil(uint32_t width, uint32_t height, uint32_t formatIndex);
};

class CSheet : public CDeviceObject {
public:
    static constexpr int32_t kTileSide = 256;

    explicit CSheet(CBaseManager* manager) : CDeviceObject(manager) {}
    ~CSheet() override;  // releases every tile's texture

    void OnLostDevice() override {}   // tile textures are managed
    void OnResetDevice() override {}

    bool CreateFromFile(const char* file, uint32_t formatIndex, uint32_t colourKey);
    bool CreateFromMemory(const void* data, uint32_t size, uint32_t formatIndex, uint32_t colourKey);
    bool CreateFromLAG(const char* archive, const char* entry, uint32_t formatIndex);
    bool Parse(const void* data, uint32_t size, uint32_t formatIndex, uint32_t colourKey);
    uint32_t GetWidth() const { return width_; }
    uint32_t GetHeight() const { return height_; }
    int32_t GetColumns() const { return columns_; }
    int32_t GetRows() const { return rows_; }
    void SetPosition(float x, float y, uint32_t colour);
    void Render();
    void Draw(float x, float y, uint32_t colour);
    void DrawScaled(float x, float y, float scale, uint32_t colour, float dx, float dy);
    void DrawRotated(float x, float y, int32_t angle, uint32_t colour, float dx, float dy);
    void DrawRotatedScaled(float x, float y, int32_t angle, float scale, uint32_t colour, float dx, float dy);

    struct Tile {
        int32_t x, y, width, height;  // in the picture
        CTexture* texture;
        Vertex2D vertices[4];
    };
    const std::vector<Tile>& GetTiles() const { return tiles_; }

private:
    // Every vertex's offset from the pivot turned by the angle and multiplied by the scale.
    void Transform(float pivotX, float pivotY, int32_t angle, float scale);

    std::vector<Tile> tiles_;  // row after row
    int32_t columns_ = 0;
    int32_t rows_ = 0;
    uint32_t width_ = 0;
    uint32_t height_ = 0;
};

class CSheetManager : public CBaseManager {
public:
    using CBaseManager::CBaseManager;
    CSheet* FindByName(const char* name) { return static_cast<CSheet*>(FindListed(name)); }
    CSheet* CreateFromFile(const char* file, uint32_t formatIndex, uint32_t colourKey);
    CSheet* CreateFromMemory(const void* data, uint32_t size, uint32_t formatIndex, uint32_t colourKey);
    CSheet* CreateFromLAG(const char* archive, const char* entry, uint32_t formatIndex);
};

namespace ZethSurface {
CSurfaceManager* GetManager();
}  // namespace ZethSurface

namespace ZethSheet {
CSheetManager* GetManager();
}  // namespace ZethSheet
