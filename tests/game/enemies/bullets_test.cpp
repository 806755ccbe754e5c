#include <algorithm>

#include "enemies_support.h"
#include "game/enemies/bullet.h"
#include "game/world/type_table.h"

namespace enemies_test {
namespace {

using Bullets = EnemyWorld;

TEST_F(Bullets, VanishOnlyBeyondTheFieldByTheirOwnSize) {
    struct Case {
        float x, y;
        int32_t state;
    } cases[] = {
        {-8, 100, kAlive}, {-9, 100, kVanished}, {264, 100, kAlive}, {265, 100, kVanished},
        {100, -8, kAlive}, {100, -9, kVanished}, {100, 248, kAlive}, {100, 249, kVanished},
    };
    for (const Case& c : cases) {
        Object* b = Make(type_id::B_Normal_W, c.x, c.y);  // 8 x 8, no velocity
        b->Move(&world);
        EXPECT_EQ(b->state, c.state) << c.x << "," << c.y;
    }
}

TEST_F(Bullets, TheAngleFollowsTheVelocityOnlyWhileAccelerating) {
    Object* steady = Make(type_id::B_Normal_W, 100, 100, 0, 2);
    steady->angle = 1234;
    steady->Move(&world);
    EXPECT_EQ(steady->angle, 1234);
    EXPECT_EQ(steady->y, 102.0f);
    Object* turning = Make(type_id::B_Normal_W, 100, 100, 0, 2, 0.5f, 0);
    turning->Move(&world);
    EXPECT_EQ(turning->vx, 0.5f);
    EXPECT_NE(turning->angle, 0);
}

TEST_F(Bullets, AKilledBulletLeavesAnEraseFlashAndTenPoints) {
    Object* b = Make(type_id::B_Normal_W, 50, 60, 1, 2);
    b->Damage(&world, 1.0f);  // hp 0: any hit erases it
    world.SweepObjects();
    ASSERT_EQ(CountOf(world.others, type_id::EF_EraseBullet), 1);
    EXPECT_EQ(scene->score, 10);
    Object* flash = world.others.back();
    EXPECT_EQ(flash->vx, 1.0f);
    EXPECT_EQ(flash->vy, 2.0f);
    // Without a scene the flash still comes.
    world.currentScene = nullptr;
    Make(type_id::B_SmallRed, 50, 60)->Kill();
    world.SweepObjects();
    EXPECT_EQ(CountOf(world.others, type_id::EF_EraseBullet), 2);
}

TEST_F(Bullets, BombrisBlastGrowsHoldsAndCarriesItsCompanion) {
    StandIn(236);
    auto* blast = static_cast<B_Bombris_Blast*>(Make(type_id::B_Bombris_Blast, 100, 100));
    std::vector<int32_t> sizes;
    while (blast->state == kAlive) {
        blast->Run(&world);
        sizes.push_back(blast->hitHalfWidth);
    }
    EXPECT_EQ(sizes, (std::vector<int32_t>{8, 16, 24, 32, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40}));
    EXPECT_EQ(blast->age, 16);  // the Run that saw age 15 killed it
    EXPECT_GT(world.soundEffects.cooldown[6], 0);
    ASSERT_NE(blast->link, nullptr);
    EXPECT_EQ(blast->link->power, 32.0f);
    EXPECT_EQ(blast->link->hitHalfHeight, 40);
    EXPECT_EQ(blast->link->owner, blast);
    // Going, it releases the companion.
    Object* companion = blast->link;
    world.SweepObjects();
    EXPECT_EQ(companion->owner, nullptr);
}

TEST_F(Bullets, BombrisBlastFrameGrowsToEightyTexelsAndNeverReadsTheBulletsBesideItsCorners) {
    StandIn(236);
    CellRecorder bulletBatch{&sheet};
    gameSprites.bullet = &bulletBatch;
    Object* blast = Make(type_id::B_Bombris_Blast, 100, 100);
    // The frame's width at each age: 16 x step + 16 while growing, held from age 4 to 11, then
    // the pictures of steps 2, 1 and 0 (and step 0 on the frame its Run ends it).
    const float widths[] = {16, 32, 48, 64, 80, 80, 80, 80, 80, 80, 80, 80, 48, 32, 16, 16};
    for (float width : widths) {
        blast->Run(&world);
        bulletBatch.rects.clear();
        blast->Draw(&world);
        float left = 1000, right = -1000;
        for (const CellRecorder::Rect& r : bulletBatch.rects) {
            left = std::min(left, r.x);
            right = std::max(right, r.x + r.w);
            // The corners are read from row 48, whose texels from column 64 on are the shootable
            // bullets of the rude breaker's arms and the homing bullet.
            if (r.srcY == 48) {
                EXPECT_LE(r.srcX, 48) << blast->age;
            }
        }
        EXPECT_EQ(right - left, width) << blast->age;
    }
}

TEST_F(Bullets, BlastAreasRefillTheirLifeAndEndOnTime) {
    StandIn(236);
    Object* flame = Make(type_id::B_BM_Blast, 100, 100);  // both acceleration arguments 0: along x
    Object* upright = Make(type_id::B_BM_Blast, 100, 100, 0, 0, 1, 1);
    upright->angle = 2;
    Object* plain = Make(type_id::B_BM_Blast, 100, 100, 0, 0, 1, 1);
    flame->Run(&world);
    upright->Run(&world);
    plain->Run(&world);
    EXPECT_EQ(flame->hitHalfWidth, 8);
    EXPECT_EQ(upright->hitHalfHeight, 40);
    EXPECT_EQ(upright->hitHalfWidth, 8);
    EXPECT_EQ(plain->hitHalfHeight, 8);
    flame->Damage(&world, 100.0f);
    flame->Run(&world);
    EXPECT_EQ(flame->hp, 65535.0f);
    while (flame->state == kAlive) flame->Run(&world);
    EXPECT_EQ(flame->age, 37);
    EXPECT_EQ(flame->state, kKilled);

    Object* bomber = Make(type_id::B_BomberKing_Blast, 100, 100);
    while (bomber->state == kAlive) bomber->Run(&world);
    EXPECT_EQ(bomber->state, kVanished);
    EXPECT_EQ(bomber->age, 9);

    Object* bomb = Make(type_id::B_Senkoro_Bomb, 100, 100, 1, 0);
    bomb->Run(&world);
    ASSERT_NE(bomb->link, nullptr);
    EXPECT_EQ(bomb->link->power, 8.0f);
    EXPECT_EQ(bomb->link->hitHalfWidth, 16);
    bomb->Move(&world);
    bomb->Run(&world);
    EXPECT_EQ(bomb->link->x, 101.0f);
}

// Each bullet class as the factory makes it: its class, the bullets' kind, its drawn size, hit
// box, hp (also its maximum) and power.
TEST_F(Bullets, EachClassIsMadeWithItsSizeHitBoxHpAndPower) {
    struct Case {
        int32_t id;
        const char* made;
        int32_t width, height, hitHalfWidth, hitHalfHeight;
        float hp, power;
    } cases[] = {
        {0, "B_SmallRed", 8, 8, 0, 0, 1, 0},
        {1, "B_Normal_W", 8, 8, 4, 4, 0, 0},
        {2, "B_BomberKing_Blast", 48, 48, 24, 24, 65535, 4},
        {3, "B_RudeBreaker_Homing_W", 8, 8, 4, 4, 0, 0},
        {4, "B_BM_Blast", 16, 16, 8, 8, 65535, 1},
        {5, "B_Bombris_Blast", 16, 16, 8, 8, 65535, 1},
        {6, "B_Senkoro_Bomb", 32, 32, 12, 12, 65535, 1},
    };
    for (const Case& c : cases) {
        Object* b = Make(c.id, 100, 100);
        ASSERT_NE(b, nullptr) << c.id;
        EXPECT_EQ(ClassOf(b), c.made);
        EXPECT_EQ(b->kind, 700) << c.made;
        EXPECT_EQ(b->width, c.width) << c.made;
        EXPECT_EQ(b->height, c.height) << c.made;
        EXPECT_EQ(b->hitHalfWidth, c.hitHalfWidth) << c.made;
        EXPECT_EQ(b->hitHalfHeight, c.hitHalfHeight) << c.made;
        EXPECT_EQ(b->hp, c.hp) << c.made;
        EXPECT_EQ(b->maxHp, c.hp) << c.made;
        EXPECT_EQ(b->GetPower(), c.power) << c.made;
    }
}

}  // namespace
}  // namespace enemies_test
