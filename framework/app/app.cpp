// Start-up and shutdown of the framework, in the fixed order every service relies on.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "framework/app/app_internal.h"
#include "framework/sound/cdda.h"
#include "framework/graphics/device.h"
#include "framework/graphics/extension3d.h"
#include "framework/files/file_system.h"
#include "framework/core/ime.h"
#include "framework/input/input.h"
#include "framework/core/lock.h"
#include "framework/app/log.h"
#include "framework/graphics/managers.h"
#include "framework/sound/media.h"
#include "framework/core/micro_thread.h"
#include "framework/sound/music.h"
#include "framework/net/network.h"
#include "framework/core/random.h"
#include "framework/sound/sound.h"
#include "platform/os/os.h"
#include "platform/window/window.h"

namespace Zeth {
namespace internal {

AppState& State() {
    static AppState state;
    return state;
}

}  // namespace internal

using internal::State;

namespace {

constexpr const char* kBanner = "Zeth for \"DirectX 9.0c\" - Phase 35.53 : 2007.06.19";
constexpr uint32_t kStopIcon = 16;

platform::InstanceLock g_instanceLock;
bool g_deleteOldLog = false;

void ErrorBox(const char* text) { MessageBox(kStopIcon, "ERROR", "%s", text); }

// The end shared by every way out of Main once the game has configured the framework. A window
// still open goes here, with the ordered shutdown, never from an exit handler.
int32_t CommonEnding() {
    // A failure that asked for the end gives its status, whatever message then ended the loop.
    int32_t exitCode = State().exitCode != 0 ? State().exitCode : static_cast<int32_t>(State().lastMessage.wParam);
    platform::GetWindowSystem().Destroy();
    Zeth3D::Finalize();
    ZethFile::Finalize();
    ZethLog::Close();
    g_instanceLock.Release();
    return exitCode;
}

// The end of a start that failed: its message, then the common ending with the failure status,
// so that whoever started the program learns that it did not run.
int32_t FailedEnding(const char* text) {
    ErrorBox(text);
    State().exitCode = EXIT_FAILURE;
    return CommonEnding();
}

void LogExitBanner() {
    ZethLog::PrintBreak();
    ZethLog::PrintBanner("アプリケーション終了");
    ZethLog::PrintBreak();
}

// The display is gone and the process ends at once: the log still gets its reason, its end
// banner and its closing tags.
void LogDisplayLost() {
    if (!ZethLog::IsOpen()) return;
    ZethLog::PrintBreak();
    ZethLog::PrintError("ディスプレイとの接続が切れました");
    if (!State().quitRequested) LogExitBanner();
    ZethLog::Close();
}

// Opens the log beside the executable; an old page of that name is replaced. A log that
// cannot be opened is no error: the program runs without one.
void OpenLog() {
    if (State().logFileName.empty()) return;
    SetCurrentDirectoryToExe();
    if (g_deleteOldLog) platform::DeleteFile(State().logFileName);
    g_deleteOldLog = false;
    if (ZethLog::Open(State().logFileName.c_str())) {
        ZethLog::WriteHeader(State().applicationName.c_str());
        if (ZethLog::ConsoleEcho()) ConsoleCreate();
    }
}

}  // namespace

int32_t Main(const GameCallbacks& game, void* instance, int argc, char** argv) {
    internal::AppState& state = State();
    std::string folder = state.executableFolder;
    state = internal::AppState{};
    state.executableFolder = folder;
    state.game = game;
    state.applicationName = kBanner;
    state.instance = instance;
    state.screenWidth = 640;
    state.screenHeight = 480;
    state.scaleX = state.scaleY = 1.0f;
    platform::GetMessageQueue().Clear();
    platform::InstallSignalHandlers();
    platform::SetDisplayLostHandler(LogDisplayLost);

    if (state.executableFolder.empty()) {
        state.executableFolder = platform::ExecutableFolder();
        SetCurrentDirectoryToExe();
    }
    if (!ZethFile::Initialize()) return FailedEnding("ファイルシステムの初期化に失敗");
    if (game.init == nullptr || !game.init()) {
        ErrorBox("ユーザー初期化に失敗");
        return 0;
    }
    // A second copy is refused before the log is touched, so the running copy keeps its page:
    // one that runs in this session, or one that runs from this folder in another (its open log
    // is locked). A lock that cannot be had at all says nothing about other copies: the game runs.
    std::string noLock;
    SetCurrentDirectoryToExe();
    const bool runningHere = !state.logFileName.empty() && platform::LockedElsewhere(state.logFileName);
    if (runningHere ||
        g_instanceLock.TryAcquire(state.applicationName, &noLock) == platform::InstanceLock::Outcome::kHeldElsewhere) {
        return FailedEnding("２重起動は許可されてません");
    }
    OpenLog();
    if (!noLock.empty()) {
        ZethLog::PrintError("２重起動確認用のロックファイルを用意できないので確認せずに起動します [ %s ]", noLock.c_str());
        ZethLog::PrintBreak();
    }
    if (!Zeth3D::Initialize()) return FailedEnding("３Ｄシステムの初期化に失敗");
    if (!Initialize()) return FailedEnding("DirectXの初期化に失敗");
    if (game.main != nullptr) game.main(argc, argv);
    Finalize();
    ZethLog::PrintBreak();
    internal::UnregisterWindowClass();
    return CommonEnding();
}

bool Initialize() {
    ZethLog::PrintTitle("Library Version");
    ZethLog::PrintBreak();
    ZethLog::Print("　　　[ %s ]", kBanner);
    ZethLog::PrintBreak();
    ZethLog::PrintBreak();

    if (!internal::RegisterWindowClass() || !internal::CreateMainWindow()) {
        ErrorBox("ウィンドウ生成に失敗");
        return false;
    }
    struct Service {
        bool (*start)();
        uint32_t requiredFlag;  // 0 = always started
        const char* failure;
    };
    const Service services[] = {
        {FepInitialize, 0, "ＦＥＰクラス初期化の初期化に失敗\nメモリの割り当て量が少ないかもしれません"},
        {Hook3D<&Extension3D::initializeAnimations>, 0, "アニメーションクラスの初期化に失敗\nメモリの割り当て量が少ないかもしれません"},
        {NetworkInitialize, 0, "ネットワーククラスの初期化に失敗"},
        {ZethMicroThread::Initialize, 0, "マイクロスレッドの初期化に失敗"},
        {ZethFiber::Initialize, kUseFibers, "ファイバーの初期化に失敗"},
    };
    for (const Service& service : services) {
        if (service.requiredFlag != 0 && (State().useFlags & service.requiredFlag) == 0) continue;
        if (!service.start()) {
            ErrorBox(service.failure);
            return false;
        }
    }
    return Hook3D<&Extension3D::initializePools>();
}

namespace {

// Zeth::Start's steps, in order; false at the first that fails.
bool StartSteps() {
    internal::AppState& state = State();
    state.started = true;
    if (!Zeth3D::Start(GetWindowHandle(), state.windowed)) {
        ErrorBox("３Ｄシステムの起動に失敗");
        return false;
    }
    if (!CreateManagers()) return false;
    struct OptionalService {
        uint32_t flag;
        bool (*start)();
    };
    const OptionalService optional[] = {
        {kUseMedia, ZethMedia::Initialize},
        {kUseSound, ZethSound::Initialize},
        {kUseMusic, ZethMusic::Initialize},
        {kUseInput, ZethInput::Initialize},
    };
    for (const OptionalService& service : optional) {
        if ((state.useFlags & service.flag) != 0 && !service.start()) return false;
    }
    float width = static_cast<float>(state.screenWidth);
    float height = static_cast<float>(state.screenHeight);
    Zeth3D::SetScaling2D(false, width * 0.5f, height * 0.5f, 1.0f);
    Zeth3D::SetPerspective2D(false, width * 0.5f, height * 0.5f, 100.0f);

    ZethLog::PrintBreak();
    ZethLog::PrintBanner("アプリケーション開始");
    ZethLog::PrintBreak();
    MicroThreadStartMain();

    uint64_t now = platform::GetClock().NowMs();
    ZethRandom::Seed(static_cast<uint32_t>(std::time(nullptr)) * static_cast<uint32_t>(now));
    state.frameStart = now;
    state.secondStart = now;
    return true;
}

}  // namespace

bool Start() {
    if (StartSteps()) return true;
    // The game returns at once and the program ends: whoever started it learns that it did not run.
    State().exitCode = EXIT_FAILURE;
    return false;
}

void Finalize() {
    internal::AppState& state = State();
    if (!state.started) return;
    state.started = false;
    ZethMicroThread::Exit();
    ZethMicroThread::ReleaseTable();
    if (state.useFlags & kUseFibers) ZethFiber::Finalize();
    if (state.useFlags & kUseCdAudio) CDDAClose();
    if (state.useFlags & kUseInput) ZethInput::Finalize();
    if (state.useFlags & kUseMusic) ZethMusic::Finalize();
    if (state.useFlags & kUseSound) ZethSound::Finalize();
    if (state.useFlags & kUseMedia) ZethMedia::Finalize();
    ReleaseManagers();
    NetworkFinalize();
    FepFinalize();
    Hook3D<&Extension3D::finalizeAnimations>();
    FepReleaseWindow();
    ConsoleRelease();
}

void Exit(int32_t exitCode) {
    State().quitRequested = true;
    if (exitCode != 0) State().exitCode = exitCode;
    platform::GetMessageQueue().Post({platform::wm::kClose, 0, 0});
    LogExitBanner();
}

void MessageBox(uint32_t type, const char* caption, const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    bool device = State().started;
    if (device) Zeth3D::SetDialogBoxMode(true);
    platform::GetMessageBoxSink().Show(type, caption, text);
    if (device) Zeth3D::SetDialogBoxMode(false);
}

void SetLogFile(const char* baseName, const char* extension) {
    State().logFileName = extension != nullptr ? std::string(baseName) + "." + extension : std::string(baseName);
    // The old page is deleted when the log is opened, after the single-instance check, so a
    // refused second copy never destroys the running copy's log.
    g_deleteOldLog = true;
}

void SetApplicationName(const char* name) { State().applicationName = name; }

void SetScreenInfo(int32_t width, int32_t height, bool windowed) {
    State().screenWidth = width;
    State().screenHeight = height;
    State().windowed = windowed;
    State().scaleX = State().scaleY = 1.0f;
}

void SetFrameRate(uint32_t framesPerSecond) { State().frameRate = framesPerSecond; }
void SetDrawTitleInfo() { State().drawTitleFigures = true; }
void SetUseFlags(uint32_t flags) { State().useFlags = flags; }
uint32_t GetFrameRate() { return State().frameRate; }
uint32_t GetUseFlags() { return State().useFlags; }
void* GetInstanceHandle() { return State().instance; }
WindowHandle GetWindowHandle() { return platform::GetWindowSystem().Exists() ? &State() : nullptr; }

void GetScreenInfo(int32_t* width, int32_t* height, bool* windowed) {
    if (width != nullptr) *width = State().screenWidth;
    if (height != nullptr) *height = State().screenHeight;
    if (windowed != nullptr) *windowed = State().windowed;
}

const char* GetApplicationName() { return State().applicationName.c_str(); }
const char* GetExecutableFolder() { return State().executableFolder.c_str(); }
bool IsActive() { return State().active; }
bool IsQuitRequested() { return State().quitRequested; }

void SetCurrentDirectoryToExe() {
    if (State().executableFolder.empty()) State().executableFolder = platform::ExecutableFolder();
    platform::SetCurrentFolder(State().executableFolder);
}

}  // namespace Zeth
