#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>

#include "framework/app/log.h"
#include "framework/files/file_system.h"
#include "framework/core/random.h"
#include "framework/sound/sound.h"
#include "framework/sound/vox.h"
#include "framework/app/zeth.h"
#include "game/world/sound_ids.h"
#include "platform/audio/test_sounds.h"
#include "support/read_log.h"
#include "user_folder.h"
#include "world_support.h"

using namespace world_test;

namespace {

constexpr double kMsPerFrame = 998.3357742643014 / 60.0;

// Every effect's id, name and file, typed apart from the game's rows: the ids are the positions
// of the files in the order the game loads them, so a row out of place or a file given to the
// wrong row is caught here.
TEST(SoundEffectIds, EachNamesItsIdAndItsIdLoadsItsFile) {
    struct Effect {
        int32_t id;
        int32_t name;
        const char* file;
    };
    const Effect effects[] = {
        {1, sound::kBlast1, "blast_1.wav"},
        {2, sound::kBlast2, "blast_2.wav"},
        {3, sound::kBlast3, "blast_3.wav"},
        {4, sound::kBlast4, "blast_4.wav"},
        {5, sound::kBlast5, "blast_5.wav"},
        {6, sound::kBlast6, "blast_6.wav"},
        {7, sound::kBlast7, "blast_7.wav"},
        {8, sound::kBlast8, "blast_8.wav"},
        {9, sound::kExtend, "extend.wav"},
        {10, sound::kGhostBass, "ghost_bass.wav"},
        {11, sound::kGhostHiHatClosed, "ghost_hhclose.wav"},
        {12, sound::kGhostHiHatOpen, "ghost_hhopen.wav"},
        {13, sound::kGhostSnare, "ghost_snare.wav"},
        {14, sound::kBonusItemTaken, "item_bget.wav"},
        {15, sound::kPowerItemTaken, "item_pget.wav"},
        {16, sound::kPowerUp, "item_pup.wav"},
        {17, sound::kCharacterLost, "pc_miss.wav"},
        {18, sound::kMenuMove, "select_select.wav"},
        {19, sound::kMenuDecide, "select_decide.wav"},
        {20, sound::kMenuCancel, "select_Cancel.wav"},
        {21, sound::kShotHit1, "shot_hit_1.wav"},
        {22, sound::kShotHit2, "shot_hit_2.wav"},
        {23, sound::kShotHit3, "shot_hit_3.wav"},
        {24, sound::kShotHit4, "shot_hit_4.wav"},
        {25, sound::kShot1, "shot_shot_1.wav"},
        {26, sound::kShot2, "shot_shot_2.wav"},
        {27, sound::kShot3, "shot_shot_3.wav"},
        {28, sound::kShot4, "shot_shot_4.wav"},
        {29, sound::kShot5, "shot_shot_5.wav"},
        {30, sound::kShot6, "shot_shot_6.wav"},
        {31, sound::kShotBell, "shot_bell.wav"},
        {32, sound::kPi, "pi.wav"},
        {33, sound::kEek1, "eek1.wav"},
        {34, sound::kEek2, "eek2.wav"},
    };
    ASSERT_EQ(sound::kEffectCount, static_cast<int32_t>(std::size(effects)));
    EXPECT_EQ(sound::kNone, 0);
    for (const Effect& effect : effects) {
        SCOPED_TRACE(effect.file);
        EXPECT_EQ(effect.name, effect.id);
        EXPECT_EQ(sound::kEffectRows[effect.id - 1].id, effect.id);
        EXPECT_STREQ(sound::kEffectRows[effect.id - 1].file, effect.file);
    }
}

TEST(Music, TheGhostTuneLoopsAfterItsIntro) {
    const std::pair<int32_t, int32_t> frames[] = {{0, 0}, {639, 639}, {640, 640}, {8159, 8159}, {8160, 640}, {8240, 720}};
    for (const auto& [counter, frame] : frames) EXPECT_DOUBLE_EQ(TuneTargetMs(kGhostTune, counter), frame * kMsPerFrame) << counter;
    EXPECT_DOUBLE_EQ(TuneTargetMs(kVoiceTune, 8160), 8160 * kMsPerFrame);
    EXPECT_EQ(TunePath(18), "");
}

class StageMusic : public WorldTest {
protected:
    StageMusic() {
        for (const char* name : {"aiko_t2.ogg", "naiyori.ogg", "milkpurun.ogg"}) {
            user.folder.Write(std::string("data/bgm/") + name, test_sounds::OggTone(4410, 44100, 2));
        }
        ZethFile::Initialize();
        // The file system looks from the executable's folder: the data folder is given whole.
        ZethFile::SetRootPath(0, (user.folder.Path() + "/data").c_str(), "data.bin");
        EXPECT_TRUE(ZethSound::Initialize());
        world.bgm.Load();
    }
    ~StageMusic() override {
        world.bgm.Unload();
        ZethSound::Finalize();
        ZethFile::Finalize();
    }

    UserFolder user;
};

TEST_F(StageMusic, TracksAreLoadedOnceAndPauseTogglesTheStageStream) {
    Bgm& bgm = world.bgm;
    EXPECT_EQ(bgm.titleStream, -1);  // no such file here
    bgm.PlayStage(1);
    const int32_t stream = bgm.stageStream;
    ASSERT_NE(stream, -1);
    bgm.Play(0);
    EXPECT_TRUE(ZethSound::IsPlaying(stream, 0));
    bgm.PlayStage(1);  // the current track: nothing changes
    EXPECT_EQ(bgm.stageStream, stream);
    EXPECT_TRUE(ZethSound::IsPlaying(stream, 0));
    bgm.SetPaused(false);
    bgm.SetPaused(false);
    EXPECT_TRUE(ZethSound::IsPlaying(stream, 0));
    bgm.Stop();
    EXPECT_FALSE(ZethSound::IsPlaying(stream, 0));

    ZethRandom::Seed(0);
    const int32_t expected = ZethRandom::Range(1, 3);
    ZethRandom::Seed(0);
    bgm.PlayStage(10);
    EXPECT_EQ(bgm.stageTrack, expected);
    EXPECT_NE(bgm.stageStream, -1);
    bgm.PlayStage(5);  // no loop point: loaded but never started
    bgm.Play(0);
    EXPECT_FALSE(ZethSound::IsPlaying(bgm.stageStream, 0));
}

}  // namespace

namespace {

// The ghost tune, put where the data build puts it: "fixbgm" beside the executable.
class GhostTune : public StageMusic {
protected:
    GhostTune() {
        Zeth::SetCurrentDirectoryToExe();
        file_ = std::filesystem::path(Zeth::GetExecutableFolder()) / "fixbgm" / "ghost.ogg";
        std::filesystem::create_directories(file_.parent_path());
        std::ofstream(file_, std::ios::binary).write(reinterpret_cast<const char*>(tone_.data()), static_cast<std::streamsize>(tone_.size()));
    }
    ~GhostTune() override { std::filesystem::remove_all(file_.parent_path()); }

    test_sounds::Bytes tone_ = test_sounds::OggTone(44100 * 20, 44100, 2);
    std::filesystem::path file_;
};

TEST_F(GhostTune, PlaysFromBesideTheExecutableAndFollowsTheFrameCount) {
    Bgm& bgm = world.bgm;
    bgm.PlayStage(kGhostTune);
    bgm.Play(3);
    ASSERT_EQ(bgm.vox->GetState(), 1);
    bgm.vox->SetPosition(5000.0f);  // drifted far from frame 0
    bgm.Update();
    EXPECT_NEAR(bgm.vox->GetPosition(), 0.0, 1.0);  // put back on the beat at frame 0
    EXPECT_EQ(bgm.tuneFrames, 1);
    bgm.vox->SetPosition(5000.0f);
    bgm.Update();  // checks only every 80 frames
    EXPECT_NEAR(bgm.vox->GetPosition(), 5000.0, 1.0);

    bgm.SetPaused(true);
    EXPECT_EQ(bgm.vox->GetState(), 0);
    bgm.Update();
    EXPECT_EQ(bgm.tuneFrames, 2);  // a paused tune does not count
    bgm.SetPaused(true);
    EXPECT_EQ(bgm.vox->GetState(), 1);
    bgm.Stop();
    EXPECT_EQ(bgm.vox->GetState(), 0);
}

}  // namespace

namespace {

// A ghost game whose tune cannot be played goes on silent, and the log says why the first time:
// missing for no file or no regular file (a named pipe must not hold the game up), damaged for a
// file that holds no Ogg Vorbis tune. A tune that plays says nothing.
TEST_F(StageMusic, AnUnplayableGhostTuneIsLoggedOnceWithItsCause) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(Zeth::GetExecutableFolder()) / "fixbgm";
    const fs::path file = folder / "ghost.ogg";
    auto writing = [&](const test_sounds::Bytes& bytes) {
        return [&, bytes] {
            fs::create_directories(folder);
            std::ofstream(file, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        };
    };
    const test_sounds::Bytes tune = test_sounds::OggTone(44100, 44100, 2);
    test_sounds::Bytes random(4096);
    for (size_t i = 0; i < random.size(); ++i) random[i] = static_cast<uint8_t>(i * 131 + 7);
    test_sounds::Bytes cut(tune.begin(), tune.begin() + 64);
    const std::string missing = "曲ファイルがないため、曲なしで続けます [ fixbgm\\ghost.ogg ]";
    const std::string damaged = "曲ファイルが壊れているため、曲なしで続けます [ fixbgm\\ghost.ogg ]";
    struct Case {
        const char* name;
        std::function<void()> make;  // what stands at fixbgm/ghost.ogg
        std::string said;            // empty: the tune plays
    };
    const Case cases[] = {
        {"the tune", writing(tune), ""},
        {"no folder", [] {}, missing},
        {"no file", [&folder] { fs::create_directories(folder); }, missing},
        {"a folder", [&file] { fs::create_directories(file); }, missing},
        {"a named pipe", [&] { fs::create_directories(folder); mkfifo(file.c_str(), 0644); }, missing},
        {"empty", writing({}), damaged},
        {"random bytes", writing(random), damaged},
        {"cut short", writing(cut), damaged},
    };
    const std::string logPath = user.folder.Path() + "/tune_log.html";
    for (const Case& c : cases) {
        fs::remove_all(folder);
        c.make();
        Bgm bgm;
        bgm.Load();
        ASSERT_TRUE(ZethLog::Open(logPath.c_str()));
        bgm.PlayStage(kGhostTune);
        bgm.Play(3);
        EXPECT_EQ(bgm.vox->GetState(), c.said.empty() ? 1 : 0) << c.name;
        bgm.PlayStage(kGhostTune);  // the next ghost game
        ZethLog::Close();
        const std::string log = testing_support::ReadLog(logPath);
        if (c.said.empty()) {
            EXPECT_EQ(log.find("曲ファイル"), std::string::npos) << c.name << "\n" << log;
            continue;
        }
        const size_t first = log.find(c.said);
        ASSERT_NE(first, std::string::npos) << c.name << "\n" << log;
        EXPECT_EQ(log.find(c.said, first + 1), std::string::npos) << c.name;
    }
    fs::remove_all(folder);
}

}  // namespace
