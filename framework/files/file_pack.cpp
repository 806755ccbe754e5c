#include "framework/files/file_pack.h"

#include <array>
#include <cstring>
#include <string>

#include "framework/files/byte_order.h"
#include "framework/files/sjis.h"

namespace {

constexpr std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

// Below this many entries left the search compares one by one.
constexpr uint32_t kLinearTail = 5;

}  // namespace

uint32_t Crc32(const void* data, size_t size) {
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) crc = kCrcTable[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void NormalizePath(char* destination, const char* source) {
    while (*source != '\0') {
        uint32_t code = 0;
        if (SjisReadChar(source, &code) == 2) {
            destination[0] = source[0];
            destination[1] = source[1];
            destination += 2;
            source += 2;
            continue;
        }
        char c = *source++;
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        else if (c == '/') c = '\\';
        *destination++ = c;
    }
}

uint32_t PathKey(const char* relativePath) {
    std::string normalised(std::strlen(relativePath), '\0');
    NormalizePath(normalised.data(), relativePath);
    return Crc32(normalised.data(), normalised.size());
}

bool PackReadHeader(const uint8_t (&header)[kPackHeaderSize], uint64_t fileSize, uint32_t* count) {
    if (ReadLittleEndian32(header) != kPackMagic) return false;
    const uint32_t entries = ReadLittleEndian32(header + 4);
    // In 64 bits the table size cannot overflow. A table larger than the file, or than any data
    // set needs, is a damaged pack.
    const uint64_t tableBytes = uint64_t{entries} * sizeof(PackEntry);
    if (entries > kPackMaxEntries || kPackHeaderSize + tableBytes > fileSize) return false;
    *count = entries;
    return true;
}

bool PackTableSorted(const PackEntry* table, uint32_t count) {
    for (uint32_t i = 1; i < count; ++i) {
        if (table[i].key < table[i - 1].key) return false;
    }
    return true;
}

bool PackEntryInside(const PackEntry& entry, uint64_t packSize) {
    return uint64_t{entry.offset} + entry.size <= packSize;
}

const PackEntry* PackFindKey(const PackEntry* table, uint32_t count, uint32_t key) {
    if (count == 0) return nullptr;
    uint32_t lo = 0;
    uint32_t hi = count - 1;
    if (key < table[lo].key || key > table[hi].key) return nullptr;
    // lo and hi move onto mid, not past it; the short linear tail finishes the search.
    while (hi - lo >= kLinearTail) {
        const uint32_t mid = lo + (hi - lo) / 2;
        if (table[mid].key == key) return &table[mid];
        if (key < table[mid].key) hi = mid;
        else lo = mid;
    }
    for (uint32_t i = lo; i <= hi; ++i) {
        if (table[i].key == key) return &table[i];
    }
    return nullptr;
}

const PackEntry* PackFindEntry(const PackEntry* table, uint32_t count, const char* normalisedPath) {
    if (count == 0) return nullptr;
    return PackFindKey(table, count, Crc32(normalisedPath, std::strlen(normalisedPath)));
}
