// Decoders turn a file's samples into 16-bit stereo frames at the file's own rate.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/audio/reader.h"
#include "platform/audio/wave.h"

namespace platform::audio {

class Decoder {
public:
    virtual ~Decoder() = default;
    virtual uint32_t SampleRate() const = 0;
    virtual uint32_t Read(int16_t* stereo, uint32_t frames) = 0;  // fewer than asked at the end
    virtual bool Seek(uint64_t frame) = 0;                        // false beyond the end
};

// PCM samples of info's format from info's data window of the reader.
std::unique_ptr<Decoder> OpenPcmDecoder(std::unique_ptr<Reader> reader, const WaveInfo& info);
// An Ogg Vorbis stream of one or two channels; null with a reason in error when it is not one.
std::unique_ptr<Decoder> OpenVorbisDecoder(std::unique_ptr<Reader> reader, std::string* error);
// A WAVE or Ogg Vorbis file, told apart by its first four bytes.
std::unique_ptr<Decoder> OpenDecoder(std::unique_ptr<Reader> reader, std::string* error);

}  // namespace platform::audio
