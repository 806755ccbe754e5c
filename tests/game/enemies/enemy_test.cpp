#include <cmath>
#include <limits>
#include <set>

#include "enemies_support.h"
#include "framework/core/angle.h"
#include "game/enemies/enemy.h"
#include "game/world/kinds.h"
#include "game/world/type_table.h"
#include "support/data_table.h"

namespace enemies_test {
namespace {

using testing_support::DataRow;
using testing_support::ReadDataTable;

Enemy* AsEnemy(Object* o) { return dynamic_cast<Enemy*>(o); }

using EnemyClasses = EnemyWorld;

TEST_F(EnemyClasses, EveryIdHoldsTheClassTableAsDesignedAndPaysItsScore) {
    const std::vector<DataRow> rows = ReadDataTable(std::string(TANZLOR_TEST_DATA) + "/enemy_classes.csv");
    // One row for every enemy class of the type table, and no other.
    std::set<int32_t> listed;
    for (const DataRow& row : rows) {
        const int32_t id = row.Int("id");
        EXPECT_TRUE(listed.insert(id).second) << "a second row for id " << id;
        const TypeEntry* type = FindType(id);
        EXPECT_TRUE(type != nullptr && type->className != nullptr && kind::IsEnemyKind(type->kind))
            << "id " << id << " is no enemy class";
    }
    for (const TypeEntry& type : kTypeTable) {
        if (type.className == nullptr || !kind::IsEnemyKind(type.kind)) continue;
        EXPECT_EQ(listed.count(type.id), 1u) << type.className << " has no row in enemy_classes.csv";
    }
    const float args[4] = {3, 4, 5, 6};
    // A cell gives a number, names the argument a-d it takes, or "ab": the direction (angle) or
    // length (speed) of (a, b).
    auto value = [&](const DataRow& row, const std::string& column) -> float {
        const std::string& cell = row.Text(column);
        if (cell.size() == 1 && cell[0] >= 'a' && cell[0] <= 'd') return args[cell[0] - 'a'];
        if (cell == "ab") return column == "angle" ? static_cast<float>(AngleAtan2(3, 4)) : 5.0f;
        return row.Float(column);
    };
    for (const DataRow& row : rows) {
        SCOPED_TRACE(row.Text("class"));
        Enemy* e = AsEnemy(Make(row.Int("id"), 100.7f, 50.0f, 3, 4, 5, 6));
        ASSERT_NE(e, nullptr);
        ExpectClassKindSizeAndHitBox(e, row);
        EXPECT_EQ(e->maxHp, row.Float("hp"));
        EXPECT_EQ(e->hp, std::trunc(row.Float("hp")));  // one player: the factory truncates the life
        EXPECT_EQ(e->destroySound, row.Int("destroySound"));
        EXPECT_EQ(e->hitSound, row.Int("hitSound"));
        const float place = row.Float("place");
        EXPECT_EQ(e->x, row.Int("intX") == 1 ? 100.0f : 100.7f + place * 3);
        EXPECT_EQ(e->y, 50.0f + place * 4);
        if (row.Int("intX") == 1) { EXPECT_EQ(e->spawnX, 100); }
        EXPECT_EQ(e->vx, value(row, "vx"));
        EXPECT_EQ(e->vy, value(row, "vy"));
        EXPECT_EQ(e->ax, value(row, "ax"));
        EXPECT_EQ(e->ay, value(row, "ay"));
        EXPECT_EQ(e->moveMode, row.Int("moveMode"));
        EXPECT_EQ(e->angle, static_cast<int32_t>(value(row, "angle")));
        EXPECT_EQ(e->speed, value(row, "speed"));
        EXPECT_EQ(e->speedAccel, row.Float("speedAccel"));
        EXPECT_EQ(e->invincible, row.Int("invincible"));
        EXPECT_EQ(e->ghostLook, row.Int("ghostLook"));
        // Destroyed past every boss's time bonus, it pays its score to the scene; a falling block
        // pays by its height, the missile leaves a bomb and the stage-2 middle enemy bursts unpaid.
        EXPECT_EQ(e->score, row.Int("score"));
        const int32_t id = row.Int("id");
        scene->score = 0;
        e->age = 661;
        e->Kill();
        world.SweepObjects();
        if (id != 32 && id != 33 && id != 35) { EXPECT_EQ(scene->score, row.Int("score")); }
    }
}

TEST_F(EnemyClasses, ConstructorsTakeTheirMovementFromTheArguments) {
    struct Case {
        int32_t id;
        float vx, vy, ax, ay;
        int32_t moveMode, angle;
        float speed;
    } cases[] = {
        {8, 0, 0, 0, 0, 1, 16384, 4},     // fixed polar fall
        {9, 0, 1, 0, 0, 0, 0, 0},         // fixed vy
        {13, 3, 4, 0, 0, 0, 0, 0},        // vx = a, vy = b
        {16, 3, 4, 5, 6, 0, 0, 0},        // all four
        {17, 3, 4, 0, 0, 1, 9672, 5},     // polar along (a, b) with its length
        {32, 3, 4, 5, 6, 2, 0, 0},        // mode 2
        {41, 0, 4, 0, 0, 0, 0, 0},        // vy = b only
        {53, 3, -2, 5, 0.05f, 0, 0, 0},   // vx = a, ax = c, fixed vy and ay
        {75, 3, 4, 0, 0, 1, 9672, 2},     // direction of (a, b), fixed speed
        {93, 3, 1, 0, 0, 0, 0, 0},        // vx = a, fixed vy
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        Object* e = Make(c.id, 100, 50, 3, 4, 5, 6);
        EXPECT_EQ(e->vx, c.vx);
        EXPECT_EQ(e->vy, c.vy);
        EXPECT_EQ(e->ax, c.ax);
        EXPECT_EQ(e->ay, c.ay);
        EXPECT_EQ(e->moveMode, c.moveMode);
        EXPECT_NEAR(e->angle, c.angle, 8);
        EXPECT_EQ(e->speed, c.speed);
    }
    // Split pieces are placed ahead by their velocity and look ghostly when c or d is set.
    Enemy* piece = AsEnemy(Make(type_id::E_Split_Middle_Y, 100, 50, 1, -1, 0, 1));
    EXPECT_EQ(piece->x, 108.0f);
    EXPECT_EQ(piece->y, 42.0f);
    EXPECT_EQ(piece->ghostLook, 1);
    EXPECT_EQ(AsEnemy(Make(type_id::E_GhostZako1_W, 0, 0))->colour, -1);
}

TEST_F(EnemyClasses, LifeScalesWithThePartyAndZeroLifeDiesOnAnyHit) {
    world.playerCount = 3;
    EXPECT_EQ(Make(type_id::E_SquareBlock_Y)->hp, 38.0f);       // 16 x 2.4
    EXPECT_EQ(Make(type_id::E_DestroyableBullet_W)->hp, 0.0f);  // 0.1 x 2.4 truncates to 0
    Object* zako = Make(type_id::E_Gradius_HatchZako_W);
    zako->Damage(&world, 0.001f);
    EXPECT_EQ(zako->state, kKilled);
}

TEST_F(EnemyClasses, DamageKillsAtExactlyZeroAndIgnoresNothingHits) {
    struct Case {
        float amount;
        float hp;
        int32_t state;
        int32_t flash;
    } cases[] = {
        {16.0f, 0.0f, kKilled, 1},
        {15.5f, 0.5f, kAlive, 1},
        {0.0f, 16.0f, kAlive, 0},
        {-3.0f, 16.0f, kAlive, 0},
        {std::numeric_limits<float>::quiet_NaN(), 16.0f, kAlive, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.amount);
        Object* block = Make(type_id::E_SquareBlock_Y);
        block->Damage(&world, c.amount);
        EXPECT_EQ(block->hp, c.hp);
        EXPECT_EQ(block->state, c.state);
        EXPECT_EQ(block->flashTimer, c.flash);
    }
}

TEST_F(EnemyClasses, HitAndDestroySoundsFollowTheirFields) {
    Object* block = Make(type_id::E_SquareBlock_Y);  // sounds 3 / 21
    block->Damage(&world, 1.0f);
    EXPECT_GT(world.soundEffects.cooldown[21], 0);
    EXPECT_EQ(world.soundEffects.cooldown[3], 0);
    block->Damage(&world, 100.0f);
    EXPECT_GT(world.soundEffects.cooldown[3], 0);
    // A boss without a destroy sound is silent when destroyed.
    Object* boss = Make(type_id::E_Stage1_Boss);
    boss->Damage(&world, 1000.0f);
    EXPECT_EQ(boss->state, kKilled);
    EXPECT_EQ(world.soundEffects.cooldown[0], 0);
}

TEST_F(EnemyClasses, TheHitFlashRunsEightFramesAndPicksTheSheet) {
    Enemy* e = AsEnemy(Make(type_id::E_SquareBlock_Y));
    e->Damage(&world, 1.0f);
    e->Damage(&world, 1.0f);  // the same frame: one step
    std::vector<int32_t> timers;
    std::vector<int32_t> sheets;
    for (int i = 0; i < 10; ++i) {
        timers.push_back(e->flashTimer);
        sheets.push_back(e->SheetIndex());
        e->TickHitFlash();
    }
    EXPECT_EQ(timers, (std::vector<int32_t>{1, 1, 2, 3, 4, 5, 6, 7, 8, 0}));
    EXPECT_EQ(sheets, (std::vector<int32_t>{1, 1, 1, 1, 1, 0, 0, 0, 0, 0}));
    // A hit while the timer stands at 8 starts the next cycle, 9 to 16.
    e->flashTimer = 8;
    e->Damage(&world, 1.0f);
    timers.clear();
    for (int i = 0; i < 10; ++i) {
        e->TickHitFlash();
        timers.push_back(e->flashTimer);
    }
    EXPECT_EQ(timers, (std::vector<int32_t>{9, 10, 11, 12, 13, 14, 15, 16, 0, 0}));
    e->OnMessage(Msg(3, 0, 1));
    EXPECT_EQ(e->SheetIndex(), 2);
    e->flashTimer = 3;
    EXPECT_EQ(e->SheetIndex(), 3);
    e->OnMessage(Msg(3, 1, 0x11223344));
    EXPECT_EQ(e->colour, 0x11223344);
    e->OnMessage(Msg(3, 7, 5));  // other codes change nothing
    EXPECT_EQ(e->ghostLook, 1);
}

TEST_F(EnemyClasses, ExplodeByKind) {
    struct Case {
        int32_t kind;
        int32_t blastId;  // -1 none
        bool tellsScene;
        bool returnFire;
    } cases[] = {
        {400, 272, false, false}, {410, -1, true, false},  {430, 273, true, true},   {450, 273, true, true},
        {490, 272, true, true},   {497, -1, true, false},  {498, -1, false, false},  {499, 272, false, false},
    };
    world.ArrestLevel = 4;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        world.ClearScene();
        world.SweepObjects();
        world.currentScene = scene = new Probe();
        scene->self = scene;
        world.AddObject(scene, 0);
        Enemy* e = AsEnemy(Make(type_id::E_Box_W, 40.9f, 60.2f));
        e->kind = c.kind;
        e->Explode(&world);
        EXPECT_EQ(CountOf(world.others, type_id::EF_Blast_01), c.blastId == 272 ? 1 : 0);
        EXPECT_EQ(CountOf(world.others, type_id::EF_Blast_02), c.blastId == 273 ? 1 : 0);
        EXPECT_EQ(CountOf(world.others, type_id::EF_RefrectBullet), c.returnFire ? 1 : 0);
        ASSERT_EQ(scene->messages.size(), c.tellsScene ? 1u : 0u);
        if (c.tellsScene) {
            EXPECT_EQ(scene->messages[0].Code(), 2);
            EXPECT_EQ(scene->messages[0].Count(), 5);
            EXPECT_EQ(scene->messages[0].Int(1), 40);
            EXPECT_EQ(scene->messages[0].Int(2), 60);
        }
        EXPECT_EQ(scene->score, 100);
    }
    // Below rank 4 no return fire; and with no scene the blast still comes.
    world.ArrestLevel = 3;
    world.currentScene = nullptr;
    Object* e = Make(type_id::E_Box_W);
    e->Kill();
    world.SweepObjects();
    EXPECT_EQ(CountOf(world.others, type_id::EF_RefrectBullet), 0);
    EXPECT_EQ(CountOf(world.others, type_id::EF_Blast_01), 2);
}

TEST_F(EnemyClasses, SimpleRunShootsOnlyForKinds490And450AndDrawsCentred) {
    world.ArrestLevel = 4;
    party->x = 0;
    party->y = 0;
    Object* block = Make(type_id::E_SquareBlock_Y, 128, 120);  // kind 450
    Object* box = Make(type_id::E_SmallMissile_W, 128, 120);   // kind 499
    for (int i = 0; i < 200; ++i) {
        block->Run(&world);
        box->Run(&world);
    }
    EXPECT_GT(CountOf(world.enemyBullets, type_id::B_Normal_W), 0);
    EXPECT_EQ(block->age, 200);
    block->Draw(&world);
    ASSERT_EQ(enemyBatch.rects.size(), 1u);
    EXPECT_EQ(enemyBatch.rects[0].x, 120.0f);
    EXPECT_EQ(enemyBatch.rects[0].w, 16.0f);
    // Below rank 4 the shot is a bullet the player can shoot down.
    world.ArrestLevel = 2;
    Enemy* e = AsEnemy(Make(type_id::E_SquareBlock_Y, 128, 120));
    for (int i = 0; i < 200; ++i) e->Shoot(&world);
    EXPECT_GT(CountOf(world.enemies, type_id::E_DestroyableBullet_W), 0);
}

TEST_F(EnemyClasses, MoveVanishesBeyondTheFixedMargin) {
    struct Case {
        float x, y;
        int32_t state;
    } cases[] = {{-32, 100, kAlive}, {-32.5f, 100, kVanished}, {288, 100, kAlive}, {100, 272.5f, kVanished}};
    for (const Case& c : cases) {
        Object* e = Make(type_id::E_IronBall_W, 0, 0);  // no movement of its own
        e->x = c.x;
        e->y = c.y;
        e->Move(&world);
        EXPECT_EQ(e->state, c.state) << c.x << "," << c.y;
    }
    Object* falling = Make(type_id::E_SquareBlock_Y, 100, 100);
    falling->Move(&world);
    EXPECT_EQ(falling->y, 100.5f);
}

}  // namespace
}  // namespace enemies_test
