#include <algorithm>
#include <cmath>
#include <vector>

#include "enemies_support.h"
#include "game/enemies/enemy.h"
#include "game/world/type_table.h"

namespace enemies_test {
namespace {

// The stage script stands in as a probe whose position is the scroll it reports.
class Ground : public EnemyWorld {
protected:
    Ground() {
        script = new Probe(0, 0);
        script->self = script;
        world.AddObject(script, 10);
        gameSprites.groundenemy = &effect2;
    }
    Object* Place(int32_t typeId, float x, float y) { return world.CreateObject(typeId, x, y, 0, 0, 0, 0, script); }
    // Runs and moves an object, the scroll advancing one a frame.
    void Scroll(Object* e, int frames) {
        for (int i = 0; i < frames && e->state == kAlive; ++i) {
            script->y += 1.0f;
            e->Run(&world);
            e->Move(&world);
        }
    }
    Probe* script;
};

TEST_F(Ground, EnemiesRideTheScrollAndGoWithTheirOwner) {
    script->x = 2;
    Object* star = Place(type_id::E_Star_G, 100, 50);
    Object* hatch = Place(type_id::E_Gradius_Hatch_G, 100, 50);
    Object* battery = Place(type_id::E_Gradius_Battery_G, 200, 50);
    for (Object* e : {star, hatch, battery}) e->Run(&world);
    EXPECT_EQ(star->x, 98.0f);
    EXPECT_EQ(hatch->x, 95.0f);     // 3 out from the centre line
    EXPECT_EQ(battery->x, 209.0f);  // 11 out
    script->x = 0;
    script->y = 10;
    star->Run(&world);
    EXPECT_EQ(star->x, 100.0f);
    EXPECT_EQ(star->y, 60.0f);
    // Its owner gone, it vanishes on its next Run without score; one made without an owner
    // goes at once.
    script->Vanish();
    for (Object* e : {star, hatch, battery}) {
        e->Run(&world);
        EXPECT_EQ(e->state, kVanished);
    }
    Object* orphan = Make(type_id::E_Star_G, 100, 50);
    orphan->Run(&world);
    EXPECT_EQ(orphan->state, kVanished);
    world.SweepObjects();
    EXPECT_EQ(scene->score, 0);
}

TEST_F(Ground, CarriersReportEscapeOnceAndDestructionAsSubversion) {
    Object* carrier = Place(type_id::E_ZeguOr_G, 100, 250);
    Scroll(carrier, 40);
    EXPECT_EQ(carrier->state, kVanished);
    ASSERT_EQ(scene->messages.size(), 1u);
    EXPECT_EQ(scene->messages[0].Code(), 9);
    Object* shot = Place(type_id::E_ZeguBr_G, 100, 100);
    shot->Run(&world);
    shot->Damage(&world, 100.0f);
    world.SweepObjects();
    EXPECT_EQ(scene->messages.back().Code(), 6);
}

TEST_F(Ground, FortressesOpenShutFireByTheirFloorsAndReportTheirEnd) {
    Object* fort = Place(type_id::E_ZanacFortress1_G, 100, 50);
    std::vector<std::pair<int32_t, int32_t>> changes;  // age, drawn column
    int32_t last = -1;
    for (int i = 0; i < 240; ++i) {
        const int32_t age = fort->age;
        fort->Run(&world);
        effect2.rects.clear();
        fort->Draw(&world);
        const int32_t column = effect2.rects.at(0).srcX;
        if (column != last) changes.push_back({age, column});
        last = column;
        EXPECT_EQ(fort->invincible, column == 128 ? 0 : 1) << age;
    }
    EXPECT_EQ(changes, (std::vector<std::pair<int32_t, int32_t>>{
                           {0, 176}, {105, 160}, {110, 144}, {115, 128}, {225, 144}, {230, 160}, {235, 176}}));

    // Fortress 4 with an interval of 19 by its formula fires every 30 frames, from age 61.
    world.ArrestLevel = 11;
    party->hp = 3.0f;  // lives: 120 - 11 - 3 x 30 = 19
    Object* four = Place(type_id::E_ZanacFortress4_G, 100, 50);
    std::vector<int32_t> fired;
    for (int i = 0; i < 200; ++i) {
        const int32_t before = CountOf(world.enemies, type_id::E_DestroyableBullet_W);
        four->Run(&world);
        if (CountOf(world.enemies, type_id::E_DestroyableBullet_W) > before) fired.push_back(four->age - 1);
    }
    EXPECT_EQ(fired, (std::vector<int32_t>{90, 120, 150, 180}));
    four->Kill();
    world.SweepObjects();
    ASSERT_FALSE(script->messages.empty());
    EXPECT_EQ(script->messages.back().Code(), 13);
}

TEST_F(Ground, HatchAndBatteryPayWhatTheirLabelsShow) {
    Object* hatch = Place(type_id::E_Gradius_Hatch_G, 100, 50);
    std::vector<int32_t> released;
    for (int i = 0; i < 102; ++i) {
        const int32_t before = CountOf(world.enemies, type_id::E_Gradius_HatchZako_W);
        hatch->Run(&world);
        if (CountOf(world.enemies, type_id::E_Gradius_HatchZako_W) > before) released.push_back(hatch->age - 1);
    }
    EXPECT_EQ(released, (std::vector<int32_t>{20, 30, 40, 50, 60, 70, 80, 90, 100}));
    for (Object* o : world.enemies) {
        if (ClassOf(o) == "E_Gradius_HatchZako_W") { EXPECT_EQ(o->vx, 2.0f); }  // towards the centre
    }
    EXPECT_EQ(hatch->score, 100000);
    Object* battery = Place(type_id::E_Gradius_Battery_G, 200, 50);
    for (int i = 0; i < 10; ++i) battery->Run(&world);
    battery->Kill();
    world.SweepObjects();
    EXPECT_EQ(scene->score, 400 + 4000);
    int32_t labels = 0;
    for (Object* o : world.shots) labels += ClassOf(o) == "EF_ScorePop" && o->score == 4400;
    EXPECT_EQ(labels, 1);
}

TEST_F(Ground, WallBigBlockAndClone) {
    Object* wall = Place(type_id::E_InvisibleWall_G, 100, 50);
    wall->Run(&world);
    wall->hp = 3.0f;
    wall->Run(&world);
    EXPECT_EQ(wall->hp, wall->maxHp);
    Object* block = Place(type_id::E_SF_BigBlock_G, 100, 50);
    block->Kill();
    world.SweepObjects();
    EXPECT_EQ(scene->score, 400);
    EXPECT_TRUE(scene->messages.empty());
    EXPECT_EQ(CountOf(world.others, type_id::EF_Blast_02), 1);

    // The clone fades, fires and reports its shots; with variant 2 it leaves a power-up.
    Object* clone = Make(type_id::E_AliceClone_G, 40, 0);
    clone->angle = 2;
    for (int i = 0; i < 100; ++i) {
        clone->Run(&world);
        clone->Move(&world);
    }
    EXPECT_NEAR(clone->hp, 16.0f - 5.0f, 1e-3);
    const int32_t shots = CountOf(world.enemies, type_id::E_EspRadeBullet_W);
    EXPECT_GT(shots, 0);
    clone->Kill();
    world.SweepObjects();
    ASSERT_FALSE(scene->messages.empty());
    EXPECT_EQ(scene->messages[0].Code(), 27);
    EXPECT_EQ(scene->messages[0].Int(3), (shots + 1) * 200);
    EXPECT_EQ(CountOf(world.items, type_id::I_PowerUp), 1);
    // Its picture follows its spin; the ranges overlap and the first wins.
    Object* spinner = Make(type_id::E_AliceClone_G, 40, 40);
    for (int i = 0; i < 40; ++i) spinner->Run(&world);
    struct Case {
        int32_t angle, srcX, srcY;
        float w;
    } cases[] = {{16384, 192, 192, 16}, {18600, 192, 192, 16}, {0, 208, 208, -16}, {65000, 208, 208, -16},
                 {3000, 256, 192, -16}};
    for (const Case& c : cases) {
        enemyBatch.rects.clear();
        spinner->angle = c.angle;
        spinner->flashTimer = 0;
        spinner->Draw(&world);
        ASSERT_EQ(enemyBatch.rects.size(), 1u);
        EXPECT_EQ(enemyBatch.rects[0].srcX, c.w > 0 ? c.srcX : c.srcX - 16) << c.angle;
        EXPECT_EQ(enemyBatch.rects[0].srcY, c.srcY) << c.angle;
    }
}

// Each block stands on its shadow, a cell of the effect sheet cast down and to the right: the
// shadow goes through the fourth effect batch, which the playfield draws before the ground
// enemies, never through the first, which it draws over every bullet.
TEST_F(Ground, BlocksStandOnTheirShadows) {
    CellRecorder underGround{&sheet};
    gameSprites.effect4 = &underGround;
    struct Case {
        int32_t typeId;
        float block, shadowOffset, shadowSize;
    } cases[] = {{type_id::E_SF_SmallBlock_G, 16, 8, 24}, {type_id::E_SF_BigBlock_G, 32, 16, 40}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typeId);
        for (CellRecorder* batch : {&underGround, &effect1, &effect2}) batch->rects.clear();
        Object* block = Place(c.typeId, 100, 50);
        block->Run(&world);
        block->Draw(&world);
        ASSERT_EQ(underGround.rects.size(), 1u);
        EXPECT_EQ(underGround.rects[0].x, 100 - c.shadowOffset);
        EXPECT_EQ(underGround.rects[0].y, 50 - c.shadowOffset);
        EXPECT_EQ(underGround.rects[0].w, c.shadowSize);
        EXPECT_TRUE(effect1.rects.empty());
        ASSERT_EQ(effect2.rects.size(), 1u);  // the ground batch here
        EXPECT_EQ(effect2.rects[0].x, 100 - c.block / 2);
        EXPECT_EQ(effect2.rects[0].w, c.block);
    }
    gameSprites.effect4 = nullptr;
}

}  // namespace
}  // namespace enemies_test
