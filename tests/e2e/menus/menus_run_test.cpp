// The scenes in whole-program runs: from a fresh score file the title's prompt starts Natsuki's
// game, which plays to game over and ends on the result that keeps its replay in slot 00; with a
// score file that unlocks everything the replay list plays the kept replay back to the same frames
// and score, the title menu reaches every menu page, the title left alone starts the demo, which a
// button ends, and F4 in a ghost game brings the title back with its pointer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "game/scenes/demo.h"
#include "game/scenes/menu_coop.h"
#include "game/scenes/menu_extermination.h"
#include "game/scenes/menu_ranking.h"
#include "game/scenes/menu_replay.h"
#include "game/scenes/menu_result.h"
#include "game/scenes/menu_title.h"
#include "game/stage/script.h"
#include "harness/game_run.h"
#include "platform/os/os.h"

namespace {

constexpr int32_t kUp = 0, kDown = 1, kLeft = 2, kRight = 3, kDecide = 4, kCancel = 5, kThird = 6;

std::string Beside(const std::string& name) { return platform::ExecutableFolder() + "/" + name; }

// A fresh start: no score file and no replays.
void Fresh() {
    std::filesystem::remove_all(Beside("replay"));
    std::filesystem::remove(Beside("qvscore.dat"));
}

// A score file with every character unlocked and arrest count 16.
void UnlockEverything() {
    ScoreData scores;
    scores.Clear();
    for (int id = 0; id < 63; ++id) scores.unlockFlags[id] = 1;
    scores.arrestCount = 16;
    const std::vector<uint8_t> bytes = scores.ToFileBytes();
    std::ofstream(Beside("qvscore.dat"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Presses a button for one frame from the next frame on.
void Tap(e2e::GameRun& run, int32_t frame, int32_t button) {
    run.Hold(frame + 1, button, true);
    run.Hold(frame + 2, button, false);
}

// A game as the player saw it: the frames while its stage ran, and the score of its result.
struct Game {
    std::vector<uint64_t> frames;
    int32_t score = -1;
    int32_t firstMember = -1;
};

// Notes the stage frames (their hashes are filled in after the run) and the result's score.
void Note(ObjectController& world, int32_t frame, std::vector<int32_t>* stageFrames, Game* game) {
    if (dynamic_cast<Script*>(world.currentScene) != nullptr) {
        stageFrames->push_back(frame);
        game->firstMember = world.partyMembers[0];
    }
    if (auto* r = dynamic_cast<SC_Menu_Result*>(world.currentScene)) game->score = r->score;
}

void TakeHashes(const e2e::RunResult& r, const std::vector<int32_t>& stageFrames, Game* game) {
    for (int32_t f : stageFrames) game->frames.push_back(r.frameHashes.at(static_cast<size_t>(f)));
}

void NatsukisGameIsKeptAndTheReplayListPlaysItBackAlike() {
    Fresh();
    Game live;
    std::vector<int32_t> liveFrames;
    bool sawPrompt = false, saved = false, backOnTitle = false;
    e2e::GameRun first;
    first.onFrame = [&](int32_t frame, ObjectController& world) {
        Note(world, frame, &liveFrames, &live);
        if (auto* title = dynamic_cast<SC_Menu_Title*>(world.currentScene)) {
            if (live.score < 0) {
                sawPrompt = sawPrompt || world.scoreData.unlockedCount < 4;
                if (title->age == 3) Tap(first, frame, kDecide);
            } else {
                backOnTitle = true;
            }
        }
        if (auto* r = dynamic_cast<SC_Menu_Result*>(world.currentScene)) {
            if (r->age == 5) Tap(first, frame, kThird);
            if (r->age == 40) Tap(first, frame, kDecide);
            saved = saved || r->saveState == SC_Menu_Result::kSaved;
        }
    };
    const e2e::RunResult firstRun = first.Run(12000);
    TakeHashes(firstRun, liveFrames, &live);
    EXPECT_TRUE(firstRun.messageBoxes.empty());
    EXPECT_TRUE(sawPrompt);
    EXPECT_EQ(live.firstMember, 11);
    EXPECT_GT(live.frames.size(), 100u);
    EXPECT_GE(live.score, 0);
    EXPECT_TRUE(saved);
    EXPECT_TRUE(backOnTitle);
    EXPECT_TRUE(std::filesystem::exists(Beside("replay/qvreplay00.qvrep")));

    UnlockEverything();
    Game played;
    std::vector<int32_t> playedFrames;
    bool titleAfterPlayback = false;
    e2e::GameRun second;
    second.onFrame = [&](int32_t frame, ObjectController& world) {
        Note(world, frame, &playedFrames, &played);
        if (auto* r = dynamic_cast<SC_Menu_Result*>(world.currentScene); r != nullptr && r->age == 40) {
            Tap(second, frame, kDecide);  // the result of a playback takes the player's buttons again
        }
        titleAfterPlayback = titleAfterPlayback || (played.score >= 0 && dynamic_cast<SC_Menu_Title*>(world.currentScene) != nullptr);
        if (auto* title = dynamic_cast<SC_Menu_Title*>(world.currentScene); title != nullptr && title->age == 3) {
            Tap(second, frame, kDown);      // ghost mode
            Tap(second, frame + 2, kDown);  // extermination
            Tap(second, frame + 4, kDown);  // replay
            Tap(second, frame + 6, kDecide);
        }
        if (auto* list = dynamic_cast<SC_Menu_Replay*>(world.currentScene); list != nullptr && list->age == 3) {
            Tap(second, frame, kDown);  // from the last game to slot 00
            Tap(second, frame + 2, kDecide);
        }
    };
    const e2e::RunResult secondRun = second.Run(liveFrames.empty() ? 10 : liveFrames.back() + 300);
    TakeHashes(secondRun, playedFrames, &played);
    EXPECT_TRUE(secondRun.messageBoxes.empty());
    EXPECT_EQ(played.score, live.score);
    EXPECT_TRUE(titleAfterPlayback);
    EXPECT_EQ(played.firstMember, 11);
    EXPECT_EQ(played.frames.size(), live.frames.size());
    EXPECT_TRUE(played.frames == live.frames);
}

// One step of a walk through the menus: when the scene (and its page) is current for the
// second frame, press these buttons and note the place.
struct Step {
    std::string place;
    std::vector<int32_t> buttons;
};

std::string PlaceOf(ObjectController& world) {
    Object* s = world.currentScene;
    if (auto* c = dynamic_cast<SC_Menu_Coop*>(s)) {
        return (world.gameMode >= 16 ? "ghost " : "coop ") + std::to_string(c->page) + " " + std::to_string(c->cursorRow);
    }
    if (auto* r = dynamic_cast<SC_Menu_Ranking*>(s)) return "ranking " + std::to_string(r->page);
    if (dynamic_cast<SC_Menu_Title*>(s) != nullptr) return "title";
    if (dynamic_cast<SC_Menu_Extermination*>(s) != nullptr) return "extermination";
    if (dynamic_cast<SC_Menu_Replay*>(s) != nullptr) return "replay";
    if (dynamic_cast<SC_Demo*>(s) != nullptr) return "demo";
    return "other";
}

void EveryMenuPageIsReachedAndIdleTimeStartsTheDemo() {
    Fresh();
    UnlockEverything();
    // Each place, in order, with the buttons pressed there (a few frames apart).
    const std::vector<Step> walk = {
        {"title", {kDecide}},                               // COOP MODE
        {"coop 0 0", {kRight, kDecide}},                    // two players
        {"coop 0 2", {kLeft, kDecide}},                     // "はい"
        {"coop 0 7", {kUp, kUp, kDecide}},                  // seat 1
        {"coop 1 3", {kDown, kDecide}},                     // another character
        {"coop 0 3", {kDown, kDown, kDecide}},              // the whole team
        {"coop 2 7", {kDecide, kDown, kDecide}},            // two picks
        {"coop 0 7", {kDown, kDecide}},                     // the formation data
        {"coop 3 8", {kDown, kDecide, kDecide, kCancel, kCancel}},  // save to slot 1, back
        {"coop 0 8", {kCancel}},
        {"coop 0 0", {kCancel}},                            // back to the title
        {"title", {kDown, kDecide}},                        // GHOST MODE
        {"ghost 0 0", {kCancel}},
        {"title", {kDown, kDecide}},                        // EXTERMINATION
        {"extermination", {kCancel}},
        {"title", {kDown, kDown, kDecide}},                 // RANKING
        {"ranking 0", {kUp, kDecide}},                      // OK!, SOLO
        {"ranking 1", {kCancel}},
        {"ranking 0", {kCancel}},
        {"title", {}},                                      // left alone
        {"demo", {kDecide}},
        {"title", {}},
    };
    std::vector<std::string> seen;
    size_t next = 0;
    std::string last;
    int32_t since = 0;
    e2e::GameRun run;
    run.onFrame = [&](int32_t frame, ObjectController& world) {
        const std::string place = PlaceOf(world);
        since = place == last ? since + 1 : 0;
        last = place;
        if (next < walk.size() && place == walk[next].place && since == 3) {
            seen.push_back(place);
            for (size_t i = 0; i < walk[next].buttons.size(); ++i) {
                Tap(run, frame + 2 * static_cast<int32_t>(i), walk[next].buttons[i]);
            }
            ++next;
        }
    };
    worldController.lastTitleRow = 0;  // the title opens on the row chosen last, in any earlier run
    const e2e::RunResult r = run.Run(3600);
    std::vector<std::string> expected;
    for (const Step& s : walk) expected.push_back(s.place);
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(r.messageBoxes.empty());
    // The formation saved on the data page is in the score file.
    ScoreData saved;
    saved.Clear();
    std::ifstream in(Beside("qvscore.dat"), std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    saved.FromFileBytes(bytes.data(), bytes.size());
    EXPECT_TRUE(saved.IsPartyDistinct(2, 0));
}

// F4 in a four-player ghost game: the title comes back with its pointer, which blinks (eight
// frames shown, eight not, by the title's age) on the row it stands on and follows up and down.
void AfterF4FromAGhostGameTheTitlesPointerBlinksAndFollowsTheKeys() {
    Fresh();
    UnlockEverything();
    e2e::GameRun run;
    int32_t started = -1, checked = 0, wrong = 0, row = -1;
    run.onFrame = [&](int32_t frame, ObjectController& world) {
        auto* title = dynamic_cast<SC_Menu_Title*>(world.currentScene);
        if (title == nullptr) return;
        if (started < 0 && title->age == 3) {
            world.gameMode = 16;
            menu::StartFresh(&world);
            world.SetPlayerCount(4);
            world.StartGame(11, 12, 13, 14, 1, 0, -1);
            started = frame;
            run.PressWindowKey(frame + 120, 115);  // F4
            Tap(run, frame + 160, kUp);
            Tap(run, frame + 170, kUp);
            return;
        }
        if (started < 0 || title->age < 2) return;
        // The pointer's middle row of pixels: the playfield doubled, 64 pixels in.
        const int32_t y = (title->cursorRow + 7) * 32 + 8;
        const bool lit = (run.ShownPixel(164, y) & 0xFFFFFF) == 0xFFFFFF;
        wrong += lit != (title->age % 16 < 8);
        checked += 1;
        row = title->cursorRow;
    };
    worldController.lastTitleRow = 0;
    run.Run(400);
    EXPECT_GT(started, 0);
    EXPECT_GT(checked, 200);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(row, 4);  // 0, then 5, then 4
}

// One test, so that no other run of this executable shares the folder's files meanwhile.
TEST(MenusRun, AKeptReplayPlaysBackAlikeAndEveryMenuPageAndTheDemoAreReached) {
    NatsukisGameIsKeptAndTheReplayListPlaysItBackAlike();
    EveryMenuPageIsReachedAndIdleTimeStartsTheDemo();
    AfterF4FromAGhostGameTheTitlesPointerBlinksAndFollowsTheKeys();
}

}  // namespace

