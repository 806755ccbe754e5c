// The game's 13 texture sheets and how each one is made.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/datagen/art_sources.h"
#include "tools/datagen/font.h"
#include "tools/datagen/image.h"

namespace datagen {

enum class SheetSource {
    kCellList,  // drawn from the cell list over the placeholder
    kFont,      // the font sheet, rasterised from the font
    kFlash,     // its base sheet brightened: the hit flash
    kGhost,     // its base sheet turned pale blue: the ghost enemies
    kDusk,      // its base sheet cooler and darker: the later stages' terrain
};

struct SheetInfo {
    const char* name;  // file name without ".bmp"
    int size;          // width and height in texels
    SheetSource source;
    const char* base;  // the sheet a derived sheet is made from
};

// Every sheet in file order; a derived sheet comes after its base.
std::span<const SheetInfo> Sheets();

// The sheet of that name, or null.
const SheetInfo* FindSheet(std::string_view name);

// Draws every sheet: (file name, picture) in the order of Sheets().
std::vector<std::pair<std::string, Image>> DrawSheets(const ArtSources& art, const GlyphSource& glyphs);

}  // namespace datagen
