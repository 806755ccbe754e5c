// datagen <assets folder> <output folder> [font file]: makes the game's data set.
// datagen --cell-header <assets folder> <header file>: writes the header that names the cells,
// leaving the file untouched when it already holds the same text, so that nothing recompiles.
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "tools/datagen/art_sources.h"
#include "tools/datagen/bytes.h"
#include "tools/datagen/cell_header.h"
#include "tools/datagen/data_set.h"

namespace {

void WriteCellHeader(const std::filesystem::path& assets, const std::filesystem::path& header) {
    const std::string text = datagen::CellHeaderText(datagen::LoadArtSources(assets).cells);
    if (std::filesystem::exists(header) && datagen::ReadTextFile(header) == text) return;
    datagen::WriteFileBytes(header, std::vector<uint8_t>(text.begin(), text.end()));
}

}  // namespace

int main(int argc, char** argv) {
    const bool cellHeader = argc >= 2 && std::string_view(argv[1]) == "--cell-header";
    if (cellHeader ? argc != 4 : argc != 3 && argc != 4) {
        std::cerr << "usage: datagen <assets folder> <output folder> [font file]\n"
                     "       datagen --cell-header <assets folder> <header file>\n";
        return 2;
    }
    try {
        if (cellHeader) {
            WriteCellHeader(argv[2], argv[3]);
            return 0;
        }
        datagen::DataSetPaths paths{argv[1], argv[2], "/usr/share/fonts/truetype/misaki/misaki_gothic.ttf"};
        if (argc == 4) paths.font = argv[3];
        datagen::MakeDataSet(paths, std::cout);
    } catch (const std::exception& error) {
        std::cerr << "datagen: error: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
