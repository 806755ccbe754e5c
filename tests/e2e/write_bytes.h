// The last step of the small file-making tools beside the whole-program scripts: the bytes the
// game's own encoder made, written whole to the path, or the tool says it could not.
#pragma once

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

// Returns the tool's exit status: 0 when written, 1 when the file could not be written.
inline int WriteBytesOrSay(const char* tool, const char* path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        std::fprintf(stderr, "%s: cannot write %s\n", tool, path);
        return 1;
    }
    return 0;
}
