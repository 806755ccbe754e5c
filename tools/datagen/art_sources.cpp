#include "tools/datagen/art_sources.h"

#include <stdexcept>

#include "tools/datagen/bytes.h"

namespace datagen {

std::string GridPath(const Cell& cell) {
    return "sprites/" + cell.sheet + "/" + cell.grid + ".txt";
}

ArtSources ParseArtSources(std::string_view paletteText, std::string_view cellText,
                           const std::map<std::string, std::string>& gridTexts) {
    ArtSources art;
    art.palette = SharedPalette::Parse(paletteText);
    art.cells = ParseCellList(cellText, art.palette);
    for (const Cell& cell : art.cells) {
        if (cell.look != kGridLook) continue;
        const std::string path = GridPath(cell);
        const auto text = gridTexts.find(path);
        if (text == gridTexts.end()) {
            throw std::runtime_error("cell list line " + std::to_string(cell.line) + ": no grid file " + path);
        }
        Grid grid = ParseGrid(text->second, art.palette, path);
        CheckGridFitsCell(grid, cell, path);
        art.grids.emplace(path, std::move(grid));
    }
    for (const auto& [path, text] : gridTexts) {
        if (art.grids.count(path) == 0) throw std::runtime_error(path + ": no cell in the cell list names this grid");
    }
    return art;
}

ArtSources LoadArtSources(const std::filesystem::path& assets) {
    std::map<std::string, std::string> gridTexts;
    const std::filesystem::path sprites = assets / "sprites";
    if (std::filesystem::exists(sprites)) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(sprites)) {
            if (!entry.is_regular_file()) continue;
            gridTexts[entry.path().lexically_relative(assets).generic_string()] = ReadTextFile(entry.path());
        }
    }
    return ParseArtSources(ReadTextFile(assets / "palette.txt"), ReadTextFile(assets / "cells.csv"), gridTexts);
}

}  // namespace datagen
