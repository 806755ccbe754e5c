// Feeds arbitrary bytes to the LAG reader as an archive and loads two entry names from it.
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "framework/graphics/lag_internal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const char* name : {"a", "TITLE"}) {
        LagMemorySource source(data, size);
        // Entries may claim up to 4 GB; only sizes a test machine can hold are loaded.
        uint32_t imageSize = LagLoader::Find(source, name, nullptr, nullptr, nullptr, nullptr);
        if (imageSize > (4u << 20)) continue;
        CLagArchive archive;
        if (LagLoader::Load(archive, source, name) == nullptr) {
            const void* pixels = nullptr;
            archive.GetData(&pixels, nullptr);
            uint16_t surface[64];
            archive.CopyRectToSurface(surface, 16, 0, 0, 8, 8, 0, 0, 23);
        }
    }
    return 0;
}
