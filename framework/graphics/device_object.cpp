#include "framework/graphics/device_object.h"

#include <strings.h>

#include "framework/files/file_system.h"
#include "framework/graphics/device_names.h"
#include "framework/graphics/primitive2d.h"
#include "framework/graphics/texture.h"

CBaseManager::CBaseManager(gfx::Device* device) : device_(device) {
    if (device_ != nullptr) device_->AddRef();
}

CBaseManager::~CBaseManager() {
    CBaseObject* object = GetTop();
    while (object != nullptr) {
        CBaseObject* next = GetNext(object);
        auto* owned = static_cast<CDeviceObject*>(object);
        // A survivor would otherwise unlist itself from a dead manager when it is released.
        if (owned->GetRefCount() > 1) owned->manager_ = nullptr;
        owned->Release();
        object = next;
    }
    Reset();
    if (device_ != nullptr) device_->Release();
}

bool CBaseManager::GetDevice(gfx::Device** out) const {
    if (device_ == nullptr) return false;
    device_->AddRef();
    *out = device_;
    return true;
}

CBaseObject* CBaseManager::FindListed(const char* name) const {
    for (CBaseObject* object = GetTop(); object != nullptr; object = GetNext(object)) {
        if (strcasecmp(object->GetName(), name) == 0) return object;
    }
    return nullptr;
}

gfx::WindowHandle CBaseManager::GetFocusWindow() const {
    if (device_ == nullptr) return nullptr;
    gfx::CreationParameters parameters{};
    device_->GetCreationParameters(&parameters);
    return parameters.focusWindow;
}

void CDeviceObjectManager::OnLostDevice() {
    for (CBaseObject* object = GetTop(); object != nullptr; object = GetNext(object)) {
        static_cast<CDeviceObject*>(object)->OnLostDevice();
    }
}

void CDeviceObjectManager::OnResetDevice() {
    for (CBaseObject* object = GetTop(); object != nullptr; object = GetNext(object)) {
        static_cast<CDeviceObject*>(object)->OnResetDevice();
    }
}

void CObject2DManager::SetClipRect(const ClipRect* rect) {
    for (CBaseObject* object = GetTop(); object != nullptr; object = GetNext(object)) {
        static_cast<CBasePrimitive2D*>(object)->SetClipRect(rect);
    }
}

void CObject2DManager::SetScaling(bool enable, float centreX, float centreY, float scale) {
    for (CBaseObject* object = GetTop(); object != nullptr; object = GetNext(object)) {
        static_cast<CBasePrimitive2D*>(object)->SetScaling(enable, centreX, centreY, scale);
    }
}

void CObject2DManager::SetPerspective(bool enable, float centreX, float centreY, float factor) {
    for (CBaseObject* object = GetTop(); object != nullptr; object = GetNext(object)) {
        static_cast<CBasePrimitive2D*>(object)->SetPerspective(enable, centreX, centreY, factor);
    }
}

CDeviceObject::CDeviceObject(CBaseManager* manager) : manager_(manager) {
    if (manager_ == nullptr) return;
    manager_->AddRef();
    manager_->AddTail(this);
}

CDeviceObject::~CDeviceObject() {
    if (manager_ == nullptr) return;
    manager_->Remove(this);
    manager_->Release();
}

gfx::Result CDeviceObject::SetTexture(uint32_t stage, CBaseImage* image) {
    gfx::Device* device = GetDevicePointer();
    if (device == nullptr) return gfx::result::kInvalidCall;
    if (image == nullptr) return device->SetTexture(stage, nullptr);
    gfx::Texture* texture = image->GetDeviceTexture();
    return device->SetTexture(stage, texture);
}

const char* CDeviceObject::GetErrorString(gfx::Result result) { return ZethDeviceNames::ErrorText(result); }

gfx::Device* CDeviceObject::GetDevicePointer() const {
    return manager_ != nullptr ? manager_->GetDevicePointer() : nullptr;
}

gfx::WindowHandle CDeviceObject::GetFocusWindow() const {
    return manager_ != nullptr ? manager_->GetFocusWindow() : nullptr;
}

bool ResolveSourceFile(char* out, const char* file, const char* title) {
    if (ZethFile::ResolvePath(out, file)) return true;
    ZethLog::PrintTitle("%s", title);
    ZethLog::Print(" : [ %s ] : ", file != nullptr ? file : "");
    ZethLog::PrintError("ファイルがみつかりません");
    ZethLog::Print(" : ");
    ZethLog::PrintError("Failed!");
    ZethLog::PrintBreak();
    return false;
}
