// A world for the enemy-side classes: the real classes of the game, a probe as the current scene
// and one as the party's controller, class stand-ins that restore what they replace, and sprite
// batches that record the cells drawn into them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "framework/graphics/sprite.h"
#include "framework/graphics/texture.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/drawing.h"
#include "game/world/world_support.h"
#include "support/data_table.h"

namespace enemies_test {

using world_test::Probe;

// A 256 x 256 sheet with no device behind it: only its size matters to the sprite's arithmetic.
class Sheet256 : public CTexture {
public:
    Sheet256() : CTexture(nullptr) { info_.width = info_.height = 256; }
};

// Keeps every rectangle pushed into it: destination corner and size, source corner in texels.
class CellRecorder : public CSprite2D {
public:
    struct Rect {
        float x, y, w, h;
        int32_t srcX, srcY;
        uint32_t colour;
    };
    explicit CellRecorder(CTexture* sheet) : CSprite2D(nullptr) { SetTexture(0, sheet); }
    // Quads and rectangles too come through Push, as the base class sends them.
    bool PushQuad(const Vertex2D corners[4]) override { return CBasePrimitive2D::PushQuad(corners); }
    bool PushRect(const RectQuad& quad) override { return CBasePrimitive2D::PushRect(quad); }
    bool Push(const Vertex2D* v, uint32_t triangles) override;
    std::vector<std::pair<int32_t, int32_t>> Sources() const;
    std::vector<Rect> rects;
};

class EnemyWorld : public ::testing::Test {
protected:
    EnemyWorld();
    ~EnemyWorld() override;

    Object* Make(int32_t typeId, float x = 128, float y = 120, float a = 0, float b = 0, float c = 0, float d = 0);
    // Replaces a type id's class by a probe until the end of the test.
    void StandIn(int32_t typeId);
    // How many objects of the list were made with the given type id's class, by class name.
    static int32_t CountOf(const ObjectList& list, int32_t typeId);

    testing_support::FakePlatform platform;
    ObjectController world;
    Probe* scene;
    Probe* party;
    Sheet256 sheet;
    CellRecorder enemyBatch{&sheet}, shotBatch{&sheet};
    CellRecorder effect1{&sheet}, effect2{&sheet};

private:
    std::vector<std::pair<int32_t, ObjectConstructor>> replaced_;
};

// The class name an object was made as (from its type information).
std::string ClassOf(Object* o);

// Expects the object's class, kind, drawn size and hit box to be those of a row of a class table
// kept as test data.
void ExpectClassKindSizeAndHitBox(Object* o, const testing_support::DataRow& row);

}  // namespace enemies_test
