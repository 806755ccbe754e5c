// The main window, its window procedure, the frame step and the frame pacing.
#include <cstdio>

#include "framework/app/app_internal.h"
#include "framework/sound/cdda.h"
#include "framework/graphics/device.h"
#include "framework/core/ime.h"
#include "framework/input/input.h"
#include "framework/app/log.h"
#include "framework/sound/media.h"
#include "framework/core/micro_thread.h"
#include "framework/net/network.h"
#include "platform/os/os.h"
#include "platform/window/window.h"

namespace Zeth {

using internal::State;
namespace wm = platform::wm;

namespace internal {

// The window system needs no class registration; the class exists as long as the program runs.
bool RegisterWindowClass() { return true; }
void UnregisterWindowClass() {}

bool CreateMainWindow() {
    AppState& state = State();
    platform::WindowSystem& window = platform::GetWindowSystem();
    std::string failure;
    if (!window.Create(state.applicationName, state.screenWidth, state.screenHeight, state.windowed, failure)) {
        ZethLog::PrintError("ウィンドウを開けません [ %s ]", failure.c_str());
        ZethLog::PrintBreak();
        return false;
    }
    WindowProc(GetWindowHandle(), wm::kCreate, 0, 0);
    return true;
}

void ApplyWindowStyle() { platform::GetWindowSystem().SetFullscreen(!State().windowed); }

}  // namespace internal

namespace {

void CloseWindow(WindowHandle window) {
    platform::GetWindowSystem().ShowCursor(true);
    WindowProc(window, wm::kDestroy, 0, 0);
    platform::GetWindowSystem().Destroy();
}

}  // namespace

void ChangeScreenMode() {
    internal::AppState& state = State();
    if (state.windowed) {
        state.windowed = false;
        internal::ApplyWindowStyle();
        Zeth3D::ResetDevice(true);
    } else {
        state.windowed = true;
        Zeth3D::ResetDevice(true);
        internal::ApplyWindowStyle();
    }
}

void ReturnToWindow() {
    internal::AppState& state = State();
    if (state.windowed) return;
    state.windowed = true;
    internal::ApplyWindowStyle();
}

intptr_t WindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    internal::AppState& state = State();
    if (state.game.keyHook != nullptr) state.game.keyHook(message, wParam, lParam);
    switch (message) {
        case wm::kCreate:
            platform::GetWindowSystem().ShowCursor(false);
            break;
        case wm::kDestroy:
            platform::GetMessageQueue().PostQuit(0);
            break;
        case wm::kClose:
            CloseWindow(window);
            return 0;
        case wm::kActivateApp:
            state.active = wParam != 0;
            break;
        case wm::kChar:
            FepOnChar(static_cast<uint32_t>(wParam));
            break;
        case wm::kSysKeyDown:
            if (wParam == platform::vk::kReturn) {
                ChangeScreenMode();
            } else if (wParam == platform::vk::kF4) {
                state.quitRequested = true;
                platform::GetMessageQueue().Post({wm::kClose, 0, 0});
                ZethLog::PrintBreak();
                ZethLog::PrintBanner("アプリケーション終了");
                ZethLog::PrintBreak();
            }
            break;
        case wm::kSysCommand:
            if (wParam == platform::sc::kScreenSave || wParam == platform::sc::kMonitorPower) return 0;
            break;
        case wm::kLButtonDblClk:
            ZethInput::OnDoubleClick(0);
            break;
        case wm::kRButtonDblClk:
            ZethInput::OnDoubleClick(1);
            break;
        case wm::kMButtonDblClk:
            ZethInput::OnDoubleClick(2);
            break;
        case wm::kMouseWheel:
            ZethInput::OnWheel(static_cast<int16_t>((wParam >> 16) & 0xFFFF));
            break;
        case wm::kMciNotify:
            CDDANotify(wParam, lParam);
            break;
        case wm::kUser + 1:
            NetworkEvent(window, wParam, lParam);
            break;
        case wm::kUser + 2:
            MediaEvent();
            break;
        default:
            break;
    }
    return 0;
}

bool MessageLoop(bool alwaysRun) {
    internal::AppState& state = State();
    platform::MessageQueue& queue = platform::GetMessageQueue();
    platform::Clock& clock = platform::GetClock();
    for (;;) {
        // SIGINT and SIGTERM are a quit request, as Esc is.
        if (platform::TerminationRequested() && !state.quitRequested) Exit();
        NetworkPoll();  // socket notices join the queue as window messages
        platform::Message message;
        if (state.quitSeen || queue.Peek(message)) {
            if (state.quitSeen || message.message == wm::kQuit) {
                if (!state.quitSeen) state.lastMessage = message;
                state.quitSeen = true;
                state.active = true;
                while (!MicroThreadWaitAll()) clock.SleepMs(100);
                return false;
            }
            state.lastMessage = message;
            WindowProc(GetWindowHandle(), message.message, message.wParam, message.lParam);
        }
        if (alwaysRun || state.active) {
            if (GetWindowHandle() == nullptr) return false;
            SyncFrame();
            ZethInput::Refresh();
            ZethInput::UpdatePads();
            return true;
        }
        clock.SleepMs(50);
    }
}

void SyncFrame() {
    internal::AppState& state = State();
    platform::Clock& clock = platform::GetClock();
    uint64_t now = clock.NowMs();
    int64_t elapsed = static_cast<int64_t>(now - state.frameStart);
    if (state.frameRate == 0) {
        clock.SleepMs(0);
    } else {
        int64_t budget = static_cast<int64_t>(1000u / state.frameRate);
        int64_t remaining = budget - elapsed;
        if (remaining > 0) clock.SleepMs(static_cast<uint32_t>(remaining));
    }
    state.frameStart = clock.NowMs();
    ++state.framesThisSecond;

    if (now - state.secondStart >= 1000) {
        state.secondStart = now;
        FrameFigures& f = state.figures;
        f.fps = state.framesThisSecond;
        f.pps = state.polygonsThisSecond;
        f.ppf = f.fps != 0 ? f.pps / f.fps : 0;
        f.ppf3d = f.fps != 0 ? state.polygons3DThisSecond / f.fps : 0;
        state.framesThisSecond = 0;
        state.polygonsThisSecond = 0;
        state.polygons3DThisSecond = 0;
        if (state.drawTitleFigures) {
            char title[512];
            std::snprintf(title, sizeof(title), "%s FPS[%u] PPS[%u] PPF[%u] PPF3D[%u]", state.applicationName.c_str(),
                          f.fps, f.pps, f.ppf, f.ppf3d);
            platform::GetWindowSystem().SetTitle(title);
        }
    }
}

float ScaleX(float x) { return x * State().scaleX; }
float ScaleY(float y) { return y * State().scaleY; }
void AddPolygonCount(uint32_t polygons) { State().polygonsThisSecond += polygons; }
void AddPolygonCount3D(uint32_t polygons) { State().polygons3DThisSecond += polygons; }
FrameFigures GetFrameFigures() { return State().figures; }

}  // namespace Zeth
