// The "LZSS" container: the bytes "LZSS", the decoded size D (32-bit little-endian), then the
// code stream. The stream is groups of a flag byte (read from its lowest bit up: 1 = literal,
// 0 = match) and up to eight items; a literal is one byte, a match two bytes b0 b1 naming a
// 12-bit ring position b0 + (b1 & 0xF0) * 16 and a length (b1 & 0x0F) + 3. The ring of 4096
// bytes starts zero-filled with its first write at 4080.
#pragma once

#include <cstdint>

constexpr uint32_t kLzssMagic = 0x53535A4C;  // the bytes "LZSS" read little-endian
constexpr uint32_t kLzssHeaderSize = 8;
constexpr uint32_t kLzssRingSize = 4096;
constexpr uint32_t kLzssRingStart = 4080;
constexpr uint32_t kLzssMinMatch = 3;
constexpr uint32_t kLzssMaxMatch = 18;
// No container of ours decodes to more; a header claiming more is damaged.
constexpr uint32_t kLzssMaxDecodedSize = 256u << 20;

// True when the data starts with the bytes "LZSS".
bool LzssHasMagic(const void* data, uint32_t length);
// D of a container, or -1 when the data is not a container (shorter than its header, another
// magic) or claims more than its stream could produce or more than kLzssMaxDecodedSize.
int32_t LzssGetSize(const void* data, uint32_t length);
// Decodes a container of length bytes into output (room for outputSize bytes). True when D
// bytes were written; false for a bad header, D above outputSize, or a stream that ends early.
bool LzssDecode(const void* container, uint32_t length, void* output, uint32_t outputSize);
