// The sound service's slot table and its file helpers, shared by the service's source files.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/files/file_system.h"
#include "framework/sound/sound.h"
#include "platform/audio/audio.h"
#include "platform/audio/reader.h"
#include "platform/audio/stream_player.h"

namespace ZethSound::internal {

// One sound; zero-filled when free.
struct SoundSlot {
    bool inUse;
    uint32_t refCount;                                   // the slot is freed when it reaches 0
    char name[260];                                      // the file it was created from
    platform::audio::SoundBuffer* layers[kMaxLayers];    // layer 0 from the file, the rest duplicates
    uint32_t layerCount;                                 // layers that may be played
    uint32_t pausePosition;                              // the play position a pause saved
    bool looping;                                        // the last start was a loop
    bool paused;
    ZethFile::Stream* stream;                            // open only while the sound is being created
    platform::audio::StreamPlayer* player;               // a stream player instead of layers, or null
};

// The slot of a sound in use, or null.
SoundSlot* UsedSlot(int32_t id);

// Makes the layer-0 buffer of a WAVE file held in memory; null (with the reason logged) when the
// file is damaged or its format cannot be played.
platform::audio::SoundBuffer* ParseWaveFile(const void* data, uint32_t size, bool hardware);

// Reads a file-system stream for the players; owns the stream and closes it.
class FileStreamReader : public platform::audio::Reader {
public:
    explicit FileStreamReader(ZethFile::Stream* stream) : stream_(stream) {}
    ~FileStreamReader() override;
    FileStreamReader(const FileStreamReader&) = delete;
    FileStreamReader& operator=(const FileStreamReader&) = delete;

    uint32_t Read(void* buffer, uint32_t bytes) override;
    bool Seek(uint64_t offset) override;
    uint64_t Tell() override { return position_; }
    uint64_t Size() override { return ZethFile::FileGetSize(stream_); }

private:
    ZethFile::Stream* stream_;
    uint64_t position_ = 0;
};

}  // namespace ZethSound::internal
