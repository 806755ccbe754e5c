// How the framework reaches its 3D side. The 3D side is a library built on the framework, so the
// framework cannot call it by name: the 3D side fills in an Extension3D and registers it from a
// static Extension3DRegistration in its own sources (programs link that library whole, so the
// linker keeps the object). The framework calls each hook at a fixed point of start-up, shutdown, device loss
// and reset; a null hook, or no registration at all, does nothing there.
//
// This is also where the 3D side will hand the managers the constructors behind their Create
// operations (models, 3D sprites and primitives, lines and points, fonts and font sprites), so the
// managers themselves stay in the framework.
#pragma once

#include <type_traits>

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

}  // namespace Zeth
