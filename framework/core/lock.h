// The framework's locks and its zero-filling allocator.
//
// Lock order: service locks first (sound, textures and the device, the class managers), then the
// file lock, then the system lock. The system lock is innermost and guards the application state,
// the log, the console and memory allocation.
#pragma once

#include <cstdint>
#include <mutex>

class CCriticalSection {
public:
    CCriticalSection() = default;
    virtual ~CCriticalSection() = default;
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    void Enter() { mutex_.lock(); }  // recursive for the owning thread
    void Leave() { mutex_.unlock(); }

private:
    std::recursive_mutex mutex_;
};

// Holds a lock for one scope.
class CLockScope {
public:
    explicit CLockScope(CCriticalSection& lock) : lock_(lock) { lock_.Enter(); }
    ~CLockScope() { lock_.Leave(); }
    CLockScope(const CLockScope&) = delete;
    CLockScope& operator=(const CLockScope&) = delete;

private:
    CCriticalSection& lock_;
};

namespace Zeth {

CCriticalSection& SystemLock();

// Allocates size zero-filled bytes under the system lock; null when memory is exhausted.
void* MemoryAlloc(uint32_t size);
// Frees a block of MemoryAlloc (null allowed).
void MemoryFree(void* block);

}  // namespace Zeth
