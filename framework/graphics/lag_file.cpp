// CLagArchive over the framework's file streams, so an archive may lie on disk or in the pack.
#include <climits>

#include "framework/files/file_system.h"
#include "framework/graphics/lag_internal.h"

namespace {

class LagFileSource : public LagSource {
public:
    explicit LagFileSource(const char* file) : file_(file) {}
    ~LagFileSource() override { Close(); }

    bool Open() override {
        Close();
        stream_ = ZethFile::FileOpen(file_, true);
        size_ = stream_ != nullptr ? ZethFile::FileGetSize(stream_) : 0;
        position_ = 0;
        return stream_ != nullptr;
    }
    void Close() override {
        if (stream_ != nullptr) ZethFile::FileClose(stream_);
        stream_ = nullptr;
    }
    uint32_t Read(void* buffer, uint32_t count) override {
        if (Remaining() == 0) return 0;
        uint32_t got = ZethFile::FileRead(stream_, count, buffer);
        position_ += got;
        return got;
    }
    // A skip to or past the end ends the archive, so the next header read finds nothing.
    void Skip(uint32_t count) override {
        if (count >= Remaining()) {
            position_ = size_;
            return;
        }
        FileSeek(stream_, static_cast<int32_t>(count <= INT32_MAX ? count : INT32_MAX), 0);
        if (count > INT32_MAX) FileSeek(stream_, static_cast<int32_t>(count - INT32_MAX), 0);
        position_ += count;
    }
    uint64_t Remaining() const override { return size_ - position_; }

private:
    const char* file_;
    ZethFile::Stream* stream_ = nullptr;
    uint64_t size_ = 0;
    uint64_t position_ = 0;
};

}  // namespace

const char* CLagArchive::Load(const char* file, const char* name) {
    LagFileSource source(file);
    return LagLoader::Load(*this, source, name);
}

uint32_t CLagArchive::Find(const char* file, const char* name, uint32_t* width, uint32_t* height, void** destination,
                           uint32_t* format) {
    LagFileSource source(file);
    return LagLoader::Find(source, name, width, height, destination, format);
}
