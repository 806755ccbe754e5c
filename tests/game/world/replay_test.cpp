#include <gtest/gtest.h>

#include <filesystem>

#include "fake_pad.h"
#include "game/world/file_bytes.h"
#include "game/world/type_table.h"
#include "user_folder.h"
#include "world_support.h"

using namespace world_test;

namespace {

std::vector<uint8_t> Words(std::initializer_list<int32_t> values) {
    std::vector<uint8_t> bytes;
    for (int32_t v : values) AppendLittleEndian32(&bytes, v);
    return bytes;
}

std::string AsString(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::vector<int32_t> PlayBack(Replay& replay, int frames) {
    std::vector<int32_t> words;
    for (int i = 0; i < frames; ++i) words.push_back(replay.NextInput());
    return words;
}

class Replays : public WorldTest {
protected:
    Replays() {
        world.replay.Reset(&world);
        world.ArrestLevel = 7;
        world.SetPlayerCount(2);
        for (int i = 0; i < 4; ++i) world.partyMembers[i] = 20 + i;
        world.formations[1] = 11;
        world.gameMode = 17;
    }
    void Record(std::initializer_list<int32_t> words) {
        world.replay.BeginRecording();
        for (int32_t w : words) world.replay.Record(w);
    }

    UserFolder user;
};

TEST_F(Replays, ARecordedGameIsSavedAsRunsAndPlaysBackFrameExact) {
    Record({0, 0, 0, 5, 5, 0});
    world.replay.header.finalScore = 123456;  // the stage stores the score just before saving
    ASSERT_TRUE(world.replay.Save());
    EXPECT_EQ(user.Read("replay/lastreplay.qvrep"),
              AsString(Words({123456, 7, 2, 20, 21, 22, 23, 11, 17, 3, 0, 2, 5, 1, 0, 0})));
    EXPECT_TRUE(world.replay.runs.empty());

    world.gameMode = 0;
    world.replay.BeginPlayback(kLastReplaySlot);
    EXPECT_EQ(world.replay.mode, 1);
    EXPECT_EQ(world.gameMode, 17);
    EXPECT_EQ(world.replay.header.finalScore, 123456);
    EXPECT_EQ(PlayBack(world.replay, 10), (std::vector<int32_t>{0, 0, 0, 5, 5, 0, -1, -1, -1, -1}));
    EXPECT_EQ(world.replay.frame, 10);

    Record({0x7F});  // a game of one frame
    world.replay.Save();
    EXPECT_EQ(user.Read("replay/lastreplay.qvrep").substr(36), AsString(Words({1, 0x7F, 0})));
}

TEST_F(Replays, ReadingTrustsNeitherTheRunCountNorTheHeader) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        ReplayHeader header;
        std::vector<int32_t> words;
    };
    const ReplayHeader defaults;
    auto atLevel = [](int32_t level) { return Words({0, level, 1, 0, 0, 0, 0, 0, 0, 1, 3, 0}); };
    const Case cases[] = {
        {"runs cut short", Words({9, 1, 3, 1, 2, 3, 4, 121, 5, 5, 6, 1, 7, 0, 8}),
         {9, 1, 3, {1, 2, 3, 4}, 121, 5},
         {6, 6, 7, -1}},
        {"bad header values", Words({0, 2, 9, 64, -1, 63, 0, 0, 32, 1, 3, 0}), {0, 2, 1, {11, 11, 63, 0}, 0, 0}, {3, -1}},
        {"negative mode and count", Words({0, 0, 0, 0, 0, 0, 0, 0, -16, -5, 3, 0}), {0, 0, 1, {0, 0, 0, 0}, 0, 0}, {-1}},
        {"short header", Words({5, 6}), {5, 6, 1, {11, 11, 11, 11}, 0, 0}, {-1}},
        // A game starts at a level from 0 to the highest arrest count, 512.
        {"highest level", atLevel(512), {0, 512, 1, {0, 0, 0, 0}, 0, 0}, {3, -1}},
        {"level past the highest", atLevel(513), {0, 0, 1, {0, 0, 0, 0}, 0, 0}, {3, -1}},
        {"level below 0", atLevel(-1), {0, 0, 1, {0, 0, 0, 0}, 0, 0}, {3, -1}},
        {"lowest integer level", atLevel(INT32_MIN), {0, 0, 1, {0, 0, 0, 0}, 0, 0}, {3, -1}},
        {"highest integer level", atLevel(INT32_MAX), {0, 0, 1, {0, 0, 0, 0}, 0, 0}, {3, -1}},
        {"empty", {}, defaults, {-1}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(std::filesystem::create_directories("replay") || std::filesystem::is_directory("replay"));
        user.folder.Write("replay/qvreplay03.qvrep", c.bytes);
        world.replay.BeginPlayback(3);
        const ReplayHeader& h = world.replay.header;
        EXPECT_EQ(std::vector<int32_t>({h.finalScore, h.level, h.playerCount, h.members[0], h.members[1], h.members[2],
                                        h.members[3], h.formation, h.gameMode}),
                  std::vector<int32_t>({c.header.finalScore, c.header.level, c.header.playerCount, c.header.members[0],
                                        c.header.members[1], c.header.members[2], c.header.members[3],
                                        c.header.formation, c.header.gameMode}))
            << c.name;
        EXPECT_EQ(PlayBack(world.replay, static_cast<int>(c.words.size())), c.words) << c.name;
    }
    EXPECT_TRUE(platform.messageBox.shown.empty());
    world.replay.BeginPlayback(4);  // no such file: the defaults and no buttons
    EXPECT_EQ(platform.messageBox.Texts(), std::vector<std::string>{"リプレイファイルがありません"});
    EXPECT_EQ(world.replay.header.playerCount, 1);
    EXPECT_EQ(world.replay.NextInput(), -1);
}

TEST_F(Replays, SlotFilesAreNamedByNumberAndNeverReplaced) {
    const std::pair<int32_t, std::string> names[] = {{-1, "replay\\lastreplay.qvrep"}, {0, "replay\\qvreplay00.qvrep"},
                                                     {7, "replay\\qvreplay07.qvrep"},   {10, "replay\\qvreplay10.qvrep"},
                                                     {42, "replay\\qvreplay42.qvrep"},  {99, "replay\\qvreplay99.qvrep"},
                                                     {100, ""},                          {-2, ""}};
    for (const auto& [slot, name] : names) EXPECT_EQ(ReplayFileName(slot), name) << slot;

    Replay& list = worldController.replay;
    user.folder.Write("replay/qvreplay00.qvrep", "old");
    user.folder.Write("replay/QVREPLAY02.qvrep", "old");
    ReplayList::Scan();
    EXPECT_EQ(std::vector<uint8_t>(list.slotExists, list.slotExists + 4), (std::vector<uint8_t>{1, 0, 1, 0}));
    EXPECT_EQ(ReplayList::FindFreeSlot(), 1);
    EXPECT_FALSE(ReplayList::SaveToSlot(1));  // no last replay to copy
    EXPECT_EQ(list.slotExists[1], 0);

    user.folder.Write("replay/lastreplay.qvrep", "new");
    EXPECT_TRUE(ReplayList::SaveToSlot(1));
    EXPECT_EQ(list.slotExists[1], 1);
    EXPECT_EQ(user.Read("replay/qvreplay01.qvrep"), "new");
    EXPECT_FALSE(ReplayList::SaveToSlot(2));  // the slot's file exists, whatever its letter case
    EXPECT_EQ(user.Read("replay/QVREPLAY02.qvrep"), "old");
    EXPECT_FALSE(ReplayList::SaveToSlot(100));
    EXPECT_FALSE(ReplayList::SaveToSlot(-1));
    EXPECT_EQ(ReplayList::FindFreeSlot(), 3);

    for (uint8_t& exists : list.slotExists) exists = 1;
    EXPECT_EQ(ReplayList::FindFreeSlot(), -1);

    ReplayEntry entry;
    EXPECT_FALSE(ReplayList::ReadHeader(50, &entry));
    user.folder.Write("replay/qvreplay50.qvrep", Words({4200, 3, 9, 1, 2, 3, 4, 0, 16, 1, 7, 0}));
    ASSERT_TRUE(ReplayList::ReadHeader(50, &entry));
    EXPECT_EQ(entry.header.finalScore, 4200);
    EXPECT_EQ(entry.header.playerCount, 1);  // out of range in the file
    EXPECT_EQ(entry.header.gameMode, 16);
}

TEST_F(Replays, ARecordedSessionPlaysBackTheSameButtonsFrameByFrame) {
    // Keys by frame: directions and buttons changing, a pause pressed and released in between,
    // and a held X across the pause.
    const std::vector<std::vector<uint8_t>> script = {
        {kKeyZ}, {kKeyZ}, {kKeyZ}, {kKeyZ, kKeyUp}, {kKeyX}, {kKeyX, kKeyV}, {kKeyX}, {kKeyX}, {kKeyX, kKeyV},
        {kKeyX}, {}, {0xCB, 0x2E}, {0xCB}, {0xCD, kKeyZ, kKeyX}, {}, {}, {0xD0},
    };
    FakePad pad(world);
    for (int frame = 0; frame < 3; ++frame) {  // Z held on the menu that starts the game
        pad.Hold({kKeyZ});
        world.RunFrame();
    }
    world.gameRunning = true;
    world.replay.BeginRecording();
    std::vector<std::vector<int32_t>> live;
    for (const std::vector<uint8_t>& keys : script) {
        pad.ReleaseAll();
        pad.Hold(keys);
        world.RunFrame();
        if (!world.paused) live.push_back(std::vector<int32_t>(world.input.game, world.input.game + 7));
    }
    ASSERT_EQ(live.size(), script.size() - 3);  // the pause lasted three frames
    EXPECT_EQ(world.replay.frame, static_cast<int32_t>(live.size()));
    world.replay.Save();

    world.paused = false;
    world.input.game[4] = 9;  // counters of the replay menu
    world.replay.BeginPlayback(kLastReplaySlot);
    pad.Hold({kKeyV, 0xC8});  // keys during playback reach nothing
    std::vector<std::vector<int32_t>> played;
    for (size_t frame = 0; frame < live.size() + 2; ++frame) {
        world.RunFrame();
        played.push_back(std::vector<int32_t>(world.input.game, world.input.game + 7));
    }
    EXPECT_FALSE(world.paused);
    EXPECT_EQ(std::vector<std::vector<int32_t>>(played.begin(), played.begin() + live.size()), live);
    EXPECT_EQ(played.back(), std::vector<int32_t>(7, 0));  // after the end: no buttons
}

TEST_F(Replays, MenuLines) {
    const std::pair<int32_t, const wchar_t*> labels[] = {
        {0, L"COOP ALL        "},   {5, L"NODE            "},      {13, L"SHORT MISSION   "},
        {14, L"                "},  {15, L"                "},     {16, L"GHOST           "},
        {25, L"GHOST NODE      "},  {28, L"G VENGEANCE     "},     {29, L"                "},
        {-1, L"                "},
    };
    for (const auto& [mode, label] : labels) EXPECT_STREQ(ReplayModeLabel(mode), label) << mode;

    // The faces stand right-aligned before x + 64, each from its party icon's cell.
    ReplayEntry entry;
    entry.header.playerCount = 3;
    entry.header.members[2] = 62;
    ReplayList::FormatEntry(&entry, 100.0f, 50.0f, &world);
    EXPECT_EQ(std::vector<float>(entry.dest, entry.dest + 4), (std::vector<float>{148.0f, 50.0f, 16.0f, 16.0f}));
    EXPECT_EQ(std::vector<float>(entry.src, entry.src + 4), (std::vector<float>{192.0f, 224.0f, 16.0f, 16.0f}));
}

// A read-only folder fails every game over's save: the player is told once, until a save succeeds.
TEST_F(Replays, FailedSavesBackToBackAreSaidOnce) {
    const std::string said = "リプレイをファイルに書き込めませんでした";
    user.folder.Write("replay", "a file where the folder should be");
    for (int game = 0; game < 2; ++game) {
        Record({1, 1});
        EXPECT_FALSE(world.replay.Save()) << game;
        EXPECT_TRUE(world.replay.TakeTitleRequest()) << game;  // each one still ends at the title
    }
    EXPECT_EQ(platform.messageBox.Texts(), std::vector<std::string>{said});
    std::filesystem::remove(user.folder.Path() + "/replay");
    Record({1, 1});
    EXPECT_TRUE(world.replay.Save());
    std::filesystem::rename(user.folder.Path() + "/replay", user.folder.Path() + "/replay.kept");
    user.folder.Write("replay", "a file where the folder should be");
    Record({1, 1});
    EXPECT_FALSE(world.replay.Save());
    EXPECT_EQ(platform.messageBox.Texts(), (std::vector<std::string>{said, said}));
}

// A stage that saves the replay from inside its Run, as the stage script does at a game's end.
struct SavingStage : Probe {
    void Run(ObjectController* ctx) override {
        Probe::Run(ctx);
        ctx->replay.Save();
        name = "still here";  // the stage must outlive its own Run
    }
};

TEST_F(Replays, AFailedSaveReturnsToTheTitleAtTheStartOfTheNextFrame) {
    Register({type_id::SC_Menu_Title});
    user.folder.Write("replay", "a file where the folder should be");
    world.gameRunning = true;
    Record({1, 1});
    SavingStage* stage = new SavingStage();
    stage->self = stage;
    world.AddObject(stage, 0);
    world.currentScene = stage;
    world.RunFrame();
    EXPECT_EQ(platform.messageBox.Texts(), std::vector<std::string>{"リプレイをファイルに書き込めませんでした"});
    EXPECT_EQ(stage->name, "still here");
    EXPECT_EQ(world.others.size(), 1u);
    EXPECT_EQ(world.replay.mode, 0);
    world.RunFrame();
    ASSERT_EQ(world.others.size(), 1u);
    EXPECT_EQ(AsProbe(world.others.front())->name, "");  // the title scene
    EXPECT_EQ(world.frame, 1);
}

}  // namespace
