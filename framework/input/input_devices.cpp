// The input service's devices: opening the joysticks, and the per-frame read of joysticks,
// keyboard and mouse.
#include <algorithm>
#include <cstring>

#include "framework/input/input.h"
#include "framework/input/input_internal.h"
#include "framework/app/log.h"

namespace ZethInput {

using internal::State;

namespace {

constexpr int kMaxJoysticks = 16;
constexpr int32_t kDefaultHalfRange = 65535;
constexpr int32_t kFullScale = 65535;
constexpr int32_t kDeadZone = 3276;  // 5 % of full scale

const char* AxisKindName(platform::AxisKind kind) {
    static const char* const kNames[] = {"Ｘ軸", "Ｙ軸", "Ｚ軸", "Ｘ軸を中心とする回転", "Ｙ軸を中心とする回転",
                                         "Ｚ軸を中心とする回転", "スライダ軸", "視点インジケータ", "確定できない"};
    return kNames[static_cast<int>(kind)];
}

// Takes the centre and half range of each position axis from the device. A position axis or
// slider whose range cannot be read makes the joystick unusable: it is closed.
void ReadAxisRanges(int index, ZethInputPad& pad, platform::InputSource& source) {
    for (const platform::JoystickAxis& axis : source.JoystickAxes(index)) {
        ZethLog::Print("%s", AxisKindName(axis.kind));
        ZethLog::PrintBreak();
        if (axis.kind == platform::AxisKind::kPov || axis.kind == platform::AxisKind::kUnknown) continue;
        if (!axis.rangeKnown) {
            if (pad.device) source.CloseJoystick(index);
            pad.device = false;
            ZethLog::PrintError("軸データ取得に失敗");
            ZethLog::PrintBreak();
            continue;
        }
        if (axis.kind == platform::AxisKind::kSlider) continue;
        int a = static_cast<int>(axis.kind);
        int32_t centre = static_cast<int32_t>((int64_t{axis.min} + axis.max) / 2);
        pad.axisCentre[a] = centre;
        pad.axisHalfRange[a] = static_cast<int32_t>(std::clamp<int64_t>(int64_t{axis.max} - centre, INT32_MIN, INT32_MAX));
        ZethLog::Print("( %d ～ %d )", axis.min, axis.max);
        ZethLog::PrintBreak();
    }
}

void SetUpJoystick(int index, ZethInputPad& pad, const platform::JoystickInfo& info, platform::InputSource& source) {
    ZethLog::Print("デバイス番号　[ %d ]", index);
    ZethLog::PrintBreak();
    ZethLog::Print("%s", info.name.c_str());
    ZethLog::PrintBreak();
    pad.polled = info.polled ? 1 : 0;
    pad.forceFeedback = info.forceFeedback ? 1 : 0;
    pad.buttonCount = std::clamp(info.buttonCount, 0, platform::kJoystickButtons);
    ZethLog::Print("%d軸 %dボタン %dPov", info.axisCount, info.buttonCount, info.povCount);
    ZethLog::PrintBreak();
    ZethLog::Print("Polling　[ %s ]", pad.polled ? "ON" : "OFF");
    ZethLog::PrintBreak();
    ZethLog::Print("ForceFeedback　[ %s ]", pad.forceFeedback ? "ON" : "OFF");
    ZethLog::PrintBreak();
    for (int a = 0; a < platform::kJoystickAxes; ++a) {
        pad.axisCentre[a] = 0;
        pad.axisHalfRange[a] = kDefaultHalfRange;
    }
    ReadAxisRanges(index, pad, source);
}

// A lost joystick reads as centred with nothing pressed.
void ClearJoystickState(ZethInputPad& pad) {
    std::memset(&pad.joystick, 0, sizeof(pad.joystick));
    for (uint32_t& pov : pad.joystick.povs) pov = platform::kPovCentred;
}

// Scales an axis to +-65535 of its half range, with a 5 % dead zone. The product needs 64 bits,
// and a device that reports an empty range (min = max) has no deflection at all.
int32_t NormaliseAxis(int32_t raw, int32_t centre, int32_t halfRange) {
    if (halfRange <= 0) return 0;
    int64_t value = (int64_t{raw} - centre) * kFullScale / halfRange;
    if (value > -kDeadZone && value < kDeadZone) return 0;
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

void NormaliseState(ZethInputPad& pad, const platform::JoystickState& raw) {
    pad.joystick = raw;
    for (int a = 0; a < platform::kJoystickAxes; ++a) {
        pad.joystick.axes[a] = NormaliseAxis(raw.axes[a], pad.axisCentre[a], pad.axisHalfRange[a]);
    }
    for (uint32_t& pov : pad.joystick.povs) pov = (pov & 0xFFFFu) == 0xFFFFu ? platform::kPovCentred : pov / 100;
    for (uint8_t& button : pad.joystick.buttons) button = (button & 0x80) != 0 ? 1 : 0;
}

void ReadJoysticks(internal::Module& state, platform::InputSource& source) {
    source.Update();
    for (int j = 0; j < state.joystickCount; ++j) {
        ZethInputPad& pad = state.pads[j];
        platform::JoystickState raw;
        if (pad.device && source.ReadJoystick(j, raw)) {
            NormaliseState(pad, raw);
            continue;
        }
        // Only the failing joystick's record is cleared; the others keep this frame's reading.
        if (pad.device) source.ReacquireJoystick(j);
        ClearJoystickState(pad);
    }
}

void ReadKeyboard(internal::Module& state, platform::InputSource& source) {
    if (!state.keyboard || !source.ReadKeyboard(state.keys)) {
        std::memset(state.keys, 0, sizeof(state.keys));
        return;
    }
    for (uint8_t& key : state.keys) key = (key & 0x80) != 0 ? 1 : 0;
}

void ReadMouse(internal::Module& state, platform::InputSource& source) {
    platform::MouseState now = source.ReadMouse();
    const bool down[3] = {now.left, now.right, now.middle};
    MouseState& mouse = state.mouse;
    for (int b = 0; b < 3; ++b) {
        bool before = state.mouseDown[b];
        mouse.buttons[b] = down[b] ? (before ? 3 : 2) : (before ? 1 : 0);
        state.mouseDown[b] = down[b];
        mouse.doubleClicked[b] = state.pendingDoubleClick[b];
        state.pendingDoubleClick[b] = false;
    }
    mouse.moveX = state.mouseSeen ? now.x - mouse.x : 0;
    mouse.moveY = state.mouseSeen ? now.y - mouse.y : 0;
    mouse.x = now.x;
    mouse.y = now.y;
    state.mouseSeen = true;
}

}  // namespace

namespace internal {

void SetUpJoysticks() {
    Module& state = State();
    platform::InputSource& source = platform::GetInputSource();
    ZethLog::PrintBold("ジョイスティックデバイスの初期化");
    ZethLog::PrintBreak();
    int attached = source.CountJoysticks();
    if (attached < 0) {
        ZethLog::PrintError("エラー : ジョイスティックデバイスの列挙に失敗");
        ZethLog::PrintBreak();
        return;
    }
    state.joystickMax = std::min(attached, kMaxJoysticks);
    ZethLog::Print("使用可能な最大ジョイスティック数 [ %d ]", state.joystickMax);
    ZethLog::PrintBreak();
    platform::JoystickInfo infos[kMaxJoysticks];
    state.joystickCount = 0;
    while (state.joystickCount < state.joystickMax) {
        int index = state.joystickCount;
        if (!source.OpenJoystick(index, infos[index])) {
            ZethLog::PrintError("エラー : デバイスの生成に失敗");
            ZethLog::PrintBreak();
            break;
        }
        state.pads[index].device = true;
        ++state.joystickCount;
    }
    ZethLog::Print("ジョイスティックデバイスの列挙 [ %d ]", state.joystickCount);
    ZethLog::PrintBreak();
    for (int j = 0; j < state.joystickCount; ++j) SetUpJoystick(j, state.pads[j], infos[j], source);
}

void ReleaseJoysticks() {
    Module& state = State();
    platform::InputSource& source = platform::GetInputSource();
    for (int j = 0; j < state.joystickCount; ++j) {
        if (!state.pads[j].device) continue;
        source.CloseJoystick(j);
        state.pads[j].device = false;
        ZethLog::Print("ジョイスティック用デバイスの解放 [ %d ]", j);
        ZethLog::PrintBreak();
    }
    state.joystickCount = 0;
}

}  // namespace internal

void Refresh() {
    internal::Module& state = State();
    if (state.pads == nullptr) return;
    platform::InputSource& source = platform::GetInputSource();
    ReadJoysticks(state, source);
    ReadKeyboard(state, source);
    ReadMouse(state, source);
}

}  // namespace ZethInput
