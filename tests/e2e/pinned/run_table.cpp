#include "run_table.h"

namespace pinned {

const char* const kPinsFile = PINNED_RUNS_FILE;
const char* const kCellsFile = CELLS_FILE;

namespace {

constexpr int32_t kUp = 0, kDown = 1, kRight = 3, kDecide = 4, kCancel = 5;

// From the title left alone to the attract demo, then the ranking, the replay list and the
// extermination menu, which sets up a ghost game of node 2 that the party page starts; after its
// result the replay list plays the game back (which must leave the score file as the game did).
// It drops no power items: the replay would not hold them, and the playback must repeat the game.
const std::vector<MenuStep> kThroughTheMenus = {
    {"demo", 8100, {kDecide}},  // past bar 26, the first masked message
    {"title", 3, {kDown, kDown, kDown, kDown, kDecide}},  // RANKING
    {"ranking", 3, {kCancel}},
    {"title", 3, {kUp, kDecide}},  // REPLAY
    {"replay", 3, {kCancel}},
    {"title", 3, {kUp, kDecide}},  // EXTERMINATION
    {"extermination", 3, {kUp, kRight, kUp, kRight, kDown, kDown, kDecide}},  // GHOST, NODE 2, OK!
    {"ghost 0 0", 3, {kDecide}},
    {"ghost 0 2", 3, {kDecide}},
    {"ghost 0 16", 3, {kDecide}},
    {"result", 40, {kDecide}},
    {"title", 3, {kDown, kDecide}},  // REPLAY
    {"replay", 3, {kDecide}},        // the last game
    {"result", 40, {kDecide}},
};

}  // namespace

// Characters: 0 Noa, 1 Akimi, 9 Keito, 11 Natsuki, 12 Sayaka, 13 Karen, 14 Hikaru, 21 Minato,
// 25 Aiko, 28 Yuu.
const std::vector<PinnedRun> kPinnedRuns = {
    // name             mode stage n  party              form rank ext frames seed power clock   age  row
    {"CoopAloneStage1",    0, 0,  1, {11, 12, 13, 14},    1,  4,  0,  4000,  1,    0,     0,     0},
    {"CoopFourStage1",     0, 0,  4, {21, 25, 28, 9},   121,  8, 40, 18000,  2,  500,     0,     0},
    {"CoopFourStage2",     0, 2,  4, {0, 1, 12, 13},    121,  8,  9,  6000,  5,  700,     0,     0,  4},
    {"CoopThreeStage3",    3, 0,  3, {14, 11, 21},       12, 12, 30,  7000,  6,  600,  2700,    15,  8},
    {"Node1Row1",          1, 0,  1, {0},                 1, 10,  9,  6000, 21,    0,     0,     0,  1},
    {"Node1Row3",          1, 0,  1, {1},                 1, 10,  9,  6000, 22,    0,     0,     0,  3},
    {"Node4",              4, 0,  2, {25, 28},            2,  2,  9,  2400,  7,  600,     0,     0},
    {"Node5",              5, 0,  2, {9, 0},              2, 16,  9,  4000,  8,  300,     0,     0, 12},
    {"Node6",              6, 0,  2, {1, 12},             2,  6,  9,  3000,  9,  600,     0,     0},
    {"Node7",              7, 0,  2, {13, 14},           11, 10,  9,  4000, 10,  600,     0,     0,  6},
    {"Node8",              8, 0,  2, {11, 21},            2, 12,  9,  3000, 11,  600,     0,     0},
    {"Node9",              9, 0,  2, {25, 28},            2, 14,  9,  6000, 12,  600,  2000, 16384, 10},
    {"Attack2Min",        10, 0,  1, {9},                 1,  8,  9,  7600, 13,  600,     0,     0},
    {"Attack5Min",        11, 0,  2, {0, 1},              2, 16,  9,  4000, 14,  600,     0,     0},
    {"Vengeance",         12, 0,  2, {12, 13},           11, 16,  9,  4000, 15,  600,     0,     0},
    {"GhostTwo",          16, 0,  2, {0, 1, 13, 14},      2,  4,  9,  3000,  3,    0,   300,  1280},
    {"GhostFour",         16, 0,  4, {12, 13, 14, 11},  121,  8,  9,  5000, 30,    0,   300,  2560},
    {"GhostNode1",        17, 0,  4, {21, 25, 28, 9},   121,  8,  9,  3000, 16,  600,     0,     0},
    {"GhostNode3",        19, 0,  4, {9, 28, 25, 21},   121,  8,  9,  3000, 18,  600,     0,     0},
    {"GhostAttack2Min",   26, 0,  4, {21, 25, 28, 9},   121,  8,  9,  3000, 19,  600,     0,     0},
    {"GhostAttack5Min",   27, 0,  3, {0, 1, 11},         12,  8,  9,  3000, 20,  600,     0,     0},
    {"MenusToGhostNode2", 18, 0,  4, {11, 12, 13, 14},  121,  0,  0, 15000, 17,    0,     0,     0,  0, &kThroughTheMenus},
};

int32_t StageOfRun(const PinnedRun& run) {
    if (run.mode == 0) return 1;
    if (run.mode == 13) return 3;
    if (run.mode == 16) return 16;
    return run.mode % 16;
}

}  // namespace pinned
