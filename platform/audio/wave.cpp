#include "platform/audio/wave.h"

#include <cstring>

namespace platform::audio {

namespace {

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) { return static_cast<uint32_t>(Le16(p)) | (static_cast<uint32_t>(Le16(p + 2)) << 16); }

}  // namespace

bool IsPlayableFormat(const PcmFormat& format) {
    return format.formatTag == 1 && (format.channels == 1 || format.channels == 2) &&
           (format.bitsPerSample == 8 || format.bitsPerSample == 16) && format.sampleRate >= 1000 &&
           format.sampleRate <= 192000;
}

uint32_t FrameBytes(const PcmFormat& format) { return format.channels * (format.bitsPerSample / 8u); }

WaveError ParseWave(Reader& reader, WaveInfo* info) {
    uint8_t header[12];
    if (!reader.Seek(0) || reader.Read(header, 12) != 12 || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "WAVE", 4) != 0) {
        return WaveError::kNotWave;
    }
    uint64_t size = reader.Size();
    uint64_t offset = 12;
    bool haveFormat = false;
    PcmFormat format;
    while (size - offset >= 8) {
        uint8_t chunk[8];
        if (!reader.Seek(offset) || reader.Read(chunk, 8) != 8) return WaveError::kChunkPastEnd;
        uint32_t bodySize = Le32(chunk + 4);
        uint64_t body = offset + 8;
        if (bodySize > size - body) return WaveError::kChunkPastEnd;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            uint8_t fields[16];
            if (bodySize < sizeof(fields)) return WaveError::kBadFormat;
            if (reader.Read(fields, sizeof(fields)) != sizeof(fields)) return WaveError::kChunkPastEnd;
            format.formatTag = Le16(fields);
            format.channels = Le16(fields + 2);
            format.sampleRate = Le32(fields + 4);
            format.bytesPerSecond = Le32(fields + 8);
            format.blockAlign = Le16(fields + 12);
            format.bitsPerSample = Le16(fields + 14);
            if (format.formatTag != 1) return WaveError::kNotPcm;
            if (!IsPlayableFormat(format)) return WaveError::kBadFormat;
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            // Samples without a format before them cannot be played as anything.
            if (!haveFormat) return WaveError::kNoFormat;
            if (bodySize == 0) return WaveError::kEmptyData;
            info->format = format;
            info->dataOffset = body;
            info->dataSize = bodySize;
            return WaveError::kNone;
        }
        offset = body + bodySize;
    }
    return WaveError::kNoData;
}

const char* WaveErrorText(WaveError error) {
    switch (error) {
        case WaveError::kNone: return "正常";
        case WaveError::kNotWave: return "RIFF WAVEファイルではありません";
        case WaveError::kNotPcm: return "PCM以外のフォーマットです";
        case WaveError::kBadFormat: return "再生できないフォーマットです";
        case WaveError::kNoFormat: return "fmtチャンクの前にdataチャンクがあります";
        case WaveError::kChunkPastEnd: return "チャンクがファイルの終わりを越えています";
        case WaveError::kEmptyData: return "dataチャンクが空です";
        case WaveError::kNoData: return "dataチャンクがありません";
    }
    return "";
}

}  // namespace platform::audio
