// Appends little-endian integers to a byte vector, as the pack and LZSS formats store them.
#pragma once

#include <cstdint>
#include <vector>

namespace pack {

inline void PutLittleEndian32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace pack
