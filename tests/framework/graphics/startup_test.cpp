// The graphics wired into the framework's start-up and shutdown: a whole run of Zeth::Main on
// a fake window, presenting each frame through the device.
#include <gtest/gtest.h>

#include <string>

#include "framework/graphics/device.h"
#include "framework/graphics/managers.h"
#include "framework/graphics/sprite.h"
#include "framework/graphics/texture.h"
#include "framework/app/zeth.h"
#include "platform/gfx/device.h"
#include "platform/window/window.h"

namespace {

class FakeWindow : public platform::WindowSystem {
public:
    bool Create(const std::string& title, int, int, bool, std::string&) override {
        title_ = title;
        exists_ = true;
        return true;
    }
    void Destroy() override { exists_ = false; }
    bool Exists() const override { return exists_; }
    void SetTitle(const std::string& title) override { title_ = title; }
    std::string Title() const override { return title_; }
    void SetFullscreen(bool fullscreen) override { fullscreen_ = fullscreen; }
    void ShowCursor(bool) override {}
    bool PollEvent(platform::Message&) override { return false; }
    void ShowPicture(const uint32_t* pixels, int width, int height, int) override {
        ++pictures;
        lastWidth = width;
        lastHeight = height;
        firstPixel = pixels[0] & 0xFFFFFF;
    }

    int pictures = 0;
    int lastWidth = 0, lastHeight = 0;
    uint32_t firstPixel = 0;

private:
    std::string title_;
    bool exists_ = false;
    bool fullscreen_ = false;
};

FakeWindow g_window;
bool g_managersDuringRun = false;

bool Init() {
    Zeth::SetApplicationName("tanzlor graphics start-up test");
    Zeth::SetScreenInfo(640, 480, true);
    return true;
}

int32_t Main(int, char**) {
    if (!Zeth::Start()) return 0;
    g_managersDuringRun = ZethSprite::GetManager() != nullptr && ZethTexture::GetManager() != nullptr &&
                          Zeth::GetFontManager() != nullptr;
    int frames = 0;
    while (Zeth::MessageLoop(true)) {
        if (Zeth3D::BeginScene()) {
            Zeth3D::ResetRenderTarget();
            Zeth3D::Clear(1, 0xFF202020, 1.0f, 0);
            Zeth3D::EndScene();
        }
        Zeth3D::Refresh(nullptr);
        if (++frames == 3) Zeth::Exit();
    }
    return 0;
}

TEST(StartUp, EveryFrameIsPresentedIntoTheWindowAndShutdownReleasesTheManagers) {
    g_window.pictures = 0;
    g_managersDuringRun = false;
    platform::SetWindowSystem(&g_window);
    platform::gfx::SetPresentSink(nullptr);  // the window's own sink
    Zeth::GameCallbacks game;
    game.init = Init;
    game.main = Main;
    Zeth::Main(game, nullptr, 0, nullptr);
    platform::SetWindowSystem(nullptr);
    EXPECT_TRUE(g_managersDuringRun);
    EXPECT_EQ(g_window.pictures, 3);
    EXPECT_EQ(g_window.lastWidth, 640);
    EXPECT_EQ(g_window.lastHeight, 480);
    EXPECT_EQ(g_window.firstPixel, 0x202020u);
    EXPECT_EQ(ZethSprite::GetManager(), nullptr);
    EXPECT_EQ(ZethTexture::GetManager(), nullptr);
    EXPECT_EQ(Zeth::GetFontManager(), nullptr);
    EXPECT_EQ(Zeth3D::GetDevice(), nullptr);
}

}  // namespace
