// The framework's application core: the main routine, the start and shutdown of every service,
// the settings the game's init callback makes, the frame step and the window procedure.
#pragma once

#include <cstdint>

namespace Zeth {

// Optional services, chosen by the game through SetUseFlags.
enum UseFlag : uint32_t {
    kUseInput = 1,
    kUseSound = 2,
    kUseMusic = 4,
    kUseMedia = 8,
    kUseCdAudio = 16,
    kUseFibers = 32,
};

// The three callbacks of the game, bound by the entry point.
struct GameCallbacks {
    bool (*init)() = nullptr;                                     // configures the framework
    int32_t (*main)(int argc, char** argv) = nullptr;             // runs the game
    bool (*keyHook)(uint32_t message, uintptr_t wParam, intptr_t lParam) = nullptr;  // sees every window message first
};

using WindowHandle = void*;  // non-null while the main window exists

// Runs the program; its exit status: 1 when the start failed, else the status the end asked for.
int32_t Main(const GameCallbacks& game, void* instance, int argc, char** argv);
bool Initialize();  // window and always-present services; called by Main
bool Start();       // device, managers, optional services, random seed; called by the game; false fails the run
void Finalize();    // releases what Start and Initialize made; called by Main
void Exit(int32_t exitCode = 0);  // requests the end of the application; a failure gives its status

// Formats the text (printf rules) and shows it in a message box with the caption.
void MessageBox(uint32_t type, const char* caption, const char* format, ...) __attribute__((format(printf, 3, 4)));

// Settings for the game's init callback.
void SetLogFile(const char* baseName, const char* extension);
void SetApplicationName(const char* name);
void SetScreenInfo(int32_t width, int32_t height, bool windowed);
void SetFrameRate(uint32_t framesPerSecond);
void SetDrawTitleInfo();
void SetUseFlags(uint32_t flags);

uint32_t GetFrameRate();
uint32_t GetUseFlags();
void* GetInstanceHandle();
WindowHandle GetWindowHandle();
void GetScreenInfo(int32_t* width, int32_t* height, bool* windowed);
const char* GetApplicationName();
const char* GetExecutableFolder();
bool IsActive();
bool IsQuitRequested();
void SetCurrentDirectoryToExe();

// The frame step: true = run one game frame; false = the program is quitting.
bool MessageLoop(bool alwaysRun);
void SyncFrame();  // frame pacing and the figures of the current second
float ScaleX(float x);
float ScaleY(float y);
void AddPolygonCount(uint32_t polygons);
void AddPolygonCount3D(uint32_t polygons);
void ChangeScreenMode();
void ReturnToWindow();  // leaves full screen for the window (nothing when already windowed)
intptr_t WindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Figures of the last whole second, as shown in the title.
struct FrameFigures {
    uint32_t fps = 0, pps = 0, ppf = 0, ppf3d = 0;
};
FrameFigures GetFrameFigures();

}  // namespace Zeth
