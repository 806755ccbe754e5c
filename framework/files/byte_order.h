// Little-endian integers in file formats, read byte by byte so alignment never matters.
#pragma once

#include <cstdint>

inline uint32_t ReadLittleEndian32(const uint8_t* bytes) {
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}
