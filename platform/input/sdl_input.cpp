// The SDL input source: the keyboard state as DIK codes, raw SDL joysticks (not game
// controllers, so button numbers stay the device's own) and the mouse.
#include <SDL.h>

#include <array>
#include <cstring>

#include "platform/input/dik_codes.h"
#include "platform/input/input_source.h"

namespace platform {
namespace {

constexpr int kMaxOpenJoysticks = 16;
constexpr int32_t kSdlAxisMin = -32768;
constexpr int32_t kSdlAxisMax = 32767;

uint32_t PovFromHat(uint8_t hat) {
    switch (hat) {
        case SDL_HAT_UP: return 0;
        case SDL_HAT_RIGHTUP: return 4500;
        case SDL_HAT_RIGHT: return 9000;
        case SDL_HAT_RIGHTDOWN: return 13500;
        case SDL_HAT_DOWN: return 18000;
        case SDL_HAT_LEFTDOWN: return 22500;
        case SDL_HAT_LEFT: return 27000;
        case SDL_HAT_LEFTUP: return 31500;
        default: return kPovCentred;
    }
}

AxisKind KindOfAxis(int axis) {
    if (axis < kJoystickAxes) return static_cast<AxisKind>(axis);
    if (axis < kJoystickAxes + kJoystickSliders) return AxisKind::kSlider;
    return AxisKind::kUnknown;
}

class SdlInputSource final : public InputSource {
public:
    bool Open() override {
        if (open_) return true;
        open_ = SDL_InitSubSystem(SDL_INIT_EVENTS) == 0;
        return open_;
    }

    void Close() override {
        if (!open_) return;
        for (int i = 0; i < kMaxOpenJoysticks; ++i) CloseJoystick(i);
        if (joystickSystem_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        joystickSystem_ = false;
        CloseKeyboard();
        SDL_QuitSubSystem(SDL_INIT_EVENTS);
        open_ = false;
    }

    bool OpenKeyboard(int& keyCount) override {
        if (!open_) return false;
        int count = 0;
        if (SDL_GetKeyboardState(&count) == nullptr) return false;
        keyCount = 0;
        for (int sc = 0; sc < count; ++sc) keyCount += DikFromScancode(static_cast<SDL_Scancode>(sc)) != 0 ? 1 : 0;
        keyboard_ = true;
        return true;
    }

    void CloseKeyboard() override { keyboard_ = false; }

    // SDL keeps the keyboard state current while the window's events are pumped.
    bool ReadKeyboard(uint8_t keys[kKeyCount]) override {
        std::memset(keys, 0, kKeyCount);
        if (!keyboard_) return false;
        int count = 0;
        const uint8_t* state = SDL_GetKeyboardState(&count);
        if (state == nullptr) return false;
        for (int sc = 0; sc < count; ++sc) {
            if (state[sc] == 0) continue;
            uint8_t dik = DikFromScancode(static_cast<SDL_Scancode>(sc));
            if (dik != 0) keys[dik] = 0x80;
        }
        return true;
    }

    int CountJoysticks() override {
        if (!open_) return -1;
        if (!joystickSystem_) joystickSystem_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
        if (!joystickSystem_) return -1;
        return SDL_NumJoysticks();
    }

    bool OpenJoystick(int index, JoystickInfo& info) override {
        if (!joystickSystem_ || index < 0 || index >= kMaxOpenJoysticks) return false;
        CloseJoystick(index);
        SDL_Joystick* joystick = SDL_JoystickOpen(index);
        if (joystick == nullptr) return false;
        joysticks_[static_cast<size_t>(index)] = joystick;
        guids_[static_cast<size_t>(index)] = SDL_JoystickGetGUID(joystick);
        const char* name = SDL_JoystickName(joystick);
        info.name = name != nullptr ? name : "";
        info.axisCount = SDL_JoystickNumAxes(joystick);
        info.buttonCount = SDL_JoystickNumButtons(joystick);
        info.povCount = SDL_JoystickNumHats(joystick);
        info.polled = false;
        info.forceFeedback = SDL_JoystickIsHaptic(joystick) == 1;
        return true;
    }

    // Every SDL axis reports the same signed 16-bit range.
    std::vector<JoystickAxis> JoystickAxes(int index) override {
        std::vector<JoystickAxis> axes;
        SDL_Joystick* joystick = Joystick(index);
        if (joystick == nullptr) return axes;
        for (int a = 0; a < SDL_JoystickNumAxes(joystick); ++a) {
            axes.push_back({KindOfAxis(a), true, kSdlAxisMin, kSdlAxisMax});
        }
        for (int h = 0; h < SDL_JoystickNumHats(joystick); ++h) axes.push_back({AxisKind::kPov, false, 0, 0});
        return axes;
    }

    void Update() override {
        if (joystickSystem_) SDL_JoystickUpdate();
    }

    bool ReadJoystick(int index, JoystickState& state) override {
        SDL_Joystick* joystick = Joystick(index);
        if (joystick == nullptr || !SDL_JoystickGetAttached(joystick)) return false;
        std::memset(&state, 0, sizeof(state));
        int axisCount = SDL_JoystickNumAxes(joystick);
        for (int a = 0; a < axisCount && a < kJoystickAxes + kJoystickSliders; ++a) {
            int32_t value = SDL_JoystickGetAxis(joystick, a);
            if (a < kJoystickAxes) state.axes[a] = value;
            else state.sliders[a - kJoystickAxes] = value;
        }
        for (uint32_t& pov : state.povs) pov = kPovCentred;
        int hatCount = SDL_JoystickNumHats(joystick);
        for (int h = 0; h < hatCount && h < kJoystickPovs; ++h) state.povs[h] = PovFromHat(SDL_JoystickGetHat(joystick, h));
        int buttonCount = SDL_JoystickNumButtons(joystick);
        for (int b = 0; b < buttonCount && b < kJoystickButtons; ++b) {
            state.buttons[b] = SDL_JoystickGetButton(joystick, b) != 0 ? 0x80 : 0;
        }
        return true;
    }

    // A pad unplugged and plugged in again comes back as a new SDL device: it is found by its
    // GUID among the attached devices that no other record holds. The record stays lost, and is
    // looked for again on every call, for as long as the pad is away.
    void ReacquireJoystick(int index) override {
        if (index < 0 || index >= kMaxOpenJoysticks) return;
        const size_t slot = static_cast<size_t>(index);
        SDL_Joystick* joystick = joysticks_[slot];
        if (joystick != nullptr) {
            if (SDL_JoystickGetAttached(joystick)) return;
            SDL_JoystickClose(joystick);
            joysticks_[slot] = nullptr;
            lost_[slot] = true;
        }
        if (!lost_[slot]) return;
        SDL_JoystickGUID guid = guids_[slot];
        for (int device = 0; device < SDL_NumJoysticks(); ++device) {
            SDL_JoystickGUID candidate = SDL_JoystickGetDeviceGUID(device);
            if (std::memcmp(&candidate, &guid, sizeof(guid)) != 0 || IsOpen(SDL_JoystickGetDeviceInstanceID(device))) continue;
            joysticks_[slot] = SDL_JoystickOpen(device);
            if (joysticks_[slot] != nullptr) {
                lost_[slot] = false;
                return;
            }
        }
    }

    void CloseJoystick(int index) override {
        SDL_Joystick* joystick = Joystick(index);
        if (joystick != nullptr) SDL_JoystickClose(joystick);
        if (index < 0 || index >= kMaxOpenJoysticks) return;
        joysticks_[static_cast<size_t>(index)] = nullptr;
        lost_[static_cast<size_t>(index)] = false;
    }

    MouseState ReadMouse() override {
        MouseState mouse;
        int x = 0, y = 0;
        uint32_t buttons = SDL_GetMouseState(&x, &y);
        mouse.left = (buttons & SDL_BUTTON_LMASK) != 0;
        mouse.right = (buttons & SDL_BUTTON_RMASK) != 0;
        mouse.middle = (buttons & SDL_BUTTON_MMASK) != 0;
        mouse.x = x;
        mouse.y = y;
        return mouse;
    }

private:
    SDL_Joystick* Joystick(int index) const {
        if (index < 0 || index >= kMaxOpenJoysticks) return nullptr;
        return joysticks_[static_cast<size_t>(index)];
    }

    bool IsOpen(SDL_JoystickID instance) const {
        for (SDL_Joystick* joystick : joysticks_) {
            if (joystick != nullptr && SDL_JoystickInstanceID(joystick) == instance) return true;
        }
        return false;
    }

    bool open_ = false;
    bool joystickSystem_ = false;
    bool keyboard_ = false;
    std::array<SDL_Joystick*, kMaxOpenJoysticks> joysticks_{};
    std::array<SDL_JoystickGUID, kMaxOpenJoysticks> guids_{};
    std::array<bool, kMaxOpenJoysticks> lost_{};  // unplugged while open: reacquired by its GUID
};

InputSource* g_source = nullptr;

}  // namespace

InputSource& GetInputSource() {
    static SdlInputSource sdl;
    return g_source != nullptr ? *g_source : sdl;
}

void SetInputSource(InputSource* source) { g_source = source; }

}  // namespace platform
