// The input service's start, release, configuration and queries.
#include "framework/input/input.h"

#include <iterator>

#include "framework/input/input_internal.h"
#include "framework/core/lock.h"
#include "framework/app/log.h"

namespace ZethInput {

using internal::State;

namespace internal {

Module& State() {
    static Module module;
    return module;
}

}  // namespace internal

namespace {

void OpenKeyboard(internal::Module& state, platform::InputSource& source) {
    ZethLog::PrintBold("キーボードデバイスの初期化");
    ZethLog::PrintBreak();
    int keyCount = 0;
    if (!source.OpenKeyboard(keyCount)) {
        ZethLog::PrintError("エラー : キーボードデバイスの生成に失敗");
        ZethLog::PrintBreak();
        return;
    }
    for (const char* step : {"キーボードデバイスの生成", "データフォーマットを設定", "協調レベルを設定", "プロパティを設定"}) {
        ZethLog::Print("%s", step);
        ZethLog::PrintBreak();
    }
    ZethLog::Print("%dキー キーボード", keyCount);
    ZethLog::PrintBreak();
    state.keyboard = true;
}

ZethInputPad* Pad(int pad) {
    internal::Module& state = State();
    if (state.pads == nullptr || pad < 0 || pad >= kMaxPads) return nullptr;
    return &state.pads[pad];
}

}  // namespace

bool Initialize() {
    internal::Module& state = State();
    ZethLog::PrintBanner("ZethInputクラスの初期化");
    ZethLog::PrintBreak();
    state.pads = static_cast<ZethInputPad*>(Zeth::MemoryAlloc(sizeof(ZethInputPad) * kMaxPads));
    if (state.pads == nullptr) {
        ZethLog::PrintError("エラー : ジョイスティック用メモリ確保に失敗");
        ZethLog::PrintBreak();
        return false;
    }
    platform::InputSource& source = platform::GetInputSource();
    if (!source.Open()) {
        ZethLog::PrintError("エラー : DirectInputオブジェクトの生成に失敗");
        ZethLog::PrintBreak();
        ZethLog::PrintError("[ DirectX8.1以降をインストールしてください ]");
        ZethLog::PrintBreak();
        Zeth::MemoryFree(state.pads);
        state.pads = nullptr;
        return false;
    }
    state.sourceOpen = true;
    ZethLog::Print("DirectInputオブジェクトを生成");
    ZethLog::PrintBreak();
    ZethLog::Print("DirectInputオブジェクトの初期化に成功");
    ZethLog::PrintBreak();
    OpenKeyboard(state, source);
    internal::SetUpJoysticks();
    return true;
}

void Finalize() {
    internal::Module& state = State();
    if (state.pads == nullptr) return;
    ZethLog::PrintBanner("ZethInputクラスの解放");
    ZethLog::PrintBreak();
    platform::InputSource& source = platform::GetInputSource();
    internal::ReleaseJoysticks();
    if (state.keyboard) {
        source.CloseKeyboard();
        state.keyboard = false;
        ZethLog::Print("キーボード用デバイスの解放");
        ZethLog::PrintBreak();
    }
    if (state.sourceOpen) {
        source.Close();
        state.sourceOpen = false;
        ZethLog::Print("DirectInputオブジェクトの解放");
        ZethLog::PrintBreak();
    }
    Zeth::MemoryFree(state.pads);
    state.pads = nullptr;
}

void SetConfig(int padCount, bool keyboardToPad, int repeatDelay, int repeatInterval) {
    internal::Module& state = State();
    state.padCount = padCount;
    state.keyboardToPad = keyboardToPad;
    state.repeatDelay = repeatDelay;
    state.repeatInterval = repeatInterval;
}

void SetJoystickButton(int pad, int padButton, int joystickButton) {
    ZethInputPad* record = Pad(pad);
    if (record != nullptr && padButton >= 0 && padButton < kPadButtons) record->joystickButtons[padButton] = joystickButton;
}

void SetKeyboardKey(int pad, int padButton, int dikCode) {
    ZethInputPad* record = Pad(pad);
    if (record != nullptr && padButton >= 0 && padButton < kPadButtons) record->keys[padButton] = dikCode;
}

bool GetPadState(int pad, int kind, int padButton) {
    const ZethInputPad* record = Pad(pad);
    if (record == nullptr || padButton < 0 || padButton >= kPadButtons) return false;
    const uint32_t masks[] = {record->pressed, record->released, record->held,
                              record->repeat,  record->current,  record->previous};
    if (kind < 0 || kind >= static_cast<int>(std::size(masks))) return false;
    return (masks[kind] & (1u << padButton)) != 0;
}

void OnDoubleClick(int button) {
    if (button >= 0 && button < 3) State().pendingDoubleClick[button] = true;
}

void OnWheel(int delta) { State().mouse.wheel += delta; }

const MouseState& GetMouse() { return State().mouse; }

}  // namespace ZethInput
