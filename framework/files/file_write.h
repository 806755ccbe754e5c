// The player's own files beside the executable (score file, replays): read whole, written whole
// through a temporary file and a rename, copied without replacing, renamed, and their folders
// made. Paths are relative to the current folder and may use '\' and any letter case, like the
// file system's; an existing file or folder is found whatever its case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ZethUserFile {

bool Exists(const char* path);                            // something is there under that name
bool Read(const char* path, std::vector<uint8_t>* data);  // the whole file; false when missing or unreadable
// Replaces the file with the bytes; on failure the old file stays as it was.
bool WriteReplacing(const char* path, const void* data, size_t size);
bool CopyNew(const char* from, const char* to);  // false, changing nothing, when to exists
bool Rename(const char* from, const char* to);   // replaces to
bool MakeFolder(const char* path);               // true when the folder exists afterwards

}  // namespace ZethUserFile
