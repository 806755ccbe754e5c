// The player's files under faults of the machine: a disk that fills up during a save, and the
// program killed in the middle of one. Each fault strikes a child process doing the real save;
// the test then reads what the child left on disk.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "framework/app/log.h"
#include "game/world/file_bytes.h"
#include "support/read_log.h"
#include "user_folder.h"
#include "world_support.h"

using namespace world_test;

namespace {

constexpr const char* kScorePath = "qvscore.dat";
constexpr const char* kReplayPath = "replay/lastreplay.qvrep";

// What InChild returns for a child that was killed, and for one that did not end in time.
constexpr int kKilled = -1;
constexpr int kHung = -2;
// A save takes milliseconds; a child still running after this is stuck, and fails its test.
constexpr auto kChildLimit = std::chrono::seconds(20);

// Runs the action in a child; returns its exit status (the action's own code), kKilled when it
// was killed after `killAfter`, or kHung (and it is killed) when it had not ended within
// kChildLimit. A kill delay of 0 lets the child finish.
int InChild(const std::function<int()>& action, useconds_t killAfter = 0) {
    pid_t child = fork();
    if (child == 0) _exit(action());
    if (killAfter > 0) {
        usleep(killAfter);
        kill(child, SIGKILL);
    }
    int status = 0;
    bool hung = false;
    for (auto deadline = std::chrono::steady_clock::now() + kChildLimit; waitpid(child, &status, WNOHANG) != child;
         usleep(1000)) {
        if (std::chrono::steady_clock::now() < deadline) continue;
        if (hung) return kHung;  // not even the kill ended it within a second: it is left behind
        kill(child, SIGKILL);
        hung = true;
        deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    }
    if (hung) return kHung;
    return WIFEXITED(status) ? WEXITSTATUS(status) : kKilled;
}

// Limits the size of any file this process writes, as a full disk does: writes past it fail.
void FillDiskAt(rlim_t bytes) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_FSIZE, &limit);
}

class SaveFaults : public WorldTest {
protected:
    SaveFaults() { world.scoreData.Clear(); }
    // A game of `length` frames whose button word changes every frame, saved as the last replay.
    bool SaveReplay(int32_t length, int32_t firstWord) {
        world.replay.Reset(&world);
        world.replay.BeginRecording();
        for (int32_t i = 0; i < length; ++i) world.replay.Record(firstWord + i);
        return world.replay.Save();
    }

    UserFolder user;
};

TEST_F(SaveFaults, AFullDiskFailsTheSaveSaysSoAndKeepsThePreviousFiles) {
    ASSERT_TRUE(world.scoreData.SaveParty(2, 0, 2, 5, 6, 0, 0));
    ASSERT_TRUE(SaveReplay(10, 1));
    const std::string score = user.Read(kScorePath), replay = user.Read(kReplayPath);

    struct Case {
        const char* name;
        std::function<bool()> save;
        const char* message;
    };
    const Case cases[] = {
        {"score file", [&] { return world.scoreData.SaveParty(2, 0, 3, 7, 8, 0, 0); },
         "ハイスコアとパーティー編成を\n書き込めませんでした"},
        {"replay", [&] { return SaveReplay(2000, 1000); }, nullptr},
    };
    for (const Case& c : cases) {
        // 0: failed and told the player once; 1: the save claimed success; 2: wrong messages.
        const int status = InChild([&] {
            FillDiskAt(4096);
            if (c.save()) return 1;
            const std::vector<std::string> shown = platform.messageBox.Texts();
            if (shown.size() != 1 || (c.message != nullptr && shown[0] != c.message)) return 2;
            return 0;
        });
        EXPECT_EQ(status, 0) << c.name << (status == kHung ? ": the save did not end" : "");
        EXPECT_EQ(user.Read(kScorePath), score) << c.name;
        EXPECT_EQ(user.Read(kReplayPath), replay) << c.name;
        EXPECT_FALSE(user.Exists(std::string(kScorePath) + ".tmp")) << c.name;
        EXPECT_FALSE(user.Exists(std::string(kReplayPath) + ".tmp")) << c.name;
    }
    // Space again: the next save goes through.
    EXPECT_TRUE(world.scoreData.SaveParty(2, 0, 3, 7, 8, 0, 0));
    EXPECT_NE(user.Read(kScorePath), score);
}

TEST_F(SaveFaults, AKillDuringSavesLeavesOneWholeVersionOfEachFile) {
    // Two versions of each file, saved turn about until the child is killed at a moment that
    // moves a little every round, so the kill falls on every step of a save in turn.
    std::vector<std::string> scores, replays;
    for (int32_t version = 0; version < 2; ++version) {
        ASSERT_TRUE(world.scoreData.SaveParty(3, 1, 21 + version, 1, 2, 3, 0));
        ASSERT_TRUE(SaveReplay(500 + 300 * version, version));
        scores.push_back(user.Read(kScorePath));
        replays.push_back(user.Read(kReplayPath));
    }
    for (useconds_t delay = 500; delay < 40000; delay += 1700) {
        const int status = InChild(
            [&] {
                for (int32_t round = 0;; round ^= 1) {
                    world.scoreData.SaveParty(3, 1, 21 + round, 1, 2, 3, 0);
                    SaveReplay(500 + 300 * round, round);
                }
                return 0;
            },
            delay);
        ASSERT_EQ(status, kKilled) << (status == kHung ? "the child outlived its kill" : "");
        const std::string score = user.Read(kScorePath), replay = user.Read(kReplayPath);
        EXPECT_TRUE(score == scores[0] || score == scores[1]) << "killed after " << delay << " us";
        EXPECT_TRUE(replay == replays[0] || replay == replays[1]) << "killed after " << delay << " us";
    }
    // A temporary file the kill left behind does not stand in the way of the next save.
    EXPECT_TRUE(world.scoreData.SaveParty(3, 1, 30, 1, 2, 3, 0));
    EXPECT_TRUE(SaveReplay(20, 7));
}

// A file whose name differs from the game's own only in letter case is another file, one the
// game did not read: no save writes over it, whether the save goes through or fails and puts a
// damaged file back where it was.
TEST_F(SaveFaults, ANamesakeInAnotherLetterCaseIsNeverWrittenOver) {
    world.scoreData.Clear();
    world.scoreData.solo.records[0][0][0] = 4242;
    const std::vector<uint8_t> bytes = world.scoreData.ToFileBytes();
    const std::string good(bytes.begin(), bytes.end());
    struct Case {
        const char* name;
        bool tempInTheWay;  // a folder with a file in it at the temporary name fails the save
    };
    for (const Case& c : {Case{"the save goes through", false}, Case{"the save fails", true}}) {
        for (const auto& entry : std::filesystem::directory_iterator(user.folder.Path())) {
            std::filesystem::remove_all(entry.path());
        }
        user.folder.Write("QVSCORE.DAT", good);
        user.folder.Write("qvscore.dat", "damaged");
        user.folder.Write("replay/LASTREPLAY.QVREP", "another replay");
        if (c.tempInTheWay) {
            user.folder.Write("qvscore.dat.tmp/inside", "");
            user.folder.Write("replay/lastreplay.qvrep.tmp/inside", "");
        }
        world.scoreData.Load(&world);
        EXPECT_EQ(world.scoreData.SaveParty(2, 0, 2, 5, 6, 0, 0), !c.tempInTheWay) << c.name;
        EXPECT_EQ(SaveReplay(3, 1), !c.tempInTheWay) << c.name;
        EXPECT_TRUE(user.Read("QVSCORE.DAT") == good) << c.name;  // 78 KB: not printed
        EXPECT_EQ(user.Read("replay/LASTREPLAY.QVREP"), "another replay") << c.name;
        if (c.tempInTheWay) {
            EXPECT_EQ(user.Read("qvscore.dat"), "damaged") << c.name;
            EXPECT_FALSE(user.Exists("replay/lastreplay.qvrep")) << c.name;
        } else {
            EXPECT_EQ(user.Read("qvscore.dat.bad"), "damaged") << c.name;
            EXPECT_EQ(user.Read("qvscore.dat").size(), 78152u) << c.name;
            EXPECT_EQ(user.Read("replay/lastreplay.qvrep").size(), 40u + 8 * 3) << c.name;
        }
    }
}

// A save that fails says so in a box, as always, and the log says why: what stands at the
// temporary name (left as it is), or the replay folder that could not be made.
TEST_F(SaveFaults, AFailedSaveNamesItsCauseInTheLog) {
    const std::string logPath = user.folder.Path() + "/log.html";
    struct Case {
        const char* name;
        const char* inTheWay;  // a file written there stands in the way of the save
        std::function<bool()> save;
        const char* box;
        const char* logged;
    };
    const Case cases[] = {
        {"score file", "qvscore.dat.tmp/inside", [&] { return world.scoreData.SaveParty(2, 0, 2, 5, 6, 0, 0); },
         "ハイスコアとパーティー編成を\n書き込めませんでした",
         "一時ファイルの名前 [ qvscore.dat.tmp ] に中身のあるフォルダなど消せないものがあるため、"
         "書き込めませんでした (それはそのまま残しています) [ qvscore.dat ]"},
        {"replay", "replay/lastreplay.qvrep.tmp/inside", [&] { return SaveReplay(3, 1); },
         "リプレイをファイルに書き込めませんでした",
         "一時ファイルの名前 [ replay/lastreplay.qvrep.tmp ] に中身のあるフォルダなど消せないものがあるため、"
         "書き込めませんでした (それはそのまま残しています) [ replay/lastreplay.qvrep ]"},
        {"replay folder", "replay", [&] { return SaveReplay(3, 1); }, "リプレイをファイルに書き込めませんでした",
         "フォルダを作れないため、リプレイを書き込めませんでした [ replay ]"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all("replay");
        user.folder.Write(c.inTheWay, "kept");
        platform.messageBox.shown.clear();
        ASSERT_TRUE(ZethLog::Open(logPath.c_str()));
        EXPECT_FALSE(c.save()) << c.name;
        ZethLog::Close();
        EXPECT_EQ(platform.messageBox.Texts(), std::vector<std::string>{c.box}) << c.name;
        const std::string log = testing_support::ReadLog(logPath);
        EXPECT_NE(log.find(c.logged), std::string::npos) << c.name << "\n" << log;
        EXPECT_EQ(user.Read(c.inTheWay), "kept") << c.name;
        std::filesystem::remove_all(c.inTheWay);
        EXPECT_TRUE(c.save()) << c.name;  // failures are said once until a save goes through
    }
}

}  // namespace
