// Makes the whole data set: textures, sounds, music and tables.
#pragma once

#include <filesystem>
#include <ostream>

namespace datagen {

// The contact sheet of every texture sheet, written in the output folder beside "data".
inline constexpr const char* kContactSheetFile = "contact_sheet.png";

struct DataSetPaths {
    std::filesystem::path assets;  // the authored sources (cell list, music scores, tables)
    std::filesystem::path output;  // receives the folders "data" and "fixbgm"
    std::filesystem::path font;    // the 8 x 8 font the glyphs come from
};

// Writes every file, replacing what earlier runs wrote, and prints one line per file group;
// throws std::runtime_error (or a file-system error) on the first fault.
void MakeDataSet(const DataSetPaths& paths, std::ostream& progress);

}  // namespace datagen
