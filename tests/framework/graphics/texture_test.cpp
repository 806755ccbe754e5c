#include <functional>
#include <string>

#include "framework/app/log.h"
#include "framework/files/file_system.h"
#include "framework/files/temp_folder.h"
#include "framework/graphics/surface.h"
#include "framework/graphics/texture.h"
#include "graphics_fixture.h"
#include "support/read_log.h"

namespace {

using TextureTest = GraphicsTest;

TEST(TextureSides, NextPowerOfTwoWithinTheMaximum) {
    struct Case {
        uint32_t side, maximum, expected;
    };
    for (Case c : {Case{0, 2048, 1}, Case{1, 2048, 1}, Case{256, 2048, 256}, Case{257, 2048, 512}, Case{300, 2048, 512},
                   Case{200, 2048, 256}, Case{5000, 4096, 4096}, Case{0x80000001u, 4096, 4096}}) {
        EXPECT_EQ(CTexture::TextureSide(c.side, c.maximum), c.expected) << c.side;
    }
}

TEST_F(TextureTest, SidesAndTexelsOfAnEmptyTexture) {
    CTexture* texture = ZethTexture::Create(300, 200, 12);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->GetWidth(), 512u);
    EXPECT_EQ(texture->GetHeight(), 256u);
    EXPECT_NEAR(ZethTexture::PixelToTexelU(texture, 256.0f), 0.85333f, 1e-5f);
    EXPECT_FLOAT_EQ(ZethTexture::PixelToTexelV(texture, 100.0f), 0.5f);
    EXPECT_FLOAT_EQ(ZethTexture::PixelToTexelU(nullptr, 100.0f), 0.0f);
    EXPECT_STREQ(texture->GetName(), "OFFSCREEN [300x200] A8R8G8B8");
    EXPECT_FALSE(texture->SaveToFile("/tmp/never.bmp", gfx::imagefile::kBmp));  // no copy: not a render target
    ZethTexture::Release(texture);
}

TEST_F(TextureTest, ClearFillsByFormatAndFailsCleanlyWithoutLockableMemory) {
    CTexture* texture = ZethTexture::GetManager()->CreateEx(4, 4, 1, 0, gfx::fmt::kA4R4G4B4, gfx::pool::kManaged);
    ASSERT_NE(texture, nullptr);
    ASSERT_TRUE(texture->Clear(0xFF00FF00));
    uint32_t pitch = 0, height = 0;
    void* bits = nullptr;
    ASSERT_TRUE(texture->Lock(nullptr, &pitch, &bits, nullptr, &height, nullptr));
    EXPECT_FALSE(texture->Lock(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));  // already locked
    EXPECT_EQ(static_cast<uint32_t*>(bits)[0], 0xF0F0F0F0u);
    texture->Unlock();
    ZethTexture::Release(texture);

    // A default-pool texture has no system-memory copy to lock: Clear says so and writes nothing.
    CTexture* target = ZethTexture::GetManager()->CreateEx(4, 4, 1, gfx::usage::kRenderTarget, gfx::fmt::kA8R8G8B8,
                                                           gfx::pool::kDefault);
    ASSERT_NE(target, nullptr);
    EXPECT_FALSE(target->Clear(0xFFFFFFFF));
    ZethTexture::Release(target);
}

TEST_F(TextureTest, SameFileLoadedTwiceIsShared) {
    TempFolder folder;
    folder.Write("data/texture/cell.bmp", MakeBmp(300, 2, std::vector<uint32_t>(600, 0x123456)));
    ASSERT_TRUE(ZethFile::Initialize());
    ZethFile::SetRootPath(0, (folder.Path() + "/data").c_str(), (folder.Path() + "/data.bin").c_str());
    ZethFile::SetCurrentPath("texture");
    CTexture* first = ZethTexture::CreateFromFile("cell.bmp", 13, 0xFF000000);
    ASSERT_NE(first, nullptr);
    CTexture* second = ZethTexture::CreateFromFile("CELL.BMP", 13, 0xFF000000);
    EXPECT_EQ(second, first);
    EXPECT_EQ(first->GetRefCount(), 2);
    EXPECT_EQ(first->GetWidth(), 512u);
    EXPECT_NEAR(first->PixelToTexelU(256.0f), 0.85333f, 1e-5f);
    uint32_t listed = ZethTexture::GetManager()->GetCount();
    ZethTexture::Release(second);
    ZethTexture::Release(first);
    EXPECT_EQ(ZethTexture::GetManager()->GetCount(), listed - 1);
    EXPECT_EQ(ZethTexture::CreateFromFile("missing.bmp", 13, 0), nullptr);
    ZethFile::SetCurrentPath(nullptr);
    ZethFile::Finalize();
}

// A file found neither loose nor in a pack is no silent null: the log names the creation and the file.
TEST_F(TextureTest, AFileFoundNowhereIsLoggedByEveryImageCreation) {
    TempFolder folder;
    const std::string logPath = folder.Path() + "/log.html";
    struct Case {
        const char* title;
        std::function<bool()> create;  // true when it made something
    } cases[] = {
        {"CTexture::CreateFromFile", [] { return ZethTexture::CreateFromFile("nowhere.bmp", 13, 0) != nullptr; }},
        {"CTexture::CreateFromLAG", [] { return ZethTexture::CreateFromLAG("nowhere.lag", "a", 13) != nullptr; }},
        {"CSheet::CreateFromFile",
         [] { return ZethSheet::GetManager()->CreateFromFile("nowhere.bmp", 13, 0) != nullptr; }},
        {"CSheet::CreateFromLAG", [] { return ZethSheet::GetManager()->CreateFromLAG("nowhere.lag", "a", 13) != nullptr; }},
        {"CSurface::CreateFromFile", [] { return ZethSurface::GetManager()->CreateFromFile("nowhere.bmp", 13) != nullptr; }},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(ZethLog::Open(logPath.c_str()));
        EXPECT_FALSE(c.create()) << c.title;
        ZethLog::Close();
        const std::string log = testing_support::ReadLog(logPath);
        const std::string file = std::string(c.title).find("LAG") != std::string::npos ? "nowhere.lag" : "nowhere.bmp";
        EXPECT_NE(log.find(std::string(c.title) + "</FONT></B> : [ " + file + " ] : <B><FONT color=\"RED\">ファイルがみつかりません"),
                  std::string::npos)
            << log;
    }
}

}  // namespace
