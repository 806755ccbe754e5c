#include "tools/datagen/sheets.h"

#include <array>
#include <map>

#include "tools/datagen/looks.h"
#include "tools/datagen/terrain.h"

namespace datagen {
namespace {

constexpr std::array<SheetInfo, 13> kSheets{{
    {"bullet", 256, SheetSource::kCellList, nullptr},
    {"enemy", 256, SheetSource::kCellList, nullptr},
    {"enemyflash", 256, SheetSource::kFlash, "enemy"},
    {"enemyghost", 256, SheetSource::kGhost, "enemy"},
    {"enemyghostflash", 256, SheetSource::kFlash, "enemyghost"},
    {"groundenemy", 256, SheetSource::kCellList, nullptr},
    {"shot", 256, SheetSource::kCellList, nullptr},
    {"pc", 256, SheetSource::kCellList, nullptr},
    {"bg", 256, SheetSource::kCellList, nullptr},
    {"bg2", 256, SheetSource::kDusk, "bg"},
    {"demo", 256, SheetSource::kCellList, nullptr},
    {"font", 128, SheetSource::kFont, nullptr},
    {"effect", 256, SheetSource::kCellList, nullptr},
}};

Image DrawFromCells(const SheetInfo& sheet, const ArtSources& art, const GlyphSource& glyphs) {
    Image image(sheet.size, sheet.size);
    DrawPlaceholder(image);
    for (const Cell& cell : art.cells) {
        if (cell.sheet != sheet.name) continue;
        if (cell.look == kGridLook) {
            PaintGrid(image, cell.x, cell.y, art.grids.at(GridPath(cell)));
            continue;
        }
        if (cell.look == kTerrainLook) {
            DrawTerrain(image, cell, art.palette);
            continue;
        }
        const Palette palette = *LookPalette(art.palette, cell.palette);
        for (int row = 0; row < cell.down; ++row) {
            for (int column = 0; column < cell.across; ++column) {
                const LookFrame frame{cell.x + column * cell.width,
                                      cell.y + row * cell.height,
                                      cell.width,
                                      cell.height,
                                      row * cell.across + column,
                                      cell.Frames(),
                                      palette,
                                      cell.text};
                DrawLook(image, cell.look, frame, glyphs);
            }
        }
    }
    return image;
}

// Every visible texel recoloured; black stays black so transparency is kept.
template <typename Recolour>
Image Derive(const Image& base, Recolour recolour) {
    Image image(base.Width(), base.Height());
    for (int y = 0; y < base.Height(); ++y) {
        for (int x = 0; x < base.Width(); ++x) {
            const Rgb c = base.Get(x, y);
            image.Set(x, y, c == kTransparent ? c : recolour(c));
        }
    }
    return image;
}

uint8_t TowardWhite(uint8_t c) {
    return static_cast<uint8_t>(c + (255 - c) * 3 / 4);
}

Rgb Flash(Rgb c) {
    return {TowardWhite(c.r), TowardWhite(c.g), TowardWhite(c.b)};
}

// The later stages' terrain: the same tiles at dusk, cooler and darker, never brighter.
Rgb Dusk(Rgb c) {
    return {static_cast<uint8_t>(c.r * 3 / 4 + c.b / 8), static_cast<uint8_t>(c.g * 3 / 4),
            static_cast<uint8_t>(c.b * 7 / 8 + c.r / 8)};
}

// Ghost-mode enemies are light grey, keeping their shading, so that the colour they are drawn in
// tints them fully.
Rgb Ghost(Rgb c) {
    const int luminance = (c.r * 3 + c.g * 6 + c.b) / 10;
    const auto grey = static_cast<uint8_t>(144 + luminance * 111 / 255);
    return {grey, grey, grey};
}

}  // namespace

std::span<const SheetInfo> Sheets() {
    return kSheets;
}

const SheetInfo* FindSheet(std::string_view name) {
    for (const SheetInfo& sheet : kSheets) {
        if (name == sheet.name) return &sheet;
    }
    return nullptr;
}

std::vector<std::pair<std::string, Image>> DrawSheets(const ArtSources& art, const GlyphSource& glyphs) {
    std::vector<std::pair<std::string, Image>> files;
    std::map<std::string, size_t> drawn;
    for (const SheetInfo& sheet : kSheets) {
        Image image = sheet.source == SheetSource::kFont    ? DrawFontSheet(glyphs)
                      : sheet.source == SheetSource::kFlash ? Derive(files[drawn.at(sheet.base)].second, Flash)
                      : sheet.source == SheetSource::kGhost ? Derive(files[drawn.at(sheet.base)].second, Ghost)
                      : sheet.source == SheetSource::kDusk  ? Derive(files[drawn.at(sheet.base)].second, Dusk)
                                                            : DrawFromCells(sheet, art, glyphs);
        drawn[sheet.name] = files.size();
        files.emplace_back(std::string(sheet.name) + ".bmp", std::move(image));
    }
    return files;
}

}  // namespace datagen
