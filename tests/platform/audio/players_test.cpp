#include <gtest/gtest.h>

#include <cstring>

#include "platform/audio/audio.h"
#include "platform/audio/mixer_internal.h"
#include "platform/audio/ogg_player.h"
#include "platform/audio/stream_player.h"
#include "platform/audio/test_sounds.h"

namespace {

using namespace platform::audio;
using namespace test_sounds;

std::vector<int16_t> Render(uint32_t frames) {
    std::vector<int16_t> out(frames * 2);
    RenderFrames(out.data(), frames);
    return out;
}

class PlayersTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(OpenOutput(true), Output::kManual); }
    void TearDown() override {
        Render(kRampFrames * 2);
        CloseOutput();
    }
};

// A WAVE file inside a larger file, as a pack entry is: the player reads only its window.
TEST_F(PlayersTest, StreamFromAFileWindowLoopsBackToItsLoopFrame) {
    std::vector<int16_t> samples = Ramp(1000, 2);
    Bytes wave = Wave16(2, kMixRate, samples);
    Bytes file = wave;
    file.insert(file.begin(), 37, 'x');
    file.resize(file.size() + 50, 'y');
    std::string path = WriteFile("window.bin", file);
    StreamPlayer* player = Ayame_CreateInstanceFromFileEx(path.c_str(), 37, static_cast<uint32_t>(wave.size()), 0);
    ASSERT_NE(player, nullptr);
    player->Loop(-1, 600);
    std::vector<int16_t> out = Render(2500);
    for (uint32_t i = kRampFrames; i < 2500; ++i) {
        uint32_t source = i < 1000 ? i : 600 + (i - 1000) % 400;
        ASSERT_EQ(out[i * 2], samples[source * 2]) << i;
        ASSERT_EQ(out[i * 2 + 1], samples[source * 2 + 1]) << i;
    }
    EXPECT_TRUE(player->IsPlaying());
    player->Release();
}

TEST_F(PlayersTest, PausedStreamCountsAsPlayingAndResumesWhereItWas) {
    std::vector<int16_t> samples = Ramp(3000, 2);
    std::string path = WriteFile("pause.wav", Wave16(2, kMixRate, samples));
    StreamPlayer* player = Ayame_CreateInstanceFromFileEx(path.c_str(), 0, 0, 0);
    ASSERT_NE(player, nullptr);
    player->Play(0, 0);
    Render(1000);
    player->Pause();
    EXPECT_TRUE(player->IsPlaying());
    std::vector<int16_t> silent = Render(500);
    EXPECT_EQ(silent[(kRampFrames + 1) * 2], 0);  // only the fade-out of the pause is heard
    player->Pause();
    std::vector<int16_t> out = Render(1000);
    EXPECT_EQ(out[(kRampFrames + 10) * 2], samples[(1000 + kRampFrames + 10) * 2]);
    Render(1500);
    EXPECT_FALSE(player->IsPlaying());
    player->Pause();  // pausing a finished stream does not make it count as playing
    EXPECT_FALSE(player->IsPlaying());
    player->Play(0, 0);
    EXPECT_TRUE(player->IsPlaying());
    player->Stop();
    EXPECT_FALSE(player->IsPlaying());
    player->Release();
}

TEST_F(PlayersTest, StreamCreationFailuresGiveAReason) {
    char reason[512];
    EXPECT_EQ(Ayame_CreateInstanceFromFileEx("no such file.wav", 0, 0, 0), nullptr);
    Ayame_GetLastError(reason);
    EXPECT_NE(std::strstr(reason, "no such file.wav"), nullptr);
    std::string path = WriteFile("float.wav", Riff({Chunk("fmt ", FormatBody(3, 1, 44100, 32)), Chunk("data", Bytes(8))}));
    EXPECT_EQ(Ayame_CreateInstanceFromFileEx(path.c_str(), 0, 0, 0), nullptr);
    Ayame_GetLastError(reason);
    EXPECT_STREQ(reason, WaveErrorText(WaveError::kNotPcm));
    path = WriteFile("broken.ogg", Bytes{'O', 'g', 'g', 'S', 1, 2, 3});
    EXPECT_EQ(Ayame_CreateInstanceFromFileEx(path.c_str(), 0, 0, 0), nullptr);
    EXPECT_EQ(Ayame_CreateInstanceFromFileEx(path.c_str(), 5, 100, 0), nullptr);  // window past the end
}

TEST_F(PlayersTest, StreamPlaysOggAndOtherRates) {
    std::string path = WriteFile("tone22.ogg", OggTone(22050, 22050, 1));
    StreamPlayer* player = Ayame_CreateInstanceFromFileEx(path.c_str(), 0, 0, 0);
    ASSERT_NE(player, nullptr);
    player->Play(0, 0);
    std::vector<int16_t> out = Render(kMixRate / 2);
    int16_t peak = 0;
    for (int16_t sample : out) peak = std::max<int16_t>(peak, sample);
    EXPECT_GT(peak, 12000);  // a half-scale tone
    EXPECT_TRUE(player->IsPlaying());
    Render(kMixRate / 2 + 100);  // one second of 22,050 Hz lasts 44,100 mix frames
    EXPECT_FALSE(player->IsPlaying());
    player->Release();
}

// Positions are milliseconds of the tune, whatever its rate against the mix's.
TEST_F(PlayersTest, OggPlayerPositionFollowsSeeksAndPlay) {
    for (const uint32_t rate : {kMixRate, kMixRate / 2}) {
        SCOPED_TRACE(rate);
        std::string path = WriteFile("tune.ogg", OggTone(rate * 2, rate, 2));
        OggPlayer* player = CreateVox();
        EXPECT_EQ(player->GetState(), 0);
        std::string notOgg = WriteFile("not_ogg.wav", Wave16(1, kMixRate, Ramp(10, 1)));
        EXPECT_FALSE(player->Open(OpenFileWindow(notOgg, 0, 0)));
        ASSERT_TRUE(player->Open(OpenFileWindow(path, 0, 0)));
        player->SetPosition(1500.0f);
        EXPECT_DOUBLE_EQ(player->GetPosition(), 1500.0);
        player->Play();
        EXPECT_EQ(player->GetState(), 1);
        Render(4410);
        EXPECT_DOUBLE_EQ(player->GetPosition(), 1600.0);
        player->Pause();
        EXPECT_EQ(player->GetState(), 0);
        Render(4410);
        EXPECT_DOUBLE_EQ(player->GetPosition(), 1600.0);
        player->Play();
        Render(kMixRate);  // past the end of the two-second tune
        EXPECT_EQ(player->GetState(), 0);
        player->Play();  // after the end, from the start again
        EXPECT_EQ(player->GetState(), 1);
        Render(882);
        EXPECT_DOUBLE_EQ(player->GetPosition(), 20.0);
        player->Stop();
        EXPECT_DOUBLE_EQ(player->GetPosition(), 0.0);
        player->SetVolume(0.0f);
        player->Play();
        std::vector<int16_t> out = Render(1000);
        EXPECT_EQ(out[1998], 0);
        player->Release();
    }
}

}  // namespace
