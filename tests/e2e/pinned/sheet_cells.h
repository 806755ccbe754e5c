// The cells of the texture sheets as assets/cells.csv lists them, and which of them hold a
// rectangle some object drew.
#pragma once

#include <string>
#include <vector>

namespace pinned {

struct SheetCell {
    std::string sheet;  // "enemy", "shot", ...
    std::string name;   // the grid's name for a grid cell, else the name after the palette
    float x, y, width, height;  // the area of all its frames
};

// The cells of the list; fields past those named are ignored. Empty when it cannot be read.
std::vector<SheetCell> ReadSheetCells(const std::string& path);

// What a rectangle {x, y, w, h} of a sheet (a negative width or height mirrors it) reads: the
// cells it overlaps, and whether they cover it whole (else it reaches texels no cell claims,
// which show the placeholder checker).
struct Reading {
    std::vector<const SheetCell*> cells;
    bool covered = false;
};
Reading CellsUnder(const std::vector<SheetCell>& cells, const std::string& sheet, float x, float y, float w, float h);

}  // namespace pinned
