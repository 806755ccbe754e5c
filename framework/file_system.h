// The file system: 16 search slots, each a root folder of loose files and a data pack, tried in
// order, then the bare name. Whole-file loads expand "LZSS" contents; streams read a loose file
// or a pack entry piece by piece.
#pragma once

#include <cstdint>

namespace ZethFile {

constexpr int kSlots = 16;
constexpr int kPathSize = 260;

struct Stream;  // an open file or pack entry; owned by the caller until FileClose

bool Initialize();
void Finalize();
// Search slot: folder of loose files and the pack file (opened relative to the current folder).
void SetRootPath(int slot, const char* rootFolder, const char* packFile);
// The sub-folder put between a slot's root and a name ("texture", "sound", ...); null = none.
void SetCurrentPath(const char* subFolder);
// Loads a whole file into a buffer from Zeth::MemoryAlloc (freed by the caller with
// Zeth::MemoryFree). A null buffer pointer only asks whether the file exists.
bool Load(const char* name, void** buffer, uint32_t* size);
// Fills path (kPathSize bytes) with where the file would be read from.
bool ResolvePath(char* path, const char* name);
Stream* FileOpen(const char* name, bool readOnly);
void FileClose(Stream* stream);
uint32_t FileGetSize(const Stream* stream);
uint32_t FileRead(Stream* stream, uint32_t count, void* buffer);  // bytes actually read

}  // namespace ZethFile

// Moves a stream: mode 0 from the current position, 1 from the start of its data, 2 from its end.
bool FileSeek(ZethFile::Stream* stream, int32_t offset, int mode);
