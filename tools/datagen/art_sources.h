// Everything the texture sheets are drawn from: the shared palette, the cell list and the
// hand-drawn grids the cell list names.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tools/datagen/cells.h"
#include "tools/datagen/grid.h"
#include "tools/datagen/palette.h"

namespace datagen {

struct ArtSources {
    SharedPalette palette;
    std::vector<Cell> cells;
    std::map<std::string, Grid> grids;  // by GridPath of the cells that name them
};

// Where a grid cell's grid lies under the assets folder: "sprites/<sheet>/<grid>.txt".
std::string GridPath(const Cell& cell);

// Reads palette.txt, cells.csv and every grid a cell names, and checks that each grid fits its
// cell and that every file under sprites/ is named by a cell. Throws std::runtime_error naming
// the file and line of the first fault.
ArtSources LoadArtSources(const std::filesystem::path& assets);

// The same from texts in memory: grids maps GridPath to the grid's text.
ArtSources ParseArtSources(std::string_view paletteText, std::string_view cellText,
                           const std::map<std::string, std::string>& gridTexts);

}  // namespace datagen
