#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "framework/files/file_system.h"
#include "framework/sound/sound.h"
#include "framework/sound/vox.h"
#include "platform/audio/audio.h"
#include "platform/audio/test_sounds.h"

namespace {

using namespace test_sounds;
using platform::audio::kMixRate;
using platform::audio::kRampFrames;

std::vector<int16_t> Render(uint32_t frames) {
    std::vector<int16_t> out(frames * 2);
    platform::audio::RenderFrames(out.data(), frames);
    return out;
}

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(platform::audio::OpenOutput(true), platform::audio::Output::kManual);
        ASSERT_TRUE(ZethSound::Initialize());
        samples_ = Ramp(400, 2);
        WriteFile("ramp.wav", Wave16(2, kMixRate, samples_));
        WriteFile("loud.wav", Wave16(2, kMixRate, std::vector<int16_t>(2000, 10000)));
    }
    void TearDown() override { ZethSound::Finalize(); }

    std::vector<int16_t> samples_;
};

TEST_F(SoundTest, SixtyFourSlotsThenNone) {
    for (int32_t i = 0; i < ZethSound::kSlotCount; ++i) ASSERT_EQ(ZethSound::CreateFromFile("ramp.wav", 0, false, false, 1), i);
    EXPECT_EQ(ZethSound::CreateFromFile("ramp.wav", 0, false, false, 1), -1);
    ZethSound::Release(17);
    ZethSound::Release(17);  // already free: nothing happens
    EXPECT_EQ(ZethSound::CreateFromFile("ramp.wav", 0, false, false, 1), 17);
}

TEST_F(SoundTest, FailedCreationsFreeTheirSlot) {
    WriteFile("data_first.wav", Riff({Chunk("data", SampleBytes(samples_)), Chunk("fmt ", FormatBody(1, 2, 44100, 16))}));
    WriteFile("float.wav", Riff({Chunk("fmt ", FormatBody(3, 2, 44100, 32)), Chunk("data", Bytes(16))}));
    WriteFile("text.ogg", Bytes{'h', 'e', 'l', 'l', 'o'});
    struct Case {
        const char* name;
        bool usePlayer;
    };
    const Case cases[] = {{"missing.wav", false}, {"missing.wav", true}, {"data_first.wav", false},
                          {"float.wav", false},   {"float.wav", true},   {"text.ogg", true}};
    for (const Case& c : cases) EXPECT_EQ(ZethSound::CreateFromFile(c.name, 0, c.usePlayer, false, 1), -1) << c.name;
    EXPECT_EQ(ZethSound::CreateFromFile("ramp.wav", 0, false, false, 1), 0);
    // A sound read whole takes no more than the load limit: a larger file (sparse: it costs no
    // disk) is damaged, however sound its first bytes.
    for (const uint64_t size : {uint64_t{ZethFile::kLoadLimit}, uint64_t{ZethFile::kLoadLimit} + 1}) {
        WriteFile("huge.wav", Wave16(2, kMixRate, samples_));
        std::filesystem::resize_file("huge.wav", size);
        const int32_t id = ZethSound::CreateFromFile("huge.wav", 0, false, false, 1);
        EXPECT_EQ(id >= 0, size <= ZethFile::kLoadLimit) << size;
        ZethSound::Release(id);
    }
    std::filesystem::remove("huge.wav");
}

TEST_F(SoundTest, LayersAndIdsOutsideTheTableDoNothing) {
    int32_t many = ZethSound::CreateFromFile("ramp.wav", 0, false, false, 40);
    int32_t none = ZethSound::CreateFromFile("ramp.wav", 0, false, false, 0);
    int32_t one = ZethSound::CreateFromFile("ramp.wav", 0, false, false, 1);
    struct Case {
        int32_t id;
        uint32_t layer;
        bool plays;
    };
    const Case cases[] = {{many, 31, true}, {many, 32, false}, {none, 0, false}, {one, 0, true},
                          {one, 1, false},  {-1, 0, false},    {64, 0, false},   {-7, 0, false},
                          {100000, 0, false}};
    for (const Case& c : cases) {
        ZethSound::Play(c.id, c.layer);
        ZethSound::Loop(c.id, -1, 0, c.layer);
        ZethSound::SetVolume(c.id, 50.0f, c.layer);
        EXPECT_EQ(ZethSound::IsPlaying(c.id, c.layer), c.plays) << c.id << " " << c.layer;
        ZethSound::Pause(c.id, c.layer);
        ZethSound::Stop(c.id, c.layer);
        EXPECT_FALSE(ZethSound::IsPlaying(c.id, c.layer));
    }
    ZethSound::Release(64);
    ZethSound::Release(-1);
    ZethSound::Release(none);  // frees layer 0 even though no layer could be played
}

TEST_F(SoundTest, PauseTwiceResumesWhereItWasAndLoopsAgain) {
    int32_t id = ZethSound::CreateFromFile("ramp.wav", 0, false, false, 1);
    ZethSound::Loop(id, -1, 0, 0);
    Render(1150);  // 2 loops and 350 frames
    ZethSound::Pause(id, 0);
    EXPECT_FALSE(ZethSound::IsPlaying(id, 0));
    std::vector<int16_t> quiet = Render(300);
    EXPECT_EQ(quiet[(kRampFrames + 1) * 2], 0);
    ZethSound::Pause(id, 0);
    EXPECT_TRUE(ZethSound::IsPlaying(id, 0));
    std::vector<int16_t> out = Render(1000);
    for (uint32_t i = kRampFrames; i < 1000; ++i) ASSERT_EQ(out[i * 2], samples_[((350 + i) % 400) * 2]) << i;
}

// Starts, stops and pauses of a sound while it plays, each case from a fresh sound made of
// static layers or played by a stream player: whether it plays after the steps, and the frame of
// the 400-frame ramp heard once a start's fade is over (-1: silence). A start of a playing layer
// keeps its place and takes only the loop flag; a stream starts over.
TEST_F(SoundTest, StateChangesOfAPlayingSound) {
    const struct {
        const char* name;
        bool stream;
        std::vector<std::string> steps;  // play, loop (with the loop frame after it), stop, pause, or frames to mix
        bool playing;
        int32_t frame;
    } cases[] = {
        {"stop rewinds", false, {"play", "150", "stop", "play"}, true, 0},
        {"play again keeps the place", false, {"play", "150", "play"}, true, 150},
        {"loop takes over a single play", false, {"play", "300", "loop0", "200"}, true, 100},
        {"play ends a loop at the end", false, {"loop0", "500", "play", "300"}, false, -1},
        {"a paused single play ends", false, {"play", "100", "pause", "50", "pause", "300"}, false, -1},
        {"stop forgets a pause", false, {"loop0", "100", "pause", "stop", "pause"}, false, -1},
        {"stop then pause twice starts over", false, {"loop0", "100", "pause", "stop", "pause", "pause"}, true, 0},
        {"stream: play again starts over", true, {"play", "150", "play"}, true, 0},
        {"stream: loop starts over, then loops from its frame", true, {"play", "150", "loop100", "450"}, true, 150},
        {"stream: a single play ends", true, {"play", "450"}, false, -1},
        {"stream: a play after a loop plays once", true, {"loop100", "150", "play", "450"}, false, -1},
        {"stream: paused counts as playing and resumes in place", true, {"play", "100", "pause", "50", "pause"}, true, 100},
        {"stream: play while paused starts over", true, {"play", "100", "pause", "play"}, true, 0},
        {"stream: stop while paused", true, {"play", "100", "pause", "stop"}, false, -1},
        {"stream: a stopped stream does not pause or resume", true, {"play", "100", "stop", "pause", "pause"}, false, -1},
        {"stream: a loop frame past the end plays once", true, {"loop400", "450"}, false, -1},
    };
    for (const auto& c : cases) {
        int32_t id = ZethSound::CreateFromFile("ramp.wav", 0, c.stream, false, 1);
        ASSERT_GE(id, 0) << c.name;
        for (const std::string& step : c.steps) {
            if (step == "play") ZethSound::Play(id, 0);
            else if (step.rfind("loop", 0) == 0) ZethSound::Loop(id, -1, std::stoi(step.substr(4)), 0);
            else if (step == "stop") ZethSound::Stop(id, 0);
            else if (step == "pause") ZethSound::Pause(id, 0);
            else Render(static_cast<uint32_t>(std::stoul(step)));
        }
        EXPECT_EQ(ZethSound::IsPlaying(id, 0), c.playing) << c.name;
        std::vector<int16_t> out = Render(kRampFrames + 1);
        int16_t heard = out[kRampFrames * 2];
        EXPECT_EQ(heard, c.frame < 0 ? 0 : samples_[((c.frame + kRampFrames) % 400) * 2]) << c.name;
        ZethSound::Release(id);
        Render(kRampFrames * 2);  // the fade of the released layer dies away
    }
}

TEST_F(SoundTest, VolumeScale) {
    const struct {
        float volume;
        int16_t level;  // of a 10000 sample: 10^(-(100 - v)^2 / 2000)
    } cases[] = {{100.0f, 10000}, {90.0f, 8913}, {50.0f, 562}, {0.0f, 0}, {100.5f, 10000}, {-1.0f, 0}};
    int32_t id = ZethSound::CreateFromFile("loud.wav", 0, false, false, 1);
    ZethSound::Loop(id, -1, 0, 0);
    for (const auto& c : cases) {
        ZethSound::SetVolume(id, c.volume, 0);
        std::vector<int16_t> out = Render(kRampFrames + 1);
        EXPECT_EQ(out[kRampFrames * 2], c.level) << c.volume;
    }
}

TEST_F(SoundTest, PausedStreamCountsAsPlaying) {
    int32_t id = ZethSound::CreateFromFile("ramp.wav", 0, true, false, 1);
    ASSERT_GE(id, 0);
    ZethSound::Loop(id, -1, 100, 7);  // the layer is ignored for a stream
    Render(1000);
    EXPECT_TRUE(ZethSound::IsPlaying(id, 0));
    ZethSound::Pause(id, 0);
    EXPECT_TRUE(ZethSound::IsPlaying(id, 0));
    std::vector<int16_t> quiet = Render(200);
    EXPECT_EQ(quiet[(kRampFrames + 1) * 2], 0);
    ZethSound::Pause(id, 0);
    std::vector<int16_t> out = Render(400);
    // 1000 frames in: the first pass of 400, then 300-frame loops from frame 100.
    EXPECT_EQ(out[kRampFrames * 2], samples_[(100 + (1000 - 400 + kRampFrames) % 300) * 2]);
    ZethSound::Stop(id, 0);
    EXPECT_FALSE(ZethSound::IsPlaying(id, 0));
    ZethSound::Release(id);
    EXPECT_FALSE(ZethSound::IsPlaying(id, 0));
}

// Descriptors open in this process.
size_t OpenDescriptors() {
    const std::filesystem::directory_iterator fds("/proc/self/fd");
    return static_cast<size_t>(std::distance(std::filesystem::begin(fds), std::filesystem::end(fds)));
}

// A WAVE sound played by a stream player is read whole when it is made and keeps no descriptor,
// so that the game's many effects do not run out of them under a low limit (ulimit -n); one
// larger than a whole file may be (sparse: it costs no disk) and Ogg music are read from their
// file as they play, one descriptor each.
TEST_F(SoundTest, AWaveSoundPlayedByAPlayerKeepsNoDescriptor) {
    // Files of their own: tests run at once in the same folder.
    WriteFile("kept_ramp.wav", Wave16(2, kMixRate, samples_));
    WriteFile("kept_tune.ogg", OggTone(kMixRate, kMixRate, 2));
    struct Case {
        const char* name;
        uint64_t size;  // 0: as written
        size_t kept;    // descriptors the sound keeps
    };
    const Case cases[] = {
        {"kept_ramp.wav", 0, 0},
        {"kept_huge.wav", ZethFile::kLoadLimit, 0},
        {"kept_huge.wav", uint64_t{ZethFile::kLoadLimit} + 1, 1},
        {"kept_tune.ogg", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.size));
        if (c.size != 0) {
            WriteFile(c.name, Wave16(2, kMixRate, samples_));
            std::filesystem::resize_file(c.name, c.size);
        }
        const size_t before = OpenDescriptors();
        std::vector<int32_t> ids;
        for (int i = 0; i < 8; ++i) ids.push_back(ZethSound::CreateFromFile(c.name, 1, true, false, 1));
        EXPECT_EQ(OpenDescriptors(), before + 8 * c.kept);
        ASSERT_EQ(std::count(ids.begin(), ids.end(), -1), 0);
        ZethSound::Play(ids.back(), 0);
        const std::vector<int16_t> out = Render(kRampFrames + 2);
        if (std::string(c.name) == "kept_ramp.wav") {
            EXPECT_EQ(out[(kRampFrames + 1) * 2], samples_[(kRampFrames + 1) * 2]);  // its own samples
        }
        EXPECT_TRUE(ZethSound::IsPlaying(ids.back(), 0));
        for (int32_t id : ids) ZethSound::Release(id);
        EXPECT_EQ(OpenDescriptors(), before);
    }
    for (const char* name : {"kept_ramp.wav", "kept_huge.wav", "kept_tune.ogg"}) std::filesystem::remove(name);
}

TEST_F(SoundTest, VoxPlayerReadsThroughTheFileSystem) {
    WriteFile("tune.ogg", OggTone(kMixRate, kMixRate, 2));
    VoxPlayer* vox = CreateVox();
    EXPECT_FALSE(vox->Open("missing.ogg"));
    ASSERT_TRUE(vox->Open("tune.ogg"));
    vox->SetPosition(250.0f);
    vox->Play();
    Render(kMixRate / 10);
    EXPECT_EQ(vox->GetState(), 1);
    EXPECT_DOUBLE_EQ(vox->GetPosition(), 350.0);
    vox->Pause();
    EXPECT_EQ(vox->GetState(), 0);
    vox->Release();
}

}  // namespace
