// Opens arbitrary bytes as a slot's data pack and loads, streams and seeks the names its
// entries carry, plus a few fixed ones.
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/files/file_pack.h"
#include "framework/files/file_system.h"
#include "framework/core/lock.h"

namespace {

// The run's own folder for the pack file, removed when the run ends.
struct Folder {
    Folder() {
        char pattern[] = "/tmp/tanzlor-pack-fuzz-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (made != nullptr) path = made;
    }
    ~Folder() {
        if (!path.empty()) std::filesystem::remove_all(path);
    }
    std::string path;
};

void Exercise(const char* name) {
    void* buffer = nullptr;
    uint32_t size = 0;
    if (ZethFile::Load(name, &buffer, &size)) Zeth::MemoryFree(buffer);
    ZethFile::Load(name, nullptr, nullptr);
    ZethFile::Stream* stream = ZethFile::FileOpen(name, true);
    if (stream == nullptr) return;
    char piece[7];
    while (ZethFile::FileRead(stream, sizeof(piece), piece) != 0) {
    }
    FileSeek(stream, -3, 2);
    FileSeek(stream, 5, 1);
    FileSeek(stream, -9, 0);
    ZethFile::FileRead(stream, sizeof(piece), piece);
    ZethFile::FileClose(stream);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Folder made;
    if (made.path.empty()) return 0;
    const std::string& folder = made.path;
    static const std::string packPath = folder + "/data.bin";
    static const bool ready = ZethFile::Initialize();
    (void)ready;
    FILE* file = std::fopen(packPath.c_str(), "wb");
    if (file == nullptr) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    ZethFile::SetRootPath(0, (folder + "/loose").c_str(), packPath.c_str());
    std::vector<std::string> names = {"texture\\bullet.bmp", "a", "table/stage1.csv"};
    for (size_t i = 0; i < 8 && kPackHeaderSize + (i + 1) * sizeof(PackEntry) <= size; ++i) {
        const char* area = reinterpret_cast<const char*>(data + kPackHeaderSize + i * sizeof(PackEntry));
        names.emplace_back(area, strnlen(area, kPackNameSize));
    }
    for (const std::string& name : names) {
        // Names stay inside the fuzz folder and the executable's folder.
        if (!name.empty() && name[0] != '/' && name.find("..") == std::string::npos) Exercise(name.c_str());
    }
    return 0;
}
