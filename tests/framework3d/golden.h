// Golden files of the 3D tests, kept beside the sources in tests/framework3d/golden: a
// mismatch writes the actual result beside the golden one (".actual" added to the name), and
// TANZLOR_UPDATE_GOLDEN=1 rewrites the golden file instead of comparing.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

#include "support/read_file.h"

namespace golden {

inline std::string Path(const std::string& name) { return std::string(TANZLOR_SOURCE_DIR) + "/tests/framework3d/golden/" + name; }

inline bool Updating() {
    const char* update = std::getenv("TANZLOR_UPDATE_GOLDEN");
    return update && std::string(update) == "1";
}

// Compares bytes with the golden file (or rewrites it); true when they match.
inline bool MatchesText(const std::string& name, const std::string& actual) {
    if (Updating()) {
        std::ofstream(Path(name), std::ios::binary) << actual;
        return true;
    }
    if (testing_support::ReadFile(Path(name)) == actual) return true;
    std::ofstream(Path(name + ".actual"), std::ios::binary) << actual;
    return false;
}

}  // namespace golden
