#include "framework/graphics/extension3d.h"

namespace Zeth {
namespace {

// Function-local, so a registration made during static initialisation of another file always
// finds it built.
Extension3D& Registered() {
    static Extension3D hooks;
    return hooks;
}

Objects3D& RegisteredObjects() {
    static Objects3D constructors;
    return constructors;
}

}  // namespace

Models3D& RegisteredModels() {
    static Models3D loads;
    return loads;
}

void RegisterModels3D(const Models3D& loads) { RegisteredModels() = loads; }

const Models3D& GetModels3D() { return RegisteredModels(); }

void RegisterObjects3D(const Objects3D& constructors) { RegisteredObjects() = constructors; }

const Objects3D& GetObjects3D() { return RegisteredObjects(); }

void RegisterExtension3D(const Extension3D& hooks) { Registered() = hooks; }

const Extension3D& GetExtension3D() { return Registered(); }

}  // namespace Zeth
