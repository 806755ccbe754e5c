#include "play_run.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <unordered_map>

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
#include "game/world/message_codes.h"
#include "game/world/score_data.h"
#include "platform/os/os.h"

namespace pinned {

std::string Beside(const std::string& name) { return platform::ExecutableFolder() + "/" + name; }

namespace {

constexpr int32_t kWorldEvery = 240;  // frames between two pinned world hashes
constexpr int32_t kStartFrame = 2;    // the title has run its first frames
constexpr int32_t kButtons = 7;       // arrows, Z, X, C: never the pause button
constexpr int32_t kFireButton = 4;

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

// Starts the run's game as the menus start one; then the stage, wave row and extends the run
// asks for, as a stage clear hands them on and the stage gives them.
void StartGame(ObjectController& w, const PinnedRun& r) {
    w.ClearScene();
    w.ResetController();
    w.SetPlayerCount(r.players);
    w.gameMode = r.mode;
    w.ArrestLevel = r.rank;
    w.StartGame(r.members[0], r.members[1], r.members[2], r.members[3], r.formation, 0, 0);
    w.shotCounter = 0;  // the aimed fire's pacing, kept by the world across games
    if (r.stage != 0) w.currentScene->OnMessage(Msg(3, stage_message::kStageSetUp, r.stage));
    if (r.waveRow != 0) w.currentScene->OnMessage(Msg(3, stage_message::kWaveRowSet, r.waveRow));
    for (int32_t i = 0; i < r.extends; ++i) w.pcController->OnMessage(Msg(3, party_message::kExtend, &w));
}

}  // namespace

Played Play(const PinnedRun& r, const FrameLook& look) {
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
    std::string world, frames, scenes;
    const std::type_info* lastScene = nullptr;
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
        } else if (frame == kStartFrame) {
            StartGame(w, r);
            started = true;
        }
        auto* script = dynamic_cast<Script*>(w.currentScene);
        // A replay played back gets no buttons: they would fast-forward it.
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
        const std::type_info* scene = w.currentScene != nullptr ? &typeid(*w.currentScene) : nullptr;
        if (scene != lastScene) {
            scenes += (scenes.empty() ? "" : " ") + std::to_string(frame) + ":" + (scene != nullptr ? ClassName(*scene) : "none");
            lastScene = scene;
        }
        if (frame > 0 && frame % kWorldEvery == 0) {
            world += (world.empty() ? "" : " ") + std::to_string(frame) + ":" + Hex(worldHash(w) & 0xFFFFFFFFu, 8);
        }
        for (int32_t f : hashed) {
            if (frame == f) frames += (frames.empty() ? "" : " ") + std::to_string(frame) + ":" + Hex(run.ShownFrameHash(), 16);
        }
        if (look) look(frame, run);
    };
    const e2e::RunResult result = run.Run(r.frames);
    out.pins["score"] = std::to_string(score);
    out.pins["scorefile"] = Hex(FileHash(Beside(kScoreFileName)), 16);
    out.pins["made"] = MadeByKind(*out.census);
    out.pins["classes"] = MadeClasses(*out.census);
    out.pins["world"] = world;
    out.pins["frames"] = frames;
    out.pins["scenes"] = scenes;
    out.pins["exit"] = std::to_string(result.exitCode) + " boxes " + std::to_string(result.messageBoxes.size());
    return out;
}

}  // namespace pinned
