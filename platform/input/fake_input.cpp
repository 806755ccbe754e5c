#include "platform/input/fake_input.h"

#include <cstring>

namespace platform {

FakeInputSource::Joystick& FakeInputSource::AddJoystick(int buttons, int32_t min, int32_t max) {
    Joystick joystick;
    joystick.info.name = "fake pad";
    joystick.info.axisCount = kJoystickAxes;
    joystick.info.buttonCount = buttons;
    joystick.info.povCount = 1;
    for (int a = 0; a < kJoystickAxes; ++a) joystick.axes.push_back({static_cast<AxisKind>(a), true, min, max});
    joystick.axes.push_back({AxisKind::kPov, false, 0, 0});
    for (int a = 0; a < kJoystickAxes; ++a) joystick.state.axes[a] = static_cast<int32_t>((int64_t{min} + max) / 2);
    for (uint32_t& pov : joystick.state.povs) pov = kPovCentred;
    joysticks.push_back(joystick);
    return joysticks.back();
}

bool FakeInputSource::OpenKeyboard(int& keyCount) {
    if (failKeyboard) return false;
    keyCount = kKeyCount;
    keyboardOpen = true;
    return true;
}

bool FakeInputSource::ReadKeyboard(uint8_t out[kKeyCount]) {
    if (!keyboardOpen || failKeyboardRead) return false;
    std::memcpy(out, keys.data(), kKeyCount);
    return true;
}

bool FakeInputSource::OpenJoystick(int index, JoystickInfo& info) {
    Joystick& joystick = joysticks[static_cast<size_t>(index)];
    if (joystick.failOpen) return false;
    joystick.open = true;
    info = joystick.info;
    return true;
}

bool FakeInputSource::ReadJoystick(int index, JoystickState& state) {
    const Joystick& joystick = joysticks[static_cast<size_t>(index)];
    if (!joystick.open || joystick.failRead) return false;
    state = joystick.state;
    return true;
}

}  // namespace platform
