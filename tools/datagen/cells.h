// The cell list: which rectangles of which texture sheets hold which drawings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/datagen/palette.h"

namespace datagen {

struct Cell {
    std::string sheet;  // sheet name without ".bmp"
    int x = 0;          // top-left texel of the first frame
    int y = 0;
    int width = 0;  // size of one frame
    int height = 0;
    int across = 1;       // frames side by side to the right
    int down = 1;         // rows of frames downwards
    std::string look;     // drawing shape (looks.h)
    std::string palette;  // hue of the shared palette whose shades a code-drawn look uses
    std::string grid;     // grid look only: the name of the hand-drawn grid
    std::string text;     // words of a label look
    std::string name;     // the name the game's code uses: the grid's for a grid cell
    int line = 0;         // line in the list, for messages

    int Frames() const { return across * down; }
    int TotalWidth() const { return width * across; }
    int TotalHeight() const { return height * down; }
};

// The look of cells painted from a hand-drawn grid (grid.h) rather than drawn by code.
inline constexpr std::string_view kGridLook = "grid";

// Parses the cell list text (format in assets/cells.csv's header) and checks every entry against
// the sheet and look tables and the palette's hues; throws std::runtime_error naming the line of
// the first fault.
std::vector<Cell> ParseCellList(std::string_view text, const SharedPalette& palette);

// Pairs of indexes of cells on the same sheet whose areas share a texel.
std::vector<std::pair<size_t, size_t>> FindOverlappingCells(const std::vector<Cell>& cells);

}  // namespace datagen
