#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "framework/files/file_system.h"
#include "framework/core/random.h"
#include "framework/sound/sound.h"
#include "framework/sound/vox.h"
#include "framework/app/zeth.h"
#include "platform/audio/test_sounds.h"
#include "user_folder.h"
#include "world_support.h"

using namespace world_test;

namespace {

constexpr double kMsPerFrame = 998.3357742643014 / 60.0;

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
