// Score, extends and the end of a stage.
#include <gtest/gtest.h>

#include <climits>

#include "game/world/sound_ids.h"
#include "game/world/type_table.h"
#include "stage_support.h"

namespace {

class Scoring : public stage_test::StageWorld {};

TEST_F(Scoring, AdditionsCrossExtendThresholdsAndStayWithinTheCap) {
    struct Case {
        int32_t start, points, score, extends;
    } cases[] = {
        {0, 39990, 3999, 1},               // 1000 crossed
        {0, 40000, 4000, 2},               // 1000 and 4000 from one addition
        {500, -10000, 0, 0},               // floor
        {kScoreCap - 5, 1000, kScoreCap, 0},
        {kScoreCap - 5, INT_MAX, kScoreCap, 0},  // would wrap in 32 bits
        {100, 9, 100, 0},                  // tenths are dropped
    };
    for (const Case& c : cases) {
        Script* s = MakeStage(1);
        s->age = 1;
        s->score = c.start;
        s->extendLevel = c.start >= 1000 ? 44 : 0;
        s->AddScore(c.points);
        EXPECT_EQ(s->score, c.score) << c.start << " + " << c.points;
        EXPECT_EQ(s->pendingExtends, c.extends) << c.start << " + " << c.points;
    }
}

TEST_F(Scoring, SetScoreSetsTheExtendLevelOnlyOnTheFirstFrame) {
    struct Case {
        int32_t score, next;
    } cases[] = {{0, 1000}, {999, 1000}, {3999, 4000}, {4000, 9000}, {4001, 9000}, {kScoreCap, 1415 * 1415 * 1000}};
    for (const Case& c : cases) {
        Script* s = MakeStage(1);
        s->SetScore(c.score);
        EXPECT_EQ(static_cast<int64_t>(s->NextExtendScore()), static_cast<int64_t>(c.next)) << c.score;
    }
    Script* s = MakeStage(1);
    s->age = 5;
    s->SetScore(4000);
    EXPECT_EQ(s->score, 4000);
    EXPECT_EQ(s->NextExtendScore(), 1000);
}

TEST_F(Scoring, PendingExtendsAreGivenTogetherWithOneSound) {
    Script* s = MakeStage(1);
    Step();  // nothing pending: no life and no sound
    EXPECT_TRUE(party->messages.empty());
    EXPECT_EQ(world.soundEffects.cooldown[sound::kExtend], 0);
    s->AddScore(40000);
    Step();
    EXPECT_GT(world.soundEffects.cooldown[sound::kExtend], 0);
    int32_t extends = 0;
    for (const Message& m : party->messages) extends += m.Code() == 7;
    EXPECT_EQ(extends, 2);
    EXPECT_EQ(s->pendingExtends, 0);
}

TEST_F(Scoring, EndStageHandsTheStageClearSceneScoreRowAndNextStage) {
    Script* s = MakeStage(2);
    s->score = 12345;
    s->waveRow = 6;
    s->waveSize = 9;
    s->rowTimer = 77;
    s->OnMessage(Msg(3, 12, &world));
    EXPECT_EQ(s->clearCountdown, 1);
    Step(239);
    Object* next = NextScene();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->score, 12345);
    EXPECT_EQ(next->angle, 6);
    EXPECT_EQ(next->power, 3.0f);
    EXPECT_EQ(next->invincible, 9);
    EXPECT_EQ(next->inactive, 77);
    EXPECT_EQ(world.currentScene, next);  // the stage has left
}

// The whole game hands stages 1 and 2 to the stage clear and every other end to the result; only
// a game over records the party's best for the mode as it leaves (a clear leaves that to the result).
TEST_F(Scoring, AStageEndsInTheStageClearOrTheResultAndOnlyAGameOverRanks) {
    struct Case {
        const char* name;
        int32_t stage, mode;
        bool gameOver;
        bool stageClear;
    } cases[] = {
        {"stage 2 of the whole game", 2, 0, false, true},
        {"stage 3 of the whole game", 3, 0, false, false},
        {"stage 1 played alone", 1, 3, false, false},
        {"a game over in stage 1", 1, 0, true, false},
        {"a game over in a single stage", 2, 5, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        world.scoreData.Clear();
        world.playerCount = 1;
        world.partyMembers[0] = 11;
        world.replay.header.finalScore = 0;
        Script* s = MakeStage(c.stage, c.mode);
        s->score = 4321;
        if (c.gameOver) s->GameOver(&world);
        else s->EndStage(&world);
        Object* next = NextScene();
        ASSERT_NE(next, nullptr);
        EXPECT_EQ(next->score, 4321);
        EXPECT_EQ(next->power, c.stageClear ? static_cast<float>(c.stage + 1) : 0.0f);
        EXPECT_EQ(world.replay.header.finalScore, c.stageClear ? 0 : 4321);
        EXPECT_EQ(world.scoreData.GetRankingEntry(11, 0, c.mode, 1), c.gameOver ? 4321 : 0);
        EXPECT_EQ(world.scoreData.GetRankingEntry(11, 0, c.mode + 1, 1), 0);
        world.ClearAll();
        world.SweepObjects();
    }
}

TEST_F(Scoring, GameOverWaitsForTheButtonFromTheSixtyFirstFrame) {
    Script* s = MakeStage(1);
    s->score = 500;
    s->OnMessage(Msg(3, 5, &world));
    s->OnMessage(Msg(3, 5, &world));
    EXPECT_EQ(CountAnywhere(type_id::EF_GameOver), 1);  // a second game over makes no second text
    Step(50);
    world.input.raw[4] = 1;
    Step(1);
    EXPECT_EQ(s->gameOverCountdown, 52);
    EXPECT_EQ(NextScene(), nullptr);
    world.input.raw[4] = 0;
    Step(15);
    world.input.raw[4] = 1;
    Step(1);
    Object* result = NextScene();
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->score, 500);
    EXPECT_EQ(result->angle, 1);
    EXPECT_EQ(world.replay.header.finalScore, 500);
}

// The game-over screen takes Z from its 61st frame, not its 60th, and ends by itself on its 300th.
TEST_F(Scoring, TheGameOverScreenEndsOnZFromFrame61OrByItselfAtFrame300) {
    struct Case {
        int32_t pressedAt;  // the countdown value of the frame Z is pressed, 0 none
        int32_t endsAt;
    } cases[] = {{60, 300}, {61, 61}, {0, 300}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "Z at " << c.pressedAt);
        world.ClearAll();
        world.SweepObjects();
        Script* s = MakeStage(1);
        s->OnMessage(Msg(3, 5, &world));  // the countdown starts at 1 and counts each frame
        int32_t endedAt = 0;
        for (int32_t countdown = 2; countdown <= 301 && endedAt == 0; ++countdown) {
            world.input.raw[4] = countdown == c.pressedAt ? 1 : 0;
            Step();
            if (NextScene() != nullptr) endedAt = countdown;
        }
        world.input.raw[4] = 0;
        EXPECT_EQ(endedAt, c.endsAt);
    }
}

// The ghost turn timer: the turn's time-up goes to the party on the frame that finds it at 0; C
// ends the turn at once in the ghost attacks (modes above 16) while lives are left, never in the
// ghost game.
TEST_F(Scoring, TheGhostTurnTimerStrikesAtZeroAndCEndsATurnOnlyInTheAttacks) {
    struct Case {
        int32_t mode, timer;
        bool pressC;
        float lives;
        bool struck;
        int32_t timerAfter;
    } cases[] = {
        {16, 1, false, 3, false, 0}, {16, 0, false, 3, true, 0}, {16, 100, true, 3, false, 99},
        {17, 100, true, 3, true, 0}, {17, 100, true, 0, false, 99}, {17, 100, false, 3, false, 99},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " timer " << c.timer << (c.pressC ? " C" : ""));
        world.ClearAll();
        world.SweepObjects();
        Script* s = MakeStage(c.mode == 16 ? 16 : 1, c.mode);
        Step();  // the set-up's first frame
        party->messages.clear();
        party->hp = c.lives;
        s->ghostTimer = c.timer;
        world.input.game[6] = c.pressC ? 1 : 0;
        Step();
        world.input.game[6] = 0;
        bool struck = false;
        for (const Message& m : party->messages) struck = struck || m.Code() == 12;
        EXPECT_EQ(struck, c.struck);
        EXPECT_EQ(s->ghostTimer, c.timerAfter);
    }
}

TEST_F(Scoring, GhostAttackTurnsLeftWithNoTimeStillEndTheGame) {
    Script* s = MakeStage(1, 17);
    s->ghostTimer = 0;
    party->hp = 0.0f;
    s->OnMessage(Msg(3, 5, &world));
    EXPECT_EQ(s->clearCountdown, 1);
    EXPECT_EQ(party->hp, -1.0f);
}

TEST_F(Scoring, GhostAttackClearDividesAHugeScoreWithoutWrapping) {
    Script* s = MakeStage(1, 17);
    s->score = 1900000000;
    s->defeats = 1;
    party->hp = 0.0f;  // f = -0.2: the score would be multiplied by five
    s->ClearStage(&world);
    EXPECT_EQ(s->score, kScoreCap);
}

}  // namespace
