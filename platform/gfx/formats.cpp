// Pixel formats the device stores. Narrowing truncates and widening replicates the top bits,
// so a 16-bit pixel survives a round trip through ARGB unchanged.
#include "platform/gfx/formats.h"

#include "platform/gfx/device.h"

namespace platform::gfx {

namespace {

// One row per stored colour format: where each channel sits in the native word.
struct ChannelLayout {
    Format format;
    uint32_t bytes;
    uint8_t aBits, aShift, rBits, rShift, gBits, gShift, bBits, bShift;
};

constexpr ChannelLayout kLayouts[] = {
    //  format           bytes  aBits aShift rBits rShift gBits gShift bBits bShift
    {fmt::kA8R8G8B8, 4, 8, 24, 8, 16, 8, 8, 8, 0},
    {fmt::kX8R8G8B8, 4, 0, 0, 8, 16, 8, 8, 8, 0},
    {fmt::kR5G6B5, 2, 0, 0, 5, 11, 6, 5, 5, 0},
    {fmt::kX1R5G5B5, 2, 0, 0, 5, 10, 5, 5, 5, 0},
    {fmt::kA1R5G5B5, 2, 1, 15, 5, 10, 5, 5, 5, 0},
    {fmt::kA4R4G4B4, 2, 4, 12, 4, 8, 4, 4, 4, 0},
    {fmt::kX4R4G4B4, 2, 0, 0, 4, 8, 4, 4, 4, 0},
    {fmt::kA8, 1, 8, 0, 0, 0, 0, 0, 0, 0},
};

const ChannelLayout* FindLayout(Format format) {
    for (const ChannelLayout& layout : kLayouts) {
        if (layout.format == format) return &layout;
    }
    return nullptr;
}

// Widens a channel of `bits` bits to 8 by repeating its bit pattern.
uint32_t Widen(uint32_t value, uint32_t bits) {
    if (bits == 0) return 0;
    if (bits == 1) return value ? 255 : 0;
    uint32_t wide = value << (8 - bits);
    for (uint32_t filled = bits; filled < 8; filled += bits) wide |= wide >> bits;
    return wide & 0xFF;
}

uint32_t Extract(uint32_t word, uint32_t bits, uint32_t shift) {
    return (word >> shift) & ((1u << bits) - 1);
}

uint32_t ReadWord(const uint8_t* pixel, uint32_t bytes) {
    uint32_t word = 0;
    for (uint32_t i = 0; i < bytes; ++i) word |= uint32_t(pixel[i]) << (8 * i);
    return word;
}

void WriteWord(uint8_t* pixel, uint32_t bytes, uint32_t word) {
    for (uint32_t i = 0; i < bytes; ++i) pixel[i] = uint8_t(word >> (8 * i));
}

}  // namespace

bool IsColorFormat(Format format) { return FindLayout(format) != nullptr; }

bool IsDepthFormat(Format format) {
    return format == fmt::kD16 || format == fmt::kD24S8 || format == fmt::kD24X8 ||
           format == fmt::kD32;
}

bool IsRenderTargetFormat(Format format) { return IsColorFormat(format) && format != fmt::kA8; }

bool Is32BitColor(Format format) { return format == fmt::kA8R8G8B8 || format == fmt::kX8R8G8B8; }

uint32_t BytesPerPixel(Format format) {
    if (const ChannelLayout* layout = FindLayout(format)) return layout->bytes;
    if (format == fmt::kD16) return 2;
    if (IsDepthFormat(format)) return 4;
    return 0;
}

uint32_t NativeToArgb(Format format, const uint8_t* pixel) {
    const ChannelLayout& l = *FindLayout(format);
    const uint32_t word = ReadWord(pixel, l.bytes);
    const uint32_t a = l.aBits ? Widen(Extract(word, l.aBits, l.aShift), l.aBits) : 255;
    const uint32_t r = Widen(Extract(word, l.rBits, l.rShift), l.rBits);
    const uint32_t g = Widen(Extract(word, l.gBits, l.gShift), l.gBits);
    const uint32_t b = Widen(Extract(word, l.bBits, l.bShift), l.bBits);
    return a << 24 | r << 16 | g << 8 | b;
}

void ArgbToNative(Format format, uint32_t argb, uint8_t* pixel) {
    const ChannelLayout& l = *FindLayout(format);
    auto narrow = [](uint32_t channel, uint32_t bits, uint32_t shift) {
        return bits ? (channel >> (8 - bits)) << shift : 0u;
    };
    const uint32_t word = narrow(argb >> 24, l.aBits, l.aShift) |
                          narrow((argb >> 16) & 0xFF, l.rBits, l.rShift) |
                          narrow((argb >> 8) & 0xFF, l.gBits, l.gShift) |
                          narrow(argb & 0xFF, l.bBits, l.bShift);
    WriteWord(pixel, l.bytes, word);
}

uint32_t QuantizeArgb(Format format, uint32_t argb) {
    if (format == fmt::kA8R8G8B8) return argb;
    if (format == fmt::kX8R8G8B8) return argb | 0xFF000000u;
    uint8_t pixel[4];
    ArgbToNative(format, argb, pixel);
    return NativeToArgb(format, pixel);
}

void NativeRowToArgb(Format format, const uint8_t* source, uint32_t* destination, uint32_t count) {
    const uint32_t bytes = BytesPerPixel(format);
    for (uint32_t i = 0; i < count; ++i) destination[i] = NativeToArgb(format, source + i * bytes);
}

void ArgbRowToNative(Format format, const uint32_t* source, uint8_t* destination, uint32_t count) {
    const uint32_t bytes = BytesPerPixel(format);
    for (uint32_t i = 0; i < count; ++i) ArgbToNative(format, source[i], destination + i * bytes);
}

}  // namespace platform::gfx
