// CD audio; its notifications arrive as a window message.
#pragma once

#include <cstdint>

void CDDAClose();
void CDDANotify(uintptr_t wParam, intptr_t lParam);
