// Wave pacing and the wave object.
#include <gtest/gtest.h>

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

TEST_F(Waves, KindsWithoutAClassShowTheirMessages) {
    MakeStage(1);
    world.CreateObject(type_id::SC_EnemyQ, 100, 8, 1, 0, 0, 0, nullptr);
    world.CreateObject(type_id::SC_EnemyQ, 100, 80, 1, 0, 0, 0, nullptr);
    Step();
    const std::vector<std::string> texts = platform.messageBox.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "そんな敵いないよ＠ザコ");
    EXPECT_EQ(texts[1], "そんな敵いないよ＠黄色");
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

}  // namespace
