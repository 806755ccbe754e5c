// The display lost under the program: its X server ends while the game runs, and while a message
// box waits at start. The program must end by itself within 2 s with a non-zero status, and a
// running game's log must be whole. Then a termination signal while a message box waits, and a
// window made enormous by another program.
// Xlib's headers define macros (Status, None, Bool) that would rename names in the others.
#include "program_fixture.h"

#include <fcntl.h>
#include <poll.h>

#include <cstring>

#include <memory>
#include <random>

#include "platform/os/os.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

using testing_support::ReadFile;

namespace {

bool XvfbInstalled() {
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/bin:/bin";
    for (size_t start = 0; start <= folders.size();) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        if (access((folders.substr(start, end - start) + "/Xvfb").c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

// A private X server. Servers that pick their own number can race for the same one when several
// start at once (tests in parallel): each try names a random number, which the server's lock
// file guards, and a number in use makes the server end at once.
class XServer {
public:
    XServer() {
        std::random_device random;
        for (int attempt = 0; attempt < 20 && name_.empty(); ++attempt) Try(":" + std::to_string(100 + random() % 900));
    }
    ~XServer() { End(); }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    const std::string& Name() const { return name_; }

    // Ends the server within seconds: asked first, killed when it does not end within 5 s (which
    // fails the test, as it would leave the program on a display that is still there).
    void End() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        if (!ReapedWithin(std::chrono::seconds(5))) {
            ADD_FAILURE() << "Xvfb did not end within 5 s of SIGTERM: killed";
            kill(pid_, SIGKILL);
            if (!ReapedWithin(std::chrono::seconds(5))) ADD_FAILURE() << "Xvfb outlived SIGKILL: left behind";
        }
        pid_ = -1;
    }

    // The open message boxes: top-level windows that call themselves dialogs. The connection is
    // closed again at once, so that the server can end under the program alone.
    std::vector<Window> Dialogs() const {
        return TopLevel([](Display* display, Window window) {
            const Atom type = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
            const Atom dialog = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
            Atom actual = 0;
            int format = 0;
            unsigned long items = 0, after = 0;
            unsigned char* value = nullptr;
            bool is = false;
            if (XGetWindowProperty(display, window, type, 0, 1, False, XA_ATOM, &actual, &format, &items, &after,
                                   &value) == Success && value != nullptr) {
                is = items == 1 && *reinterpret_cast<Atom*>(value) == dialog;
                XFree(value);
            }
            return is;
        });
    }

    // The top-level windows whose title starts with `title`.
    std::vector<Window> Titled(const std::string& title) const {
        return TopLevel([&title](Display* display, Window window) {
            char* name = nullptr;
            bool is = false;
            if (XFetchName(display, window, &name) != 0 && name != nullptr) {
                is = std::string(name).rfind(title, 0) == 0;
                XFree(name);
            }
            return is;
        });
    }

    // Destroys a window from a connection of its own, as another program (xdotool windowclose)
    // does to the program's window.
    void Destroy(Window window) const {
        Display* display = XOpenDisplay(name_.c_str());
        if (display == nullptr) return;
        XDestroyWindow(display, window);
        XSync(display, False);
        XCloseDisplay(display);
    }

    // Resizes a window from a connection of its own, as another program (xdotool windowsize) does.
    void Resize(Window window, unsigned width, unsigned height) const {
        Display* display = XOpenDisplay(name_.c_str());
        if (display == nullptr) return;
        XResizeWindow(display, window, width, height);
        XSync(display, False);
        XCloseDisplay(display);
    }

    // A window's width and height; 0 x 0 when it cannot be read.
    std::pair<unsigned, unsigned> Size(Window window) const {
        std::pair<unsigned, unsigned> size{0, 0};
        Display* display = XOpenDisplay(name_.c_str());
        if (display == nullptr) return size;
        Window root = 0;
        int x = 0, y = 0;
        unsigned border = 0, depth = 0;
        // A window that is gone is an answer (0 x 0), not the end of the test: Xlib's own handler
        // would end the process.
        XErrorHandler previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        if (XGetGeometry(display, window, &root, &x, &y, &size.first, &size.second, &border, &depth) == 0) size = {0, 0};
        XSync(display, False);
        XSetErrorHandler(previous);
        XCloseDisplay(display);
        return size;
    }

    // Asks a message box to close, as a window manager's close button does.
    void Close(Window window) const {
        Display* display = XOpenDisplay(name_.c_str());
        if (display == nullptr) return;
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        XSendEvent(display, window, False, NoEventMask, &event);
        XCloseDisplay(display);
    }

private:
    template <typename Is>
    std::vector<Window> TopLevel(Is is) const {
        std::vector<Window> found;
        Display* display = XOpenDisplay(name_.c_str());
        if (display == nullptr) return found;
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) != 0) {
            for (unsigned int i = 0; i < count; ++i) {
                if (is(display, children[i])) found.push_back(children[i]);
            }
            XFree(children);
        }
        XCloseDisplay(display);
        return found;
    }

    void Try(const std::string& name) {
        int ready[2];
        if (pipe(ready) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
            const std::string fd = std::to_string(ready[1]);
            // -noreset: a server whose last client leaves starts anew and drops the connections
            // that come meanwhile; here the last client is often the test's own short look at the
            // windows, just before the program connects.
            execlp("Xvfb", "Xvfb", name.c_str(), "-displayfd", fd.c_str(), "-nolisten", "tcp", "-noreset", "-screen",
                   "0", "800x600x24", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        if (pid_ > 0 && NumberLineRead(ready[0])) {
            name_ = name;
        } else {
            End();
        }
        close(ready[0]);
    }

    // The server writes its display number once it accepts connections, and then a newline in a
    // write of its own; a pipe closed between the two makes that second write fail, and the server
    // end on it. So the whole line is read before the pipe closes. False when the pipe closes
    // without it (the server ended) or after 10 s.
    static bool NumberLineRead(int fd) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        std::string line;
        while (line.find('\n') == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd wait{fd, POLLIN, 0};
            char part[16];
            ssize_t got = 0;
            if (left.count() <= 0 || poll(&wait, 1, static_cast<int>(left.count())) != 1 ||
                (got = read(fd, part, sizeof(part))) <= 0) {
                return false;
            }
            line.append(part, static_cast<size_t>(got));
        }
        return true;
    }

    bool ReapedWithin(std::chrono::milliseconds limit) {
        for (const auto deadline = std::chrono::steady_clock::now() + limit; waitpid(pid_, nullptr, WNOHANG) != pid_;) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }

    pid_t pid_ = -1;
    std::string name_;
};

class DisplayLoss : public Program {
protected:
    void SetUp() override {
        if (!XvfbInstalled()) GTEST_SKIP() << "Xvfb is not installed";
        Program::SetUp();
        server_ = std::make_unique<XServer>();
        ASSERT_FALSE(server_->Name().empty()) << "Xvfb did not start";
    }

    pid_t StartOnServer(const std::string& stderrFile) {
        return Start(stderrFile, {{"SDL_VIDEODRIVER", ""}, {"DISPLAY", server_->Name()}});
    }

    // Starts the program on the server; -1 when `shown` does not say it is up.
    template <typename Shown>
    pid_t StartShown(const std::string& stderrFile, Shown shown) {
        pid_t pid = StartOnServer(stderrFile);
        return shown(pid) ? pid : -1;
    }

    bool Started(pid_t pid) {
        for (int i = 0; i < 200 && Running(pid); ++i) {
            if (ReadFile(LogPath()).find(kStartBanner) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    // Closes message boxes until none has shown for a second; false when the program ended.
    bool DismissMessageBoxes(pid_t pid) {
        for (int quiet = 0; quiet < 20;) {
            if (!Running(pid)) return false;
            std::vector<Window> dialogs = server_->Dialogs();
            for (Window dialog : dialogs) server_->Close(dialog);
            quiet = dialogs.empty() ? quiet + 1 : 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return true;
    }

    bool WaitForMessageBox(pid_t pid) {
        for (int i = 0; i < 200 && Running(pid); ++i) {
            if (!server_->Dialogs().empty()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    std::unique_ptr<XServer> server_;
};

}  // namespace

TEST_F(DisplayLoss, WhileTheGameRuns) {
    pid_t pid = StartShown("game.err", [this](pid_t started) { return Started(started) && DismissMessageBoxes(started); });
    ASSERT_NE(pid, -1) << ReadFile(folder_ / "game.err");
    server_->End();
    const int status = WaitExitWithin(pid, 2000);
    EXPECT_NE(status, -1) << "still running 2 s after the display ended";
    EXPECT_NE(status, 0);
    EXPECT_LT(status, 128) << "ended by signal " << status - 128;
    ExpectEndedLog();
}

// Another program destroys the game's window: the program ends at once as for a lost display,
// its log whole, instead of Xlib's message and exit.
TEST_F(DisplayLoss, WhenAnotherProgramDestroysTheWindow) {
    pid_t pid = StartShown("game.err", [this](pid_t started) { return Started(started) && DismissMessageBoxes(started); });
    ASSERT_NE(pid, -1) << ReadFile(folder_ / "game.err");
    const std::vector<Window> windows = server_->Titled("TANZLOR");
    ASSERT_EQ(windows.size(), 1u);
    server_->Destroy(windows[0]);
    const int status = WaitExitWithin(pid, kEndWithinMs);
    EXPECT_EQ(status, platform::kDisplayLostStatus) << ReadFile(folder_ / "game.err");
    ExpectEndedLog();
}

// The second copy's message box is the one a start-up shows whatever the game's data.
TEST_F(DisplayLoss, WhileAMessageBoxWaitsAtStart) {
    pid_t first = Start("first.err");
    ASSERT_TRUE(WaitForLog(kStartBanner)) << ReadFile(folder_ / "first.err");
    pid_t second = StartShown("second.err", [this](pid_t started) { return WaitForMessageBox(started); });
    ASSERT_NE(second, -1) << ReadFile(folder_ / "second.err");
    server_->End();
    const int status = WaitExitWithin(second, 2000);
    EXPECT_NE(status, -1) << "still running 2 s after the display ended";
    EXPECT_NE(status, 0);
    EXPECT_LT(status, 128) << "ended by signal " << status - 128;
    kill(first, SIGTERM);
    EXPECT_EQ(WaitExitWithin(first, kEndWithinMs), 0);
}

// A termination signal while a message box waits (the second copy's, as above): the box goes and
// the program ends in order at once, as it does without a box.
class MessageBoxOnX : public DisplayLoss {};

TEST_F(MessageBoxOnX, ATerminationSignalEndsTheProgramAtOnce) {
    pid_t first = Start("first.err");
    ASSERT_TRUE(WaitForLog(kStartBanner)) << ReadFile(folder_ / "first.err");
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        pid_t second = StartShown("second.err", [this](pid_t started) { return WaitForMessageBox(started); });
        ASSERT_NE(second, -1) << ReadFile(folder_ / "second.err");
        kill(second, signal);
        EXPECT_EQ(WaitExitWithin(second, 2000), EXIT_FAILURE) << "not ended in order 2 s after the signal";
    }
    kill(first, SIGTERM);
    EXPECT_EQ(WaitExitWithin(first, kEndWithinMs), 0);
}

// Another program resizes the game's window, as `xdotool windowsize` does, past the largest side
// the window takes (16384 pixels) and up to the window system's limit (32767): each side beyond
// the largest is brought back to it while the game runs on, a side at it is kept.
class WindowOnX : public DisplayLoss {};

TEST_F(WindowOnX, AnotherProgramCannotMakeTheWindowLargerThanItsLargestSize) {
    // Under the sanitizers the system's own X and D-Bus client libraries keep a few allocations to
    // the end of the process, which would make the leak check fail the orderly end.
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    const std::string noLeakCheck = std::string(sanitizer != nullptr ? sanitizer : "") + ":detect_leaks=0";
    pid_t pid = Start("game.err", {{"SDL_VIDEODRIVER", ""}, {"DISPLAY", server_->Name()}, {"ASAN_OPTIONS", noLeakCheck}});
    ASSERT_TRUE(Started(pid) && DismissMessageBoxes(pid)) << ReadFile(folder_ / "game.err");
    ASSERT_NE(pid, -1) << ReadFile(folder_ / "game.err");
    const std::vector<Window> windows = server_->Titled("TANZLOR");
    ASSERT_EQ(windows.size(), 1u);
    struct Case {
        unsigned width, height;        // what the other program asks for
        unsigned keptWidth, keptHeight;  // what the window has then
    };
    const Case cases[] = {
        {16384, 600, 16384, 600},
        {16385, 480, 16384, 480},
        {640, 16385, 640, 16384},
        {32767, 32767, 16384, 16384},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        server_->Resize(windows[0], c.width, c.height);
        const std::pair<unsigned, unsigned> kept{c.keptWidth, c.keptHeight};
        std::pair<unsigned, unsigned> size;
        for (int i = 0; i < 400 && (size = server_->Size(windows[0])) != kept && Running(pid); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        EXPECT_EQ(size, kept) << ReadFile(folder_ / "game.err");
        ASSERT_TRUE(Running(pid)) << ReadFile(folder_ / "game.err");
    }
    kill(pid, SIGTERM);
    EXPECT_EQ(WaitExitWithin(pid, kEndWithinMs), 0);
    ExpectEndedLog();
}
