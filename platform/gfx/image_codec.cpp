// Image file decoding and encoding: BMP, PNG, TGA and JPG through stb_image and
// stb_image_write (compiled here, private to this file), uncompressed DDS by our own reader.
#include "platform/gfx/image_codec.h"

#include <cstring>

#include "platform/gfx/image_checks.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_BMP
#define STBI_ONLY_PNG
#define STBI_ONLY_TGA
#define STBI_ONLY_JPEG
#define STBI_MAX_DIMENSIONS 8192
#include <stb/stb_image.h>
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace platform::gfx {

namespace {

uint32_t ReadLe32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool StartsWith(const uint8_t* data, size_t size, const char* magic, size_t length) {
    return size >= length && std::memcmp(data, magic, length) == 0;
}

// The DDS header fields the reader uses, by offset from the start of the file.
struct DdsHeader {
    static constexpr size_t kSize = 128;        // "DDS " and the 124-byte header
    static constexpr size_t kHeight = 12;
    static constexpr size_t kWidth = 16;
    static constexpr size_t kPixelFlags = 80;   // 0x1 alpha present, 0x4 four-character code, 0x40 RGB
    static constexpr size_t kBitCount = 88;
    static constexpr size_t kRedMask = 92;
    static constexpr size_t kGreenMask = 96;
    static constexpr size_t kBlueMask = 100;
    static constexpr size_t kAlphaMask = 104;
    static constexpr size_t kCaps2 = 112;       // cube map and volume bits
};

struct DdsLayout {
    uint32_t width, height, bytesPerPixel;
    uint32_t masks[4];  // alpha, red, green, blue
    bool alpha;
};

// Uncompressed RGB(A) DDS files only; anything else is reported as unknown.
bool ReadDdsLayout(const uint8_t* data, size_t size, DdsLayout* layout) {
    if (!StartsWith(data, size, "DDS ", 4) || size < DdsHeader::kSize || ReadLe32(data + 4) != 124) {
        return false;
    }
    const uint32_t flags = ReadLe32(data + DdsHeader::kPixelFlags);
    const uint32_t bits = ReadLe32(data + DdsHeader::kBitCount);
    if (!(flags & 0x40) || (flags & 0x4) || ReadLe32(data + DdsHeader::kCaps2) != 0 ||
        (bits != 16 && bits != 24 && bits != 32)) {
        return false;
    }
    layout->width = ReadLe32(data + DdsHeader::kWidth);
    layout->height = ReadLe32(data + DdsHeader::kHeight);
    layout->bytesPerPixel = bits / 8;
    layout->alpha = (flags & 0x1) != 0;
    layout->masks[0] = layout->alpha ? ReadLe32(data + DdsHeader::kAlphaMask) : 0;
    layout->masks[1] = ReadLe32(data + DdsHeader::kRedMask);
    layout->masks[2] = ReadLe32(data + DdsHeader::kGreenMask);
    layout->masks[3] = ReadLe32(data + DdsHeader::kBlueMask);
    return layout->width > 0 && layout->height > 0 && layout->width <= kMaxImageSide &&
           layout->height <= kMaxImageSide &&
           uint64_t(layout->width) * layout->height <= kMaxImagePixels;
}

// A channel under `mask` scaled to 8 bits.
uint32_t MaskedChannel(uint32_t pixel, uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = __builtin_ctz(mask);
    const uint32_t max = mask >> shift;
    return uint32_t((uint64_t((pixel & mask) >> shift) * 255 + max / 2) / max);
}

bool DecodeDds(const uint8_t* data, size_t size, DecodedImage* image) {
    DdsLayout l;
    if (!ReadDdsLayout(data, size, &l)) return false;
    const uint64_t bytes = uint64_t(l.width) * l.height * l.bytesPerPixel;
    if (bytes > size - DdsHeader::kSize) return false;
    image->argb.resize(size_t(l.width) * l.height);
    const uint8_t* p = data + DdsHeader::kSize;
    for (size_t i = 0; i < image->argb.size(); ++i, p += l.bytesPerPixel) {
        uint32_t pixel = 0;
        for (uint32_t b = 0; b < l.bytesPerPixel; ++b) pixel |= uint32_t(p[b]) << (8 * b);
        const uint32_t a = l.alpha ? MaskedChannel(pixel, l.masks[0]) : 255;
        image->argb[i] = a << 24 | MaskedChannel(pixel, l.masks[1]) << 16 |
                         MaskedChannel(pixel, l.masks[2]) << 8 | MaskedChannel(pixel, l.masks[3]);
    }
    return true;
}

uint32_t FileFormatOf(const uint8_t* data, size_t size) {
    if (StartsWith(data, size, "BM", 2)) return imagefile::kBmp;
    if (StartsWith(data, size, "\x89PNG", 4)) return imagefile::kPng;
    if (StartsWith(data, size, "\xFF\xD8", 2)) return imagefile::kJpg;
    return imagefile::kTga;  // the one format without a signature
}

}  // namespace

bool ReadImageInfo(const uint8_t* data, size_t size, ImageInfo* info) {
    if (!data) return false;
    *info = {};
    info->depth = 1;
    info->mipLevels = 1;
    info->resourceType = rtype::kTexture;
    DdsLayout dds;
    if (ReadDdsLayout(data, size, &dds)) {
        info->width = dds.width;
        info->height = dds.height;
        info->format = dds.alpha ? fmt::kA8R8G8B8 : fmt::kX8R8G8B8;
        info->imageFileFormat = imagefile::kDds;
        return true;
    }
    if (size > size_t(INT32_MAX) || !JpegHuffmanTablesFit(data, size)) return false;
    int width = 0, height = 0, components = 0;
    if (!stbi_info_from_memory(data, int(size), &width, &height, &components) || width <= 0 ||
        height <= 0 || uint32_t(width) > kMaxImageSide || uint32_t(height) > kMaxImageSide ||
        uint64_t(width) * uint64_t(height) > kMaxImagePixels) {
        return false;
    }
    info->width = uint32_t(width);
    info->height = uint32_t(height);
    // Every picture is stored as 32-bit colour; the format says whether it carries alpha.
    info->format = (components == 2 || components == 4) ? fmt::kA8R8G8B8 : fmt::kX8R8G8B8;
    info->imageFileFormat = FileFormatOf(data, size);
    return true;
}

bool DecodeImage(const uint8_t* data, size_t size, DecodedImage* image) {
    if (!ReadImageInfo(data, size, &image->info)) return false;
    if (image->info.imageFileFormat == imagefile::kDds) return DecodeDds(data, size, image);
    if (!BmpPixelsPresent(data, size)) return false;
    int width = 0, height = 0, components = 0;
    stbi_uc* rgba = stbi_load_from_memory(data, int(size), &width, &height, &components, 4);
    if (!rgba) return false;
    if (uint32_t(width) != image->info.width || uint32_t(height) != image->info.height) {
        stbi_image_free(rgba);
        return false;
    }
    image->argb.resize(size_t(width) * size_t(height));
    for (size_t i = 0; i < image->argb.size(); ++i) {
        const stbi_uc* p = rgba + 4 * i;
        image->argb[i] = uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    }
    stbi_image_free(rgba);
    return true;
}

bool EncodeImage(const char* path, uint32_t fileFormat, const uint32_t* argb, uint32_t width,
                 uint32_t height, bool alpha) {
    const int components = alpha ? 4 : 3;
    std::vector<uint8_t> bytes(size_t(width) * height * size_t(components));
    for (size_t i = 0; i < size_t(width) * height; ++i) {
        uint8_t* p = bytes.data() + i * size_t(components);
        p[0] = uint8_t(argb[i] >> 16);
        p[1] = uint8_t(argb[i] >> 8);
        p[2] = uint8_t(argb[i]);
        if (alpha) p[3] = uint8_t(argb[i] >> 24);
    }
    const int w = int(width), h = int(height);
    switch (fileFormat) {
        case imagefile::kBmp: return stbi_write_bmp(path, w, h, components, bytes.data()) != 0;
        case imagefile::kPng:
            return stbi_write_png(path, w, h, components, bytes.data(), w * components) != 0;
        default: return false;
    }
}

}  // namespace platform::gfx
