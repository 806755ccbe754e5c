#include <algorithm>
#include <cmath>
#include <vector>

#include "enemies_support.h"
#include "game/enemies/enemy.h"
#include "game/world/type_table.h"

namespace enemies_test {
namespace {

using YFamily = EnemyWorld;

void Step(ObjectController& world, Object* e, int frames = 1) {
    for (int i = 0; i < frames; ++i) {
        e->Run(&world);
        e->Move(&world);
    }
}

// Directions, in degrees 0-359, of the objects of a class in a list.
std::vector<int32_t> Headings(const ObjectList& list, const char* className) {
    std::vector<int32_t> out;
    for (Object* o : list) {
        if (ClassOf(o) != className) continue;
        const double d = std::atan2(o->vy, o->vx) * 180.0 / M_PI;
        out.push_back(static_cast<int32_t>(std::lround(d + 360.0)) % 360);
    }
    return out;
}

TEST_F(YFamily, RowSliderQuartersItsLifeOnlyOnThePartysRow) {
    party->y = 150;
    Object* meets = Make(type_id::E_HorizonSlide_Y, 20, 100, 0, 0);
    Object* misses = Make(type_id::E_HorizonSlide_Y, 20, 160, 0, 0);
    Step(world, meets, 30);
    EXPECT_EQ(meets->hp, 3.0f);
    EXPECT_EQ(meets->vx, 2.5f);
    EXPECT_EQ(meets->vy, 0.0f);
    party->y = 300;
    Step(world, misses, 30);
    EXPECT_EQ(misses->hp, 12.0f);
}

TEST_F(YFamily, DiagonalSliderBurstsIntoRings) {
    party->x = 0;
    party->y = 0;
    // Reaching the bottom: the axes and the diagonals, with its blast, score and message.
    Object* e = Make(type_id::E_ObliqueSlide_Y, 100, 100);
    for (int i = 0; i < 200 && e->state == kAlive; ++i) Step(world, e);
    EXPECT_GT(e->y, 232.0f);
    EXPECT_EQ(e->state, kKilled);
    world.SweepObjects();
    EXPECT_EQ(CountOf(world.enemyBullets, type_id::B_Normal_W), 40);
    EXPECT_EQ(CountOf(world.others, type_id::EF_Blast_02), 1);
    EXPECT_EQ(scene->score, 800);
    ASSERT_EQ(scene->messages.size(), 1u);
    EXPECT_EQ(scene->messages[0].Code(), 2);
    // Shot down: the diagonals only.
    world.VanishBullets();
    world.SweepObjects();
    Object* shot = Make(type_id::E_ObliqueSlide_Y, 100, 100);
    shot->Damage(&world, 10.0f);
    world.SweepObjects();
    EXPECT_EQ(CountOf(world.enemyBullets, type_id::B_Normal_W), 20);
    const std::vector<int32_t> h = Headings(world.enemyBullets, "B_Normal_W");
    EXPECT_EQ(h[0], 45);
    EXPECT_EQ(h[3], 315);
}

TEST_F(YFamily, StopChargerHaltsOnlyAfterAge20AndBoundCapsAt8) {
    Object* e = Make(type_id::E_StopCharge_Y, 4, 100);
    Step(world, e, 10);
    e->x = 4;
    e->Run(&world);  // age 10, at the border: still charging
    EXPECT_NE(e->vx, 0.0f);
    EXPECT_EQ(e->x, 4.0f);
    e->Move(&world);
    Step(world, e, 10);
    e->x = 4;
    e->Run(&world);  // age 21: halts, put back inside
    EXPECT_EQ(e->vx, 0.0f);
    EXPECT_EQ(e->x, 8.0f);

    Object* bound = Make(type_id::E_Bound_Y, 100, 100);
    float fastest = 0.0f;
    for (int i = 0; i < 600; ++i) {
        Step(world, bound);
        fastest = std::max({fastest, std::fabs(bound->vx), std::fabs(bound->vy)});
    }
    EXPECT_EQ(fastest, 8.0f);
    EXPECT_EQ(bound->state, kAlive);
}

TEST_F(YFamily, PopHomingTakesItsPictureFromItsTruncatedPlace) {
    struct Case {
        float x, y;
        int32_t cellX;  // 16 x (((int)(truncated x + y / 5)) mod 8 + 8)
    } cases[] = {{100.75f, 1.25f, 192}, {3.75f, 2.5f, 176}, {7.0f, 40.0f, 240}};
    for (const Case& c : cases) {
        enemyBatch.rects.clear();
        Make(type_id::E_PopHoming_Y, c.x, c.y)->Draw(&world);
        ASSERT_EQ(enemyBatch.rects.size(), 1u);
        EXPECT_EQ(enemyBatch.rects[0].srcX, c.cellX) << c.x;
    }
}

TEST_F(YFamily, NearingBallClosesInSpiralsOutAndGoes) {
    Object* e = Make(type_id::E_NearingBall_Y, 128, 0);
    std::vector<float> radius;
    while (e->state == kAlive && radius.size() < 700) {
        Step(world, e);
        radius.push_back(std::hypot(e->x - party->x, e->y - party->y));
    }
    EXPECT_NEAR(radius[0], 180.0f, 0.01f);
    EXPECT_NEAR(radius[300], 16.0f, 0.01f);
    EXPECT_NEAR(radius[481], 18.0f, 0.01f);
    EXPECT_NEAR(radius[599], 254.0f, 0.01f);
    EXPECT_EQ(radius.size(), 601u);  // the Run at age 600 ends it
    EXPECT_EQ(e->state, kVanished);
}

TEST_F(YFamily, SplittersBreakIntoEvenlySpreadPiecesWithTheirLook) {
    Object* wave = new Probe();
    world.AddObject(wave, 10);
    Object* large = world.CreateObject(type_id::E_Split_Large_Y, 128, 100, 0, 0, 0, 0, wave);
    large->angle = 3;
    large->OnMessage(Msg(3, 0, 1));
    large->Damage(&world, 100.0f);
    world.SweepObjects();
    const std::vector<int32_t> middles = Headings(world.enemies, "E_Split_Middle_Y");
    ASSERT_EQ(middles.size(), 3u);
    EXPECT_EQ((middles[1] - middles[0] + 360) % 360, 120);
    EXPECT_EQ((middles[2] - middles[1] + 360) % 360, 120);
    Object* middle = nullptr;
    for (Object* o : world.enemies) middle = ClassOf(o) == "E_Split_Middle_Y" ? o : middle;
    EXPECT_EQ(dynamic_cast<Enemy*>(middle)->ghostLook, 1);
    EXPECT_EQ(middle->owner, wave);
    middle->Damage(&world, 100.0f);
    world.SweepObjects();
    const std::vector<int32_t> smalls = Headings(world.enemies, "E_Split_Small_Y");
    ASSERT_EQ(smalls.size(), 4u);
    EXPECT_EQ((smalls[1] - smalls[0] + 360) % 360, 90);
    // A split count of 0 or below gives no middles and no crash; a splitter leaving
    // unharmed does not split.
    for (int32_t n : {0, -2}) {
        Object* odd = Make(type_id::E_Split_Large_Y, 128, 100);
        odd->angle = n;
        odd->Damage(&world, 100.0f);
    }
    Object* escaped = Make(type_id::E_Split_Large_Y, 128, 100);
    escaped->angle = 3;
    escaped->Kill();
    world.SweepObjects();
    EXPECT_EQ(Headings(world.enemies, "E_Split_Middle_Y").size(), 2u);
}

TEST_F(YFamily, RevengeMineLeavesBlastsLivingHalfItsAge) {
    Object* mine = Make(type_id::E_AntiBullet_Y, 60, 100);
    Step(world, mine, 40);
    mine->OnMessage(Msg(3, 0, 1));
    mine->Damage(&world, 10.0f);
    world.SweepObjects();
    ASSERT_EQ(CountOf(world.enemies, type_id::E_AntiBullet_Blast_Y), 4);
    Object* blast = nullptr;
    for (Object* o : world.enemies) blast = ClassOf(o) == "E_AntiBullet_Blast_Y" ? o : blast;
    EXPECT_EQ(blast->angle, 40);
    EXPECT_EQ(dynamic_cast<Enemy*>(blast)->ghostLook, 1);
    int32_t lived = 0;
    while (blast->state == kAlive && lived < 100) {
        Step(world, blast);
        ++lived;
    }
    EXPECT_EQ(lived, 22);  // killed by the Run that sees age 21, past half of 40
}

TEST_F(YFamily, IconGivesTheEraserOnItsFirstHit) {
    Object* icon = Make(type_id::E_ZanacIcon_Y, 100, 50, 0, 0.5f);
    icon->Run(&world);
    EXPECT_EQ(CountOf(world.items, type_id::I_ZanacEnemyEraser), 0);
    icon->Damage(&world, 1.0f);
    icon->Run(&world);
    icon->Damage(&world, 1.0f);
    icon->Run(&world);
    EXPECT_EQ(CountOf(world.items, type_id::I_ZanacEnemyEraser), 1);
    EXPECT_EQ(icon->score, 1000);
    EXPECT_GT(world.soundEffects.cooldown[3], 0);
}

TEST_F(YFamily, BellCountsEveryFourthHitAndEndsByItsFate) {
    Object* bell = Make(type_id::E_TwinBee_Bell_Y, 100, 150, 0, 0, 0, 0);
    int32_t counted = 0;
    for (int i = 0; i < 40; ++i) {
        bell->Run(&world);
        const float before = bell->hp;
        bell->Damage(&world, 1.0f);
        if (bell->hp < before) {
            ++counted;
            EXPECT_GE(i, 19);  // not before its twentieth Run has run the cooldown out
        }
    }
    EXPECT_EQ(counted, 6);  // after the Runs of ages 19, 23, 27, 31, 35, 39
    EXPECT_EQ(scene->score, 60);

    // Its item taken: code 6, and it goes.
    Object* item = bell->link;
    ASSERT_NE(item, nullptr);
    item->Vanish();
    world.SweepObjects();
    bell->Run(&world);
    EXPECT_EQ(bell->state, kVanished);
    EXPECT_EQ(scene->messages.back().Code(), 6);

    // Shot to pieces: the bonus and its score.
    Object* second = Make(type_id::E_TwinBee_Bell_Y, 100, 150);
    second->Run(&world);
    second->hp = 1.0f;
    dynamic_cast<Enemy*>(second)->hitSound = 0;
    for (int i = 0; i < 20; ++i) second->Run(&world);
    second->Damage(&world, 1.0f);
    second->Run(&world);
    EXPECT_EQ(second->state, kVanished);
    EXPECT_EQ(CountOf(world.others, type_id::EF_5963), 1);
    EXPECT_EQ(scene->score, 60 + 10 + 59630);

    // Going, the carrier lets go of its item, which no longer follows it.
    Object* third = Make(type_id::E_TwinBee_Bell_Y, 100, 150);
    third->Run(&world);
    Object* carried = third->link;
    third->Vanish();
    world.SweepObjects();
    world.SweepObjects();
    EXPECT_EQ(carried->owner, nullptr);
    carried->Run(&world);
}

}  // namespace
}  // namespace enemies_test
