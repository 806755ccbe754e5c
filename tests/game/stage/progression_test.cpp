// The stages' own timelines.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "game/world/type_table.h"
#include "stage_support.h"

namespace {

class Progression : public stage_test::StageWorld {};

TEST_F(Progression, TheTwoMinuteAttackClearsWhenItsTimeRunsOut) {
    Script* s = MakeStage(10, 10);
    Step(1);
    EXPECT_EQ(s->waveMultiplier, 2);
    EXPECT_EQ(s->attackTimer, 7259);
    Step(1200);
    EXPECT_EQ(s->waveMultiplier, 3);
    Step(7260 - 1201 - 1);
    EXPECT_EQ(s->clearCountdown, 0);
    Step(1);
    EXPECT_EQ(s->clearCountdown, 1);
    EXPECT_EQ(s->attackTimer, 0);
    Step(1);  // the clock stays at 0 and keeps the field clear
    EXPECT_EQ(s->attackTimer, 0);
}

TEST_F(Progression, StageThreeWarnsThenShowsTheIconOnItsSecondPass) {
    Script* s = MakeStage(3);
    s->wavesOn = 0;
    s->phase = 2;
    s->phaseHold = 0;
    s->scrollSpeed = 1;
    s->scrollY = 2 * 512;
    s->phaseTimer = 0;
    s->age = 1;
    Step(392);
    EXPECT_EQ(CountAnywhere(type_id::EF_ExclamationMark), 0);
    Step(1);
    EXPECT_EQ(CountAnywhere(type_id::EF_ExclamationMark), 1);
    Step(512 - 393);
    EXPECT_EQ(s->loops, 1);
    EXPECT_EQ(CountAnywhere(type_id::E_ZanacIcon_Y), 0);
    Step(1);
    EXPECT_EQ(CountAnywhere(type_id::E_ZanacIcon_Y), 1);
}

TEST_F(Progression, AStoppedScrollWarnsOfNothing) {
    Script* s = MakeStage(3);
    s->wavesOn = 0;
    s->phase = 2;
    s->phaseHold = 0;
    s->scrollSpeed = 0;
    s->scrollY = 2 * 512 + 100;
    s->age = 1;
    for (int i = 0; i < 600; ++i) {
        s->scrollSpeed = 0;  // held still, as no phase of its own would
        Step(1);
    }
    EXPECT_EQ(CountAnywhere(type_id::EF_ExclamationMark), 0);
    EXPECT_EQ(s->phaseTimer, 600);
}

TEST_F(Progression, AFortressBossOutOfTimeIsAFailure) {
    Script* s = MakeStage(3);
    s->phase = 3;
    s->bossParts = 2;
    s->bossTime = 3;
    s->scrollY = 3 * 512 + 100;
    s->age = 1;
    Step(3);
    EXPECT_EQ(s->bossParts, 0);
    EXPECT_EQ(CountAnywhere(type_id::EF_Failure), 1);
    EXPECT_EQ(CountAnywhere(type_id::EF_Blast_Stage3Boss), 1);
}

TEST_F(Progression, TheScrollBrakesToRestAtTheEndOfABossSection) {
    Script* s = MakeStage(3);
    s->wavesOn = 0;
    s->phase = 3;
    s->phaseHold = 1;
    s->bossParts = 2;
    s->bossTime = 100000;
    s->scrollSpeed = 6;
    s->scrollY = 3 * 512;
    s->age = 1;
    Step(600);
    EXPECT_EQ(s->scrollSpeed, 0);
    EXPECT_EQ(s->scrollY, 3 * 512 + 511);
}

TEST_F(Progression, StageTwoParadesMidBossesUntilItsBoss) {
    Script* s = MakeStage(2);
    Step(62);
    ASSERT_NE(s->midBoss, nullptr);
    EXPECT_EQ(s->loops, 1);
    s->midBoss->Kill();
    Step(2);
    EXPECT_EQ(s->loops, 2);
    Object* mid = s->midBoss;
    ASSERT_NE(mid, nullptr);
    s->age = 1792;
    Step(1);
    EXPECT_EQ(s->bossActive, 1);
    EXPECT_EQ(Count(world.enemies, type_id::E_Stage2_Boss), 1);
    // The mid-boss still on the field leaves upwards from frame 1793, not on the boss's frame.
    EXPECT_NE(mid->angle, 128);
    Step(1);
    EXPECT_EQ(mid->angle, 128);
    EXPECT_EQ(mid->vy, -8.0f);
}

TEST(GhostColours, FollowTheTuneThroughItsIntroAndLoops) {
    struct Case {
        int32_t frames, index;
    } cases[] = {{0, 4}, {639, 4}, {2079, 4}, {2080, 5}, {3360, 6}, {4480, 7}, {5920, 0}, {6560, 1},
                 {8159, 1}, {8160, 4}, {8160 + 2080, 5}};
    for (const Case& c : cases) EXPECT_EQ(GhostColourIndex(c.frames), c.index) << c.frames;
}

TEST_F(Progression, TheGhostStageMakesNoGhostEnemyWhileOneLives) {
    Script* s = MakeStage(16, 16);
    s->age = 1280;
    Step(1);
    EXPECT_EQ(Count(world.enemies, type_id::E_GhostZako2_W), 1);
    s->age = 1300;
    Step(1);
    EXPECT_EQ(Count(world.enemies, type_id::E_GhostZako2_W), 1);
    world.VanishEnemies();
    Step(1);
    s->age = 1320;
    Step(1);
    EXPECT_EQ(Count(world.enemies, type_id::E_GhostZako2_W), 1);
    s->age = 2560;
    Step(1);
    EXPECT_EQ(Count(world.others, type_id::EF_GhostBossBase), 1);
}

}  // namespace

namespace {

bool IsFortress(Object* o) {
    const std::string name = enemies_test::ClassOf(o);
    return name.rfind("E_ZanacFortress", 0) == 0;
}

// The whole of stage 3 with its own map, run through the world's passes and the background pass:
// each boss section paints as many fortresses as its boss has parts, its boss holds out for the
// section's time, and the stage clears.
TEST_F(Progression, StageThreeRunsItsThirtyTwoSectionsToItsClear) {
    Script* s = MakeStage(3, 3);
    std::map<int32_t, int32_t> made, armed, armedAt, lasted;
    int32_t frames = 0;
    for (; frames < 200000 && s->clearCountdown == 0; ++frames) {
        Step();
        if (s->rowDirty != 0) s->DrawMapRow(&world);
        if (s->phase % 4 == 3 && armed.count(s->phase) == 0 && s->bossParts > 0) {
            armed[s->phase] = s->bossParts;
            armedAt[s->phase] = frames;
        }
        // The boss's time: from the frame that armed it to the frame it ran out, both counted.
        if (armedAt.count(s->phase) != 0 && lasted.count(s->phase) == 0 && s->bossParts == 0) {
            lasted[s->phase] = frames - armedAt[s->phase] + 1;
        }
        for (Object* o : world.enemies) made[s->phase] += o->age == 0 && IsFortress(o);
        // Nobody shoots in this run: the enemies leave on their own, the fortresses by the clock.
    }
    ASSERT_EQ(s->clearCountdown, 1) << "phase " << s->phase;
    EXPECT_EQ(s->phase, 31);
    const std::map<int32_t, int32_t> expected = {{3, 2},   {7, 4},   {11, 6},  {15, 8},
                                                 {19, 14}, {23, 20}, {27, 26}, {31, 32}};
    EXPECT_EQ(armed, expected);
    const std::map<int32_t, int32_t> times = {{3, 1860},  {7, 1860},  {11, 1860}, {15, 1860},
                                              {19, 2460}, {23, 2760}, {27, 3060}, {31, 3660}};
    EXPECT_EQ(lasted, times);
    for (const auto& [phase, parts] : expected) EXPECT_EQ(made[phase], parts) << phase;
    int32_t elsewhere = 0;
    for (const auto& [phase, count] : made) elsewhere += phase % 4 != 3 ? count : 0;
    EXPECT_EQ(elsewhere, 0);
}

}  // namespace
