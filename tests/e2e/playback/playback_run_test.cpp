// A game recorded in one whole-program run and played back in another over a score file in which
// its score would rank: the playback's result leaves the score file, the record in memory (the
// ranking and the progress counters) and the last replay exactly as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "game/scenes/menu_replay.h"
#include "game/scenes/menu_result.h"
#include "game/scenes/menu_title.h"
#include "game/stage/script.h"
#include "game/world/message_codes.h"
#include "harness/game_run.h"
#include "platform/os/os.h"

namespace {

constexpr int32_t kDown = 1, kDecide = 4, kThird = 6;
constexpr int32_t kFireFrom = 10;       // the stage's age from which the first button is held
constexpr int32_t kPartyLostAt = 3000;  // the stage's age at which the party is out of lives

std::string Beside(const std::string& name) { return platform::ExecutableFolder() + "/" + name; }

std::vector<uint8_t> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Tap(e2e::GameRun& run, int32_t frame, int32_t button) {
    run.Hold(frame + 1, button, true);
    run.Hold(frame + 2, button, false);
}

// The same game in both runs: the stage ends by the party's loss at the same age of the stage,
// which a played-back game reaches on the same frame as the recorded one.
void EndTheGameAtTheSameAge(ObjectController& world) {
    auto* stage = dynamic_cast<Script*>(world.currentScene);
    if (stage != nullptr && stage->age == kPartyLostAt) stage->OnMessage(Msg(3, stage_message::kGameOver, &world));
}

TEST(PlaybackRun, APlaybacksResultLeavesTheScoreFileTheRankingAndTheLastReplayAsTheyWere) {
    std::filesystem::remove_all(Beside("replay"));
    std::filesystem::remove(Beside("qvscore.dat"));

    // The newcomer's prompt starts Natsuki's game, which fires until the party is lost.
    int32_t liveScore = -1;
    e2e::GameRun live;
    live.onFrame = [&](int32_t frame, ObjectController& world) {
        if (auto* title = dynamic_cast<SC_Menu_Title*>(world.currentScene); title != nullptr && title->age == 3) {
            Tap(live, frame, kDecide);
        }
        if (auto* stage = dynamic_cast<Script*>(world.currentScene); stage != nullptr && stage->age == kFireFrom) {
            live.Hold(frame + 1, kDecide, true);
        }
        EndTheGameAtTheSameAge(world);
        if (auto* result = dynamic_cast<SC_Menu_Result*>(world.currentScene); result != nullptr && result->age == 3) {
            liveScore = result->score;
            live.Hold(frame + 1, kDecide, false);
        }
    };
    const e2e::RunResult liveRun = live.Run(kPartyLostAt + 800);
    EXPECT_TRUE(liveRun.messageBoxes.empty());
    // Enough that a registered result would also move the progress counters (a thousand tens).
    ASSERT_GE(liveScore, 1000);
    const std::vector<uint8_t> lastReplay = Bytes(Beside("replay/lastreplay.qvrep"));
    ASSERT_GT(lastReplay.size(), 40u);

    // A record in which that score would be Natsuki's best, with every character unlocked.
    ScoreData record;
    record.Clear();
    for (int id : {0, 1, 9, 11, 12, 13, 14, 21, 25, 28}) record.unlockFlags[id] = 1;
    record.arrestCount = 16;
    ASSERT_LT(record.GetRankingEntry(11, 0, 0, 1), liveScore);
    const std::vector<uint8_t> scores = record.ToFileBytes();
    std::ofstream(Beside("qvscore.dat"), std::ios::binary)
        .write(reinterpret_cast<const char*>(scores.data()), static_cast<std::streamsize>(scores.size()));

    // The title's REPLAY row, the last replay, its result (where C asks to keep it), the title.
    int32_t playedScore = -1;
    bool backOnTitle = false;
    std::vector<uint8_t> inMemoryBefore, inMemoryAtResult, inMemoryOnTitle;
    worldController.lastTitleRow = 0;  // the title opens on the row chosen last
    e2e::GameRun played;
    played.onFrame = [&](int32_t frame, ObjectController& world) {
        if (auto* title = dynamic_cast<SC_Menu_Title*>(world.currentScene); title != nullptr && title->age == 3) {
            if (playedScore < 0) {
                inMemoryBefore = world.scoreData.ToFileBytes();
                for (int k = 0; k < 3; ++k) Tap(played, frame + 2 * k, kDown);
                Tap(played, frame + 6, kDecide);
            } else {
                backOnTitle = true;
                inMemoryOnTitle = world.scoreData.ToFileBytes();
            }
        }
        if (auto* list = dynamic_cast<SC_Menu_Replay*>(world.currentScene); list != nullptr && list->age == 3) {
            Tap(played, frame, kDecide);
        }
        EndTheGameAtTheSameAge(world);
        if (auto* result = dynamic_cast<SC_Menu_Result*>(world.currentScene)) {
            if (result->age == 3) {
                playedScore = result->score;
                inMemoryAtResult = world.scoreData.ToFileBytes();
                Tap(played, frame, kThird);
            }
            if (result->age == 40) Tap(played, frame, kDecide);
        }
    };
    const e2e::RunResult playedRun = played.Run(kPartyLostAt + 1000);
    EXPECT_TRUE(playedRun.messageBoxes.empty());
    EXPECT_EQ(playedScore, liveScore);  // the same game, whose score would rank
    EXPECT_TRUE(backOnTitle);
    EXPECT_TRUE(inMemoryBefore == scores);
    EXPECT_TRUE(inMemoryAtResult == scores);
    EXPECT_TRUE(inMemoryOnTitle == scores);
    EXPECT_TRUE(Bytes(Beside("qvscore.dat")) == scores);
    EXPECT_TRUE(Bytes(Beside("replay/lastreplay.qvrep")) == lastReplay);
    EXPECT_FALSE(std::filesystem::exists(Beside("replay/qvreplay00.qvrep")));
    std::filesystem::remove_all(Beside("replay"));
    std::filesystem::remove(Beside("qvscore.dat"));
}

}  // namespace
