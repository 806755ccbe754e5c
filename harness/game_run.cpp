#include "harness/game_run.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "framework/app/zeth.h"
#include "game/world/callbacks.h"
#include "harness/fakes.h"
#include "platform/gfx/device.h"
#include "platform/input/fake_input.h"
#include "platform/os/os.h"
#include "platform/window/messages.h"

namespace e2e {

namespace {

uint64_t Hash(const std::vector<uint32_t>& pixels) {
    uint64_t h = 1469598103934665603ull;  // FNV-1a over the pixels
    for (uint32_t p : pixels) {
        h ^= p;
        h *= 1099511628211ull;
    }
    return h;
}

// Sees every presented frame: records it, then sets the buttons of the next frame and, at the
// end, presses Esc in the window.
class FrameSink : public platform::gfx::MemorySink {
public:
    std::function<void()> afterFrame;
    void Show(const uint32_t* pixels, int width, int height, int pitch) override {
        MemorySink::Show(pixels, width, height, pitch);
        if (afterFrame) afterFrame();
    }
};

// The keys the game binds to pad buttons 0-11: arrows, Z X C V, A S D F.
constexpr uint8_t kPadKeys[12] = {0xC8, 0xD0, 0xCB, 0xCD, 0x2C, 0x2D, 0x2E, 0x2F, 0x1E, 0x1F, 0x20, 0x21};

void PressEscape(testing_support::FakePlatform& fake) {
    fake.window.script.push_back({platform::wm::kKeyDown, 27, 0});
}

}  // namespace

// Runs of the program in test processes that share this folder (its log, its instance lock)
// take turns.
class FolderTurn {
public:
    FolderTurn() : fd_(open((platform::ExecutableFolder() + "/game_run.lock").c_str(), O_CREAT | O_RDWR, 0644)) {
        if (fd_ >= 0) flock(fd_, LOCK_EX);
    }
    ~FolderTurn() {
        if (fd_ >= 0) close(fd_);
    }

private:
    int fd_;
};

uint64_t GameRun::ShownFrameHash() const { return shown_ != nullptr ? Hash(*shown_) : 0; }

RunResult GameRun::Run(int32_t frames) {
    FolderTurn turn;
    // The single-instance lock lives in the runtime folder: keep it private to these runs.
    std::string runtime = platform::ExecutableFolder() + "/e2e_runtime";
    std::filesystem::create_directories(runtime);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    testing_support::FakePlatform fake;
    fake.clock.keepSleeps = false;
    platform::FakeInputSource keys;
    platform::SetInputSource(&keys);
    FrameSink sink;
    RunResult result;
    int32_t presented = 0;
    sink.afterFrame = [&]() {
        if (keepFrames) {
            result.frameHashes.push_back(Hash(sink.Frame()));
            result.lastFrame = sink.Frame();
        }
        shown_ = &sink.Frame();
        if (onFrame) onFrame(presented, worldController);
        shown_ = nullptr;
        presented += 1;
        auto it = script_.find(presented);
        if (it != script_.end()) {
            for (const Press& p : it->second) keys.SetKey(kPadKeys[p.button], p.down);
        }
        if (auto key = windowKeys_.find(presented); key != windowKeys_.end()) {
            for (uintptr_t k : key->second) fake.window.script.push_back({platform::wm::kKeyDown, k, 0});
        }
        // Esc acts in the next frame step, which still runs and presents its frame.
        if (presented == frames - 1) PressEscape(fake);
    };
    if (frames <= 1) PressEscape(fake);
    platform::gfx::SetPresentSink(&sink);
    Zeth::GameCallbacks game;
    game.init = GameInit;
    game.main = GameMain;
    game.keyHook = GameKeyHook;
    static int instance;
    result.exitCode = Zeth::Main(game, &instance, 0, nullptr);
    platform::gfx::SetPresentSink(nullptr);
    platform::SetInputSource(nullptr);
    result.messageBoxes = fake.messageBox.Texts();
    std::ifstream in(platform::ExecutableFolder() + "/system_log.html", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    result.log = s.str();
    return result;
}

}  // namespace e2e
