// Checks on image files that the decoder library trusts and must not be handed unchecked.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::gfx {

// False when the data is a JPEG with a Huffman table of more than 256 codes (the decoder builds
// each table into fixed arrays of that size without checking the counts). Any other data is true.
bool JpegHuffmanTablesFit(const uint8_t* data, size_t size);

// False when the data is a BMP whose uncompressed pixel rows end past the end of the data (the
// decoder would fill the missing rows with zeros). Any other data is true.
bool BmpPixelsPresent(const uint8_t* data, size_t size);

}  // namespace platform::gfx
