// The data pack "PACK": an 8-byte header, a table of 80-byte entries sorted by key (unsigned),
// then the entries' data. A key is the CRC-32 of the entry's normalised relative path.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint32_t kPackMagic = 0x4B434150;  // the bytes "PACK" read little-endian
constexpr uint32_t kPackHeaderSize = 8;      // magic, entry count
constexpr uint32_t kPackNameSize = 64;
// The most entries a pack may hold (a table of 5 MB): a data set has a few hundred files, and a
// header that claims more is damaged.
constexpr uint32_t kPackMaxEntries = 65536;

// One table entry, in file order (little-endian).
struct PackEntry {
    char name[kPackNameSize];  // the relative path, for people only; never read by the framework
    uint32_t key;              // CRC-32 of the normalised relative path
    uint32_t reserved;         // 0
    uint32_t offset;           // of the data from the start of the pack file
    uint32_t size;             // of the stored data in bytes
};
static_assert(sizeof(PackEntry) == 80, "a pack entry is 80 bytes");

// The common reflected CRC-32 (polynomial 0xEDB88320, as zlib's crc32).
uint32_t Crc32(const void* data, size_t size);
// Key normalisation: 'a'-'z' become 'A'-'Z' and '/' becomes '\', two-byte Shift-JIS characters
// are copied unchanged. Writes no terminating zero: the destination must be zero-filled.
void NormalizePath(char* destination, const char* source);
// The pack key of a relative path ("texture\\bullet.bmp"): CRC-32 of its normalised bytes.
uint32_t PathKey(const char* relativePath);

// The entry count of a pack header, or false when the header is not a pack, claims more than
// kPackMaxEntries entries, or its table cannot fit in a file of fileSize bytes.
bool PackReadHeader(const uint8_t (&header)[kPackHeaderSize], uint64_t fileSize, uint32_t* count);
// True when the table is sorted by key in ascending unsigned order, as the search needs: in an
// unsorted one, entries that are there would be missed.
bool PackTableSorted(const PackEntry* table, uint32_t count);
// True when the entry's data lies inside a pack of packSize bytes.
bool PackEntryInside(const PackEntry& entry, uint64_t packSize);
// Binary search of a table sorted by unsigned key; null when the key is not there.
const PackEntry* PackFindKey(const PackEntry* table, uint32_t count, uint32_t key);
// The entry of a normalised relative path, or null.
const PackEntry* PackFindEntry(const PackEntry* table, uint32_t count, const char* normalisedPath);
