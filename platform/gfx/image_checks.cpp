#include "platform/gfx/image_checks.h"

#include <algorithm>
#include <cstring>

namespace platform::gfx {

namespace {

constexpr uint8_t kStartOfImage = 0xD8;
constexpr uint8_t kEndOfImage = 0xD9;
constexpr uint8_t kHuffmanTables = 0xC4;
constexpr uint8_t kTemporary = 0x01;
constexpr size_t kMaxHuffmanCodes = 256;
constexpr size_t kHuffmanCounts = 16;

bool IsRestart(uint8_t marker) { return marker >= 0xD0 && marker <= 0xD7; }

// The decoder reads zeros past the end of the data; so does this.
uint32_t ByteAt(const uint8_t* data, size_t size, size_t at) { return at < size ? data[at] : 0u; }

uint32_t Le16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t Le32(const uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }

// The tables of one Huffman segment whose length field starts at `at`, read as the decoder reads
// them: a class-and-slot byte, 16 code counts, then as many values as the counts add up to.
bool SegmentTablesFit(const uint8_t* data, size_t size, size_t at) {
    int64_t left = int64_t(ByteAt(data, size, at) << 8 | ByteAt(data, size, at + 1)) - 2;
    size_t table = at + 2;
    while (left > 0 && table < size) {
        size_t codes = 0;
        for (size_t i = 0; i < kHuffmanCounts; ++i) codes += ByteAt(data, size, table + 1 + i);
        if (codes > kMaxHuffmanCodes) return false;
        table += 1 + kHuffmanCounts + codes;
        left -= int64_t(1 + kHuffmanCounts + codes);
    }
    return true;
}

}  // namespace

bool JpegHuffmanTablesFit(const uint8_t* data, size_t size) {
    // The decoder takes any run of 0xFF bytes followed by the start-of-image code as a JPEG.
    size_t at = 0;
    if (size == 0 || data[0] != 0xFF) return true;
    while (at < size && data[at] == 0xFF) ++at;
    if (at >= size || data[at] != kStartOfImage) return true;
    ++at;
    // Every marker after it, in headers and between the entropy-coded bytes alike: a marker is a
    // run of 0xFF and a code other than 0 (a stuffed data byte) and the eight restart codes.
    while (at < size) {
        if (data[at] != 0xFF) {
            ++at;
            continue;
        }
        while (at < size && data[at] == 0xFF) ++at;
        if (at >= size) break;
        const uint8_t marker = data[at++];
        if (marker == 0 || IsRestart(marker) || marker == kStartOfImage || marker == kTemporary) continue;
        if (marker == kEndOfImage) break;
        if (marker == kHuffmanTables && !SegmentTablesFit(data, size, at)) return false;
        const size_t length = ByteAt(data, size, at) << 8 | ByteAt(data, size, at + 1);
        if (length < 2) break;  // the decoder stops at such a segment
        at += length;
    }
    return true;
}

bool BmpPixelsPresent(const uint8_t* data, size_t size) {
    constexpr size_t kFileHeader = 14;
    constexpr size_t kCoreHeader = 12;   // the oldest header: 16-bit sides
    constexpr size_t kInfoFields = 34;   // the 32-bit sides, planes, depth and compression
    if (size < 2 || std::memcmp(data, "BM", 2) != 0) return true;
    if (size < kFileHeader + 4) return false;
    const uint32_t headerSize = Le32(data + 14);
    uint64_t width = 0, height = 0, bits = 0;
    if (headerSize == kCoreHeader) {
        if (size < kFileHeader + kCoreHeader) return false;
        width = Le16(data + 18);
        height = Le16(data + 20);
        bits = Le16(data + 24);
    } else {
        if (size < kFileHeader + kInfoFields) return false;
        const uint32_t compression = Le32(data + 30);
        if (compression == 1 || compression == 2) return true;  // run-length rows have no fixed size
        width = Le32(data + 18);
        const int32_t signedHeight = int32_t(Le32(data + 22));  // negative: rows stored top first
        height = signedHeight < 0 ? uint64_t(-int64_t(signedHeight)) : uint64_t(signedHeight);
        bits = Le16(data + 28);
    }
    const uint64_t rowBytes = (width * bits + 31) / 32 * 4;
    const uint64_t start = std::max<uint64_t>(Le32(data + 10), kFileHeader + headerSize);
    return start + rowBytes * height <= size;
}

}  // namespace platform::gfx
