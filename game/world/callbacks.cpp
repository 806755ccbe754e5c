#include "game/world/callbacks.h"

#include <cstdlib>

#include "framework/graphics/device.h"
#include "framework/files/file_system.h"
#include "framework/graphics/texture.h"
#include "framework/app/zeth.h"
#include "game/world/object_controller.h"
#include "game/world/replay.h"

namespace {

constexpr uint32_t kKeyDown = 256;
constexpr uintptr_t kKeyEscape = 27;
constexpr uintptr_t kKeyF1 = 112;
constexpr uintptr_t kKeyF4 = 115;
const char kNoDataText[] = "データ（data.bin と data フォルダ）が読めないよぅ";

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
    ZethTexture::SetTexelOffset(0.0f);
    worldController.handle = &worldController;
    worldController.InitController();
    if (!LoadResources()) {
        // Not one picture could be read: the data pack is missing or damaged (the log says how)
        // and no loose files stand in for it. The game would show nothing but blocks.
        Zeth::MessageBox(0, "test", "%s", kNoDataText);
        Zeth::Exit(EXIT_FAILURE);
    }
    ReplayList::Scan();
    while (Zeth::MessageLoop(false)) worldController.RunFrame();
    return worldController.ShutdownController();
}

bool GameKeyHook(uint32_t message, uintptr_t wParam, intptr_t) {
    if (message != kKeyDown) return true;
    if (wParam == kKeyEscape) Zeth::Exit();
    else if (wParam == kKeyF1) Zeth::ChangeScreenMode();
    else if (wParam == kKeyF4) worldController.ReturnToTitle();
    return true;
}
