// The stages in whole-program runs with our own tables: stage 1 to game over (and its replay),
// the stage 2 parade to its boss, the ghost stage to its clear, and stage 3 through a fortress
// boss to its clear. The scenes that follow a stage belong to the menus: stand-ins record what
// the stage hands them. The enemies report to the stage themselves: the party's fire, or
// damage the test deals as that fire would, destroys them; only the clocks and the scroll are
// moved on to keep the runs short.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "framework/graphics/texture.h"
#include "game/player/pc_controller.h"
#include "game/stage/script.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/type_table.h"
#include "harness/game_run.h"
#include "platform/gfx/device.h"
#include "platform/os/os.h"

namespace {

constexpr int32_t kLeftButton = 2;
constexpr int32_t kRightButton = 3;
constexpr int32_t kFireButton = 4;

// What a stand-in scene was handed.
struct Handed {
    int32_t id = 0;
    int32_t score = 0;
    int32_t angle = 0;
    float power = 0;
    int32_t invincible = 0;
    int32_t inactive = 0;
    std::vector<int32_t> codes;
    bool operator==(const Handed&) const = default;
};
Handed g_handed;

template <int32_t Id>
class StandInScene : public Object {
public:
    StandInScene(float, float, float, float, float, float) {
        Init();
        g_handed = Handed{};
        g_handed.id = Id;
    }
    void SetScore(int32_t s) override { g_handed.score = s; }
    void SetInactive(int32_t v) override { g_handed.inactive = v; }
    void OnMessage(const Message& m) override { g_handed.codes.push_back(m.Code()); }
    void Run(ObjectController*) override {
        g_handed.angle = angle;
        g_handed.power = power;
        g_handed.invincible = invincible;
        age += 1;
    }
};

// Registers the stand-ins for the length of a test, then puts back what was there.
class StandIns {
public:
    StandIns() : result_(FindObjectConstructor(type_id::SC_Menu_Result)), clear_(FindObjectConstructor(type_id::SC_Menu_StageClear)) {
        RegisterObjectClass(type_id::SC_Menu_Result, MakeObject<StandInScene<type_id::SC_Menu_Result>>);
        RegisterObjectClass(type_id::SC_Menu_StageClear, MakeObject<StandInScene<type_id::SC_Menu_StageClear>>);
        g_handed = Handed{};
    }
    ~StandIns() {
        RegisterObjectClass(type_id::SC_Menu_Result, result_);
        RegisterObjectClass(type_id::SC_Menu_StageClear, clear_);
    }

private:
    ObjectConstructor result_, clear_;
};

Script* StageOf(ObjectController& world) { return dynamic_cast<Script*>(world.currentScene); }

// The class names of everything in the lists, counted over the run.
std::string ClassName(Object* o) {
    std::string name = typeid(*o).name();
    for (const char* c : {"E_Star_G", "E_S2GE_G", "E_ZeguOr_G", "E_ZeguBr_G", "E_Gradius_Zako_W", "E_Stage1_Boss",
                          "E_Stage2_Boss", "E_S2MiddleBoss_W", "SC_EnemyQ", "EF_GhostBeat", "EF_GhostBossBase",
                          "E_GhostZako2_W", "E_GhostZako5_W", "EF_WithoutDelayBonus", "EF_GameOver", "EF_HecatomBonus", "EF_Failure",
                          "E_ZanacFortress"}) {
        if (name.find(c) != std::string::npos) return c;
    }
    return {};
}

struct Seen {
    int32_t Made(const std::string& name) const {
        const auto it = made.find(name);
        return it == made.end() ? 0 : it->second;
    }
    std::map<std::string, int32_t> made;  // objects of interest, counted on their first frame
    std::vector<int32_t> scores;          // the stage's score each frame it ran
    std::vector<int32_t> markers;         // per-test values noted along the run
    std::set<Object*> live;               // the objects of the last frame, to tell new ones
    bool operator==(const Seen& o) const { return made == o.made && scores == o.scores && markers == o.markers; }
};

void Note(ObjectController& world, Seen* seen) {
    std::set<Object*> live;
    for (ObjectList* list : {&world.enemies, &world.others, &world.items}) {
        for (Object* o : *list) {
            live.insert(o);
            const std::string name = ClassName(o);
            if (!name.empty() && seen->live.count(o) == 0) seen->made[name] += 1;
        }
    }
    seen->live = std::move(live);
    if (Script* s = StageOf(world)) seen->scores.push_back(s->score);
}

void StartStage(ObjectController& world, int32_t mode, int32_t replayMode, int32_t slot = kLastReplaySlot) {
    world.ClearScene();
    world.ResetController();
    world.SetPlayerCount(1);
    world.gameMode = mode;
    world.StartGame(11, 12, 13, 14, 1, replayMode, slot);
}

// Ends the party's lives: no life left and the character lost, so the party reports game over.
void LoseTheParty(ObjectController& world) {
    auto* party = dynamic_cast<PCController*>(world.pcController);
    if (party == nullptr) return;
    party->lives = 0;
    for (PC* member : party->members) {
        if (member != nullptr) member->Kill();
    }
}

struct StageOneRun {
    Seen seen;
    Handed handed;
    e2e::RunResult result;
};

// The slot the stage-1 recording is kept in: the last replay is shared with every run of this
// folder, so the recording is copied aside while its run still has the folder to itself.
constexpr int32_t kRecordingSlot = 97;

std::string ReplayPath(int32_t slot) {
    std::string name = ReplayFileName(slot);
    for (char& c : name) c = c == '\\' ? '/' : c;
    return platform::ExecutableFolder() + "/" + name;
}

StageOneRun PlayStageOne(int32_t replayMode) {
    StageOneRun out;
    g_handed = Handed{};
    e2e::GameRun run;
    // Played live: fire, drift left, then right. A replay plays these back by itself (a button
    // held during playback would fast-forward it).
    if (replayMode == 0) {
        run.Hold(4, kFireButton, true);
        run.Hold(40, 2, true);
        run.Hold(70, 2, false);
        run.Hold(70, 3, true);
        run.Hold(130, 3, false);
    }
    bool kept = false;
    run.onFrame = [&out, &kept, replayMode](int32_t frame, ObjectController& world) {
        if (frame == 1) StartStage(world, 0, replayMode, kRecordingSlot);
        if (replayMode == 0 && !kept && g_handed.id == type_id::SC_Menu_Result) {
            std::filesystem::copy_file(ReplayPath(kLastReplaySlot), ReplayPath(kRecordingSlot),
                                       std::filesystem::copy_options::overwrite_existing);
            kept = true;
        }
        if (frame > 1) Note(world, &out.seen);
        Script* s = StageOf(world);
        if (frame == 700 && s != nullptr) s->age = 16370;  // the clock moved on to the boss
        if (frame == 760) LoseTheParty(world);
        if (s != nullptr && frame % 100 == 0) out.seen.markers.push_back(s->waveRow * 100 + s->waveSize);
    };
    out.result = run.Run(1100);
    out.handed = g_handed;
    return out;
}

TEST(StageRun, StageOneFromWavesAndGroundTargetsToItsBossAndGameOverThenItsReplay) {
    StandIns standIns;
    std::filesystem::remove(ReplayPath(kRecordingSlot));
    const StageOneRun first = PlayStageOne(0);
    ASSERT_TRUE(std::filesystem::exists(ReplayPath(kRecordingSlot)));
    const StageOneRun second = PlayStageOne(0);
    const StageOneRun played = PlayStageOne(1);
    std::filesystem::remove(ReplayPath(kRecordingSlot));

    EXPECT_TRUE(first.result.messageBoxes.empty() ||
                first.result.messageBoxes.front().find("テーブル") == std::string::npos);
    EXPECT_GE(first.seen.Made("SC_EnemyQ"), 2);
    EXPECT_GE(first.seen.Made("E_Star_G") + first.seen.Made("E_S2GE_G"), 3);  // ground targets painted in
    EXPECT_EQ(first.seen.Made("E_Stage1_Boss"), 1);
    EXPECT_EQ(first.seen.Made("EF_GameOver"), 1);
    ASSERT_FALSE(first.seen.scores.empty());
    EXPECT_GT(first.seen.scores.back(), 0);
    EXPECT_EQ(first.handed.id, type_id::SC_Menu_Result);
    EXPECT_EQ(first.handed.score, first.seen.scores.back());
    EXPECT_EQ(first.handed.angle, 1);  // game over

    EXPECT_EQ(first.result.frameHashes, second.result.frameHashes);
    EXPECT_EQ(first.seen, second.seen);
    // Played back from the recording: the same game to the same score; the result hears it is a
    // replay.
    EXPECT_EQ(played.handed.score, first.handed.score);
    EXPECT_EQ(played.seen.scores, first.seen.scores);
    EXPECT_EQ(played.handed.codes, std::vector<int32_t>{1});
}

// The stage's wave size and table row on its last frame: what it hands to the next scene.
struct LastFrame {
    int32_t waveSize = 0;
    int32_t waveRow = 0;
};

// Destroys an enemy as enough of the party's shots would: through its own damage, so that its
// own death (score, message, blast) follows in the world's sweep.
void ShootDown(ObjectController& world, Object* enemy) {
    if (enemy != nullptr && enemy->IsAlive()) enemy->Damage(&world, 1.0e6f);
}

// The living objects of a class in the world's lists.
std::vector<Object*> Living(ObjectController& world, const std::string& name) {
    std::vector<Object*> found;
    for (ObjectList* list : {&world.enemies, &world.others}) {
        for (Object* o : *list) {
            if (o->IsAlive() && ClassName(o) == name) found.push_back(o);
        }
    }
    return found;
}

Seen PlayStageTwo(Handed* handed, e2e::RunResult* result, LastFrame* last) {
    Seen seen;
    g_handed = Handed{};
    e2e::GameRun run;
    run.Hold(4, kFireButton, true);
    run.onFrame = [&seen, last](int32_t frame, ObjectController& world) {
        // As the stage-clear scene would after stage 1: the next stage set up in the whole game.
        if (frame == 1) {
            StartStage(world, 0, 0);
            StageOf(world)->OnMessage(Msg(3, 11, 2));
        }
        if (frame > 1) Note(world, &seen);
        Script* s = StageOf(world);
        if (s == nullptr) return;
        if (frame == 200) ShootDown(world, s->midBoss);  // the next one comes
        if (frame == 300) s->age = 1780;
        if (frame == 330 && s->midBoss != nullptr) seen.markers.push_back(static_cast<int32_t>(s->midBoss->vy));
        if (frame == 340) {  // the boss, in from 1792, shot down
            for (Object* boss : Living(world, "E_Stage2_Boss")) ShootDown(world, boss);
        }
        *last = {s->waveSize, s->waveRow};
        if (frame > 1) seen.markers.push_back(s->loops);
    };
    *result = run.Run(600);
    *handed = g_handed;
    return seen;
}

TEST(StageRun, StageTwoParadesItsMidBossesToTheBossAndHandsOverToTheStageClear) {
    StandIns standIns;
    Handed handed, again;
    e2e::RunResult a, b;
    LastFrame last, lastAgain;
    const Seen first = PlayStageTwo(&handed, &a, &last);
    const Seen second = PlayStageTwo(&again, &b, &lastAgain);
    EXPECT_GE(first.Made("E_S2MiddleBoss_W"), 2);
    EXPECT_EQ(first.Made("E_Stage2_Boss"), 1);
    EXPECT_EQ(first.Made("SC_EnemyQ"), 0);  // no waves in the parade
    EXPECT_EQ(handed.id, type_id::SC_Menu_StageClear);
    // The boss's own points (150000, shown in tenths) were credited before the stage cleared.
    EXPECT_GE(handed.score, 15000);
    EXPECT_EQ(handed.power, 3.0f);
    EXPECT_EQ(handed.invincible, last.waveSize);
    EXPECT_EQ(handed.angle, last.waveRow);
    EXPECT_EQ(a.frameHashes, b.frameHashes);
    EXPECT_EQ(first, second);
    EXPECT_EQ(handed, again);
}

// What the stage heard from each ghost formation that went.
struct GhostFormations {
    int32_t defeated = 0;       // code 21: the stage counted a defeat as the formation went
    int32_t reachedBottom = 0;  // code 24: the turn timer was set to end
};

// The formation places its 55 invaders in 11 columns of 20 and 5 rows of 16 from its corner.
bool AtEndOfBottomRow(const Object& formation, const Object& invader) {
    const float column = (invader.x - formation.x - 4.0f) / 20.0f;
    const float row = (invader.y - formation.y - 4.0f) / 16.0f;
    return row == 4.0f && (column == 0.0f || column == 10.0f);
}

Seen PlayGhostStage(Handed* handed, e2e::RunResult* result) {
    Seen seen;
    g_handed = Handed{};
    e2e::GameRun run;
    run.Hold(4, kFireButton, true);
    Object* formation = nullptr;
    int32_t defeatsBefore = 0;
    GhostFormations reports;
    run.onFrame = [&](int32_t frame, ObjectController& world) {
        if (frame == 1) StartStage(world, 16, 0);
        if (frame > 1) Note(world, &seen);
        Script* s = StageOf(world);
        if (s == nullptr) return;
        if (frame == 100) s->age = 2540;  // to the ghost boss
        // A formation gone since the last frame: what did the stage hear from it?
        const auto& others = world.others;
        if (formation != nullptr && std::find(others.begin(), others.end(), formation) == others.end()) {
            if (s->defeats == defeatsBefore + 1) reports.defeated += 1;
            if (s->ghostTimer <= 1 && s->defeats == defeatsBefore) reports.reachedBottom += 1;
            formation = nullptr;
        }
        if (formation == nullptr) {
            const std::vector<Object*> found = Living(world, "EF_GhostBossBase");
            if (!found.empty()) {
                formation = found.front();
                defeatsBefore = s->defeats;
            }
        }
        // The first formation loses all but the two ends of its bottom row, which march down to
        // the bottom; in the next loop, two formations in turn are shot down whole.
        const bool playing = s->clearCountdown == 0 && s->gameOverCountdown == 0;
        if (formation != nullptr && formation->age == 56 && playing) {  // the first frame with all of them placed
            for (Object* invader : Living(world, "E_GhostZako5_W")) {
                if (s->loops > 0 || !AtEndOfBottomRow(*formation, *invader)) ShootDown(world, invader);
            }
        }
        if (s->loops == 1 && seen.markers.empty()) {  // the struck turn ended: a new loop
            seen.markers.push_back(reports.reachedBottom);
            s->age = 2540;  // and on to its boss
        }
        if (s->defeats == 2 && seen.markers.size() == 1) {
            seen.markers.push_back(reports.defeated);
            s->defeats = 8;       // as after six more
            LoseTheParty(world);  // then the party is out of lives: cleared
        }
        if (s->clearCountdown == 2) seen.markers.push_back(s->defeats);
    };
    *result = run.Run(1050);
    *handed = g_handed;
    return seen;
}

TEST(StageRun, TheGhostStageBeatsTurnsMeetsItsBossAndClears) {
    StandIns standIns;
    Handed handed, again;
    e2e::RunResult a, b;
    const Seen first = PlayGhostStage(&handed, &a);
    const Seen second = PlayGhostStage(&again, &b);
    EXPECT_GE(first.Made("EF_GhostBeat"), 2);
    // Formations of 55: the first reached the bottom, which struck the turn and began a new
    // loop; the next two were shot down, each reporting its defeat; out of lives after eight
    // defeats, the party's game over cleared the stage while the fourth marched.
    EXPECT_EQ(first.Made("EF_GhostBossBase"), 4);
    EXPECT_EQ(first.Made("E_GhostZako5_W"), 4 * 55);
    EXPECT_EQ(first.markers, (std::vector<int32_t>{1, 2, 8}));
    EXPECT_EQ(handed.id, type_id::SC_Menu_Result);
    EXPECT_EQ(handed.angle, 0);  // cleared, not game over
    EXPECT_EQ(a.frameHashes, b.frameHashes);
    EXPECT_EQ(first, second);
}

// Steers the party towards an x: left or right held until it is within a step of it.
void Steer(e2e::GameRun& run, int32_t frame, ObjectController& world, float x) {
    const float px = world.pcController != nullptr ? world.pcController->GetX() : x;
    run.Hold(frame + 1, kLeftButton, px > x + 2.0f);
    run.Hold(frame + 1, kRightButton, px < x - 2.0f);
}

// The Without Delay labels in play.
int32_t WithoutDelayLabels(ObjectController& world) {
    return static_cast<int32_t>(Living(world, "EF_WithoutDelayBonus").size());
}

Seen PlayStageThree(Handed* handed, e2e::RunResult* result) {
    Seen seen;
    g_handed = Handed{};
    e2e::GameRun run;
    run.Hold(4, kFireButton, true);
    run.onFrame = [&seen, &run](int32_t frame, ObjectController& world) {
        if (frame == 1) StartStage(world, 3, 0);
        if (frame > 1) Note(world, &seen);
        Script* s = StageOf(world);
        if (s == nullptr) return;
        if (frame == 2) {  // to the end of section 2, just before the first fortress boss
            s->phase = 2;
            s->phaseHold = 1;
            s->scrollY = 2 * 512 + 496;
        }
        // In each boss section, the scroll moved on to just before its fortress rows.
        if ((s->phase == 3 || s->phase == 31) && s->bossParts > 0 && s->scrollY % 512 < 272) {
            s->scrollY = s->phase * 512 + 272;
        }
        const std::vector<Object*> fortresses = Living(world, "E_ZanacFortress");
        // The first boss: the party flies under each fortress in turn and shoots it down, then
        // back to the middle.
        const bool firstBoss = s->phase == 3 && s->bossParts > 0 && !fortresses.empty();
        Steer(run, frame, world, firstBoss ? fortresses.front()->x : 128.0f);
        if (s->phase == 3 && s->bossParts == 0 && seen.markers.empty()) {
            seen.markers.push_back(WithoutDelayLabels(world));
        }
        if (s->phase == 4 && seen.markers.size() == 1) {  // then on to the last section
            s->phase = 30;
            s->scrollY = 30 * 512 + 500;
            s->phaseHold = 1;
            seen.markers.push_back(frame);
        }
        // The last boss: once the scroll has come to rest with all of it in view, each fortress
        // left is shot down when its hatch is open.
        if (s->phase == 31 && s->bossParts > 0 && s->scrollSpeed == 0) {
            for (Object* f : fortresses) {
                if (f->invincible == 0) ShootDown(world, f);
            }
        }
        if (s->phase == 31 && s->bossParts == 0 && seen.markers.size() == 2) {
            seen.markers.push_back(WithoutDelayLabels(world));
        }
        if (s->clearCountdown == 1) seen.markers.push_back(seen.Made("E_ZanacFortress"));
    };
    *result = run.Run(950);
    *handed = g_handed;
    return seen;
}

TEST(StageRun, StageThreeThroughAFortressBossToItsClear) {
    StandIns standIns;
    Handed handed, again;
    e2e::RunResult a, b;
    const Seen seen = PlayStageThree(&handed, &a);
    const Seen second = PlayStageThree(&again, &b);
    EXPECT_EQ(a.frameHashes, b.frameHashes);
    EXPECT_EQ(seen, second);
    // Without Delay for the first boss, the skip to the last section, Without Delay for the
    // last boss, and the fortresses painted until the clear: 2 and 32.
    EXPECT_EQ(seen.markers, (std::vector<int32_t>{1, seen.markers[1], 1, 34}));
    EXPECT_EQ(handed.id, type_id::SC_Menu_Result);
    EXPECT_GT(handed.score, 0);
}

// The background ring's pixels, hashed (0 when it cannot be read).
uint64_t RingHash() {
    platform::gfx::Surface* ring = nullptr;
    if (gameSprites.layerTarget1 == nullptr || !gameSprites.layerTarget1->GetSurface(&ring)) return 0;
    uint64_t h = 1469598103934665603ull;
    const uint32_t* pixels = ring->ArgbPixels();
    for (size_t i = 0; i < size_t(ring->Width()) * ring->Height(); ++i) h = (h ^ pixels[i]) * 1099511628211ull;
    ring->Release();
    return h;
}

constexpr int32_t kScrollRecordingSlot = 96;
constexpr int32_t kScrollRecorded = 260;  // frames of the recording
// The buttons that fast-forward a playback: 3 extra frames a picture, or 15.
constexpr int32_t kFastForwardShort = 4, kFastForwardLong = 5;

// A stage-1 game scrolling 4 pixels a frame (a new map row every fourth frame): recorded live,
// or played back with a fast-forward button held from the sixth frame. Gives the ring after
// every presented frame by the replay's frame count then.
std::map<int32_t, uint64_t> ScrollingStageOne(int32_t replayMode, int32_t frames, int32_t fastForward = -1) {
    std::map<int32_t, uint64_t> rings;
    e2e::GameRun run;
    if (fastForward >= 0) run.Hold(5, fastForward, true);
    run.onFrame = [&rings, replayMode](int32_t frame, ObjectController& world) {
        if (frame == 1) StartStage(world, 0, replayMode, kScrollRecordingSlot);
        Script* s = StageOf(world);
        if (s == nullptr) return;
        if (frame == 2) s->scrollSpeed = 4;
        rings[world.replay.frame] = RingHash();
        if (replayMode == 0 && frame == kScrollRecorded) {
            world.replay.Save();
            std::filesystem::copy_file(ReplayPath(kLastReplaySlot), ReplayPath(kScrollRecordingSlot),
                                       std::filesystem::copy_options::overwrite_existing);
        }
    };
    run.Run(frames);
    return rings;
}

TEST(StageRun, AReplayFastForwardedPaintsEveryRowItPassesIntoTheRing) {
    std::filesystem::remove(ReplayPath(kScrollRecordingSlot));
    ScrollingStageOne(0, kScrollRecorded + 2);
    ASSERT_TRUE(std::filesystem::exists(ReplayPath(kScrollRecordingSlot)));
    const int32_t played = kScrollRecorded - 40;
    const std::map<int32_t, uint64_t> normal = ScrollingStageOne(1, played);
    for (const auto& [button, speed] : {std::pair{kFastForwardShort, 4}, std::pair{kFastForwardLong, 16}}) {
        SCOPED_TRACE(testing::Message() << speed << " frames a picture");
        const std::map<int32_t, uint64_t> fast = ScrollingStageOne(1, played / speed, button);
        int32_t compared = 0;
        for (const auto& [frame, ring] : fast) {
            if (normal.count(frame) == 0) continue;
            EXPECT_EQ(ring, normal.at(frame)) << "frame " << frame;
            compared += 1;
        }
        EXPECT_GE(compared, played / speed - 10);
    }
    std::filesystem::remove(ReplayPath(kScrollRecordingSlot));
}

}  // namespace
