// Golden files of the 3D tests, kept beside the sources in tests/framework3d/golden: a
// mismatch writes the actual result beside the golden one (".actual" added to the name), and
// TANZLOR_UPDATE_GOLDEN=1 rewrites the golden file instead of comparing.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gfx/image.h"
#include "platform/gfx/image_codec.h"
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

// Compares a frame (XRGB words, width x height) with the golden PNG of that name (or rewrites
// it); on a mismatch the frame drawn is written beside it as NAME.actual.png.
inline void ExpectFrame(const std::string& name, std::vector<uint32_t> frame, uint32_t width, uint32_t height) {
    namespace gfx = platform::gfx;
    for (uint32_t& p : frame) p |= 0xFF000000u;
    const std::string path = Path(name);
    if (Updating()) {
        ASSERT_TRUE(gfx::EncodeImage(path.c_str(), gfx::imagefile::kPng, frame.data(), width, height, false));
        return;
    }
    const std::string bytes = testing_support::ReadFile(path);
    gfx::DecodedImage expected;
    const bool read = gfx::DecodeImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &expected);
    if (read && expected.argb == frame) return;
    const std::string actual = Path(name.substr(0, name.size() - 4) + ".actual.png");
    gfx::EncodeImage(actual.c_str(), gfx::imagefile::kPng, frame.data(), width, height, false);
    ADD_FAILURE() << name << (read ? " differs" : " is missing") << "; the frame drawn is " << actual;
}

}  // namespace golden
