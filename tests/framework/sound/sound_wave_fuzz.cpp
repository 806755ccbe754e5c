// Feeds arbitrary bytes to the sound service's WAVE reader, as a damaged sound file would.
#include <cstddef>
#include <cstdint>

#include "framework/sound_internal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    delete ZethSound::internal::ParseWaveFile(data, static_cast<uint32_t>(size), false);
    return 0;
}
