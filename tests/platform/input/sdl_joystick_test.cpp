// The SDL input source against SDL's own virtual joystick: axes, sliders, hats and buttons as the
// framework's joystick state holds them, and a pad unplugged and plugged in again.
#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/input/input_source.h"

namespace {

using platform::AxisKind;
using platform::JoystickState;

constexpr int kAxes = 9;      // six position axes, two sliders, one more the state has no room for
constexpr int kButtons = 20;  // four past the state's sixteen
constexpr int kHats = 5;      // one past the state's four

class SdlJoystickTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(source_.Open());
        existing_ = source_.CountJoysticks();
        ASSERT_GE(existing_, 0);
        index_ = Plug();
        ASSERT_GE(index_, 0) << SDL_GetError();
        platform::JoystickInfo info;
        ASSERT_TRUE(source_.OpenJoystick(index_, info));
        EXPECT_EQ(info.axisCount, kAxes);
        EXPECT_EQ(info.buttonCount, kButtons);
        EXPECT_EQ(info.povCount, kHats);
        device_ = SDL_JoystickOpen(index_);  // the test's own handle, to move the virtual controls
        ASSERT_NE(device_, nullptr);
    }
    void TearDown() override {
        if (device_ != nullptr) SDL_JoystickClose(device_);
        source_.CloseJoystick(index_);
        for (int i = SDL_NumJoysticks() - 1; i >= existing_; --i) SDL_JoystickDetachVirtual(i);
        source_.Close();
    }
    static int Plug() { return SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, kAxes, kButtons, kHats); }
    JoystickState Read() {
        source_.Update();
        JoystickState state{};
        EXPECT_TRUE(source_.ReadJoystick(index_, state));
        return state;
    }

    platform::InputSource& source_ = platform::GetInputSource();
    int existing_ = 0;
    int index_ = -1;
    SDL_Joystick* device_ = nullptr;
};

TEST_F(SdlJoystickTest, AxesAndSlidersKeepTheirKindsAndRawValues) {
    const AxisKind kinds[kAxes] = {AxisKind::kX,  AxisKind::kY,  AxisKind::kZ,      AxisKind::kRx,     AxisKind::kRy,
                                   AxisKind::kRz, AxisKind::kSlider, AxisKind::kSlider, AxisKind::kUnknown};
    std::vector<platform::JoystickAxis> axes = source_.JoystickAxes(index_);
    ASSERT_EQ(axes.size(), size_t{kAxes + kHats});
    for (int a = 0; a < kAxes; ++a) {
        EXPECT_EQ(axes[a].kind, kinds[a]) << a;
        EXPECT_TRUE(axes[a].rangeKnown) << a;
        EXPECT_EQ(axes[a].min, -32768) << a;
        EXPECT_EQ(axes[a].max, 32767) << a;
    }
    for (int h = kAxes; h < kAxes + kHats; ++h) EXPECT_EQ(axes[h].kind, AxisKind::kPov) << h;

    const int16_t values[kAxes] = {-32768, 32767, -1000, 1000, 12345, -12345, 2222, -3333, 4444};
    for (int a = 0; a < kAxes; ++a) SDL_JoystickSetVirtualAxis(device_, a, values[a]);
    JoystickState state = Read();
    for (int a = 0; a < platform::kJoystickAxes; ++a) EXPECT_EQ(state.axes[a], values[a]) << a;
    EXPECT_EQ(state.sliders[0], 2222);
    EXPECT_EQ(state.sliders[1], -3333);
    for (int a = 0; a < platform::kJoystickAxes; ++a) {
        EXPECT_EQ(state.velocity[a], 0);
        EXPECT_EQ(state.force[a], 0);
    }
}

TEST_F(SdlJoystickTest, HatsAreHundredthsOfADegreeClockwiseFromUp) {
    const struct {
        Uint8 hat;
        uint32_t pov;
    } cases[] = {
        {SDL_HAT_CENTERED, 0xFFFFFFFFu}, {SDL_HAT_UP, 0},        {SDL_HAT_RIGHTUP, 4500},  {SDL_HAT_RIGHT, 9000},
        {SDL_HAT_RIGHTDOWN, 13500},      {SDL_HAT_DOWN, 18000},  {SDL_HAT_LEFTDOWN, 22500}, {SDL_HAT_LEFT, 27000},
        {SDL_HAT_LEFTUP, 31500},
    };
    for (int h = 0; h < platform::kJoystickPovs; ++h) {
        for (const auto& c : cases) {
            SDL_JoystickSetVirtualHat(device_, h, c.hat);
            JoystickState state = Read();
            EXPECT_EQ(state.povs[h], c.pov) << "hat " << h << " value " << int(c.hat);
            for (int other = 0; other < platform::kJoystickPovs; ++other) {
                if (other == h) continue;
                EXPECT_EQ(state.povs[other], 0xFFFFFFFFu) << "hat " << other;
            }
        }
        SDL_JoystickSetVirtualHat(device_, h, SDL_HAT_CENTERED);
    }
    // The fifth hat has no place in the state and disturbs none of the four.
    SDL_JoystickSetVirtualHat(device_, kHats - 1, SDL_HAT_UP);
    JoystickState state = Read();
    for (uint32_t pov : state.povs) EXPECT_EQ(pov, 0xFFFFFFFFu);
}

TEST_F(SdlJoystickTest, ButtonsPastTheSixteenthAreDroppedAndAPadComesBackWhenPluggedAgain) {
    for (int b = 0; b < kButtons; ++b) SDL_JoystickSetVirtualButton(device_, b, b % 3 == 0 ? SDL_PRESSED : SDL_RELEASED);
    JoystickState state = Read();
    for (int b = 0; b < platform::kJoystickButtons; ++b) EXPECT_EQ(state.buttons[b], b % 3 == 0 ? 0x80 : 0) << b;

    // Unplugged: reads fail, and reacquires find nothing for as long as the pad is away (a frame
    // each); plugged in again, the record reads the new device.
    SDL_JoystickClose(device_);
    device_ = nullptr;
    ASSERT_EQ(SDL_JoystickDetachVirtual(index_), 0);
    source_.Update();
    JoystickState lost{};
    EXPECT_FALSE(source_.ReadJoystick(index_, lost));
    for (int frame = 0; frame < 3; ++frame) {
        source_.ReacquireJoystick(index_);
        EXPECT_FALSE(source_.ReadJoystick(index_, lost));
    }
    int again = Plug();
    ASSERT_GE(again, 0);
    source_.ReacquireJoystick(index_);
    device_ = SDL_JoystickOpen(again);
    ASSERT_NE(device_, nullptr);
    SDL_JoystickSetVirtualButton(device_, 1, SDL_PRESSED);
    state = Read();
    EXPECT_EQ(state.buttons[1], 0x80);
    EXPECT_EQ(state.buttons[0], 0);
}

}  // namespace
