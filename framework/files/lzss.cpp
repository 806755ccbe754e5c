#include "framework/files/lzss.h"

#include <cstring>

#include "framework/files/byte_order.h"

namespace {

// The most a stream of streamLength bytes can expand to: a flag byte and eight two-byte
// matches (17 bytes) give 144, so no stream gives more than 9 bytes per byte.
uint64_t MostDecodedFrom(uint32_t streamLength) { return uint64_t{streamLength} * 9; }

// Reads the code stream one byte at a time and reports when it runs out.
class CodeReader {
public:
    CodeReader(const uint8_t* data, uint32_t length) : data_(data), length_(length) {}
    bool Next(uint8_t* byte) {
        if (position_ >= length_) return false;
        *byte = data_[position_++];
        return true;
    }

private:
    const uint8_t* data_;
    uint32_t length_;
    uint32_t position_ = 0;
};

}  // namespace

bool LzssHasMagic(const void* data, uint32_t length) {
    return length >= 4 && ReadLittleEndian32(static_cast<const uint8_t*>(data)) == kLzssMagic;
}

int32_t LzssGetSize(const void* data, uint32_t length) {
    if (length < kLzssHeaderSize || !LzssHasMagic(data, length)) return -1;
    const uint32_t decoded = ReadLittleEndian32(static_cast<const uint8_t*>(data) + 4);
    if (decoded > kLzssMaxDecodedSize || decoded > MostDecodedFrom(length - kLzssHeaderSize)) return -1;
    return static_cast<int32_t>(decoded);
}

bool LzssDecode(const void* container, uint32_t length, void* output, uint32_t outputSize) {
    const int32_t size = LzssGetSize(container, length);
    if (size < 0 || static_cast<uint32_t>(size) > outputSize) return false;
    uint8_t* out = static_cast<uint8_t*>(output);
    uint32_t remaining = static_cast<uint32_t>(size);
    if (remaining == 0) return true;

    CodeReader reader(static_cast<const uint8_t*>(container) + kLzssHeaderSize, length - kLzssHeaderSize);
    uint8_t ring[kLzssRingSize];
    std::memset(ring, 0, sizeof(ring));
    uint32_t r = kLzssRingStart;
    // The high byte's ones count the items left in the current group: when bit 8 has been
    // shifted out, the next byte read is a new flag byte.
    uint32_t flags = 0;
    auto emit = [&](uint8_t byte) {
        *out++ = byte;
        ring[r] = byte;
        r = (r + 1) & (kLzssRingSize - 1);
        return --remaining != 0;
    };
    for (;;) {
        flags >>= 1;
        if ((flags & 0x100) == 0) {
            uint8_t c = 0;
            if (!reader.Next(&c)) return false;
            flags = c | 0xFF00u;
        }
        if (flags & 1) {
            uint8_t literal = 0;
            if (!reader.Next(&literal)) return false;
            if (!emit(literal)) return true;
            continue;
        }
        uint8_t b0 = 0, b1 = 0;
        if (!reader.Next(&b0) || !reader.Next(&b1)) return false;
        const uint32_t position = b0 + (b1 & 0xF0u) * 16;
        const uint32_t matchLength = (b1 & 0x0Fu) + kLzssMinMatch;
        // Byte by byte, so a match may read what it has just written (runs).
        for (uint32_t k = 0; k < matchLength; ++k) {
            if (!emit(ring[(position + k) & (kLzssRingSize - 1)])) return true;
        }
    }
}
