// The game's three callbacks, which the framework calls.
#pragma once

#include <cstdint>

bool GameInit();                       // configures the framework
int32_t GameMain(int argc, char** argv);  // runs the game until the frame step reports the end
bool GameKeyHook(uint32_t message, uintptr_t wParam, intptr_t lParam);  // Esc, F1, F4
