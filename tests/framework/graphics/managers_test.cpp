#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "framework/graphics/extension3d.h"
#include "framework/files/temp_folder.h"
#include "framework/app/log.h"
#include "framework/graphics/sprite.h"
#include "framework/graphics/surface.h"
#include "framework/graphics/texture.h"
#include "graphics_fixture.h"
#include "null_font.h"

namespace {

using ManagersTest = GraphicsTest;

// The 3D side's hooks and the managers' objects, logging into one list.
std::vector<std::string> g_log3D;

class Recorder : public CDeviceObject {
public:
    Recorder(CBaseManager* manager, std::string name) : CDeviceObject(manager), name_(std::move(name)) {}
    void OnLostDevice() override { g_log3D.push_back(name_ + " lost"); }
    void OnResetDevice() override { g_log3D.push_back(name_ + " reset"); }

private:
    std::string name_;
};

TEST_F(ManagersTest, The3DSideIsToldOfLossResetAndReleaseAtItsPlaceInTheManagersOrder) {
    const Zeth::Extension3D saved = Zeth::GetExtension3D();
    g_log3D.clear();
    Zeth::Extension3D hooks;
    hooks.loseGridMeshes = [] { g_log3D.push_back("grid meshes lost"); };
    hooks.resetGridMeshes = [] { g_log3D.push_back("grid meshes reset"); };
    hooks.loseEffects = [] { g_log3D.push_back("effects lost"); };
    hooks.resetEffects = [] { g_log3D.push_back("effects reset"); };
    hooks.releaseGridMeshes = [] { g_log3D.push_back("grid meshes released"); };
    hooks.releaseModelsAndCameras = [] { g_log3D.push_back("models released"); };
    hooks.releaseEffects = [] { g_log3D.push_back("effects released"); };
    Zeth::RegisterExtension3D(hooks);

    auto* sprites = new Recorder(ZethSprite::GetManager(), "sprites");
    auto* textures = new Recorder(ZethTexture::GetManager(), "textures");
    Zeth3D::ResetDevice(true);
    EXPECT_EQ(g_log3D, (std::vector<std::string>{"textures lost", "sprites lost", "grid meshes lost", "effects lost",
                                                 "textures reset", "sprites reset", "grid meshes reset",
                                                 "effects reset"}));
    sprites->Release();
    textures->Release();

    g_log3D.clear();
    Zeth::ReleaseManagers();
    EXPECT_EQ(g_log3D, (std::vector<std::string>{"grid meshes released", "models released", "effects released"}));
    Zeth::RegisterExtension3D(saved);
    ASSERT_TRUE(Zeth::CreateManagers());  // for the fixture's own release
}

TEST_F(ManagersTest, FailedCreationIsLoggedAndLeavesNothingListed) {
    TempFolder folder;
    std::string path = folder.Path() + "/log.html";
    ASSERT_TRUE(ZethLog::Open(path.c_str()));
    CSprite2DManager* manager = ZethSprite::GetManager();
    int32_t managerReferences = manager->GetRefCount();
    EXPECT_EQ(ZethSprite::Create(100, 9, false), nullptr);  // no vertex type 9
    CSprite2D* a = ZethSprite::Create(100, 1, false);
    CSprite2D* b = ZethSprite::Create(100, 1, true);
    ZethLog::Close();
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(manager->GetCount(), 2u);
    EXPECT_EQ(manager->GetRefCount(), managerReferences + 2);
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    std::string log = text.str();
    size_t title = log.find("CSprite2D::Create");
    ASSERT_NE(title, std::string::npos);
    EXPECT_LT(title, log.find("Failed!"));
    EXPECT_LT(log.find("Failed!"), log.find("Success!"));
    ZethSprite::Release(a);
    EXPECT_EQ(manager->GetCount(), 1u);
    ZethSprite::Release(b);
    EXPECT_EQ(manager->GetRefCount(), managerReferences);
}

TEST_F(ManagersTest, ObjectHeldPastItsManagerIsReleasedSafely) {
    CTexture* texture = ZethTexture::Create(16, 16, 12);
    ASSERT_NE(texture, nullptr);
    CSprite2D* sprite = ZethSprite::Create(30, 1, false);
    ZethSprite::SetTexture(sprite, 0, texture);
    EXPECT_EQ(texture->GetRefCount(), 2);
    ZethTexture::Finalize();  // the manager gives back its one reference; the sprite keeps its own
    EXPECT_EQ(texture->GetRefCount(), 1);
    EXPECT_EQ(texture->GetManager(), nullptr);
    ZethSprite::Release(sprite);  // releases the texture, which no manager lists any more
}

// Drawing is the 3D side's; this font only counts its brackets.
class CountingFont : public NullFont {
public:
    CountingFont(CBaseManager* manager, int* begun) : NullFont(manager), begun_(begun) {}
    void Begin(bool) override { ++*begun_; }
    void End() override { --*begun_; }

private:
    int* begun_;
};

TEST_F(ManagersTest, FontStackHoldsSixteen) {
    CFontManager* fonts = Zeth::GetFontManager();
    int begun = 0;
    auto* font = new CountingFont(fonts, &begun);
    for (int i = 0; i < 17; ++i) fonts->PushFont(font, 0);
    fonts->PushFont(nullptr, 0);
    EXPECT_EQ(begun, 16);
    EXPECT_EQ(font->GetRefCount(), 17);
    for (int i = 0; i < 18; ++i) fonts->PopFont();
    EXPECT_EQ(begun, 0);
    EXPECT_EQ(fonts->GetTopFont(), nullptr);
    font->Release();
}

TEST_F(ManagersTest, SheetsCutPicturesIntoTiles) {
    struct Case {
        int width, height, columns, rows, lastWidth, lastHeight;
    };
    for (Case c : {Case{640, 480, 3, 2, 128, 224}, Case{256, 256, 1, 1, 256, 256}, Case{257, 256, 2, 1, 1, 256}}) {
        std::vector<uint8_t> bmp = MakeBmp(c.width, c.height, std::vector<uint32_t>(size_t(c.width) * c.height, 0x808080));
        CSheet* sheet = ZethSheet::GetManager()->CreateFromMemory(bmp.data(), static_cast<uint32_t>(bmp.size()), 12, 0);
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(sheet->GetColumns(), c.columns);
        EXPECT_EQ(sheet->GetRows(), c.rows);
        const CSheet::Tile& last = sheet->GetTiles().back();
        EXPECT_EQ(last.width, c.lastWidth) << c.width;
        EXPECT_EQ(last.height, c.lastHeight) << c.height;
        EXPECT_EQ(last.texture->GetWidth(), 256u);
        sheet->Release();
    }
    const uint8_t junk[] = {1, 2, 3};
    EXPECT_EQ(ZethSheet::GetManager()->CreateFromMemory(junk, sizeof(junk), 12, 0), nullptr);
    // A header claiming a picture 100000 pixels wide is refused before any tile is made.
    std::vector<uint8_t> huge = MakeBmp(1, 1, {0});
    huge[18] = 0xA0;
    huge[19] = 0x86;
    huge[20] = 0x01;
    uint32_t textures = ZethTexture::GetManager()->GetCount();
    EXPECT_EQ(ZethSheet::GetManager()->CreateFromMemory(huge.data(), static_cast<uint32_t>(huge.size()), 12, 0), nullptr);
    EXPECT_EQ(ZethTexture::GetManager()->GetCount(), textures);
}

TEST_F(ManagersTest, SheetDrawsLikeItsPicture) {
    std::vector<uint32_t> pixels(300 * 20);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = (i % 300) < 256 ? 0x102030 : 0x405060;
    std::vector<uint8_t> bmp = MakeBmp(300, 20, pixels);
    CSheet* sheet = ZethSheet::GetManager()->CreateFromMemory(bmp.data(), static_cast<uint32_t>(bmp.size()), 12, 0);
    ASSERT_NE(sheet, nullptr);
    std::vector<uint32_t> frames[2];
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_TRUE(Zeth3D::BeginScene());
        Zeth3D::SetFilterEnable(false);
        Zeth3D::SetBlendMode(0);
        Zeth3D::ResetRenderTarget();
        Zeth3D::Clear(gfx::clear::kTarget, 0xFF000000, 1.0f, 0);
        if (pass == 0) sheet->Draw(10, 10, 0xFFFFFFFF);
        else sheet->DrawRotatedScaled(10, 10, 0, 1.0f, 0xFFFFFFFF, 0, 0);
        Zeth3D::EndScene();
        frames[pass] = Present();
    }
    EXPECT_EQ(frames[0], frames[1]);
    EXPECT_EQ(Pixel(10, 10), 0x102030u);
    EXPECT_EQ(Pixel(265, 29), 0x102030u);
    EXPECT_EQ(Pixel(266, 10), 0x405060u);
    EXPECT_EQ(Pixel(309, 29), 0x405060u);
    EXPECT_EQ(Pixel(310, 10), 0u);
    sheet->Release();
}

TEST_F(ManagersTest, SurfacesAreNamedAndSurviveAReset) {
    CSurfaceManager* surfaces = ZethSurface::GetManager();
    CSurface* plain = surfaces->CreateOffscreen(64, 32, 12);
    CSurface* target = surfaces->CreateRenderTarget(64, 32, 9);
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(target, nullptr);
    EXPECT_STREQ(plain->GetName(), "OFFSCREEN [64x32] A8R8G8B8");
    EXPECT_TRUE(target->StretchFrom(nullptr, plain, nullptr));
    Zeth3D::ResetDevice(true);
    gfx::Surface* surface = nullptr;
    EXPECT_TRUE(target->GetSurface(&surface));
    if (surface != nullptr) surface->Release();
    plain->Release();
    target->Release();
}

}  // namespace
