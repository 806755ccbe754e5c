#include <gtest/gtest.h>

#include "framework/app/zeth.h"
#include "harness/fakes.h"

using testing_support::FakePlatform;

namespace {

// Runs one frame step that took frameMs of game time before it.
void FrameTaking(FakePlatform& fake, uint64_t frameMs) {
    fake.clock.now += frameMs;
    Zeth::SyncFrame();
}

}  // namespace

TEST(SyncFrame, SleepsOnlyForTheRestOfTheBudget) {
    FakePlatform fake;
    Zeth::SetFrameRate(60);
    fake.clock.now = 1'000'000;
    Zeth::SyncFrame();  // settle the frame start
    fake.clock.sleeps.clear();

    FrameTaking(fake, 5);
    FrameTaking(fake, 20);  // late: no sleep, nothing carried over
    FrameTaking(fake, 16);
    FrameTaking(fake, 0);
    EXPECT_EQ(fake.clock.sleeps, (std::vector<uint32_t>{11, 16}));
}

TEST(SyncFrame, FrameRateZeroYields) {
    FakePlatform fake;
    Zeth::SetFrameRate(0);
    FrameTaking(fake, 3);
    FrameTaking(fake, 30);
    EXPECT_EQ(fake.clock.sleeps, (std::vector<uint32_t>{0, 0}));
}

TEST(SyncFrame, ClockNearTheOld32BitWrapStillPaces) {
    FakePlatform fake;
    Zeth::SetFrameRate(60);
    fake.clock.now = 0xFFFFFFF0ull;
    Zeth::SyncFrame();
    fake.clock.sleeps.clear();
    FrameTaking(fake, 10);  // crosses 2^32 milliseconds
    FrameTaking(fake, 4);
    EXPECT_EQ(fake.clock.sleeps, (std::vector<uint32_t>{6, 12}));
}

TEST(SyncFrame, TitleFiguresUpdateOnceASecond) {
    FakePlatform fake;
    Zeth::SetApplicationName("Figures");
    Zeth::SetDrawTitleInfo();
    Zeth::SetFrameRate(60);
    fake.clock.now = 5'000'000;
    Zeth::SyncFrame();  // closes whatever second was running: a fresh one starts now
    Zeth::SyncFrame();
    fake.window.title.clear();
    // Every step sleeps its whole 16 ms budget, so the second ends on the 63rd step (1008 ms).
    int steps = 0;
    while (fake.window.title.empty() && steps < 100) {
        Zeth::AddPolygonCount(10);
        Zeth::AddPolygonCount3D(4);
        Zeth::SyncFrame();
        ++steps;
    }
    EXPECT_EQ(steps, 63);
    EXPECT_EQ(fake.window.title, "Figures FPS[64] PPS[630] PPF[9] PPF3D[3]");
}
