#include <gtest/gtest.h>

#include "framework/app/zeth.h"
#include "game/world/callbacks.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "harness/fakes.h"

TEST(GameCallbacks, InitConfiguresTheFramework) {
    ASSERT_TRUE(GameInit());
    EXPECT_STREQ(Zeth::GetApplicationName(), "TANZLOR DIRAV v1.02");
    EXPECT_EQ(Zeth::GetFrameRate(), 60u);
    EXPECT_EQ(Zeth::GetUseFlags(), 3u);
    int32_t width = 0, height = 0;
    bool windowed = false;
    Zeth::GetScreenInfo(&width, &height, &windowed);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    EXPECT_TRUE(windowed);
}

TEST(GameCallbacks, KeyHookActsOnKeyDownOnly) {
    testing_support::FakePlatform fake;
    GameKeyHook(257, 27, 0);  // key up
    EXPECT_FALSE(Zeth::IsQuitRequested());
    bool before = false, after = false;
    Zeth::GetScreenInfo(nullptr, nullptr, &before);
    GameKeyHook(256, 112, 0);  // F1 toggles the screen mode
    Zeth::GetScreenInfo(nullptr, nullptr, &after);
    EXPECT_NE(before, after);
    GameKeyHook(256, 27, 0);  // Esc
    EXPECT_TRUE(Zeth::IsQuitRequested());
}

TEST(GameCallbacks, F4ReturnsToTheTitleAndEndsPlayback) {
    testing_support::FakePlatform fake;
    struct Leftover : Object {};
    const ObjectConstructor title = FindObjectConstructor(340);
    ASSERT_TRUE(RegisterObjectClass(340, [](float, float, float, float, float, float) -> Object* {
        return new Leftover();
    }));
    Object* enemy = new Leftover();
    enemy->self = enemy;
    worldController.AddObject(enemy, 400);
    worldController.replay.mode = 1;
    worldController.frame = 50;
    GameKeyHook(256, 115, 0);
    EXPECT_TRUE(worldController.enemies.empty());
    ASSERT_EQ(worldController.others.size(), 1u);
    EXPECT_EQ(worldController.currentScene, worldController.others.front());
    EXPECT_EQ(worldController.replay.mode, 0);
    EXPECT_EQ(worldController.frame, 0);
    RegisterObjectClass(340, title);
    worldController.ClearAll();
    worldController.SweepObjects();
}
