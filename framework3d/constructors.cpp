// Hands the framework's managers the constructors of the 3D side's classes: each manager's
// Create makes its object through these.
#include "framework/graphics/extension3d.h"
#include "framework3d/font.h"

namespace {

template <typename Made, typename Object, typename... Args>
Zeth::Constructor<Object, Args...> ConstructorOf() {
    return {[](CBaseManager* manager) -> Object* { return new Made(manager); },
            [](Object* object, Args... args) { return static_cast<Made*>(object)->Create(args...); },
            [](Object* object) { object->Release(); }};
}

const Zeth::Objects3DRegistration kRegistration({
    .font = ConstructorOf<CGdiFont, CFont, const char*, uint32_t, bool, bool>(),
});

}  // namespace
