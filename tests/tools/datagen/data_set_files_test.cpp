// Checks the data set the build wrote beside the executable: every file the game opens exists
// under its exact name and reads back in the format the game's loaders expect.
#include <vorbis/vorbisfile.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tools/datagen/tables.h"

namespace {

namespace fs = std::filesystem;

// CTest names the build folder in the environment; the compiled-in one serves a direct run.
fs::path BuildFolder() {
    const char* folder = std::getenv("TANZLOR_BUILD_DIR");
    return folder != nullptr ? fs::path(folder) : fs::path(TANZLOR_BINARY_DIR);
}

std::vector<uint8_t> ReadAll(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

uint16_t U16At(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8;
}

const char* const kTextures[] = {
    "bullet.bmp",      "enemy.bmp", "enemyflash.bmp", "enemyghost.bmp", "enemyghostflash.bmp",
    "groundenemy.bmp", "shot.bmp",  "pc.bmp",         "bg.bmp",         "bg2.bmp",
    "demo.bmp",        "font.bmp",  "effect.bmp"};

const char* const kSounds[] = {
    "blast_1.wav",       "blast_2.wav",      "blast_3.wav",       "blast_4.wav",       "blast_5.wav",
    "blast_6.wav",       "blast_7.wav",      "blast_8.wav",       "extend.wav",        "ghost_bass.wav",
    "ghost_hhclose.wav", "ghost_hhopen.wav", "ghost_snare.wav",   "item_bget.wav",     "item_pget.wav",
    "item_pup.wav",      "pc_miss.wav",      "select_select.wav", "select_decide.wav", "select_Cancel.wav",
    "shot_hit_1.wav",    "shot_hit_2.wav",   "shot_hit_3.wav",    "shot_hit_4.wav",    "shot_shot_1.wav",
    "shot_shot_2.wav",   "shot_shot_3.wav",  "shot_shot_4.wav",   "shot_shot_5.wav",   "shot_shot_6.wav",
    "shot_bell.wav",     "pi.wav",           "eek1.wav",          "eek2.wav"};

// Each track must run past the point the game loops or pulls it back to.
struct TrackNeed {
    const char* path;
    double minimumSeconds;
};

constexpr double kTuneFrameSeconds = 998.3357742643014 / 60.0 / 1000.0;

const TrackNeed kTracks[] = {
    {"data/bgm/naiyorititle.ogg", 35280 / 44100.0},
    {"data/bgm/punipunicharasele.ogg", 0.0},
    {"data/bgm/naiyori.ogg", 586300 / 44100.0},
    {"data/bgm/milkpurun.ogg", 1056713 / 44100.0},
    {"data/bgm/aiko_t2.ogg", 0.0},
    {"fixbgm/ghost.ogg", 136.0},
    {"fixbgm/aiko_t2_vo.ogg", 18100 * kTuneFrameSeconds},
};

const char* const kTables[] = {"enemytable.csv", "s1bgtable.csv", "s2bgtable.csv", "s3bgtable.csv",
                               "s16bgtable.csv", "demo1.csv",     "demo2.csv",     "demo3.csv"};

TEST(DataSetFiles, TexturesAre24BitSheetsOfTheirSize) {
    for (const char* name : kTextures) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> bytes = ReadAll(BuildFolder() / "data" / "texture" / name);
        ASSERT_GE(bytes.size(), 54u);
        EXPECT_EQ(bytes[0], 'B');
        EXPECT_EQ(bytes[1], 'M');
        const uint32_t size = std::string(name) == "font.bmp" ? 128 : 256;
        EXPECT_EQ(U32At(bytes, 18), size);
        EXPECT_EQ(U32At(bytes, 22), size);
        EXPECT_EQ(U16At(bytes, 28), 24);
        EXPECT_EQ(bytes.size(), U32At(bytes, 10) + size * size * 3);
    }
}

TEST(DataSetFiles, SoundsArePcm16At44100) {
    for (const char* name : kSounds) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> bytes = ReadAll(BuildFolder() / "data" / "sound" / name);
        ASSERT_GE(bytes.size(), 12u);
        ASSERT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
        ASSERT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 12), "WAVE");
        bool format = false;
        uint32_t dataBytes = 0;
        for (size_t at = 12; at + 8 <= bytes.size();) {
            const std::string id(bytes.begin() + at, bytes.begin() + at + 4);
            const uint32_t length = U32At(bytes, at + 4);
            ASSERT_LE(at + 8 + length, bytes.size()) << id << " runs past the file";
            if (id == "fmt ") {
                EXPECT_EQ(U16At(bytes, at + 8), 1) << "PCM";
                EXPECT_EQ(U32At(bytes, at + 12), 44100u);
                EXPECT_EQ(U16At(bytes, at + 22), 16);
                format = true;
            } else if (id == "data") {
                dataBytes = length;
                break;
            }
            at += 8 + length;
        }
        EXPECT_TRUE(format);
        EXPECT_GT(dataBytes, 0u);
    }
}

TEST(DataSetFiles, MusicDecodesPastWhatTheGameNeeds) {
    for (const TrackNeed& track : kTracks) {
        SCOPED_TRACE(track.path);
        OggVorbis_File file;
        ASSERT_EQ(ov_fopen((BuildFolder() / track.path).c_str(), &file), 0);
        const int rate = ov_info(&file, -1)->rate;
        EXPECT_EQ(rate, 44100);
        int64_t samples = 0;
        int section = 0;
        float** pcm = nullptr;
        long got = 0;
        while ((got = ov_read_float(&file, &pcm, 4096, &section)) > 0) samples += got;
        EXPECT_EQ(got, 0) << "the stream ends cleanly";
        ov_clear(&file);
        EXPECT_GT(static_cast<double>(samples) / rate, track.minimumSeconds);
    }
}

TEST(DataSetFiles, TablesReadCleanlyByTheTokeniser) {
    ASSERT_EQ(datagen::TableSpecs().size(), std::size(kTables));
    for (const datagen::TableSpec& table : datagen::TableSpecs()) {
        SCOPED_TRACE(table.file);
        EXPECT_NE(std::find(std::begin(kTables), std::end(kTables), std::string(table.file)), std::end(kTables));
        const std::vector<uint8_t> bytes = ReadAll(BuildFolder() / "data" / "table" / table.file);
        EXPECT_EQ(datagen::CheckTableText(std::string(bytes.begin(), bytes.end()), table), "");
    }
}

}  // namespace
