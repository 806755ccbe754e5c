// The cost of one busy world frame in the whole program: the real start-up with the platform
// edge faked, then, timed, complete world frames (input, the four passes, every Draw, the batches,
// the composite and the present to memory) with four characters firing, 100 enemies and 1,000
// enemy bullets, all made through the game's factory at places from a fixed seed.
//
//   BM_BusyFrame/0   one such frame, the objects at places anywhere between whole units, as
//                    moving objects stand
//   BM_BusyFrame/1   the same with every place on a whole unit, so that the device can draw
//                    every sprite as a plain rectangle
#include <benchmark/benchmark.h>

#include <cstdint>

#include "e2e/game_run.h"
#include "framework/app/zeth.h"
#include "game/world/factory.h"

namespace {

constexpr int32_t kScriptId = 337;
constexpr int32_t kBeamId = 31;        // tall, all but unbreakable, still without arguments
constexpr int32_t kSnakeBodyId = 66;   // round, all but unbreakable, still without arguments
constexpr int32_t kNormalBulletId = 1;
constexpr int32_t kFireButton = 4;
constexpr int32_t kFourInARow = 4;  // formation code: one row of four characters
constexpr int32_t kWarmUpFrames = 30;

// Stands in for the stage script, which is not part of this measurement.
class QuietScene : public Object {
public:
    QuietScene(float, float, float, float, float, float) { Init(); }
};

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
    world.StartGame(11, 12, 13, 14, kFourInARow, 0, 0);
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

void BM_BusyFrame(benchmark::State& state) {
    RegisterObjectClass(kScriptId, MakeObject<QuietScene>);
    e2e::GameRun run;
    run.keepFrames = false;
    run.Hold(1, kFireButton, true);
    bool timing = false;
    run.onFrame = [&](int32_t frame, ObjectController& world) {
        if (timing) return;  // the frames run below present too
        if (frame == 1) Populate(world, state.range(0) != 0);
        if (frame < kWarmUpFrames) return;
        timing = true;
        for (auto _ : state) world.RunFrame();
        state.counters["enemies"] = static_cast<double>(world.enemies.size());
        state.counters["bullets"] = static_cast<double>(world.enemyBullets.size());
        state.counters["shots"] = static_cast<double>(world.shots.size());
        state.counters["players"] = static_cast<double>(world.players.size());
        timing = false;
        Zeth::Exit();
    };
    run.Run(1 << 30);
    RegisterObjectClass(kScriptId, nullptr);
}
// A fixed number of frames a repetition, each repetition in a new world: left to run, the world
// changes (enemies come and go, bullets hit), and the load with it.
constexpr int kTimedFrames = 200;
BENCHMARK(BM_BusyFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(kTimedFrames)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
