// The pack tool: its LZSS encoder against the framework's decoder, and whole packs read back
// through the file system.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "framework/files/file_pack.h"
#include "framework/files/file_system_fixture.h"
#include "framework/files/lzss.h"
#include "tools/pack/lzss_encoder.h"

namespace {

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> RoundTrip(const std::vector<uint8_t>& data, size_t* packedSize) {
    const std::vector<uint8_t> container = pack::LzssEncode(data.data(), data.size());
    *packedSize = container.size();
    const int32_t size = LzssGetSize(container.data(), static_cast<uint32_t>(container.size()));
    EXPECT_EQ(size, static_cast<int32_t>(data.size()));
    std::vector<uint8_t> out(data.size());
    EXPECT_TRUE(LzssDecode(container.data(), static_cast<uint32_t>(container.size()), out.data(), static_cast<uint32_t>(out.size())));
    return out;
}

// A 24-bit bitmap-like picture: black background, a few filled shapes, some noise.
std::vector<uint8_t> SpriteSheet() {
    std::vector<uint8_t> pixels(54 + 256 * 256 * 3, 0);
    std::mt19937 random(7);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            uint8_t* p = &pixels[54 + (y * 256 + x) * 3];
            if ((x / 32 + y / 32) % 3 == 0) p[0] = p[1] = static_cast<uint8_t>(40 + (x % 32) * 4);
            if ((x - 128) * (x - 128) + (y - 128) * (y - 128) < 900) p[2] = static_cast<uint8_t>(random() & 0xFF);
        }
    }
    return pixels;
}

TEST(LzssEncoder, RoundTripsAndCompresses) {
    std::mt19937 random(1);
    std::vector<uint8_t> noise(70000);
    for (uint8_t& byte : noise) byte = static_cast<uint8_t>(random());
    struct Case {
        const char* name;
        std::vector<uint8_t> data;
        double mostRatio;  // packed size / original size at most
    };
    const Case cases[] = {
        {"empty", {}, 100.0},
        {"one byte", {42}, 100.0},
        {"zeros from the ring", std::vector<uint8_t>(5000, 0), 0.13},
        {"a run", std::vector<uint8_t>(5000, 'r'), 0.13},
        {"noise", noise, 1.13},
        {"a sprite sheet", SpriteSheet(), 0.4},
        {"this test program", ReadWholeFile("/proc/self/exe"), 0.8},
    };
    for (const Case& c : cases) {
        size_t packedSize = 0;
        EXPECT_EQ(RoundTrip(c.data, &packedSize), c.data) << c.name;
        EXPECT_LE(static_cast<double>(packedSize), c.mostRatio * static_cast<double>(c.data.size()) + 9) << c.name;
    }
}

TEST_F(FileSystemTest, PackToolOutputIsSortedDeterministicAndReadable) {
    const std::vector<uint8_t> sheet = SpriteSheet();
    folder_.Write("source/texture/Bullet.bmp", sheet);
    folder_.Write("source/sound/select_Cancel.wav", "RIFF....WAVE");
    folder_.Write("source/table/stage1.csv", "1,2,3\n4,5,6\n");
    const std::string command = std::string(PACK_TOOL_PATH) + " " + folder_.Path() + "/source ";
    ASSERT_EQ(std::system((command + PackPath() + " >/dev/null").c_str()), 0);
    ASSERT_EQ(std::system((command + folder_.Path() + "/again.bin >/dev/null").c_str()), 0);
    const std::vector<uint8_t> bytes = ReadWholeFile(PackPath());
    EXPECT_EQ(bytes, ReadWholeFile(folder_.Path() + "/again.bin"));

    ASSERT_GE(bytes.size(), kPackHeaderSize + 3 * sizeof(PackEntry));
    const PackEntry* table = reinterpret_cast<const PackEntry*>(bytes.data() + kPackHeaderSize);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(table[i].key, PathKey(table[i].name)) << table[i].name;
        if (i > 0) {
            EXPECT_LT(table[i - 1].key, table[i].key);
        }
        const bool compressed = LzssHasMagic(&bytes[table[i].offset], table[i].size);
        EXPECT_EQ(compressed, std::string(table[i].name) == "texture\\Bullet.bmp") << table[i].name;
    }

    UseSlotZero();
    ZethFile::SetCurrentPath("texture");
    void* buffer = nullptr;
    uint32_t size = 0;
    ASSERT_TRUE(ZethFile::Load("bullet.bmp", &buffer, &size));
    EXPECT_EQ(std::vector<uint8_t>(static_cast<uint8_t*>(buffer), static_cast<uint8_t*>(buffer) + size), sheet);
    Zeth::MemoryFree(buffer);
    ZethFile::SetCurrentPath("sound");
    EXPECT_EQ(LoadText("SELECT_CANCEL.WAV"), "RIFF....WAVE");
    ZethFile::SetCurrentPath("table");
    ZethFile::Stream* stream = ZethFile::FileOpen("stage1.csv", false);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(ZethFile::FileGetSize(stream), 12u);
    ZethFile::FileClose(stream);
}

TEST(PackWriter, RefusesPathsThatShareAKey) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(pack::BuildPack({{"texture\\a.bmp", {1}}, {"TEXTURE\\A.BMP", {2}}}, &bytes, &error));
    EXPECT_NE(error.find("share one key"), std::string::npos);

    const std::string longName = "table\\" + std::string(100, 'n') + ".csv";
    ASSERT_TRUE(pack::BuildPack({{longName, {1, 2}}}, &bytes, &error));
    const PackEntry* entry = reinterpret_cast<const PackEntry*>(bytes.data() + kPackHeaderSize);
    EXPECT_EQ(std::string(entry->name), longName.substr(0, kPackNameSize - 1));
    EXPECT_EQ(entry->key, PathKey(longName.c_str()));
}

}  // namespace
