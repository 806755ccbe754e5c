// Losing the display. Xlib reports a connection that broke (the X server ended, a remote session
// dropped) to its I/O error handler, and when that handler returns it calls exit(). The exit
// handlers would then call the window library on the dead connection, which waits for replies
// that never come. Our handler writes what can still be written and ends the process at once.
#include "platform/os/display_loss.h"

#include <unistd.h>

#include <cstdlib>

#include "platform/os/os.h"

#include <X11/Xlib.h>  // last: its macros (Status, None, Bool) would rename names in the others

namespace platform {
namespace {

void (*g_lastWords)() = nullptr;
pid_t g_owner = 0;  // the process whose last words they are

int OnConnectionLost(Display*) { EndForLostDisplay(); }

}  // namespace

void EndForLostDisplay() {
    // A message box runs in a child process of its own: the child ends quietly and its parent
    // learns of the loss when the box fails.
    if (getpid() == g_owner) {
        static const char kText[] = "display connection lost: the program ends\n";
        ssize_t written = write(STDERR_FILENO, kText, sizeof(kText) - 1);
        (void)written;
        void (*lastWords)() = g_lastWords;
        g_lastWords = nullptr;  // a second loss while the last words are written ends at once
        if (lastWords != nullptr) lastWords();
    }
    _exit(kDisplayLostStatus);
}

bool NamedDisplayReachable() {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') return true;
    // A server may drop a connection made just after another one closed: a few tries apart.
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (attempt > 0) usleep(100000);
        if (Display* display = XOpenDisplay(name)) {
            XCloseDisplay(display);
            return true;
        }
    }
    return false;
}

void SetDisplayLostHandler(void (*lastWords)()) {
    g_lastWords = lastWords;
    g_owner = getpid();
    XSetIOErrorHandler(OnConnectionLost);
}

}  // namespace platform
