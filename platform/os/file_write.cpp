#include "platform/os/file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/os/files.h"

namespace platform {
namespace {

WriteFailure FailureOf(int error) {
    switch (error) {
        case EACCES: case EPERM: case EROFS: return WriteFailure::kNotPermitted;
        case EMFILE: case ENFILE: return WriteFailure::kTooManyOpenFiles;
        default: return WriteFailure::kOther;
    }
}

void Tell(WriteFailure* failure, WriteFailure why) {
    if (failure != nullptr) *failure = why;
}

bool WriteAll(int fd, const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    size_t done = 0;
    while (done < size) {
        ssize_t n = write(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Frees the temporary name: a file left there by a crash is removed, and so is an empty folder
// (nothing is lost with it); anything else stays and is said to be in the way.
bool ClearTemporary(const std::string& temporary, WriteFailure* failure) {
    if (unlink(temporary.c_str()) == 0 || errno == ENOENT) return true;
    if (errno == EISDIR && rmdir(temporary.c_str()) == 0) return true;
    Tell(failure, errno == EISDIR || errno == ENOTEMPTY || errno == EEXIST ? WriteFailure::kTemporaryInTheWay
                                                                          : FailureOf(errno));
    return false;
}

// Writes a new file at path (which must not exist) and flushes it; removes it on failure.
bool WriteNewFile(const std::string& path, const void* data, size_t size, WriteFailure* failure = nullptr) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        Tell(failure, errno == EEXIST ? WriteFailure::kTemporaryInTheWay : FailureOf(errno));
        return false;
    }
    bool ok = WriteAll(fd, data, size) && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        Tell(failure, FailureOf(error));
        unlink(path.c_str());
    }
    return ok;
}

bool ReadWholeFile(const std::string& path, std::vector<char>* data, size_t limit) {
    FileHandle file = OpenFileForReading(path);
    if (file == kNoFile) return false;
    uint64_t size = 0;
    bool ok = GetFileSize(file, &size) && size <= limit && size <= 0xFFFFFFFFu;
    if (ok) {
        data->resize(size);
        ok = ReadFile(file, data->data(), static_cast<uint32_t>(size)) == size;
    }
    CloseFile(file);
    return ok;
}

}  // namespace

bool WriteFileReplacing(const std::string& path, const void* data, size_t size, WriteFailure* failure) {
    Tell(failure, WriteFailure::kNone);
    std::string temporary = path + ".tmp";
    if (!ClearTemporary(temporary, failure) || !WriteNewFile(temporary, data, size, failure)) return false;
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        Tell(failure, FailureOf(errno));
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool CopyFileNew(const std::string& from, const std::string& to, size_t limit) {
    std::vector<char> data;
    if (!ReadWholeFile(from, &data, limit)) return false;
    struct stat info {};
    if (stat(to.c_str(), &info) == 0) return false;
    // The copy is written beside the target and linked to its name, which fails when the name
    // appeared meanwhile, so an existing file is never replaced and never half written.
    std::string temporary = to + ".tmp";
    if (!ClearTemporary(temporary, nullptr) || !WriteNewFile(temporary, data.data(), data.size())) return false;
    bool ok = link(temporary.c_str(), to.c_str()) == 0;
    unlink(temporary.c_str());
    return ok;
}

bool RenameFile(const std::string& from, const std::string& to) { return rename(from.c_str(), to.c_str()) == 0; }

bool MakeFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0755) == 0) return true;
    struct stat info {};
    return errno == EEXIST && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace platform
