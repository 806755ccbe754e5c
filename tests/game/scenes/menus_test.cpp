// The title, result and stage-clear scenes and the attract demo with its texts.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "framework/files/file_system.h"
#include "game/enemies/demo_texts.h"
#include "game/scenes/demo.h"
#include "game/scenes/menu_coop.h"
#include "game/scenes/menu_extermination.h"
#include "game/scenes/menu_ranking.h"
#include "game/scenes/menu_replay.h"
#include "game/scenes/menu_result.h"
#include "game/scenes/menu_stage_clear.h"
#include "game/scenes/menu_title.h"
#include "game/stage/stage_support.h"
#include "game/stage/stage_tables.h"
#include "game/world/object_controller.h"
#include "game/world/text.h"
#include "game/world/type_table.h"
#include "game/world/user_folder.h"

namespace {

class Menus : public enemies_test::EnemyWorld {
protected:
    Menus() { ZethFile::SetRootPath(0, stage_test::DataFolder().c_str(), ""); }
    ~Menus() override {
        world.ClearAll();
        world.SweepObjects();
        ZethFile::SetRootPath(0, "", "");
    }
    template <typename T>
    T* MakeScene(int32_t id) {
        return dynamic_cast<T*>(world.CreateObject(id, 128, 0, 0, 0, 0, 0, nullptr));
    }
    void Step(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            world.PrepareFrame();
            world.RunAll();
            world.MoveAll();
            world.SweepObjects();
        }
    }
    // Presses a button for one frame (after the scene's first two frames).
    void Press(int32_t button) {
        world.input.game[button] = 1;
        Step();
        world.input.game[button] = 0;
    }
    void Unlock(int32_t count) {
        for (int i = 0; i < count; ++i) world.scoreData.unlockFlags[11 + i] = 1;
        world.scoreData.unlockedCount = count;
    }
    world_test::UserFolder user;
};

TEST(TitleRows, TheCursorSkipsTheSealRowAndTheLockedExterminationRow) {
    struct Case {
        int32_t arrestCount, step;
        std::vector<int32_t> path;  // rows visited from row 0
    };
    const Case cases[] = {
        {15, 1, {2, 4, 5, 0}},
        {15, -1, {5, 4, 2, 0}},
        {16, 1, {2, 3, 4, 5, 0}},
        {16, -1, {5, 4, 3, 2, 0}},
    };
    for (const Case& c : cases) {
        std::vector<int32_t> path;
        int32_t row = 0;
        do {
            row = SC_Menu_Title::StepRow(row, c.step, c.arrestCount);
            path.push_back(row);
        } while (row != 0 && path.size() < 8);
        EXPECT_EQ(path, c.path) << c.arrestCount << " " << c.step;
    }
}

TEST_F(Menus, TheLevelWrapsWithinTheArrestCountAndStaysWithNone) {
    world.scoreData.arrestCount = 3;
    std::vector<int32_t> levels;
    for (int i = 0; i < 5; ++i) {
        world.RaiseRank(1);
        levels.push_back(world.ArrestLevel);
    }
    EXPECT_EQ(levels, (std::vector<int32_t>{1, 2, 3, 0, 1}));
    world.ArrestLevel = 0;
    world.LowerRank(1);
    EXPECT_EQ(world.ArrestLevel, 3);
    world.LowerRank(9);  // more than a whole turn
    EXPECT_EQ(world.ArrestLevel, 2);
    world.RaiseRank(0x7FFFFFFF);  // no overflow on the largest step
    EXPECT_EQ(world.ArrestLevel, (2 + 0x7FFFFFFF % 4) % 4);
    world.scoreData.arrestCount = 0;
    world.ArrestLevel = 0;
    world.RaiseRank(1);
    world.LowerRank(1);
    EXPECT_EQ(world.ArrestLevel, 0);
}

TEST_F(Menus, TheTitleOpensWithAnUnlockedPartyAndAnEarnedLevel) {
    Unlock(4);
    world.scoreData.arrestCount = 2;
    world.ArrestLevel = 5;  // left by a replay of a higher level
    const int32_t party[4] = {11, 12, 40, 14};  // 40 is locked
    std::copy(party, party + 4, world.partyMembers);
    world.lastTitleRow = 4;
    auto* title = MakeScene<SC_Menu_Title>(340);
    ASSERT_NE(title, nullptr);
    Step();
    EXPECT_EQ(world.ArrestLevel, 0);
    EXPECT_EQ(std::vector<int32_t>(world.partyMembers, world.partyMembers + 4), (std::vector<int32_t>{11, 12, 13, 14}));
    EXPECT_EQ(title->cursorRow, 4);
}

// A playback runs at its replay's level; the title opens again at the level it had before,
// whether the playback ends at its result or by the key back to the title.
TEST_F(Menus, APlaybackLeavesTheTitlesLevelAsItFoundIt) {
    Unlock(4);
    StandIn(337);
    world.scoreData.arrestCount = 9;
    ReplayHeader header;
    header.level = 7;
    user.folder.Write("replay/lastreplay.qvrep", EncodeReplay(header, {{0, 9}}));
    for (bool atResult : {false, true}) {
        world.ArrestLevel = 3;
        world.StartGame(0, 0, 0, 0, 0, 1, kLastReplaySlot);
        EXPECT_EQ(world.ArrestLevel, 7);
        if (atResult) {
            world.ClearScene();
            MakeScene<SC_Menu_Result>(341)->OnMessage(Msg(2, 1));
            Step(31);
            Press(4);
            Step(29);
            ASSERT_EQ(CountOf(world.others, type_id::SC_Menu_Title), 1);
        } else {
            world.ReturnToTitle();
        }
        Step();
        EXPECT_EQ(world.ArrestLevel, 3) << (atResult ? "after the result" : "after the key");
        world.ClearAll();
        world.SweepObjects();
    }
}

TEST_F(Menus, IdleFramesStartTheDemoAndAHeldButtonKeepsTheTitle) {
    for (int32_t unlocked : {3, 4}) {
        Unlock(unlocked);
        world.ClearAll();
        world.SweepObjects();
        MakeScene<SC_Menu_Title>(340);
        Step(300);
        world.input.raw[7] = 5;  // the pause button, which only the raw counters see
        Step(1);
        world.input.raw[7] = 0;
        Step(599);
        EXPECT_EQ(CountOf(world.others, type_id::SC_Demo), 0) << unlocked;
        Step(1);
        EXPECT_EQ(CountOf(world.others, type_id::SC_Menu_Title), 0) << unlocked;
        EXPECT_EQ(CountOf(world.others, type_id::SC_Demo), 1) << unlocked;
    }
}

TEST_F(Menus, ThePromptStartsAOneCharacterGameAfterTheDelay) {
    Unlock(3);
    world.gameMode = 5;
    world.frame = 77;
    MakeScene<SC_Menu_Title>(340);
    StandIn(337);
    Step(2);
    Press(4);
    Step(28);
    EXPECT_FALSE(world.gameRunning);
    Step(1);
    EXPECT_TRUE(world.gameRunning);
    EXPECT_EQ(CountOf(world.others, type_id::SC_Menu_Title), 0);
    EXPECT_EQ(world.gameMode, 0);
    EXPECT_EQ(world.playerCount, 1);
    EXPECT_EQ(world.partyMembers[0], 11);
    EXPECT_EQ(world.frame, 0);  // a fresh start, so that the recording repeats
}

TEST_F(Menus, TheResultKeepsOfferingTheSaveWhenTheCopyFails) {
    auto* result = MakeScene<SC_Menu_Result>(341);
    ASSERT_NE(result, nullptr);
    Step(2);
    ASSERT_EQ(result->freeSlot, 0);
    Press(6);  // no last replay to copy
    EXPECT_EQ(result->saveState, SC_Menu_Result::kCanSave);
    EXPECT_FALSE(user.Exists("replay/qvreplay00.qvrep"));
}

TEST_F(Menus, TheResultIgnoresReturnUntilAge31AndAPlaybackOffersNoSave) {
    auto* result = MakeScene<SC_Menu_Result>(341);
    result->OnMessage(Msg(2, 1));
    Step(2);
    Press(6);
    EXPECT_EQ(result->saveState, SC_Menu_Result::kNotOffered);
    Step(25);
    Press(4);  // age 28
    EXPECT_EQ(result->decideCount, 0);
    Step(2);
    Press(4);  // age 31
    EXPECT_EQ(result->decideCount, 2);
    Step(28);
    EXPECT_EQ(CountOf(world.others, type_id::SC_Menu_Title), 0);
    Step(1);
    EXPECT_EQ(CountOf(world.others, type_id::SC_Menu_Result), 0);
    EXPECT_EQ(CountOf(world.others, type_id::SC_Menu_Title), 1);
    EXPECT_EQ(SC_Menu_Result::FileNameLine(7), L"QVREPLAY 7 .QVREP");
    EXPECT_EQ(SC_Menu_Result::FileNameLine(-2147483647 - 1), L"QVREPLAY -2147483648");  // cut at 20
}

// What stands in a slot's place but is no replay (a link to a device, a folder, a named pipe, a
// file too short for a header and run count, one whose length is not what its run count says, or
// one of a level no game starts at: below 0 or above the highest arrest count, 512) is listed and
// chosen as an empty slot, though never taken as free to save in; a replay is listed.
TEST_F(Menus, TheReplayListTakesASlotThatIsNoReplayForAnEmptyOne) {
    namespace fs = std::filesystem;
    const fs::path replays = fs::path(user.folder.Path()) / "replay";
    fs::create_directories(replays / "qvreplay04.qvrep");
    fs::create_symlink("/dev/zero", replays / "qvreplay03.qvrep");
    ASSERT_EQ(mkfifo((replays / "qvreplay05.qvrep").c_str(), 0644), 0);
    const std::vector<uint8_t> replay = EncodeReplay(ReplayHeader{}, {{1, 9}, {0, 4}});
    auto atLevel = [](int32_t level) {
        ReplayHeader header;
        header.level = level;
        const std::vector<uint8_t> bytes = EncodeReplay(header, {{1, 9}});
        return std::string(bytes.begin(), bytes.end());
    };
    std::string random(64, '\0');
    for (size_t i = 0; i < random.size(); ++i) random[i] = static_cast<char>(i * 167 + 13);
    struct Slot {
        int32_t slot;
        std::string bytes;
        bool listed;
    };
    const Slot files[] = {
        {6, "", false},
        {7, "short file", false},
        {8, random, false},
        {9, std::string(40, '\0'), false},                                          // no run
        {10, std::string(replay.begin(), replay.end() - 1), false},                  // one byte short
        {11, std::string(replay.begin(), replay.end()) + "x", false},                // one byte over
        {12, std::string(replay.begin(), replay.end()), true},
        {13, atLevel(0), true},
        {14, atLevel(512), true},
        {15, atLevel(-1), false},
        {16, atLevel(513), false},
        {17, atLevel(INT32_MIN), false},
        {18, atLevel(INT32_MAX), false},
    };
    for (const Slot& f : files) {
        char name[32];
        std::snprintf(name, sizeof name, "qvreplay%02d.qvrep", static_cast<int>(f.slot));
        std::ofstream(replays / name, std::ios::binary) << f.bytes;
    }
    // The list scans the slots into the game's own controller, so it runs there.
    ObjectController& game = worldController;
    auto* list = dynamic_cast<SC_Menu_Replay*>(game.CreateObject(type_id::SC_Menu_Replay, 128, 0, 0, 0, 0, 0, nullptr));
    ASSERT_NE(list, nullptr);
    auto frame = [&](int32_t button) {
        if (button >= 0) game.input.game[button] = 1;
        list->Run(&game);
        if (button >= 0) game.input.game[button] = 0;
    };
    frame(-1);
    frame(-1);
    for (int32_t slot : {3, 4, 5}) {
        EXPECT_NE(game.replay.slotExists[slot], 0) << slot;  // taken: never a free slot to save in
        EXPECT_FALSE(list->slotRead[slot]) << slot;
    }
    for (const Slot& f : files) {
        EXPECT_NE(game.replay.slotExists[f.slot], 0) << f.slot;
        EXPECT_EQ(list->slotRead[f.slot], f.listed) << f.slot;
    }
    list->cursor = 3;
    frame(4);
    EXPECT_EQ(list->decideCount, 0);
    list->cursor = 8;
    frame(4);
    EXPECT_EQ(list->decideCount, 0);
    list->cursor = 12;
    frame(4);
    EXPECT_GT(list->decideCount, 0);
    game.ClearAll();
    game.SweepObjects();
}

TEST_F(Menus, TheStageClearGlidesThePartyHomeAndHandsOverTheCarriedValues) {
    party->x = 8;
    party->y = 20;
    auto* clear = MakeScene<SC_Menu_StageClear>(344);
    clear->SetScore(4321);
    clear->angle = 7;
    clear->power = 2.9f;
    clear->invincible = 5;
    clear->SetInactive(99);
    StandIn(337);
    Step(60);
    EXPECT_NE(party->x, 128.0f);
    Step(1);
    EXPECT_EQ(party->x, 128.0f);
    EXPECT_EQ(party->y, 180.0f);
    Step(59);
    ASSERT_EQ(CountOf(world.others, type_id::Script), 0);
    Step(1);
    Object* next = world.currentScene;
    ASSERT_NE(next, nullptr);
    auto* probe = dynamic_cast<world_test::Probe*>(next);
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->score, 4321);
    ASSERT_EQ(probe->messages.size(), 4u);
    const int32_t codes[4][2] = {{17, 7}, {11, 2}, {22, 5}, {23, 99}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(probe->messages[i].Code(), codes[i][0]);
        EXPECT_EQ(probe->messages[i].Int(0), codes[i][1]);
    }
    EXPECT_EQ(CountOf(world.others, type_id::SC_Menu_StageClear), 0);
}

TEST_F(Menus, TheDemoRunsItsWholeTimelineStartingEveryLyricLine) {
    world.scoreData.arrestCount = 16;
    auto* demo = MakeScene<SC_Demo>(346);
    ASSERT_NE(demo, nullptr);
    int32_t frames = 0;
    int32_t maxLyric = -1;
    while (CountOf(world.others, type_id::SC_Demo) == 1 && frames < 20000) {
        Step();
        ++frames;
        for (Object* o : world.others) {
            if (auto* words = dynamic_cast<EF_Demo_Words*>(o)) maxLyric = std::max(maxLyric, words->angle);
        }
        for (int i = 0; i < kDemoDancers && CountOf(world.others, type_id::SC_Demo) == 1; ++i) {
            if (demo->pose[i] < kDemoHiddenPose) {
                ASSERT_GE(demo->dancerX[i], 24.0f) << frames;
                ASSERT_LE(demo->dancerX[i], 232.0f) << frames;
                ASSERT_GE(demo->dancerY[i], 32.0f) << frames;
                ASSERT_LE(demo->dancerY[i], 208.0f) << frames;
            }
        }
    }
    EXPECT_EQ(frames, 18100 + 1);  // the frame at bar 58, frame 180 ends it
    EXPECT_EQ(maxLyric, 64);
    EXPECT_EQ(CountOf(world.others, type_id::SC_Menu_Title), 1);
}

TEST_F(Menus, TheDemoTablesGiveTheirPicturesFirstLineOnTop) {
    for (const char* name : {"demo1.csv", "demo2.csv", "demo3.csv"}) {
        uint8_t values[256];
        ASSERT_TRUE(LoadTableFile(name, kMapFieldLimit, values, 256, 256)) << name;
    }
    auto* demo = MakeScene<SC_Demo>(346);
    demo->LoadDemoScript();
    uint8_t first[256];
    LoadTableFile("demo1.csv", kMapFieldLimit, first, 256, 256);
    EXPECT_EQ(demo->tileMaps[0][15][0], first[0]);
    EXPECT_EQ(demo->tileMaps[0][0][15], first[255]);
    EXPECT_TRUE(platform.messageBox.shown.empty());
}

TEST_F(Menus, AButtonOrThePauseButtonEndsTheDemo) {
    for (int32_t button : {4, 7}) {
        world.ClearAll();
        world.SweepObjects();
        MakeScene<SC_Demo>(346);
        Step(10);
        (button == 7 ? world.input.raw : world.input.game)[button] = 1;
        Step();
        (button == 7 ? world.input.raw : world.input.game)[button] = 0;
        EXPECT_EQ(CountOf(world.others, type_id::SC_Demo), 0) << button;
        EXPECT_EQ(CountOf(world.others, type_id::SC_Menu_Title), 1) << button;
    }
}

TEST(DemoTexts, EveryLyricLineFitsTheScreenAndTheFont) {
    for (int32_t n = 0; n < kDemoLyricLines; ++n) {
        const std::wstring line = DemoLyricLine(n);
        EXPECT_LE(line.size(), n % 16 >= 7 ? 16u : 30u) << n;
        for (wchar_t c : line) {
            if (c == L' ') continue;
            EXPECT_NE(FontCells(c).cell, kUnknownGlyphCell) << n << " " << int(c);
            EXPECT_FALSE(c >= L'a' && c <= L'z') << n;
        }
    }
    EXPECT_EQ(DemoLyricLine(-1), nullptr);
    EXPECT_EQ(DemoLyricLine(64), nullptr);
    EXPECT_EQ(DemoMessageLine(6), nullptr);
    EXPECT_EQ(std::wstring(DemoMessageLine(4)), L"** ***** *******           ******* ******");
}

TEST_F(Menus, ALyricLineOutsideTheTableIsEmptyAndLivesByItsGroup) {
    struct Case {
        int32_t n;
        int32_t life;
        bool empty;
    };
    for (const Case& c : {Case{70, 350, true}, Case{-1, 190, true}, Case{64, 350, true}, Case{7, 190, false}}) {
        auto* words = dynamic_cast<EF_Demo_Words*>(Make(type_id::EF_Demo_Words, 100, 100));
        ASSERT_NE(words, nullptr);
        words->angle = c.n;
        Step(c.life);
        EXPECT_EQ(words->IsAlive(), true) << c.n;
        EXPECT_EQ(words->text[0] == L'\0', c.empty) << c.n;
        EXPECT_EQ(words->text[kDemoLineChars], L'\0');
        Step(1);
        EXPECT_EQ(CountOf(world.others, type_id::EF_Demo_Words), 0) << c.n;
    }
}

}  // namespace

namespace {

TEST(ReplayCursor, MovesThroughTheLastReplayAndWrapsByTens) {
    struct Case {
        int32_t from, button, to;
    };
    const Case cases[] = {
        {-1, 3, 10}, {-1, 2, 90}, {9, 2, -1}, {-1, 0, 99}, {0, 0, -1}, {99, 1, 0},
        {95, 3, 5},  {5, 2, 95},  {-1, 1, 0}, {42, 4, 42},
    };
    for (const Case& c : cases) EXPECT_EQ(SC_Menu_Replay::MoveCursor(c.from, c.button), c.to) << c.from << " " << c.button;
}

// Every column sorts its own way, each from the same rows: 0 by member 1 ascending; 1 best score,
// 2 the best run's level, 3 the highest level, 4 the table index, all descending; any other
// column as 1. Equal values keep their order.
TEST(RankingOrder, SortsStablyByTheChosenColumn) {
    // members, table index, best score, its level, highest level
    const std::list<RankingRow> start = {
        {{5, 12, 13, 14}, 4, 300, 2, 4}, {{3, 12, 13, 14}, 1, 500, 2, -1},
        {{9, 12, 13, 14}, 3, 300, 7, 4}, {{1, 12, 13, 14}, 2, 500, 0, 9},
    };
    const struct {
        int32_t column;
        std::vector<int32_t> firsts;
    } cases[] = {
        {0, {1, 3, 5, 9}}, {1, {3, 1, 5, 9}}, {2, {9, 5, 3, 1}}, {3, {1, 5, 9, 3}},
        {4, {5, 9, 1, 3}}, {5, {3, 1, 5, 9}}, {-1, {3, 1, 5, 9}},
    };
    for (const auto& c : cases) {
        std::list<RankingRow> rows = start;
        rankingSortColumn = c.column;
        rows.sort(RankingLess);
        std::vector<int32_t> firsts;
        for (const RankingRow& r : rows) firsts.push_back(r.members[0]);
        EXPECT_EQ(firsts, c.firsts) << "column " << c.column;
    }
}

class RankingMenu : public Menus {};

TEST_F(RankingMenu, GhostModesNeverShowSoloAndSubModesCycleFromArrestCount16) {
    world.scoreData.arrestCount = 16;
    auto* r = MakeScene<SC_Menu_Ranking>(342);
    Step(2);
    auto sizesAfter = [&](int32_t button, int presses) {
        std::vector<int32_t> sizes;
        for (int i = 0; i < presses; ++i) {
            Press(button);
            sizes.push_back(r->partySize);
        }
        return sizes;
    };
    EXPECT_EQ(sizesAfter(3, 4), (std::vector<int32_t>{2, 3, 4, 1}));  // cooperative: past 4 to SOLO
    Press(1);  // to the family row
    Press(3);  // ghost: SOLO becomes PAIR
    EXPECT_EQ(r->rankingMode, 16);
    EXPECT_EQ(r->partySize, 2);
    Press(0);
    EXPECT_EQ(sizesAfter(2, 4), (std::vector<int32_t>{4, 3, 2, 4}));
    EXPECT_EQ(sizesAfter(3, 3), (std::vector<int32_t>{2, 3, 4}));  // ghost: past 4 to PAIR
    Press(1);
    Press(1);  // the sub-mode row
    std::vector<int32_t> modes;
    for (int i = 0; i < 7; ++i) {
        Press(3);
        modes.push_back(r->rankingMode);
    }
    EXPECT_EQ(modes, (std::vector<int32_t>{17, 18, 19, 26, 27, 16, 17}));
    Press(2);
    Press(2);
    EXPECT_EQ(r->rankingMode, 27);
}

// Right and left step the sort column: through 0-3 in the solo table (which opens on 0), through
// 1-4 in a party's (which opens on 4), round at both ends.
TEST_F(RankingMenu, RightAndLeftStepTheSortColumnRoundEachTable) {
    for (const int32_t size : {1, 2}) {
        SCOPED_TRACE(size == 1 ? "solo" : "pair");
        world.ClearAll();
        world.SweepObjects();
        auto* r = MakeScene<SC_Menu_Ranking>(342);
        Step(2);
        if (size == 2) Press(3);
        r->cursorRow = 3;
        Press(4);
        Step(1);
        ASSERT_EQ(r->page, size);
        std::vector<int32_t> columns = {rankingSortColumn};
        for (int i = 0; i < 5; ++i) {
            Press(3);
            columns.push_back(rankingSortColumn);
        }
        for (int i = 0; i < 5; ++i) {
            Press(2);
            columns.push_back(rankingSortColumn);
        }
        const std::vector<int32_t> solo = {0, 1, 2, 3, 0, 1, 0, 3, 2, 1, 0};
        const std::vector<int32_t> party = {4, 1, 2, 3, 4, 1, 4, 3, 2, 1, 4};
        EXPECT_EQ(columns, size == 1 ? solo : party);
    }
}

TEST_F(RankingMenu, AQuartetTableScrollsToItsLastRows) {
    auto* r = MakeScene<SC_Menu_Ranking>(342);
    Step(2);
    Press(2);  // left from SOLO: QUARTETTO
    r->cursorRow = 3;
    Press(4);
    Step(1);
    ASSERT_EQ(r->rows.size(), 35u);
    for (int i = 0; i < 40; ++i) Press(0);
    EXPECT_EQ(r->scroll, 23);  // rows 24 to 35 shown
    Press(5);
    EXPECT_EQ(r->page, 0);
    EXPECT_TRUE(r->rows.empty());
}

}  // namespace

namespace {

class CoopMenu : public Menus {
protected:
    SC_Menu_Coop* Open(int32_t mode, int32_t arrestCount, int32_t players) {
        world.gameMode = mode;
        world.scoreData.arrestCount = arrestCount;
        world.playerCount = players;
        const int32_t party[4] = {11, 12, 13, 14}, formations[4] = {1, 11, 12, 121};
        std::copy(party, party + 4, world.partyMembers);
        std::copy(formations, formations + 4, world.formations);
        for (int id = 0; id < 20; ++id) world.scoreData.unlockFlags[id] = 1;
        world.scoreData.unlockedCount = 20;
        auto* menu = MakeScene<SC_Menu_Coop>(339);
        Step(2);
        return menu;
    }
    std::vector<int32_t> Counts(int32_t button, int presses) {
        std::vector<int32_t> v;
        for (int i = 0; i < presses; ++i) {
            Press(button);
            v.push_back(world.playerCount);
        }
        return v;
    }
};

TEST_F(CoopMenu, PlayerCountsFollowTheFamilyAndTheArrestCount) {
    struct Case {
        int32_t mode, arrestCount, opened, button;
        std::vector<int32_t> counts;
    };
    const Case cases[] = {
        {0, 6, 1, 3, {2, 3, 1, 2}},   {0, 6, 1, 2, {3, 2, 1, 3}},  {0, 0, 1, 2, {2, 1, 2}},
        {0, 9, 4, 3, {1, 2, 3, 4}},   {16, 3, 4, 3, {4, 4}},       {16, 3, 4, 2, {4, 4}},
        {16, 6, 4, 3, {3, 4, 3}},     {16, 6, 4, 2, {3, 4, 3}},    {16, 9, 4, 3, {2, 3, 4, 2}},
        // Each side of the arrest counts that open a count: 4 and 5, 8 and 9.
        {0, 4, 1, 3, {2, 1}},         {0, 5, 1, 3, {2, 3, 1}},     {0, 8, 1, 3, {2, 3, 1}},
        {16, 4, 4, 3, {4}},           {16, 5, 4, 3, {3, 4, 3}},    {16, 8, 4, 3, {3, 4, 3}},
    };
    for (const Case& c : cases) {
        world.ClearAll();
        world.SweepObjects();
        Open(c.mode, c.arrestCount, c.mode >= 16 ? 1 : 4);  // a count the mode does not allow is put right
        EXPECT_EQ(world.playerCount, c.opened) << c.mode << " " << c.arrestCount;
        EXPECT_EQ(Counts(c.button, static_cast<int>(c.counts.size())), c.counts) << c.mode << " " << c.arrestCount;
    }
}

TEST(Formations, StepThroughEveryCodeOfTheirCountAndBack) {
    const std::vector<int32_t> four = {1111, 112, 121, 211, 22, 13, 31, 4, 1111};
    int32_t code = 1111;
    for (size_t i = 1; i < four.size(); ++i) {
        code = StepFormation(4, code, 1);
        EXPECT_EQ(code, four[i]);
    }
    EXPECT_EQ(StepFormation(4, 1111, -1), 4);
    EXPECT_EQ(StepFormation(3, 3, 1), 111);
    EXPECT_EQ(StepFormation(2, 2, 1), 11);
    EXPECT_EQ(StepFormation(1, 1, 1), 1);
    EXPECT_EQ(StepFormation(3, 1111, 1), 111);  // a code of another count starts the cycle
    EXPECT_FALSE(IsFormationOf(3, 121));
    EXPECT_FALSE(IsFormationOf(5, 1));
}

TEST_F(CoopMenu, ASeatTakingAnotherSeatsCharacterSwapsTheTwo) {
    auto* menu = Open(0, 9, 2);
    menu->cursorRow = 4;  // seat 2 (Sayaka, 12)
    Press(4);
    ASSERT_EQ(menu->page, SC_Menu_Coop::kSeatPage);
    while (menu->selection != 11) Press(1);
    Step(1);
    Press(4);
    EXPECT_EQ(menu->members[0], 12);
    EXPECT_EQ(menu->members[1], 11);
    EXPECT_EQ(menu->preview, nullptr);
}

TEST_F(CoopMenu, TheRandomEntryNeverPicksALockedOrChosenCharacter) {
    auto* menu = Open(0, 9, 4);
    for (int id = 0; id < 64; ++id) world.scoreData.unlockFlags[id] = 0;
    for (int id : {11, 12, 13, 14, 30}) world.scoreData.unlockFlags[id] = 1;
    std::copy(world.scoreData.unlockFlags, world.scoreData.unlockFlags + 63, menu->available);
    for (int round = 0; round < 20; ++round) {
        menu->page = SC_Menu_Coop::kTeamPage;
        menu->chosenCount = 0;
        std::fill(menu->chosen, menu->chosen + 4, -1);
        for (int seat = 0; seat < 4; ++seat) {
            menu->selection = kRandomPick;
            Press(4);
        }
        ASSERT_EQ(menu->page, SC_Menu_Coop::kMainPage);
        std::vector<int32_t> party(menu->members, menu->members + 4);
        std::sort(party.begin(), party.end());
        EXPECT_EQ(std::unique(party.begin(), party.end()), party.end());
        for (int32_t id : party) EXPECT_NE(world.scoreData.unlockFlags[id], 0) << id;
    }
    menu->page = SC_Menu_Coop::kTeamPage;
    menu->chosenCount = 1;
    menu->chosen[0] = 30;
    menu->selection = 30;
    Press(4);  // already chosen: refused
    EXPECT_EQ(menu->chosenCount, 1);
}

TEST_F(CoopMenu, ASavedFormationLoadsOnlyWhenEveryMemberAndItsCodeFit) {
    auto* menu = Open(0, 9, 3);
    ScoreData& s = world.scoreData;
    s.SaveParty(3, 0, 21, 1, 2, 14, 0);   // fits
    s.SaveParty(3, 1, 21, 1, 40, 2, 0);   // 40 is locked
    s.SaveParty(3, 2, 1111, 1, 2, 3, 0);  // a code of four players
    s.SaveParty(3, 3, 12, 5, 5, 6, 0);    // two equal members
    menu->page = SC_Menu_Coop::kDataPage;
    for (int32_t slot : {1, 2, 3}) {
        menu->dataRow = 2 + slot;
        Press(4);
        EXPECT_EQ(std::vector<int32_t>(menu->members, menu->members + 4), (std::vector<int32_t>{11, 12, 13, 14})) << slot;
    }
    menu->dataRow = 2;
    Press(4);
    EXPECT_EQ(std::vector<int32_t>(menu->members, menu->members + 4), (std::vector<int32_t>{1, 2, 14, 11}));
    EXPECT_EQ(menu->formationValues[2], 21);
}

TEST_F(CoopMenu, ExterminationStepsAndRemembersTheMode) {
    struct Case {
        int32_t mode;
        bool ghost;
        int32_t subMode;
    };
    for (const Case& c : {Case{16, true, 1}, Case{13, false, 3}, Case{27, true, 11}}) {
        world.ClearAll();
        world.SweepObjects();
        world.gameMode = c.mode;
        auto* menu = MakeScene<SC_Menu_Extermination>(345);
        Step(1);
        EXPECT_EQ(menu->ghost, c.ghost) << c.mode;
        EXPECT_EQ(menu->subMode, c.subMode) << c.mode;
    }
    std::vector<int32_t> cycle;
    int32_t s = 1;
    for (int i = 0; i < 6; ++i) cycle.push_back(s = SC_Menu_Extermination::StepSubMode(s, 1));
    EXPECT_EQ(cycle, (std::vector<int32_t>{2, 3, 10, 11, 1, 2}));
    EXPECT_EQ(SC_Menu_Extermination::StepSubMode(1, -1), 11);
    EXPECT_EQ(SC_Menu_Extermination::StepSubMode(10, -1), 3);
}

}  // namespace
