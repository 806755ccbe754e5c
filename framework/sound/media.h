// The media service: a table of media slots whose playback events arrive as a window message. No
// operation opens media into a slot, and this platform has no media graphs, so it plays nothing.
#pragma once

#include <cstdint>

namespace ZethMedia {

constexpr int32_t kSlotCount = 64;

// Allocates the slot table.
bool Initialize();
// Releases every slot and frees the table.
void Finalize();

}  // namespace ZethMedia

// Drops one reference to a slot; at the last one deletes its temporary file (when asked) and
// clears it. False for -1, an id outside the table or a free slot.
bool MediaRelease(int32_t slot);
// Handles the pending events of the slots in use.
void MediaEvent();
