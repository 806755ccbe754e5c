// Reads a whole file as bytes; empty when it cannot be read.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace testing_support {

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

}  // namespace testing_support
