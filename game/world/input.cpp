#include "game/world/input.h"

void Input::Init(ObjectController*) {}

void Input::Read(int32_t replayMode) {
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
    for (int32_t& counter : raw) counter = 0;
}
