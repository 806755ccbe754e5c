// Socket calls and the translation of POSIX errors into the framework's socket error codes.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/net/net_internal.h"

namespace platform::net {
namespace {

thread_local int t_lastError = 0;

struct ErrorRow {
    int posix;
    int code;
};

constexpr ErrorRow kErrors[] = {
    {EINTR, 10004},           {EBADF, 10009},           {EACCES, 10013},        {EFAULT, 10014},
    {EINVAL, 10022},          {EMFILE, 10024},          {EWOULDBLOCK, 10035},   {EAGAIN, 10035},
    {EINPROGRESS, 10036},     {EALREADY, 10037},        {ENOTSOCK, 10038},      {EDESTADDRREQ, 10039},
    {EMSGSIZE, 10040},        {EPROTOTYPE, 10041},      {ENOPROTOOPT, 10042},   {EPROTONOSUPPORT, 10043},
    {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045},      {EPFNOSUPPORT, 10046},  {EAFNOSUPPORT, 10047},
    {EADDRINUSE, 10048},      {EADDRNOTAVAIL, 10049},   {ENETDOWN, 10050},      {ENETUNREACH, 10051},
    {ENETRESET, 10052},       {ECONNABORTED, 10053},    {ECONNRESET, 10054},    {ENOBUFS, 10055},
    {EISCONN, 10056},         {ENOTCONN, 10057},        {ESHUTDOWN, 10058},     {EPIPE, 10058},
    {ETOOMANYREFS, 10059},    {ETIMEDOUT, 10060},       {ECONNREFUSED, 10061},  {ELOOP, 10062},
    {ENAMETOOLONG, 10063},    {EHOSTDOWN, 10064},       {EHOSTUNREACH, 10065},  {ENOTEMPTY, 10066},
    {EUSERS, 10068},          {EDQUOT, 10069},          {ESTALE, 10070},        {EREMOTE, 10071},
};

constexpr int kSystemCallFailure = 10107;

bool FailWithErrno() {
    internal::SetError(internal::ErrorFromErrno(errno));
    return false;
}

bool MakeNonBlocking(Socket socket) {
    int flags = fcntl(socket, F_GETFL, 0);
    return flags >= 0 && fcntl(socket, F_SETFL, flags | O_NONBLOCK) == 0;
}

}  // namespace

namespace internal {

void SetError(int code) { t_lastError = code; }

int ErrorFromErrno(int error) {
    for (const ErrorRow& row : kErrors) {
        if (row.posix == error) return row.code;
    }
    return kSystemCallFailure;
}

}  // namespace internal

int LastError() { return t_lastError; }

Socket Listen(const char* address, uint16_t port) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    if (inet_pton(AF_INET, address, &local.sin_addr) != 1) {
        internal::SetError(10049);
        return kInvalidSocket;
    }
    Socket server = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (server < 0) {
        FailWithErrno();
        return kInvalidSocket;
    }
    int reuse = 1;
    setsockopt(server, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof(reuse));
    if (bind(server, reinterpret_cast<sockaddr*>(&local), sizeof(local)) != 0 || listen(server, SOMAXCONN) != 0 ||
        !MakeNonBlocking(server)) {
        FailWithErrno();
        ::close(server);
        return kInvalidSocket;
    }
    return server;
}

uint16_t LocalPort(Socket socket) {
    sockaddr_in local{};
    socklen_t size = sizeof(local);
    if (getsockname(socket, reinterpret_cast<sockaddr*>(&local), &size) != 0) return 0;
    return ntohs(local.sin_port);
}

Socket Accept(Socket server, PeerAddress& peerAddress) {
    internal::Rearm(server, kAccept);
    sockaddr_in peer{};
    socklen_t size = sizeof(peer);
    Socket client = accept4(server, reinterpret_cast<sockaddr*>(&peer), &size, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (client < 0) {
        FailWithErrno();
        return kInvalidSocket;
    }
    char dotted[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &peer.sin_addr, dotted, sizeof(dotted));
    static_assert(sizeof(peer) == sizeof(peerAddress.raw));
    std::memcpy(peerAddress.raw, &peer, sizeof(peer));
    peerAddress.dotted = dotted;
    return client;
}

int Send(Socket socket, const void* data, int length) {
    ssize_t sent = send(socket, data, static_cast<size_t>(length), MSG_NOSIGNAL);
    if (sent >= 0) return static_cast<int>(sent);
    FailWithErrno();
    if (t_lastError == kWouldBlock) internal::Rearm(socket, kWrite);
    return -1;
}

int Receive(Socket socket, void* buffer, int size) {
    internal::Rearm(socket, kRead);
    ssize_t received = recv(socket, buffer, static_cast<size_t>(size), 0);
    if (received >= 0) return static_cast<int>(received);
    FailWithErrno();
    return -1;
}

void Shutdown(Socket socket, ShutdownHow how) { shutdown(socket, how == ShutdownHow::kSend ? SHUT_WR : SHUT_RDWR); }

void Close(Socket socket) {
    if (socket == kInvalidSocket) return;
    internal::Forget(socket);
    ::close(socket);
}

}  // namespace platform::net
