// The stage and demo tables: comma-separated byte values read by the game's tokeniser.
#pragma once

#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace datagen {

struct TableSpec {
    const char* file;  // name in the folder "table"
    int values;        // how many values the game reads
    int fieldLimit;    // the most characters a value may have
};

// Every table the game reads.
std::span<const TableSpec> TableSpecs();

// Checks that the text holds exactly the table's count of values, each 0-255 in at most the table's
// characters, separated by single commas or line feeds, with no empty value and a final line feed.
// Returns an empty string when it does, else what is wrong.
std::string CheckTableText(std::string_view text, const TableSpec& table);

// The stage maps described by maps.txt text, each as its table text, by file name. The text holds
// "map <file> <width> <height>" lines, each followed by the lines that draw it (rows from 0, where
// the stage starts; the header of assets/tables/maps.txt describes them): rows, cell, fill,
// land and repeat. A second "map" line for a file continues it with a larger map: the file holds
// the first map, then the second's values past as many as the first holds. Throws
// std::runtime_error naming the line of the first fault.
std::map<std::string, std::string> DrawStageMaps(const std::string& mapsText);

// Builds every table from assets/tables: (file name, text) in the order of TableSpecs().
// Small tables are copied; stage maps are drawn from the bands of maps.txt. Throws when a
// source is missing or a result fails CheckTableText.
std::vector<std::pair<std::string, std::string>> MakeTables(const std::filesystem::path& assets);

}  // namespace datagen
