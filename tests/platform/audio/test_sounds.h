// Sound files made at test time: WAVE files from chunk lists and Ogg Vorbis files encoded with
// libvorbisenc.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace test_sounds {

using Bytes = std::vector<uint8_t>;

// One RIFF chunk: id and body.
Bytes Chunk(const char* id, const Bytes& body);
// The 16-byte "fmt " body.
Bytes FormatBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits);
// "RIFF" size "WAVE" followed by the chunks.
Bytes Riff(const std::vector<Bytes>& chunks);
// A PCM WAVE file of 16-bit samples (interleaved when stereo).
Bytes Wave16(uint16_t channels, uint32_t rate, const std::vector<int16_t>& samples);
// Little-endian bytes of 16-bit samples.
Bytes SampleBytes(const std::vector<int16_t>& samples);
// A ramp with a distinct value in every frame, for sample-exact checks.
std::vector<int16_t> Ramp(uint32_t frames, uint16_t channels);
// An Ogg Vorbis file of a sine tone.
Bytes OggTone(uint32_t frames, uint32_t rate, int channels);
// Writes bytes to a file in the test's folder and returns its path.
std::string WriteFile(const std::string& name, const Bytes& bytes);

}  // namespace test_sounds
