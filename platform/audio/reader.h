// The byte source the players read their files through: a file on disk, a window of one (a pack
// entry) or memory. The framework feeds its own file layer through the same interface.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::audio {

class Reader {
public:
    virtual ~Reader() = default;
    virtual uint32_t Read(void* buffer, uint32_t bytes) = 0;  // bytes actually read
    virtual bool Seek(uint64_t offset) = 0;                   // from the start of the data
    virtual uint64_t Tell() = 0;
    virtual uint64_t Size() = 0;
};

// Reads size bytes of the file at path from offset on (size 0 = to the end of the file);
// null when the file cannot be opened or the window lies outside it.
std::unique_ptr<Reader> OpenFileWindow(const std::string& path, uint64_t offset, uint64_t size);

// Reads bytes it holds itself.
std::unique_ptr<Reader> HeldBytesReader(std::vector<uint8_t> bytes);

// Reads a block of memory the caller keeps alive.
class MemoryReader : public Reader {
public:
    MemoryReader(const void* data, uint64_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}
    uint32_t Read(void* buffer, uint32_t bytes) override;
    bool Seek(uint64_t offset) override;
    uint64_t Tell() override { return position_; }
    uint64_t Size() override { return size_; }

private:
    const uint8_t* data_;
    uint64_t size_;
    uint64_t position_ = 0;
};

}  // namespace platform::audio
