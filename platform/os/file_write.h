// Writing the player's files on disk: whole files replaced through a temporary file and a rename,
// so a crash never leaves half a file; copies that refuse to replace a file; renames; folders.
// Paths are used as given (the framework finds their letter case first).
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// Why a write failed.
enum class WriteFailure {
    kNone,
    kNotPermitted,        // the folder or file refuses the write (permissions, a read-only file system)
    kTooManyOpenFiles,    // no file descriptor is left to the process or the system
    kTemporaryInTheWay,   // "<path>.tmp" is something other than a file or an empty folder: left alone
    kOther,               // a full disk, an input/output error, ...
};

// Writes the bytes to "<path>.tmp", flushes them to the disk and renames the temporary file onto
// path. A file left at the temporary name by a crash, or an empty folder there, is removed first.
// On failure the temporary file is removed, any old file at path is left untouched, and failure
// (when given) says why.
bool WriteFileReplacing(const std::string& path, const void* data, size_t size, WriteFailure* failure = nullptr);
// Copies from to a new file to; fails, changing nothing, when to already exists or from is
// longer than limit bytes (the most its format holds: more is damage, and is not read).
bool CopyFileNew(const std::string& from, const std::string& to, size_t limit);
// Renames from to to, replacing to when it exists.
bool RenameFile(const std::string& from, const std::string& to);
// Makes the folder; true when it exists afterwards (also when it existed before).
bool MakeFolder(const std::string& path);

}  // namespace platform
