// The whole program played for a long time at full speed: the title and its attract demo, then
// games with seeded random input in every mode a player picks (cooperative with 1-4 players,
// ghost with 2-4, the 2MIN and 5MIN attacks), each game's replay played back afterwards. The
// length comes from SOAK_FRAMES (20,000 unless set; the long soak sets 216,000, an hour).
// Checked: every replay repeats its game (the same score and world on every frame), resident
// memory on the last frame is within 5% of that at frame 3,600, the heap in use between games
// grows by less than a leaked block a frame would make it, every resource manager lists as many
// objects after the last game as after the first, and no object list ever grows past a bound
// that only leaked objects reach.
#include <gtest/gtest.h>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "framework/graphics/managers.h"
#include "framework/graphics/sprite.h"
#include "framework/graphics/surface.h"
#include "framework/graphics/texture.h"
#include "game/stage/script.h"
#include "harness/game_run.h"
#include "platform/os/os.h"

namespace {

// The heap may grow by this many bytes a frame across the run: what the games keep comes to
// about one. A block leaked on every frame, even one of a few bytes, costs 24 or more.
constexpr size_t kHeapGrowthPerFrame = 4;
// The busiest stage holds a few hundred objects in one list; thousands would be a leak.
constexpr size_t kListBound = 3000;
constexpr int32_t kTitleFrames = 2000;  // the title, long enough for its attract demo to run
// Frames on the title between two games: what the last game left (blasts, shots) is gone by then.
constexpr int32_t kBetweenGames = 240;
constexpr int32_t kButtons = 7;         // arrows, Z, X, C: never the pause button
// Characters a player can pick, and the formation each party size starts with.
constexpr int32_t kCharacters[] = {0, 1, 9, 11, 12, 13, 14, 21, 25, 28};
constexpr int32_t kFormations[4] = {1, 2, 12, 121};

struct Game {
    int32_t mode;
    int32_t players;
};
// Cooperative 1-4, ghost 2-4, the 2MIN and 5MIN attacks.
constexpr Game kGames[] = {{0, 1}, {0, 2}, {0, 3}, {0, 4}, {16, 2}, {16, 3}, {16, 4}, {10, 1}, {11, 2}};

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
// The sanitizer's own count of the bytes its heap has handed out (GCC ships no header for it).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
constexpr bool kAddressSanitizer = false;
#endif

int32_t SoakFrames() {
    const char* text = std::getenv("SOAK_FRAMES");
    return text != nullptr ? std::atoi(text) : 20000;
}

size_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    size_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

// Bytes handed out by the heap and not given back: exact, unlike the resident size, which moves
// by whole pages as the allocator keeps or returns them. AddressSanitizer has a heap of its own.
size_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

// The number of objects each resource manager lists (sprites, textures, fonts, ...).
std::vector<uint32_t> ManagedObjects() {
    std::vector<uint32_t> counts;
    Zeth::ForEach2DManager([&counts](CObject2DManager& manager) { counts.push_back(manager.GetCount()); });
    const CObjectList* managers[] = {ZethTexture::GetManager(), ZethSurface::GetManager(), ZethSheet::GetManager(),
                                     Zeth::GetFontManager(), Zeth::GetSprite3DManager(), Zeth::GetPrimitive3DManager(),
                                     Zeth::GetLine3DManager(), Zeth::GetPoint3DManager(), Zeth::GetFontSprite2DManager(),
                                     Zeth::GetFontSprite3DManager(), Zeth::GetModelManager()};
    for (const CObjectList* manager : managers) counts.push_back(manager != nullptr ? manager->GetCount() : 0);
    return counts;
}

uint64_t Mix(uint64_t h, uint64_t value) { return (h ^ value) * 1099511628211ull; }

// The game's state on one frame: its score and every object's place, list by list.
uint64_t WorldHash(ObjectController& world, int32_t score) {
    uint64_t h = Mix(1469598103934665603ull, static_cast<uint32_t>(score));
    for (ObjectList* list : {&world.enemies, &world.enemyBullets, &world.players, &world.shots, &world.others, &world.items}) {
        h = Mix(h, list->size());
        for (Object* o : *list) {
            uint32_t bits[2];
            std::memcpy(bits, &o->x, 4);
            std::memcpy(bits + 1, &o->y, 4);
            h = Mix(Mix(h, bits[0]), bits[1]);
        }
    }
    return h;
}

Script* RunningScript(ObjectController& world) { return dynamic_cast<Script*>(world.currentScene); }

// Whether the game's stage script is still in the world (scenes it makes, such as the stage
// clear, take the current scene's place while it goes on).
bool Alive(ObjectController& world, const Script* script) {
    return script != nullptr && std::find(world.others.begin(), world.others.end(), script) != world.others.end();
}

// What one game left: its replay file, and the score and world of each frame it ran.
struct Played {
    Game game;
    std::vector<uint8_t> replay;
    std::vector<uint64_t> hashes;
    std::vector<int32_t> scores;
    Script* script;  // the game's own stage script, while it runs
};

// Plays the game's replay in a fresh run of the program and returns the frames it saw.
Played PlayBack(const Played& recorded) {
    const std::string path = platform::ExecutableFolder() + "/replay/lastreplay.qvrep";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(recorded.replay.data()),
                                                 static_cast<std::streamsize>(recorded.replay.size()));
    Played seen{recorded.game, {}, {}, {}, nullptr};
    e2e::GameRun run;
    run.keepFrames = false;
    const int32_t start = 2;
    run.onFrame = [&](int32_t frame, ObjectController& world) {
        if (frame == start) {  // as the replay list starts a replay
            world.ClearScene();
            world.ResetController();
            world.StartGame(0, 0, 0, 0, 0, 1, kLastReplaySlot);
            seen.script = RunningScript(world);
            return;
        }
        if (frame < start || !Alive(world, seen.script) || seen.hashes.size() >= recorded.hashes.size()) return;
        seen.hashes.push_back(WorldHash(world, seen.script->score));
        seen.scores.push_back(seen.script->score);
    };
    run.Run(start + static_cast<int32_t>(recorded.hashes.size()) + 4);
    return seen;
}

TEST(Soak, GamesAndTheirReplaysRepeatMemoryStaysFlatAndListsStayBounded) {
    const int32_t total = SoakFrames();
    const int32_t perGame = (total - kTitleFrames) / static_cast<int32_t>(std::size(kGames));
    ASSERT_GT(perGame, 2 * kBetweenGames);
    std::filesystem::create_directories(platform::ExecutableFolder() + "/replay");
    std::mt19937 random(20261207);

    e2e::GameRun run;
    run.keepFrames = false;
    // Seeded random input while each game runs: each button goes down or up at random moments;
    // all are let go when the game is ended, so that the title stays quiet until the next one.
    for (int32_t start = kTitleFrames; start < total; start += perGame) {
        const int32_t end = start + perGame - kBetweenGames;
        for (int32_t frame = start; frame < end; frame += 1 + static_cast<int32_t>(random() % 12)) {
            run.Hold(frame, static_cast<int32_t>(random() % kButtons), random() % 3 != 0);
        }
        for (int32_t button = 0; button < kButtons; ++button) run.Hold(end, button, false);
    }
    std::vector<Game> order(std::begin(kGames), std::end(kGames));
    std::vector<Played> games;
    const int32_t frames = kTitleFrames + perGame * static_cast<int32_t>(order.size());
    // Read while the program still runs: its shutdown frees megabytes, which would hide a leak.
    size_t residentAt3600 = 0, residentAtEnd = 0, largestList = 0;
    // Keeps the replay the game just saved (before anything can write another).
    auto finish = [](Played& game) {
        game.script = nullptr;
        std::ifstream in(platform::ExecutableFolder() + "/replay/lastreplay.qvrep", std::ios::binary);
        game.replay.assign(std::istreambuf_iterator<char>(in), {});
    };
    // At the end of each game's stretch on the title (the world as bare as between any two games):
    // the heap in use, less what this test keeps of the games, and each manager's object count.
    std::vector<size_t> heap;
    std::vector<std::vector<uint32_t>> managed;
    run.onFrame = [&](int32_t frame, ObjectController& world) {
        if (frame >= kTitleFrames && (frame - kTitleFrames) % perGame == perGame - 1) {
            size_t kept = games.capacity() * sizeof(Played);
            for (const Played& game : games) {
                kept += game.hashes.capacity() * sizeof(uint64_t) + game.scores.capacity() * sizeof(int32_t) +
                        game.replay.capacity();
            }
            heap.push_back(HeapInUse() - kept);
            managed.push_back(ManagedObjects());
        }
        for (ObjectList* list : {&world.enemies, &world.enemyBullets, &world.players, &world.shots, &world.others, &world.items}) {
            largestList = std::max(largestList, list->size());
        }
        if (frame == 3600) residentAt3600 = ResidentBytes();
        if (frame == frames - 1) residentAtEnd = ResidentBytes();
        if (frame < kTitleFrames) return;
        const int32_t index = (frame - kTitleFrames) / perGame;
        const int32_t into = (frame - kTitleFrames) % perGame;
        // A game the stage has not ended by now is ended as a player ends it: saved, then F4
        // back to the title (from wherever the random input led), where the next one starts later.
        if (into == perGame - kBetweenGames && index < static_cast<int32_t>(games.size())) {
            Played& last = games.back();
            if (Alive(world, last.script)) {
                world.replay.header.finalScore = last.script->score;
                world.replay.Save();
                finish(last);
            }
            world.ReturnToTitle();
            return;
        }
        const bool first = into == 0;
        if (first && index < static_cast<int32_t>(order.size())) {
            const Game game = order[static_cast<size_t>(index)];
            int32_t ids[4];
            for (int32_t& id : ids) id = kCharacters[random() % std::size(kCharacters)];
            // As the menus start a game.
            world.ClearScene();
            world.ResetController();
            world.SetPlayerCount(game.players);
            world.gameMode = game.mode;
            world.StartGame(ids[0], ids[1], ids[2], ids[3], kFormations[game.players - 1], 0, 0);
            games.push_back({game, {}, {}, {}, RunningScript(world)});
            return;
        }
        if (games.empty() || games.back().script == nullptr) return;
        Played& game = games.back();
        if (!Alive(world, game.script)) {  // the stage ended the game and saved its replay
            finish(game);
            return;
        }
        game.hashes.push_back(WorldHash(world, game.script->score));
        game.scores.push_back(game.script->score);
    };
    const e2e::RunResult result = run.Run(frames);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.messageBoxes.empty());
    EXPECT_LE(largestList, kListBound);
    ASSERT_EQ(games.size(), order.size());
    // AddressSanitizer keeps freed blocks in quarantine (up to 256 MB), so resident memory grows
    // there whatever the game does; the memory check only means something in the normal build.
    if (total >= 3600 && !kAddressSanitizer) {
        EXPECT_NE(residentAtEnd, 0u) << "no last frame";
        EXPECT_LE(residentAtEnd, residentAt3600 + residentAt3600 / 20) << residentAt3600 << " -> " << residentAtEnd;
    }

    ASSERT_EQ(heap.size(), order.size());
    const size_t heapBound = heap.front() + kHeapGrowthPerFrame * static_cast<size_t>(perGame) * (heap.size() - 1);
    EXPECT_LE(heap.back(), heapBound) << heap.front() << " -> " << heap.back() << " bytes in "
                                      << perGame * static_cast<int32_t>(heap.size() - 1) << " frames";
    for (size_t i = 1; i < managed.size(); ++i) EXPECT_EQ(managed[i], managed.front()) << "after game " << i;

    for (const Played& game : games) {
        SCOPED_TRACE("mode " + std::to_string(game.game.mode) + ", " + std::to_string(game.game.players) + " players");
        ASSERT_FALSE(game.replay.empty());
        ASSERT_FALSE(game.hashes.empty());
        const Played back = PlayBack(game);
        ASSERT_EQ(back.hashes.size(), game.hashes.size());
        EXPECT_EQ(back.scores.back(), game.scores.back());
        size_t firstDifference = 0;
        while (firstDifference < game.hashes.size() && back.hashes[firstDifference] == game.hashes[firstDifference]) {
            ++firstDifference;
        }
        EXPECT_EQ(firstDifference, game.hashes.size()) << "the replay parts from its game on its frame " << firstDifference;
    }
    std::filesystem::remove_all(platform::ExecutableFolder() + "/replay");
}

}  // namespace
