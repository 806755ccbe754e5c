// The pinned runs: how each starts and how long it plays.
#pragma once

#include <cstdint>
#include <vector>

namespace pinned {

// A step of a walk through the menus: once the place has been current for the given frames, the
// buttons are pressed one after another, two frames apart. Places: "title", "demo", "ranking",
// "replay", "extermination", and "coop" or "ghost" with the party page's cursor row.
struct MenuStep {
    const char* place;
    int32_t wait;
    std::vector<int32_t> buttons;
};

struct PinnedRun {
    const char* name;    // the test's name and the key of its pinned values
    int32_t mode;        // the game mode the menus set: family x 16 + sub-mode
    int32_t stage;       // 0: the mode's own; else the stage the stage-clear scene would set up next
    int32_t players;
    int32_t members[4];  // character ids, seat 1 first
    int32_t formation;
    int32_t rank;        // the starting arrest level
    int32_t extends;     // lives given to the party at the start, as the stage gives an extend
    int32_t frames;
    uint32_t seed;       // of the seeded input
    int32_t powerEvery;  // a power item is dropped on each member this often (0: never)
    // From this frame on the stage is moved on to just before its boss (0: never): to a few frames
    // before the age bossAge, or in stage 3 to the end of the section before section bossAge.
    int32_t bossClock;
    int32_t bossAge;
    int32_t waveRow = 0;  // the enemy table's row, as a stage ending on it hands it to the next
    // Null: the game starts as the menus start one, on the run's second frame. Else the walk
    // through the menus starts it (mode, party and rank are then the menus').
    const std::vector<MenuStep>* walk = nullptr;
};

extern const std::vector<PinnedRun> kPinnedRuns;
extern const char* const kPinsFile;   // pinned_runs.txt in the source tree
extern const char* const kCellsFile;  // assets/cells.csv

// The stage a run's mode sets up.
int32_t StageOfRun(const PinnedRun& run);

}  // namespace pinned
