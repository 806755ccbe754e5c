#include <algorithm>
#include <cstring>

#include "platform/audio/decoder_internal.h"

namespace platform::audio {

namespace {

class PcmDecoder : public Decoder {
public:
    PcmDecoder(std::unique_ptr<Reader> reader, const WaveInfo& info)
        : reader_(std::move(reader)), info_(info), frameBytes_(FrameBytes(info.format)),
          frameCount_(info.dataSize / frameBytes_) {}

    uint32_t SampleRate() const override { return info_.format.sampleRate; }

    uint32_t Read(int16_t* stereo, uint32_t frames) override {
        uint32_t done = 0;
        while (done < frames && frame_ < frameCount_) {
            uint64_t want = std::min<uint64_t>({frames - done, frameCount_ - frame_, sizeof(scratch_) / frameBytes_});
            if (!reader_->Seek(info_.dataOffset + frame_ * frameBytes_)) break;
            uint32_t got = reader_->Read(scratch_, static_cast<uint32_t>(want * frameBytes_)) / frameBytes_;
            if (got == 0) break;
            Convert(got, stereo + done * 2);
            done += got;
            frame_ += got;
        }
        return done;
    }

    bool Seek(uint64_t frame) override {
        if (frame > frameCount_) return false;
        frame_ = frame;
        return true;
    }

private:
    // 8-bit samples are unsigned around 128; one channel is heard on both sides.
    void Convert(uint32_t frames, int16_t* out) const {
        uint32_t channels = info_.format.channels;
        for (uint32_t i = 0; i < frames; ++i) {
            int16_t sample[2] = {0, 0};
            for (uint32_t c = 0; c < channels; ++c) {
                uint32_t index = i * channels + c;
                if (info_.format.bitsPerSample == 8) {
                    sample[c] = static_cast<int16_t>((scratch_[index] - 128) * 256);
                } else {
                    sample[c] = static_cast<int16_t>(scratch_[index * 2] | (scratch_[index * 2 + 1] << 8));
                }
            }
            out[i * 2] = sample[0];
            out[i * 2 + 1] = channels == 2 ? sample[1] : sample[0];
        }
    }

    std::unique_ptr<Reader> reader_;
    WaveInfo info_;
    uint32_t frameBytes_;
    uint64_t frameCount_;
    uint64_t frame_ = 0;
    uint8_t scratch_[4096];
};

}  // namespace

std::unique_ptr<Decoder> OpenPcmDecoder(std::unique_ptr<Reader> reader, const WaveInfo& info) {
    return std::make_unique<PcmDecoder>(std::move(reader), info);
}

std::unique_ptr<Decoder> OpenDecoder(std::unique_ptr<Reader> reader, std::string* error) {
    char magic[4] = {};
    if (!reader->Seek(0) || reader->Read(magic, 4) != 4) {
        *error = "ファイルが短すぎます";
        return nullptr;
    }
    if (std::memcmp(magic, "OggS", 4) == 0) return OpenVorbisDecoder(std::move(reader), error);
    WaveInfo info;
    WaveError result = ParseWave(*reader, &info);
    if (result != WaveError::kNone) {
        *error = WaveErrorText(result);
        return nullptr;
    }
    return OpenPcmDecoder(std::move(reader), info);
}

}  // namespace platform::audio
