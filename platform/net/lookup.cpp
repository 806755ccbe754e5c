// Host lookups by name and by dotted address, with resolver errors as socket error codes.
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>

#include "platform/net/net_internal.h"

namespace platform::net {
namespace {

int ErrorFromResolver(int error) {
    switch (error) {
        case EAI_NONAME: return 11001;  // host not found
        case EAI_AGAIN: return 11002;   // not found, or the service failed
        case EAI_FAIL: return 11003;    // unrecoverable
        case EAI_NODATA: return 11004;  // no record of the requested type
        default: return 11003;
    }
}

}  // namespace

bool IsDottedAddress(const char* text) {
    in_addr address{};
    return text != nullptr && inet_pton(AF_INET, text, &address) == 1;
}

bool LookupByName(const char* name, HostInfo& out) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_CANONNAME;
    addrinfo* results = nullptr;
    int status = getaddrinfo(name, nullptr, &hints, &results);
    if (status != 0) {
        internal::SetError(ErrorFromResolver(status));
        return false;
    }
    out = {};
    out.name = results->ai_canonname != nullptr ? results->ai_canonname : name;
    for (const addrinfo* entry = results; entry != nullptr; entry = entry->ai_next) {
        char dotted[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr, dotted, sizeof(dotted));
        if (std::find(out.addresses.begin(), out.addresses.end(), dotted) == out.addresses.end()) {
            out.addresses.emplace_back(dotted);
        }
    }
    freeaddrinfo(results);
    return true;
}

bool LookupByAddress(const char* dottedAddress, HostInfo& out) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    if (inet_pton(AF_INET, dottedAddress, &address.sin_addr) != 1) {
        internal::SetError(11001);
        return false;
    }
    char name[NI_MAXHOST] = {};
    int status = getnameinfo(reinterpret_cast<const sockaddr*>(&address), sizeof(address), name, sizeof(name),
                             nullptr, 0, NI_NAMEREQD);
    if (status != 0) {
        internal::SetError(ErrorFromResolver(status));
        return false;
    }
    out = {};
    out.name = name;
    out.addresses.emplace_back(dottedAddress);
    return true;
}

}  // namespace platform::net
