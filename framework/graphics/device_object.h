// Objects that own device resources and their per-class managers. A device object lists itself
// in its manager and holds a reference on it; a manager lists its objects (owning nothing),
// holds the device, and forwards device loss and reset to every listed object.
#pragma once

#include <cstdint>

#include "framework/app/log.h"
#include "framework/graphics/object_base.h"
#include "platform/gfx/device.h"

namespace gfx = platform::gfx;

class CBaseImage;

class CBaseManager : public CObjectList {
public:
    explicit CBaseManager(gfx::Device* device);  // takes one reference on the device
    // Releases one reference of every listed object; objects still held elsewhere are cut
    // loose from the manager so their later release does not reach it.
    ~CBaseManager() override;

    bool GetDevice(gfx::Device** out) const;  // with a reference added; false without device
    gfx::Device* GetDevicePointer() const { return device_; }
    gfx::WindowHandle GetFocusWindow() const;
    virtual void OnLostDevice() {}
    virtual void OnResetDevice() {}

protected:
    // The first listed object whose name equals name, ignoring letter case; null when none.
    CBaseObject* FindListed(const char* name) const;

private:
    gfx::Device* device_;
};

// A manager whose objects hold default-pool resources.
class CDeviceObjectManager : public CBaseManager {
public:
    using CBaseManager::CBaseManager;
    void OnLostDevice() override;
    void OnResetDevice() override;
};

// A manager of 2D objects, which also forwards clipping, scaling and perspective.
class CObject2DManager : public CDeviceObjectManager {
public:
    struct ClipRect {
        int32_t left, top, right, bottom;
    };
    using CDeviceObjectManager::CDeviceObjectManager;
    void SetClipRect(const ClipRect* rect);
    void SetScaling(bool enable, float centreX, float centreY, float scale);
    void SetPerspective(bool enable, float centreX, float centreY, float factor);
};

class CDeviceObject : public CBaseObject {
public:
    explicit CDeviceObject(CBaseManager* manager);  // lists itself and takes a manager reference
    ~CDeviceObject() override;

    virtual void OnLostDevice() = 0;   // release everything in the default pool
    virtual void OnResetDevice() = 0;  // rebuild it
    // Binds the image's texture to the stage (null unbinds); the device's result.
    virtual gfx::Result SetTexture(uint32_t stage, CBaseImage* image);
    virtual const char* GetErrorString(gfx::Result result);
    gfx::Device* GetDevicePointer() const;
    gfx::WindowHandle GetFocusWindow() const;
    CBaseManager* GetManager() const { return manager_; }

private:
    friend class CBaseManager;
    CBaseManager* manager_;
};

// Logged creation of an object already constructed with its manager: the class's title (and
// the text after it, when any), the object's own Create (create(object)), then "Success!" and
// the object (one reference, the caller's) or "Failed!", release(object) and null.
template <typename Object, typename CreateCall, typename ReleaseCall>
Object* RunLoggedCreation(Object* object, const char* title, const char* afterTitle, CreateCall create,
                          ReleaseCall release) {
    ZethLog::PrintTitle("%s", title);
    if (afterTitle != nullptr) ZethLog::Print("%s", afterTitle);
    if (create(object)) {
        ZethLog::PrintSuccess("Success!");
        ZethLog::PrintBreak();
        return object;
    }
    ZethLog::PrintError("Failed!");
    ZethLog::PrintBreak();
    release(object);
    return nullptr;
}

// Logged creation of a class the framework knows.
template <typename Object, typename... Args>
Object* CreateLogged(CBaseManager* manager, const char* title, Args... args) {
    return RunLoggedCreation(
        new Object(manager), title, nullptr, [&](Object* object) { return object->Create(args...); },
        [](Object* object) { object->Release(); });
}

// Resolves the file of a by-file or by-archive creation through the file system (out holds
// ZethFile::kPathSize bytes). A file found in no slot's folder or pack is logged under the
// creation's title, as a failed load is, and gives false.
bool ResolveSourceFile(char* out, const char* file, const char* title);

// Named creation: the object's Create (given as a callable on the new object), then the name;
// null and the object released when Create fails.
template <typename Object, typename CreateCall>
Object* CreateNamed(CBaseManager* manager, const char* name, CreateCall create) {
    auto* object = new Object(manager);
    if (!create(*object)) {
        object->Release();
        return nullptr;
    }
    if (name != nullptr) object->SetName(name);
    return object;
}
