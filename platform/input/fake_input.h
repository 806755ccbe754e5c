// An input source driven by the test: keys, joysticks and the mouse are plain fields, and each
// device can be told to fail.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/input/input_source.h"

namespace platform {

class FakeInputSource final : public InputSource {
public:
    struct Joystick {
        JoystickInfo info;
        std::vector<JoystickAxis> axes;
        JoystickState state{};  // what a read returns
        bool failOpen = false;
        bool failRead = false;
        bool open = false;
        int reacquired = 0;     // how often a lost read asked for the device back
    };

    // Adds a joystick with the given number of buttons, six axes of range min..max and one hat.
    Joystick& AddJoystick(int buttons, int32_t min = -32768, int32_t max = 32767);
    void SetKey(uint8_t dik, bool down) { keys[dik] = down ? 0x80 : 0; }
    void SetAxis(int joystick, int axis, int32_t value) { joysticks[static_cast<size_t>(joystick)].state.axes[axis] = value; }
    void SetButton(int joystick, int button, bool down) {
        joysticks[static_cast<size_t>(joystick)].state.buttons[button] = down ? 0x80 : 0;
    }

    bool Open() override { return !failOpen; }
    void Close() override {}
    bool OpenKeyboard(int& keyCount) override;
    void CloseKeyboard() override { keyboardOpen = false; }
    bool ReadKeyboard(uint8_t out[kKeyCount]) override;
    int CountJoysticks() override { return failEnumeration ? -1 : static_cast<int>(joysticks.size()); }
    bool OpenJoystick(int index, JoystickInfo& info) override;
    std::vector<JoystickAxis> JoystickAxes(int index) override { return joysticks[static_cast<size_t>(index)].axes; }
    void Update() override {}
    bool ReadJoystick(int index, JoystickState& state) override;
    void ReacquireJoystick(int index) override { ++joysticks[static_cast<size_t>(index)].reacquired; }
    void CloseJoystick(int index) override { joysticks[static_cast<size_t>(index)].open = false; }
    MouseState ReadMouse() override { return mouse; }

    std::array<uint8_t, kKeyCount> keys{};
    std::vector<Joystick> joysticks;
    MouseState mouse;
    bool failOpen = false;
    bool failKeyboard = false;
    bool failKeyboardRead = false;
    bool failEnumeration = false;
    bool keyboardOpen = false;
};

}  // namespace platform
