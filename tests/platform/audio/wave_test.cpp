#include <gtest/gtest.h>

#include "platform/audio/test_sounds.h"
#include "platform/audio/wave.h"

namespace {

using platform::audio::MemoryReader;
using platform::audio::ParseWave;
using platform::audio::WaveError;
using platform::audio::WaveInfo;
using namespace test_sounds;

Bytes Truncated(Bytes bytes, size_t cut) {
    bytes.resize(bytes.size() - cut);
    return bytes;
}

TEST(WaveParse, ChunkWalkOutcomes) {
    const Bytes pcm = FormatBody(1, 2, 44100, 16);
    const Bytes samples = SampleBytes(Ramp(10, 2));
    struct Case {
        const char* name;
        Bytes file;
        WaveError expected;
        uint64_t dataOffset;
    };
    const Case cases[] = {
        {"plain", Riff({Chunk("fmt ", pcm), Chunk("data", samples)}), WaveError::kNone, 44},
        {"LIST before data", Riff({Chunk("fmt ", pcm), Chunk("LIST", Bytes(9, 'x')), Chunk("data", samples)}),
         WaveError::kNone, 61},
        {"fmt of 18 bytes", Riff({Chunk("fmt ", [&] { Bytes b = pcm; b.resize(18); return b; }()), Chunk("data", samples)}),
         WaveError::kNone, 46},
        {"float format", Riff({Chunk("fmt ", FormatBody(3, 2, 44100, 32)), Chunk("data", samples)}), WaveError::kNotPcm, 0},
        {"data before fmt", Riff({Chunk("data", samples), Chunk("fmt ", pcm)}), WaveError::kNoFormat, 0},
        {"data without fmt", Riff({Chunk("data", samples)}), WaveError::kNoFormat, 0},
        {"empty data", Riff({Chunk("fmt ", pcm), Chunk("data", {})}), WaveError::kEmptyData, 0},
        {"data past the end", Truncated(Riff({Chunk("fmt ", pcm), Chunk("data", samples)}), 1), WaveError::kChunkPastEnd, 0},
        {"skipped chunk past the end", Truncated(Riff({Chunk("fmt ", pcm), Chunk("junk", Bytes(20))}), 5),
         WaveError::kChunkPastEnd, 0},
        {"no data", Riff({Chunk("fmt ", pcm)}), WaveError::kNoData, 0},
        {"short fmt", Riff({Chunk("fmt ", Bytes(pcm.begin(), pcm.begin() + 14)), Chunk("data", samples)}),
         WaveError::kBadFormat, 0},
        {"24-bit", Riff({Chunk("fmt ", FormatBody(1, 2, 44100, 24)), Chunk("data", samples)}), WaveError::kBadFormat, 0},
        {"six channels", Riff({Chunk("fmt ", FormatBody(1, 6, 44100, 16)), Chunk("data", samples)}), WaveError::kBadFormat, 0},
        {"rate 0", Riff({Chunk("fmt ", FormatBody(1, 2, 0, 16)), Chunk("data", samples)}), WaveError::kBadFormat, 0},
        {"not RIFF", Bytes{'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, WaveError::kNotWave, 0},
        {"too short", Bytes{'R', 'I', 'F', 'F'}, WaveError::kNotWave, 0},
    };
    for (const Case& c : cases) {
        MemoryReader reader(c.file.data(), c.file.size());
        WaveInfo info;
        EXPECT_EQ(ParseWave(reader, &info), c.expected) << c.name;
        if (c.expected == WaveError::kNone) {
            EXPECT_EQ(info.dataOffset, c.dataOffset) << c.name;
            EXPECT_EQ(info.dataSize, samples.size()) << c.name;
            EXPECT_EQ(info.format.channels, 2) << c.name;
        }
    }
}

}  // namespace
