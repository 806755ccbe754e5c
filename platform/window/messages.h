// The window-message numbers, system-command codes and virtual-key codes that the framework's
// window procedure and the game's key hook understand. The values are the ones the framework
// was written against; the platform layer translates its own events into them.
#pragma once

#include <cstdint>

namespace platform {

struct Message {
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

namespace wm {
constexpr uint32_t kCreate = 0x0001;
constexpr uint32_t kDestroy = 0x0002;
constexpr uint32_t kClose = 0x0010;
constexpr uint32_t kQuit = 0x0012;
constexpr uint32_t kActivateApp = 0x001C;
constexpr uint32_t kKeyDown = 0x0100;
constexpr uint32_t kKeyUp = 0x0101;
constexpr uint32_t kChar = 0x0102;
constexpr uint32_t kSysKeyDown = 0x0104;
constexpr uint32_t kSysKeyUp = 0x0105;
constexpr uint32_t kSysCommand = 0x0112;
constexpr uint32_t kLButtonDblClk = 0x0203;
constexpr uint32_t kRButtonDblClk = 0x0206;
constexpr uint32_t kMButtonDblClk = 0x0209;
constexpr uint32_t kMouseWheel = 0x020A;
constexpr uint32_t kMciNotify = 0x03B9;
constexpr uint32_t kUser = 0x0400;
}  // namespace wm

namespace sc {
constexpr uintptr_t kScreenSave = 0xF140;
constexpr uintptr_t kMonitorPower = 0xF170;
}  // namespace sc

namespace vk {
constexpr uint32_t kBack = 0x08;
constexpr uint32_t kTab = 0x09;
constexpr uint32_t kReturn = 0x0D;
constexpr uint32_t kShift = 0x10;
constexpr uint32_t kControl = 0x11;
constexpr uint32_t kMenu = 0x12;  // Alt
constexpr uint32_t kPause = 0x13;
constexpr uint32_t kEscape = 0x1B;
constexpr uint32_t kSpace = 0x20;
constexpr uint32_t kPrior = 0x21;
constexpr uint32_t kNext = 0x22;
constexpr uint32_t kEnd = 0x23;
constexpr uint32_t kHome = 0x24;
constexpr uint32_t kLeft = 0x25;
constexpr uint32_t kUp = 0x26;
constexpr uint32_t kRight = 0x27;
constexpr uint32_t kDown = 0x28;
constexpr uint32_t kInsert = 0x2D;
constexpr uint32_t kDelete = 0x2E;
constexpr uint32_t k0 = 0x30;  // '0' to '9' are 0x30 to 0x39
constexpr uint32_t kA = 0x41;  // 'A' to 'Z' are 0x41 to 0x5A
constexpr uint32_t kNumpad0 = 0x60;
constexpr uint32_t kF1 = 0x70;  // F1 to F12 are 0x70 to 0x7B
constexpr uint32_t kF4 = 0x73;
}  // namespace vk

}  // namespace platform
