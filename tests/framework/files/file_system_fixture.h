// A file system with slot 0 on a temporary data folder and its pack, cleared after each test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/files/file_system.h"
#include "framework/core/lock.h"
#include "framework/files/temp_folder.h"
#include "tools/pack/pack_writer.h"

class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder_.Path().empty());
        ASSERT_TRUE(ZethFile::Initialize());
        ZethFile::SetCurrentPath(nullptr);
    }
    void TearDown() override {
        ZethFile::Finalize();
        ZethFile::SetCurrentPath(nullptr);
    }

    std::string Root() const { return folder_.Path() + "/data"; }
    std::string PackPath() const { return folder_.Path() + "/data.bin"; }

    // Writes data.bin holding the files (relative paths with '\').
    std::vector<uint8_t> WritePack(const std::vector<pack::PackSource>& files) {
        std::vector<uint8_t> bytes;
        std::string error;
        EXPECT_TRUE(pack::BuildPack(files, &bytes, &error)) << error;
        folder_.Write("data.bin", bytes);
        return bytes;
    }
    void UseSlotZero() { ZethFile::SetRootPath(0, Root().c_str(), PackPath().c_str()); }

    // The loaded file as text, or "<none>" when Load fails.
    static std::string LoadText(const char* name) {
        void* buffer = reinterpret_cast<void*>(1);
        uint32_t size = 77;
        if (!ZethFile::Load(name, &buffer, &size)) {
            EXPECT_EQ(buffer, nullptr);
            return "<none>";
        }
        std::string text(static_cast<const char*>(buffer), size);
        Zeth::MemoryFree(buffer);
        return text;
    }

    TempFolder folder_;
};
