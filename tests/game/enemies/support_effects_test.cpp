#include <algorithm>
#include <cmath>
#include <vector>

#include "enemies_support.h"
#include "game/world/type_table.h"

namespace enemies_test {
namespace {

class SupportEffects : public EnemyWorld {
protected:
    SupportEffects() { gameSprites.font = &fontBatch; }
    // Runs an effect until it is killed; the age its killing Run saw.
    int32_t Lifetime(Object* e) {
        for (int i = 0; i < 1000 && e->state == kAlive; ++i) e->Run(&world);
        return e->age - 1;
    }
    std::vector<Object*> OfClass(const ObjectList& list, int32_t typeId) {
        std::vector<Object*> out;
        for (Object* o : list) {
            if (ClassOf(o) == kTypeTable[typeId].className) out.push_back(o);
        }
        return out;
    }
    CellRecorder fontBatch{&sheet};
};

// ---- Labels ----

TEST_F(SupportEffects, LabelsStandTheirTimeWhereverTheValueIs) {
    struct Case {
        int32_t id, mode, lastAge;
    } cases[] = {{276, 0, 61}, {276, 16, 20}, {286, 17, 20}, {281, 16, 61}, {283, 16, 61}, {284, 16, 61}, {285, 0, 61}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        world.gameMode = c.mode;
        Object* label = Make(c.id, 5000, 100);
        EXPECT_EQ(label->x, 128.0f);
        EXPECT_EQ(label->score, 5000);
        EXPECT_EQ(Lifetime(label), c.lastAge);
    }
    world.gameMode = 0;
    // The failure is grey at x 100; a number's last digit starts at the label's number x.
    Object* failure = Make(type_id::EF_Failure, 0, 100);
    failure->Draw(&world);
    ASSERT_FALSE(fontBatch.rects.empty());
    EXPECT_EQ(fontBatch.rects.front().x, 100.0f);
    EXPECT_EQ(fontBatch.rects.front().colour, 0xFF787878u);
    fontBatch.rects.clear();
    Make(type_id::EF_InefficientBlowBonus, 0, 100, 7)->Draw(&world);
    ASSERT_EQ(fontBatch.rects.size(), 17u);  // sixteen letters and a single "0"
    float units = 0.0f;
    for (const CellRecorder::Rect& r : fontBatch.rects) units = std::max(units, r.x);
    EXPECT_EQ(units, 224.0f);
}

TEST_F(SupportEffects, GameOverBonusRainAndScorePops) {
    Object* over = Make(type_id::EF_GameOver, 3, 3, 3, 3);
    for (int i = 0; i < 40; ++i) {
        over->Run(&world);
        over->Move(&world);
    }
    EXPECT_EQ(over->y, 128.0f);
    Object* rain = Make(type_id::EF_8Bonus, 60, 70, 2000);
    EXPECT_EQ(Lifetime(rain), 33);
    const std::vector<Object*> items = OfClass(world.items, 268);
    ASSERT_EQ(items.size(), 9u);
    for (Object* item : items) EXPECT_EQ(item->score, 2000);
    for (int32_t value : {9999, 10000, 10001}) {
        Object* pop = Make(type_id::EF_ScorePop, 100, 50);
        pop->SetScore(value);
        fontBatch.rects.clear();
        pop->Draw(&world);
        float units = 0.0f;  // the units digit's cell, the rightmost
        for (const CellRecorder::Rect& r : fontBatch.rects) units = std::max(units, r.x);
        EXPECT_EQ(units, value < 10000 ? 108.0f : 112.0f);
        EXPECT_EQ(Lifetime(pop), value <= 10000 ? 61 : 181);
    }
}

// ---- Options ----

TEST_F(SupportEffects, OptionFiresEveryOtherFrameWithTwoInTheAirAtMost) {
    Object* option = Make(type_id::EF_GradiusOption, 100, 150);
    world.input.game[4] = 5;
    std::vector<int32_t> fired;
    for (int i = 0; i < 10; ++i) {
        const int32_t before = CountOf(world.shots, type_id::S_GradiusShot);
        option->Run(&world);
        if (CountOf(world.shots, type_id::S_GradiusShot) > before) fired.push_back(i);
    }
    EXPECT_EQ(fired, (std::vector<int32_t>{0, 2}));  // then both slots are taken
    // A shot gone frees its slot; removing the option removes the shots it fired.
    world.shots.front()->Vanish();
    world.SweepObjects();
    for (int i = 0; i < 2; ++i) option->Run(&world);
    EXPECT_EQ(CountOf(world.shots, type_id::S_GradiusShot), 2);
    option->Vanish();
    world.SweepObjects();
    world.SweepObjects();
    EXPECT_EQ(CountOf(world.shots, type_id::S_GradiusShot), 0);

    // The double shot needs both slots; its second shot is marked 1 and flies diagonally.
    Object* twin = Make(type_id::EF_GradiusOption, 100, 150);
    twin->OnMessage(Msg(4, 0, 1, 0));
    twin->Run(&world);
    const std::vector<Object*> pair = OfClass(world.shots, 183);
    ASSERT_EQ(pair.size(), 2u);
    EXPECT_EQ(pair[1]->score, 1);
    EXPECT_FLOAT_EQ(pair[1]->vx, -40.0f / 7.0f);
    // An unknown code is refused with a box and changes nothing.
    twin->OnMessage(Msg(3, 2, 1));
    ASSERT_EQ(platform.messageBox.shown.size(), 1u);
    EXPECT_EQ(platform.messageBox.shown[0].caption, "test");
}

TEST_F(SupportEffects, LaserCooldownOutlivesAShortRelease) {
    Object* option = Make(type_id::EF_GradiusOption, 100, 150);
    option->OnMessage(Msg(4, 0, 0, 1));
    world.input.game[4] = 5;
    option->Run(&world);
    EXPECT_EQ(CountOf(world.shots, type_id::S_GradiusLaser), 1);
    world.input.game[4] = 0;
    for (int i = 0; i < 5; ++i) option->Run(&world);
    world.input.game[4] = 5;
    int32_t waited = 0;
    while (CountOf(world.shots, type_id::S_GradiusLaser) < 2 && waited < 100) {
        option->Run(&world);
        ++waited;
    }
    EXPECT_EQ(waited, 35);  // 40 counted down, the release did not clear it above 30
    // The second option's missiles come in pairs and its double fires backwards, marked 2.
    Object* second = Make(type_id::EF_Gradius2Option, 100, 150);
    second->OnMessage(Msg(5, 0, 1, 1, 0));
    second->OnMessage(Msg(3, 1, 5));
    second->Run(&world);
    EXPECT_EQ(CountOf(world.shots, type_id::S_Gradius2Missile), 2);
    std::vector<Object*> shots = OfClass(world.shots, 183);
    ASSERT_EQ(shots.size(), 2u);
    EXPECT_EQ(shots[1]->vy, 8.0f);
    EXPECT_EQ(shots[1]->score, 2);
}

// ---- Weapon support ----

TEST_F(SupportEffects, BombPanelsAndBolts) {
    Object* bomb = Make(type_id::EF_BomberKing_Bomb, 128, 120);
    const size_t before = world.shots.size() + world.enemyBullets.size();
    EXPECT_EQ(Lifetime(bomb), 60);
    EXPECT_EQ(world.shots.size() + world.enemyBullets.size() - before, 98u);

    Object* cross = Make(type_id::EF_Quinty_Cross, 272, 100);
    cross->Run(&world);
    EXPECT_EQ(OfClass(world.shots, 198).back()->x, 240.0f);
    Object* line = Make(type_id::EF_Quinty_Line, 100, 280);
    line->Run(&world);
    EXPECT_EQ(OfClass(world.shots, 198).back()->y, 284.0f);
    EXPECT_LT(Lifetime(line), 100);

    // The bolt climbs 48 units every 7 frames, leaving the pieces of its corners.
    Object* bolt = Make(type_id::EF_Rockman_Elec_Front, 100, 200);
    bolt->owner = party;
    for (int i = 0; i < 7; ++i) {
        bolt->Run(&world);
        bolt->Move(&world);
    }
    EXPECT_EQ(bolt->y, 200.0f - 48.0f);
    EXPECT_EQ(bolt->x, 100.0f);
    std::vector<int32_t> pieces;
    for (Object* o : OfClass(world.shots, 230)) pieces.push_back(o->angle);
    EXPECT_EQ(pieces, (std::vector<int32_t>{1, 3, 0, 4, 2, 1, 3}));
    bolt->owner = nullptr;

    // The thrown bomb bursts at 116 and 121 with its thrower, never without; it goes at 121.
    for (bool owned : {true, false}) {
        const int32_t blasts = CountOf(world.shots, type_id::S_Rockman_BombBlast);
        Object* thrown = Make(type_id::EF_Rockman_Bomb, 100, 200, 0, -4);
        if (owned) thrown->owner = party;
        EXPECT_EQ(Lifetime(thrown), 121);
        EXPECT_EQ(CountOf(world.shots, type_id::S_Rockman_BombBlast) - blasts, owned ? 8 : 0);
        thrown->owner = nullptr;
    }
}

TEST_F(SupportEffects, ChargeControllerAndTurningBar) {
    Object* charge = Make(type_id::EF_BS_ChargeController, 100, 200);
    charge->angle = 1;
    for (int i = 0; i < 6; ++i) charge->Run(&world);
    const std::vector<Object*> bodies = OfClass(world.shots, 254);
    ASSERT_EQ(bodies.size(), 5u);
    std::vector<int32_t> places;
    for (Object* b : bodies) places.push_back(b->angle);
    EXPECT_EQ(places, (std::vector<int32_t>{0, 2, 1, 3, 4}));  // bodies 2, 1, 4, 3, 5 as made
    EXPECT_EQ(bodies[1]->y, charge->y + 4.0f + 7.0f);          // body 1
    // The head gone: the bodies go, a blast every 9 frames into a free slot, the end at 120.
    OfClass(world.shots, 253)[0]->Vanish();
    world.SweepObjects();
    int32_t frames = 0;
    while (charge->state == kAlive && frames < 200) {
        charge->Run(&world);
        ++frames;
    }
    EXPECT_EQ(frames, 120);
    EXPECT_EQ(CountOf(world.shots, type_id::S_BS_ChargeBlast), 2);  // both slots held: the rest wait for a free one

    // The turning bar: n pieces, each in its own slot and told when the bar goes; n kept to 16.
    for (int32_t n : {5, 1, 40}) {
        SCOPED_TRACE(n);
        const int32_t before = CountOf(world.shots, type_id::S_Hisouten_Ryuunome);
        Object* bar = Make(type_id::EF_Hisouten_Ryuunome, 128, 120);
        bar->angle = n;
        bar->Run(&world);
        EXPECT_EQ(CountOf(world.shots, type_id::S_Hisouten_Ryuunome) - before, std::clamp(n, 1, 16));
        bar->Kill();
        world.SweepObjects();
        for (Object* piece : OfClass(world.shots, 262)) EXPECT_EQ(piece->owner, nullptr);
    }
    // The one-frame flash with variant 9 reads the mirrored cell at 208.
    Object* flash = Make(type_id::EF_Hisouten_Iku6C, 100, 100);
    flash->angle = 9;
    flash->Draw(&world);
    EXPECT_EQ(shotBatch.rects.back().srcX, 200);
}

}  // namespace
}  // namespace enemies_test
