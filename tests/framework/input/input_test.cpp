#include <gtest/gtest.h>

#include <vector>

#include "framework/input/input.h"
#include "framework/input/input_internal.h"
#include "platform/input/fake_input.h"

namespace {

constexpr uint8_t kDikZ = 0x2C;
constexpr int kFire = 4;  // pad button driven by Z and joystick button 0

class InputTest : public testing::Test {
protected:
    void Start() {
        platform::SetInputSource(&source_);
        ASSERT_TRUE(ZethInput::Initialize());
        ZethInput::SetConfig(static_cast<int>(source_.joysticks.empty() ? 1 : source_.joysticks.size()), true, 30, 3);
        ZethInput::SetKeyboardKey(0, kFire, kDikZ);
    }
    void TearDown() override {
        ZethInput::Finalize();
        platform::SetInputSource(nullptr);
    }
    void Frame() {
        ZethInput::Refresh();
        ZethInput::UpdatePads();
    }
    static bool State(int kind, int button = kFire, int pad = 0) { return ZethInput::GetPadState(pad, kind, button); }

    platform::FakeInputSource source_;
};

TEST_F(InputTest, EdgesOfAOneFramePress) {
    Start();
    struct Step {
        bool down;
        bool pressed, released, held, repeat;
    };
    const Step steps[] = {
        {false, false, false, false, false},
        {true, true, false, false, false},
        {false, false, true, false, false},
        {false, false, false, false, false},
    };
    for (const Step& step : steps) {
        source_.SetKey(kDikZ, step.down);
        Frame();
        EXPECT_EQ(State(ZethInput::kPressed), step.pressed);
        EXPECT_EQ(State(ZethInput::kReleased), step.released);
        EXPECT_EQ(State(ZethInput::kHeld), step.held);
        EXPECT_EQ(State(ZethInput::kRepeat), step.repeat);
        EXPECT_EQ(State(ZethInput::kCurrent), step.down);
    }
}

TEST_F(InputTest, RepeatPulsesOnTheSecondHeldFrameThenEveryThirdFromThe35th) {
    Start();
    std::vector<int> pulses;
    source_.SetKey(kDikZ, true);
    for (int frame = 1; frame <= 45; ++frame) {
        Frame();
        if (State(ZethInput::kRepeat)) pulses.push_back(frame);
    }
    EXPECT_EQ(pulses, (std::vector<int>{2, 35, 38, 41, 44}));
    source_.SetKey(kDikZ, false);
    Frame();
    source_.SetKey(kDikZ, true);
    Frame();
    Frame();
    EXPECT_TRUE(State(ZethInput::kRepeat));  // the counter restarted
}

TEST_F(InputTest, KeyCodeZeroAndOtherPadsNeverSetButtons) {
    Start();
    source_.SetKey(0, true);
    source_.SetKey(kDikZ, true);
    Frame();
    for (int button = 0; button < ZethInput::kPadButtons; ++button) {
        EXPECT_EQ(State(ZethInput::kCurrent, button), button == kFire) << button;
        EXPECT_FALSE(State(ZethInput::kCurrent, button, 1));
    }
    EXPECT_FALSE(ZethInput::GetPadState(0, 6, kFire));
    EXPECT_FALSE(ZethInput::GetPadState(16, ZethInput::kCurrent, kFire));
}

TEST_F(InputTest, AxisDeflectionDeadZoneAndDirections) {
    source_.AddJoystick(8);
    source_.AddJoystick(8, 0, 0);                      // a device reporting an empty range
    source_.AddJoystick(8, INT32_MIN + 1, INT32_MAX);  // a range whose scaling needs 64 bits
    Start();
    struct Row {
        int joystick;
        int32_t x;
        int32_t expectedX;
        bool left, right;
    };
    const Row rows[] = {
        {0, 983, 0, false, false},          // 3 %: inside the dead zone
        {0, -13107, -26214, false, false},  // 40 %: not a direction
        {0, 19660, 39320, false, true},     // 60 %
        {0, -19660, -39320, true, false},
        {1, 5, 0, false, false},
        {2, INT32_MAX, 65535, false, true},
        {2, INT32_MIN + 1, -65535, true, false},
    };
    for (const Row& row : rows) {
        source_.SetAxis(row.joystick, 0, row.x);
        Frame();
        const ZethInputPad& pad = ZethInput::internal::State().pads[row.joystick];
        EXPECT_EQ(pad.joystick.axes[0], row.expectedX) << row.x;
        EXPECT_EQ(State(ZethInput::kCurrent, 2, row.joystick), row.left) << row.x;
        EXPECT_EQ(State(ZethInput::kCurrent, 3, row.joystick), row.right) << row.x;
    }
}

// Each way of the stick sets its own pad button (0 up, 1 down, 2 left, 3 right) and no other,
// from just past half deflection (32768 after scaling) and not at it; the dead zone keeps 3276.
// On the fake pad's range (centre 0, half range 32767), raw r scales to r x 65535 / 32767.
TEST_F(InputTest, EveryStickDirectionSetsItsButtonPastHalfDeflection) {
    source_.AddJoystick(8);
    source_.AddJoystick(8).axes[1] = {platform::AxisKind::kY, true, 0, 1000};  // each axis scales by its own range
    Start();
    struct Row {
        int axis;  // 0 x, 1 y
        int32_t raw;
        int32_t scaled;
        int direction;  // the pad button set, or -1 for none
    } rows[] = {
        {0, 16384, 32768, -1},  {0, 16385, 32770, 3},  {0, -16384, -32768, -1}, {0, -16385, -32770, 2},
        {1, 16384, 32768, -1},  {1, 16385, 32770, 1},  {1, -16384, -32768, -1}, {1, -16385, -32770, 0},
        {0, 1638, 3276, -1},    {0, 1637, 0, -1},      {1, -1638, -3276, -1},    {1, -1637, 0, -1},
        {1, 32767, 65535, 1},   {1, -32768, -65537, 0},
    };
    for (const Row& row : rows) {
        source_.SetAxis(0, 0, 0);
        source_.SetAxis(0, 1, 0);
        source_.SetAxis(0, row.axis, row.raw);
        Frame();
        SCOPED_TRACE(testing::Message() << "axis " << row.axis << " raw " << row.raw);
        EXPECT_EQ(ZethInput::internal::State().pads[0].joystick.axes[row.axis], row.scaled);
        for (int button = 0; button < 4; ++button) EXPECT_EQ(State(ZethInput::kCurrent, button), button == row.direction) << button;
    }
    // Diagonals set both of their buttons.
    source_.SetAxis(0, 0, -20000);
    source_.SetAxis(0, 1, 20000);
    Frame();
    EXPECT_EQ(ZethInput::internal::State().pads[0].current & 0xFu, (1u << 1) | (1u << 2));
    source_.SetAxis(1, 1, 1000);
    Frame();
    EXPECT_EQ(ZethInput::internal::State().pads[1].joystick.axes[1], 65535);
    EXPECT_TRUE(State(ZethInput::kCurrent, 1, 1));
}

TEST_F(InputTest, OneFailingJoystickLeavesTheOtherWorking) {
    source_.AddJoystick(8);
    source_.AddJoystick(8);
    Start();
    ZethInput::SetJoystickButton(0, kFire, 1);
    ZethInput::SetJoystickButton(1, kFire, 1);
    source_.SetButton(0, 1, true);
    source_.SetButton(1, 1, true);
    source_.joysticks[0].failRead = true;
    Frame();
    EXPECT_FALSE(State(ZethInput::kCurrent, kFire, 0));
    EXPECT_TRUE(State(ZethInput::kCurrent, kFire, 1));
    EXPECT_EQ(source_.joysticks[0].reacquired, 1);
    EXPECT_EQ(ZethInput::internal::State().pads[0].joystick.povs[0], platform::kPovCentred);
    source_.joysticks[0].failRead = false;
    Frame();
    EXPECT_TRUE(State(ZethInput::kCurrent, kFire, 0));
}

TEST_F(InputTest, JoystickButtonNumbersOutsideTheDeviceSetNothing) {
    source_.AddJoystick(4);
    Start();
    for (int b = 0; b < platform::kJoystickButtons; ++b) source_.SetButton(0, b, true);
    const int map[] = {3, 4, 15, -1, 200};  // pad buttons 4-8; the device has buttons 0-3
    for (int i = 0; i < 5; ++i) ZethInput::SetJoystickButton(0, kFire + i, map[i]);
    Frame();
    EXPECT_TRUE(State(ZethInput::kCurrent, kFire));
    for (int i = 1; i < 5; ++i) EXPECT_FALSE(State(ZethInput::kCurrent, kFire + i)) << map[i];
    // Pad buttons left at the default map read joystick button 0.
    EXPECT_TRUE(State(ZethInput::kCurrent, 19));
}

TEST_F(InputTest, HatsAndButtonsAreNormalised) {
    source_.AddJoystick(4);
    Start();
    source_.joysticks[0].state.povs[0] = 27000;
    source_.joysticks[0].state.buttons[2] = 0x7F;  // high bit clear: up
    Frame();
    const ZethInputPad& pad = ZethInput::internal::State().pads[0];
    EXPECT_EQ(pad.joystick.povs[0], 270u);
    EXPECT_EQ(pad.joystick.povs[1], platform::kPovCentred);
    EXPECT_EQ(pad.joystick.buttons[2], 0);
    EXPECT_EQ(ZethInput::internal::State().pads[0].current & 0xFu, 0u);  // a hat sets no direction
}

TEST_F(InputTest, MouseButtonsMovementAndWheel) {
    Start();
    source_.mouse = {true, false, false, 10, 20};
    Frame();
    ZethInput::OnWheel(120);
    ZethInput::OnWheel(-240);
    ZethInput::OnDoubleClick(1);
    source_.mouse = {true, true, false, 13, 15};
    Frame();
    const ZethInput::MouseState& mouse = ZethInput::GetMouse();
    EXPECT_EQ(mouse.buttons[0], 3);
    EXPECT_EQ(mouse.buttons[1], 2);
    EXPECT_TRUE(mouse.doubleClicked[1]);
    EXPECT_EQ(mouse.moveX, 3);
    EXPECT_EQ(mouse.moveY, -5);
    EXPECT_EQ(mouse.wheel, -120);
    source_.mouse = {false, true, false, 13, 15};
    Frame();
    EXPECT_EQ(mouse.buttons[0], 1);
    EXPECT_FALSE(mouse.doubleClicked[1]);
}

TEST_F(InputTest, NoInputSystemFailsAndStoppedServiceIgnoresFrames) {
    source_.failOpen = true;
    platform::SetInputSource(&source_);
    EXPECT_FALSE(ZethInput::Initialize());
    Frame();
    EXPECT_FALSE(State(ZethInput::kCurrent));
}

}  // namespace
