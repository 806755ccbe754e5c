// Feeds arbitrary text to the grid reader and, split at the first NUL, to the palette reader: each
// must accept or throw, never misbehave.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "tools/datagen/grid.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const datagen::SharedPalette palette =
        datagen::SharedPalette::Parse("red 100000 200000 300000\nblue 000010 000020 000030 000040 000050\n");
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const datagen::Grid grid = datagen::ParseGrid(text, palette, "fuzz.txt");
        datagen::Image sheet(16, 16);
        datagen::PaintGrid(sheet, 3, 5, grid);
    } catch (const std::runtime_error&) {
    }
    try {
        datagen::SharedPalette::Parse(text.substr(0, text.find('\0')));
    } catch (const std::runtime_error&) {
    }
    return 0;
}
