#include "enemies_support.h"

#include <algorithm>
#include <cmath>
#include <cxxabi.h>
#include <cstdlib>
#include <string>
#include <typeinfo>

#include "game/world/type_table.h"

namespace enemies_test {

bool CellRecorder::Push(const Vertex2D* v, uint32_t triangles) {
    float x0 = v[0].x, y0 = v[0].y, x1 = v[0].x, y1 = v[0].y, u = v[0].uv[0][0], t = v[0].uv[0][1];
    for (uint32_t i = 1; i < triangles * 3; ++i) {
        x0 = std::min(x0, v[i].x);
        y0 = std::min(y0, v[i].y);
        x1 = std::max(x1, v[i].x);
        y1 = std::max(y1, v[i].y);
        u = std::min(u, v[i].uv[0][0]);
        t = std::min(t, v[i].uv[0][1]);
    }
    rects.push_back({x0, y0, x1 - x0, y1 - y0, static_cast<int32_t>(std::lround(u * 256.0f)),
                     static_cast<int32_t>(std::lround(t * 256.0f)), v[0].diffuse});
    return true;
}

std::vector<std::pair<int32_t, int32_t>> CellRecorder::Sources() const {
    std::vector<std::pair<int32_t, int32_t>> out;
    for (const Rect& r : rects) out.push_back({r.srcX, r.srcY});
    return out;
}

EnemyWorld::EnemyWorld() {
    world_test::Events().clear();
    scene = new Probe();
    scene->name = "scene";
    scene->self = scene;
    world.AddObject(scene, 0);
    world.currentScene = scene;
    party = new Probe(128, 200);
    party->self = party;
    world.pcController = party;
    gameSprites.enemy = &enemyBatch;
    gameSprites.shot = &shotBatch;
    gameSprites.effect1 = &effect1;
    gameSprites.effect2 = &effect2;
}

EnemyWorld::~EnemyWorld() {
    gameSprites = GameSpriteSet{};
    for (auto& [id, make] : replaced_) RegisterObjectClass(id, make);
}

Object* EnemyWorld::Make(int32_t typeId, float x, float y, float a, float b, float c, float d) {
    return world.CreateObject(typeId, x, y, a, b, c, d, nullptr);
}

void EnemyWorld::StandIn(int32_t typeId) {
    replaced_.push_back({typeId, FindObjectConstructor(typeId)});
    ASSERT_TRUE(RegisterObjectClass(typeId, MakeObject<Probe>));
}

int32_t EnemyWorld::CountOf(const ObjectList& list, int32_t typeId) {
    int32_t n = 0;
    for (Object* o : list) n += ClassOf(o) == kTypeTable[typeId].className;
    return n;
}

std::string ClassOf(Object* o) {
    int status = 0;
    char* name = abi::__cxa_demangle(typeid(*o).name(), nullptr, nullptr, &status);
    std::string out = status == 0 ? name : typeid(*o).name();
    std::free(name);
    const size_t colon = out.rfind("::");
    return colon == std::string::npos ? out : out.substr(colon + 2);
}

void ExpectClassKindSizeAndHitBox(Object* o, const testing_support::DataRow& row) {
    EXPECT_EQ(ClassOf(o), row.Text("class"));
    EXPECT_EQ(o->kind, row.Int("kind"));
    EXPECT_EQ(o->width, row.Int("width"));
    EXPECT_EQ(o->height, row.Int("height"));
    EXPECT_EQ(o->hitHalfWidth, row.Int("hitHalfWidth"));
    EXPECT_EQ(o->hitHalfHeight, row.Int("hitHalfHeight"));
}

}  // namespace enemies_test
