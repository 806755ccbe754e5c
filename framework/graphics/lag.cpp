#include <algorithm>
#include <cmath>
#include <cstring>
#include <strings.h>

#include "framework/graphics/lag_internal.h"
#include "framework/core/lock.h"
#include "framework/files/byte_order.h"
#include "framework/files/lzss.h"
#include "platform/gfx/constants.h"

namespace {

namespace fmt = platform::gfx::fmt;

constexpr const char* kCannotLoad = "Can't Load LAG File";
constexpr const char* kNoMemory = "メモリ確保に失敗 空きメモリが不足している可能性があります";
constexpr uint32_t kNameSize = 16;

// One entry header, in file order.
struct EntryHeader {
    char name[kNameSize];  // NUL-terminated unless all 16 bytes are used
    uint32_t width;        // pixels
    uint32_t height;       // pixels
    uint32_t format;       // 0 to 7
    uint32_t storedSize;   // bytes of pixel data after this header
};
static_assert(sizeof(EntryHeader) == 32);

bool ReadHeader(LagSource& source, EntryHeader& header) {
    uint8_t bytes[32];
    if (source.Read(bytes, sizeof(bytes)) != sizeof(bytes)) return false;  // the end, or a torn header
    std::memcpy(header.name, bytes, kNameSize);
    header.width = ReadLittleEndian32(bytes + 16);
    header.height = ReadLittleEndian32(bytes + 20);
    header.format = ReadLittleEndian32(bytes + 24);
    header.storedSize = ReadLittleEndian32(bytes + 28);
    return true;
}

bool NameMatches(const EntryHeader& header, const char* name) {
    size_t length = std::strlen(name);
    if (length > kNameSize) return false;
    if (length < kNameSize && header.name[length] != '\0') return false;
    return strncasecmp(header.name, name, length) == 0;
}

// Channels of one pixel in stored order (blue, green, red, alpha), as integers of the format's
// depth or as floats.
struct Channels {
    uint32_t integer[4];
    float real[4];
};

constexpr uint32_t kBytesPerPixel[4] = {2, 4, 8, 16};
constexpr uint32_t kChannelMax[3] = {15, 255, 65535};
constexpr float kChannelReciprocal[3] = {1.0f / 15.0f, 1.0f / 255.0f, 1.0f / 65535.0f};

Channels ReadPixel(uint32_t format, const uint8_t* p) {
    Channels c{};
    switch (format) {
        case CLagArchive::kArgb4444: {
            uint16_t word = ReadLittleEndian16(p);
            c.integer[3] = word & 15;
            c.integer[2] = (word >> 4) & 15;
            c.integer[1] = (word >> 8) & 15;
            c.integer[0] = (word >> 12) & 15;
            break;
        }
        case CLagArchive::kBgra8:
            for (int i = 0; i < 4; ++i) c.integer[i] = p[i];
            break;
        case CLagArchive::kBgra16:
            for (int i = 0; i < 4; ++i) c.integer[i] = ReadLittleEndian16(p + 2 * i);
            break;
        default:
            std::memcpy(c.real, p, sizeof(c.real));
            break;
    }
    return c;
}

// A float channel to an integer of the given maximum: truncated toward zero and wrapped into
// the channel's width, as the stored values are not clamped. Values with no integer (not a
// number, out of range) become 0.
uint32_t FloatToChannel(float value, uint32_t max) {
    float scaled = value * static_cast<float>(max);
    if (!(std::fabs(scaled) < 9.0e18f)) return 0;
    return static_cast<uint32_t>(static_cast<int64_t>(scaled)) & max;
}

void WritePixel(uint32_t sourceFormat, const Channels& c, uint32_t format, uint8_t* p) {
    uint32_t value[4];
    float real[4];
    for (int i = 0; i < 4; ++i) {
        if (format == CLagArchive::kBgraFloat) {
            real[i] = sourceFormat == CLagArchive::kBgraFloat
                          ? c.real[i]
                          : static_cast<float>(c.integer[i]) * kChannelReciprocal[sourceFormat];
        } else if (sourceFormat == CLagArchive::kBgraFloat) {
            value[i] = FloatToChannel(c.real[i], kChannelMax[format]);
        } else {
            value[i] = static_cast<uint32_t>(static_cast<uint64_t>(c.integer[i]) * kChannelMax[format] /
                                             kChannelMax[sourceFormat]);
        }
    }
    switch (format) {
        case CLagArchive::kArgb4444: {
            uint32_t word = value[3] | value[2] << 4 | value[1] << 8 | value[0] << 12;
            p[0] = static_cast<uint8_t>(word);
            p[1] = static_cast<uint8_t>(word >> 8);
            break;
        }
        case CLagArchive::kBgra8:
            for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value[i]);
            break;
        case CLagArchive::kBgra16:
            for (int i = 0; i < 4; ++i) {
                p[2 * i] = static_cast<uint8_t>(value[i]);
                p[2 * i + 1] = static_cast<uint8_t>(value[i] >> 8);
            }
            break;
        default:
            std::memcpy(p, real, sizeof(real));
            break;
    }
}

// The DDS header of a 32-bit ARGB picture.
void WriteDdsHeader(uint8_t* header, uint32_t width, uint32_t height) {
    std::memset(header, 0, CLagArchive::kDdsHeaderSize);
    std::memcpy(header, "DDS ", 4);
    WriteLittleEndian32(header + 4, 124);
    WriteLittleEndian32(header + 8, 0x1007);  // caps, height, width, pixel format
    WriteLittleEndian32(header + 12, height & 0xFFFF);
    WriteLittleEndian32(header + 16, width & 0xFFFF);
    WriteLittleEndian32(header + 76, 32);
    WriteLittleEndian32(header + 80, 0x41);  // RGB with alpha
    WriteLittleEndian32(header + 88, 32);
    WriteLittleEndian32(header + 92, 0x00FF0000);
    WriteLittleEndian32(header + 96, 0x0000FF00);
    WriteLittleEndian32(header + 100, 0x000000FF);
    WriteLittleEndian32(header + 104, 0xFF000000);
}

constexpr uint8_t kDither5[16] = {0, 4, 1, 5, 6, 2, 7, 3, 1, 5, 0, 4, 7, 3, 6, 2};
constexpr uint8_t kDither4[16] = {0, 8, 2, 10, 12, 4, 14, 6, 2, 10, 0, 8, 14, 6, 12, 4};

}  // namespace

bool LagMemorySource::Open() {
    position_ = 0;
    return data_ != nullptr || size_ == 0;
}

uint32_t LagMemorySource::Read(void* buffer, uint32_t count) {
    uint64_t n = count < Remaining() ? count : Remaining();
    if (n > 0) std::memcpy(buffer, data_ + position_, n);
    position_ += n;
    return static_cast<uint32_t>(n);
}

void LagMemorySource::Skip(uint32_t count) { position_ += count < Remaining() ? count : Remaining(); }

uint32_t LagLoader::Find(LagSource& source, const char* name, uint32_t* width, uint32_t* height, void** destination,
                         uint32_t* format) {
    if (!source.Open()) return 0;
    char signature[8];
    if (source.Read(signature, sizeof(signature)) != sizeof(signature) || strncasecmp(signature, "LAG", 4) != 0) {
        source.Close();
        return 0;
    }
    EntryHeader header;
    uint32_t imageSize = 0;
    while (ReadHeader(source, header)) {
        if (!NameMatches(header, name)) {
            source.Skip(header.storedSize);
            continue;
        }
        if (width != nullptr) *width = header.width;
        if (height != nullptr) *height = header.height;
        if (format != nullptr) *format = header.format;
        imageSize = CLagArchive::GetImageSize(header.width, header.height, header.format);
        if (destination != nullptr && imageSize != 0) {
            if (CLagArchive::IsCompressed(header.format)) {
                // Only the bytes the file really holds are read: a stored size that runs past
                // the end of the file is a truncated entry, decoded as far as it goes.
                // Nor more than the image's code can take: literals only, a flag byte for every eight.
                const uint64_t available = std::min<uint64_t>(source.Remaining(), uint64_t{imageSize} + imageSize / 8 + 1);
                uint32_t stored = header.storedSize < available ? header.storedSize : static_cast<uint32_t>(available);
                auto* packed = static_cast<uint8_t*>(Zeth::MemoryAlloc(stored));
                if (packed == nullptr && stored != 0) {
                    imageSize = 0;
                } else {
                    uint32_t got = source.Read(packed, stored);
                    CLagArchive::Decompress(packed, got, destination, imageSize);
                    Zeth::MemoryFree(packed);
                }
            } else {
                source.Read(*destination, imageSize);
            }
        }
        break;
    }
    source.Close();
    return imageSize;
}

const char* LagLoader::Load(CLagArchive& archive, LagSource& source, const char* name) {
    char lowered[256];
    size_t length = 0;
    for (; name[length] != '\0' && length + 1 < sizeof(lowered); ++length) {
        char c = name[length];
        lowered[length] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    lowered[length] = '\0';

    archive.Free();
    uint32_t width = 0, height = 0, format = 0;
    uint32_t imageSize = Find(source, lowered, &width, &height, nullptr, &format);
    if (imageSize == 0) return kCannotLoad;
    // The DDS image holds 4 bytes a pixel; GetImageSize guaranteed that it fits in 32 bits.
    uint32_t fileSize = width * height * 4 + CLagArchive::kDdsHeaderSize;
    void* pixels = Zeth::MemoryAlloc(imageSize);
    if (pixels == nullptr) return kNoMemory;
    if (Find(source, lowered, nullptr, nullptr, &pixels, nullptr) != imageSize) {
        Zeth::MemoryFree(pixels);
        return kCannotLoad;
    }
    auto* image = static_cast<uint8_t*>(Zeth::MemoryAlloc(fileSize));
    if (image == nullptr) {
        Zeth::MemoryFree(pixels);
        return kNoMemory;
    }
    CLagArchive::Convert(width, height, format, pixels, CLagArchive::kBgra8, image + CLagArchive::kDdsHeaderSize);
    WriteDdsHeader(image, width, height);
    Zeth::MemoryFree(pixels);
    archive.image_ = image;
    archive.width_ = width;
    archive.height_ = height;
    archive.pitch_ = width * 4;
    return nullptr;
}

CLagArchive::~CLagArchive() { Free(); }

void CLagArchive::Free() {
    Zeth::MemoryFree(image_);
    image_ = nullptr;
    width_ = height_ = pitch_ = 0;
}

void CLagArchive::GetData(const void** pixels, uint32_t* pitch) const {
    if (pixels != nullptr) *pixels = image_ != nullptr ? image_ + kDdsHeaderSize : nullptr;
    if (pitch != nullptr) *pitch = pitch_;
}

void CLagArchive::GetSize(uint32_t* width, uint32_t* height) const {
    if (width != nullptr) *width = width_;
    if (height != nullptr) *height = height_;
}

uint32_t CLagArchive::GetImageSize(uint32_t width, uint32_t height, uint32_t format) {
    // No texture is larger: a header that claims more is damaged.
    if (format > 7 || width > kMaxSide || height > kMaxSide) return 0;
    uint64_t pixels = static_cast<uint64_t>(width) * height;
    uint64_t bytes = pixels * kBytesPerPixel[format & 3];
    // Both the stored image and its 32-bit DDS form must be addressable in 32 bits.
    if (bytes > UINT32_MAX || pixels * 4 + kDdsHeaderSize > UINT32_MAX) return 0;
    return static_cast<uint32_t>(bytes);
}

// The entry's data is a bare LZSS code stream: it is decoded as the body of a container whose
// header names the image size, so the decoder stops at the image size and at the data's end.
bool CLagArchive::Decompress(const uint8_t* source, uint32_t sourceSize, void** destination, uint32_t imageSize) {
    if (sourceSize > UINT32_MAX - kLzssHeaderSize) return false;
    auto* container = static_cast<uint8_t*>(Zeth::MemoryAlloc(sourceSize + kLzssHeaderSize));
    if (container == nullptr) return false;
    WriteLittleEndian32(container, kLzssMagic);
    WriteLittleEndian32(container + 4, imageSize);
    if (sourceSize > 0) std::memcpy(container + kLzssHeaderSize, source, sourceSize);
    bool decoded = LzssDecode(container, sourceSize + kLzssHeaderSize, *destination, imageSize);
    Zeth::MemoryFree(container);
    return decoded;
}

void CLagArchive::Convert(uint32_t width, uint32_t height, uint32_t sourceFormat, const void* source,
                          uint32_t destinationFormat, void* destination) {
    sourceFormat &= 3;
    destinationFormat &= 3;
    uint64_t pixels = static_cast<uint64_t>(width) * height;
    const auto* in = static_cast<const uint8_t*>(source);
    auto* out = static_cast<uint8_t*>(destination);
    uint32_t inSize = kBytesPerPixel[sourceFormat];
    uint32_t outSize = kBytesPerPixel[destinationFormat];
    if (sourceFormat == destinationFormat) {
        std::memcpy(out, in, pixels * inSize);
        return;
    }
    for (uint64_t i = 0; i < pixels; ++i) {
        WritePixel(sourceFormat, ReadPixel(sourceFormat, in + i * inSize), destinationFormat, out + i * outSize);
    }
}

uint32_t CLagArchive::Dither5(uint32_t c, uint32_t x, uint32_t y) {
    return (c * 249 >> 8) + kDither5[(y & 3) * 4 + (x & 3)];
}

uint32_t CLagArchive::Dither4(uint32_t c, uint32_t x, uint32_t y) {
    return (c * 242 >> 8) + kDither4[(y & 3) * 4 + (x & 3)];
}

void CLagArchive::CopyToSurface(void* bits, uint32_t pitch, uint32_t format) const {
    CopyRectToSurface(bits, pitch, 0, 0, width_, height_, 0, 0, format);
}

void CLagArchive::CopyRectToSurface(void* bits, uint32_t pitch, uint32_t left, uint32_t top, uint32_t width,
                                    uint32_t height, uint32_t x, uint32_t y, uint32_t format) const {
    if (image_ == nullptr || left >= width_ || top >= height_) return;
    if (width > width_ - left) width = width_ - left;
    if (height > height_ - top) height = height_ - top;
    for (uint32_t row = 0; row < height; ++row) {
        const uint8_t* in = image_ + kDdsHeaderSize + static_cast<size_t>(top + row) * pitch_ + left * 4;
        uint8_t* line = static_cast<uint8_t*>(bits) + static_cast<size_t>(y + row) * pitch;
        for (uint32_t column = 0; column < width; ++column) {
            uint32_t b = in[4 * column], g = in[4 * column + 1], r = in[4 * column + 2], a = in[4 * column + 3];
            uint32_t dx = x + column, dy = y + row;
            uint32_t pixel = 0;
            switch (format) {
                case fmt::kA8R8G8B8:
                case fmt::kX8R8G8B8:
                    std::memcpy(line + 4 * dx, in + 4 * column, 4);
                    continue;
                case fmt::kR5G6B5:
                    pixel = (Dither5(r, dx, dy) >> 3) << 11 | (Dither5(g, dx, dy) >> 2) << 5 | Dither5(b, dx, dy) >> 3;
                    break;
                case fmt::kA1R5G5B5:
                case fmt::kX1R5G5B5:
                    pixel = (a > 127 ? 0x8000u : 0u) | (Dither5(r, dx, dy) >> 3) << 10 | (Dither5(g, dx, dy) >> 3) << 5 |
                            Dither5(b, dx, dy) >> 3;
                    break;
                case fmt::kA4R4G4B4:
                case fmt::kX4R4G4B4:
                    pixel = (Dither4(a, dx, dy) >> 4) << 12 | (Dither4(r, dx, dy) >> 4) << 8 |
                            (Dither4(g, dx, dy) >> 4) << 4 | Dither4(b, dx, dy) >> 4;
                    break;
                default:
                    return;
            }
            line[2 * dx] = static_cast<uint8_t>(pixel);
            line[2 * dx + 1] = static_cast<uint8_t>(pixel >> 8);
        }
    }
}
