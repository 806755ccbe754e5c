// The player's own files beside the executable (score file, replays): read up to a limit, written whole
// through a temporary file and a rename, copied without replacing, renamed, and their folders
// made. Paths are relative to the current folder and may use '\' and any letter case, like the
// file system's. A read finds an existing file or folder whatever its case; a write finds the
// folders so, but writes the file under its name exactly as given, never over a namesake in
// another case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/os/file_write.h"

namespace ZethUserFile {

using platform::WriteFailure;

// How a read went.
enum class ReadResult {
    kMissing,     // nothing is there under that name
    kUnreadable,  // something is there, but not a file that can be read
    kWhole,       // data holds the whole file
    kTooLarge,    // the file is longer than the limit: data holds only its first limit bytes
};

bool Exists(const char* path);  // something is there under that name
// Reads the file, never more than limit bytes: the caller gives the most its format can hold, so
// a huge file costs no more memory than a sound one. data is empty unless kWhole or kTooLarge;
// then fileSize (when given) holds the whole file's length.
ReadResult Read(const char* path, std::vector<uint8_t>* data, size_t limit, uint64_t* fileSize = nullptr);
// True when data holds the file, or its first part.
inline bool HoldsData(ReadResult result) { return result == ReadResult::kWhole || result == ReadResult::kTooLarge; }
// Replaces the file with the bytes; on failure the old file stays as it was, and failure (when
// given) says why.
bool WriteReplacing(const char* path, const void* data, size_t size, WriteFailure* failure = nullptr);
// False, changing nothing, when to exists (in any letter case) or from is longer than limit bytes.
bool CopyNew(const char* from, const char* to, size_t limit);
bool Rename(const char* from, const char* to);   // replaces to (the name exactly as given)
bool MakeFolder(const char* path);               // true when the folder exists afterwards
// Says in the log that path could not be written and why; when something at the temporary name
// stood in the way, it names that and says it was left as it is.
void ReportWriteFailure(const char* path, WriteFailure failure);

}  // namespace ZethUserFile
