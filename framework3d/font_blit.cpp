// The font's blitters: a glyph bitmap (1 bit or gray levels 0-64 per pixel) written into a
// locked surface in its own pixel format, and the clipping that comes before.
#include <cstring>

#include "framework3d/font.h"

namespace {

// Walks the source box and calls write(destination pixel, source value): 1-bit sources give
// the bit (0 or 1), gray sources the level byte.
template <typename Pixel, bool kGray, typename Write>
void Walk(const CGdiFont::BlitRect& dst, const CGdiFont::BlitRect& src, Write write) {
    for (int32_t sy = src.top; sy < src.bottom; ++sy) {
        const uint8_t* in = src.bits + static_cast<ptrdiff_t>(sy) * src.pitch;
        uint8_t* row = dst.bits + static_cast<ptrdiff_t>(dst.top + sy - src.top) * dst.pitch;
        for (int32_t sx = src.left; sx < src.right; ++sx) {
            uint32_t value = kGray ? in[sx] : (in[sx >> 3] >> (7 - (sx & 7))) & 1u;
            uint8_t* at = row + static_cast<ptrdiff_t>(dst.left + sx - src.left) * static_cast<ptrdiff_t>(sizeof(Pixel));
            Pixel pixel;
            std::memcpy(&pixel, at, sizeof pixel);
            write(pixel, value);
            std::memcpy(at, &pixel, sizeof pixel);
        }
    }
}

// The colour's fixed pixel, written only where the bit is set.
template <typename Pixel>
void BlitMono(Pixel ink, const CGdiFont::BlitRect& dst, const CGdiFont::BlitRect& src) {
    Walk<Pixel, false>(dst, src, [ink](Pixel& pixel, uint32_t bit) {
        if (bit != 0) pixel = ink;
    });
}

uint32_t Red(uint32_t colour) { return (colour >> 16) & 0xFF; }
uint32_t Green(uint32_t colour) { return (colour >> 8) & 0xFF; }
uint32_t Blue(uint32_t colour) { return colour & 0xFF; }
uint16_t Rgb444(uint32_t colour) {
    return static_cast<uint16_t>((Red(colour) >> 4) << 8 | (Green(colour) >> 4) << 4 | Blue(colour) >> 4);
}

// Formats and their blitters.
struct FormatBlitters {
    gfx::Format format;
    CGdiFont::Blitter mono;
    CGdiFont::Blitter gray;
};
constexpr FormatBlitters kBlitters[] = {
    {gfx::fmt::kA8R8G8B8, CGdiFont::BlitMonoTo8888, CGdiFont::BlitGrayTo8888},
    {gfx::fmt::kX8R8G8B8, CGdiFont::BlitMonoTo8888, CGdiFont::BlitGrayTo8888},
    {gfx::fmt::kR5G6B5, CGdiFont::BlitMonoTo565, nullptr},
    {gfx::fmt::kX1R5G5B5, CGdiFont::BlitMonoTo1555, nullptr},
    {gfx::fmt::kA1R5G5B5, CGdiFont::BlitMonoTo1555, nullptr},
    {gfx::fmt::kA4R4G4B4, CGdiFont::BlitMonoTo4444, CGdiFont::BlitGrayTo4444},
    {gfx::fmt::kX4R4G4B4, CGdiFont::BlitMonoTo4444, CGdiFont::BlitGrayTo4444},
};

const FormatBlitters* Find(gfx::Format format) {
    for (const FormatBlitters& row : kBlitters) {
        if (row.format == format) return &row;
    }
    return nullptr;
}

}  // namespace

uint8_t CGdiFont::GrayLevel(uint32_t level) { return static_cast<uint8_t>((level > 64 ? 64 : level) * 255 / 64); }

CGdiFont::Blitter CGdiFont::MonoBlitter(gfx::Format format) {
    const FormatBlitters* row = Find(format);
    return row != nullptr ? row->mono : nullptr;
}

CGdiFont::Blitter CGdiFont::GrayBlitter(gfx::Format format) {
    const FormatBlitters* row = Find(format);
    return row != nullptr ? row->gray : nullptr;
}

bool CGdiFont::ClipBlit(BlitRect& dst, BlitRect& src, int32_t width, int32_t height) {
    if (dst.left < 0) {
        src.left -= dst.left;
        dst.left = 0;
    }
    if (dst.right > width) {
        src.right += width - dst.right;
        dst.right = width;
    }
    if (dst.top < 0) {
        src.top -= dst.top;
        dst.top = 0;
    }
    if (dst.bottom > height) {
        src.bottom += height - dst.bottom;
        dst.bottom = height;
    }
    return dst.right >= dst.left && dst.bottom >= dst.top;
}

void CGdiFont::BlitMonoTo1555(uint32_t colour, const BlitRect& dst, const BlitRect& src) {
    BlitMono(static_cast<uint16_t>(0x8000 | (Red(colour) >> 3) << 10 | (Green(colour) >> 3) << 5 | Blue(colour) >> 3), dst,
             src);
}

void CGdiFont::BlitMonoTo565(uint32_t colour, const BlitRect& dst, const BlitRect& src) {
    BlitMono(static_cast<uint16_t>((Red(colour) >> 3) << 11 | (Green(colour) >> 2) << 5 | Blue(colour) >> 3), dst, src);
}

void CGdiFont::BlitMonoTo4444(uint32_t colour, const BlitRect& dst, const BlitRect& src) {
    BlitMono(static_cast<uint16_t>(0xF000 | Rgb444(colour)), dst, src);
}

void CGdiFont::BlitMonoTo8888(uint32_t colour, const BlitRect& dst, const BlitRect& src) {
    BlitMono(colour | 0xFF000000u, dst, src);
}

void CGdiFont::BlitGrayTo4444(uint32_t colour, const BlitRect& dst, const BlitRect& src) {
    Walk<uint16_t, true>(dst, src, [rgb = Rgb444(colour)](uint16_t& pixel, uint32_t level) {
        pixel = static_cast<uint16_t>((GrayLevel(level) >> 4) << 12 | rgb);
    });
}

void CGdiFont::BlitGrayTo8888(uint32_t colour, const BlitRect& dst, const BlitRect& src) {
    Walk<uint32_t, true>(dst, src, [rgb = colour & 0xFFFFFFu](uint32_t& pixel, uint32_t level) {
        pixel = static_cast<uint32_t>(GrayLevel(level)) << 24 | rgb;
    });
}
