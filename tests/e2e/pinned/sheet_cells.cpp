#include "sheet_cells.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace pinned {

namespace {

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    std::string field;
    while (std::getline(in, field, ',')) {
        const size_t first = field.find_first_not_of(" \t\r");
        const size_t last = field.find_last_not_of(" \t\r");
        out.push_back(first == std::string::npos ? "" : field.substr(first, last - first + 1));
    }
    return out;
}

}  // namespace

std::vector<SheetCell> ReadSheetCells(const std::string& path) {
    std::vector<SheetCell> cells;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || line.find_first_not_of(" \t\r") == std::string::npos) continue;
        const std::vector<std::string> f = Fields(line);
        if (f.size() < 8) continue;
        // Frames: "N" across, or "NxM" across and down.
        int across = 1, down = 1;
        const size_t times = f[5].find('x');
        across = std::stoi(f[5].substr(0, times));
        if (times != std::string::npos) down = std::stoi(f[5].substr(times + 1));
        // A grid cell is named by its grid; any other look by the field after its palette (and
        // after the words of a label).
        const size_t nameField = f[6] == "grid" ? 7 : (f[6] == "label" ? 9 : 8);
        SheetCell c{f[0], nameField < f.size() ? f[nameField] : f[0] + "@" + f[1] + "," + f[2],
                    std::stof(f[1]), std::stof(f[2]), std::stof(f[3]) * static_cast<float>(across),
                    std::stof(f[4]) * static_cast<float>(down)};
        cells.push_back(c);
    }
    return cells;
}

Reading CellsUnder(const std::vector<SheetCell>& cells, const std::string& sheet, float x, float y, float w, float h) {
    const float x0 = std::min(x, x + w), x1 = std::max(x, x + w);
    const float y0 = std::min(y, y + h), y1 = std::max(y, y + h);
    // No two cells overlap, so the areas they share with the rectangle add up to its own when
    // they cover it.
    Reading r;
    double shared = 0;
    for (const SheetCell& c : cells) {
        if (c.sheet != sheet) continue;
        const float left = std::max(x0, c.x), right = std::min(x1, c.x + c.width);
        const float top = std::max(y0, c.y), bottom = std::min(y1, c.y + c.height);
        if (left >= right || top >= bottom) continue;
        r.cells.push_back(&c);
        shared += static_cast<double>(right - left) * static_cast<double>(bottom - top);
    }
    r.covered = x1 > x0 && y1 > y0 && shared >= static_cast<double>(x1 - x0) * static_cast<double>(y1 - y0);
    return r;
}

}  // namespace pinned
