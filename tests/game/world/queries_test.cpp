#include <cmath>

#include "framework/core/angle.h"
#include "game/world/firing.h"
#include "game/world/type_table.h"
#include "world_support.h"

using namespace world_test;

class Queries : public WorldTest {};

TEST_F(Queries, NearestEnemyKeepsTheTruncatedBest) {
    // Squared distances 10.7 then 10.2: the best becomes 10, and 10.2 is not below it.
    Probe* first = Add(400, "a", std::sqrt(10.7f), 0);
    Probe* second = Add(400, "b", std::sqrt(10.2f), 0);
    EXPECT_EQ(world.FindNearestEnemy(0, 0), first);
    first->Vanish();
    second->Vanish();
    world.SweepObjects();
    Add(400, "far", 1000, 0);
    EXPECT_EQ(world.FindNearestEnemy(0, 0), nullptr);  // 1000 units away does not count
}

TEST_F(Queries, EnemyAboveAndOnAxes) {
    Probe* high = Add(400, "high", 100, 20);
    Probe* near = Add(400, "near", 104, 60);
    Add(400, "below", 100, 150);
    Add(400, "offBand", 130, 80);
    Add(400, "tooHigh", 100, -32);
    EXPECT_EQ(world.FindEnemyAbove(100, 100, 8, false), near);
    near->hitHalfWidth = 0;
    EXPECT_EQ(world.FindEnemyAbove(100, 100, 3, false), high);
    EXPECT_EQ(world.FindEnemyAbove(100, 100, 3, true), high);
    near->hitHalfWidth = 2;
    EXPECT_EQ(world.FindEnemyAbove(100, 100, 3, true), near);
    EXPECT_EQ(world.FindEnemyOnAxes(100, 100, 8, false, false, false, true), near);
    EXPECT_EQ(world.FindEnemyOnAxes(100, 100, 8, true, false, false, false), nullptr);
    EXPECT_EQ(world.FindEnemyOnAxes(100, 150, 8, false, false, false, true), near);  // the one on top is ignored
}

TEST_F(Queries, BombAllWith600Bullets) {
    Register({type_id::EF_ZanacBlast});
    for (int i = 0; i < 600; ++i) Add(700, "", static_cast<float>(i % 200), 10);
    Probe* weak = Add(450, "weak", 50, 50);
    weak->hp = 5.0f;
    weak->score = 300;
    Probe* tough = Add(450, "tough", 60, 50);
    tough->hp = 500.0f;
    Probe* ground = Add(400, "ground", 70, 50);
    Probe* scene = Add(0, "scene");
    world.currentScene = scene;
    int32_t count = world.BombAll(100, false);
    EXPECT_TRUE(ground->damage.empty());
    EXPECT_EQ(scene->score, -300);
    for (Object* b : world.enemyBullets) EXPECT_EQ(b->state, kKilled);
    int32_t blasts = 0;
    for (Object* o : world.others) blasts += o->kind == 102;
    EXPECT_EQ(blasts, 512);
    // 1 enemy destroyed + 600 bullets, then the 512 blasts just made are met as running blasts.
    EXPECT_EQ(count, 1 + 600 + 512);
}

TEST_F(Queries, BombAllQuartersInMode16AndAgainAtEachGhostEnemy) {
    world.gameMode = 16;
    Probe* a = Add(450, "a");
    Probe* ghost = Add(498, "ghost");
    Probe* b = Add(499, "b");
    a->hp = ghost->hp = b->hp = 1000.0f;
    world.BombAll(100, true);
    EXPECT_EQ(a->damage, std::vector<float>{25.0f});
    EXPECT_EQ(ghost->damage, std::vector<float>{6.0f});
    EXPECT_EQ(b->damage, std::vector<float>{6.0f});
}

TEST_F(Queries, ItemsToBonusAndBullets) {
    Register({type_id::I_Bonus, type_id::EF_Blast_01, type_id::B_Normal_W});
    Probe* recca = Add(303, "recca", 30, 40);
    Probe* gone = Add(303, "gone", 30, 40);
    gone->Kill();
    world.ItemsToBonus(700);
    EXPECT_EQ(recca->state, kKilled);
    ASSERT_EQ(world.items.front()->kind, 301);
    EXPECT_EQ(world.items.front()->score, 700);
    EXPECT_EQ(world.items.size(), 3u);
    world.ItemsToBullets();  // only the new bonus item is alive
    EXPECT_EQ(world.enemyBullets.size(), 16u);
    EXPECT_EQ(world.others.size(), 1u);
}

class Firing : public WorldTest {};

// Both sides of every row boundary of the level table, for the normal enemy bullet (type id 1,
// aimed in eighths from 16 to 127) and for another type; 224 is where the cap reaches 512 and
// 600 lies past the level where the interval reaches 0.
TEST(FiringLevels, EveryRowBoundaryForTheNormalBulletAndAnotherType) {
    struct Row {
        int32_t r, cap, interval;
        float speed;
        int32_t snap, normalBulletSnap;
    } rows[] = {
        //  r  cap interval speed   snap  type id 1
        {0,   0,   96, 0.6f,        8192, 8192},
        {7,   56,  82, 1.2f,        8192, 8192},
        {8,   64,  80, 0.6f,        4096, 4096},
        {15,  120, 66, 1.2f,        4096, 4096},
        {16,  80,  64, 2.0f,        0,    8192},
        {17,  83,  62, 2.0f,        0,    8192},
        {127, 413, 49, 2.0f,        0,    8192},
        {128, 416, 48, 2.0f,        5461, 5461},
        {195, 483, 40, 2.0f,        5461, 5461},
        {196, 484, 40, 2.0f,        4096, 4096},
        {224, 512, 36, 2.0f,        4096, 4096},
        {255, 512, 33, 2.0f,        4096, 4096},
        {256, 512, 32, 2.0f,        1820, 1820},
        {383, 512, 17, 2.49609375f, 1820, 1820},
        {384, 512, 16, 2.5f,        0,    0},
        {512, 512, 0,  3.0f,        0,    0},
        {600, 512, 0,  3.34375f,    0,    0},
    };
    for (const Row& row : rows) {
        for (int32_t typeId : {1, 2}) {
            AimedFireLevel got = AimedFireLevelOf(row.r, typeId);
            EXPECT_EQ(got.cap, row.cap) << row.r << " type " << typeId;
            EXPECT_EQ(got.interval, row.interval) << row.r << " type " << typeId;
            EXPECT_FLOAT_EQ(got.speed, row.speed) << row.r << " type " << typeId;
            EXPECT_EQ(got.snap, typeId == 1 ? row.normalBulletSnap : row.snap) << row.r << " type " << typeId;
        }
    }
}

TEST_F(Firing, PatternFans) {
    Register({type_id::B_SmallRed});
    world.FirePattern(type_id::B_SmallRed, 100, 100, 8.0f, -0.5f, 8, false, 0, 315, nullptr);
    ASSERT_EQ(world.enemyBullets.size(), 8u);
    int k = 0;
    for (Object* o : world.enemyBullets) {  // 0, 45, ..., 315 degrees
        EXPECT_EQ(o->vx, AngleCos(k * 8192) * 8.0f) << k;
        EXPECT_EQ(o->vy, AngleSin(k * 8192) * 8.0f) << k;
        ++k;
    }
    Object* first = world.enemyBullets.front();
    EXPECT_FLOAT_EQ(first->vx, 8.0f);
    EXPECT_FLOAT_EQ(first->ax, -0.5f);  // acceleration along the direction
    world.VanishBullets();
    world.SweepObjects();
    // 4 over 100 degrees steps by 33 and ends at 99.
    world.FirePattern(type_id::B_SmallRed, 100, 100, 1.0f, 0.0f, 4, false, 0, 100, nullptr);
    int32_t last = static_cast<int32_t>(99 * 65536.0 / 360.0);
    Object* end = world.enemyBullets.back();
    EXPECT_FLOAT_EQ(end->vx, AngleCos(last));
    EXPECT_FLOAT_EQ(end->vy, AngleSin(last));
    world.FirePattern(type_id::B_SmallRed, 100, 100, 1.0f, 0.0f, 0, false, 0, 100, nullptr);
    EXPECT_EQ(world.enemyBullets.size(), 4u);
}

TEST_F(Firing, AimedFanIsCentredOnTheParty) {
    Register({type_id::B_SmallRed});
    RegisterCharacters({98});
    world.CreatePC(98);  // at (128, 200)
    world.FirePattern(type_id::B_SmallRed, 128, 100, 1.0f, 0.0f, 3, true, 77, 30, nullptr);
    ASSERT_EQ(world.enemyBullets.size(), 3u);
    Object* middle = *std::next(world.enemyBullets.begin());
    EXPECT_NEAR(middle->vx, 0.0f, 1e-6);
    EXPECT_FLOAT_EQ(middle->vy, 1.0f);
}

TEST_F(Firing, AimedFireFollowsTheLevel) {
    Register({type_id::B_BomberKing_Blast});
    RegisterCharacters({98});
    world.CreatePC(98);
    world.ArrestLevel = 0;
    for (int i = 0; i < 200; ++i) world.FireAimed(type_id::B_BomberKing_Blast, 128, 0, false, true, false, 0);
    EXPECT_TRUE(world.enemyBullets.empty());
    world.FireAimed(type_id::B_BomberKing_Blast, 128, 0, false, false, false, 0);
    ASSERT_EQ(world.enemyBullets.size(), 1u);
    EXPECT_FLOAT_EQ(world.enemyBullets.front()->vy, 0.6f);
    // Exactly 32 units away still draws fire; closer does not.
    world.FireAimed(type_id::B_BomberKing_Blast, 96, 200, false, false, false, 0);
    world.FireAimed(type_id::B_BomberKing_Blast, 97, 200, false, false, false, 0);
    EXPECT_EQ(world.enemyBullets.size(), 2u);
    // At level 10 a limited shot needs more than 76 calls since the last one.
    world.ArrestLevel = 10;
    world.shotCounter = 0;
    for (int i = 0; i < 76; ++i) world.FireAimed(type_id::B_BomberKing_Blast, 128, 0, false, true, false, 0);
    EXPECT_EQ(world.enemyBullets.size(), 2u);
    world.FireAimed(type_id::B_BomberKing_Blast, 128, 0, false, true, false, 0);
    EXPECT_EQ(world.enemyBullets.size(), 3u);
    EXPECT_EQ(world.shotCounter, 0);
    // Snapped to sixteenths of a turn: an angle of 3000 becomes 4096.
    world.FireAimed(type_id::B_BomberKing_Blast, 0, 0, false, false, true, 3000);
    Object* snapped = world.enemyBullets.back();
    EXPECT_FLOAT_EQ(snapped->vx, AngleCos(4096) * 1.0f);
}
