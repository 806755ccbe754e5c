// The cost of one busy frame of a running stage in the whole program: the real start-up with the
// platform edge faked, a game of four characters started on the first stage (its script, star
// field, scrolling background and heads-up display), then 100 enemies and 1,000 enemy bullets
// made through the game's factory at places from a fixed seed, and, timed, complete world frames
// while every character fires: hits, their effects and the explosions included.
//
//   BM_BusyFrame/0   one whole frame (input, Run, Move, collisions, sweep, every Draw, the
//                    batches, the composite and the present to memory), the still objects at
//                    places anywhere between whole units, as moving objects stand
//   BM_BusyFrame/1   the same with the still objects on whole units
//   BM_BusySim       the simulation part of the same frames (RunFrame but DrawAll)
//   BM_BusyDraw      their drawing alone (DrawAll: every Draw to the present)
//
// Each repetition starts the program afresh and times the same frames of the same game, so the
// load is the same from repetition to repetition and from run to run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

#include "framework/app/zeth.h"
#include "game/stage/script.h"
#include "game/world/object_controller.h"
#include "harness/game_run.h"

namespace {

constexpr int32_t kBeamId = 31;        // tall, all but unbreakable, still without arguments
constexpr int32_t kSnakeBodyId = 66;   // round, all but unbreakable, still without arguments
constexpr int32_t kNormalBulletId = 1;
constexpr int32_t kFireButton = 4;
constexpr int32_t kFourInARow = 4;  // formation code: one row of four characters
constexpr int32_t kWarmUpFrames = 30;
// A fixed number of frames a repetition: enough for a stable median, few enough that the
// world does not drift (the stage's first boss and the end of its map are far later).
constexpr int kTimedFrames = 200;
constexpr int kRepetitions = 5;

// Places from a fixed seed, optionally on whole units.
class Places {
public:
    explicit Places(bool whole) : whole_(whole) {}
    float Next(float low, float high) {
        seed_ = seed_ * 1103515245u + 12345u;
        const float place = low + static_cast<float>((seed_ >> 8) % 10000u) * (high - low) / 10000.0f;
        return whole_ ? static_cast<float>(static_cast<int32_t>(place)) : place;
    }

private:
    bool whole_;
    uint32_t seed_ = 20261207u;
};

void Populate(ObjectController& world, bool wholeUnits) {
    world.SetPlayerCount(4);
    world.gameMode = 0;  // the first stage
    world.StartGame(11, 12, 13, 14, kFourInARow, 0, 0);
    // The stage's own waves would add enemies as the timed frames go on; the enemies below
    // stand in for them, so that the load stays at 100 enemies.
    if (auto* stage = dynamic_cast<Script*>(world.currentScene)) stage->wavesOn = 0;
    Places places(wholeUnits);
    for (int i = 0; i < 100; ++i) {
        const float x = places.Next(8.0f, 248.0f);
        const float y = places.Next(8.0f, 120.0f);
        world.CreateObject(i % 2 == 0 ? kBeamId : kSnakeBodyId, x, y, 0, 0, 0, 0, nullptr);
    }
    // Still bullets above the party: the frame's load stays the same from frame to frame.
    for (int i = 0; i < 1000; ++i) {
        const float x = places.Next(4.0f, 252.0f);
        const float y = places.Next(4.0f, 140.0f);
        world.CreateObject(kNormalBulletId, x, y, 0, 0, 0, 0, nullptr);
    }
}

// Which part of each frame a benchmark times.
enum class Part { kWhole, kSimulation, kDrawing };

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// One repetition: the program started, the game set up and warmed up, then one timed frame per
// iteration. Every benchmark runs the same frames; they differ only in what they time.
void RunBusyStage(benchmark::State& state, bool wholeUnits, Part part) {
    e2e::GameRun run;
    run.keepFrames = false;
    run.Hold(1, kFireButton, true);
    bool timing = false;
    run.onFrame = [&](int32_t frame, ObjectController& world) {
        if (timing) return;  // the frames run below present too
        if (frame == 1) Populate(world, wholeUnits);
        if (frame < kWarmUpFrames) return;
        timing = true;
        for (auto _ : state) {
            if (part == Part::kWhole) {
                world.RunFrame();
                continue;
            }
            const Clock::time_point start = Clock::now();
            world.UpdateWorld();
            const Clock::time_point updated = Clock::now();
            world.DrawAll(1);
            const Clock::time_point drawn = Clock::now();
            world.CloseFrame();
            const Clock::time_point closed = Clock::now();
            state.SetIterationTime(part == Part::kDrawing ? Seconds(updated, drawn)
                                                          : Seconds(start, updated) + Seconds(drawn, closed));
        }
        state.counters["enemies"] = static_cast<double>(world.enemies.size());
        state.counters["bullets"] = static_cast<double>(world.enemyBullets.size());
        state.counters["shots"] = static_cast<double>(world.shots.size());
        state.counters["others"] = static_cast<double>(world.others.size());
        state.counters["players"] = static_cast<double>(world.players.size());
        timing = false;
        Zeth::Exit();
    };
    run.Run(1 << 30);
}

void BM_BusyFrame(benchmark::State& state) { RunBusyStage(state, state.range(0) != 0, Part::kWhole); }
void BM_BusySim(benchmark::State& state) { RunBusyStage(state, false, Part::kSimulation); }
void BM_BusyDraw(benchmark::State& state) { RunBusyStage(state, false, Part::kDrawing); }

BENCHMARK(BM_BusyFrame)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(kTimedFrames)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_BusySim)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(kTimedFrames)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_BusyDraw)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(kTimedFrames)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
