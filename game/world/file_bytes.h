// Little-endian 32-bit fields of the game's own files, written to and read from byte buffers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/files/byte_order.h"

inline void AppendLittleEndian32(std::vector<uint8_t>* out, int32_t value) {
    uint32_t bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out->push_back(static_cast<uint8_t>(bits >> shift));
}

// Reads fields front to back and says when the bytes run out.
class FieldReader {
public:
    FieldReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    // The next field; false (value untouched) when fewer than four bytes are left.
    bool Next(int32_t* value) {
        if (size_ - at_ < 4) return false;
        *value = static_cast<int32_t>(ReadLittleEndian32(data_ + at_));
        at_ += 4;
        return true;
    }
    size_t Remaining() const { return size_ - at_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};
