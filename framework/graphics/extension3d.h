// How the framework reaches its 3D side. The 3D side is a library built on the framework, so the
// framework cannot call it by name: the 3D side fills in an Extension3D and registers it from a
// static Extension3DRegistration in its own sources (programs link that library whole, so the
// linker keeps the object). The framework calls each hook at a fixed point of start-up, shutdown, device loss
// and reset; a null hook, or no registration at all, does nothing there.
//
// The 3D side also hands the managers the constructors behind their Create operations (3D
// sprites and primitives, lines and points, fonts and font sprites) through an Objects3D, so the
// managers themselves stay in the framework.
#pragma once

#include <cstdint>
#include <type_traits>

#include "framework/graphics/classes3d.h"
#include "framework/graphics/device_object.h"

class CFont;
class CModelData;
class ZethModelExManager;

namespace Zeth {

struct Extension3D {
    // Zeth::Initialize, right after the FEP: false ends start-up with the animation message.
    bool (*initializeAnimations)() = nullptr;
    // Zeth::Initialize, after every service: the camera, light, model and grid-mesh pools.
    bool (*initializePools)() = nullptr;
    // Zeth::Finalize, right after the FEP.
    void (*finalizeAnimations)() = nullptr;

    // Zeth::ReleaseManagers: the grid meshes after the simple objects, the model and camera
    // pools after the model manager, the effects after the 3D primitive manager.
    void (*releaseGridMeshes)() = nullptr;
    void (*releaseModelsAndCameras)() = nullptr;
    void (*releaseEffects)() = nullptr;

    // Device loss and reset, each in the managers' order: the grid meshes after the model
    // manager, the effects last.
    void (*loseGridMeshes)() = nullptr;
    void (*resetGridMeshes)() = nullptr;
    void (*loseEffects)() = nullptr;
    void (*resetEffects)() = nullptr;

    // After start-up and every device reset, once the render states are restored: the active
    // camera's view and projection go to the device again.
    void (*applyActiveCamera)() = nullptr;
};

// Replaces the registered hooks (a default Extension3D withdraws them).
void RegisterExtension3D(const Extension3D& hooks);
// The registered hooks; every hook is null when nothing registered.
const Extension3D& GetExtension3D();

// A registered hook as a plain function, for the framework's order tables: Hook3D<&Extension3D::x>
// calls hook x when it is registered; a missing hook does nothing, and a missing bool hook counts
// as success.
template <auto hook>
auto Hook3D() {
    auto function = GetExtension3D().*hook;
    if constexpr (std::is_same_v<decltype(function()), bool>) {
        return function == nullptr || function();
    } else if (function != nullptr) {
        function();
    }
}

// The 3D side's registration, made as a static object in its source file.
struct Extension3DRegistration {
    explicit Extension3DRegistration(const Extension3D& hooks) { RegisterExtension3D(hooks); }
};

// How a manager makes an object of a class of the 3D side: construct it with the manager, run
// its own Create with the caller's arguments, or release it.
template <typename Object, typename... Args>
struct Constructor {
    Object* (*construct)(CBaseManager* manager) = nullptr;
    bool (*create)(Object* object, Args... args) = nullptr;
    void (*release)(Object* object) = nullptr;
};

struct Objects3D {
    Constructor<CFont, const char*, uint32_t, bool, bool> font;
    Constructor<CSprite3D, uint32_t, uint32_t> sprite3D;
    Constructor<CPrimitive3D, uint32_t, uint32_t> primitive3D;
    Constructor<CLine3D, uint32_t> line3D;
    Constructor<CPoint3D, uint32_t> point3D;
    Constructor<CLine2D, uint32_t> line2D;
    Constructor<CPoint2D, uint32_t> point2D;
    Constructor<CFontSprite2D, const char*, uint32_t, CFont*, bool, bool> fontSprite2D;
    Constructor<CFontSprite2D, const char*, const char*, uint32_t, bool, uint32_t> fontSprite2DFromFile;
    Constructor<CFontSprite3D, const char*, uint32_t, CFont*, bool> fontSprite3D;
    Constructor<CFontSprite3D, const char*, const char*, uint32_t, uint32_t> fontSprite3DFromFile;
};

// The model manager's two loads (file, or X-file image in memory), each with the shader version
// and the texture format index and colour key; the 3D side logs them itself.
struct Models3D {
    CModelData* (*fromFile)(ZethModelExManager* manager, const char* file, uint16_t shaderMajor,
                            uint16_t shaderMinor, uint32_t textureFormat, uint32_t colourKey) = nullptr;
    CModelData* (*fromMemory)(ZethModelExManager* manager, const void* data, uint32_t size, uint16_t shaderMajor,
                              uint16_t shaderMinor, uint32_t textureFormat, uint32_t colourKey) = nullptr;
};

void RegisterModels3D(const Models3D& loads);
const Models3D& GetModels3D();  // both null when nothing registered

struct Models3DRegistration {
    explicit Models3DRegistration(const Models3D& loads) { RegisterModels3D(loads); }
};

void RegisterObjects3D(const Objects3D& constructors);
const Objects3D& GetObjects3D();  // every constructor null when nothing registered

struct Objects3DRegistration {
    explicit Objects3DRegistration(const Objects3D& constructors) { RegisterObjects3D(constructors); }
};

// Creation through a registered constructor of a class that logs its creation itself; null when
// none is registered or the creation fails (the object then released).
template <typename Object, typename... Args>
Object* CreateRegisteredSelfLogged(CBaseManager* manager, const Constructor<Object, Args...>& maker,
                                   std::type_identity_t<Args>... args) {
    if (maker.construct == nullptr) return nullptr;
    Object* object = maker.construct(manager);
    if (maker.create(object, args...)) return object;
    maker.release(object);
    return nullptr;
}

// Logged creation through a registered constructor; null (and no log) when none is registered.
template <typename Object, typename... Args>
Object* CreateRegistered(CBaseManager* manager, const char* title, const char* afterTitle,
                         const Constructor<Object, Args...>& maker, std::type_identity_t<Args>... args) {
    if (maker.construct == nullptr) return nullptr;
    return RunLoggedCreation(
        maker.construct(manager), title, afterTitle, [&](Object* object) { return maker.create(object, args...); },
        maker.release);
}

}  // namespace Zeth
