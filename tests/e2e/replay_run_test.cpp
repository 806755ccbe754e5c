// A game recorded in one whole-program run and played back in another.
#include <gtest/gtest.h>

#include <filesystem>

#include "harness/game_run.h"
#include "platform/os/os.h"

namespace {

struct Seen {
    std::vector<std::vector<int32_t>> counters;  // game counters 0-6 of each frame that ran
    std::vector<int32_t> frames;                 // the replay's frame count then
};

// Starts a game on frame 2 as a menu would (recording, or playing the last replay back),
// notes what every unpaused frame up to `end` gave the players, and on frame `end` ends a
// recorded game as the stage does.
void Watch(e2e::GameRun& run, bool playback, int32_t end, Seen* seen) {
    run.onFrame = [seen, playback, end](int32_t frame, ObjectController& world) {
        if (frame == 2) {
            world.gameRunning = true;
            if (playback) {
                world.replay.BeginPlayback(kLastReplaySlot);
            } else {
                world.replay.Reset(&world);
                world.replay.BeginRecording();
            }
            return;
        }
        if (frame < 3 || frame > end || world.paused) return;
        seen->counters.push_back(std::vector<int32_t>(world.input.game, world.input.game + 7));
        seen->frames.push_back(world.replay.frame);
        if (frame == end && !playback) {
            world.replay.header.finalScore = 4321;
            world.replay.Save();
        }
    };
}

TEST(ReplayRun, AGameRecordedInOneRunPlaysBackInAnother) {
    const std::string file = platform::ExecutableFolder() + "/replay/lastreplay.qvrep";
    std::filesystem::remove(file);
    const int32_t end = 20;

    // Z from the menu on, the arrows, a pause pressed twice while X is held, then C.
    e2e::GameRun live;
    const std::tuple<int32_t, int32_t, bool> script[] = {
        {1, 4, true},  {4, 0, true},  {6, 4, false}, {6, 5, true},  {8, 7, true},   {9, 7, false},
        {11, 7, true}, {12, 7, false}, {14, 6, true}, {14, 2, true}, {16, 0, false}, {18, 5, false},
    };
    for (const auto& [frame, button, down] : script) live.Hold(frame, button, down);
    Seen recorded;
    Watch(live, false, end, &recorded);
    live.Run(end + 3);
    ASSERT_TRUE(std::filesystem::exists(file));
    ASSERT_EQ(recorded.counters.size(), static_cast<size_t>(end - 2 - 3));  // three paused frames

    e2e::GameRun replay;
    replay.Hold(3, 7, true);  // pause and the arrows do nothing during playback
    replay.Hold(5, 1, true);
    Seen played;
    Watch(replay, true, end - 3, &played);
    replay.Run(end);
    EXPECT_EQ(played.counters, recorded.counters);
    EXPECT_EQ(played.frames, recorded.frames);
    std::filesystem::remove_all(platform::ExecutableFolder() + "/replay");
}

}  // namespace
