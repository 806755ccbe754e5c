#include "game/world/callbacks.h"

#include "framework/device.h"
#include "framework/file_system.h"
#include "framework/zeth.h"

namespace {

constexpr uint32_t kKeyDown = 256;
constexpr uintptr_t kKeyEscape = 27;
constexpr uintptr_t kKeyF1 = 112;
constexpr uint32_t kClearTarget = 1;
constexpr uint32_t kBackground = 0xFF202020;

}  // namespace

bool GameInit() {
    Zeth::SetLogFile("system_log", "html");
    Zeth::SetApplicationName("TANZLOR DIRAV v1.02");
    Zeth::SetScreenInfo(640, 480, true);
    Zeth::SetFrameRate(60);
    Zeth::SetDrawTitleInfo();
    Zeth::SetUseFlags(Zeth::kUseInput | Zeth::kUseSound);
    ZethFile::SetRootPath(0, "data", "data.bin");
    return true;
}

int32_t GameMain(int, char**) {
    Zeth3D::EnableFullColorMode();
    if (!Zeth::Start()) return 0;
    while (Zeth::MessageLoop(false)) {
        // Until the world draws, each frame is the cleared screen, presented through the device.
        if (Zeth3D::BeginScene()) {
            Zeth3D::ResetRenderTarget();
            Zeth3D::Clear(kClearTarget, kBackground, 1.0f, 0);
            Zeth3D::EndScene();
        }
        Zeth3D::Refresh(nullptr);
    }
    return 0;
}

bool GameKeyHook(uint32_t message, uintptr_t wParam, intptr_t) {
    if (message != kKeyDown) return true;
    if (wParam == kKeyEscape) Zeth::Exit();
    else if (wParam == kKeyF1) Zeth::ChangeScreenMode();
    return true;
}
