// Reads a rectangle of a window's pixels on the X display and prints "<hash> <lit>": a 64-bit
// FNV-1a hash of the rectangle's colours (equal hashes: the same picture) and the number of its
// pixels that are not black. Lets a shell script see what the game shows without a picture tool;
// given a file name it also writes the rectangle there as a PNG picture.
//   window_probe WINDOW X Y WIDTH HEIGHT [PICTURE.png]
//   (WINDOW as xdotool prints it; exit 1 when unreadable or the picture cannot be written)
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <zlib.h>

namespace {

// Errors of a window that has just gone away end this probe with status 1, not Xlib's abort.
int QuietError(Display*, XErrorEvent*) { return 0; }

void PutBig32(std::vector<unsigned char>* out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<unsigned char>(v >> shift));
}

void PutChunk(std::vector<unsigned char>* out, const char* type, const std::vector<unsigned char>& data) {
    PutBig32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out->size();
    out->insert(out->end(), type, type + 4);
    out->insert(out->end(), data.begin(), data.end());
    PutBig32(out, static_cast<uint32_t>(crc32(0, out->data() + start, static_cast<uInt>(out->size() - start))));
}

// Writes 8-bit RGB rows (each led by filter byte 0) as a PNG file.
bool WritePng(const char* path, int width, int height, const std::vector<unsigned char>& rows) {
    std::vector<unsigned char> packed(compressBound(rows.size()));
    uLongf packedSize = packed.size();
    if (compress(packed.data(), &packedSize, rows.data(), rows.size()) != Z_OK) return false;
    packed.resize(packedSize);
    std::vector<unsigned char> header;
    PutBig32(&header, static_cast<uint32_t>(width));
    PutBig32(&header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});
    std::vector<unsigned char> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(&file, "IHDR", header);
    PutChunk(&file, "IDAT", packed);
    PutChunk(&file, "IEND", {});
    FILE* out = std::fopen(path, "wb");
    if (out == nullptr) return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

// The 8 bits of a colour channel whose mask is `mask`.
unsigned char Channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1) == 0) ++shift;
    const unsigned long top = mask >> shift;
    return static_cast<unsigned char>(((pixel >> shift) & top) * 255 / top);
}

bool ParseNumber(const char* text, long* out) {
    char* end = nullptr;
    *out = std::strtol(text, &end, 0);
    return end != text && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
    long args[5] = {};
    bool ok = argc == 6 || argc == 7;
    for (int i = 0; ok && i < 5; ++i) ok = ParseNumber(argv[i + 1], &args[i]);
    if (!ok || args[3] <= 0 || args[4] <= 0 || args[1] < 0 || args[2] < 0) {
        std::fprintf(stderr, "usage: window_probe WINDOW X Y WIDTH HEIGHT [PICTURE.png]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "window_probe: no X display\n");
        return 1;
    }
    XSetErrorHandler(QuietError);
    XImage* image = XGetImage(display, static_cast<Window>(args[0]), static_cast<int>(args[1]),
                              static_cast<int>(args[2]), static_cast<unsigned>(args[3]),
                              static_cast<unsigned>(args[4]), AllPlanes, ZPixmap);
    if (image == nullptr) {
        XCloseDisplay(display);
        std::fprintf(stderr, "window_probe: the rectangle cannot be read\n");
        return 1;
    }
    uint64_t hash = 1469598103934665603ull;
    long lit = 0;
    std::vector<unsigned char> rows;
    for (int y = 0; y < image->height; ++y) {
        rows.push_back(0);
        for (int x = 0; x < image->width; ++x) {
            const unsigned long rgb =
                XGetPixel(image, x, y) & (image->red_mask | image->green_mask | image->blue_mask);
            if (rgb != 0) lit += 1;
            rows.insert(rows.end(), {Channel(rgb, image->red_mask), Channel(rgb, image->green_mask),
                                     Channel(rgb, image->blue_mask)});
            for (int byte = 0; byte < 4; ++byte) {
                hash ^= (rgb >> (8 * byte)) & 0xFF;
                hash *= 1099511628211ull;
            }
        }
    }
    const int width = image->width, height = image->height;
    XDestroyImage(image);
    XCloseDisplay(display);
    if (argc == 7 && !WritePng(argv[6], width, height, rows)) {
        std::fprintf(stderr, "window_probe: cannot write %s\n", argv[6]);
        return 1;
    }
    std::printf("%016" PRIx64 " %ld\n", hash, lit);
    return 0;
}
