// Losing the display. Xlib reports a connection that broke (the X server ended, a remote session
// dropped) to its I/O error handler, and when that handler returns it calls exit(). The exit
// handlers would then call the window library on the dead connection, which waits for replies
// that never come. Our handler writes what can still be written and ends the process at once.
// A request the server refuses (the window destroyed by another client) ends it the same way.
#include "platform/os/display_loss.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/os/os.h"

#include <X11/Xlib.h>  // last: its macros (Status, None, Bool) would rename names in the others

namespace platform {
namespace {

void (*g_lastWords)() = nullptr;
pid_t g_owner = 0;  // the process whose last words they are

int OnConnectionLost(Display*) { EndForLostDisplay(); }

// A request the server refused: above all a window that another client destroyed (BadWindow,
// BadDrawable on the next picture). Xlib's own handler would print the error and call exit(),
// leaving the log open and running the exit handlers on a window that is gone; the program ends
// as for a lost display instead, with the error said on standard error.
int OnProtocolError(Display* display, XErrorEvent* error) {
    char name[128] = {};
    XGetErrorText(display, error->error_code, name, sizeof(name));
    char text[256];
    const int length = std::snprintf(text, sizeof(text), "X error %s on request %d: the window is unusable\n", name,
                                     static_cast<int>(error->request_code));
    if (length > 0) {
        ssize_t written = write(STDERR_FILENO, text, std::min(static_cast<size_t>(length), sizeof(text) - 1));
        (void)written;
    }
    EndForLostDisplay();
}

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
    XSetErrorHandler(OnProtocolError);
}

}  // namespace platform
