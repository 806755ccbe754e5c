#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>

#include "platform/audio/decoder_internal.h"

namespace platform::audio {

namespace {

size_t ReadCallback(void* buffer, size_t size, size_t count, void* source) {
    if (size == 0) return 0;
    uint64_t bytes = static_cast<uint64_t>(size) * count;
    if (bytes > 0x7fffffff) bytes = 0x7fffffff;
    return static_cast<Reader*>(source)->Read(buffer, static_cast<uint32_t>(bytes)) / size;
}

int SeekCallback(void* source, ogg_int64_t offset, int whence) {
    Reader* reader = static_cast<Reader*>(source);
    int64_t base = whence == SEEK_CUR ? static_cast<int64_t>(reader->Tell())
                   : whence == SEEK_END ? static_cast<int64_t>(reader->Size())
                                        : 0;
    int64_t target = base + offset;
    return target >= 0 && reader->Seek(static_cast<uint64_t>(target)) ? 0 : -1;
}

long TellCallback(void* source) { return static_cast<long>(static_cast<Reader*>(source)->Tell()); }

class VorbisDecoder : public Decoder {
public:
    explicit VorbisDecoder(std::unique_ptr<Reader> reader) : reader_(std::move(reader)) {}
    ~VorbisDecoder() override {
        if (open_) ov_clear(&file_);
    }
    VorbisDecoder(const VorbisDecoder&) = delete;
    VorbisDecoder& operator=(const VorbisDecoder&) = delete;

    bool Open(std::string* error) {
        ov_callbacks callbacks = {ReadCallback, SeekCallback, nullptr, TellCallback};
        if (!reader_->Seek(0) || ov_open_callbacks(reader_.get(), &file_, nullptr, 0, callbacks) != 0) {
            *error = "Ogg Vorbisファイルとして開けません";
            return false;
        }
        open_ = true;
        vorbis_info* info = ov_info(&file_, -1);
        if (info == nullptr || (info->channels != 1 && info->channels != 2) || info->rate < 1000 ||
            info->rate > 192000) {
            *error = "再生できないフォーマットです";
            return false;
        }
        channels_ = info->channels;
        rate_ = static_cast<uint32_t>(info->rate);
        return true;
    }

    uint32_t SampleRate() const override { return rate_; }

    uint32_t Read(int16_t* stereo, uint32_t frames) override {
        uint32_t done = 0;
        while (done < frames) {
            int16_t scratch[2048];
            uint32_t want = std::min<uint32_t>(frames - done, 2048 / channels_);
            int link = 0;
            long bytes = ov_read(&file_, reinterpret_cast<char*>(scratch), static_cast<int>(want * channels_ * 2), 0, 2,
                                 1, &link);
            if (bytes == OV_HOLE) continue;  // a gap in the stream: go on after it
            if (bytes <= 0) break;           // the end, or damage that cannot be read past
            vorbis_info* info = ov_info(&file_, link);
            if (info == nullptr || info->channels != channels_) break;  // a chained link of another layout
            uint32_t got = static_cast<uint32_t>(bytes) / (2u * channels_);
            for (uint32_t i = 0; i < got; ++i) {
                stereo[(done + i) * 2] = scratch[i * channels_];
                stereo[(done + i) * 2 + 1] = scratch[i * channels_ + channels_ - 1];
            }
            done += got;
        }
        return done;
    }

    bool Seek(uint64_t frame) override { return ov_pcm_seek(&file_, static_cast<ogg_int64_t>(frame)) == 0; }

private:
    std::unique_ptr<Reader> reader_;
    OggVorbis_File file_{};
    bool open_ = false;
    int channels_ = 2;
    uint32_t rate_ = 44100;
};

}  // namespace

std::unique_ptr<Decoder> OpenVorbisDecoder(std::unique_ptr<Reader> reader, std::string* error) {
    auto decoder = std::make_unique<VorbisDecoder>(std::move(reader));
    if (!decoder->Open(error)) return nullptr;
    return decoder;
}

}  // namespace platform::audio
