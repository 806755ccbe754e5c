// Feeds arbitrary text to the stage-map reader and the table checker: accept or throw, never misbehave.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "tools/datagen/tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const datagen::TableSpec& table : datagen::TableSpecs()) datagen::CheckTableText(text, table);
    try {
        datagen::DrawStageMaps(text);
    } catch (const std::runtime_error&) {
    }
    return 0;
}
