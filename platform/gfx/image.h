// Image files for the software device: reading the description of an image file held in memory,
// loading it (or a rectangle of it) into a surface with scaling, a colour key and format
// conversion, and saving a texture as BMP or PNG. Reads BMP, PNG, TGA, JPG and uncompressed
// DDS; damaged data gives result::kInvalidData, never a crash.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/gfx/device.h"

namespace platform::gfx {

// Image file formats.
namespace imagefile {
constexpr uint32_t kBmp = 0;
constexpr uint32_t kJpg = 1;
constexpr uint32_t kTga = 2;
constexpr uint32_t kPng = 3;
constexpr uint32_t kDds = 4;
}  // namespace imagefile

// Filters of LoadSurfaceFromFileInMemory.
namespace imagefilter {
constexpr uint32_t kNone = 1;      // copy; the destination takes the top-left of the source
constexpr uint32_t kPoint = 2;     // nearest source pixel
constexpr uint32_t kLinear = 3;    // bilinear
constexpr uint32_t kTriangle = 4;  // area-weighted (box) when shrinking, bilinear when growing
constexpr uint32_t kBox = 5;       // as kTriangle
constexpr uint32_t kFilterMask = 0xFF;
constexpr uint32_t kDefault = 0xFFFFFFFF;  // kTriangle
}  // namespace imagefilter

struct ImageInfo {
    uint32_t width;
    uint32_t height;
    uint32_t depth;
    uint32_t mipLevels;
    Format format;             // the pixel format the file holds (fmt::)
    uint32_t resourceType;     // rtype::kTexture
    uint32_t imageFileFormat;  // imagefile::
};

// The description of an image file in memory; kInvalidData when it is not one.
Result GetImageInfoFromFileInMemory(const void* data, size_t size, ImageInfo* info);

// Loads sourceRect of the image file (null: all of it) into destinationRect of the surface
// (null: all of it), scaled by the filter. Source pixels equal to colorKey (ARGB; 0 for none)
// become 0x00000000 before scaling. The palette argument is unused. info (may be null)
// receives the file's description.
Result LoadSurfaceFromFileInMemory(Surface* destination, const void* palette,
                                   const Rect* destinationRect, const void* data, size_t size,
                                   const Rect* sourceRect, uint32_t filter, uint32_t colorKey,
                                   ImageInfo* info);

// Saves level 0 of a texture (kBmp, kPng; 32-bit with alpha for PNG, 24-bit for BMP).
Result SaveTextureToFile(const char* path, uint32_t fileFormat, Texture* texture,
                         const void* palette);

// Saves a surface the same way.
Result SaveSurfaceToFile(const char* path, uint32_t fileFormat, Surface* surface,
                         const void* palette, const Rect* sourceRect);

}  // namespace platform::gfx
