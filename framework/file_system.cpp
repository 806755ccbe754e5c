// A stand-in for the file system until the real one lands: streams read files on disk by their
// bare name ('\' read as '/'); search slots and packs are not consulted.
#include "framework/file_system.h"

#include <cstdio>
#include <string>

#include "framework/lock.h"

namespace ZethFile {

struct Stream {
    std::FILE* file;
    uint32_t size;
};

bool Initialize() { return true; }
void Finalize() {}
void SetRootPath(int, const char*, const char*) {}

Stream* FileOpen(const char* name, bool) {
    std::string path(name);
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return nullptr;
    std::fseek(file, 0, SEEK_END);
    long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    auto* stream = static_cast<Stream*>(Zeth::MemoryAlloc(sizeof(Stream)));
    *stream = {file, static_cast<uint32_t>(size < 0 ? 0 : size)};
    return stream;
}

void FileClose(Stream* stream) {
    if (stream == nullptr) return;
    std::fclose(stream->file);
    Zeth::MemoryFree(stream);
}

uint32_t FileGetSize(const Stream* stream) { return stream != nullptr ? stream->size : 0; }

uint32_t FileRead(Stream* stream, uint32_t count, void* buffer) {
    if (stream == nullptr) return 0;
    return static_cast<uint32_t>(std::fread(buffer, 1, count, stream->file));
}

}  // namespace ZethFile

bool FileSeek(ZethFile::Stream* stream, int32_t offset, int mode) {
    if (stream == nullptr || mode < 0 || mode > 2) return false;
    long base = mode == 0 ? std::ftell(stream->file) : mode == 1 ? 0 : static_cast<long>(stream->size);
    long target = base + offset;
    if (target < 0 || target > static_cast<long>(stream->size)) return false;
    return std::fseek(stream->file, target, SEEK_SET) == 0;
}
