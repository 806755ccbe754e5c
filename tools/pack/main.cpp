// pack_tool <data folder> <output file>: packs every file under the data folder into one
// data pack. The output is written beside its final name and renamed into place.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/pack/pack_writer.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: pack_tool <data folder> <output file>\n");
        return 2;
    }
    std::vector<pack::PackSource> files;
    std::vector<uint8_t> packed;
    std::string error;
    if (!pack::ReadFolder(argv[1], &files, &error) || !pack::BuildPack(files, &packed, &error)) {
        std::fprintf(stderr, "pack_tool: %s\n", error.c_str());
        return 1;
    }
    const std::string output = argv[2];
    const std::string temporary = output + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(packed.data()), static_cast<std::streamsize>(packed.size()));
        if (!out) {
            std::fprintf(stderr, "pack_tool: cannot write %s\n", temporary.c_str());
            return 1;
        }
    }
    std::error_code code;
    std::filesystem::rename(temporary, output, code);
    if (code) {
        std::fprintf(stderr, "pack_tool: cannot write %s: %s\n", output.c_str(), code.message().c_str());
        return 1;
    }
    uint64_t original = 0;
    for (const pack::PackSource& file : files) original += file.contents.size();
    std::printf("pack_tool: %zu files, %llu bytes packed into %zu bytes\n", files.size(),
                static_cast<unsigned long long>(original), packed.size());
    return 0;
}
