// Streams: a loose file or a pack entry read piece by piece through a handle of its own.
#include <cstdio>
#include <new>

#include "framework/files/file_system.h"
#include "framework/files/file_system_internal.h"
#include "framework/app/zeth.h"

namespace ZethFile {

// The stream record; it lives in a block of Zeth::MemoryAlloc.
struct Stream {
    platform::FileHandle handle;
    uint32_t base;  // file offset of the first byte: 0, or the entry's offset in the pack
    uint32_t size;  // bytes from base: the file's size, or the entry's size
    platform::FileTimes times;  // put back on close, so reading leaves the file's times alone
};

namespace {

// Makes the record of a stream over size bytes from base of an open file, which it takes over.
Stream* MakeStream(platform::FileHandle file, uint64_t base, uint64_t size) {
    platform::FileTimes times{};
    void* block = nullptr;
    if (size <= UINT32_MAX && platform::GetFileTimes(file, &times) && platform::SetFilePosition(file, base)) {
        block = Zeth::MemoryAlloc(sizeof(Stream));
    }
    if (block == nullptr) {
        platform::CloseFile(file);
        return nullptr;
    }
    return new (block) Stream{file, static_cast<uint32_t>(base), static_cast<uint32_t>(size), times};
}

// Streams only ever read, so every stream opens its file read-only, whatever the caller asks:
// a data folder without write permission must work.
Stream* FileOpenDisk(const char* path) {
    platform::FileHandle file = platform::OpenFileForReading(path);
    uint64_t size = 0;
    if (file == platform::kNoFile) return nullptr;
    if (!platform::GetFileSize(file, &size)) {
        platform::CloseFile(file);
        return nullptr;
    }
    return MakeStream(file, 0, size);
}

Stream* FileOpenPack(const internal::Slot& slot, const char* name) {
    const PackEntry* entry = internal::FindPackEntry(slot, name);
    if (entry == nullptr) return nullptr;
    platform::FileHandle file = platform::OpenFileForReading(slot.packName);
    return file == platform::kNoFile ? nullptr : MakeStream(file, entry->offset, entry->size);
}

}  // namespace

Stream* FileOpen(const char* name, bool /*readOnly*/) {
    if (name == nullptr) return nullptr;
    CLockScope lock(internal::FileLock());
    Zeth::SetCurrentDirectoryToExe();
    for (int i = 0; i < kSlots; ++i) {
        const internal::Slot& slot = internal::GetSlot(i);
        char path[kPathSize];
        if (internal::JoinPath(path, slot.root, internal::CurrentPath(), name)) {
            if (Stream* stream = FileOpenDisk(path)) return stream;
        }
        if (Stream* stream = FileOpenPack(slot, name)) return stream;
    }
    return FileOpenDisk(name);
}

void FileClose(Stream* stream) {
    if (stream == nullptr) return;
    platform::SetFileTimes(stream->handle, stream->times);
    platform::CloseFile(stream->handle);
    stream->~Stream();
    Zeth::MemoryFree(stream);
}

uint32_t FileGetSize(const Stream* stream) { return stream == nullptr ? 0 : stream->size; }

uint32_t FileRead(Stream* stream, uint32_t count, void* buffer) {
    uint64_t position = 0;
    if (stream == nullptr || !platform::GetFilePosition(stream->handle, &position)) return 0;
    const uint64_t end = uint64_t{stream->base} + stream->size;
    if (position >= end) return 0;  // at the end: nothing read, the buffer untouched
    if (count > end - position) count = static_cast<uint32_t>(end - position);
    return platform::ReadFile(stream->handle, buffer, count);
}

}  // namespace ZethFile

bool FileSeek(ZethFile::Stream* stream, int32_t offset, int mode) {
    uint64_t position = 0;
    if (stream == nullptr || !platform::GetFilePosition(stream->handle, &position)) return false;
    const int64_t base = stream->base;
    const int64_t end = base + stream->size;
    int64_t target = 0;
    switch (mode) {
        case 0: target = static_cast<int64_t>(position) + offset; break;
        case 1: target = base + offset; break;
        case 2: target = end + offset; break;
        default: return true;  // any other mode keeps the position
    }
    if (target < base || target > end) return false;
    return platform::SetFilePosition(stream->handle, static_cast<uint64_t>(target));
}
