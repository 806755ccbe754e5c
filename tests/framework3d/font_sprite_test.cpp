// The glyph store: code indexes, packing into sheets, "LFD" files and their guards, and the 2D
// font sprite's layouts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/app/log.h"
#include "framework/files/file_system.h"
#include "framework/files/temp_folder.h"
#include "framework/graphics/graphics_fixture.h"
#include "framework/graphics/null_font.h"
#include "framework/graphics/sprite.h"
#include "framework/graphics/texture.h"
#include "framework3d/font_sprite_2d.h"
#include "framework3d/font_sprite_3d.h"
#include "lfd_writer.h"
#include "platform/gfx/image_codec.h"
#include "support/read_log.h"

namespace {

// A font that draws nothing and gives every character the same widths.
class WideFont : public NullFont {
public:
    WideFont(CBaseManager* manager, uint32_t size, uint32_t b) : NullFont(manager), size_(size), b_(b) {}
    void GetCharWidths(uint16_t, ABC* out) override { *out = ABC{-1, b_, 2}; }
    uint32_t GetSize() const override { return size_; }

private:
    uint32_t size_, b_;
};

// count distinct two-byte characters from 0x8840 on.
std::string DistinctCharacters(int count) {
    std::string text;
    for (int lead = 0x88; count > 0; ++lead) {
        for (int trail = 0x40; trail <= 0xFC && count > 0; ++trail) {
            if (trail == 0x7F) continue;
            text += static_cast<char>(lead);
            text += static_cast<char>(trail);
            --count;
        }
    }
    return text;
}

class FontSpriteTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        font_ = Zeth::GetFontManager()->Create("IPAGothic", 14, false, false);
        ASSERT_NE(font_, nullptr);
    }
    void TearDown() override {
        if (store_ != nullptr) store_->Release();
        font_->Release();
        GraphicsTest::TearDown();
    }
    CBaseFontSprite* NewStore() {
        store_ = new CBaseFontSprite(Zeth::GetFontSprite2DManager());
        return store_;
    }

    CFont* font_ = nullptr;
    CBaseFontSprite* store_ = nullptr;
};

TEST(FontSpriteCodes, CodesMapToTheirIndexes) {
    struct Case {
        uint16_t code, index;
    };
    for (Case c : {Case{0x0041, 0x0041}, Case{0x889F, 0x085E}, Case{0xE040, 0x1FBE}, Case{0xFA40, 0x301D},
                   Case{0xA000, 0xFFFF}, Case{0x8140, 255}, Case{0x00FF, 255}, Case{0xFC4F, 12844},
                   Case{0xFC50, 0xFFFF}, Case{0x8040, 0xFFFF}}) {
        EXPECT_EQ(CBaseFontSprite::GetCodeIndex(c.code), c.index) << std::hex << c.code;
    }
}

TEST_F(FontSpriteTest, TwoCharactersShareOneSmallSheetAndRepeatsShareTheirRecord) {
    ASSERT_TRUE(NewStore()->Create("AB", font_, false));
    EXPECT_EQ(store_->GetSheetCount(), 1);
    EXPECT_EQ(store_->GetSheetWidth(), 32);
    EXPECT_EQ(store_->GetSheetHeight(), 32);
    ASSERT_EQ(store_->GetGlyphCount(), 2);
    const CBaseFontSprite::Glyph* a = store_->FindGlyph('A');
    const CBaseFontSprite::Glyph* b = store_->FindGlyph('B');
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->top, 0);
    EXPECT_EQ(b->top, 0);
    EXPECT_EQ(b->left, a->right);
    EXPECT_EQ(a->bottom, 16);
    EXPECT_EQ(store_->FindGlyph('C'), nullptr);

    ASSERT_TRUE(store_->Rebuild("AAAAAAAAAAAAAAAAAAAA\x81\x40\xFF\xFF\x81\x40"));
    EXPECT_EQ(store_->GetGlyphCount(), 2);  // 'A', and the full-width space, which 0xFF shares
    EXPECT_EQ(store_->FindGlyph(0xFF), store_->FindGlyph(0x8140));
    EXPECT_EQ(font_->GetRefCount(), 2);  // the test's and the store's
    uint32_t a_ = 0, width = 0;
    EXPECT_TRUE(store_->GetGlyphInfo("A", &a_, &width, nullptr));
    EXPECT_FALSE(store_->GetGlyphInfo("\xA0", nullptr, nullptr, nullptr));
}

TEST_F(FontSpriteTest, PackingStopsAtTheSheetLimitAndAtTheFillTable) {
    CBaseManager* manager = Zeth::GetFontSprite2DManager();
    auto* narrow = new WideFont(manager, 2, 252);
    // 2,048 characters each filling a row of a 256-pixel sheet of 64 rows need a 32nd sheet.
    EXPECT_FALSE(NewStore()->Create(DistinctCharacters(2048).c_str(), narrow, false));
    EXPECT_EQ(store_->GetSheetCount(), CBaseFontSprite::kMaxSheets);
    EXPECT_EQ(store_->GetGlyphCount(), 31 * 64);
    store_->Release();
    narrow->Release();
    // A glyph wider than an empty row fails at once.
    auto* wide = new WideFont(manager, 14, 40);
    EXPECT_FALSE(NewStore()->Create("AB", wide, false));
    EXPECT_EQ(store_->GetSheetCount(), 1);
    store_->Release();
    wide->Release();
    // Cells of 2 pixels on a 4,096-pixel sheet: rows stop at the 1,024 of the fill table.
    auto* tall = new WideFont(manager, 0, 4092);
    std::string text = DistinctCharacters(1100);
    text.append(4096u * 4096u / 4u - text.size(), 'A');
    ASSERT_TRUE(NewStore()->Create(text.c_str(), tall, false));
    tall->Release();  // the store holds its own reference
    EXPECT_EQ(store_->GetSheetCount(), 2);
    EXPECT_EQ(store_->GetGlyphs()[1023].sheet, 0);
    EXPECT_EQ(store_->GetGlyphs()[1024].sheet, 1);
    uint32_t a = 0;
    EXPECT_TRUE(store_->GetGlyphInfo("A", &a, nullptr, nullptr));
    EXPECT_EQ(static_cast<int32_t>(a), -1);  // the stored byte 0xFF reads back signed
}

TEST_F(FontSpriteTest, FilesLoadBackFromImagesAndArchivesAndRejectDamage) {
    ASSERT_TRUE(NewStore()->Create("Hi\x82\xa0", font_, false));
    TempFolder folder;
    std::vector<uint8_t> lag(8, 0);
    std::memcpy(lag.data(), "LAG", 3);
    std::vector<std::string> names;
    for (int i = 0; i < store_->GetSheetCount(); ++i) {
        names.push_back("sheet" + std::to_string(i));
        std::vector<uint32_t> pixels = lfd::SheetPixels(store_->GetSheet(i));
        std::filesystem::create_directories(folder.Path() + "/data");
        ASSERT_TRUE(gfx::EncodeImage((folder.Path() + "/data/" + names.back() + ".png").c_str(), gfx::imagefile::kPng,
                                     pixels.data(), 32, 32, true));
        lfd::AppendLagEntry(&lag, names.back(), 32, 32, pixels);
    }
    folder.Write("data/sheets.lag", lag);
    std::vector<uint8_t> file = lfd::Write(*store_, names);
    if (const char* update = std::getenv("TANZLOR_UPDATE_GOLDEN"); update != nullptr && std::string(update) == "1") {
        std::ofstream(std::string(TANZLOR_SOURCE_DIR) + "/tests/fuzz/framework3d/seeds/font.lfd", std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    }
    file[0] = 'l';  // the magic is read without regard to case
    folder.Write("data/font.lfd", file);
    ASSERT_TRUE(ZethFile::Initialize());
    ZethFile::SetRootPath(0, (folder.Path() + "/data").c_str(), (folder.Path() + "/data.bin").c_str());

    for (const char* source : {".png", "sheets.lag"}) {
        CFontSprite2D* loaded = Zeth::GetFontSprite2DManager()->CreateFromFile("font.lfd", source, 60, false, 12);
        ASSERT_NE(loaded, nullptr) << source;
        EXPECT_EQ(loaded->GetGlyphCount(), store_->GetGlyphCount());
        EXPECT_EQ(std::memcmp(loaded->GetCodeTable(), store_->GetCodeTable(), CBaseFontSprite::kTableBytes), 0);
        EXPECT_EQ(lfd::SheetPixels(loaded->GetSheet(0)), lfd::SheetPixels(store_->GetSheet(0))) << source;
        EXPECT_FALSE(loaded->Rebuild("x", 60));  // nothing to rebuild a loaded store with
        loaded->Release();
    }
    EXPECT_EQ(Zeth::GetFontSprite2DManager()->CreateFromFile("font.lfd", ".bmp", 60, false, 12), nullptr);
    EXPECT_EQ(Zeth::GetFontSprite2DManager()->CreateFromFile("missing.lfd", ".png", 60, false, 12), nullptr);
    // The 3D sprite logs its own creation from a file under a title of its own, once.
    const std::string logPath = folder.Path() + "/log.html";
    ASSERT_TRUE(ZethLog::Open(logPath.c_str()));
    CFontSprite3D* text = Zeth::GetFontSprite3DManager()->CreateFromFile("font.lfd", ".png", 60, 12);
    EXPECT_EQ(Zeth::GetFontSprite3DManager()->CreateFromFile("missing.lfd", ".png", 60, 12), nullptr);
    ZethLog::Close();
    ASSERT_NE(text, nullptr);
    text->Release();
    const std::string log = testing_support::ReadLog(logPath);
    auto count = [&log](const std::string& what) {
        size_t n = 0;
        for (size_t at = log.find(what); at != std::string::npos; at = log.find(what, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("CFontSprite3D::CreateFromFile<"), 2u);
    EXPECT_EQ(count("CFontSprite3D::Create<"), 0u);
    EXPECT_EQ(count("SHEET COUNT [ 1 ] : <B><FONT color=\"GREEN\">Success!"), 1u);
    EXPECT_EQ(count("Failed!"), 1u);  // the missing file, said once
    ZethFile::Finalize();

    // Damage the loader must refuse: each case changes one thing of the good file.
    struct Damage {
        const char* what;
        void (*apply)(std::vector<uint8_t>&);
    };
    const Damage damages[] = {
        {"magic", [](std::vector<uint8_t>& f) { f[3] = 'X'; }},
        {"short image", [](std::vector<uint8_t>& f) { f.resize(f.size() - 1); }},
        {"33 sheets", [](std::vector<uint8_t>& f) { f[5] = 33; }},
        {"code past the glyphs", [](std::vector<uint8_t>& f) { f[12 + 2 * 'H'] = static_cast<uint8_t>(f[10]); }},
        {"record naming a missing sheet", [](std::vector<uint8_t>& f) { f[f.size() - 12] = 1; }},
    };
    for (const Damage& damage : damages) {
        std::vector<uint8_t> bad = file;
        damage.apply(bad);
        auto* probe = new CBaseFontSprite(Zeth::GetFontSprite2DManager());
        EXPECT_FALSE(probe->CreateFromMemory(bad.data(), static_cast<uint32_t>(bad.size()), nullptr, 12)) << damage.what;
        probe->Release();
    }
    CBaseFontSprite* bare = new CBaseFontSprite(Zeth::GetFontSprite2DManager());
    EXPECT_TRUE(bare->CreateFromMemory(file.data(), static_cast<uint32_t>(file.size()), nullptr, 12));
    EXPECT_EQ(bare->GetSheet(0), nullptr);  // no source: no sheet textures
    bare->Release();
}

class FontSprite2DTest : public FontSpriteTest {
protected:
    void SetUp() override {
        FontSpriteTest::SetUp();
        font16_ = Zeth::GetFontManager()->Create("IPAGothic", 16, false, false);
        sprite_ = Zeth::GetFontSprite2DManager()->Create("Ag\x82\xa0", 120, font16_, false, true);
        ASSERT_NE(sprite_, nullptr);
    }
    void TearDown() override {
        sprite_->Release();
        font16_->Release();
        FontSpriteTest::TearDown();
    }
    CFontSprite2D::Point End(const char* text, bool proportional = false) {
        CFontSprite2D::Point end{};
        if (proportional) sprite_->GetTextEndProportional(&end, text, 10, 20);
        else sprite_->GetTextEnd(&end, text, 10, 20);
        return end;
    }

    CFont* font16_ = nullptr;
    CFontSprite2D* sprite_ = nullptr;
};

TEST_F(FontSprite2DTest, FixedPitchAdvancesByHalfOrWholePitch) {
    sprite_->Begin(2);
    struct Case {
        const char* text;
        int32_t x, y;
    };
    for (Case c : {Case{"A", 19, 20}, Case{"\x82\xa0", 28, 20}, Case{"A\t", 19 + 72, 20}, Case{"AA\b", 28 - 18 + 0, 20},
                   Case{"A\nA", 19, 38}, Case{"Z", 28, 20}, Case{" ", 19, 20}}) {
        CFontSprite2D::Point end = End(c.text);
        EXPECT_EQ(end.x, c.x) << c.text;
        EXPECT_EQ(end.y, c.y) << c.text;
    }
    sprite_->SetFullWidthAdvance();
    EXPECT_EQ(End("A").x, 28);
    sprite_->End();
}

TEST_F(FontSprite2DTest, ProportionalLayoutAdvancesByTheCell) {
    uint32_t width = 0;
    ASSERT_TRUE(sprite_->GetGlyphInfo("A", nullptr, &width, nullptr));
    sprite_->Begin(0);
    EXPECT_EQ(End("A", true).x, 10 + static_cast<int32_t>(width) + 1);
    EXPECT_EQ(End("\t", true).x, 10 + 64);
    EXPECT_EQ(End("Z", true).x, 18);
    EXPECT_EQ(End(" ", true).x, 18);
    EXPECT_EQ(End("A\nA", true).y, 36);
    sprite_->End();
}

TEST_F(FontSprite2DTest, SingleCharactersReturnTheirLengthAndQueueTwoTriangles) {
    const float rect[4] = {10, 10, 32, 32};
    sprite_->Begin(0);
    EXPECT_EQ(sprite_->DrawChar("\x82\xa0", rect, 100, 0xFFFFFFFF), 2);
    EXPECT_EQ(sprite_->DrawCharRotate("A", rect, 100, 0xFFFFFFFF, 4096), 1);
    EXPECT_EQ(sprite_->DrawCharRotateXYZ("g", rect, 100, 0xFFFFFFFF, 0, 8192, 0), 1);
    EXPECT_EQ(sprite_->DrawChar("Z", rect, 100, 0xFFFFFFFF), 0);
    EXPECT_EQ(sprite_->GetSprite(0)->GetVertexCount(), 18u);
    sprite_->DrawText("AZ\x82\xa0", 0, 0, 100, 0xFFFFFFFF);
    EXPECT_EQ(sprite_->GetSprite(0)->GetVertexCount(), 30u);
    sprite_->End();
}

}  // namespace
