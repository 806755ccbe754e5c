// The notice watcher: polls the watched sockets without waiting and posts the notices that are
// due into the program's message queue.
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <map>
#include <vector>

#include "platform/net/net_internal.h"
#include "platform/window/window.h"

namespace platform::net {
namespace {

struct Watch {
    uint32_t message = 0;
    uint32_t events = 0;
    uint32_t armed = 0;  // notices that may be posted now
};

std::map<Socket, Watch>& Watches() {
    static std::map<Socket, Watch> watches;
    return watches;
}

int PendingBytes(Socket socket) {
    int count = 0;
    return ioctl(socket, FIONREAD, &count) == 0 ? count : 0;
}

int SocketError(Socket socket) {
    int error = 0;
    socklen_t size = sizeof(error);
    if (getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error == 0) return 0;
    return internal::ErrorFromErrno(error);
}

void Post(Socket socket, const Watch& watch, uint32_t event, int error) {
    intptr_t lParam = static_cast<intptr_t>((static_cast<uint32_t>(error) << 16) | event);
    GetMessageQueue().Post({watch.message, static_cast<uintptr_t>(socket), lParam});
}

// Which notices the poll result makes due. Data waiting is a read notice; the peer's end with
// nothing left to read is a close notice, which comes only once.
uint32_t DueEvents(Socket socket, short revents) {
    uint32_t due = 0;
    bool hungUp = (revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
    if ((revents & POLLIN) != 0) due |= kAccept;
    if ((revents & POLLIN) != 0 && PendingBytes(socket) > 0) due |= kRead;
    else if (hungUp) due |= kClose;
    if ((revents & POLLOUT) != 0 && !hungUp) due |= kWrite;
    return due;
}

}  // namespace

namespace internal {

void Rearm(Socket socket, uint32_t event) {
    auto found = Watches().find(socket);
    if (found != Watches().end()) found->second.armed |= event & ~kClose;
}

void Forget(Socket socket) { Watches().erase(socket); }

}  // namespace internal

void AsyncSelect(Socket socket, uint32_t message, uint32_t events) {
    if (events == 0) {
        internal::Forget(socket);
        return;
    }
    Watches()[socket] = {message, events, events};
}

void PostEvents() {
    std::map<Socket, Watch>& watches = Watches();
    if (watches.empty()) return;
    std::vector<pollfd> fds;
    fds.reserve(watches.size());
    for (const auto& [socket, watch] : watches) {
        if (watch.armed != 0) fds.push_back({socket, POLLIN | POLLOUT | POLLRDHUP, 0});
    }
    if (fds.empty() || poll(fds.data(), fds.size(), 0) <= 0) return;
    for (const pollfd& fd : fds) {
        Watch& watch = watches[fd.fd];
        uint32_t due = DueEvents(fd.fd, fd.revents);
        // A listening socket only ever accepts; a connected one never does.
        due &= (watch.events & kAccept) != 0 ? kAccept : ~kAccept;
        due &= watch.armed & watch.events;
        for (uint32_t event : {kAccept, kRead, kWrite, kClose}) {
            if ((due & event) == 0) continue;
            watch.armed &= ~event;
            Post(fd.fd, watch, event, event == kClose ? SocketError(fd.fd) : 0);
        }
    }
}

}  // namespace platform::net
