#include "framework/core/lock.h"

#include <cstdlib>

namespace Zeth {

CCriticalSection& SystemLock() {
    // Constructed on first use so that static initialisers elsewhere may already log.
    static CCriticalSection lock;
    return lock;
}

void* MemoryAlloc(uint32_t size) {
    CLockScope scope(SystemLock());
    // calloc of 0 bytes may return null or a unique pointer, as the heap decides.
    return std::calloc(1, size);
}

void MemoryFree(void* block) {
    CLockScope scope(SystemLock());
    std::free(block);
}

}  // namespace Zeth
