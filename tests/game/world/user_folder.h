// A fresh folder made current for one test, as the executable's folder is for the game, so the
// player's files are written and read there; the old current folder comes back afterwards.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

#include "framework/files/temp_folder.h"

namespace world_test {

class UserFolder {
public:
    UserFolder() : old_(std::filesystem::current_path().string()) { std::filesystem::current_path(folder.Path()); }
    ~UserFolder() { std::filesystem::current_path(old_); }
    UserFolder(const UserFolder&) = delete;
    UserFolder& operator=(const UserFolder&) = delete;

    std::string Read(const std::string& relative) const {
        std::vector<uint8_t> bytes;
        std::ifstream in(std::filesystem::path(folder.Path()) / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool Exists(const std::string& relative) const { return std::filesystem::exists(std::filesystem::path(folder.Path()) / relative); }

    TempFolder folder;

private:
    std::string old_;
};

}  // namespace world_test
