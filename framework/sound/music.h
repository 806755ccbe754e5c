// The music service: a table of music slots and the loader that would fill them. No operation
// loads music into a slot, and this platform has no music synthesiser, so it plays nothing.
#pragma once

#include <cstdint>

namespace ZethMusic {

constexpr uint32_t kSlotCount = 64;

// Allocates the slots and takes the sound service's output when it runs.
bool Initialize();
// Releases every slot and the service's objects.
void Finalize();
// Releases one slot's music and clears the slot.
void MusicRelease(uint32_t slot);

}  // namespace ZethMusic
