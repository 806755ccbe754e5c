// Runs datagen twice into fresh folders: the data set must come out byte for byte the same.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> ReadTree(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream file(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), root).string()] =
            std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    return files;
}

TEST(DataSetRepeat, TwoRunsGiveIdenticalBytes) {
    const fs::path base = fs::temp_directory_path() / ("datagen_repeat_" + std::to_string(::getpid()));
    fs::remove_all(base);
    std::vector<std::map<std::string, std::string>> runs;
    for (const char* name : {"first", "second"}) {
        const fs::path output = base / name;
        const std::string command = std::string("\"") + DATAGEN_PROGRAM + "\" \"" + TANZLOR_SOURCE_DIR +
                                    "/assets\" \"" + output.string() + "\" > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        runs.push_back(ReadTree(output));
    }
    fs::remove_all(base);
    ASSERT_EQ(runs[0].size(), 13u + 34u + 7u + 8u + 1u);  // the contact sheet too
    for (const auto& [path, bytes] : runs[0]) {
        const auto other = runs[1].find(path);
        ASSERT_NE(other, runs[1].end()) << path;
        EXPECT_TRUE(other->second == bytes) << path << " differs between runs";
    }
}

}  // namespace
