#include "platform/audio/reader.h"

#include <cstdio>
#include <cstring>

#include "platform/os/files.h"

namespace platform::audio {

namespace {

class FileWindowReader : public Reader {
public:
    FileWindowReader(std::FILE* file, uint64_t offset, uint64_t size) : file_(file), offset_(offset), size_(size) {}
    ~FileWindowReader() override { std::fclose(file_); }
    FileWindowReader(const FileWindowReader&) = delete;
    FileWindowReader& operator=(const FileWindowReader&) = delete;

    uint32_t Read(void* buffer, uint32_t bytes) override {
        uint64_t left = size_ - position_;
        if (bytes > left) bytes = static_cast<uint32_t>(left);
        if (bytes == 0 || std::fseek(file_, static_cast<long>(offset_ + position_), SEEK_SET) != 0) return 0;
        uint32_t got = static_cast<uint32_t>(std::fread(buffer, 1, bytes, file_));
        position_ += got;
        return got;
    }
    bool Seek(uint64_t offset) override {
        if (offset > size_) return false;
        position_ = offset;
        return true;
    }
    uint64_t Tell() override { return position_; }
    uint64_t Size() override { return size_; }

private:
    std::FILE* file_;
    uint64_t offset_;
    uint64_t size_;
    uint64_t position_ = 0;
};

class HeldBytes : public Reader {
public:
    explicit HeldBytes(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)), reader_(bytes_.data(), bytes_.size()) {}

    uint32_t Read(void* buffer, uint32_t bytes) override { return reader_.Read(buffer, bytes); }
    bool Seek(uint64_t offset) override { return reader_.Seek(offset); }
    uint64_t Tell() override { return reader_.Tell(); }
    uint64_t Size() override { return reader_.Size(); }

private:
    std::vector<uint8_t> bytes_;
    MemoryReader reader_;  // over bytes_, which never moves
};

}  // namespace

std::unique_ptr<Reader> HeldBytesReader(std::vector<uint8_t> bytes) { return std::make_unique<HeldBytes>(std::move(bytes)); }

std::unique_ptr<Reader> OpenFileWindow(const std::string& path, uint64_t offset, uint64_t size) {
    // Opened as every data file is, so a named pipe in a file's place is refused, not waited on.
    FileHandle handle = OpenFileForReading(path);
    std::FILE* file = handle == kNoFile ? nullptr : fdopen(handle, "rb");
    if (file == nullptr) {
        CloseFile(handle);
        return nullptr;
    }
    long length = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) length = std::ftell(file);
    uint64_t fileSize = length < 0 ? 0 : static_cast<uint64_t>(length);
    if (length < 0 || offset > fileSize || size > fileSize - offset) {
        std::fclose(file);
        return nullptr;
    }
    if (size == 0) size = fileSize - offset;
    return std::make_unique<FileWindowReader>(file, offset, size);
}

uint32_t MemoryReader::Read(void* buffer, uint32_t bytes) {
    uint64_t left = size_ - position_;
    if (bytes > left) bytes = static_cast<uint32_t>(left);
    if (bytes != 0) std::memcpy(buffer, data_ + position_, bytes);
    position_ += bytes;
    return bytes;
}

bool MemoryReader::Seek(uint64_t offset) {
    if (offset > size_) return false;
    position_ = offset;
    return true;
}

}  // namespace platform::audio
