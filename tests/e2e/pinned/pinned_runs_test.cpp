// Whole-game runs of the real program, each pinned to what it produced: its final score, the
// score file it left, what the factories made (by kind and which classes), a hash of the world
// (every object's class, position, hp and age) every few seconds and of the presented frame at a
// few fixed frames. The runs start as the menus start a game, from a score file that opens every
// mode, and play with seeded input that moves, fires, bombs and passes ghost turns; power items
// come through the game's own factory where the seeded play would not reach a power level.
// Together the runs make every class the factory knows but those listed in never_made.cpp, and
// every cell a class draws must be one that assets/cells.csv names for it.
//
// After an intended change, tests/e2e/pinned/repin.sh writes pinned_runs.txt again and prints the
// runs that changed and the first checkpoint at which each differs.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <sstream>
#include <unordered_map>

#include "census.h"
#include "class_cells.h"
#include "game/player/pc.h"
#include "game/player/pc_controller.h"
#include "game/scenes/demo.h"
#include "game/scenes/menu_coop.h"
#include "game/scenes/menu_extermination.h"
#include "game/scenes/menu_ranking.h"
#include "game/scenes/menu_replay.h"
#include "game/scenes/menu_result.h"
#include "game/scenes/menu_stage_clear.h"
#include "game/scenes/menu_title.h"
#include "game/stage/script.h"
#include "game/world/factory.h"
#include "game/world/message_codes.h"
#include "game/world/score_data.h"
#include "harness/game_run.h"
#include "never_made.h"
#include "pins.h"
#include "sheet_cells.h"
#include "platform/os/os.h"
#include "run_table.h"

namespace pinned {
namespace {

constexpr int32_t kWorldEvery = 240;  // frames between two pinned world hashes
constexpr int32_t kStartFrame = 2;    // the title has run its first frames
constexpr int32_t kButtons = 7;       // arrows, Z, X, C: never the pause button
constexpr int32_t kFireButton = 4;

std::string Beside(const std::string& name) { return platform::ExecutableFolder() + "/" + name; }

bool Repinning() {
    const char* pin = std::getenv("PIN");
    return pin != nullptr && std::strcmp(pin, "1") == 0;
}

std::string Hex(uint64_t v, int digits) {
    std::ostringstream s;
    s << std::hex;
    s.width(digits);
    s.fill('0');
    s << v;
    return s.str();
}

uint64_t Mix(uint64_t h, uint64_t value) { return (h ^ value) * 1099511628211ull; }

uint64_t FloatBits(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    return bits;
}

// A fresh folder: no replays, and a score file that has every character unlocked and the arrest
// count that opens the extermination menu.
void PrepareFolder() {
    std::filesystem::remove_all(Beside("replay"));
    std::filesystem::create_directories(Beside("replay"));
    ScoreData scores;
    scores.Clear();
    for (int id = 0; id < 63; ++id) scores.unlockFlags[id] = 1;
    scores.arrestCount = 16;
    const std::vector<uint8_t> bytes = scores.ToFileBytes();
    std::ofstream(Beside(kScoreFileName), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

uint64_t FileHash(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    uint64_t h = 1469598103934665603ull;
    for (char c : bytes) h = Mix(h, static_cast<uint8_t>(c));
    return h;
}

// Every object's class, position, hp and age, list by list, and the party's controller.
class WorldHasher {
public:
    uint64_t operator()(ObjectController& world) {
        uint64_t h = 1469598103934665603ull;
        auto add = [&](Object* o) {
            h = Mix(h, ClassHash(typeid(*o)));
            for (float f : {o->x, o->y, o->hp}) h = Mix(h, FloatBits(f));
            h = Mix(h, static_cast<uint32_t>(o->age));
        };
        if (world.pcController != nullptr) add(world.pcController);
        for (ObjectList* list : {&world.enemies, &world.enemyBullets, &world.players, &world.shots, &world.others, &world.items}) {
            h = Mix(h, list->size());
            for (Object* o : *list) add(o);
        }
        return h;
    }

private:
    uint64_t ClassHash(const std::type_info& type) {
        auto it = classes_.find(&type);
        if (it != classes_.end()) return it->second;
        uint64_t h = 1469598103934665603ull;
        for (char c : ClassName(type)) h = Mix(h, static_cast<uint8_t>(c));
        return classes_[&type] = h;
    }
    std::unordered_map<const std::type_info*, uint64_t> classes_;
};

// The classes made, as hexadecimal bit sets: type ids, then character codes.
std::string MadeClasses(const Census& census) {
    std::string out;
    for (const auto* counts : {census.objects.data(), census.characters.data()}) {
        const size_t n = counts == census.objects.data() ? census.objects.size() : census.characters.size();
        std::string bits;
        for (size_t i = 0; i < n; i += 4) {
            int nibble = 0;
            for (size_t b = 0; b < 4 && i + b < n; ++b) nibble |= (counts[i + b] > 0 ? 1 : 0) << b;
            bits += "0123456789abcdef"[nibble];
        }
        out += (out.empty() ? "" : " ") + bits;
    }
    return out;
}

std::string MadeByKind(const Census& census) {
    std::map<int32_t, int64_t> byKind;
    for (int id = 0; id < kTypeCount; ++id) {
        if (census.objects[id] > 0) byKind[kTypeTable[id].kind] += census.objects[id];
    }
    int64_t characters = 0;
    for (int row = 0; row < kCharacterCodeCount; ++row) {
        if (kCharacterTable[row].id != kPartyControllerCode) characters += census.characters[row];
    }
    byKind[201] += characters;
    std::string out;
    for (const auto& [kind, n] : byKind) out += (out.empty() ? "" : " ") + std::to_string(kind) + ":" + std::to_string(n);
    return out;
}

// Moves the stage on to just before its boss, as time would: stage 3 to the end of the section
// before its boss section, others to a few frames before the boss's age; the ghost stage waits
// for a new turn, so that its player is fresh. True once moved.
bool MoveClock(const PinnedRun& r, Script* s) {
    if (s->stage == 3) {
        s->phase = r.bossAge - 1;
        s->phaseHold = 1;
        s->scrollY = (r.bossAge - 1) * 512 + 496;
        return true;
    }
    if (s->stage == 16 && s->age > 2) return false;
    s->age = r.bossAge - 8;
    return true;
}

// Presses a button for one frame from the next frame on.
void Tap(e2e::GameRun& run, int32_t frame, int32_t button) {
    run.Hold(frame + 1, button, true);
    run.Hold(frame + 2, button, false);
}

// Where a walk through the menus stands.
std::string PlaceOf(ObjectController& world) {
    Object* s = world.currentScene;
    if (auto* c = dynamic_cast<SC_Menu_Coop*>(s)) {
        return (world.gameMode >= 16 ? "ghost " : "coop ") + std::to_string(c->page) + " " + std::to_string(c->cursorRow);
    }
    if (dynamic_cast<SC_Menu_Ranking*>(s) != nullptr) return "ranking";
    if (dynamic_cast<SC_Menu_Title*>(s) != nullptr) return "title";
    if (dynamic_cast<SC_Menu_Extermination*>(s) != nullptr) return "extermination";
    if (dynamic_cast<SC_Menu_Replay*>(s) != nullptr) return "replay";
    if (dynamic_cast<SC_Demo*>(s) != nullptr) return "demo";
    if (dynamic_cast<SC_Menu_Result*>(s) != nullptr) return "result";
    return "other";
}

// What one run produced, with the census of what it made and drew.
struct Played {
    RunPins pins;
    std::unique_ptr<Census> census;
};

// The party seat objects in play, for power items dropped on them.
std::vector<PC*> Members(ObjectController& world) {
    std::vector<PC*> out;
    auto* party = dynamic_cast<PCController*>(world.pcController);
    if (party == nullptr) return out;
    for (int i = 0; i < 4; ++i) {
        if (party->members[i] != nullptr && party->members[i]->IsAlive() && party->members[i]->inactive == 0) {
            out.push_back(party->members[i]);
        }
    }
    return out;
}

// Holds the folder for a whole run, from its score file prepared to the one it left read: the
// runs of other test processes of this folder wait meanwhile.
class FolderLock {
public:
    FolderLock() : fd_(open(Beside("pinned_run.lock").c_str(), O_CREAT | O_RDWR, 0644)) {
        if (fd_ >= 0) flock(fd_, LOCK_EX);
    }
    ~FolderLock() {
        if (fd_ >= 0) close(fd_);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_;
};

Played Play(const PinnedRun& r) {
    FolderLock lock;
    PrepareFolder();
    Played out;
    out.census = std::make_unique<Census>();
    std::mt19937 random(r.seed);
    e2e::GameRun run;
    run.keepFrames = false;
    worldController.lastTitleRow = 0;  // the title opens on the row chosen last, in any earlier run
    WorldHasher worldHash;
    int32_t score = 0;
    bool started = false;
    bool clockMoved = false;
    bool wasPlaying = false;
    std::string world, frames;
    const int32_t hashed[] = {r.frames / 4, r.frames / 2, r.frames * 3 / 4};
    size_t nextStep = 0;
    std::string lastPlace;
    int32_t since = 0;
    run.onFrame = [&](int32_t frame, ObjectController& w) {
        if (r.walk != nullptr) {
            const std::string place = PlaceOf(w);
            since = place == lastPlace ? since + 1 : 0;
            lastPlace = place;
            if (nextStep < r.walk->size() && place == (*r.walk)[nextStep].place && since == (*r.walk)[nextStep].wait) {
                const MenuStep& step = (*r.walk)[nextStep++];
                for (size_t i = 0; i < step.buttons.size(); ++i) Tap(run, frame + 2 * static_cast<int32_t>(i), step.buttons[i]);
            }
            started = started || dynamic_cast<Script*>(w.currentScene) != nullptr;
        } else if (frame == kStartFrame) {  // as the menus start a game
            w.ClearScene();
            w.ResetController();
            w.SetPlayerCount(r.players);
            w.gameMode = r.mode;
            w.ArrestLevel = r.rank;
            w.StartGame(r.members[0], r.members[1], r.members[2], r.members[3], r.formation, 0, 0);
            w.shotCounter = 0;
            if (r.stage != 0) w.currentScene->OnMessage(Msg(3, stage_message::kStageSetUp, r.stage));
            if (r.waveRow != 0) w.currentScene->OnMessage(Msg(3, stage_message::kWaveRowSet, r.waveRow));
            for (int32_t i = 0; i < r.extends; ++i) w.pcController->OnMessage(Msg(3, party_message::kExtend, &w));
            started = true;
        }
        auto* script = dynamic_cast<Script*>(w.currentScene);
        // A replay played back takes no buttons but those that fast-forward it.
        const bool playing = started && w.replay.mode != 1 &&
                             (script != nullptr || dynamic_cast<SC_Menu_StageClear*>(w.currentScene) != nullptr);
        if (script != nullptr) {
            score = script->score;
            if (r.bossClock > 0 && !clockMoved && frame >= r.bossClock) clockMoved = MoveClock(r, script);
        }
        if (playing) {
            // Seeded play: now and then a button goes down or up; fire is held most of the time.
            if (random() % 6 == 0) {
                const int32_t button = static_cast<int32_t>(random() % kButtons);
                const bool down = random() % (button == kFireButton ? 8 : 3) != 0;
                run.Hold(frame + 1, button, down);
            }
            if (r.powerEvery > 0 && frame % r.powerEvery == 0 && script != nullptr) {
                for (PC* member : Members(w)) {
                    w.CreateObject(type_id::I_PowerUp, member->x, member->y, 0, 0, 0, 0, nullptr);
                }
            }
        } else if (wasPlaying) {  // every button let go once the game is over
            for (int32_t b = 0; b < kButtons; ++b) run.Hold(frame + 1, b, false);
        }
        wasPlaying = playing;
        if (frame > 0 && frame % kWorldEvery == 0) {
            world += (world.empty() ? "" : " ") + std::to_string(frame) + ":" + Hex(worldHash(w) & 0xFFFFFFFFu, 8);
        }
        for (int32_t f : hashed) {
            if (frame == f) frames += (frames.empty() ? "" : " ") + std::to_string(frame) + ":" + Hex(run.ShownFrameHash(), 16);
        }
    };
    const e2e::RunResult result = run.Run(r.frames);
    out.pins["score"] = std::to_string(score);
    out.pins["scorefile"] = Hex(FileHash(Beside(kScoreFileName)), 16);
    out.pins["made"] = MadeByKind(*out.census);
    out.pins["classes"] = MadeClasses(*out.census);
    out.pins["world"] = world;
    out.pins["frames"] = frames;
    out.pins["exit"] = std::to_string(result.exitCode) + " boxes " + std::to_string(result.messageBoxes.size());
    return out;
}

std::string Describe(const PinnedRun& r) {
    std::ostringstream s;
    s << r.name << " (mode " << r.mode << ", stage " << (r.stage != 0 ? r.stage : StageOfRun(r)) << ", party";
    for (int i = 0; i < r.players; ++i) s << ' ' << r.members[i];
    s << ")";
    return s.str();
}

// The classes a "classes" value names that the other does not.
std::vector<std::string> ClassesOnlyIn(const std::string& a, const std::string& b) {
    std::vector<std::string> out;
    std::istringstream wa(a), wb(b);
    std::string ta, tb, ca, cb;
    wa >> ta >> ca;
    wb >> tb >> cb;
    auto bit = [](const std::string& hex, size_t i) {
        if (i / 4 >= hex.size()) return false;
        const char c = hex[i / 4];
        const int v = c >= 'a' ? c - 'a' + 10 : c - '0';
        return ((v >> (i % 4)) & 1) != 0;
    };
    for (int id = 0; id < kTypeCount; ++id) {
        if (bit(ta, id) && !bit(tb, id)) out.push_back(kTypeTable[id].className);
    }
    for (int row = 0; row < kCharacterCodeCount; ++row) {
        if (bit(ca, row) && !bit(cb, row)) out.push_back(kCharacterTable[row].className);
    }
    return out;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& n : names) out += (out.empty() ? "" : " ") + n;
    return out;
}

// What differs between the pinned values of a run and what it produced now, one line each.
std::vector<std::string> Differences(const RunPins& pinned, const RunPins& now) {
    std::vector<std::string> out;
    for (const auto& [key, value] : now) {
        const auto it = pinned.find(key);
        const std::string was = it != pinned.end() ? it->second : "";
        if (was == value) continue;
        if (key == "world" || key == "frames") {
            const Parting p = FirstParting(was, value);
            out.push_back((key == "world" ? "the world" : "the presented frame") + std::string(" first differs at frame ") +
                          p.first + (p.lastSame.empty() ? " (the first checkpoint)" : " (same at frame " + p.lastSame + ")"));
        } else if (key == "classes") {
            out.push_back("classes made now and not pinned: " + Joined(ClassesOnlyIn(value, was)) +
                          "; pinned and not made now: " + Joined(ClassesOnlyIn(was, value)));
        } else {
            out.push_back(key + " is " + value + ", pinned " + was);
        }
    }
    return out;
}

// What the run drew that its class should not: a cell the oracle does not name for the class,
// or texels no cell claims (the placeholder checker). The font and the layer targets have no
// cells.
std::vector<std::string> CellsDrawnAmiss(const Census& census) {
    static const std::vector<SheetCell> cells = ReadSheetCells(kCellsFile);
    std::map<std::string, std::set<std::string>> oracle;
    for (const ClassCells& c : kClassCells) oracle[c.className].insert(c.cells.begin(), c.cells.end());
    std::set<std::string> amiss;
    for (const DrawnCell& d : census.drawn) {
        const std::string sheet = d.sheet >= 0 ? kSheetNames[d.sheet] : "an unknown batch";
        if (sheet == "font" || sheet == "layer") continue;
        const std::string drawer = d.drawer != nullptr ? ClassName(*d.drawer) : "a draw outside any object's";
        std::ostringstream rect;
        rect << sheet << " (" << d.x << ", " << d.y << ", " << d.w << ", " << d.h << ")";
        const Reading reading = CellsUnder(cells, sheet, d.x, d.y, d.w, d.h);
        if (!reading.covered) {
            amiss.insert(drawer + " drew " + rect.str() + ", which reaches texels no cell claims");
            continue;
        }
        const std::set<std::string>& own = oracle[drawer];
        for (const SheetCell* c : reading.cells) {
            if (own.count(c->name) == 0 && own.count(c->sheet) == 0) {
                amiss.insert(drawer + " drew " + rect.str() + ", which is " + c->name + ", not a cell of its own");
            }
        }
    }
    return {amiss.begin(), amiss.end()};
}

class PinnedRuns : public testing::TestWithParam<PinnedRun> {};

}  // namespace

// A run prints as its name.
void PrintTo(const PinnedRun& run, std::ostream* out) { *out << run.name; }

namespace {

TEST_P(PinnedRuns, ProducesWhatItIsPinnedTo) {
    const PinnedRun& r = GetParam();
    const Played played = Play(r);
    for (const std::string& amiss : CellsDrawnAmiss(*played.census)) ADD_FAILURE() << Describe(r) << ": " << amiss;
    const Pins pins = ReadPins(kPinsFile);
    const auto pinned = pins.find(r.name);
    const std::vector<std::string> differences =
        Differences(pinned != pins.end() ? pinned->second : RunPins{}, played.pins);
    if (Repinning()) {
        if (!differences.empty()) {
            WritePins(kPinsFile, Beside("repin.lock"), r.name, played.pins);
            std::printf("re-pinned %s:\n", Describe(r).c_str());
            for (const std::string& d : differences) std::printf("  %s\n", d.c_str());
        }
        return;
    }
    ASSERT_NE(pinned, pins.end()) << Describe(r) << " is not pinned: run tests/e2e/pinned/repin.sh";
    for (const std::string& d : differences) ADD_FAILURE() << Describe(r) << ": " << d;
}

INSTANTIATE_TEST_SUITE_P(Runs, PinnedRuns, testing::ValuesIn(kPinnedRuns),
                         [](const testing::TestParamInfo<PinnedRun>& info) { return std::string(info.param.name); });

// Every class the factories know is made by a run, as the pinned values say (each run's test
// holds it to them), but for the classes nothing in the game makes and those only skilled play
// makes; and no run makes one of those.
TEST(PinnedRunsTogether, MakeEveryClassTheFactoriesKnowButThoseNothingMakes) {
    Pins pins = ReadPins(kPinsFile);
    std::set<std::string> inTable;
    for (const PinnedRun& r : kPinnedRuns) inTable.insert(r.name);
    for (auto it = pins.begin(); it != pins.end();) {
        const bool stale = inTable.count(it->first) == 0;
        if (stale && Repinning()) {
            WritePins(kPinsFile, Beside("repin.lock"), it->first, {});
            std::printf("dropped %s, no longer a run\n", it->first.c_str());
        }
        EXPECT_TRUE(!stale || Repinning()) << it->first << " is pinned but is no run: run tests/e2e/pinned/repin.sh";
        it = stale ? pins.erase(it) : std::next(it);
    }
    std::set<std::string> made;
    for (const PinnedRun& r : kPinnedRuns) {
        const auto it = pins.find(r.name);
        ASSERT_TRUE(it != pins.end() && it->second.count("classes") != 0) << r.name << " is not pinned";
        for (const std::string& name : ClassesOnlyIn(it->second.at("classes"), "")) made.insert(name);
    }
    std::set<std::string> never;
    std::vector<std::string> madeAfterAll;
    for (const auto* list : {&kNeverMade, &kBeyondSeededPlay}) {
        for (const NeverMade& n : *list) {
            never.insert(n.className);
            if (made.count(n.className) != 0) madeAfterAll.push_back(n.className);
        }
    }
    std::vector<std::string> missing;
    for (int id = 0; id < kTypeCount; ++id) {
        const char* name = kTypeTable[id].className;
        if (FindObjectConstructor(id) != nullptr && made.count(name) == 0 && never.count(name) == 0) missing.push_back(name);
    }
    for (int row = 0; row < kCharacterCodeCount; ++row) {
        const char* name = kCharacterTable[row].className;
        if (name != nullptr && FindCharacterConstructor(kFirstCharacterCode + row) != nullptr && made.count(name) == 0 &&
            never.count(name) == 0) {
            missing.push_back(name);
        }
    }
    EXPECT_TRUE(missing.empty()) << "no run makes " << Joined(missing);
    EXPECT_TRUE(madeAfterAll.empty()) << "listed as made by no run, but a run makes " << Joined(madeAfterAll);
}

}  // namespace
}  // namespace pinned
