// The C++ header that names every cell of the cell list for the game's code.
#pragma once

#include <string>
#include <vector>

#include "tools/datagen/cells.h"

namespace datagen {

// The header's text: one constant cell::<name> per cell, in the list's order, giving its sheet,
// rectangle and frames (the struct is game/world/sheet_cell.h).
std::string CellHeaderText(const std::vector<Cell>& cells);

}  // namespace datagen
