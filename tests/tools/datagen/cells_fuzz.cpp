// Feeds arbitrary text to the cell-list reader: it must accept or throw, never misbehave.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "tools/datagen/cells.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const datagen::SharedPalette palette = datagen::SharedPalette::Parse("red 100000 200000 300000\n");
    try {
        const auto cells =
            datagen::ParseCellList(std::string_view(reinterpret_cast<const char*>(data), size), palette);
        datagen::FindOverlappingCells(cells);
    } catch (const std::runtime_error&) {
    }
    return 0;
}
