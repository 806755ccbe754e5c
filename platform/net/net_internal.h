// Shared between the socket calls and the notice watcher.
#pragma once

#include <cstdint>

#include "platform/net/net.h"

namespace platform::net::internal {

void SetError(int code);
int ErrorFromErrno(int error);
void Rearm(Socket socket, uint32_t event);  // the call that consumes the notice was made
void Forget(Socket socket);

}  // namespace platform::net::internal
