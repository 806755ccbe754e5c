// The keyboard, joysticks and mouse as the framework's input service reads them: a 256-entry
// key array indexed by DIK code, joystick states in one fixed 136-byte layout, and the mouse.
// The SDL source reads the real devices; tests install a fake.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

constexpr int kKeyCount = 256;        // one byte per DIK code
constexpr int kJoystickAxes = 6;      // X, Y, Z, Rx, Ry, Rz
constexpr int kJoystickSliders = 2;
constexpr int kJoystickPovs = 4;
constexpr int kJoystickButtons = 16;
constexpr uint32_t kPovCentred = 0xFFFFFFFFu;

// One joystick's state, field for field the layout the framework keeps in its pad records.
// Axes are raw device values; a pressed button has its high bit set; a hat is hundredths of a
// degree clockwise from up, or kPovCentred.
struct JoystickState {
    int32_t axes[kJoystickAxes];          // offset 0: position X, Y, Z, Rx, Ry, Rz
    int32_t velocity[kJoystickAxes];      // offset 24
    int32_t acceleration[kJoystickAxes];  // offset 48
    int32_t force[kJoystickAxes];         // offset 72
    int32_t sliders[kJoystickSliders];    // offset 96
    uint32_t povs[kJoystickPovs];         // offset 104
    uint8_t buttons[kJoystickButtons];    // offset 120
};
static_assert(sizeof(JoystickState) == 136, "the joystick state layout is fixed");

// What kind of control an axis object of a joystick is.
enum class AxisKind { kX, kY, kZ, kRx, kRy, kRz, kSlider, kPov, kUnknown };

struct JoystickAxis {
    AxisKind kind = AxisKind::kUnknown;
    bool rangeKnown = false;  // false: the device would not tell its range
    int32_t min = 0;
    int32_t max = 0;
};

struct JoystickInfo {
    std::string name;
    int axisCount = 0;
    int buttonCount = 0;  // as the device reports it; may exceed kJoystickButtons
    int povCount = 0;
    bool polled = false;
    bool forceFeedback = false;
};

struct MouseState {
    bool left = false;
    bool right = false;
    bool middle = false;
    int32_t x = 0;  // in the window's client coordinates
    int32_t y = 0;
};

class InputSource {
public:
    virtual ~InputSource() = default;
    // Starts the input system; false when there is none at all.
    virtual bool Open() = 0;
    virtual void Close() = 0;
    // Opens the keyboard; keyCount receives the number of keys it has. False when unavailable.
    virtual bool OpenKeyboard(int& keyCount) = 0;
    virtual void CloseKeyboard() = 0;
    // Fills keys with 0x80 for each DIK code that is down, 0 otherwise; false when the read fails.
    virtual bool ReadKeyboard(uint8_t keys[kKeyCount]) = 0;
    // The number of joysticks attached; -1 when they cannot be enumerated.
    virtual int CountJoysticks() = 0;
    // Opens the joystick with that enumeration index; the index then names it in later calls.
    virtual bool OpenJoystick(int index, JoystickInfo& info) = 0;
    virtual std::vector<JoystickAxis> JoystickAxes(int index) = 0;
    // Brings every open joystick's state up to date; called once before the reads of a frame.
    virtual void Update() = 0;
    // Reads an open joystick; false when the device is lost or the read fails.
    virtual bool ReadJoystick(int index, JoystickState& state) = 0;
    // Tries to get a lost joystick back (the same device, when it is attached again).
    virtual void ReacquireJoystick(int index) = 0;
    virtual void CloseJoystick(int index) = 0;
    virtual MouseState ReadMouse() = 0;
};

InputSource& GetInputSource();           // the SDL source unless replaced
void SetInputSource(InputSource* source);  // nullptr restores the SDL source

}  // namespace platform
