// Wave pacing and the wave object.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/world/type_table.h"
#include "stage_support.h"

namespace {

class Waves : public stage_test::StageWorld {};

TEST(WaveInterval, ShrinksWithTheWaveSizeAndNeverBelowThree) {
    struct Case {
        int32_t count, interval;
    } cases[] = {{1, 15}, {4, 14}, {15, 12}, {16, 12}, {63, 10}, {64, 9}, {255, 7}, {256, 6}, {1024, 3}, {100000, 3}};
    for (const Case& c : cases) EXPECT_EQ(WaveReleaseInterval(c.count), c.interval) << c.count;
}

TEST_F(Waves, LanesAreSearchedFromTheSideAwayFromTheParty) {
    Script* s = MakeStage(1);
    party->x = 128.0f;
    s->SpawnWave(&world);
    ASSERT_NE(s->waveSlots[15], nullptr);
    EXPECT_EQ(s->waveSlots[15]->x, 248.0f);
    party->x = 129.0f;
    s->SpawnWave(&world);
    ASSERT_NE(s->waveSlots[0], nullptr);
    EXPECT_EQ(s->waveSlots[0]->x, 8.0f);
}

TEST_F(Waves, AWaveWithEveryLaneTakenWalksAcrossTheScreenWithoutALane) {
    Script* s = MakeStage(1);
    party->x = 40.0f;
    for (int i = 0; i < 16; ++i) s->SpawnWave(&world);
    s->age = 3;
    s->SpawnWave(&world);
    ASSERT_EQ(Count(world.others, type_id::SC_EnemyQ), 17);
    Object* last = world.others.back();
    EXPECT_EQ(last->x, 248.0f - 48.0f);
    EXPECT_EQ(last->owner, nullptr);
}

TEST_F(Waves, ColumnFifteenLengthensTheIntervalAndPausesPacing) {
    Script* s = MakeStage(1);
    s->waveColumn = 15;
    const float before = s->waveInterval;
    s->SpawnWave(&world);
    EXPECT_EQ(s->waveInterval, before + 60.0f);
    EXPECT_EQ(s->wavePause, 180);
    EXPECT_EQ(s->waveColumn, 0);
    EXPECT_EQ(s->waveSize, 5);
    s->TickWaveTimer(1, 1);
    EXPECT_EQ(s->wavePause, 179);
}

TEST_F(Waves, TheIntervalShrinksButNotBelowSixty) {
    Script* s = MakeStage(1);
    s->waveTarget = 0;
    s->waveInterval = 61.0f;
    s->age = 360 * 2000;
    s->TickWaveTimer(25, 1);
    EXPECT_EQ(s->waveInterval, 60.0f);
    s->TickWaveTimer(25, 1);
    EXPECT_EQ(s->waveInterval, 60.0f);
}

TEST_F(Waves, AWaveReportsHecatombAtItsLastEnemyOrFailure) {
    for (bool escape : {false, true}) {
        world.ClearAll();
        world.SweepObjects();
        Script* s = MakeStage(1);
        Object* wave = world.CreateObject(type_id::SC_EnemyQ, 100, 0, 2, 0, 0, 0, nullptr);
        Step(16);  // two releases at ages 0 and 14
        ASSERT_EQ(world.enemies.size(), 2u);
        Object* first = world.enemies.front();
        Object* second = world.enemies.back();
        first->x = 30;
        first->y = 40;
        first->hp = 0;
        first->Kill();
        second->x = 50;
        second->y = 60;
        if (!escape) second->hp = 0;
        second->Vanish();
        world.SweepObjects();  // both leave and tell their wave
        EXPECT_EQ(static_cast<SC_EnemyQ*>(wave)->lastX, 50);
        Step(2);
        EXPECT_EQ(CountAnywhere(escape ? 286 : 276), 1) << escape;
        EXPECT_EQ(s->chain, escape ? 0 : 1);
    }
}

TEST_F(Waves, ASinglePopHomingEnemyIsPlacedWithoutDividingByZero) {
    MakeStage(1);
    world.CreateObject(type_id::SC_EnemyQ, 100, 66, 1, 0, 0, 0, nullptr);
    Step();
    ASSERT_EQ(world.enemies.size(), 1u);
    EXPECT_EQ(world.enemies.front()->x, 8.0f);
    EXPECT_EQ(world.enemies.front()->y, 16.0f);
}

// A table cell of a kind without a class: one box for the wave (not one per release, each of
// which waits for the player), and the wave frees its lane and ends.
TEST_F(Waves, AKindWithoutAClassSaysSoOnceAndItsWaveEnds) {
    struct Case {
        int32_t kind;
        const char* text;
    } cases[] = {{8, "そんな敵いないよ＠ザコ"}, {63, "そんな敵いないよ＠ザコ"},
                 {76, "そんな敵いないよ＠黄色"}, {127, "そんな敵いないよ＠黄色"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        world.ClearAll();
        world.SweepObjects();
        platform.messageBox.shown.clear();
        Script* s = MakeStage(1);
        party->x = 40.0f;
        int32_t& cell = s->enemyTable[s->waveRow & 15][s->waveColumn & 15];
        const int32_t kept = cell;
        cell = c.kind;
        s->waveSize = 4;
        s->SpawnWave(&world);
        cell = kept;
        ASSERT_NE(s->waveSlots[15], nullptr);
        Step(4 * WaveReleaseInterval(4) + 2);
        EXPECT_EQ(platform.messageBox.Texts(), std::vector<std::string>{c.text});
        EXPECT_EQ(s->waveSlots[15], nullptr);
        int32_t left = 0;
        for (Object* o : world.others) {
            if (auto* wave = dynamic_cast<SC_EnemyQ*>(o); wave != nullptr && wave->enemyKind == c.kind) ++left;
        }
        EXPECT_EQ(left, 0);
    }
}

TEST_F(Waves, ARecordedWaveOutsideTheLanesIsRefused) {
    Script* s = MakeStage(16, 16);
    s->SpawnEnemyQueue(&world, 300, 0, 4);
    s->SpawnEnemyQueue(&world, -20, 0, 4);
    EXPECT_EQ(platform.messageBox.Texts().size(), 2u);
    s->SpawnEnemyQueue(&world, 24, 0, 4);
    EXPECT_NE(s->waveSlots[1], nullptr);
}

TEST_F(Waves, AStageThatLeavesFreesItsWavesAndGroundEnemies) {
    Script* s = MakeStage(1);
    Object* wave = world.CreateObject(type_id::SC_EnemyQ, 100, 0, 4, 0, 0, 0, s);
    Step(1);
    ASSERT_FALSE(world.enemies.empty());
    world.CreateObject(type_id::E_Star_G, 40, 40, 0, 0, 0, 0, s);
    s->Vanish();
    wave->Vanish();
    Step(1);
    for (Object* o : world.enemies) EXPECT_EQ(o->owner, nullptr);
}

// The class each wave kind releases, by the name of the class, and the level a mid-boss wave gives
// its boss; kinds 192 and above release nothing.
TEST_F(Waves, EachWaveKindReleasesItsOwnClass) {
    struct Case {
        int32_t kind;
        const char* released;  // null: nothing
    } cases[] = {
        {0, "E_Coin_W"},          {1, "E_Box_W"},           {2, "E_IronBall_W"},        {3, "E_Circle_W"},
        {4, "E_DropCircle_W"},    {5, "E_ZigzagX_W"},       {6, "E_EdgeMove4Circle_W"}, {7, "E_RefrectWall6_W"},
        {64, "E_ReverseWing_Y"},  {65, "E_SquareBlock_Y"},  {66, "E_PopHoming_Y"},      {67, "E_NearingBall_Y"},
        {68, "E_HorizonSlide_Y"}, {69, "E_AntiBullet_Y"},   {70, "E_StopCharge_Y"},     {71, "E_Homing_Y"},
        {72, "E_ObliqueSlide_Y"}, {73, "E_BackAttack_Y"},   {74, "E_Split_Large_Y"},    {75, "E_Bound_Y"},
        {128, "E_3Cannon_B"},     {129, "E_Shield_B"},      {130, "E_UFO_B"},           {131, "E_Arms_B"},
        {134, "E_UFO_B"},         {189, "E_Shield_B"},      {191, "E_Arms_B"},          {192, nullptr},
        {255, nullptr},
    };
    for (const Case& c : cases) {
        world.ClearAll();
        world.SweepObjects();
        MakeStage(1);
        Object* wave = world.CreateObject(type_id::SC_EnemyQ, 100, static_cast<float>(c.kind), 2, 0, 0, 0, nullptr);
        ASSERT_NE(wave, nullptr);
        wave->Run(&world);  // the first release is on the wave's first frame
        std::vector<Object*> released;
        for (Object* e : world.enemies) {
            if (e->owner == wave) released.push_back(e);
        }
        if (c.released == nullptr) {
            EXPECT_TRUE(released.empty()) << c.kind;
            continue;
        }
        ASSERT_FALSE(released.empty()) << c.kind;
        for (Object* e : released) EXPECT_EQ(enemies_test::ClassOf(e), c.released) << c.kind;
        if (c.kind >= 128) {
            EXPECT_EQ(released[0]->angle, (c.kind - 128) / 4) << c.kind;
        }
    }
    EXPECT_TRUE(platform.messageBox.Texts().empty());
}

}  // namespace
