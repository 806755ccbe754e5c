#include "tools/pack/pack_writer.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "framework/files/file_pack.h"
#include "framework/files/lzss.h"
#include "tools/pack/byte_writer.h"
#include "tools/pack/lzss_encoder.h"

namespace pack {
namespace {

struct Prepared {
    PackEntry entry;
    std::vector<uint8_t> stored;
};

void AppendEntry(std::vector<uint8_t>& out, const PackEntry& entry) {
    out.insert(out.end(), entry.name, entry.name + kPackNameSize);
    PutLittleEndian32(out, entry.key);
    PutLittleEndian32(out, entry.reserved);
    PutLittleEndian32(out, entry.offset);
    PutLittleEndian32(out, entry.size);
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& ending) {
    if (text.size() < ending.size()) return false;
    return std::equal(ending.begin(), ending.end(), text.end() - static_cast<std::ptrdiff_t>(ending.size()),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b)); });
}

}  // namespace

bool ShouldCompress(const std::string& relativePath) { return EndsWithIgnoringCase(relativePath, ".bmp"); }

bool BuildPack(const std::vector<PackSource>& files, std::vector<uint8_t>* pack, std::string* error) {
    std::vector<Prepared> prepared;
    prepared.reserve(files.size());
    for (const PackSource& file : files) {
        Prepared item{};
        // The name area is for people reading the pack; cut to leave a terminating zero.
        std::memcpy(item.entry.name, file.relativePath.data(), std::min<size_t>(file.relativePath.size(), kPackNameSize - 1));
        item.entry.key = PathKey(file.relativePath.c_str());
        const bool compress = ShouldCompress(file.relativePath) && file.contents.size() <= kLzssMaxDecodedSize;
        item.stored = compress ? LzssEncode(file.contents.data(), file.contents.size()) : file.contents;
        prepared.push_back(std::move(item));
    }
    std::sort(prepared.begin(), prepared.end(), [](const Prepared& a, const Prepared& b) { return a.entry.key < b.entry.key; });
    for (size_t i = 1; i < prepared.size(); ++i) {
        if (prepared[i].entry.key == prepared[i - 1].entry.key) {
            *error = std::string("two files share one key: ") + prepared[i - 1].entry.name + " and " + prepared[i].entry.name;
            return false;
        }
    }

    uint64_t offset = kPackHeaderSize + uint64_t{prepared.size()} * sizeof(PackEntry);
    for (Prepared& item : prepared) {
        item.entry.offset = static_cast<uint32_t>(offset);
        item.entry.size = static_cast<uint32_t>(item.stored.size());
        offset += item.stored.size();
        if (offset > UINT32_MAX) {
            *error = "the pack would pass 4 GiB";
            return false;
        }
    }
    pack->clear();
    pack->reserve(offset);
    PutLittleEndian32(*pack, kPackMagic);
    PutLittleEndian32(*pack, static_cast<uint32_t>(prepared.size()));
    for (const Prepared& item : prepared) AppendEntry(*pack, item.entry);
    for (const Prepared& item : prepared) pack->insert(pack->end(), item.stored.begin(), item.stored.end());
    return true;
}

bool ReadFolder(const std::string& folder, std::vector<PackSource>* files, std::string* error) {
    namespace fs = std::filesystem;
    std::error_code code;
    const fs::path root(folder);
    std::vector<fs::path> found;
    for (fs::recursive_directory_iterator it(root, code), end; !code && it != end; it.increment(code)) {
        if (it->is_regular_file(code)) found.push_back(it->path());
    }
    if (code) {
        *error = folder + ": " + code.message();
        return false;
    }
    std::vector<PackSource> sources;
    for (const fs::path& path : found) {
        std::string relative = path.lexically_relative(root).generic_string();
        std::replace(relative.begin(), relative.end(), '/', '\\');
        std::ifstream in(path, std::ios::binary);
        PackSource source{relative, std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {})};
        if (!in && !in.eof()) {
            *error = path.string() + ": cannot be read";
            return false;
        }
        sources.push_back(std::move(source));
    }
    std::sort(sources.begin(), sources.end(), [](const PackSource& a, const PackSource& b) { return a.relativePath < b.relativePath; });
    *files = std::move(sources);
    return true;
}

}  // namespace pack
