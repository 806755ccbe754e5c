#include "tools/datagen/cell_header.h"

namespace datagen {

std::string CellHeaderText(const std::vector<Cell>& cells) {
    std::string text =
        "// Made by datagen from assets/cells.csv at build time: every cell of the texture sheets by its\n"
        "// name. Edit the cell list, not this file.\n"
        "#pragma once\n"
        "\n"
        "#include \"game/world/sheet_cell.h\"\n"
        "\n"
        "namespace cell {\n"
        "\n";
    for (const Cell& cell : cells) {
        text += "inline constexpr SheetCell " + cell.name + "{CellSheet::" + cell.sheet + ", " + std::to_string(cell.x) +
                ", " + std::to_string(cell.y) + ", " + std::to_string(cell.width) + ", " +
                std::to_string(cell.height) + ", " + std::to_string(cell.across) + ", " + std::to_string(cell.down) +
                "};  // line " + std::to_string(cell.line) + "\n";
    }
    text += "\n}  // namespace cell\n";
    return text;
}

}  // namespace datagen
