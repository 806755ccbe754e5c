// The compressor for the framework's "LZSS" container (framework/files/lzss.h describes the format).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pack {

// The whole container: header and code stream. Greedy longest matches found through hash
// chains; the decoder's zero-filled ring also serves as history for the first bytes.
std::vector<uint8_t> LzssEncode(const uint8_t* data, size_t size);

}  // namespace pack
