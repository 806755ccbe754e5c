// The file system: 16 search slots, each a root folder of loose files and a data pack, tried in
// order, then the bare name. Whole-file loads expand "LZSS" contents; streams read a loose file
// or a pack entry piece by piece. Names may use '\' or '/' and any letter case.
#pragma once

#include <cstdint>

namespace ZethFile {

constexpr int kSlots = 16;
constexpr int kPathSize = 260;
// The most a whole file read into memory may hold, stored or expanded: an image of the largest
// texture the device takes (4096 x 4096, 4 bytes a pixel) with room for its header. A larger file
// is damaged: it is refused and said in the log, so a huge file costs no memory.
constexpr uint32_t kLoadLimit = 4096 * 4096 * 4 + 65536;
// Says in the log that a file is refused for being larger than kLoadLimit.
void ReportTooLarge(const char* name);

struct Stream;  // an open file or pack entry; owned by the caller until FileClose

// Every slot without a pack; true.
bool Initialize();
// Closes every slot's pack and frees its table.
void Finalize();
// Search slot: folder of loose files and the pack file (opened relative to the current folder).
// A missing or damaged pack leaves the slot without one.
void SetRootPath(int slot, const char* rootFolder, const char* packFile);
// The sub-folder put between a slot's root and a name ("texture", "sound", ...); null = none.
void SetCurrentPath(const char* subFolder);
// Loads a whole file into a buffer from Zeth::MemoryAlloc (freed by the caller with
// Zeth::MemoryFree). A null buffer pointer only asks whether the file exists. A file larger than
// kLoadLimit, or expanding to more, is not loaded (the log says so).
bool Load(const char* name, void** buffer, uint32_t* size);
// Fills path (kPathSize bytes) with where the file would be read from: the path on disk, the
// relative path when only a pack holds it, or the bare name.
bool ResolvePath(char* path, const char* name);
// Opens a stream, searched as Load searches; null when the file is nowhere. Streams are always
// opened read-only (nothing writes through them), whatever readOnly says.
Stream* FileOpen(const char* name, bool readOnly);
// Closes a stream (null allowed).
void FileClose(Stream* stream);
// The stream's size in bytes (0 for null).
uint32_t FileGetSize(const Stream* stream);
// Reads up to count bytes, never past the stream's end; returns the bytes actually read (0 at
// the end, where the buffer is left unchanged).
uint32_t FileRead(Stream* stream, uint32_t count, void* buffer);

}  // namespace ZethFile

// Moves a stream: mode 0 from the current position, 1 from the start of its data, 2 from its end.
// A target outside the stream's data fails without moving; any other mode keeps the position.
bool FileSeek(ZethFile::Stream* stream, int32_t offset, int mode);
