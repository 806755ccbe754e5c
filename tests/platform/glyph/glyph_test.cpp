// The glyph calls on FreeType: metrics, bitmap layouts, widths, the missing-glyph shape and the
// guards of a too small buffer and of no selected font.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/glyph/glyph.h"

namespace glyph = platform::glyph;

namespace {

class GlyphTest : public ::testing::Test {
protected:
    void SetUp() override {
        font_ = glyph::CreateFontA(24, 0, 0, 0, 0, false, false, false, 128, 4, 0, 2, 0x31, "No Such Face");
        ASSERT_NE(font_, nullptr);
        dc_ = glyph::GetDC(nullptr);
        EXPECT_EQ(glyph::SelectObject(dc_, font_), nullptr);
    }
    void TearDown() override {
        glyph::ReleaseDC(nullptr, dc_);
        glyph::DeleteObject(font_);
    }
    std::vector<uint8_t> Bitmap(uint32_t code, uint32_t format, glyph::GlyphMetrics* metrics) {
        uint32_t size = glyph::GetGlyphOutlineA(dc_, code, format, metrics, 0, nullptr, nullptr);
        std::vector<uint8_t> bits(size);
        EXPECT_EQ(glyph::GetGlyphOutlineA(dc_, code, format, metrics, size, bits.data(), nullptr), size);
        return bits;
    }

    glyph::Font* font_ = nullptr;
    glyph::DeviceContext* dc_ = nullptr;
};

TEST_F(GlyphTest, MetricsAndBitmapsOfOneAndTwoByteCharacters) {
    glyph::TextMetrics metrics{};
    ASSERT_TRUE(glyph::GetTextMetricsA(dc_, &metrics));
    EXPECT_EQ(metrics.height, 24);
    EXPECT_EQ(metrics.ascent + metrics.descent, 24);
    EXPECT_GT(metrics.ascent, 16);
    for (uint32_t code : {0x41u, 0x82A0u, 0x889Fu, 0xB1u}) {  // A, hiragana a, a kanji, half-width katakana a
        glyph::GlyphMetrics gray{}, mono{};
        std::vector<uint8_t> levels = Bitmap(code, glyph::kGgoGray8Bitmap, &gray);
        std::vector<uint8_t> bits = Bitmap(code, glyph::kGgoBitmap, &mono);
        ASSERT_GT(gray.blackBoxX, 0u) << code;
        EXPECT_EQ(levels.size(), ((gray.blackBoxX + 3) & ~3u) * gray.blackBoxY) << code;
        EXPECT_EQ(bits.size(), (mono.blackBoxX + 31) / 32 * 4 * mono.blackBoxY) << code;
        EXPECT_EQ(*std::max_element(levels.begin(), levels.end()), 64) << code;
        glyph::Abc abc{};
        ASSERT_TRUE(glyph::GetCharABCWidthsA(dc_, code, code, &abc));
        EXPECT_EQ(abc.a + static_cast<int32_t>(abc.b) + abc.c, gray.cellIncX) << code;
        EXPECT_EQ(abc.b, gray.blackBoxX);
    }
}

TEST_F(GlyphTest, CodesWithoutACharacterDrawTheMissingGlyph) {
    glyph::GlyphMetrics a{}, b{}, letter{};
    std::vector<uint8_t> first = Bitmap(0xA0, glyph::kGgoBitmap, &a);   // no character in Shift-JIS
    std::vector<uint8_t> second = Bitmap(0x8540, glyph::kGgoBitmap, &b);  // an unassigned two-byte code
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(first, second);
    EXPECT_NE(Bitmap('A', glyph::kGgoBitmap, &letter), first);
}

TEST_F(GlyphTest, RefusesWhatItCannotDo) {
    glyph::GlyphMetrics metrics{};
    uint8_t small[4];
    EXPECT_EQ(glyph::GetGlyphOutlineA(dc_, 'W', glyph::kGgoGray8Bitmap, &metrics, sizeof small, small, nullptr),
              glyph::kGdiError);
    EXPECT_EQ(glyph::GetGlyphOutlineA(dc_, 'W', 3, &metrics, 0, nullptr, nullptr), glyph::kGdiError);
    glyph::DeviceContext* empty = glyph::GetDC(nullptr);
    glyph::TextMetrics text{};
    EXPECT_FALSE(glyph::GetTextMetricsA(empty, &text));
    EXPECT_EQ(glyph::GetGlyphOutlineA(empty, 'W', glyph::kGgoBitmap, &metrics, 0, nullptr, nullptr), glyph::kGdiError);
    glyph::ReleaseDC(nullptr, empty);
    EXPECT_EQ(glyph::CreateFontA(0, 0, 0, 0, 0, false, false, false, 128, 4, 0, 2, 0x31, "IPAGothic"), nullptr);
    EXPECT_EQ(glyph::CreateFontA(4097, 0, 0, 0, 0, false, false, false, 128, 4, 0, 2, 0x31, "IPAGothic"), nullptr);
}

TEST_F(GlyphTest, BoldWidensAndItalicLeans) {
    glyph::GlyphMetrics plain{}, bold{}, italic{};
    Bitmap('l', glyph::kGgoGray8Bitmap, &plain);
    glyph::Font* heavy = glyph::CreateFontA(24, 0, 0, 0, 1000, false, false, false, 128, 4, 0, 2, 0x31, "IPAGothic");
    glyph::Font* slanted = glyph::CreateFontA(24, 0, 0, 0, 0, true, false, false, 128, 4, 0, 2, 0x31, "IPAGothic");
    glyph::SelectObject(dc_, heavy);
    Bitmap('l', glyph::kGgoGray8Bitmap, &bold);
    glyph::SelectObject(dc_, slanted);
    Bitmap('l', glyph::kGgoGray8Bitmap, &italic);
    glyph::SelectObject(dc_, font_);
    EXPECT_GT(bold.blackBoxX, plain.blackBoxX);
    EXPECT_GT(italic.blackBoxX, plain.blackBoxX);
    EXPECT_EQ(italic.blackBoxY, plain.blackBoxY);
    glyph::DeleteObject(heavy);
    glyph::DeleteObject(slanted);
}

}  // namespace
