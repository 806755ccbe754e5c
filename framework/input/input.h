// The input service: keyboard, joysticks and mouse read once a frame into up to sixteen pads.
// A pad is a 20-button mask (buttons 0-3 are up, down, left, right; 4-19 plain buttons) with
// edge and key-repeat masks.
#pragma once

#include <cstdint>

namespace ZethInput {

constexpr int kMaxPads = 16;
constexpr int kPadButtons = 20;

// Mask kinds of GetPadState, in the order the pad record keeps them.
enum PadMask { kPressed = 0, kReleased = 1, kHeld = 2, kRepeat = 3, kCurrent = 4, kPrevious = 5 };

bool Initialize();  // opens the keyboard and the joysticks; false when there is no input system
void Finalize();
void Refresh();     // reads the devices; does nothing when the service was not started
void UpdatePads();  // turns what was read into pad bits; likewise
// Pads in use, whether the keyboard drives them, and the key-repeat delay and interval in frames.
void SetConfig(int padCount, bool keyboardToPad, int repeatDelay, int repeatInterval);
void SetJoystickButton(int pad, int padButton, int joystickButton);  // joystick button feeding a pad button
void SetKeyboardKey(int pad, int padButton, int dikCode);            // key (DIK code, 0 = none) feeding it
bool GetPadState(int pad, int kind, int padButton);                  // bit padButton of mask kind (PadMask)
void OnDoubleClick(int button);  // 0 left, 1 right, 2 middle
void OnWheel(int delta);

// The mouse as the last Refresh saw it.
struct MouseState {
    int32_t buttons[3];        // left, right, middle: 0 up, 1 just released, 2 just pressed, 3 held
    bool doubleClicked[3];     // a double click arrived since the frame before
    int32_t x, y;              // position in client coordinates
    int32_t moveX, moveY;      // movement since the frame before
    int32_t wheel;             // accumulated wheel value
};
const MouseState& GetMouse();

}  // namespace ZethInput
