// Reads a rectangle of a window's pixels on the X display and prints "<hash> <lit>": a 64-bit
// FNV-1a hash of the rectangle's colours (equal hashes: the same picture) and the number of its
// pixels that are not black. Lets a shell script see what the game shows without a picture tool.
//   window_probe WINDOW X Y WIDTH HEIGHT   (WINDOW as xdotool prints it; exit 1 when unreadable)
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Errors of a window that has just gone away end this probe with status 1, not Xlib's abort.
int QuietError(Display*, XErrorEvent*) { return 0; }

bool ParseNumber(const char* text, long* out) {
    char* end = nullptr;
    *out = std::strtol(text, &end, 0);
    return end != text && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
    long args[5] = {};
    bool ok = argc == 6;
    for (int i = 0; ok && i < 5; ++i) ok = ParseNumber(argv[i + 1], &args[i]);
    if (!ok || args[3] <= 0 || args[4] <= 0 || args[1] < 0 || args[2] < 0) {
        std::fprintf(stderr, "usage: window_probe WINDOW X Y WIDTH HEIGHT\n");
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
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            const unsigned long rgb =
                XGetPixel(image, x, y) & (image->red_mask | image->green_mask | image->blue_mask);
            if (rgb != 0) lit += 1;
            for (int byte = 0; byte < 4; ++byte) {
                hash ^= (rgb >> (8 * byte)) & 0xFF;
                hash *= 1099511628211ull;
            }
        }
    }
    XDestroyImage(image);
    XCloseDisplay(display);
    std::printf("%016" PRIx64 " %ld\n", hash, lit);
    return 0;
}
