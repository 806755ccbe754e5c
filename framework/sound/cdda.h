// CD audio; its notifications arrive as a window message. This platform has no CD-audio
// device: nothing opens one, so the state stays closed and a replay request fails.
#pragma once

#include <cstdint>

constexpr uintptr_t kMciNotifySuccessful = 1;

void CDDAClose();  // stops playback and closes the device when it is open
// The end-of-play notice (code, device id); false when it is for another device.
bool CDDANotify(uintptr_t wParam, intptr_t lParam);
