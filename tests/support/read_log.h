// Reads the framework's HTML log back as UTF-8, so tests can look for its Japanese entries as
// the sources write them (the page itself is Shift_JIS).
#pragma once

#include <iconv.h>

#include <string>

#include "support/read_file.h"

namespace testing_support {

inline std::string ReadLog(const std::string& path) {
    std::string cp932 = ReadFile(path);
    iconv_t converter = iconv_open("UTF-8", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1)) return cp932;
    std::string out(cp932.size() * 3 + 1, '\0');
    char* in = cp932.data();
    size_t inLeft = cp932.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    iconv(converter, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(converter);
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace testing_support
