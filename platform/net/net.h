// TCP sockets over POSIX, non-blocking, with their events delivered as window messages: a
// socket asks for read, write, accept and close notices, and PostEvents (called once per pass
// of the message loop) posts each notice that is due. Errors are reported as the framework's
// socket error codes (10035 would block, 10054 reset by the peer, ...).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::net {

using Socket = int;
constexpr Socket kInvalidSocket = -1;

// Notice bits, in the low word of a notice message's lParam; the error code is in the high word.
constexpr uint32_t kRead = 1;
constexpr uint32_t kWrite = 2;
constexpr uint32_t kAccept = 8;
constexpr uint32_t kClose = 32;

constexpr int kWouldBlock = 10035;

int LastError();  // the error code of the last failed call on this thread

// A non-blocking listening socket bound to address:port (port 0: any free port); kInvalidSocket
// on failure.
Socket Listen(const char* address, uint16_t port);
uint16_t LocalPort(Socket socket);
struct PeerAddress {
    uint8_t raw[16];     // the IPv4 socket address: family, port and address in network order
    std::string dotted;  // the address as dotted text
};
// Takes one waiting connection as a non-blocking socket. kInvalidSocket when none is waiting
// (LastError kWouldBlock) or on failure.
Socket Accept(Socket server, PeerAddress& peer);
int Send(Socket socket, const void* data, int length);  // bytes sent, or -1
int Receive(Socket socket, void* buffer, int size);      // bytes read, 0 at the end, or -1
enum class ShutdownHow { kSend, kBoth };
void Shutdown(Socket socket, ShutdownHow how);
void Close(Socket socket);  // also forgets its notices

// From now on the socket's events in the mask are posted as message, with the socket as wParam.
// Like the window system's asynchronous select, each notice is posted once and comes again
// only after the call that consumes it (Receive for read, Accept for accept, a Send that would
// block for write).
void AsyncSelect(Socket socket, uint32_t message, uint32_t events);
void PostEvents();

struct HostInfo {
    std::string name;
    std::vector<std::string> aliases;
    std::vector<std::string> addresses;  // dotted IPv4
};
bool LookupByName(const char* name, HostInfo& out);
bool LookupByAddress(const char* dottedAddress, HostInfo& out);
bool IsDottedAddress(const char* text);

}  // namespace platform::net
