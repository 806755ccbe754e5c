// Reading sounds through the file system.
#include "framework/app/log.h"
#include "framework/sound/sound_internal.h"
#include "platform/audio/wave.h"

namespace ZethSound::internal {

platform::audio::SoundBuffer* ParseWaveFile(const void* data, uint32_t size, bool) {
    // Every buffer is mixed by our own mixer, so the hardware choice changes nothing.
    platform::audio::MemoryReader reader(data, size);
    platform::audio::WaveInfo info;
    platform::audio::WaveError error = platform::audio::ParseWave(reader, &info);
    if (error != platform::audio::WaveError::kNone) {
        ZethLog::PrintError("WAVEファイルの解析に失敗しました : %s", platform::audio::WaveErrorText(error));
        ZethLog::PrintBreak();
        return nullptr;
    }
    auto buffer = platform::audio::SoundBuffer::Create(
        info.format, static_cast<const uint8_t*>(data) + info.dataOffset, info.dataSize);
    if (buffer == nullptr) {
        ZethLog::PrintError("サウンドバッファの生成に失敗しました");
        ZethLog::PrintBreak();
        return nullptr;
    }
    return buffer.release();
}

FileStreamReader::~FileStreamReader() { ZethFile::FileClose(stream_); }

uint32_t FileStreamReader::Read(void* buffer, uint32_t bytes) {
    uint32_t got = ZethFile::FileRead(stream_, bytes, buffer);
    position_ += got;
    return got;
}

bool FileStreamReader::Seek(uint64_t offset) {
    if (offset > Size() || !FileSeek(stream_, static_cast<int32_t>(offset), 1)) return false;
    position_ = offset;
    return true;
}

}  // namespace ZethSound::internal
