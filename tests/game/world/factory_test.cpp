#include <cstring>
#include <set>

#include "game/world/type_table.h"
#include "world_support.h"

using namespace world_test;

namespace {

const char* const kUnlisted = "リストにないオブジェクト作るよう言われたよ＠オブジェクト管理クラス";

}  // namespace

class Factory : public WorldTest {};

TEST(TypeTable, RowsAreInIdOrderWithKindsOfTheirFamily) {
    std::set<std::string> names;
    for (int id = 0; id < kTypeCount; ++id) {
        const TypeEntry& row = kTypeTable[id];
        ASSERT_EQ(row.id, id);
        bool unassigned = id == 7 || (id >= 97 && id <= 139);
        EXPECT_EQ(row.className == nullptr, unassigned) << id;
        if (unassigned) continue;
        EXPECT_TRUE(names.insert(row.className).second) << row.className << " listed twice";
        int k = row.kind;
        if (id <= 6) EXPECT_EQ(k, 700);
        else if (id <= 96) EXPECT_TRUE(k >= 400 && k <= 499) << id;
        else if (id <= 266) EXPECT_TRUE(k >= 500 && k <= 513) << id;
        else if (id <= 271) EXPECT_EQ(k, 300 + id - 267);
        else if (id <= 334) EXPECT_TRUE(k >= 100 && k <= 103) << id;
        else if (id <= 336) EXPECT_EQ(k, 500);
        else EXPECT_EQ(k, id == type_id::SC_EnemyQ ? 10 : 0);
    }
    EXPECT_EQ(names.size(), 303u);
    for (int i = 0; i < kCharacterCodeCount; ++i) EXPECT_EQ(kCharacterTable[i].id, kFirstCharacterCode + i);
}

TEST_F(Factory, UnassignedAndUnbuiltIdsMakeNothing) {
    Register({8});
    Add(400);
    std::vector<int32_t> ids = {7, -1, 347, 1000, 9 /* listed, class not built */};
    for (int32_t id = 97; id <= 139; ++id) ids.push_back(id);
    for (int32_t id : ids) {
        platform.messageBox.shown.clear();
        EXPECT_EQ(world.CreateObject(id, 0, 0, 0, 0, 0, 0, nullptr), nullptr) << id;
        ASSERT_EQ(platform.messageBox.shown.size(), 1u) << id;
        EXPECT_EQ(platform.messageBox.shown[0].caption, "test");
        EXPECT_EQ(platform.messageBox.shown[0].text, kUnlisted);
    }
    EXPECT_EQ(ObjectCount(), 1u);
    EXPECT_FALSE(RegisterObjectClass(7, MakeObject<Probe>));
    EXPECT_NE(world.CreateObject(8, 0, 0, 0, 0, 0, 0, nullptr), nullptr);
}

TEST_F(Factory, LinksListsAndScenes) {
    Register({336, 337, 338, 340, 272});
    Probe* owner = Add(100);
    Object* pop = world.CreateObject(336, 1, 2, 3, 4, 5, 6, owner);
    ASSERT_NE(pop, nullptr);
    EXPECT_EQ(pop->self, pop);
    EXPECT_EQ(pop->owner, owner);
    EXPECT_EQ(world.shots.front(), pop);
    EXPECT_EQ(AsProbe(pop)->args[3], 6.0f);
    Object* script = world.CreateObject(337, 128, 0, 0, 0, 0, 0, nullptr);
    EXPECT_EQ(world.currentScene, script);
    Object* wave = world.CreateObject(338, 0, 0, 0, 0, 0, 0, nullptr);
    EXPECT_EQ(wave->kind, 10);
    EXPECT_EQ(world.currentScene, script);
    Object* title = world.CreateObject(340, 128, 0, 0, 0, 0, 0, nullptr);
    EXPECT_EQ(world.currentScene, title);
    EXPECT_EQ(script->state, kAlive);  // the replaced scene is not touched
}

// Enemy life scales with the party in single precision, truncated: with four characters the
// factor is 3.0999999f, and 10 x 3.0999999f rounds to 31.0f, so hp 10 becomes 31 (in double
// precision it would be 30).
TEST_F(Factory, EnemyLifeScalesWithThePlayerCount) {
    Register({8});
    struct Case {
        int32_t players;
        float hp;
        float expected;
    } cases[] = {{4, 10.0f, 31.0f}, {4, 3.0f, 9.0f}, {1, 2.5f, 2.0f}, {2, 10.0f, 17.0f}, {3, 1.0f, 2.0f}};
    for (const Case& c : cases) {
        world.SetPlayerCount(c.players);
        RegisterObjectClass(8, [](float x, float y, float a, float, float, float) -> Object* {
            Probe* p = new Probe(x, y);
            p->hp = a;
            return p;
        });
        Object* enemy = world.CreateObject(8, 0, 0, c.hp, 0, 0, 0, nullptr);
        EXPECT_EQ(enemy->hp, c.expected) << c.players << " players, hp " << c.hp;
        EXPECT_EQ(enemy->maxHp, 1.0f);
    }
    RegisterObjectClass(8, [](float, float, float, float, float, float) -> Object* {
        Probe* p = new Probe();
        p->hp = 3.0f;
        p->state = kKilled;
        return p;
    });
    world.SetPlayerCount(4);
    EXPECT_EQ(world.CreateObject(8, 0, 0, 0, 0, 0, 0, nullptr)->hp, 3.0f);
}

TEST_F(Factory, PlayerFactory) {
    RegisterCharacters({98, 110});
    EXPECT_EQ(world.CreatePC(99), nullptr);  // PC_Noa not built
    Object* first = world.CreatePC(98);
    ASSERT_EQ(world.pcController, first);
    EXPECT_TRUE(world.players.empty());
    Object* natsuki = world.CreatePC(110);
    Object* fallback = world.CreatePC(105);
    ASSERT_NE(fallback, nullptr);
    EXPECT_EQ(natsuki->kind, 201);
    EXPECT_EQ(fallback->owner, first);
    EXPECT_EQ(natsuki->x, 128.0f);
    EXPECT_EQ(natsuki->y, 200.0f);
    Object* second = world.CreatePC(98);
    EXPECT_EQ(first->state, kVanished);
    EXPECT_EQ(world.pcController, second);
    EXPECT_EQ(world.CreatePC(300)->owner, second);
    world.SweepObjects();
    EXPECT_EQ(world.players.size(), 3u);
}
