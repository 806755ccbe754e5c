// RIFF WAVE files: the chunk walk that finds the PCM format and the sample data.
#pragma once

#include <cstdint>

#include "platform/audio/reader.h"

namespace platform::audio {

// The "fmt " chunk's fields in file order (the 16 bytes every PCM file has).
struct PcmFormat {
    uint16_t formatTag = 0;       // 1 = integer PCM, the only tag played
    uint16_t channels = 0;        // 1 or 2
    uint32_t sampleRate = 0;      // frames per second
    uint32_t bytesPerSecond = 0;  // as written; recomputed, never trusted
    uint16_t blockAlign = 0;      // as written; recomputed, never trusted
    uint16_t bitsPerSample = 0;   // 8 (unsigned) or 16 (signed)
};

struct WaveInfo {
    PcmFormat format;
    uint64_t dataOffset = 0;  // where the samples start in the file
    uint32_t dataSize = 0;    // bytes of samples, never 0
};

enum class WaveError {
    kNone,
    kNotWave,       // no "RIFF" ... "WAVE" header
    kNotPcm,        // a "fmt " chunk whose format tag is not 1
    kBadFormat,     // channels, bits or rate this mixer cannot play
    kNoFormat,      // "data" before any "fmt " chunk
    kChunkPastEnd,  // a chunk runs past the end of the file
    kEmptyData,     // the "data" chunk holds nothing
    kNoData,        // no "data" chunk at all
};

// Walks the chunks from the reader's start: a "fmt " chunk gives the format, a "data" chunk ends
// the walk, others are skipped; chunk bodies are not padded to even sizes.
WaveError ParseWave(Reader& reader, WaveInfo* info);
const char* WaveErrorText(WaveError error);
// Channels 1-2, 8 or 16 bits, a rate between 1,000 and 192,000 Hz.
bool IsPlayableFormat(const PcmFormat& format);
// Bytes of one frame of the format.
uint32_t FrameBytes(const PcmFormat& format);

}  // namespace platform::audio
