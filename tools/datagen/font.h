// Glyphs of the 8 x 8 Misaki font and the game's font sheet built from them.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <utility>
#include <vector>

#include "tools/datagen/image.h"

namespace datagen {

// One glyph: 8 rows, bit 7 of a row is its leftmost texel.
using GlyphRows = std::array<uint8_t, 8>;

// Rasterises glyphs of an outline font at 8 pixels per em through FreeType.
class GlyphSource {
public:
    // Opens the font file; throws std::runtime_error when FreeType cannot load it.
    explicit GlyphSource(const std::filesystem::path& fontFile);
    ~GlyphSource();
    GlyphSource(const GlyphSource&) = delete;
    GlyphSource& operator=(const GlyphSource&) = delete;

    // The glyph of a code point in its 8 x 8 em box; throws when the font lacks it.
    GlyphRows Glyph(char32_t codePoint) const;

private:
    struct FreeTypeState;
    FreeTypeState* state_;
};

// The font sheet's cell of each character the game's text drawing maps (code point, cell).
std::vector<std::pair<char32_t, int>> FontCellMap();

// The 128 x 128 font sheet: each mapped glyph white in its 8 x 8 cell; every other cell blank.
Image DrawFontSheet(const GlyphSource& glyphs);

}  // namespace datagen
