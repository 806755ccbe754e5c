// A 24-bit picture in memory and its BMP and PNG encodings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace datagen {

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

// Opaque black is the game's transparent colour key.
inline constexpr Rgb kTransparent{0, 0, 0};

class Image {
public:
    Image(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The pixel at (x, y), top row first; coordinates must lie inside.
    Rgb Get(int x, int y) const { return pixels_[Index(x, y)]; }
    // Writes one pixel; coordinates outside the picture are ignored, so shapes may clip.
    void Set(int x, int y, Rgb colour);

private:
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }

    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

// The picture as a bottom-up 24-bit BMP file (BITMAPINFOHEADER, rows padded to 4 bytes).
std::vector<uint8_t> EncodeBmp24(const Image& image);

// The picture as an 8-bit RGB PNG file (no interlace, no filters, one zlib stream); the same
// picture always gives the same bytes.
std::vector<uint8_t> EncodePng(const Image& image);

}  // namespace datagen
