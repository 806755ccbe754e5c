// Checks the data set the build wrote beside the executable: every file the game opens exists
// under its exact name, reads back in the format the game's loaders expect, and the sounds mix
// without clipping.
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/audio/audio.h"
#include "platform/audio/stream_player.h"
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

// Every effect the game opens, in name order, typed apart from the game's own list: an effect
// the data set leaves out or misnames is caught here.
const char* const kSounds[] = {
    "blast_1.wav",        "blast_2.wav",        "blast_3.wav",        "blast_4.wav",        "blast_5.wav",
    "blast_6.wav",        "blast_7.wav",        "blast_8.wav",        "eek1.wav",           "eek2.wav",
    "extend.wav",         "ghost_bass.wav",     "ghost_hhclose.wav",  "ghost_hhopen.wav",   "ghost_snare.wav",
    "item_bget.wav",      "item_pget.wav",      "item_pup.wav",       "pc_miss.wav",        "pi.wav",
    "select_Cancel.wav",  "select_decide.wav",  "select_select.wav",  "shot_bell.wav",      "shot_hit_1.wav",
    "shot_hit_2.wav",     "shot_hit_3.wav",     "shot_hit_4.wav",     "shot_shot_1.wav",    "shot_shot_2.wav",
    "shot_shot_3.wav",    "shot_shot_4.wav",    "shot_shot_5.wav",    "shot_shot_6.wav"};

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

// The busiest moment of play: the blast of every kind of destroyed enemy and every kind of shot
// hit starting on one frame (a fight of four firing characters was heard to start six of these
// together). Each sounds once, since an effect has a single voice.
const char* const kBusiestEffects[] = {"blast_1.wav",    "blast_2.wav",    "blast_3.wav",    "blast_4.wav",
                                       "shot_hit_1.wav", "shot_hit_2.wav", "shot_hit_3.wav", "shot_hit_4.wav"};

// A track whose RMS level is below this is lost under the effects of a fight.
constexpr double kMusicFloorDb = -27.0;

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

std::vector<int16_t> Render(uint32_t frames) {
    std::vector<int16_t> out(frames * 2);
    platform::audio::RenderFrames(out.data(), frames);
    return out;
}

// A track as 16-bit stereo samples, decoded apart from the game's own reader.
std::vector<int16_t> DecodeTrack(const fs::path& path) {
    std::vector<int16_t> stereo;
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) != 0) return stereo;
    const int channels = ov_info(&file, -1)->channels;
    int16_t block[4096];
    int section = 0;
    long got = 0;
    while ((got = ov_read(&file, reinterpret_cast<char*>(block), sizeof(block), 0, 2, 1, &section)) > 0) {
        for (long at = 0; at + channels <= got / 2; at += channels) {
            stereo.push_back(block[at]);
            stereo.push_back(block[at + channels - 1]);
        }
    }
    ov_clear(&file);
    return stereo;
}

// Where the left channel of stereo samples swings furthest to the side of `sign` (+1 or -1).
size_t ExtremeFrame(const std::vector<int16_t>& stereo, int sign) {
    size_t best = 0;
    for (size_t frame = 0; frame < stereo.size() / 2; ++frame) {
        if (sign * stereo[frame * 2] > sign * stereo[best * 2]) best = frame;
    }
    return best;
}

double RmsDb(const std::vector<int16_t>& stereo) {
    double energy = 0.0;
    for (size_t i = 0; i < stereo.size(); i += 2) energy += static_cast<double>(stereo[i]) * stereo[i];
    return 20.0 * std::log10(std::sqrt(energy / static_cast<double>(stereo.size() / 2)) / 32768.0);
}

// The built effects and music mixed by the game's own mixer at the default volumes (100: full
// gain, which no setting exceeds). The busiest moment stays below full scale even when the
// loudest sample of a track lands on the loudest sample of the effects, and every track keeps a
// level that is heard under them.
TEST(DataSetFiles, BusiestMomentStaysBelowFullScaleOverAudibleMusic) {
    using namespace platform::audio;
    ASSERT_EQ(OpenOutput(true), Output::kManual);
    std::vector<StreamPlayer*> effects;
    for (const char* name : kBusiestEffects) {
        effects.push_back(Ayame_CreateInstanceFromFileEx((BuildFolder() / "data" / "sound" / name).c_str(), 0, 0, 0));
        ASSERT_NE(effects.back(), nullptr) << name;
        effects.back()->SetVolume(100.0f);
    }
    const auto playEffects = [&] {
        for (StreamPlayer* effect : effects) effect->Play(0, 0);
    };
    playEffects();
    const std::vector<int16_t> alone = Render(kMixRate);  // every one of them ends within a second
    const auto [lowest, highest] = std::minmax_element(alone.begin(), alone.end());
    const int sign = *highest >= -*lowest ? 1 : -1;
    const size_t effectsPeak = ExtremeFrame(alone, sign);
    const uint32_t lead = kRampFrames * 2;  // the music is at full gain when the effects start
    PcmFormat stereo;
    stereo.formatTag = 1;
    stereo.channels = 2;
    stereo.sampleRate = kMixRate;
    stereo.bitsPerSample = 16;

    for (const TrackNeed& track : kTracks) {
        SCOPED_TRACE(track.path);
        const std::vector<int16_t> music = DecodeTrack(BuildFolder() / track.path);
        ASSERT_FALSE(music.empty());
        EXPECT_GT(RmsDb(music), kMusicFloorDb);

        const size_t musicPeak = ExtremeFrame(music, sign);
        ASSERT_GE(musicPeak, effectsPeak + lead);
        const size_t first = (musicPeak - effectsPeak - lead) * 2;
        const size_t count = std::min<size_t>(music.size() - first, (lead + kMixRate) * 2);
        auto stretch = SoundBuffer::Create(stereo, music.data() + first, static_cast<uint32_t>(count * 2));
        ASSERT_NE(stretch, nullptr);
        stretch->SetVolume(PercentToHundredthsDb(100.0f));
        stretch->Play(false);
        Render(lead);
        playEffects();
        const std::vector<int16_t> mix = Render(kMixRate);
        const auto [low, high] = std::minmax_element(mix.begin(), mix.end());
        EXPECT_TRUE(*high < 32767 && *low > -32768)
            << "effects " << alone[effectsPeak * 2] << " + music " << music[musicPeak * 2] << " reach full scale";
    }
    for (StreamPlayer* effect : effects) effect->Release();
    Render(kRampFrames * 2);
    CloseOutput();
}

}  // namespace
