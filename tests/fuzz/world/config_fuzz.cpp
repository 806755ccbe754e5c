// Reads arbitrary bytes as the configuration file; every value must be a signed byte.
#include <cstdlib>

#include "game/world/config_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (int32_t value : ParseConfigText(data, size)) {
        if (value < -128 || value > 127) std::abort();
    }
    return 0;
}
