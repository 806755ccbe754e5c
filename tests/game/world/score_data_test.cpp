#include <gtest/gtest.h>

#include <sys/resource.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "framework/app/log.h"
#include "framework/core/random.h"
#include "game/world/file_bytes.h"
#include "game/world/names.h"
#include "support/no_free_descriptor.h"
#include "support/read_log.h"
#include "user_folder.h"
#include "world_support.h"

using namespace world_test;
using namespace std::string_literals;

namespace {

int32_t FieldAt(const std::vector<uint8_t>& bytes, size_t offset) {
    return static_cast<int32_t>(ReadLittleEndian32(bytes.data() + offset));
}

class Scores : public WorldTest {
protected:
    Scores() : data(world.scoreData) { data.Clear(); }
    std::vector<int32_t> Unlocked() const {
        std::vector<int32_t> ids;
        for (int32_t id = 0; id < 64; ++id) {
            if (data.unlockFlags[id] != 0) ids.push_back(id);
        }
        return ids;
    }

    UserFolder user;
    ScoreData& data;
};

TEST_F(Scores, TheFileLaysOutTheTwentyBlocksInOrder) {
    data.solo.records[1][1][2] = 101;   // level at best
    data.solo.maxLevel[0][0] = 102;
    data.pairs.records[0][0][0] = 103;
    data.pairs.members[9][1][31] = 104;
    data.trios.members[0][0][0] = 105;
    data.quartets.records[0][0][0] = 106;
    data.quartets.members[34][3][31] = 107;
    data.pairFormations.values[0] = 108;
    data.quartetFormations.values[7] = 109;
    data.progressTotal = 110;
    data.arrestCount = 111;
    data.unlockFlags[63] = 1;
    std::vector<uint8_t> bytes = data.ToFileBytes();
    ASSERT_EQ(bytes.size(), 78152u);
    const std::pair<size_t, int32_t> fields[] = {
        {(64 + 32 + 2) * 4, 101}, {16384, 102},         {24576, 103},         {28416 + (9 * 64 + 63) * 4, 104},
        {38656, 105},             {46336, 106},         {77692, 107},         {77760, 108},
        {78076, 109},             {78080, 110},         {78084, 111},         {77920, 0},
    };
    for (const auto& [offset, value] : fields) EXPECT_EQ(FieldAt(bytes, offset), value) << offset;
    EXPECT_EQ(bytes[78088 + 11], 1);
    EXPECT_EQ(bytes[78151], 1);
}

TEST_F(Scores, AMissingFileIsCreatedEmptyAndReadsAsTheDefaults) {
    EXPECT_FALSE(data.Load(&world));
    ASSERT_TRUE(user.Exists("qvscore.dat"));
    EXPECT_EQ(user.Read("qvscore.dat"), "");
    EXPECT_TRUE(data.Load(&world));
    EXPECT_EQ(Unlocked(), std::vector<int32_t>{11});
    EXPECT_EQ(data.solo.records[5][1][3], -1);  // no level at best yet
    EXPECT_EQ(data.trios.maxLevel[19][31], -1);
    EXPECT_EQ(std::vector<int32_t>({data.GetPartyValue(2, 0), data.GetPartyValue(3, 7), data.GetPartyValue(4, 3)}),
              (std::vector<int32_t>{11, 12, 121}));
    EXPECT_TRUE(data.UpdateBestValue(&world));
    EXPECT_EQ(user.Read("qvscore.dat").size(), 78152u);
    EXPECT_FALSE(user.Exists("qvscore.dat.bad"));
}

TEST_F(Scores, ADamagedFileIsReadAsFarAsItGoesAndKeptBesideTheNewOne) {
    ScoreData written;
    written.Clear();
    written.solo.records[0][0][0] = 4242;
    written.quartets.records[0][0][0] = 77;
    written.unlockFlags[3] = 1;   // no character: cleared on loading
    written.unlockFlags[50] = 1;  // kept as read
    std::vector<uint8_t> full = written.ToFileBytes();
    std::vector<uint8_t> bad = full;
    bad[28416] = 99;  // a best's member id out of range
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        int32_t soloBest, quartetBest;
        std::vector<int32_t> unlocked;
        bool damaged;
    };
    const std::vector<uint8_t> longer = [&] {
        std::vector<uint8_t> bytes = full;
        bytes.resize(full.size() + 10, 0xEE);
        return bytes;
    }();
    const Case cases[] = {
        {"whole", full, 4242, 77, {11, 50}, false},
        {"short", std::vector<uint8_t>(full.begin(), full.begin() + 100), 4242, 0, {11}, true},
        {"long", longer, 4242, 77, {11, 50}, true},
        {"bad member", bad, 4242, 77, {11, 50}, true},
    };
    for (const Case& c : cases) {
        std::filesystem::remove("qvscore.dat.bad");
        user.folder.Write("qvscore.dat", c.bytes);
        EXPECT_TRUE(data.Load(&world)) << c.name;
        EXPECT_EQ(data.solo.records[0][0][0], c.soloBest) << c.name;
        EXPECT_EQ(data.quartets.records[0][0][0], c.quartetBest) << c.name;
        EXPECT_EQ(data.pairs.members[0][0][0], 63) << c.name;
        EXPECT_EQ(Unlocked(), c.unlocked) << c.name;
        EXPECT_EQ(user.Read("qvscore.dat").size(), c.bytes.size()) << c.name;  // untouched until the next save
        EXPECT_TRUE(data.SaveParty(2, 0, 2, 5, 6, 0, 0)) << c.name;
        EXPECT_EQ(user.Read("qvscore.dat").size(), 78152u) << c.name;
        EXPECT_EQ(user.Exists("qvscore.dat.bad"), c.damaged) << c.name;
        if (c.damaged) {
            EXPECT_EQ(user.Read("qvscore.dat.bad"), std::string(c.bytes.begin(), c.bytes.end())) << c.name;
        }
    }
}

// How often the text appears in the log.
size_t Count(const std::string& log, const std::string& text) {
    size_t count = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++count;
    return count;
}

TEST_F(Scores, EveryDamagedFileIsKeptUnderANameOfItsOwnAndTheLogSaysSo) {
    const std::string logPath = user.folder.Path() + "/log.html";
    ASSERT_TRUE(ZethLog::Open(logPath.c_str()));
    const char* names[] = {"qvscore.dat.bad", "qvscore.dat.bad1", "qvscore.dat.bad2"};
    user.folder.Write("qvscore.dat.bad1.old", "not in the way");
    for (const char* name : names) {
        const std::string damaged = std::string("damaged before ") + name;
        user.folder.Write("qvscore.dat", damaged);
        EXPECT_TRUE(data.Load(&world)) << name;
        EXPECT_TRUE(data.SaveParty(2, 0, 2, 5, 6, 0, 0)) << name;
        EXPECT_EQ(user.Read(name), damaged);
        EXPECT_EQ(user.Read("qvscore.dat").size(), 78152u) << name;
    }
    EXPECT_TRUE(data.Load(&world));  // the sound file just written
    EXPECT_TRUE(data.SaveParty(2, 0, 2, 5, 6, 0, 0));
    EXPECT_FALSE(user.Exists("qvscore.dat.bad3"));
    ZethLog::Close();

    const std::string log = testing_support::ReadLog(logPath);
    EXPECT_EQ(Count(log, "スコアファイルが壊れています [ qvscore.dat ]"), 3u);
    for (const char* name : names) {
        EXPECT_EQ(Count(log, "壊れたスコアファイルを [ "s + name + " ] として残しました"), 1u) << name;
    }
}

TEST_F(Scores, AHugeFileIsReadOnlyAsFarAsTheRecordGoesAndSetAside) {
    ScoreData written;
    written.Clear();
    written.solo.records[0][0][0] = 4242;
    user.folder.Write("qvscore.dat", written.ToFileBytes());
    const uintmax_t huge = 1900ull * 1024 * 1024;  // sparse: no disk space is used
    std::filesystem::resize_file("qvscore.dat", huge);
    EXPECT_TRUE(data.Load(&world));
    EXPECT_EQ(data.solo.records[0][0][0], 4242);
    EXPECT_TRUE(data.SaveParty(2, 0, 2, 5, 6, 0, 0));
    EXPECT_EQ(std::filesystem::file_size("qvscore.dat.bad"), huge);
    EXPECT_EQ(std::filesystem::file_size("qvscore.dat"), 78152u);
}

TEST_F(Scores, SomethingUnreadableInThePlaceOfTheFileIsSetAsideNotOverwritten) {
    user.folder.Write("qvscore.dat/inside", "a folder, not a file");
    EXPECT_FALSE(data.Load(&world));
    EXPECT_TRUE(data.SaveParty(2, 0, 2, 5, 6, 0, 0));
    EXPECT_EQ(user.Read("qvscore.dat.bad/inside"), "a folder, not a file");
    EXPECT_EQ(user.Read("qvscore.dat").size(), 78152u);
}

// A game over saves twice in a row: failures back to back are said once, until a save succeeds.
TEST_F(Scores, AnUnwritableFileSaysSoOnceAndKeepsTheRecord) {
    const std::string said = "ハイスコアとパーティー編成を\n書き込めませんでした";
    user.folder.Write("qvscore.dat.tmp/inside", "");  // the temporary file cannot be made
    EXPECT_FALSE(data.SaveParty(3, 1, 21, 1, 2, 3, 0));
    EXPECT_FALSE(data.SaveParty(3, 1, 22, 1, 2, 3, 0));
    EXPECT_EQ(platform.messageBox.Texts(), std::vector<std::string>{said});
    EXPECT_EQ(data.GetPartyValue(3, 1), 22);
    EXPECT_FALSE(user.Exists("qvscore.dat"));
    std::filesystem::remove_all("qvscore.dat.tmp");
    EXPECT_TRUE(data.SaveParty(3, 1, 23, 1, 2, 3, 0));
    user.folder.Write("qvscore.dat.tmp/inside", "");
    EXPECT_FALSE(data.SaveParty(3, 1, 24, 1, 2, 3, 0));
    EXPECT_EQ(platform.messageBox.Texts(), (std::vector<std::string>{said, said}));
}

// A start that cannot make the missing score file says once in the log why, by the cause it met;
// an empty folder left at the temporary name is no cause: it is removed and the file is made.
TEST_F(Scores, AStartThatCannotMakeTheFileSaysTheCauseItMet) {
    const std::string logPath = user.folder.Path() + "/log.html";
    struct Case {
        const char* name;
        std::function<void()> fault;
        const char* said;  // null: the file is made
    };
    rlimit files{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &files), 0);
    // The first case also runs every call of a load once before no descriptor is left: the
    // sanitizers' first look at an object's type opens a pipe.
    const Case cases[] = {
        {"empty folder at the temporary name", [&] { std::filesystem::create_directory("qvscore.dat.tmp"); }, nullptr},
        {"no file descriptor left", [&] { testing_support::LeaveNoFreeDescriptor(&files); },
         "開いているファイルが多すぎるため、スコアを保存できません [ qvscore.dat ]"},
        {"folder with a file at the temporary name", [&] { user.folder.Write("qvscore.dat.tmp/inside", "kept"); },
         "一時ファイルの名前にファイルでないものがあるため、スコアを保存できません [ qvscore.dat.tmp ]"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove("qvscore.dat");
        ASSERT_TRUE(ZethLog::Open(logPath.c_str()));
        c.fault();
        data.Load(&world);
        setrlimit(RLIMIT_NOFILE, &files);
        ZethLog::Close();
        const std::string log = testing_support::ReadLog(logPath);
        EXPECT_EQ(Count(log, "フォルダに書き込めない"), 0u) << c.name;
        if (c.said == nullptr) {
            EXPECT_EQ(user.Read("qvscore.dat"), "") << c.name;
            EXPECT_FALSE(user.Exists("qvscore.dat.tmp")) << c.name;
        } else {
            EXPECT_FALSE(user.Exists("qvscore.dat")) << c.name;
            EXPECT_EQ(Count(log, c.said), 1u) << c.name << "\n" << log;
        }
    }
    EXPECT_EQ(user.Read("qvscore.dat.tmp/inside"), "kept");  // left as it was, and named
}

TEST_F(Scores, RegisterUnlocksCharactersAndRaisesTheArrestCounter) {
    EXPECT_EQ(data.Register(150), 30000);  // character 12 is locked: 12, 13 and 14 come first
    EXPECT_EQ(Unlocked(), (std::vector<int32_t>{11, 12, 13, 14}));

    data.progressTotal = 190;
    ZethRandom::Seed(0);
    EXPECT_EQ(data.Register(220), 20001);  // earned 2, kUp 1
    std::vector<int32_t> first = Unlocked();
    EXPECT_EQ(first.size(), 6u);
    data.Clear();
    data.unlockFlags[12] = data.unlockFlags[13] = data.unlockFlags[14] = 1;
    data.progressTotal = 190;
    ZethRandom::Seed(0);
    data.Register(220);
    EXPECT_EQ(Unlocked(), first);  // the same seed unlocks the same characters

    data.arrestCount = 510;
    data.progressTotal = 0;
    int32_t result = data.Register(1500);  // kUp 5, cut to 2 at the cap
    EXPECT_EQ(result % 10000, 2);
    EXPECT_EQ(data.arrestCount, 512);

    for (int32_t id : {0, 1, 9, 21, 25, 28}) data.unlockFlags[id] = 1;
    data.arrestCount = 0;
    data.progressTotal = 0;
    EXPECT_EQ(data.Register(600), 2);  // nothing left to unlock
    EXPECT_EQ(data.unlockedCount, 10);
}

TEST_F(Scores, BestsAreKeptPerPartyAndModeAndTheFileIsRewritten) {
    world.SetPlayerCount(2);
    world.partyMembers[0] = 8;
    world.partyMembers[1] = 30;
    world.gameMode = 3;
    world.ArrestLevel = 4;
    data.UpdateBest(&world, 500);
    int32_t entry = PartyGrade(&world, 2, 8, 30, 0, 0);
    EXPECT_EQ(data.GetRankingEntry(entry, 0, 3, 2), 500);
    EXPECT_EQ(data.GetRankingEntry(entry, 1, 3, 2), 4);
    EXPECT_EQ(data.GetRankingMember(entry, 1, 2, 3), 30);
    std::filesystem::remove("qvscore.dat");
    world.ArrestLevel = 5;
    data.UpdateBest(&world, 500);  // not greater: unchanged, but written
    EXPECT_EQ(data.GetRankingEntry(entry, 1, 3, 2), 4);
    EXPECT_TRUE(user.Exists("qvscore.dat"));
    std::filesystem::remove("qvscore.dat");
    world.ArrestLevel = 16;
    data.UpdateBest(&world, 900);  // no records from level 16 on
    EXPECT_FALSE(user.Exists("qvscore.dat"));
    EXPECT_EQ(data.GetRankingEntry(entry, 0, 3, 2), 500);
    world.ArrestLevel = 6;
    data.UpdateBestValue(&world);
    EXPECT_EQ(data.GetRankingExtra(entry, 3, 2), 6);
    world.ArrestLevel = 2;
    data.UpdateBestValue(&world);  // a lower level keeps the highest reached
    EXPECT_EQ(data.GetRankingExtra(entry, 3, 2), 6);
    EXPECT_EQ(data.GetRankingEntry(entry, 0, 3, 7), 7);  // other party sizes answer the size
    EXPECT_EQ(data.GetRankingMember(entry, 0, 1, 3), 63);

    EXPECT_TRUE(data.SaveParty(2, 1, 2, 40, 41, 0, 0));
    EXPECT_EQ(data.GetPartyMember(2, 9, 1), 40);  // slot 9 is slot 1
    EXPECT_EQ(data.GetPartyMember(2, 1, 3), 40);  // member 3 of 2 is member 1
    EXPECT_TRUE(data.IsPartyDistinct(2, 1));
    EXPECT_FALSE(data.SaveParty(1, 0, 1, 5, 0, 0, 0));
    EXPECT_EQ(data.GetPartyMember(1, 0, 1), 0);
    EXPECT_FALSE(data.IsPartyDistinct(4, 0));  // four zeros
}

TEST_F(Scores, TheConfigurationFileSetsTheSettings) {
    user.folder.Write("qvconfig.dat", "3,2,1,0,1,1,50,80\r\n");
    data.Load(&world);
    EXPECT_EQ(std::vector<int32_t>(data.joystickButtons, data.joystickButtons + 4), (std::vector<int32_t>{3, 2, 1, 0}));
    EXPECT_EQ(data.ghostDisplay, 1);
    EXPECT_TRUE(data.fullScreenAtStart);
    EXPECT_EQ(data.soundEffectVolume, 50);
    EXPECT_EQ(data.musicVolume, 80);
    EXPECT_EQ(world.bgm.volume, 80.0f);
}

TEST_F(Scores, AConfigurationFileLongerThanAnyRealOneIsNotUsedAndTheLogSaysSo) {
    const std::string logPath = user.folder.Path() + "/log.html";
    const std::string settings = "3,2,1,0,1,1,50,80\n";
    user.folder.Write("qvconfig.dat", settings + std::string(4096 - settings.size(), '\n'));
    data.Load(&world);
    EXPECT_EQ(data.soundEffectVolume, 50);  // 4,096 bytes are still a configuration file

    user.folder.Write("qvconfig.dat", settings + std::string(4097 - settings.size(), '\n'));
    ASSERT_TRUE(ZethLog::Open(logPath.c_str()));
    data.Load(&world);
    ZethLog::Close();
    EXPECT_EQ(data.soundEffectVolume, 100);
    EXPECT_EQ(data.joystickButtons[0], 0);
    EXPECT_EQ(Count(testing_support::ReadLog(logPath), "設定ファイルが壊れているため使いません [ qvconfig.dat ]"), 1u);
}

}  // namespace
