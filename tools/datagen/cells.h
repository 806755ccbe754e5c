// The cell list: which rectangles of which texture sheets hold which drawings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

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
    std::string palette;  // colour set (looks.h)
    std::string text;     // words of a label look
    int line = 0;         // line in the list, for messages

    int Frames() const { return across * down; }
    int TotalWidth() const { return width * across; }
    int TotalHeight() const { return height * down; }
};

// Parses the cell list text (format in assets/cells.csv's header) and checks every entry against
// the sheet, look and palette tables; throws std::runtime_error naming the line of the first fault.
std::vector<Cell> ParseCellList(std::string_view text);

// Pairs of indexes of cells on the same sheet whose areas share a texel.
std::vector<std::pair<size_t, size_t>> FindOverlappingCells(const std::vector<Cell>& cells);

}  // namespace datagen
