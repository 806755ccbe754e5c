// One pinned run played: the program started from a fresh folder whose score file opens every
// mode, the game started as the menus start one (or by a walk through them), seeded input that
// moves, fires, bombs and passes ghost turns, power items through the game's own factory, and
// the values the run is pinned to, with the census of what it made and drew.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "census.h"
#include "harness/game_run.h"
#include "pins.h"
#include "run_table.h"

namespace pinned {

struct Played {
    RunPins pins;  // score, scorefile, made, classes, world, frames, scenes, exit
    std::unique_ptr<Census> census;
};

// Called after every presented frame with its number, while the run's ShownPixel reads it.
using FrameLook = std::function<void(int32_t frame, const e2e::GameRun& run)>;

// Holds this folder (its score file, replays and log) from the start of the run to the end.
Played Play(const PinnedRun& run, const FrameLook& look = {});

// A file of the folder the runs use (the executable's).
std::string Beside(const std::string& name);

}  // namespace pinned
