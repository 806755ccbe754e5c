// Hand-drawn sprites kept as text grids: one character per texel, a legend maps characters to
// shades of the shared palette. Format in assets/README.md.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/datagen/cells.h"
#include "tools/datagen/image.h"
#include "tools/datagen/palette.h"

namespace datagen {

struct Grid {
    int width = 0;
    int height = 0;
    std::vector<Rgb> texels;  // row by row; transparent black where the grid has '.'

    Rgb At(int x, int y) const { return texels[static_cast<size_t>(y) * width + x]; }
};

// Parses a grid text; `source` names the file in messages. Throws std::runtime_error
// "<source> line N: ..." for the first fault.
Grid ParseGrid(std::string_view text, const SharedPalette& palette, const std::string& source);

// Throws std::runtime_error naming the file and the cell's line unless the grid is exactly the
// cell's frames laid out as the cell lays them (width x frames across, height x frame rows).
void CheckGridFitsCell(const Grid& grid, const Cell& cell, const std::string& source);

// Copies the grid onto the sheet with its top-left texel at (x, y), transparent texels included.
void PaintGrid(Image& sheet, int x, int y, const Grid& grid);

}  // namespace datagen
