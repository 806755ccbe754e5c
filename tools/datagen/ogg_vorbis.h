// Ogg Vorbis encoding through libvorbisenc, made repeatable.
#pragma once

#include <cstdint>
#include <vector>

namespace datagen {

// Encodes mono samples at kSampleRate with the given VBR quality (-0.1 to 1.0) into one Ogg
// stream whose serial number is fixed, so the same samples always give the same bytes.
std::vector<uint8_t> EncodeOggVorbis(const std::vector<float>& samples, int serial, float quality);

}  // namespace datagen
