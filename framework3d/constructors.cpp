// Hands the framework's managers the constructors of the 3D side's classes: each manager's
// Create makes its object through these.
#include "framework/graphics/extension3d.h"
#include "framework3d/font.h"
#include "framework3d/font_sprite_2d.h"
#include "framework3d/font_sprite_3d.h"
#include "framework3d/list2d.h"
#include "framework3d/primitive3d.h"
#include "framework3d/sprite3d.h"

namespace {

template <typename Made, typename Object, typename... Args>
Zeth::Constructor<Object, Args...> ConstructorOf() {
    return {[](CBaseManager* manager) -> Object* { return new Made(manager); },
            [](Object* object, Args... args) { return static_cast<Made*>(object)->Create(args...); },
            [](Object* object) { object->Release(); }};
}

// A second creating operation of the same class: the managers' CreateFromFile.
template <typename Object, typename... Args>
Zeth::Constructor<Object, Args...> FromFileOf() {
    return {[](CBaseManager* manager) { return new Object(manager); },
            [](Object* object, Args... args) { return object->CreateFromFile(args...); },
            [](Object* object) { object->Release(); }};
}

const Zeth::Objects3DRegistration kRegistration({
    .font = ConstructorOf<CGdiFont, CFont, const char*, uint32_t, bool, bool>(),
    .sprite3D = ConstructorOf<CSprite3D, CSprite3D, uint32_t, uint32_t>(),
    .primitive3D = ConstructorOf<CPrimitive3D, CPrimitive3D, uint32_t, uint32_t>(),
    .line3D = ConstructorOf<CLine3D, CLine3D, uint32_t>(),
    .point3D = ConstructorOf<CPoint3D, CPoint3D, uint32_t>(),
    .line2D = ConstructorOf<CLine2D, CLine2D, uint32_t>(),
    .point2D = ConstructorOf<CPoint2D, CPoint2D, uint32_t>(),
    .fontSprite2D = ConstructorOf<CFontSprite2D, CFontSprite2D, const char*, uint32_t, CFont*, bool, bool>(),
    .fontSprite2DFromFile = FromFileOf<CFontSprite2D, const char*, const char*, uint32_t, bool, uint32_t>(),
    .fontSprite3D = ConstructorOf<CFontSprite3D, CFontSprite3D, const char*, uint32_t, CFont*, bool>(),
    .fontSprite3DFromFile = FromFileOf<CFontSprite3D, const char*, const char*, uint32_t, uint32_t>(),
});

}  // namespace
