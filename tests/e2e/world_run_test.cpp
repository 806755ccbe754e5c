// The real game started headless in this process, run for a number of frames.
#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/files/file_system.h"
#include "framework/graphics/sprite.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/type_table.h"
#include "harness/game_run.h"

TEST(WorldRun, StartsDrawsTheFrameCompositionAndQuitsOnEsc) {
    e2e::GameRun run;
    int32_t worldFrames = -1;
    run.onFrame = [&](int32_t, ObjectController& world) { worldFrames = world.frame; };
    e2e::RunResult r = run.Run(5);
    EXPECT_EQ(r.exitCode, 0);
    ASSERT_EQ(r.frameHashes.size(), 5u);
    EXPECT_EQ(worldFrames, 4);  // the world frame counter is advanced after the present
    EXPECT_TRUE(r.messageBoxes.empty());
    // Grey bars of 64 pixels on both sides, the playfield between them (black beside the logo).
    ASSERT_EQ(r.lastFrame.size(), 640u * 480u);
    for (int y : {0, 240, 479}) {
        EXPECT_EQ(run.Pixel(r, 0, y) & 0xFFFFFF, 0x202020u);
        EXPECT_EQ(run.Pixel(r, 63, y) & 0xFFFFFF, 0x202020u);
        EXPECT_EQ(run.Pixel(r, 64, y) & 0xFFFFFF, 0x000000u);
        EXPECT_EQ(run.Pixel(r, 575, y) & 0xFFFFFF, 0x000000u);
        EXPECT_EQ(run.Pixel(r, 576, y) & 0xFFFFFF, 0x202020u);
    }
    EXPECT_NE(r.log.find("CSprite2D::Create"), std::string::npos);
}

// This folder holds no stage tables: a game started here shows both missing-table boxes, and the
// program then ends with a failure status, not as a player's quit.
TEST(WorldRun, AMissingStageTableEndsTheProgramWithAFailureStatus) {
    e2e::GameRun run;
    run.keepFrames = false;
    run.onFrame = [](int32_t frame, ObjectController& world) {
        if (frame != 2) return;
        ZethFile::SetRootPath(0, "no data", "no data.bin");  // the tables are nowhere
        world.ClearScene();
        world.ResetController();
        world.SetPlayerCount(1);
        world.StartGame(0, 0, 0, 0, 1, 0, 0);
    };
    e2e::RunResult r = run.Run(60);
    EXPECT_EQ(r.messageBoxes,
              (std::vector<std::string>{"敵の出現テーブルがないよぅ", "背景テーブルの書かれたファイルが読めないよぅ"}));
    EXPECT_EQ(r.exitCode, EXIT_FAILURE);
}

TEST(WorldRun, PausesOnlyWhileAGameRuns) {
    e2e::GameRun run;
    std::vector<bool> paused;
    run.onFrame = [&](int32_t frame, ObjectController& world) {
        paused.push_back(world.paused);
        if (frame == 3) world.gameRunning = true;  // as a menu starting a game would leave it
    };
    run.Hold(1, 7, 1);  // pressed on the title: nothing
    run.Hold(2, 7, 0);
    run.Hold(5, 7, 1);  // pressed while a game runs
    run.Hold(6, 7, 2);  // still held: no second toggle
    run.Hold(7, 7, 0);
    run.Run(9);
    EXPECT_EQ(paused, (std::vector<bool>{false, false, false, false, false, true, true, true, true}));
}

TEST(WorldRun, TwoRunsPresentTheSameFrames) {
    e2e::GameRun first, second;
    first.Hold(2, 4, 1);
    second.Hold(2, 4, 1);
    e2e::RunResult a = first.Run(6);
    e2e::RunResult b = second.Run(6);
    EXPECT_EQ(a.frameHashes, b.frameHashes);
}

namespace {

// Stands in for the title scene: draws one untextured square into each of three batches at
// the same place, so the picture shows which batch lies on top. The batches lose their sheets.
class LayerScene : public Object {
public:
    LayerScene(float, float, float, float, float, float) {}
    void Draw(ObjectController*) override {
        for (CSprite2D* batch : {gameSprites.font, gameSprites.bullet, gameSprites.effect3}) {
            ZethSprite::SetTexture(batch, 0, nullptr);
        }
        const float dst[4] = {10.0f, 10.0f, 8.0f, 8.0f};
        const float src[4] = {0.0f, 0.0f, 8.0f, 8.0f};
        ZethSprite::DrawRect(gameSprites.font, dst, 32767.0f, src, 0xFF00FF00u, 1);    // green text, on top
        ZethSprite::DrawRect(gameSprites.bullet, dst, 32767.0f, src, 0xFFFF0000u, 1);  // red bullets
        const float lower[4] = {30.0f, 10.0f, 8.0f, 8.0f};
        ZethSprite::DrawRect(gameSprites.bullet, lower, 32767.0f, src, 0xFFFF0000u, 1);
        ZethSprite::DrawRect(gameSprites.effect3, lower, 32767.0f, src, 0xFF0000FFu, 1);  // below everything
    }
};

}  // namespace

TEST(WorldRun, BatchesAreLaidInTheirOrderAndPauseHidesTheObjects) {
    const ObjectConstructor title = FindObjectConstructor(type_id::SC_Menu_Title);
    ASSERT_TRUE(RegisterObjectClass(type_id::SC_Menu_Title, MakeObject<LayerScene>));
    e2e::GameRun run;
    run.onFrame = [&](int32_t frame, ObjectController& world) {
        if (frame == 1) world.gameRunning = true;
    };
    run.Hold(2, 7, 1);  // pause from the third frame on
    run.Hold(3, 7, 2);
    e2e::RunResult shown = run.Run(2);
    e2e::RunResult paused = run.Run(4);
    RegisterObjectClass(type_id::SC_Menu_Title, title);
    // Playfield (x, y) is screen (64 + 2x, 2y).
    EXPECT_EQ(run.Pixel(shown, 64 + 2 * 12, 2 * 12) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(run.Pixel(shown, 64 + 2 * 32, 2 * 12) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(run.Pixel(paused, 64 + 2 * 12, 2 * 12) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(run.Pixel(paused, 64 + 2 * 32, 2 * 12) & 0xFFFFFF, 0x000000u);
    EXPECT_TRUE(shown.messageBoxes.empty());
}
