#include "framework/network.h"

bool NetworkInitialize() { return true; }
void NetworkFinalize() {}
void NetworkEvent(Zeth::WindowHandle, uintptr_t, intptr_t) {}
