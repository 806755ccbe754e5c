// The GDI font on the glyph layer: layout, targets and their formats, clipping, the blitters and
// the font manager's stack.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "framework/app/log.h"
#include "framework/files/temp_folder.h"
#include "framework/graphics/texture.h"
#include "framework/graphics/graphics_fixture.h"
#include "framework3d/font.h"
#include "support/read_log.h"

namespace {

class FontTest : public GraphicsTest {
protected:
    void TearDown() override {
        if (font_ != nullptr) font_->Release();
        for (CTexture* texture : textures_) texture->Release();
        GraphicsTest::TearDown();
    }
    CFont* MakeFont(uint32_t size = 16) {
        font_ = Zeth::GetFontManager()->Create("IPAGothic", size, false, false);
        return font_;
    }
    CTexture* MakeTarget(gfx::Format format, uint32_t side = 64) {
        CTexture* texture = ZethTexture::GetManager()->CreateEx(side, side, 1, 0, format, gfx::pool::kManaged);
        textures_.push_back(texture);
        return texture;
    }
    // The texture's pixels as 32-bit values (16-bit formats widened).
    static std::vector<uint32_t> Pixels(CTexture* texture) {
        uint32_t pitch = 0, width = 0, height = 0;
        void* bits = nullptr;
        gfx::Format format = 0;
        EXPECT_TRUE(texture->Lock(nullptr, &pitch, &bits, &width, &height, &format));
        std::vector<uint32_t> out;
        uint32_t bytes = gfx::BytesPerPixel(format);
        for (uint32_t y = 0; y < height; ++y) {
            for (uint32_t x = 0; x < width; ++x) {
                uint32_t value = 0;
                std::memcpy(&value, static_cast<uint8_t*>(bits) + y * pitch + x * bytes, bytes);
                out.push_back(value);
            }
        }
        texture->Unlock();
        return out;
    }

    CFont* font_ = nullptr;
    std::vector<CTexture*> textures_;
};

TEST_F(FontTest, FixedPitchReturnsTheLastLineAndStartsTheNextOneLineLower) {
    ASSERT_NE(MakeFont(), nullptr);
    CTexture* two = MakeTarget(gfx::fmt::kA8R8G8B8);
    CTexture* one = MakeTarget(gfx::fmt::kA8R8G8B8);
    font_->SetTarget(two);
    font_->Begin(false);
    EXPECT_EQ(font_->DrawText(4, 2, 0xFFFFFFFF, ""), 0);
    int32_t lastLine = font_->DrawText(4, 2, 0xFFFFFFFF, "AB\nCD");
    font_->SetTarget(one);
    int32_t alone = font_->DrawText(4, 2 + 16, 0xFFFFFFFF, "CD");
    font_->End();
    EXPECT_EQ(lastLine, alone);
    EXPECT_GT(alone, 8);
    // The second line is the same pixels as "CD" drawn alone one line lower.
    std::vector<uint32_t> both = Pixels(two), second = Pixels(one);
    for (size_t i = 18 * 64; i < both.size(); ++i) ASSERT_EQ(both[i], second[i]) << i;
}

TEST_F(FontTest, SmoothTextTakesGrayOnlyWhereTheFormatHasAlphaLevels) {
    ASSERT_NE(MakeFont(), nullptr);
    // Gray glyphs fill their whole black box; 1-bit glyphs only their set pixels.
    for (auto [format, gray] : {std::pair{gfx::fmt::kX4R4G4B4, true}, std::pair{gfx::fmt::kR5G6B5, false},
                                std::pair{gfx::fmt::kA8R8G8B8, true}, std::pair{gfx::fmt::kA1R5G5B5, false}}) {
        CTexture* smooth = MakeTarget(format);
        CTexture* mono = MakeTarget(format);
        for (auto [target, draw] : {std::pair{smooth, &CFont::DrawTextSmooth}, std::pair{mono, &CFont::DrawText}}) {
            font_->SetTarget(target);
            font_->Begin(false);
            EXPECT_GT((font_->*draw)(0, 0, 0xFFFFFFFF, "\x82\xa0" "Ag"), 0);
            font_->End();
        }
        std::vector<uint32_t> a = Pixels(smooth), b = Pixels(mono);
        auto painted = [](const std::vector<uint32_t>& pixels) {
            return std::count_if(pixels.begin(), pixels.end(), [](uint32_t p) { return (p & 0xFFF) != 0; });
        };
        EXPECT_GT(painted(b), 20) << format;
        if (gray) EXPECT_GT(painted(a), painted(b)) << format;
        else EXPECT_EQ(a, b) << format;
    }
}

TEST_F(FontTest, WithoutTargetGlyphsGoIntoTheBackBufferInOneBit) {
    ASSERT_NE(MakeFont(), nullptr);
    ASSERT_TRUE(Zeth3D::BeginScene());
    Zeth3D::Clear(gfx::clear::kTarget, 0xFF000000, 1.0f, 0);
    Zeth3D::EndScene();
    font_->Begin(false);
    EXPECT_GT(font_->DrawTextSmooth(10, 10, 0xFF336699, "Wg"), 0);
    font_->End();
    Zeth3D::UnlockBackBuffer();
    int ink = 0;
    for (uint32_t pixel : Present()) {
        pixel &= 0xFFFFFF;
        if (pixel == 0x336699) ++ink;
        else ASSERT_EQ(pixel, 0u);
    }
    EXPECT_GT(ink, 10);
}

TEST_F(FontTest, GlyphsPastTheLeftEdgeKeepTheirOtherColumns) {
    ASSERT_NE(MakeFont(), nullptr);
    CTexture* inside = MakeTarget(gfx::fmt::kA8R8G8B8);
    CTexture* clipped = MakeTarget(gfx::fmt::kA8R8G8B8);
    for (auto [target, x] : {std::pair{inside, 5}, std::pair{clipped, -3}}) {
        font_->SetTarget(target);
        font_->Begin(false);
        font_->DrawChar(x, 0, 0xFFFFFFFF, 'M');
        font_->End();
    }
    std::vector<uint32_t> a = Pixels(inside), b = Pixels(clipped);
    int ink = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x + 8 < 64; ++x) {
            ASSERT_EQ(b[y * 64 + x], a[y * 64 + x + 8]) << x << "," << y;
            ink += b[y * 64 + x] != 0;
        }
    }
    EXPECT_GT(ink, 0);
}

TEST_F(FontTest, BlittersWriteTheirFormatsPixels) {
    uint8_t gray[4] = {64, 0, 32, 0};
    uint32_t out[3] = {0x12345678, 0x12345678, 0x12345678};
    CGdiFont::BlitRect src{0, 0, 3, 1, 4, gray};
    CGdiFont::BlitRect dst{0, 0, 3, 1, 12, reinterpret_cast<uint8_t*>(out)};
    CGdiFont::BlitGrayTo8888(0x80ABCDEF, dst, src);
    EXPECT_EQ(out[0], 0xFFABCDEFu);
    EXPECT_EQ(out[1], 0x00ABCDEFu);
    EXPECT_EQ(out[2], 0x7FABCDEFu);

    uint8_t bits[4] = {0xA0, 0, 0, 0};  // columns 0 and 2 set
    CGdiFont::BlitRect mono{0, 0, 3, 1, 4, bits};
    struct Case {
        CGdiFont::Blitter blit;
        uint16_t ink;
    };
    for (Case c : {Case{CGdiFont::BlitMonoTo565, 0xF81F}, Case{CGdiFont::BlitMonoTo1555, 0xFC1F},
                   Case{CGdiFont::BlitMonoTo4444, 0xFF0F}}) {
        uint16_t row[3] = {7, 7, 7};
        CGdiFont::BlitRect to{0, 0, 3, 1, 6, reinterpret_cast<uint8_t*>(row)};
        c.blit(0x00FF00FF, to, mono);
        EXPECT_EQ(row[0], c.ink);
        EXPECT_EQ(row[1], 7);
        EXPECT_EQ(row[2], c.ink);
    }
    EXPECT_EQ(CGdiFont::GrayBlitter(gfx::fmt::kR5G6B5), nullptr);
    EXPECT_EQ(CGdiFont::MonoBlitter(gfx::fmt::kA8), nullptr);
    EXPECT_EQ(CGdiFont::GrayLevel(65), 255);
}

TEST_F(FontTest, ClipBlitMovesTheSourceWithTheDestination) {
    uint8_t none = 0;
    CGdiFont::BlitRect src{0, 0, 10, 10, 4, &none};
    CGdiFont::BlitRect dst{-3, 58, 7, 68, 0, &none};
    EXPECT_TRUE(CGdiFont::ClipBlit(dst, src, 64, 64));
    EXPECT_EQ(src.left, 3);
    EXPECT_EQ(src.bottom, 6);
    EXPECT_EQ(dst.left, 0);
    EXPECT_EQ(dst.bottom, 64);
    CGdiFont::BlitRect far{70, 0, 80, 10, 0, &none};
    EXPECT_FALSE(CGdiFont::ClipBlit(far, src, 64, 64));
}

TEST_F(FontTest, TextWidthsFollowTheirLayouts) {
    ASSERT_NE(MakeFont(), nullptr);
    font_->Begin(false);
    CFont::ABC space{}, letter{};
    font_->GetCharWidths(' ', &space);
    font_->GetCharWidths('A', &letter);
    EXPECT_EQ(space.b, 0u);
    EXPECT_GT(letter.b, 0u);
    int32_t a = font_->GetTextWidth("A");
    EXPECT_EQ(a, letter.a + static_cast<int32_t>(letter.b) + letter.c);
    CFont::ABC tab{};
    font_->GetCharWidths('\t', &tab);
    EXPECT_EQ(font_->GetTextWidth("%s\t", "A"), a + tab.a + 4 * 16);
    EXPECT_EQ(font_->GetTextWidth("xyz\n%d", 1), font_->GetTextWidth("1"));
    // Formatted text past the buffer is measured up to its end, 1,023 characters.
    std::string long_(1500, 'A');
    EXPECT_EQ(font_->GetTextWidth("%s", long_.c_str()), font_->GetTextWidth("%s", long_.substr(0, 1023).c_str()));
    font_->End();
}

// Each class of character in the three layouts (the font is 16 pixels high, H = 16): the pen's
// advance over the text when drawn fixed-pitch and proportionally, and its measured width. A, B
// and C are the character's own widths (B raised to its black box).
TEST_F(FontTest, EveryCharacterClassAdvancesThePenByItsLayoutRule) {
    ASSERT_NE(MakeFont(), nullptr);
    CTexture* target = MakeTarget(gfx::fmt::kA8R8G8B8);
    font_->SetTarget(target);
    font_->Begin(false);
    using Rule = int32_t (*)(const CFont::ABC&);
    const struct {
        const char* what;
        const char* text;
        uint16_t code;  // the character whose widths the rules use
        Rule fixed, proportional, width;
    } cases[] = {
        {"ASCII letter", "A", 'A', [](const CFont::ABC&) { return 8; },
         [](const CFont::ABC& w) { return int32_t(w.b); }, [](const CFont::ABC& w) { return w.a + int32_t(w.b) + w.c; }},
        {"half-width katakana", "\xB1", 0xB1, [](const CFont::ABC&) { return 8; },
         [](const CFont::ABC& w) { return int32_t(w.b); }, [](const CFont::ABC& w) { return w.a + int32_t(w.b) + w.c; }},
        {"two-byte hiragana", "\x82\xA0", 0x82A0, [](const CFont::ABC&) { return 16; },
         [](const CFont::ABC& w) { return int32_t(w.b); }, [](const CFont::ABC& w) { return w.a + int32_t(w.b) + w.c; }},
        {"two-byte, upper lead range", "\xFA\x40", 0xFA40, [](const CFont::ABC&) { return 16; },
         [](const CFont::ABC& w) { return int32_t(w.b); }, [](const CFont::ABC& w) { return w.a + int32_t(w.b) + w.c; }},
        {"space", " ", ' ', [](const CFont::ABC& w) { return w.a + 8; }, [](const CFont::ABC&) { return 8; },
         [](const CFont::ABC& w) { return w.a + 8; }},
        {"full-width space", "\x81\x40", 0x8140, [](const CFont::ABC& w) { return w.a + 16; },
         [](const CFont::ABC&) { return 16; }, [](const CFont::ABC& w) { return w.a + 16; }},
        {"tab", "\t", '\t', [](const CFont::ABC& w) { return w.a + 64; }, [](const CFont::ABC&) { return 64; },
         [](const CFont::ABC& w) { return w.a + 64; }},
        {"backspace", "\b", '\b', [](const CFont::ABC&) { return 8; }, [](const CFont::ABC&) { return -16; },
         [](const CFont::ABC& w) { return w.a - 16; }},
        {"line feed ends the line", "\x82\xA0\nA", 'A', [](const CFont::ABC&) { return 8; },
         [](const CFont::ABC& w) { return int32_t(w.b); }, [](const CFont::ABC& w) { return w.a + int32_t(w.b) + w.c; }},
        {"carriage return ends the line", "\x82\xA0\r\xB1", 0xB1, [](const CFont::ABC&) { return 8; },
         [](const CFont::ABC& w) { return int32_t(w.b); }, [](const CFont::ABC& w) { return w.a + int32_t(w.b) + w.c; }},
    };
    for (const auto& c : cases) {
        CFont::ABC widths{};
        font_->GetCharWidths(c.code, &widths);
        EXPECT_EQ(font_->DrawText(10, 10, 0xFFFFFFFF, c.text), c.fixed(widths)) << c.what;
        EXPECT_EQ(font_->DrawTextProportional(10, 10, 0xFFFFFFFF, c.text), c.proportional(widths)) << c.what;
        EXPECT_EQ(font_->GetTextWidth("%s", c.text), c.width(widths)) << c.what;
    }
    font_->End();
}

TEST_F(FontTest, TheFontManagerForwardsToTheTopFont) {
    CFontManager* fonts = Zeth::GetFontManager();
    EXPECT_EQ(fonts->DrawChar(0, 0, 0, 'A'), -1);
    EXPECT_EQ(fonts->DrawText(0, 0, 0, "A"), 0);
    ASSERT_NE(MakeFont(), nullptr);
    CTexture* target = MakeTarget(gfx::fmt::kA8R8G8B8);
    font_->SetTarget(target);
    fonts->PushFont(font_, 1);
    EXPECT_EQ(fonts->DrawChar(0, 0, 0xFFFFFFFF, 'A'), 0);
    EXPECT_EQ(fonts->DrawTextProportional(0, 20, 0xFFFFFFFF, "AB"), font_->DrawTextProportional(0, 40, 0, "AB"));
    EXPECT_GT(fonts->DrawTextSmooth(0, 0, 0xFFFFFFFF, "AB"), 0);
    fonts->PopFont();
    EXPECT_EQ(font_->GetRefCount(), 1);
}

TEST_F(FontTest, AGlyphLargerThanTheBufferDrawsNothingAndThePenMoves) {
    // At size 1 the buffer holds 4 bytes; a bold, slanted W needs 8.
    font_ = Zeth::GetFontManager()->Create("IPAGothic", 1, true, true);
    ASSERT_NE(font_, nullptr);
    CTexture* target = MakeTarget(gfx::fmt::kA8R8G8B8);
    font_->SetTarget(target);
    font_->Begin(false);
    EXPECT_GT(font_->DrawTextProportionalSmooth(1, 1, 0xFFFFFFFF, "WW"), 0);
    font_->DrawChar(1, 1, 0xFFFFFFFF, 0x889F);
    font_->End();
    for (uint32_t pixel : Pixels(target)) ASSERT_EQ(pixel, 0u);
}

TEST_F(FontTest, AFontWithoutSizeFailsAndIsReleased) {
    TempFolder folder;
    const std::string log = folder.Path() + "/log.html";
    ASSERT_TRUE(ZethLog::Open(log.c_str()));
    EXPECT_EQ(Zeth::GetFontManager()->Create("IPAGothic", 0, false, false), nullptr);
    ZethLog::Close();
    EXPECT_EQ(Zeth::GetFontManager()->GetCount(), 0u);
    const std::string text = testing_support::ReadLog(log);
    const size_t title = text.find("CFont::Create</FONT></B> : ");
    EXPECT_NE(title, std::string::npos) << text;
    EXPECT_LT(title, text.find("フォントバッファ用メモリの確保に失敗"));
    EXPECT_LT(text.find("フォントバッファ用メモリの確保に失敗"), text.find("Failed!"));
}

}  // namespace
