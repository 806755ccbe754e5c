// Feeds arbitrary bytes to the LZSS decoder as a container, and checks that the pack tool's
// encoder round-trips them.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "framework/files/lzss.h"
#include "tools/pack/lzss_encoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint32_t length = static_cast<uint32_t>(size);
    const int32_t decodedSize = LzssGetSize(data, length);
    if (decodedSize >= 0) {
        std::vector<uint8_t> out(static_cast<size_t>(decodedSize));
        LzssDecode(data, length, out.data(), static_cast<uint32_t>(out.size()));
    }

    const std::vector<uint8_t> container = pack::LzssEncode(data, size);
    std::vector<uint8_t> back(size);
    if (!LzssDecode(container.data(), static_cast<uint32_t>(container.size()), back.data(), length) ||
        (size > 0 && std::memcmp(back.data(), data, size) != 0)) {
        std::abort();
    }
    return 0;
}
