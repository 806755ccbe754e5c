#include "tools/datagen/ogg_vorbis.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "tools/datagen/synth.h"

namespace datagen {
namespace {

// Owns the libvorbis and libogg state of one encoding.
class VorbisEncoder {
public:
    VorbisEncoder(int serial, float quality) {
        vorbis_info_init(&info_);
        if (vorbis_encode_init_vbr(&info_, 1, kSampleRate, quality) != 0) {
            vorbis_info_clear(&info_);
            throw std::runtime_error("libvorbisenc refused the encoding settings");
        }
        vorbis_comment_init(&comment_);
        vorbis_analysis_init(&dsp_, &info_);
        vorbis_block_init(&dsp_, &block_);
        ogg_stream_init(&stream_, serial);
    }
    ~VorbisEncoder() {
        ogg_stream_clear(&stream_);
        vorbis_block_clear(&block_);
        vorbis_dsp_clear(&dsp_);
        vorbis_comment_clear(&comment_);
        vorbis_info_clear(&info_);
    }
    VorbisEncoder(const VorbisEncoder&) = delete;
    VorbisEncoder& operator=(const VorbisEncoder&) = delete;

    void WriteHeaders() {
        ogg_packet identification, comments, codebooks;
        vorbis_analysis_headerout(&dsp_, &comment_, &identification, &comments, &codebooks);
        ogg_stream_packetin(&stream_, &identification);
        ogg_stream_packetin(&stream_, &comments);
        ogg_stream_packetin(&stream_, &codebooks);
        // The headers end on a page of their own, as players expect.
        ogg_page page;
        while (ogg_stream_flush(&stream_, &page) != 0) AppendPage(page);
    }

    // Feeds samples; a count of 0 marks the end of the stream, whose last page then follows.
    void Feed(const float* samples, int count) {
        if (count > 0) {
            float** channels = vorbis_analysis_buffer(&dsp_, count);
            std::memcpy(channels[0], samples, sizeof(float) * count);
        }
        vorbis_analysis_wrote(&dsp_, count);
        Drain();
    }

    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    void Drain() {
        ogg_packet packet;
        ogg_page page;
        while (vorbis_analysis_blockout(&dsp_, &block_) == 1) {
            vorbis_analysis(&block_, nullptr);
            vorbis_bitrate_addblock(&block_);
            while (vorbis_bitrate_flushpacket(&dsp_, &packet) != 0) {
                ogg_stream_packetin(&stream_, &packet);
                while (ogg_stream_pageout(&stream_, &page) != 0) AppendPage(page);
            }
        }
    }

    void AppendPage(const ogg_page& page) {
        bytes_.insert(bytes_.end(), page.header, page.header + page.header_len);
        bytes_.insert(bytes_.end(), page.body, page.body + page.body_len);
    }

    vorbis_info info_;
    vorbis_comment comment_;
    vorbis_dsp_state dsp_;
    vorbis_block block_;
    ogg_stream_state stream_;
    std::vector<uint8_t> bytes_;
};

}  // namespace

std::vector<uint8_t> EncodeOggVorbis(const std::vector<float>& samples, int serial, float quality) {
    VorbisEncoder encoder(serial, quality);
    encoder.WriteHeaders();
    constexpr size_t kChunk = 4096;
    for (size_t at = 0; at < samples.size(); at += kChunk) {
        encoder.Feed(samples.data() + at, static_cast<int>(std::min(kChunk, samples.size() - at)));
    }
    encoder.Feed(nullptr, 0);
    return encoder.Take();
}

}  // namespace datagen
