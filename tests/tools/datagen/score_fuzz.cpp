// Feeds arbitrary text to the music-score reader: it must accept or throw, never misbehave.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "tools/datagen/music_score.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const datagen::Score score = datagen::ParseScore(std::string_view(reinterpret_cast<const char*>(data), size));
        // Rendering is bounded by the reader's limits; keep the fuzzer fast by rendering short pieces only.
        if (datagen::ScoreSamples(score) <= 44100) datagen::RenderScore(score);
    } catch (const std::runtime_error&) {
    }
    return 0;
}
