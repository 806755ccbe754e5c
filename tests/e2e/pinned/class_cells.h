// Which cells each class draws: the oracle the pinned runs' drawing is checked against.
#pragma once

#include <string>
#include <vector>

namespace pinned {

struct ClassCells {
    const char* className;
    std::vector<std::string> cells;  // cell names, or a sheet's name for every cell of it
};

extern const std::vector<ClassCells> kClassCells;

}  // namespace pinned
