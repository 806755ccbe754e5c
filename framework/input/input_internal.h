// The input service's module state, shared by its files.
#pragma once

#include <cstdint>

#include "framework/input/input.h"
#include "platform/input/input_source.h"

// One pad's record; pad n and joystick n share record n.
struct ZethInputPad {
    platform::JoystickState joystick;            // after normalisation
    int32_t axisCentre[platform::kJoystickAxes];
    int32_t axisHalfRange[platform::kJoystickAxes];
    bool device;                                 // the joystick is open
    uint8_t polled;
    uint8_t forceFeedback;
    uint32_t pressed;
    uint32_t released;
    uint32_t held;
    uint32_t repeat;
    uint32_t current;
    uint32_t previous;
    int32_t repeatCounters[ZethInput::kPadButtons];
    int32_t joystickButtons[ZethInput::kPadButtons];  // entries 4-19 are used
    int32_t keys[ZethInput::kPadButtons];             // DIK codes
    int32_t buttonCount;                              // buttons the joystick has in its state
};

namespace ZethInput::internal {

struct Module {
    ZethInputPad* pads = nullptr;  // kMaxPads records, null while the service is stopped
    bool sourceOpen = false;
    bool keyboard = false;
    uint8_t keys[platform::kKeyCount] = {};  // 1 = down
    int joystickCount = 0;
    int joystickMax = 0;
    int padCount = 0;
    bool keyboardToPad = false;
    int repeatDelay = 0;
    int repeatInterval = 0;
    MouseState mouse = {};
    bool mouseDown[3] = {};
    bool pendingDoubleClick[3] = {};
    bool mouseSeen = false;
};

Module& State();
void SetUpJoysticks();  // finds and opens the joysticks; none when they cannot be enumerated
void ReleaseJoysticks();

}  // namespace ZethInput::internal
