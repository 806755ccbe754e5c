// The socket layer: a server that accepts TCP clients and talks to them through socket notices
// delivered as the window message WM_USER + 1. It keeps a list of client records, buffers sends
// that would block, looks host names up, and turns socket error codes into texts.
#pragma once

#include <cstdint>

#include "framework/app/zeth.h"

constexpr int kHostNames = 16;  // aliases and addresses a host record keeps

struct NetworkHost {
    char name[256];                     // official name
    char aliases[kHostNames][256];
    char addresses[kHostNames][64];     // dotted
    int16_t addressType;                // 2: IPv4
    int16_t addressLength;              // 4
    int32_t aliasCount;
    int32_t addressCount;
};

struct NetworkClient {
    int socket;
    uint8_t peer[16];  // IPv4 socket address: family, port, address, zero padding
    NetworkHost host;
    bool canSend;
    bool hasData;
    char* pending;  // bytes a send that would block left for later
    int32_t pendingOffset;
    int32_t pendingLength;
    NetworkClient* next;
};

// An event callback: (window, socket).
using NetworkCallback = void (*)(Zeth::WindowHandle window, uintptr_t socket);

bool NetworkInitialize();
void NetworkFinalize();
void NetworkCloseAll();  // closes every client, then the listening socket
// Looks up a host by dotted address or by name into host (null: the layer's own record).
bool HostLookup(const char* nameOrAddress, NetworkHost* host);
bool NetworkAccept();  // accepts one waiting client
// Sends to a client that may send; a part that would block is kept and sent on the next write
// notice. Returns length, or -1 on an error (see NetworkGetLastError).
int32_t NetworkSend(const void* data, int32_t length, uintptr_t socket);
// A socket notice (WM_USER + 1): socket in wParam, event in lParam's low word, error in its high word.
void NetworkEvent(Zeth::WindowHandle window, uintptr_t wParam, intptr_t lParam);
// Copies the text of a socket error code; unknown codes leave text unchanged.
void GetWinsockErrorString(int code, char* text);

// Starts the server on address:port (0: any free port); the port listened on, or -1.
int32_t NetworkListen(const char* address, uint16_t port);
void NetworkSetCallbacks(NetworkCallback read, NetworkCallback write, NetworkCallback close, NetworkCallback accept);
// Reads what a client sent: bytes read, 0 when nothing is waiting or the peer has finished, -1 on error.
int32_t NetworkReceive(uintptr_t socket, void* buffer, int32_t size);
const char* NetworkGetLastError();
const NetworkClient* NetworkGetClients();  // the first client record, or null
int32_t NetworkGetClientCount();
void NetworkPoll();  // posts the socket notices that are due; once per message-loop pass
