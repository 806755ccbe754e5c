// The socket layer's server, clients and notices.
#include "framework/net/network.h"

#include <algorithm>
#include <cstring>

#include "platform/net/net.h"
#include "platform/window/messages.h"

namespace net = platform::net;

namespace {

constexpr uint32_t kNoticeMessage = platform::wm::kUser + 1;
constexpr uint32_t kClientEvents = net::kRead | net::kWrite | net::kClose;  // 35
constexpr int kErrorTextSize = 1024;
constexpr int16_t kAddressTypeIPv4 = 2;
constexpr int kGracefulPiece = 64;

struct NetworkState {
    char lastError[kErrorTextSize];
    NetworkHost host;
    net::Socket server;
    bool listening;
    Zeth::WindowHandle window;
    NetworkClient* clients;
    int32_t clientCount;
    NetworkCallback onRead, onWrite, onClose, onAccept;
};

NetworkState g_net = {{}, {}, net::kInvalidSocket, false, nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr};

void SetErrorCode(int code) {
    std::memset(g_net.lastError, 0, sizeof(g_net.lastError));
    GetWinsockErrorString(code, g_net.lastError);
}

void SetErrorText(const char* text) {
    std::memset(g_net.lastError, 0, sizeof(g_net.lastError));
    std::strncpy(g_net.lastError, text, sizeof(g_net.lastError) - 1);
}

void CopyText(char* destination, size_t size, const std::string& text) {
    std::memset(destination, 0, size);
    std::memcpy(destination, text.data(), std::min(text.size(), size - 1));
}

void FillHost(const net::HostInfo& info, NetworkHost& host) {
    host = {};
    CopyText(host.name, sizeof(host.name), info.name);
    host.addressType = kAddressTypeIPv4;
    host.addressLength = 4;
    for (const std::string& alias : info.aliases) {
        if (host.aliasCount == kHostNames) break;
        CopyText(host.aliases[host.aliasCount++], sizeof(host.aliases[0]), alias);
    }
    for (const std::string& address : info.addresses) {
        if (host.addressCount == kHostNames) break;
        CopyText(host.addresses[host.addressCount++], sizeof(host.addresses[0]), address);
    }
}

NetworkClient* FindClient(uintptr_t socket) {
    for (NetworkClient* client = g_net.clients; client != nullptr; client = client->next) {
        if (static_cast<uintptr_t>(client->socket) == socket) return client;
    }
    return nullptr;
}

// Ends our side, lets the peer's last data drain, then closes both ways.
void GracefulClose(net::Socket socket) {
    net::Shutdown(socket, net::ShutdownHow::kSend);
    char piece[kGracefulPiece];
    while (net::Receive(socket, piece, sizeof(piece)) > 0) {
    }
    net::Shutdown(socket, net::ShutdownHow::kBoth);
    net::Close(socket);
}

void CloseAndFreeClient(NetworkClient* client) {
    GracefulClose(client->socket);
    delete[] client->pending;
    delete client;
}

void Unlink(NetworkClient* client) {
    for (NetworkClient** link = &g_net.clients; *link != nullptr; link = &(*link)->next) {
        if (*link == client) {
            *link = client->next;
            --g_net.clientCount;
            return;
        }
    }
}

// Sends until every byte is gone or the socket would block. Returns the bytes sent, or -1
// after writing the error text.
int32_t SendAvailable(net::Socket socket, const char* data, int32_t length) {
    int32_t sent = 0;
    while (sent < length) {
        int result = net::Send(socket, data + sent, length - sent);
        if (result > 0) {
            sent += result;
        } else if (result == 0) {
            SetErrorText("回線は切断されました");
            return -1;
        } else if (net::LastError() == net::kWouldBlock) {
            return sent;
        } else {
            SetErrorCode(net::LastError());
            return -1;
        }
    }
    return sent;
}

// A write notice: the client may send again, starting with what an earlier send left.
void ResumeSending(NetworkClient& client) {
    client.canSend = true;
    if (client.pending == nullptr) {
        if (g_net.onWrite != nullptr) g_net.onWrite(g_net.window, static_cast<uintptr_t>(client.socket));
        return;
    }
    int32_t rest = client.pendingLength - client.pendingOffset;
    int32_t sent = SendAvailable(client.socket, client.pending + client.pendingOffset, rest);
    if (sent < 0) return;
    if (sent < rest) {
        client.canSend = false;
        client.pendingOffset += sent;
        return;
    }
    delete[] client.pending;
    client.pending = nullptr;
    client.pendingOffset = client.pendingLength = 0;
}

}  // namespace

bool NetworkInitialize() {
    std::memset(g_net.lastError, 0, sizeof(g_net.lastError));
    g_net.host = {};
    g_net.server = net::kInvalidSocket;
    g_net.listening = false;
    g_net.clients = nullptr;
    g_net.clientCount = 0;
    return true;
}

void NetworkFinalize() { NetworkCloseAll(); }

void NetworkCloseAll() {
    while (g_net.clients != nullptr) {
        NetworkClient* client = g_net.clients;
        g_net.clients = client->next;
        CloseAndFreeClient(client);
    }
    g_net.clientCount = 0;
    if (g_net.listening) {
        GracefulClose(g_net.server);
        g_net.server = net::kInvalidSocket;
        g_net.listening = false;
    }
}

bool HostLookup(const char* nameOrAddress, NetworkHost* host) {
    net::HostInfo info;
    bool found = net::IsDottedAddress(nameOrAddress) ? net::LookupByAddress(nameOrAddress, info)
                                                     : net::LookupByName(nameOrAddress, info);
    if (!found) {
        SetErrorCode(net::LastError());
        return false;
    }
    FillHost(info, host != nullptr ? *host : g_net.host);
    return true;
}

int32_t NetworkListen(const char* address, uint16_t port) {
    if (g_net.listening) return -1;
    net::Socket server = net::Listen(address, port);
    if (server == net::kInvalidSocket) {
        SetErrorCode(net::LastError());
        return -1;
    }
    g_net.server = server;
    g_net.listening = true;
    g_net.window = Zeth::GetWindowHandle();
    net::AsyncSelect(server, kNoticeMessage, net::kAccept);
    return net::LocalPort(server);
}

void NetworkSetCallbacks(NetworkCallback read, NetworkCallback write, NetworkCallback close, NetworkCallback accept) {
    g_net.onRead = read;
    g_net.onWrite = write;
    g_net.onClose = close;
    g_net.onAccept = accept;
}

bool NetworkAccept() {
    net::PeerAddress peer;
    net::Socket socket = net::Accept(g_net.server, peer);
    if (socket == net::kInvalidSocket) {
        if (net::LastError() == net::kWouldBlock) return true;
        SetErrorCode(net::LastError());
        return false;
    }
    net::AsyncSelect(socket, kNoticeMessage, kClientEvents);
    auto* client = new NetworkClient{};
    client->socket = socket;
    std::memcpy(client->peer, peer.raw, sizeof(client->peer));
    // A peer without a name keeps its address as the only host data.
    if (!HostLookup(peer.dotted.c_str(), &client->host)) {
        FillHost({peer.dotted, {}, {peer.dotted}}, client->host);
    }
    NetworkClient** tail = &g_net.clients;
    while (*tail != nullptr) tail = &(*tail)->next;
    *tail = client;
    ++g_net.clientCount;
    return true;
}

int32_t NetworkSend(const void* data, int32_t length, uintptr_t socket) {
    NetworkClient* client = FindClient(socket);
    if (client == nullptr || !client->canSend || length <= 0) return 0;
    const char* bytes = static_cast<const char*>(data);
    int32_t sent = SendAvailable(client->socket, bytes, length);
    if (sent < 0) return -1;
    if (sent < length) {
        client->canSend = false;
        client->pendingLength = length - sent;
        client->pendingOffset = 0;
        client->pending = new char[static_cast<size_t>(client->pendingLength)];
        std::memcpy(client->pending, bytes + sent, static_cast<size_t>(client->pendingLength));
    }
    return length;
}

int32_t NetworkReceive(uintptr_t socket, void* buffer, int32_t size) {
    NetworkClient* client = FindClient(socket);
    if (client == nullptr || size <= 0) return 0;
    client->hasData = false;
    int received = net::Receive(client->socket, buffer, size);
    if (received >= 0) return received;
    if (net::LastError() == net::kWouldBlock) return 0;
    SetErrorCode(net::LastError());
    return -1;
}

void NetworkEvent(Zeth::WindowHandle window, uintptr_t wParam, intptr_t lParam) {
    uint32_t event = static_cast<uint32_t>(lParam) & 0xFFFFu;
    int error = static_cast<int>((static_cast<uint32_t>(lParam) >> 16) & 0xFFFFu);
    SetErrorCode(error);
    NetworkClient* client = FindClient(wParam);
    switch (event) {
        case net::kRead:
            if (client != nullptr) client->hasData = true;
            if (g_net.onRead != nullptr) g_net.onRead(window, wParam);
            break;
        case net::kWrite:
            if (client != nullptr) ResumeSending(*client);
            break;
        case net::kAccept:
            if (!NetworkAccept()) break;
            if (g_net.onAccept != nullptr) g_net.onAccept(window, wParam);
            break;
        case net::kClose:
            if (client == nullptr) break;
            Unlink(client);
            CloseAndFreeClient(client);
            if (g_net.onClose != nullptr) g_net.onClose(window, wParam);
            break;
        default:
            break;
    }
}

const char* NetworkGetLastError() { return g_net.lastError; }
const NetworkClient* NetworkGetClients() { return g_net.clients; }
int32_t NetworkGetClientCount() { return g_net.clientCount; }
void NetworkPoll() { net::PostEvents(); }
