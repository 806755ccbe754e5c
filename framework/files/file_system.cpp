// The search slots, their packs and whole-file loads.
#include "framework/files/file_system.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "framework/files/file_system_internal.h"
#include "framework/app/log.h"
#include "framework/files/lzss.h"
#include "framework/files/sjis.h"
#include "framework/app/zeth.h"

namespace ZethFile {
namespace internal {
namespace {

struct FileSystemState {
    Slot slots[kSlots];
    char currentPath[kPathSize] = {};
};

FileSystemState& Files() {
    static FileSystemState state;
    return state;
}

// True when the text's last character is a single-byte '\' (a trail byte 0x5C does not count).
bool EndsWithSeparator(const char* text) {
    bool separator = false;
    while (*text != '\0') {
        uint32_t code = 0;
        const int length = SjisReadChar(text, &code);
        separator = length == 1 && code == '\\';
        text += length;
    }
    return separator;
}

// Copies a folder name, '/' turned into '\' when asked, with a trailing '\' unless empty.
// False (and an empty result) when it does not fit.
bool CopyFolder(char (&out)[kPathSize], const char* folder, bool convertSlashes) {
    std::memset(out, 0, sizeof(out));
    if (folder == nullptr || folder[0] == '\0') return true;
    const size_t length = std::strlen(folder);
    if (length + 2 > kPathSize) return false;
    if (convertSlashes) ReplaceChar(out, folder, '\\', '/');
    else std::memcpy(out, folder, length);
    if (!EndsWithSeparator(out)) out[length] = '\\';
    return true;
}

void ClosePack(Slot& slot) {
    platform::CloseFile(slot.pack);
    Zeth::MemoryFree(slot.table);
    slot.pack = platform::kNoFile;
    slot.table = nullptr;
    slot.count = 0;
    slot.packSize = 0;
    slot.packProblem = nullptr;
}

constexpr const char* kPackMissing = "データパックがみつかりません [ %s ]";
constexpr const char* kPackUnreadable = "データパックを読み込めません [ %s ]";
constexpr const char* kPackDamaged = "データパックが壊れています [ %s ]";

// Opens the slot's pack and reads its table; a missing or damaged pack leaves the slot without
// one, and the reason to be said at its first search.
void OpenPack(Slot& slot) {
    if (slot.packName[0] == '\0') return;
    platform::FileHandle file = platform::OpenFileForReading(slot.packName);
    if (file == platform::kNoFile) {
        slot.packProblem = platform::FindPath(slot.packName).empty() ? kPackMissing : kPackUnreadable;
        return;
    }
    uint8_t header[kPackHeaderSize];
    uint64_t fileSize = 0;
    uint32_t count = 0;
    if (!platform::GetFileSize(file, &fileSize) || !platform::ReadFileAt(file, 0, header, sizeof(header)) ||
        !PackReadHeader(header, fileSize, &count)) {
        platform::CloseFile(file);
        slot.packProblem = kPackDamaged;
        return;
    }
    // The header check bounds the table by the file size and by kPackMaxEntries.
    const uint32_t tableBytes = count * static_cast<uint32_t>(sizeof(PackEntry));
    PackEntry* table = nullptr;
    if (count > 0) {
        table = static_cast<PackEntry*>(Zeth::MemoryAlloc(tableBytes));
        const bool read = table != nullptr && platform::ReadFileAt(file, kPackHeaderSize, table, tableBytes);
        if (!read || !PackTableSorted(table, count)) {
            Zeth::MemoryFree(table);
            platform::CloseFile(file);
            slot.packProblem = read ? kPackDamaged : kPackUnreadable;
            return;
        }
    }
    slot.pack = file;
    slot.table = table;
    slot.count = count;
    slot.packSize = fileSize;
}

}  // namespace

CCriticalSection& FileLock() {
    static CCriticalSection lock;
    return lock;
}

Slot& GetSlot(int index) { return Files().slots[index]; }
const char* CurrentPath() { return Files().currentPath; }

bool JoinPath(char (&out)[kPathSize], const char* a, const char* b, const char* c) {
    const size_t lengths[3] = {std::strlen(a), std::strlen(b), std::strlen(c)};
    if (lengths[0] + lengths[1] + lengths[2] >= kPathSize) return false;
    std::memcpy(out, a, lengths[0]);
    std::memcpy(out + lengths[0], b, lengths[1]);
    std::memcpy(out + lengths[0] + lengths[1], c, lengths[2] + 1);
    return true;
}

const PackEntry* FindPackEntry(const Slot& slot, const char* name) {
    // The pack is opened during the game's set-up, before the log is; its problem waits for the
    // first search, when the log is open and a file is actually wanted.
    if (slot.packProblem != nullptr) {
        ZethLog::Report(slot.packProblem, slot.packName);
        slot.packProblem = nullptr;
    }
    char relative[kPathSize];
    if (slot.pack == platform::kNoFile || !JoinPath(relative, CurrentPath(), name)) return nullptr;
    char normalised[kPathSize] = {};
    NormalizePath(normalised, relative);
    const PackEntry* entry = PackFindEntry(slot.table, slot.count, normalised);
    if (entry != nullptr && !PackEntryInside(*entry, slot.packSize)) {
        ZethLog::PrintError("データパックの項目が壊れています [ %s ] : [ %s ] の終わりを越えています", relative,
                            slot.packName);
        ZethLog::PrintBreak();
        return nullptr;
    }
    return entry;
}

}  // namespace internal

using internal::Slot;

namespace {

enum class DiskLoad { kMissing, kLoaded, kFailed };

// A block of at least one byte, so an empty file still yields a buffer.
void* AllocateBuffer(uint32_t size) { return Zeth::MemoryAlloc(size == 0 ? 1 : size); }

// Expands an "LZSS" image in place of the buffer; other contents stay as read. On failure
// both buffers are gone and the failure is logged.
bool DecodeFileImage(const char* name, void** buffer, uint32_t* size) {
    if (!LzssHasMagic(*buffer, *size)) return true;
    const int32_t decodedSize = LzssGetSize(*buffer, *size);
    if (decodedSize > 0 && static_cast<uint32_t>(decodedSize) > kLoadLimit) {
        Zeth::MemoryFree(*buffer);
        *buffer = nullptr;
        *size = 0;
        ReportTooLarge(name);
        return false;
    }
    void* decoded = decodedSize < 0 ? nullptr : AllocateBuffer(static_cast<uint32_t>(decodedSize));
    const bool ok = decoded != nullptr && LzssDecode(*buffer, *size, decoded, static_cast<uint32_t>(decodedSize));
    Zeth::MemoryFree(*buffer);
    if (!ok) {
        Zeth::MemoryFree(decoded);
        *buffer = nullptr;
        *size = 0;
        ZethLog::Print(" {");
        ZethLog::PrintBreak();
        ZethLog::PrintError("　　ファイルのデコードに失敗");
        ZethLog::PrintBreak();
        ZethLog::Print("} ");
        return false;
    }
    *buffer = decoded;
    *size = static_cast<uint32_t>(decodedSize);
    return true;
}

// Reads size bytes at offset of an open file into a new buffer and expands it; name is the
// file's, for the log.
bool ReadImage(const char* name, platform::FileHandle file, uint64_t offset, uint64_t size, void** buffer,
               uint32_t* bufferSize) {
    if (size > kLoadLimit) {
        ReportTooLarge(name);
        return false;
    }
    void* data = AllocateBuffer(static_cast<uint32_t>(size));
    if (data == nullptr || !platform::ReadFileAt(file, offset, data, static_cast<uint32_t>(size))) {
        Zeth::MemoryFree(data);
        return false;
    }
    *buffer = data;
    *bufferSize = static_cast<uint32_t>(size);
    return DecodeFileImage(name, buffer, bufferSize);
}

DiskLoad LoadDisk(const char* path, void** buffer, uint32_t* size) {
    platform::FileHandle file = platform::OpenFileForReading(path);
    if (file == platform::kNoFile) return DiskLoad::kMissing;
    uint64_t fileSize = 0;
    bool loaded = buffer == nullptr;
    if (!loaded && platform::GetFileSize(file, &fileSize)) {
        void* data = nullptr;
        uint32_t dataSize = 0;
        loaded = ReadImage(path, file, 0, fileSize, &data, &dataSize);
        if (loaded) {
            *buffer = data;
            if (size != nullptr) *size = dataSize;
        }
    }
    platform::CloseFile(file);
    return loaded ? DiskLoad::kLoaded : DiskLoad::kFailed;
}

bool LoadPackEntry(const Slot& slot, const PackEntry& entry, const char* name, void** buffer, uint32_t* size) {
    void* data = nullptr;
    uint32_t dataSize = 0;
    char relative[kPathSize];
    internal::JoinPath(relative, internal::CurrentPath(), name);  // fits: the search made it
    const bool loaded = ReadImage(relative, slot.pack, entry.offset, entry.size, &data, &dataSize);
    *buffer = data;
    if (size != nullptr) *size = dataSize;
    return loaded;
}

}  // namespace

void ReportTooLarge(const char* name) {
    ZethLog::Report("ファイルが大きすぎるため、壊れているとみなして読み込みません [ %s ]", name);
}

bool Initialize() {
    Finalize();
    return true;
}

void Finalize() {
    CLockScope lock(internal::FileLock());
    for (Slot& slot : internal::Files().slots) internal::ClosePack(slot);
}

void SetRootPath(int slotIndex, const char* rootFolder, const char* packFile) {
    if (slotIndex < 0 || slotIndex >= kSlots) return;
    CLockScope lock(internal::FileLock());
    Slot& slot = internal::GetSlot(slotIndex);
    internal::ClosePack(slot);
    std::memset(slot.packName, 0, sizeof(slot.packName));
    // A name that does not fit leaves the slot without that part, never a cut-off path.
    internal::CopyFolder(slot.root, rootFolder, true);
    if (packFile != nullptr && std::strlen(packFile) < kPathSize) ReplaceChar(slot.packName, packFile, '\\', '/');
    internal::OpenPack(slot);
}

void SetCurrentPath(const char* subFolder) {
    CLockScope lock(internal::FileLock());
    internal::CopyFolder(internal::Files().currentPath, subFolder, false);
}

bool Load(const char* name, void** buffer, uint32_t* size) {
    if (buffer != nullptr) *buffer = nullptr;
    if (buffer != nullptr && size != nullptr) *size = 0;
    if (name == nullptr) return false;
    CLockScope lock(internal::FileLock());
    Zeth::SetCurrentDirectoryToExe();
    for (const Slot& slot : internal::Files().slots) {
        char path[kPathSize];
        if (internal::JoinPath(path, slot.root, internal::CurrentPath(), name) &&
            LoadDisk(path, buffer, size) == DiskLoad::kLoaded) {
            return true;
        }
        // A loose file that failed to load falls through to the same slot's pack.
        const PackEntry* entry = internal::FindPackEntry(slot, name);
        if (entry == nullptr) continue;
        if (buffer == nullptr) return true;
        return LoadPackEntry(slot, *entry, name, buffer, size);
    }
    return LoadDisk(name, buffer, size) == DiskLoad::kLoaded;
}

bool ResolvePath(char* path, const char* name) {
    if (path == nullptr || name == nullptr) return false;
    CLockScope lock(internal::FileLock());
    Zeth::SetCurrentDirectoryToExe();
    auto existsOnDisk = [path](const char* candidate) {
        platform::FileHandle file = platform::OpenFileForReading(candidate);
        if (file == platform::kNoFile) return false;
        platform::CloseFile(file);
        std::snprintf(path, kPathSize, "%s", platform::FindPath(candidate).c_str());
        return true;
    };
    for (const Slot& slot : internal::Files().slots) {
        char candidate[kPathSize];
        if (internal::JoinPath(candidate, slot.root, internal::CurrentPath(), name) && existsOnDisk(candidate)) return true;
        if (internal::FindPackEntry(slot, name) != nullptr) {
            char relative[kPathSize];
            internal::JoinPath(relative, internal::CurrentPath(), name);  // fits: the search made it
            std::memcpy(path, relative, kPathSize);
            return true;
        }
    }
    return existsOnDisk(name);
}

}  // namespace ZethFile
