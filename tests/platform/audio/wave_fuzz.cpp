// Feeds arbitrary bytes to the WAVE chunk walk and, when it accepts them, to the buffer conversion.
#include <cstddef>
#include <cstdint>

#include "platform/audio/audio.h"
#include "platform/audio/wave.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace platform::audio;
    MemoryReader reader(data, size);
    WaveInfo info;
    if (ParseWave(reader, &info) != WaveError::kNone) return 0;
    auto buffer = SoundBuffer::Create(info.format, data + info.dataOffset, info.dataSize);
    return 0;
}
