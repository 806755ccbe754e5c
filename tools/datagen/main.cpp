// datagen <assets folder> <output folder> [font file]: makes the game's data set.
#include <exception>
#include <iostream>

#include "tools/datagen/data_set.h"

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: datagen <assets folder> <output folder> [font file]\n";
        return 2;
    }
    datagen::DataSetPaths paths{argv[1], argv[2], "/usr/share/fonts/truetype/misaki/misaki_gothic.ttf"};
    if (argc == 4) paths.font = argv[3];
    try {
        datagen::MakeDataSet(paths, std::cout);
    } catch (const std::exception& error) {
        std::cerr << "datagen: error: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
