// Writes the window of a pinned run at one frame as a PNG picture, for the pictures in docs/ of
// stages that no menu opens (screenshots.sh): the run is played as its test plays it, up to that
// frame. A scale above 1 repeats each pixel, for looking at the art closely.
//   pinned_picture RUN FRAME PICTURE.png [SCALE]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "play_run.h"
#include "tools/datagen/image.h"

namespace {

constexpr int kWindowWidth = 640, kWindowHeight = 480;

int Fail(const std::string& message) {
    std::fprintf(stderr, "pinned_picture: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc > 5) return Fail("usage: pinned_picture RUN FRAME PICTURE.png [SCALE]");
    const std::string name = argv[1];
    const int frame = std::atoi(argv[2]);
    const int scale = argc == 5 ? std::atoi(argv[4]) : 1;
    if (scale < 1 || scale > 4) return Fail("the scale is 1 to 4");
    const pinned::PinnedRun* found = nullptr;
    for (const pinned::PinnedRun& r : pinned::kPinnedRuns) {
        if (name == r.name) found = &r;
    }
    if (found == nullptr) return Fail("no pinned run is named " + name);
    if (frame < 1 || frame >= found->frames) return Fail("the frame lies outside the run " + name);
    pinned::PinnedRun run = *found;
    run.frames = frame + 2;  // the run ends just after the frame pictured

    datagen::Image picture(kWindowWidth * scale, kWindowHeight * scale);
    pinned::Play(run, [&](int32_t shown, const e2e::GameRun& game) {
        if (shown != frame) return;
        for (int y = 0; y < picture.Height(); ++y) {
            for (int x = 0; x < picture.Width(); ++x) {
                const uint32_t p = game.ShownPixel(x / scale, y / scale);
                picture.Set(x, y, {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)});
            }
        }
    });
    const std::vector<uint8_t> png = datagen::EncodePng(picture);
    std::ofstream out(argv[3], std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    if (!out) return Fail(std::string("cannot write ") + argv[3]);
    return 0;
}
