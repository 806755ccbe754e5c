// The scenery the stages run besides their waves: stage 5's bands, stage 6's block game and the
// bell clouds of stages 7 and 9.
#include <gtest/gtest.h>

#include <vector>

#include "game/world/message_codes.h"
#include "game/world/type_table.h"
#include "stage_support.h"

namespace {

class Scenery : public stage_test::StageWorld {
protected:
    std::vector<Object*> OfClass(const ObjectList& list, int32_t typeId) const {
        std::vector<Object*> found;
        for (Object* o : list) {
            if (enemies_test::ClassOf(o) == kTypeTable[typeId].className) found.push_back(o);
        }
        return found;
    }
    Object* Controller(int32_t typeId) const {
        const std::vector<Object*> found = OfClass(world.others, typeId);
        return found.size() == 1 ? found[0] : nullptr;
    }
};

TEST_F(Scenery, EachStageMakesItsOwnControllerOnItsFirstFrameAndItLeavesWithTheStage) {
    struct Case {
        int32_t stage, mode;
        int32_t bandControllers, blockGames;
    };
    const Case cases[] = {
        {5, 5, 1, 0},  {5, 21, 1, 0},  // stage 5 as a node and as a ghost node
        {6, 6, 0, 1},  {6, 22, 0, 1},  // stage 6 likewise
        {4, 4, 0, 0},  {7, 7, 0, 0},  {1, 0, 0, 0}, {16, 16, 0, 0},
    };
    for (const Case& c : cases) {
        Script* s = MakeStage(c.stage, c.mode);
        ASSERT_NE(s, nullptr);
        Step(1);
        EXPECT_EQ(Count(world.others, type_id::EF_S5BGController), c.bandControllers) << c.mode;
        EXPECT_EQ(Count(world.others, type_id::EF_S6_BlockController), c.blockGames) << c.mode;
        const int32_t id = c.bandControllers != 0 ? type_id::EF_S5BGController : type_id::EF_S6_BlockController;
        if (c.bandControllers + c.blockGames != 0) {
            Object* controller = Controller(id);
            ASSERT_NE(controller, nullptr) << c.mode;
            EXPECT_EQ(controller->owner, s) << c.mode;
            EXPECT_EQ(s->scenery, controller) << c.mode;
        }
        Step(120);
        EXPECT_EQ(Count(world.others, type_id::EF_S5BG), 24 * c.bandControllers) << c.mode;
        EXPECT_EQ(Count(world.enemies, type_id::E_Tetris_W) > 0, c.blockGames != 0) << c.mode;
        // A stage that runs on never makes a second one.
        EXPECT_EQ(Count(world.others, id), c.bandControllers + c.blockGames) << c.mode;

        s->Vanish();
        Step(2);
        EXPECT_EQ(Count(world.others, type_id::EF_S5BGController), 0) << c.mode;
        EXPECT_EQ(Count(world.others, type_id::EF_S5BG), 0) << c.mode;
        EXPECT_EQ(Count(world.others, type_id::EF_S6_BlockController), 0) << c.mode;
        EXPECT_EQ(Count(world.enemies, type_id::E_Tetris_W), 0) << c.mode;
        world.ClearAll();
        world.SweepObjects();
    }
}

TEST_F(Scenery, StageFiveBandsWaveLivelierEveryTwentySeconds) {
    // The frame (the stage's age when it runs) and the wave mode it sets: still for 20 seconds,
    // then each of the three waves in turn, and the liveliest from then on.
    struct Case {
        int32_t frame, mode;
    };
    const Case cases[] = {{0, 0},    {1199, 0}, {1200, 1}, {2399, 1}, {2400, 2},
                          {3599, 2}, {3600, 3}, {3601, 3}, {4800, 3}, {60000, 3}};
    Script* s = MakeStage(5, 5);
    s->wavesOn = 0;
    Step(1);
    Object* controller = Controller(type_id::EF_S5BGController);
    ASSERT_NE(controller, nullptr);
    for (const Case& c : cases) {
        s->age = c.frame;
        Step(1);
        EXPECT_EQ(controller->angle, c.mode) << c.frame;
    }
}

TEST_F(Scenery, StageSixStopsDroppingBlocksOnceTheStageEnds) {
    enum Ending { kNone, kGameOver, kClear, kBoss };
    struct Case {
        Ending ending;
        int32_t flag;
    };
    const Case cases[] = {{kNone, 0}, {kGameOver, 1}, {kClear, 1}, {kBoss, 1}};
    for (const Case& c : cases) {
        Script* s = MakeStage(6, 6);
        Step(1);
        Object* game = Controller(type_id::EF_S6_BlockController);
        ASSERT_NE(game, nullptr);
        if (c.ending == kGameOver) s->OnMessage(Msg(3, stage_message::kGameOver, &world));
        if (c.ending == kClear) s->ClearStage(&world);
        if (c.ending == kBoss) s->bossActive = 1;
        const int32_t before = Count(world.enemies, type_id::E_Tetris_W);
        Step(40);
        EXPECT_EQ(game->angle, c.flag) << c.ending;
        // A block every fourth frame while the game runs; none once it is stopped.
        EXPECT_EQ(Count(world.enemies, type_id::E_Tetris_W) - before, c.flag == 0 ? 10 : 0) << c.ending;
        world.ClearAll();
        world.SweepObjects();
    }
}

TEST_F(Scenery, BellCloudsDriftDownOverStagesSevenAndNineAndDropBellsWhenShot) {
    // The lanes the clouds enter by, in turn, from frame 300 on every 600 frames; the eighth
    // cloud takes the first lane again.
    const float lanes[] = {64, 192, 128, 40, 216, 96, 160, 64};
    for (int32_t stage : {7, 9}) {
        Script* s = MakeStage(stage, stage);
        s->wavesOn = 0;
        s->age = 299;
        Step(1);
        EXPECT_EQ(Count(world.others, type_id::EF_TwinBee_Cloud), 0) << stage;
        for (int n = 0; n < 8; ++n) {
            s->age = 300 + 600 * n;
            Step(1);
            const std::vector<Object*> clouds = OfClass(world.others, type_id::EF_TwinBee_Cloud);
            ASSERT_EQ(clouds.size(), 1u) << stage << " " << n;
            EXPECT_EQ(clouds[0]->x, lanes[n]) << stage << " " << n;
            EXPECT_EQ(clouds[0]->vy, static_cast<float>(s->scrollSpeed)) << stage << " " << n;
            Step(599);
            // It drifts down with the scroll and is gone once below y 256.
            EXPECT_EQ(Count(world.others, type_id::EF_TwinBee_Cloud), 0) << stage << " " << n;
        }
        world.ClearAll();
        world.SweepObjects();
    }

    // Shot, it drops a bell that carries its bell item.
    Script* s = MakeStage(7, 7);
    s->wavesOn = 0;
    s->age = 300;
    Step(61);
    const std::vector<Object*> clouds = OfClass(world.others, type_id::EF_TwinBee_Cloud);
    ASSERT_EQ(clouds.size(), 1u);
    Object* shot = new enemies_test::Probe(clouds[0]->x, clouds[0]->y + 1);
    shot->hitHalfWidth = shot->hitHalfHeight = 4;
    world.AddObject(shot, 500);
    Step(2);
    EXPECT_EQ(Count(world.enemies, type_id::E_TwinBee_Bell_Y), 1);
    EXPECT_EQ(Count(world.items, type_id::I_TwinBee_Bell), 1);
}

TEST_F(Scenery, NoCloudEntersOtherStagesOrAStageThatIsEnding) {
    struct Case {
        int32_t stage;
        const char* what;
        void (*end)(Script*, ObjectController*);
    };
    const Case cases[] = {
        {1, "stage 1", nullptr},
        {3, "stage 3", nullptr},
        {5, "stage 5", nullptr},
        {8, "stage 8", nullptr},
        {12, "stage 12", nullptr},
        {7, "a boss", [](Script* s, ObjectController*) { s->bossActive = 1; }},
        {7, "the game over", [](Script* s, ObjectController*) { s->gameOverCountdown = 1; }},
        {9, "the clear", [](Script* s, ObjectController*) { s->clearCountdown = 1; }},
    };
    for (const Case& c : cases) {
        Script* s = MakeStage(c.stage, c.stage);
        s->wavesOn = 0;
        s->age = 300;
        if (c.end != nullptr) c.end(s, &world);
        Step(1);
        EXPECT_EQ(Count(world.others, type_id::EF_TwinBee_Cloud), 0) << c.what;
        world.ClearAll();
        world.SweepObjects();
    }
}

}  // namespace
