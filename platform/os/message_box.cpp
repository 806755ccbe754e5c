// The default message box. On X, SDL shows the box from a child process of its own and waits for
// that child, so a termination signal (SIGTERM, SIGINT, SIGHUP) would wait with it until someone
// clicks OK. While a box is open, a watcher learns the pid of every child forked (each one tells
// it as it starts) and ends the box's process when a termination is requested: the box goes, the
// call returns, and the program ends in order as it does without a box.
#include <SDL.h>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <thread>

#include "platform/os/display_loss.h"
#include "platform/os/os.h"

namespace platform {
namespace {

// The write end of the pipe on which a child forked while a box opens tells its pid; -1 when no
// box is open.
std::atomic<int> g_forkedPidPipe{-1};

void TellForkedPid() {
    const int fd = g_forkedPidPipe.load();
    if (fd < 0) return;
    const pid_t pid = getpid();
    const ssize_t written = write(fd, &pid, sizeof(pid));
    (void)written;
}

// Lives as long as one box: ends the box's process when a termination is requested.
class BoxWatcher {
public:
    BoxWatcher() {
        static const bool registered = pthread_atfork(nullptr, nullptr, TellForkedPid) == 0;
        if (!registered || pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return;
        g_forkedPidPipe.store(pipe_[1]);
        thread_ = std::thread([this] { Watch(); });
        // The box is forked only once the watcher runs its loop, which holds no lock: a fork while
        // the new thread still starts up could copy a lock it holds (the allocator's) into the
        // box's process, which would then wait on it for ever.
        while (!watching_.load()) std::this_thread::yield();
    }
    ~BoxWatcher() {
        g_forkedPidPipe.store(-1);
        done_.store(true);
        if (thread_.joinable()) thread_.join();
        for (int fd : pipe_) {
            if (fd >= 0) close(fd);
        }
    }
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

private:
    // The box's process is waited for by the call that shows it, so it cannot end and give its
    // pid to another process before this watcher is told to stop.
    void Watch() {
        watching_.store(true);
        pid_t box = 0;
        while (!done_.load()) {
            if (box == 0 && read(pipe_[0], &box, sizeof(box)) != static_cast<ssize_t>(sizeof(box))) box = 0;
            if (box > 0 && TerminationRequested()) {
                kill(box, SIGKILL);
                return;
            }
            usleep(20000);
        }
    }

    int pipe_[2] = {-1, -1};
    std::atomic<bool> watching_{false};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

bool DisplayAvailable() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr) return SDL_strcmp(driver, "dummy") != 0 && SDL_strcmp(driver, "offscreen") != 0;
    const char* wanted = SDL_getenv("SDL_VIDEODRIVER");
    if (wanted != nullptr && (SDL_strcmp(wanted, "dummy") == 0 || SDL_strcmp(wanted, "offscreen") == 0)) return false;
    return SDL_getenv("DISPLAY") != nullptr || SDL_getenv("WAYLAND_DISPLAY") != nullptr;
}

}  // namespace

void ShowMessageBox(uint32_t type, const std::string& caption, const std::string& text) {
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    // A program asked to end shows no more boxes: nobody would be there to close them.
    if (!DisplayAvailable() || TerminationRequested()) return;
    // 0x10 is the stop icon, 0x30 the warning icon; anything else is shown as information.
    uint32_t flags = SDL_MESSAGEBOX_INFORMATION;
    if ((type & 0xF0) == 0x10) flags = SDL_MESSAGEBOX_ERROR;
    else if ((type & 0xF0) == 0x30) flags = SDL_MESSAGEBOX_WARNING;
    int shown = 0;
    {
        BoxWatcher watcher;
        shown = SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), nullptr);
    }
    // A box that failed because its display is gone ends the program as a lost window does.
    if (shown != 0 && !TerminationRequested() && !NamedDisplayReachable()) EndForLostDisplay();
}

}  // namespace platform
