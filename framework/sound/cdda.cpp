#include "framework/sound/cdda.h"

#include "framework/sound/cdda_internal.h"
#include "framework/core/lock.h"

CDDAState& CDDAGetState() {
    static CDDAState state = {};
    return state;
}

void CDDAClose() {
    CDDAState& state = CDDAGetState();
    if (!state.open) return;
    // Stopping and closing have no device to talk to here; the state is what remains.
    state.playing = false;
    state.open = false;
    Zeth::MemoryFree(state.tracks);
    state.tracks = nullptr;
}

bool CDDANotify(uintptr_t wParam, intptr_t lParam) {
    CDDAState& state = CDDAGetState();
    if (static_cast<uint32_t>(lParam) != state.device) return false;
    if (wParam == kMciNotifySuccessful && state.looping && state.open && !state.playing) {
        // Playing the range again needs a CD-audio device, which this platform lacks; a play
        // that fails closes the device.
        CDDAClose();
    }
    return true;
}
