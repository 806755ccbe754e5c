// The socket layer; socket events arrive as a window message.
#pragma once

#include <cstdint>

#include "framework/zeth.h"

bool NetworkInitialize();
void NetworkFinalize();
void NetworkEvent(Zeth::WindowHandle window, uintptr_t wParam, intptr_t lParam);
