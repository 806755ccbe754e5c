// The per-class managers of the framework's objects: created by Zeth::Start right after the
// device in a fixed order, told about device loss and reset in another, and released by
// Zeth::Finalize, together with the 3D pools, in a third.
#pragma once

#include <cstdint>
#include <functional>

#include "framework/graphics/classes3d.h"
#include "framework/graphics/device_object.h"
#include "framework/graphics/font.h"

// Managers of the 3D side's classes and the fonts. The 3D side registers the constructors
// behind their Create operations (extension3d.h); without it every Create gives null.
class CObject3DManager : public CDeviceObjectManager {
public:
    using CDeviceObjectManager::CDeviceObjectManager;
};
class CSprite3DManager : public CObject3DManager {
public:
    using CObject3DManager::CObject3DManager;
    CSprite3D* Create(uint32_t count, uint32_t type);
};
class CPrimitive3DManager : public CObject3DManager {
public:
    using CObject3DManager::CObject3DManager;
    CPrimitive3D* Create(uint32_t count, uint32_t type);
};
class CLine3DManager : public CObject3DManager {
public:
    using CObject3DManager::CObject3DManager;
    CLine3D* Create(uint32_t capacity);
};
class CPoint3DManager : public CObject3DManager {
public:
    using CObject3DManager::CObject3DManager;
    CPoint3D* Create(uint32_t capacity);
};
class CLine2DManager : public CObject2DManager {
public:
    using CObject2DManager::CObject2DManager;
    CLine2D* Create(uint32_t capacity);
};
class CPoint2DManager : public CObject2DManager {
public:
    using CObject2DManager::CObject2DManager;
    CPoint2D* Create(uint32_t capacity);
};
class CFontSprite2DManager : public CBaseManager {
public:
    using CBaseManager::CBaseManager;
    CFontSprite2D* Create(const char* text, uint32_t count, CFont* font, bool sort, bool smooth);
    CFontSprite2D* CreateFromFile(const char* file, const char* source, uint32_t count, bool sort,
                                  uint32_t formatIndex);
};
class CFontSprite3DManager : public CBaseManager {
public:
    using CBaseManager::CBaseManager;
    CFontSprite3D* Create(const char* text, uint32_t count, CFont* font, bool smooth);
    CFontSprite3D* CreateFromFile(const char* file, const char* source, uint32_t count, uint32_t formatIndex);
};
class CModelData;

// Models loaded from X files (the 3D side registers the loader; without it both give null).
// The caller owns the one reference of the model it receives.
class ZethModelExManager : public CDeviceObjectManager {
public:
    using CDeviceObjectManager::CDeviceObjectManager;
    CModelData* CreateFromMemory(const void* data, uint32_t size, uint16_t shaderMajor, uint16_t shaderMinor,
                                 uint32_t textureFormat, uint32_t colourKey);
    CModelData* CreateFromFile(const char* file, uint16_t shaderMajor, uint16_t shaderMinor, uint32_t textureFormat,
                               uint32_t colourKey);
};

// A stack of fonts, the top one receiving the text calls. A pushed font is begun with the
// value (non-zero: every unlock also updates the texture), a popped one ended.
class CFontManager : public CBaseManager {
public:
    CFontManager(gfx::Device* device, int32_t capacity);
    ~CFontManager() override;
    CFont* Create(const char* face, uint32_t size, bool italic, bool bold);
    void PushFont(CFont* font, uint32_t value);  // ignored for null or a full stack
    void PopFont();                              // ignored on an empty stack
    CFont* GetTopFont() const { return top_ >= 0 ? fonts_[top_] : nullptr; }
    // Forwarded to the font on top: the character forms return the top index (-1 when the stack
    // is empty), the text forms the width drawn (0 when empty).
    int32_t DrawChar(int32_t x, int32_t y, uint32_t colour, uint16_t code);
    int32_t DrawCharSmooth(int32_t x, int32_t y, uint32_t colour, uint16_t code);
    int32_t DrawText(int32_t x, int32_t y, uint32_t colour, const char* text);
    int32_t DrawTextSmooth(int32_t x, int32_t y, uint32_t colour, const char* text);
    int32_t DrawTextProportional(int32_t x, int32_t y, uint32_t colour, const char* text);
    int32_t DrawTextProportionalSmooth(int32_t x, int32_t y, uint32_t colour, const char* text);

private:
    int32_t capacity_;
    int32_t top_ = -1;
    CFont** fonts_;
};

namespace Zeth {

bool CreateManagers();   // false when one cannot be made
void ReleaseManagers();  // accepts managers that were never created
void LoseDeviceObjects();     // every manager's OnLostDevice, in the device's reset order
void RestoreDeviceObjects();  // and OnResetDevice in the same order
// The 2D primitive, sprite, line and point managers, in that order, when they exist.
void ForEach2DManager(const std::function<void(CObject2DManager&)>& visit);
CFontManager* GetFontManager();
CSprite3DManager* GetSprite3DManager();
CPrimitive3DManager* GetPrimitive3DManager();
CLine3DManager* GetLine3DManager();
CPoint3DManager* GetPoint3DManager();
CLine2DManager* GetLine2DManager();
CPoint2DManager* GetPoint2DManager();
CFontSprite2DManager* GetFontSprite2DManager();
CFontSprite3DManager* GetFontSprite3DManager();
ZethModelExManager* GetModelManager();

}  // namespace Zeth

namespace ZethSprite3D {
CSprite3D* Create(uint32_t count, uint32_t type);  // through the 3D sprite manager, under its lock
}  // namespace ZethSprite3D
