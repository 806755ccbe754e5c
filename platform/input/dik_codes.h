// DirectInput-style key codes (DIK): the index of a key in the 256-entry key array.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace platform {

// The DIK code of an SDL scancode; 0 (no key) for keys without one.
uint8_t DikFromScancode(SDL_Scancode scancode);

}  // namespace platform
