// The per-class managers of the framework's objects: created by Zeth::Start right after the
// device in a fixed order, told about device loss and reset in another, and released by
// Zeth::Finalize, together with the 3D pools, in a third.
#pragma once

#include <cstdint>
#include <functional>

#include "framework/graphics/device_object.h"

// Managers of the 3D and font classes. Their objects belong to the 3D side; until it creates
// any, these managers only hold the device and pass loss and reset on.
class CObject3DManager : public CDeviceObjectManager {
public:
    using CDeviceObjectManager::CDeviceObjectManager;
};
class CSprite3DManager : public CObject3DManager {
public:
    using CObject3DManager::CObject3DManager;
};
class CPrimitive3DManager : public CObject3DManager {
public:
    using CObject3DManager::CObject3DManager;
};
class CLine3DManager : public CObject3DManager {
public:
    using CObject3DManager::CObject3DManager;
};
class CPoint3DManager : public CObject3DManager {
public:
    using CObject3DManager::CObject3DManager;
};
class CLine2DManager : public CObject2DManager {
public:
    using CObject2DManager::CObject2DManager;
};
class CPoint2DManager : public CObject2DManager {
public:
    using CObject2DManager::CObject2DManager;
};
class CFontSprite2DManager : public CBaseManager {
public:
    using CBaseManager::CBaseManager;
};
class CFontSprite3DManager : public CBaseManager {
public:
    using CBaseManager::CBaseManager;
};
class ZethModelExManager : public CDeviceObjectManager {
public:
    using CDeviceObjectManager::CDeviceObjectManager;
};

// A font object: begun when pushed on the font stack, ended when popped.
class CFont : public CDeviceObject {
public:
    using CDeviceObject::CDeviceObject;
    virtual void BeginFont(uint32_t value) = 0;
    virtual void EndFont() = 0;
};

// A stack of fonts, the top one receiving the text calls.
class CFontManager : public CBaseManager {
public:
    CFontManager(gfx::Device* device, int32_t capacity);
    ~CFontManager() override;
    void PushFont(CFont* font, uint32_t value);  // ignored for null or a full stack
    void PopFont();                              // ignored on an empty stack
    CFont* GetTopFont() const { return top_ >= 0 ? fonts_[top_] : nullptr; }

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

}  // namespace Zeth
