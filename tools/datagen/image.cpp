#include "tools/datagen/image.h"

#include "tools/datagen/bytes.h"

namespace datagen {

Image::Image(int width, int height) : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height) {}

void Image::Set(int x, int y, Rgb colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[Index(x, y)] = colour;
}

std::vector<uint8_t> EncodeBmp24(const Image& image) {
    const uint32_t rowBytes = (static_cast<uint32_t>(image.Width()) * 3 + 3) & ~3u;
    const uint32_t pixelBytes = rowBytes * image.Height();
    const uint32_t headerBytes = 14 + 40;
    ByteWriter out;
    // File header.
    out.Text("BM");
    out.U32(headerBytes + pixelBytes);
    out.U32(0);
    out.U32(headerBytes);
    // Info header: positive height means rows are stored bottom-up.
    out.U32(40);
    out.U32(image.Width());
    out.U32(image.Height());
    out.U16(1);
    out.U16(24);
    out.U32(0);  // no compression
    out.U32(pixelBytes);
    out.U32(2835);  // 72 dots per inch
    out.U32(2835);
    out.U32(0);
    out.U32(0);
    for (int y = image.Height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.Width(); ++x) {
            const Rgb c = image.Get(x, y);
            out.U8(c.b);
            out.U8(c.g);
            out.U8(c.r);
        }
        for (uint32_t pad = image.Width() * 3; pad < rowBytes; ++pad) out.U8(0);
    }
    return out.Take();
}

}  // namespace datagen
