// Builds the data pack "PACK" (framework/files/file_pack.h describes the format) from files in memory
// or from a folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pack {

struct PackSource {
    std::string relativePath;  // '\' separators, as the framework names the file ("texture\\bullet.bmp")
    std::vector<uint8_t> contents;
};

// Whole-file loads (bitmaps) are stored LZSS-compressed; everything else is read as a stream
// and must be stored as it is.
bool ShouldCompress(const std::string& relativePath);
// The pack of the files, entries and data in ascending unsigned key order. False with a message
// when two paths share a key or the pack would pass 4 GiB.
bool BuildPack(const std::vector<PackSource>& files, std::vector<uint8_t>* pack, std::string* error);
// Every regular file under the folder, in byte order of their relative paths.
bool ReadFolder(const std::string& folder, std::vector<PackSource>* files, std::string* error);

}  // namespace pack
