// Decoding image files to ARGB and encoding ARGB pictures to files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gfx/image.h"

namespace platform::gfx {

// Largest picture the decoder accepts: the device's side limit, and a bound on the memory a
// damaged header can ask for.
constexpr uint32_t kMaxImageSide = 8192;
constexpr uint64_t kMaxImagePixels = uint64_t(1) << 24;

struct DecodedImage {
    ImageInfo info{};
    std::vector<uint32_t> argb;  // info.width x info.height, row after row
};

// Reads the description only; false when the data is no image the decoder knows.
bool ReadImageInfo(const uint8_t* data, size_t size, ImageInfo* info);
// Decodes the whole picture; false when the data is damaged or unknown.
bool DecodeImage(const uint8_t* data, size_t size, DecodedImage* image);
// Writes a picture as BMP or PNG (with alpha when `alpha`); false on a write failure.
bool EncodeImage(const char* path, uint32_t fileFormat, const uint32_t* argb, uint32_t width,
                 uint32_t height, bool alpha);

}  // namespace platform::gfx
