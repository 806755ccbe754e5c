#include "framework/files/file_write.h"

#include <algorithm>
#include <string>

#include "framework/app/log.h"
#include "platform/os/file_write.h"
#include "platform/os/files.h"

namespace ZethUserFile {
namespace {

std::string Slashed(const char* path) {
    std::string result = path;
    for (char& c : result) {
        if (c == '\\') c = '/';
    }
    return result;
}

// Where a file is written: into its folder found whatever its case, under its own name exactly
// as written. A file whose name differs only in letter case is another file (one the game may
// never have read, such as the one left beside a damaged file that was set aside), and is never
// written over.
std::string PathForWriting(const char* path) {
    std::string slashed = Slashed(path);
    size_t cut = slashed.rfind('/');
    if (cut == std::string::npos || cut == 0) return slashed;
    std::string folder = platform::FindPath(slashed.substr(0, cut));
    if (folder.empty()) return slashed;
    return folder + slashed.substr(cut);
}

}  // namespace

bool Exists(const char* path) { return !platform::FindPath(Slashed(path)).empty(); }

ReadResult Read(const char* path, std::vector<uint8_t>* data, size_t limit, uint64_t* fileSize) {
    data->clear();
    platform::FileHandle file = platform::OpenFileForReading(path);
    if (file == platform::kNoFile) return Exists(path) ? ReadResult::kUnreadable : ReadResult::kMissing;
    uint64_t size = 0;
    ReadResult result = ReadResult::kUnreadable;
    if (platform::GetFileSize(file, &size)) {
        const uint64_t wanted = std::min<uint64_t>({size, limit, UINT32_MAX});
        data->resize(static_cast<size_t>(wanted));
        if (platform::ReadFileAt(file, 0, data->data(), static_cast<uint32_t>(wanted))) {
            result = size > wanted ? ReadResult::kTooLarge : ReadResult::kWhole;
            if (fileSize != nullptr) *fileSize = size;
        } else {
            data->clear();
        }
    }
    platform::CloseFile(file);
    return result;
}

bool WriteReplacing(const char* path, const void* data, size_t size, WriteFailure* failure) {
    return platform::WriteFileReplacing(PathForWriting(path), data, size, failure);
}

bool CopyNew(const char* from, const char* to, size_t limit) {
    std::string source = platform::FindPath(Slashed(from));
    // A file under the target's name in another letter case is read as the target: it is taken.
    return !source.empty() && !Exists(to) && platform::CopyFileNew(source, PathForWriting(to), limit);
}

bool Rename(const char* from, const char* to) {
    std::string source = platform::FindPath(Slashed(from));
    return !source.empty() && platform::RenameFile(source, PathForWriting(to));
}

bool MakeFolder(const char* path) {
    std::string found = platform::FindPath(Slashed(path));
    return platform::MakeFolder(found.empty() ? Slashed(path) : found);
}

void ReportWriteFailure(const char* path, WriteFailure failure) {
    const std::string target = PathForWriting(path);
    switch (failure) {
        case WriteFailure::kNone: return;
        case WriteFailure::kNotPermitted:
            ZethLog::Report("フォルダかファイルが書き込みを許さないため、書き込めませんでした [ %s ]", target.c_str());
            return;
        case WriteFailure::kTooManyOpenFiles:
            ZethLog::Report("開いているファイルが多すぎるため、書き込めませんでした [ %s ]", target.c_str());
            return;
        case WriteFailure::kTemporaryInTheWay:
            ZethLog::Report("一時ファイルの名前 [ %s.tmp ] に中身のあるフォルダなど消せないものがあるため、"
                            "書き込めませんでした (それはそのまま残しています) [ %s ]",
                            target.c_str(), target.c_str());
            return;
        case WriteFailure::kOther:
            ZethLog::Report("ディスクの空きが足りないか読み書きのエラーのため、書き込めませんでした [ %s ]",
                            target.c_str());
            return;
    }
}

}  // namespace ZethUserFile
