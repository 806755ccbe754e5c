#include "platform/os/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {
namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualIgnoringAsciiCase(const char* a, const std::string& b) {
    size_t i = 0;
    for (; a[i] != '\0' && i < b.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return a[i] == '\0' && i == b.size();
}

// The entry of the folder whose name equals name without regard to ASCII case; when several do,
// the first in byte order, so the choice does not depend on the directory's order.
std::string MatchInFolder(const std::string& folder, const std::string& name) {
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) return {};
    std::string best;
    while (const dirent* entry = readdir(dir)) {
        if (!EqualIgnoringAsciiCase(entry->d_name, name)) continue;
        if (best.empty() || std::strcmp(entry->d_name, best.c_str()) < 0) best = entry->d_name;
    }
    closedir(dir);
    return best;
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

}  // namespace

std::string FindPath(const std::string& path) {
    std::string slashed = path;
    for (char& c : slashed) {
        if (c == '\\') c = '/';
    }
    if (slashed.empty()) return {};
    if (Exists(slashed)) return slashed;

    std::string found = slashed.front() == '/' ? "/" : "";
    size_t start = 0;
    while (start < slashed.size()) {
        size_t end = slashed.find('/', start);
        if (end == std::string::npos) end = slashed.size();
        std::string part = slashed.substr(start, end - start);
        start = end + 1;
        if (part.empty()) continue;  // a doubled or trailing '/'
        std::string candidate = Join(found, part);
        if (!Exists(candidate)) {
            std::string match = MatchInFolder(found, part);
            if (match.empty()) return {};
            candidate = Join(found, match);
        }
        found = candidate;
    }
    return found;
}

FileHandle OpenFileForReading(const std::string& path) {
    std::string found = FindPath(path);
    if (found.empty()) return kNoFile;
    // Opened without waiting: a named pipe or a device in the file's place would block open()
    // until a writer came. Only a regular file counts; it is read blocking, as files are.
    int fd = open(found.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return kNoFile;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || fcntl(fd, F_SETFL, 0) != 0) {
        close(fd);
        return kNoFile;
    }
    return fd;
}

void CloseFile(FileHandle file) {
    if (file >= 0) close(file);
}

bool GetFileSize(FileHandle file, uint64_t* size) {
    struct stat info {};
    if (file < 0 || fstat(file, &info) != 0) return false;
    *size = static_cast<uint64_t>(info.st_size);
    return true;
}

bool GetFilePosition(FileHandle file, uint64_t* position) {
    off_t at = file < 0 ? -1 : lseek(file, 0, SEEK_CUR);
    if (at < 0) return false;
    *position = static_cast<uint64_t>(at);
    return true;
}

bool SetFilePosition(FileHandle file, uint64_t position) {
    return file >= 0 && lseek(file, static_cast<off_t>(position), SEEK_SET) >= 0;
}

uint32_t ReadFile(FileHandle file, void* buffer, uint32_t count) {
    if (file < 0) return 0;
    uint32_t done = 0;
    while (done < count) {
        ssize_t n = read(file, static_cast<char*>(buffer) + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<uint32_t>(n);
    }
    return done;
}

bool ReadFileAt(FileHandle file, uint64_t offset, void* buffer, uint32_t count) {
    if (file < 0) return false;
    uint32_t done = 0;
    while (done < count) {
        ssize_t n = pread(file, static_cast<char*>(buffer) + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<uint32_t>(n);
    }
    return true;
}

bool GetFileTimes(FileHandle file, FileTimes* times) {
    struct stat info {};
    if (file < 0 || fstat(file, &info) != 0) return false;
    *times = FileTimes{info.st_atim.tv_sec, info.st_atim.tv_nsec, info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
    return true;
}

void SetFileTimes(FileHandle file, const FileTimes& times) {
    if (file < 0) return;
    const timespec values[2] = {
        {static_cast<time_t>(times.accessSeconds), static_cast<long>(times.accessNanoseconds)},
        {static_cast<time_t>(times.writeSeconds), static_cast<long>(times.writeNanoseconds)},
    };
    futimens(file, values);  // refused unless we own the file: then the times stay as they are
}

}  // namespace platform
