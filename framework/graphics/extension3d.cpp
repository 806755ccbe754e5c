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

void RegisterObjects3D(const Objects3D& constructors) { RegisteredObjects() = constructors; }

const Objects3D& GetObjects3D() { return RegisteredObjects(); }

void RegisterExtension3D(const Extension3D& hooks) { Registered() = hooks; }

const Extension3D& GetExtension3D() { return Registered(); }

}  // namespace Zeth
