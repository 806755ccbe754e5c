#include "platform/audio/test_sounds.h"

#include <vorbis/vorbisenc.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace test_sounds {

namespace {

void Put16(Bytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(Bytes& out, uint32_t value) {
    Put16(out, value & 0xffff);
    Put16(out, value >> 16);
}

void AppendPage(Bytes& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

Bytes Chunk(const char* id, const Bytes& body) {
    Bytes out(id, id + 4);
    Put32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes FormatBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
    Bytes out;
    Put16(out, tag);
    Put16(out, channels);
    Put32(out, rate);
    Put32(out, rate * channels * bits / 8);
    Put16(out, static_cast<uint16_t>(channels * bits / 8));
    Put16(out, bits);
    return out;
}

Bytes Riff(const std::vector<Bytes>& chunks) {
    Bytes body{'W', 'A', 'V', 'E'};
    for (const Bytes& chunk : chunks) body.insert(body.end(), chunk.begin(), chunk.end());
    return Chunk("RIFF", body);
}

Bytes SampleBytes(const std::vector<int16_t>& samples) {
    Bytes out;
    for (int16_t sample : samples) Put16(out, static_cast<uint16_t>(sample));
    return out;
}

Bytes Wave16(uint16_t channels, uint32_t rate, const std::vector<int16_t>& samples) {
    return Riff({Chunk("fmt ", FormatBody(1, channels, rate, 16)), Chunk("data", SampleBytes(samples))});
}

std::vector<int16_t> Ramp(uint32_t frames, uint16_t channels) {
    std::vector<int16_t> samples;
    for (uint32_t i = 0; i < frames; ++i) {
        for (uint16_t c = 0; c < channels; ++c) samples.push_back(static_cast<int16_t>((i * 7 + c * 3) % 20000 + 100));
    }
    return samples;
}

Bytes OggTone(uint32_t frames, uint32_t rate, int channels) {
    vorbis_info info;
    vorbis_info_init(&info);
    vorbis_encode_init_vbr(&info, channels, static_cast<long>(rate), 0.3f);
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);
    ogg_packet headers[3];
    vorbis_analysis_headerout(&dsp, &comment, &headers[0], &headers[1], &headers[2]);
    for (ogg_packet& header : headers) ogg_stream_packetin(&stream, &header);
    Bytes out;
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) AppendPage(out, page);

    auto drain = [&]() {
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) AppendPage(out, page);
            }
        }
    };
    for (uint32_t done = 0; done < frames;) {
        uint32_t count = std::min<uint32_t>(frames - done, 4096);
        float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
        for (uint32_t i = 0; i < count; ++i) {
            float value = 0.5f * static_cast<float>(std::sin((done + i) * 440.0 * 6.283185307179586 / rate));
            for (int c = 0; c < channels; ++c) buffer[c][i] = value;
        }
        vorbis_analysis_wrote(&dsp, static_cast<int>(count));
        drain();
        done += count;
    }
    vorbis_analysis_wrote(&dsp, 0);
    drain();
    while (ogg_stream_flush(&stream, &page) != 0) AppendPage(out, page);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

// Tests of one folder run in parallel and may write the same file: each writes its own copy and
// renames it into place, so no reader ever sees half a file.
std::string WriteFile(const std::string& name, const Bytes& bytes) {
    std::string temporary = name + "." + std::to_string(getpid());
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::rename(temporary.c_str(), name.c_str());
    return name;
}

}  // namespace test_sounds
