// A whole-game run in this process: the real program's start-up and frame loop with the
// platform edge faked (window, clock, message box, the memory present sink), a script of
// buttons per frame, and what the run left behind: the presented frames, the log, and a look
// at the world after every frame.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "game/world/object_controller.h"

namespace e2e {

struct RunResult {
    int32_t exitCode = 0;
    std::vector<uint64_t> frameHashes;   // one per presented frame
    std::vector<uint32_t> lastFrame;     // 640 x 480 XRGB
    std::string log;                     // the HTML log, as written (CP932)
    std::vector<std::string> messageBoxes;
};

class GameRun {
public:
    // From a frame on, the key of a pad button (0-11) held down or let go; the game reads it
    // through the input service as it reads a keyboard.
    void Hold(int32_t frame, int32_t button, bool down) { script_[frame].push_back({button, down}); }
    // From a frame on, a key (a virtual-key code) pressed in the window, as F1 or F4 is.
    void PressWindowKey(int32_t frame, uintptr_t key) { windowKeys_[frame].push_back(key); }
    // Called after every presented frame with its number (from 0) and the world.
    std::function<void(int32_t, ObjectController&)> onFrame;
    // A pixel (XRGB) of the frame just presented, for onFrame.
    uint32_t ShownPixel(int x, int y) const { return shown_ != nullptr ? (*shown_)[size_t(y) * 640 + size_t(x)] : 0; }
    // The hash of the frame just presented, for onFrame: as frameHashes holds it, for runs that
    // hash only the frames they look at.
    uint64_t ShownFrameHash() const;
    // Off, the presented frames are neither hashed nor kept (for timing runs).
    bool keepFrames = true;
    // Presses Esc so that the run ends after the given number of presented frames.
    RunResult Run(int32_t frames);

    uint32_t Pixel(const RunResult& r, int x, int y) const { return r.lastFrame[size_t(y) * 640 + size_t(x)]; }

private:
    struct Press {
        int32_t button;
        bool down;
    };
    std::map<int32_t, std::vector<Press>> script_;
    std::map<int32_t, std::vector<uintptr_t>> windowKeys_;
    const std::vector<uint32_t>* shown_ = nullptr;
};

}  // namespace e2e
