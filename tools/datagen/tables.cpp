#include "tools/datagen/tables.h"

#include <array>
#include <map>
#include <sstream>
#include <stdexcept>

#include "tools/datagen/bytes.h"

namespace datagen {
namespace {

constexpr std::array<TableSpec, 8> kTables{{
    {"enemytable.csv", 256, 7},
    // The map of each table: 24 x 1024, 16 x 128 and 16 x 1024; the last is read 16 x 128 by the
    // ghost stage and stages 4-6, 8 and 10-12, and 20 x 512 and 20 x 1024 by stages 7 and 9.
    {"s1bgtable.csv", 24 * 1024, 4},
    {"s2bgtable.csv", 16 * 128, 4},
    {"s3bgtable.csv", 16 * 1024, 4},
    {"s16bgtable.csv", 20 * 1024, 4},
    {"demo1.csv", 256, 4},
    {"demo2.csv", 256, 4},
    {"demo3.csv", 256, 4},
}};

// One stage map being drawn: rows from 0 (the stage's start) upwards.
struct StageMap {
    int width = 0;
    int height = 0;
    std::vector<int> cells;
    std::vector<int> land;   // per cell the family its land regions gave it, or kNoLand
    std::vector<int> layer;  // per land cell the line that gave it: later regions lie on top
};

constexpr int kNoLand = -1;
constexpr int kFamilyTiles = 16;  // a family's tiles, in the order of terrain.h

[[noreturn]] void FailMaps(int line, const std::string& message) {
    throw std::runtime_error("maps.txt line " + std::to_string(line) + ": " + message);
}

int ReadNumber(std::istringstream& words, int line, int lowest, int highest) {
    int value = 0;
    if (!(words >> value) || value < lowest || value > highest) FailMaps(line, "number out of range");
    return value;
}

int& Cell(StageMap& map, int row, int column) { return map.cells[static_cast<size_t>(row) * map.width + column]; }

// Whether the region of a land cell (its family and layer) goes on at (row, column): there the
// cell is of its family, or of a region laid on top later, under which it runs on. Past the map's
// sides and ends the land runs on too, so regions show no edge at the map's border.
bool SameLand(const StageMap& map, int row, int column, int family, int layer) {
    if (row < 0 || row >= map.height || column < 0 || column >= map.width) return true;
    const size_t at = static_cast<size_t>(row) * map.width + column;
    return map.land[at] == family || (map.land[at] != kNoLand && map.layer[at] > layer);
}

// The tile of a land cell, from which of its eight neighbours share its family: an edge or an
// outer corner where a side is open, else an inner corner where only a diagonal is, else the
// inside or, now and then, one of its variants. Map rows run up the picture: row + 1 is above.
int LandTile(const StageMap& map, int row, int column, int family) {
    const int layer = map.layer[static_cast<size_t>(row) * map.width + column];
    const auto same = [&](int dr, int dc) { return SameLand(map, row + dr, column + dc, family, layer); };
    const bool up = same(1, 0), down = same(-1, 0), left = same(0, -1), right = same(0, 1);
    int tile = 0;
    if (!up && !left) tile = 5;
    else if (!up && !right) tile = 6;
    else if (!down && !left) tile = 7;
    else if (!down && !right) tile = 8;
    else if (!up) tile = 1;
    else if (!down) tile = 2;
    else if (!left) tile = 3;
    else if (!right) tile = 4;
    else if (!same(1, -1)) tile = 9;
    else if (!same(1, 1)) tile = 10;
    else if (!same(-1, -1)) tile = 11;
    else if (!same(-1, 1)) tile = 12;
    else {
        const uint32_t h = static_cast<uint32_t>(row) * 73856093u ^ static_cast<uint32_t>(column) * 19349663u;
        const uint32_t pick = (h ^ h >> 13) % 16;
        if (pick < 3) tile = 13 + static_cast<int>(pick);
    }
    return family + tile;
}

// Turns the land regions into tiles: every cell that still holds its family's first tile (no
// later line drew over it) gets the tile its neighbours call for.
void ShapeLand(StageMap& map) {
    for (int row = 0; row < map.height; ++row) {
        for (int column = 0; column < map.width; ++column) {
            const int family = map.land[static_cast<size_t>(row) * map.width + column];
            if (family != kNoLand && Cell(map, row, column) == family) Cell(map, row, column) = LandTile(map, row, column, family);
        }
    }
}

std::vector<int> ReadValues(std::istringstream& words, int line) {
    std::vector<int> values;
    int value = 0;
    while (words >> value) {
        if (value < 0 || value > 255) FailMaps(line, "tile value out of range");
        values.push_back(value);
    }
    if (values.empty() || !words.eof()) FailMaps(line, "needs tile values 0-255 and nothing else");
    return values;
}

void ParseLine(StageMap& map, const std::string& keyword, std::istringstream& words, int line) {
    const int lastRowOfMap = map.height - 1;
    const int lastColumnOfMap = map.width - 1;
    if (keyword == "rows") {
        const int first = ReadNumber(words, line, 0, lastRowOfMap);
        const int last = ReadNumber(words, line, first, lastRowOfMap);
        const std::vector<int> values = ReadValues(words, line);
        for (int row = first; row <= last; ++row) {
            for (int column = 0; column < map.width; ++column) {
                Cell(map, row, column) = values[column % values.size()];
                map.land[static_cast<size_t>(row) * map.width + column] = kNoLand;
            }
        }
    } else if (keyword == "cell") {
        const int row = ReadNumber(words, line, 0, lastRowOfMap);
        const int column = ReadNumber(words, line, 0, lastColumnOfMap);
        const std::vector<int> values = ReadValues(words, line);
        if (column + static_cast<int>(values.size()) > map.width) FailMaps(line, "cells run past the last column");
        for (size_t i = 0; i < values.size(); ++i) Cell(map, row, column + static_cast<int>(i)) = values[i];
    } else if (keyword == "fill" || keyword == "land") {
        const int firstRow = ReadNumber(words, line, 0, lastRowOfMap);
        const int lastRow = ReadNumber(words, line, firstRow, lastRowOfMap);
        const int firstColumn = ReadNumber(words, line, 0, lastColumnOfMap);
        const int lastColumn = ReadNumber(words, line, firstColumn, lastColumnOfMap);
        const int value = ReadNumber(words, line, 0, keyword == "land" ? 256 - kFamilyTiles : 255);
        std::string rest;
        if (words >> rest) FailMaps(line, "unexpected \"" + rest + "\"");
        for (int row = firstRow; row <= lastRow; ++row) {
            for (int column = firstColumn; column <= lastColumn; ++column) {
                Cell(map, row, column) = value;
                map.land[static_cast<size_t>(row) * map.width + column] = keyword == "land" ? value : kNoLand;
                map.layer[static_cast<size_t>(row) * map.width + column] = line;
            }
        }
    } else if (keyword == "repeat") {
        const int first = ReadNumber(words, line, 0, lastRowOfMap);
        const int last = ReadNumber(words, line, first, lastRowOfMap);
        const int to = ReadNumber(words, line, 0, lastRowOfMap);
        const int times = ReadNumber(words, line, 1, map.height);
        const int rows = last - first + 1;
        if (to + rows * times - 1 > lastRowOfMap) FailMaps(line, "repeated rows run past the last row");
        if (to <= last && to + rows * times - 1 >= first) FailMaps(line, "repeated rows overlap their source");
        for (int k = 0; k < times; ++k) {
            for (int row = 0; row < rows; ++row) {
                for (int column = 0; column < map.width; ++column) {
                    Cell(map, to + k * rows + row, column) = Cell(map, first + row, column);
                    const size_t from = static_cast<size_t>(first + row) * map.width + column;
                    const size_t into = static_cast<size_t>(to + k * rows + row) * map.width + column;
                    map.land[into] = map.land[from];
                    map.layer[into] = map.layer[from];
                }
            }
        }
    } else {
        FailMaps(line, "unknown line \"" + keyword + "\"");
    }
}

// The maps of each file: a file's first map, then the maps that continue it.
std::map<std::string, std::vector<StageMap>> ParseMaps(const std::string& text) {
    std::map<std::string, std::vector<StageMap>> maps;
    StageMap* current = nullptr;
    std::istringstream lines(text);
    std::string lineText;
    int line = 0;
    while (std::getline(lines, lineText)) {
        ++line;
        std::istringstream words(lineText);
        std::string keyword;
        if (!(words >> keyword) || keyword[0] == '#') continue;
        if (keyword == "map") {
            std::string file;
            words >> file;
            if (current != nullptr) ShapeLand(*current);
            std::vector<StageMap>& parts = maps[file];
            const size_t before = parts.empty() ? 0 : parts.back().cells.size();
            StageMap& added = parts.emplace_back();
            added.width = ReadNumber(words, line, 1, 24);
            added.height = ReadNumber(words, line, 1, 1024);
            if (static_cast<size_t>(added.width) * added.height <= before) FailMaps(line, "a continued map must be larger");
            added.cells.assign(static_cast<size_t>(added.width) * added.height, 0);
            added.land.assign(added.cells.size(), kNoLand);
            added.layer.assign(added.cells.size(), 0);
            current = &added;
        } else if (current != nullptr) {
            ParseLine(*current, keyword, words, line);
        } else {
            FailMaps(line, "\"" + keyword + "\" before any map");
        }
    }
    if (current != nullptr) ShapeLand(*current);
    return maps;
}

// The file shows the map as a picture: its first line is the far end of the stage. A map that
// continues the file leaves out the values that the maps before it hold (they stand in for its
// far end), so a row it shares only in part is written from its first value of its own.
std::string WriteMap(const StageMap& map, size_t skip) {
    std::string text;
    size_t index = 0;
    for (int row = map.height - 1; row >= 0; --row) {
        bool lineStarted = false;
        for (int column = 0; column < map.width; ++column, ++index) {
            if (index < skip) continue;
            if (lineStarted) text += ',';
            text += std::to_string(map.cells[static_cast<size_t>(row) * map.width + column]);
            lineStarted = true;
        }
        if (lineStarted) text += '\n';
    }
    return text;
}

}  // namespace

std::span<const TableSpec> TableSpecs() {
    return kTables;
}

std::string CheckTableText(std::string_view text, const TableSpec& table) {
    if (text.empty() || text.back() != '\n') return "does not end with a line feed";
    int count = 0;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of(",\n", start);
        const std::string_view field = text.substr(start, end - start);
        ++count;
        if (field.empty()) return "empty value " + std::to_string(count);
        if (static_cast<int>(field.size()) > table.fieldLimit) return "value " + std::to_string(count) + " is too long";
        int value = 0;
        for (char c : field) {
            if (c < '0' || c > '9') return "value " + std::to_string(count) + " is not a number";
            value = value * 10 + (c - '0');
        }
        if (value > 255) return "value " + std::to_string(count) + " is above 255";
        start = end + 1;
    }
    if (count != table.values) {
        return "holds " + std::to_string(count) + " values instead of " + std::to_string(table.values);
    }
    return {};
}

std::map<std::string, std::string> DrawStageMaps(const std::string& mapsText) {
    std::map<std::string, std::string> tables;
    for (const auto& [file, parts] : ParseMaps(mapsText)) {
        size_t written = 0;
        for (const StageMap& map : parts) {
            tables[file] += WriteMap(map, written);
            written = map.cells.size();
        }
    }
    return tables;
}

std::vector<std::pair<std::string, std::string>> MakeTables(const std::filesystem::path& assets) {
    const std::filesystem::path folder = assets / "tables";
    const std::map<std::string, std::string> maps = DrawStageMaps(ReadTextFile(folder / "maps.txt"));
    std::vector<std::pair<std::string, std::string>> tables;
    for (const TableSpec& table : kTables) {
        const auto map = maps.find(table.file);
        std::string text = map != maps.end() ? map->second : ReadTextFile(folder / table.file);
        const std::string fault = CheckTableText(text, table);
        if (!fault.empty()) throw std::runtime_error(std::string(table.file) + ": " + fault);
        tables.emplace_back(table.file, std::move(text));
    }
    return tables;
}

}  // namespace datagen
