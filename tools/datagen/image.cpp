#include "tools/datagen/image.h"

#include <zlib.h>

#include <stdexcept>

#include "tools/datagen/bytes.h"

namespace datagen {
namespace {

void PutU32BigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

// A PNG chunk: length, type, data and the CRC of type and data.
void PutChunk(std::vector<uint8_t>& out, const char (&type)[5], const std::vector<uint8_t>& data) {
    PutU32BigEndian(out, static_cast<uint32_t>(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutU32BigEndian(out, static_cast<uint32_t>(crc32(0, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt))));
}

}  // namespace

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


std::vector<uint8_t> EncodePng(const Image& image) {
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(image.Width() * 3 + 1) * image.Height());
    for (int y = 0; y < image.Height(); ++y) {
        raw.push_back(0);  // filter: none
        for (int x = 0; x < image.Width(); ++x) {
            const Rgb c = image.Get(x, y);
            raw.insert(raw.end(), {c.r, c.g, c.b});
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    const int level = Z_DEFAULT_COMPRESSION;
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), level) != Z_OK) {
        throw std::runtime_error("cannot compress a PNG picture");
    }
    packed.resize(packedSize);

    std::vector<uint8_t> header;
    PutU32BigEndian(header, static_cast<uint32_t>(image.Width()));
    PutU32BigEndian(header, static_cast<uint32_t>(image.Height()));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits a channel, RGB, deflate, no filter set, no interlace
    std::vector<uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", {});
    return out;
}

}  // namespace datagen
