#include <gtest/gtest.h>

#include "fake_pad.h"
#include "world_support.h"

using namespace world_test;

namespace {

class GameInput : public WorldTest {};

TEST_F(GameInput, ApplyDrivesTheFirstEightGameCountersFromAWord) {
    Input& input = world.input;
    for (int32_t& c : input.game) c = 5;
    input.Apply(0x11);
    EXPECT_EQ(std::vector<int32_t>(input.game, input.game + 13),
              (std::vector<int32_t>{6, 0, 0, 0, 6, 0, 0, 0, 5, 5, 5, 5, 5}));
    EXPECT_EQ(input.PackButtons(), 0x11);
    input.Apply(0x91);  // bit 7 reaches the fourth button's counter, which the word never carries
    EXPECT_EQ(input.game[7], 1);
    EXPECT_EQ(input.PackButtons(), 0x11);
    input.Apply(-1);  // the end of a replay: no buttons
    EXPECT_EQ(std::vector<int32_t>(input.game, input.game + 8), std::vector<int32_t>(8, 0));
    EXPECT_EQ(input.PackButtons(), 0);
}

TEST_F(GameInput, RawCountersCountHeldFramesAndOnlyLivePlayReachesTheGameCopy) {
    FakePad pad(world);
    Input& input = world.input;
    std::vector<int32_t> held;
    for (int frame = 0; frame < 5; ++frame) {
        pad.Hold({kKeyZ, kKeyV});
        input.Read(0);
        held.push_back(input.raw[4]);
        EXPECT_EQ(input.game[7], 0);  // the pause button never reaches the game
    }
    EXPECT_EQ(held, (std::vector<int32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(input.game[4], 5);
    EXPECT_EQ(input.PackButtons(), 0x10);
    pad.ReleaseAll();
    input.Read(0);
    EXPECT_EQ(input.raw[4], 0);

    input.Apply(0);
    pad.Hold({kKeyZ, kKeyUp});
    input.Read(1);  // playback: the keys count but the game follows only the recording
    EXPECT_EQ(input.raw[4], 1);
    EXPECT_EQ(input.raw[0], 1);
    EXPECT_EQ(input.PackButtons(), 0);
}

TEST_F(GameInput, JoystickButtonsTheDeviceCannotHaveBindNothing) {
    world.scoreData.joystickButtons[0] = -56;  // what 200 in the configuration file reads as
    world.scoreData.joystickButtons[1] = 2;
    world.scoreData.joystickButtons[2] = 16;
    platform::FakeInputSource source;
    source.AddJoystick(16);
    platform::SetInputSource(&source);
    ASSERT_TRUE(ZethInput::Initialize());
    world.input.Init(&world);
    struct Case {
        int joystickButton;
        std::vector<int32_t> padButtons4To8;
    };
    const Case cases[] = {
        {0, {0, 0, 0, 0, 1}},  // buttons 8-12 keep the framework's default binding 0
        {2, {0, 1, 0, 0, 0}},
        {3, {0, 0, 0, 1, 0}},
        {15, {0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        world.input.Reset();
        source.SetButton(0, c.joystickButton, true);
        ZethInput::Refresh();
        ZethInput::UpdatePads();
        world.input.Read(0);
        EXPECT_EQ(std::vector<int32_t>(world.input.raw + 4, world.input.raw + 9), c.padButtons4To8) << c.joystickButton;
        source.SetButton(0, c.joystickButton, false);
    }
    ZethInput::Finalize();
    platform::SetInputSource(nullptr);
}

}  // namespace
