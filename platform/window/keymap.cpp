#include "platform/window/keymap.h"

#include "platform/window/messages.h"

namespace platform {

uint32_t VirtualKeyFromScancode(SDL_Scancode sc) {
    if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return vk::kA + (sc - SDL_SCANCODE_A);
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return vk::k0 + 1 + (sc - SDL_SCANCODE_1);
    if (sc == SDL_SCANCODE_0) return vk::k0;
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return vk::kF1 + (sc - SDL_SCANCODE_F1);
    if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) return vk::kNumpad0 + 1 + (sc - SDL_SCANCODE_KP_1);
    switch (sc) {
        case SDL_SCANCODE_KP_0: return vk::kNumpad0;
        case SDL_SCANCODE_BACKSPACE: return vk::kBack;
        case SDL_SCANCODE_TAB: return vk::kTab;
        case SDL_SCANCODE_RETURN:
        case SDL_SCANCODE_KP_ENTER: return vk::kReturn;
        case SDL_SCANCODE_LSHIFT:
        case SDL_SCANCODE_RSHIFT: return vk::kShift;
        case SDL_SCANCODE_LCTRL:
        case SDL_SCANCODE_RCTRL: return vk::kControl;
        case SDL_SCANCODE_LALT:
        case SDL_SCANCODE_RALT: return vk::kMenu;
        case SDL_SCANCODE_PAUSE: return vk::kPause;
        case SDL_SCANCODE_ESCAPE: return vk::kEscape;
        case SDL_SCANCODE_SPACE: return vk::kSpace;
        case SDL_SCANCODE_PAGEUP: return vk::kPrior;
        case SDL_SCANCODE_PAGEDOWN: return vk::kNext;
        case SDL_SCANCODE_END: return vk::kEnd;
        case SDL_SCANCODE_HOME: return vk::kHome;
        case SDL_SCANCODE_LEFT: return vk::kLeft;
        case SDL_SCANCODE_UP: return vk::kUp;
        case SDL_SCANCODE_RIGHT: return vk::kRight;
        case SDL_SCANCODE_DOWN: return vk::kDown;
        case SDL_SCANCODE_INSERT: return vk::kInsert;
        case SDL_SCANCODE_DELETE: return vk::kDelete;
        default: return 0;
    }
}

}  // namespace platform
