// The archive reader behind CLagArchive, over any byte source: the framework's file streams,
// or memory for tests and the fuzzer.
#pragma once

#include <cstdint>

#include "framework/graphics/lag.h"

class LagSource {
public:
    virtual ~LagSource() = default;
    virtual bool Open() = 0;
    virtual void Close() = 0;
    virtual uint32_t Read(void* buffer, uint32_t count) = 0;  // bytes actually read
    virtual void Skip(uint32_t count) = 0;                    // past the end is allowed
    virtual uint64_t Remaining() const = 0;                   // bytes left to read
};

// A source over bytes held by the caller.
class LagMemorySource : public LagSource {
public:
    LagMemorySource(const void* data, uint64_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}
    bool Open() override;
    void Close() override {}
    uint32_t Read(void* buffer, uint32_t count) override;
    void Skip(uint32_t count) override;
    uint64_t Remaining() const override { return size_ - position_; }

private:
    const uint8_t* data_;
    uint64_t size_;
    uint64_t position_ = 0;
};

struct LagLoader {
    static uint32_t Find(LagSource& source, const char* name, uint32_t* width, uint32_t* height, void** destination,
                         uint32_t* format);
    static const char* Load(CLagArchive& archive, LagSource& source, const char* name);
};
