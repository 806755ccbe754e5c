// State shared by the file system's search (file_system.cpp) and its streams (file_stream.cpp).
#pragma once

#include <cstdint>

#include "framework/files/file_pack.h"
#include "framework/files/file_system.h"
#include "framework/core/lock.h"
#include "platform/os/files.h"

namespace ZethFile::internal {

// One search slot: a folder of loose files and a data pack.
struct Slot {
    char root[kPathSize] = {};      // '\' separators, a trailing '\' unless empty
    char packName[kPathSize] = {};  // '\' separators
    platform::FileHandle pack = platform::kNoFile;
    PackEntry* table = nullptr;     // from Zeth::MemoryAlloc; null when the slot has no pack
    uint32_t count = 0;
    uint64_t packSize = 0;          // entries reaching past it are refused
    // Why the named pack could not be opened (a format with the pack's name), said once at the
    // slot's first search; null when there is nothing to say.
    mutable const char* packProblem = nullptr;
};

// Taken by every search, before the system lock.
CCriticalSection& FileLock();
Slot& GetSlot(int index);
const char* CurrentPath();

// out = a followed by b followed by c; false when it does not fit in kPathSize bytes.
bool JoinPath(char (&out)[kPathSize], const char* a, const char* b, const char* c = "");
// The slot's entry for the current path followed by name; null on a miss, and for an entry whose
// data would run past the pack's end (logged).
const PackEntry* FindPackEntry(const Slot& slot, const char* name);

}  // namespace ZethFile::internal
