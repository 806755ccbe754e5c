#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "platform/audio/audio.h"
#include "platform/audio/mixer_internal.h"
#include "platform/audio/test_sounds.h"
#include "platform/os/os.h"

namespace {

using namespace platform::audio;
using test_sounds::Bytes;
using test_sounds::Ramp;
using test_sounds::SampleBytes;

PcmFormat Format(uint16_t channels, uint32_t rate, uint16_t bits) {
    PcmFormat format;
    format.formatTag = 1;
    format.channels = channels;
    format.sampleRate = rate;
    format.bitsPerSample = bits;
    return format;
}

std::vector<int16_t> Render(uint32_t frames) {
    std::vector<int16_t> out(frames * 2);
    RenderFrames(out.data(), frames);
    return out;
}

class MixerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(OpenOutput(true), Output::kManual); }
    void TearDown() override {
        Render(kRampFrames * 2);  // let any fade of this test die away
        CloseOutput();
    }
};

TEST_F(MixerTest, LoopingBufferRepeatsSampleExact) {
    std::vector<int16_t> samples = Ramp(100, 2);
    Bytes bytes = SampleBytes(samples);
    auto buffer = SoundBuffer::Create(Format(2, kMixRate, 16), bytes.data(), static_cast<uint32_t>(bytes.size()));
    ASSERT_NE(buffer, nullptr);
    buffer->Play(true);
    std::vector<int16_t> out = Render(1000);
    for (uint32_t i = kRampFrames; i < 1000; ++i) {
        ASSERT_EQ(out[i * 2], samples[(i % 100) * 2]) << i;
        ASSERT_EQ(out[i * 2 + 1], samples[(i % 100) * 2 + 1]) << i;
    }
    EXPECT_TRUE(buffer->IsPlaying());
    EXPECT_EQ(buffer->GetPosition(), 0u);
}

TEST_F(MixerTest, OnceThroughEndsAndRewinds) {
    Bytes bytes = SampleBytes(Ramp(300, 2));
    auto buffer = SoundBuffer::Create(Format(2, kMixRate, 16), bytes.data(), static_cast<uint32_t>(bytes.size()));
    buffer->Play(false);
    Render(200);
    EXPECT_TRUE(buffer->IsPlaying());
    EXPECT_EQ(buffer->GetPosition(), 200u);
    Render(200);
    EXPECT_FALSE(buffer->IsPlaying());
    EXPECT_EQ(buffer->GetPosition(), 0u);
}

TEST_F(MixerTest, ConvertsFormatsToTheMixFormat) {
    struct Case {
        const char* name;
        PcmFormat format;
        std::vector<uint8_t> bytes;
        uint32_t frames;
        int16_t left, right;  // the first frame
    };
    const Case cases[] = {
        {"8-bit mono", Format(1, kMixRate, 8), {0, 255, 128}, 3, -32768, -32768},
        {"8-bit stereo", Format(2, kMixRate, 8), {255, 128, 0, 0}, 2, 32512, 0},
        {"16-bit mono", Format(1, kMixRate, 16), {0x34, 0x12, 0, 0}, 2, 0x1234, 0x1234},
        {"16-bit stereo, half frame dropped", Format(2, kMixRate, 16), {1, 0, 2, 0, 3}, 1, 1, 2},
        {"22,050 Hz doubles", Format(1, 22050, 16), std::vector<uint8_t>(200, 0), 200, 0, 0},
        {"48,000 Hz shrinks", Format(2, 48000, 16), std::vector<uint8_t>(4800 * 4, 0), 4410, 0, 0},
    };
    for (const Case& c : cases) {
        auto buffer = SoundBuffer::Create(c.format, c.bytes.data(), static_cast<uint32_t>(c.bytes.size()));
        ASSERT_NE(buffer, nullptr) << c.name;
        EXPECT_NEAR(buffer->FrameCount(), c.frames, 1) << c.name;  // the rate step is rounded
        // Looping, the first frame comes round again after the fade-in, at full volume.
        uint32_t firstAgain = (kRampFrames + c.frames - 1) / c.frames * c.frames;
        buffer->Play(true);
        std::vector<int16_t> out = Render(firstAgain + 1);
        buffer->Stop();
        EXPECT_EQ(out[firstAgain * 2], c.left) << c.name;
        EXPECT_EQ(out[firstAgain * 2 + 1], c.right) << c.name;
    }
    uint8_t one[1] = {0};
    EXPECT_EQ(SoundBuffer::Create(Format(2, kMixRate, 16), one, 1), nullptr);
    EXPECT_EQ(SoundBuffer::Create(Format(1, 500, 16), one, 1), nullptr);
    // A slow rate blows samples up 44 times: no more than kMaxFrames come of them.
    const uint32_t most = static_cast<uint32_t>(uint64_t{SoundBuffer::kMaxFrames} * 1000 / kMixRate);
    for (const uint32_t frames : {most, most + 1}) {
        const std::vector<uint8_t> slow(frames, 128);
        auto buffer = SoundBuffer::Create(Format(1, 1000, 8), slow.data(), frames);
        EXPECT_EQ(buffer != nullptr, frames == most) << frames;
        if (buffer != nullptr) {
            EXPECT_LE(buffer->FrameCount(), SoundBuffer::kMaxFrames);
        }
    }
}

std::unique_ptr<SoundBuffer> ConstantBuffer(int16_t value, uint32_t frames) {
    Bytes bytes = SampleBytes(std::vector<int16_t>(frames * 2, value));
    return SoundBuffer::Create(Format(2, kMixRate, 16), bytes.data(), static_cast<uint32_t>(bytes.size()));
}

TEST_F(MixerTest, VolumeAndPanScaleEachSide) {
    struct Case {
        int32_t volume, pan;
        int16_t left, right;
    };
    const Case cases[] = {
        {0, 0, 10000, 10000},       {-600, 0, 5012, 5012},  {-10000, 0, 0, 0},
        {0, -10000, 10000, 0},      {0, 10000, 0, 10000},   {0, -600, 10000, 5012},
    };
    // A duplicate made afterwards (another layer of the same sound) plays with the same volume and pan.
    for (const bool duplicate : {false, true}) {
        for (const Case& c : cases) {
            auto original = ConstantBuffer(10000, 1000);
            original->SetVolume(c.volume);
            original->SetPan(c.pan);
            std::unique_ptr<SoundBuffer> copy = duplicate ? original->Duplicate() : nullptr;
            SoundBuffer& buffer = duplicate ? *copy : *original;
            buffer.Play(true);
            std::vector<int16_t> out = Render(kRampFrames * 2);
            buffer.Stop();
            Render(kRampFrames);
            EXPECT_EQ(out[out.size() - 2], c.left) << c.volume << " " << c.pan << (duplicate ? " duplicate" : "");
            EXPECT_EQ(out[out.size() - 1], c.right) << c.volume << " " << c.pan << (duplicate ? " duplicate" : "");
        }
    }
}

// Percent volumes as the game gives them: the configuration file allows up to 127, and anything
// above 100 plays at full volume, never quieter; below 0 is silence.
TEST_F(MixerTest, PercentVolumesAbove100PlayAtFullVolume) {
    struct Case {
        float percent;
        int32_t hundredthsDb;
    };
    const Case cases[] = {{127, kVolumeFull}, {120, kVolumeFull}, {101, kVolumeFull},   {100, kVolumeFull},
                          {50, -2500},        {0, kVolumeSilent},  {-5, kVolumeSilent}, {-128, kVolumeSilent}};
    for (const Case& c : cases) EXPECT_EQ(PercentToHundredthsDb(c.percent), c.hundredthsDb) << c.percent;
    auto buffer = ConstantBuffer(10000, 1000);
    buffer->SetVolume(PercentToHundredthsDb(120));
    buffer->Play(true);
    std::vector<int16_t> out = Render(kRampFrames * 2);
    buffer->Stop();
    EXPECT_EQ(out[out.size() - 2], 10000);
}

// Two loud voices add up past the 16-bit range: the mix saturates instead of wrapping round.
TEST_F(MixerTest, LoudVoicesSaturateInsteadOfWrapping) {
    for (int16_t value : {30000, -30000}) {
        auto first = ConstantBuffer(value, 1000);
        auto second = ConstantBuffer(value, 1000);
        first->Play(true);
        second->Play(true);
        std::vector<int16_t> out = Render(kRampFrames * 2);
        first->Stop();
        second->Stop();
        Render(kRampFrames);
        const int16_t expected = value > 0 ? 32767 : -32768;
        EXPECT_EQ(out[out.size() - 2], expected) << value;
        EXPECT_EQ(out[out.size() - 1], expected) << value;
    }
}

// Starting, changing the volume and stopping never jump by more than a ramp step.
TEST_F(MixerTest, ChangesRampInsteadOfClicking) {
    auto buffer = ConstantBuffer(30000, 5000);
    const int32_t limit = 30000 / static_cast<int32_t>(kRampFrames) + 2;
    buffer->Play(true);
    std::vector<int16_t> out = Render(200);
    buffer->SetVolume(-10000);
    std::vector<int16_t> more = Render(200);
    out.insert(out.end(), more.begin(), more.end());
    buffer->SetVolume(0);
    more = Render(200);
    out.insert(out.end(), more.begin(), more.end());
    buffer->Stop();
    more = Render(200);
    out.insert(out.end(), more.begin(), more.end());
    int16_t previous = 0;
    for (size_t i = 0; i < out.size(); i += 2) {
        ASSERT_LE(std::abs(out[i] - previous), limit) << i / 2;
        previous = out[i];
    }
    EXPECT_EQ(out[399 * 2], 0);
    EXPECT_EQ(out[599 * 2], 30000);
    EXPECT_EQ(out.back(), 0);
}

// A playing voice started again (a jump to another place) fades its old place out and the new one
// in, from silence: the old fade and the new sound together never step by more than a ramp step,
// and a stop right after the restart fades out only what was heard. The jump goes from 16000 to
// -16000: without the fades it would be a step of 32000.
TEST_F(MixerTest, ARestartFadesTheOldPlaceOutAndTheNewIn) {
    const int32_t limit = 32000 / static_cast<int32_t>(kRampFrames) + 2;
    std::vector<int16_t> samples(5000 * 2, 16000);
    std::fill_n(samples.begin(), 200, int16_t{-16000});  // frames 0-99
    const Bytes bytes = SampleBytes(samples);
    for (const bool stopAtOnce : {false, true}) {
        SCOPED_TRACE(stopAtOnce ? "stopped at once" : "played on");
        auto buffer = SoundBuffer::Create(Format(2, kMixRate, 16), bytes.data(), static_cast<uint32_t>(bytes.size()));
        ASSERT_TRUE(buffer->SetPosition(100));
        buffer->Play(true);
        std::vector<int16_t> out = Render(200);
        ASSERT_EQ(out.back(), 16000);
        ASSERT_TRUE(buffer->SetPosition(5));
        if (stopAtOnce) buffer->Stop();
        std::vector<int16_t> more = Render(10);
        out.insert(out.end(), more.begin(), more.end());
        int16_t previous = 0;
        for (size_t i = 0; i < out.size(); i += 2) {
            ASSERT_LE(std::abs(out[i] - previous), limit) << i / 2;
            previous = out[i];
        }
        more = Render(kRampFrames);
        EXPECT_EQ(more[more.size() - 2], stopAtOnce ? 0 : -16000);  // frame 5 + 73, the fade-in over
        buffer->Stop();
        Render(kRampFrames);
    }
}

TEST_F(MixerTest, DuplicatesShareSamplesButNotPosition) {
    Bytes bytes = SampleBytes(Ramp(500, 2));
    auto original = SoundBuffer::Create(Format(2, kMixRate, 16), bytes.data(), static_cast<uint32_t>(bytes.size()));
    original->SetVolume(-600);
    auto copy = original->Duplicate();
    EXPECT_EQ(copy->FrameCount(), 500u);
    original->Play(false);
    Render(100);
    copy->Play(false);
    Render(100);
    EXPECT_EQ(original->GetPosition(), 200u);
    EXPECT_EQ(copy->GetPosition(), 100u);
    original.reset();  // the copy keeps the samples alive
    Render(100);
    EXPECT_EQ(copy->GetPosition(), 200u);
}

class FakeClock : public platform::Clock {
public:
    uint64_t NowMs() override { return now; }
    void SleepMs(uint32_t ms) override { now += ms; }
    uint64_t now = 5000;
};

// Without a device the mix follows the clock, so a 50 ms sound ends after 50 ms of clock time.
TEST(SilentSink, PlaysAtTheClocksPace) {
    FakeClock clock;
    platform::SetClock(&clock);
    ASSERT_EQ(OpenOutput(false), Output::kSilentSink);  // the tests run on SDL's dummy driver
    auto buffer = ConstantBuffer(1000, kMixRate / 20);
    buffer->Play(false);
    clock.SleepMs(49);
    EXPECT_TRUE(buffer->IsPlaying());
    EXPECT_EQ(buffer->GetPosition(), 49 * kMixRate / 1000);
    clock.SleepMs(1);
    EXPECT_FALSE(buffer->IsPlaying());
    buffer->Play(true);
    clock.SleepMs(60000);  // a long stall is skipped, not mixed
    EXPECT_TRUE(buffer->IsPlaying());
    CloseOutput();
    platform::SetClock(nullptr);
}

}  // namespace
