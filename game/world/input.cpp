#include "game/world/input.h"

#include <algorithm>

#include "framework/input/input.h"
#include "game/world/object_controller.h"

namespace {

constexpr int kPad = 0;
constexpr int kJoystickButtonsRead = 16;  // buttons the input service reads of a joystick
constexpr int kNoJoystickButton = -1;
constexpr int kFirstBoundPadButton = 4;
constexpr int kFirstLetterPadButton = 8;
constexpr int kKeyZ = 0x2C;  // Z, X, C, V follow
constexpr int kKeyA = 0x1E;  // A, S, D, F follow
constexpr int kArrowKeys[4] = {0xC8, 0xD0, 0xCB, 0xCD};  // up, down, left, right

}  // namespace

void Input::Init(ObjectController* game) {
    ZethInput::SetConfig(1, true, 30, 3);
    for (int k = 0; k < kBoundJoystickButtons; ++k) {
        joystickButtons[k] = game->scoreData.joystickButtons[k];
        boundPadButtons[k] = kFirstBoundPadButton + k;
        int32_t button = joystickButtons[k];
        bool exists = button >= 0 && button < kJoystickButtonsRead;
        ZethInput::SetJoystickButton(kPad, boundPadButtons[k], exists ? button : kNoJoystickButton);
    }
    for (int k = 0; k < 4; ++k) {
        ZethInput::SetKeyboardKey(kPad, kFirstBoundPadButton + k, kKeyZ + k);
        ZethInput::SetKeyboardKey(kPad, kFirstLetterPadButton + k, kKeyA + k);
        ZethInput::SetKeyboardKey(kPad, k, kArrowKeys[k]);
    }
}

void Input::Read(int32_t replayMode) {
    std::copy(raw, raw + kButtons, rawBeforeRead_);
    std::copy(game, game + kButtons, gameBeforeRead_);
    for (int i = 0; i < kButtons; ++i) {
        bool down = ZethInput::GetPadState(kPad, ZethInput::kPressed, i) || ZethInput::GetPadState(kPad, ZethInput::kHeld, i);
        raw[i] = down ? raw[i] + 1 : 0;
    }
    if (replayMode != 0) return;
    for (int i = 0; i < kButtons; ++i) game[i] = raw[i];
    game[kPauseButton] = 0;
}

int32_t Input::PackButtons() const {
    int32_t word = 0;
    for (int k = 0; k < 7; ++k) {
        if (game[k] > 0) word |= 1 << k;
    }
    return word;
}

void Input::Apply(int32_t word) {
    for (int k = 0; k < 8; ++k) {
        // The signed remainder rule: a negative word (the end of a replay) raises no button.
        bool down = word % (1 << (k + 1)) >= (1 << k);
        game[k] = down ? game[k] + 1 : 0;
    }
}

void Input::Reset() {
    std::fill(raw, raw + kButtons, 0);
    std::fill(game, game + kButtons, 0);
}

void Input::UndoRead() {
    int32_t pause = raw[kPauseButton];
    std::copy(rawBeforeRead_, rawBeforeRead_ + kButtons, raw);
    std::copy(gameBeforeRead_, gameBeforeRead_ + kButtons, game);
    raw[kPauseButton] = pause;
}
