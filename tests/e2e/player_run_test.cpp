// A one-character game in the whole program: Natsuki moves and fires, is hit four times,
// returns after each loss with invincibility, and the stage hears game over when the lives run
// out. The stage scene and the blast effect are stand-ins until their own classes exist.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/player/characters.h"
#include "game/player/pc_controller.h"
#include "harness/game_run.h"
#include "stand_ins.h"

namespace {

using e2e::SceneCodes;
using e2e::StandIns;

struct Seen {
    std::vector<float> x;                  // Natsuki's x each frame of her current life
    float farthestRight = 0.0f;
    int fastestShotsUp = 0;                // most S_Gunnac rising at 8 a frame in one frame
    std::vector<int32_t> lossFrames;       // frames on which her seat emptied
    std::vector<int32_t> returnFrames;     // frames on which she was back
    std::vector<int32_t> returnInvincible; // her invincibility then
    std::vector<int32_t> lives;
};

constexpr int kStart = 2;
constexpr int kFrames = 700;

void Play(e2e::GameRun& run, Seen* seen) {
    run.Hold(kStart + 3, 3, true);  // right
    run.Hold(kStart + 23, 3, false);
    run.Hold(kStart + 3, 4, true);  // fire
    run.onFrame = [seen](int32_t frame, ObjectController& world) {
        if (frame == kStart) {
            world.SetPlayerCount(1);
            world.gameMode = 0;
            world.StartGame(11, 12, 13, 14, 1, 0, 0);
            return;
        }
        auto* party = dynamic_cast<PCController*>(world.pcController);
        if (frame < kStart || party == nullptr) return;
        PC* natsuki = party->members[0];
        bool wasIn = !seen->x.empty();
        if (natsuki == nullptr) {
            if (wasIn) seen->lossFrames.push_back(frame);
            seen->x.clear();
            return;
        }
        if (!wasIn && !seen->lossFrames.empty()) {
            seen->returnFrames.push_back(frame);
            seen->returnInvincible.push_back(natsuki->invincible);
        }
        seen->x.push_back(natsuki->x);
        seen->farthestRight = std::max(seen->farthestRight, natsuki->x);
        int up = 0;
        for (Object* s : world.shots) up += s->vx == 0.0f && s->vy == -8.0f;
        seen->fastestShotsUp = std::max(seen->fastestShotsUp, up);
        // Hit once she has flown a while and is not shielded, as an enemy bullet would.
        if (natsuki->invincible == 0 && natsuki->age > 30) {
            natsuki->Damage(&world, 1.0f);
            seen->lives.push_back(party->lives);
        }
    };
}

}  // namespace

TEST(PlayerRun, NatsukiFliesFiresLosesHerLivesAndTheStageHearsGameOver) {
    StandIns standIns;
    e2e::GameRun first;
    Seen seen;
    Play(first, &seen);
    e2e::RunResult a = first.Run(kFrames);
    EXPECT_EQ(a.exitCode, 0);

    EXPECT_GE(seen.farthestRight, 128.0f + 40.0f);  // right was held for 20 frames at 3 a frame
    EXPECT_GE(seen.fastestShotsUp, 4);
    EXPECT_EQ(seen.lives, (std::vector<int32_t>{3, 2, 1, 0}));
    EXPECT_EQ(seen.lossFrames.size(), 4u);
    ASSERT_EQ(seen.returnFrames.size(), 3u);
    for (size_t i = 0; i < seen.returnFrames.size(); ++i) {
        EXPECT_EQ(seen.returnFrames[i] - seen.lossFrames[i], 60) << i;
        EXPECT_EQ(seen.returnInvincible[i], 120) << i;  // alone in the players list: her first Run is the next frame
    }
    int gameOvers = 0;
    for (int32_t code : SceneCodes()) gameOvers += code == 5;
    EXPECT_EQ(gameOvers, 1);

    e2e::GameRun second;
    Seen again;
    Play(second, &again);
    e2e::RunResult b = second.Run(kFrames);
    EXPECT_EQ(a.frameHashes, b.frameHashes);
    EXPECT_EQ(seen.lossFrames, again.lossFrames);
}

TEST(PlayerRun, NatsukisShipIsDrawnWhereSheIs) {
    StandIns standIns;
    e2e::GameRun run;
    float x = 0, y = 0;
    run.onFrame = [&](int32_t frame, ObjectController& world) {
        if (frame == kStart) {
            world.SetPlayerCount(1);
            world.gameMode = 0;
            world.StartGame(11, 12, 13, 14, 1, 0, 0);
        }
        auto* party = dynamic_cast<PCController*>(world.pcController);
        if (party != nullptr && party->members[0] != nullptr) {
            x = party->members[0]->x;
            y = party->members[0]->y;
        }
    };
    e2e::RunResult r = run.Run(12);
    ASSERT_GT(x, 0.0f);
    // The playfield is doubled onto the screen at x 64: the ship's middle texel is painted.
    uint32_t middle = run.Pixel(r, 64 + 2 * static_cast<int>(x), 2 * static_cast<int>(y)) & 0xFFFFFF;
    EXPECT_NE(middle, 0u);
    uint32_t beside = run.Pixel(r, 64 + 2 * (static_cast<int>(x) + 12), 2 * static_cast<int>(y)) & 0xFFFFFF;
    EXPECT_EQ(beside, 0u);
}
