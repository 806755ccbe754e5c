// Translation of SDL key codes into the virtual-key codes of the window messages.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace platform {

// The virtual-key code of an SDL scancode; 0 for keys the program has no code for.
uint32_t VirtualKeyFromScancode(SDL_Scancode scancode);

}  // namespace platform
