// The drawings ("looks") a cell can have, their palettes, and the placeholder of unclaimed texels.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "tools/datagen/font.h"
#include "tools/datagen/image.h"
#include "tools/datagen/palette.h"

namespace datagen {

// Three shades of one colour; none is black, which would read as transparent.
struct Palette {
    Rgb dark;
    Rgb mid;
    Rgb light;
};

// The last three shades of the shared palette's ramp of that hue (its first three for "hue-dark"),
// or nothing when there is none.
std::optional<Palette> LookPalette(const SharedPalette& shared, std::string_view hue);

// True for the names DrawLook accepts: ship, orb, diamond, ring, bar, block, tile, label, frame,
// figure, arrow.
bool IsKnownLook(std::string_view name);

// One frame of a cell: where it lies on the sheet and which frame of how many it is.
struct LookFrame {
    int x;
    int y;
    int width;
    int height;
    int frame;
    int frames;
    const Palette& palette;
    std::string_view text;  // label look only
};

// Draws one frame of a look over black (transparent) in its rectangle.
void DrawLook(Image& sheet, std::string_view look, const LookFrame& area, const GlyphSource& glyphs);

// A small integer hash of a texel's place and a seed, so textured looks are the same on every run.
uint32_t TextureHash(uint32_t a, uint32_t b, uint32_t c);

// Fills the whole sheet with a dim checker crossed by faint diagonals: plainly not art.
void DrawPlaceholder(Image& sheet);

}  // namespace datagen
