// The pad update: joystick and keyboard state folded into each pad's button masks.
#include "framework/input/input.h"
#include "framework/input/input_internal.h"

namespace ZethInput {

using internal::State;

namespace {

enum Direction { kUp = 0, kDown = 1, kLeft = 2, kRight = 3 };
constexpr int kFirstPlainButton = 4;
constexpr int32_t kHalfDeflection = 32768;

constexpr uint32_t Bit(int button) { return 1u << button; }

uint32_t JoystickButtons(const ZethInputPad& pad) {
    if (!pad.device) return 0;
    uint32_t bits = 0;
    const int32_t x = pad.joystick.axes[0];
    const int32_t y = pad.joystick.axes[1];
    if (x < -kHalfDeflection) bits |= Bit(kLeft);
    if (x > kHalfDeflection) bits |= Bit(kRight);
    if (y < -kHalfDeflection) bits |= Bit(kUp);
    if (y > kHalfDeflection) bits |= Bit(kDown);
    // The button numbers come from the user's configuration file; a number the joystick does
    // not have sets nothing.
    for (int b = kFirstPlainButton; b < kPadButtons; ++b) {
        int32_t joystickButton = pad.joystickButtons[b];
        if (joystickButton < 0 || joystickButton >= pad.buttonCount) continue;
        if (pad.joystick.buttons[joystickButton] != 0) bits |= Bit(b);
    }
    return bits;
}

// DIK code 0 is no key, so a key map entry left at 0 never sets its button.
uint32_t KeyboardButtons(const ZethInputPad& pad, const uint8_t* keys) {
    uint32_t bits = 0;
    for (int b = 0; b < kPadButtons; ++b) {
        int32_t key = pad.keys[b];
        if (key > 0 && key < platform::kKeyCount && keys[key] == 1) bits |= Bit(b);
    }
    return bits;
}

// A held button pulses on its first held frame, then, once held longer than the delay, on
// every interval-th frame.
void UpdateRepeat(ZethInputPad& pad, int delay, int interval) {
    for (int b = 0; b < kPadButtons; ++b) {
        int32_t& counter = pad.repeatCounters[b];
        if ((pad.held & Bit(b)) == 0) {
            counter = 0;
            continue;
        }
        bool pulse = counter == 0 || (counter > delay && interval > 0 && counter % interval == 0);
        if (pulse) pad.repeat |= Bit(b);
        ++counter;
    }
}

}  // namespace

void UpdatePads() {
    internal::Module& state = State();
    if (state.pads == nullptr) return;
    for (int p = 0; p < state.padCount && p < kMaxPads; ++p) {
        ZethInputPad& pad = state.pads[p];
        pad.previous = pad.current;
        pad.current = JoystickButtons(pad);
        if (state.keyboardToPad) pad.current |= KeyboardButtons(pad, state.keys);
        pad.pressed = pad.current & ~pad.previous;
        pad.released = pad.previous & ~pad.current;
        pad.held = pad.previous & pad.current;
        pad.repeat = 0;
        UpdateRepeat(pad, state.repeatDelay, state.repeatInterval);
    }
}

}  // namespace ZethInput
