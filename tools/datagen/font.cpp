#include "tools/datagen/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace datagen {

struct GlyphSource::FreeTypeState {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

GlyphSource::GlyphSource(const std::filesystem::path& fontFile) : state_(new FreeTypeState) {
    if (FT_Init_FreeType(&state_->library) != 0 ||
        FT_New_Face(state_->library, fontFile.c_str(), 0, &state_->face) != 0 ||
        FT_Set_Pixel_Sizes(state_->face, 8, 8) != 0) {
        if (state_->library != nullptr) FT_Done_FreeType(state_->library);
        delete state_;
        throw std::runtime_error("cannot load the font " + fontFile.string());
    }
}

GlyphSource::~GlyphSource() {
    FT_Done_Face(state_->face);
    FT_Done_FreeType(state_->library);
    delete state_;
}

namespace {

std::string CodePointName(char32_t codePoint) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
    return name;
}

}  // namespace

GlyphRows GlyphSource::Glyph(char32_t codePoint) const {
    FT_Face face = state_->face;
    const FT_UInt index = FT_Get_Char_Index(face, codePoint);
    if (index == 0) throw std::runtime_error("the font has no glyph " + CodePointName(codePoint));
    // Monochrome rendering keeps the font's square pixels exact at its native size.
    if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) {
        throw std::runtime_error("cannot render glyph " + CodePointName(codePoint));
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    // The em box's top row lies at the ascender; the bitmap is placed relative to the baseline.
    const int ascender = static_cast<int>(face->size->metrics.ascender >> 6);
    GlyphRows rows{};
    for (int row = 0; row < static_cast<int>(bitmap.rows); ++row) {
        const int y = ascender - slot->bitmap_top + row;
        if (y < 0 || y >= 8) continue;
        const uint8_t* source = bitmap.buffer + row * bitmap.pitch;
        for (int column = 0; column < static_cast<int>(bitmap.width); ++column) {
            const int x = slot->bitmap_left + column;
            if (x < 0 || x >= 8) continue;
            if (source[column / 8] & (0x80 >> (column % 8))) rows[y] |= 0x80 >> x;
        }
    }
    return rows;
}

namespace {

void AddRun(std::vector<std::pair<char32_t, int>>& map, std::initializer_list<char32_t> codes, int firstCell) {
    for (char32_t code : codes) map.emplace_back(code, firstCell++);
}

void AddRange(std::vector<std::pair<char32_t, int>>& map, char32_t first, char32_t last, int firstCell) {
    for (char32_t code = first; code <= last; ++code) map.emplace_back(code, firstCell++);
}

// The unvoiced kana of the ka, sa, ta, na, ha and ma rows, hiragana code points.
constexpr char32_t kUnvoicedRows[] = {0x304B, 0x304D, 0x304F, 0x3051, 0x3053, 0x3055, 0x3057, 0x3059, 0x305B, 0x305D,
                                      0x305F, 0x3061, 0x3064, 0x3066, 0x3068, 0x306A, 0x306B, 0x306C, 0x306D, 0x306E,
                                      0x306F, 0x3072, 0x3075, 0x3078, 0x307B, 0x307E, 0x307F, 0x3080, 0x3081, 0x3082};

// The kana cells from cellBase: hiragana at offset 0, katakana (0x60 code points on) at cell 128.
void AddKana(std::vector<std::pair<char32_t, int>>& map, char32_t offset, int cellBase) {
    AddRun(map, {0x3042 + offset, 0x3044 + offset, 0x3046 + offset, 0x3048 + offset, 0x304A + offset}, cellBase);
    int cell = cellBase + 5;
    for (char32_t code : kUnvoicedRows) map.emplace_back(code + offset, cell++);
    AddRun(map, {0x3084 + offset, 0x3086 + offset, 0x3088 + offset}, cellBase + 35);
    AddRange(map, 0x3089 + offset, 0x308D + offset, cellBase + 38);
    AddRun(map, {0x308F + offset, 0x3092 + offset, 0x3093 + offset}, cellBase + 43);
    AddRun(map, {0x3041 + offset, 0x3043 + offset, 0x3045 + offset, 0x3047 + offset, 0x3049 + offset}, cellBase + 46);
    AddRun(map, {0x3063 + offset}, cellBase + 51);
    AddRun(map, {0x3083 + offset, 0x3085 + offset, 0x3087 + offset}, cellBase + 54);
}

constexpr int kVoicedMarkCell = 116;
constexpr int kSemiVoicedMarkCell = 117;

}  // namespace

std::vector<std::pair<char32_t, int>> FontCellMap() {
    std::vector<std::pair<char32_t, int>> map;
    AddRange(map, U'0', U'9', 0);
    AddRun(map, {U'!', U'*', U'(', U')', U'\'', U',', U'+', U'-', U'?', U'.'}, 10);
    AddRange(map, U'A', U'Z', 32);
    AddKana(map, 0, 64);
    AddRun(map, {0x309B, 0x309C}, kVoicedMarkCell);
    AddRun(map, {0x30FC}, 121);
    AddKana(map, 0x60, 128);
    return map;
}

Image DrawFontSheet(const GlyphSource& glyphs) {
    constexpr Rgb kInk{255, 255, 255};
    Image sheet(128, 128);
    for (const auto& [code, cell] : FontCellMap()) {
        // The font's ASCII glyphs are half-width; the full-width forms fill the 8 x 8 cell.
        const char32_t shown = code >= 0x21 && code <= 0x7E ? code + 0xFEE0 : code;
        GlyphRows rows = glyphs.Glyph(shown);
        // The voicing marks are drawn in the cell above their kana, so they sit in the cell's lower
        // right corner: right above the kana's upper right, where a reader looks for them.
        if (cell == kVoicedMarkCell || cell == kSemiVoicedMarkCell) {
            while (rows[7] == 0 && rows != GlyphRows{}) {
                for (int y = 7; y > 0; --y) rows[y] = rows[y - 1];
                rows[0] = 0;
            }
            const auto anyInRightColumn = [&] {
                return std::any_of(rows.begin(), rows.end(), [](uint8_t row) { return (row & 1) != 0; });
            };
            while (!anyInRightColumn() && rows != GlyphRows{}) {
                for (uint8_t& row : rows) row >>= 1;
            }
        }
        const int left = (cell % 16) * 8;
        const int top = (cell / 16) * 8;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                if (rows[y] & (0x80 >> x)) sheet.Set(left + x, top + y, kInk);
            }
        }
    }
    return sheet;
}

}  // namespace datagen
