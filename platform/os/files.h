// Files on disk for the framework's file system: paths written with '\' and in any letter case
// are found on a case-sensitive file system, and opened files are read by position.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

using FileHandle = int;
constexpr FileHandle kNoFile = -1;

// Access and modification times of a file, to put back after reading it.
struct FileTimes {
    int64_t accessSeconds, accessNanoseconds;
    int64_t writeSeconds, writeNanoseconds;
};

// The path as it exists on disk: '\' becomes '/', and when the path is not found as written each
// component is matched without regard to ASCII letter case (the first match in byte order wins).
// Empty when nothing matches.
std::string FindPath(const std::string& path);

// Opens an existing regular file for reading, found as FindPath finds it; kNoFile when missing.
FileHandle OpenFileForReading(const std::string& path);
void CloseFile(FileHandle file);  // kNoFile allowed
bool GetFileSize(FileHandle file, uint64_t* size);
bool GetFilePosition(FileHandle file, uint64_t* position);
bool SetFilePosition(FileHandle file, uint64_t position);
// Reads up to count bytes at the current position; the number read (0 at the end or on error).
uint32_t ReadFile(FileHandle file, void* buffer, uint32_t count);
// Reads exactly count bytes at the given offset without moving the position; false when short.
bool ReadFileAt(FileHandle file, uint64_t offset, void* buffer, uint32_t count);
bool GetFileTimes(FileHandle file, FileTimes* times);
// Puts the times back; silently does nothing where the file's owner forbids it.
void SetFileTimes(FileHandle file, const FileTimes& times);

}  // namespace platform
