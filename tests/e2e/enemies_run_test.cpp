// An enemy and an enemy bullet in a whole-program run: the enemy falls under the fire of one
// character, dies into a large blast and credits the scene; the run repeats frame for frame.
#include <gtest/gtest.h>

#include <vector>

#include "game/world/factory.h"
#include "game/world/type_table.h"
#include "harness/game_run.h"
#include "stand_ins.h"

namespace {

constexpr int32_t kFireButton = 4;
constexpr int32_t kNatsuki = 11;

struct Seen {
    std::vector<float> blockY;     // while the block lives
    std::vector<int32_t> largeBlastAges;  // of the EF_Blast_02 in the world, frame by frame
    int32_t bullets = 0;           // frames the enemy bullet was in the world
};

e2e::RunResult Play(Seen* seen) {
    e2e::RecordedScene() = e2e::SceneRecord{};
    e2e::GameRun run;
    run.Hold(8, kFireButton, true);
    run.onFrame = [seen](int32_t frame, ObjectController& world) {
        if (frame == 1) world.StartGame(kNatsuki, 12, 13, 14, 1, 0, 0);
        if (frame == 3) {
            world.CreateObject(type_id::E_SquareBlock_Y, 128.7f, 30.0f, 0, 0, 0, 0, nullptr);
            world.CreateObject(type_id::B_Normal_W, 40.0f, 20.0f, 0.0f, 1.0f, 0, 0, nullptr);
        }
        for (Object* e : world.enemies) {
            if (e->kind == 450 && e->state == kAlive) seen->blockY.push_back(e->y);
        }
        for (Object* o : world.others) {
            if (o->kind == 101 && o->width == 32) seen->largeBlastAges.push_back(o->age);
        }
        seen->bullets += static_cast<int32_t>(world.enemyBullets.size());
    };
    return run.Run(130);
}

TEST(EnemiesRun, ABlockFallsIsShotDownAndLeavesItsBlastAndScore) {
    ASSERT_TRUE(RegisterObjectClass(type_id::Script, MakeObject<e2e::RecordingScene>));
    Seen first, second;
    e2e::RunResult a = Play(&first);
    const e2e::SceneRecord scene = e2e::RecordedScene();
    e2e::RunResult b = Play(&second);
    RegisterObjectClass(type_id::Script, nullptr);

    ASSERT_GT(first.blockY.size(), 10u);
    EXPECT_EQ(first.blockY[0], 30.0f);
    for (size_t i = 1; i < first.blockY.size(); ++i) EXPECT_EQ(first.blockY[i] - first.blockY[i - 1], 0.5f) << i;
    EXPECT_LT(first.blockY.size(), 110u);  // shot down, not fallen out
    // Made by the sweep at age 0, it runs 18 frames and the Run that sees age 18 ends it.
    std::vector<int32_t> ages(19);
    for (int32_t i = 0; i < 19; ++i) ages[i] = i;
    EXPECT_EQ(first.largeBlastAges, ages);
    EXPECT_GT(first.bullets, 10);
    EXPECT_EQ(std::count(scene.codes.begin(), scene.codes.end(), 2), 1);
    EXPECT_EQ(scene.score, 400);
    EXPECT_EQ(a.frameHashes, b.frameHashes);
    EXPECT_EQ(first.blockY, second.blockY);
}

}  // namespace
