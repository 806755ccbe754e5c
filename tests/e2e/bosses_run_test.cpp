// The stage 1 boss and a mid-boss in a whole-program run: one character fires at the boss as
// the boss timeline brings it, sees it destroyed into its blast sequence and the stage end
// reported; then a three-cannon comes as a mid-boss wave brings it, unlocks after its 24 volleys
// (the character holding its fire meanwhile) and, destroyed, pays the mortal-wound bonus. The
// run repeats frame for frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/world/factory.h"
#include "game/world/type_table.h"
#include "harness/game_run.h"
#include "stand_ins.h"

namespace {

constexpr int32_t kFireButton = 4;
constexpr int32_t kBossFrame = 3;
constexpr int32_t kBossFinish = 1000;   // a survivor is finished off from here
constexpr int32_t kCannonFrame = 1210;  // fire is let go five frames before
constexpr int32_t kCannonFire = 1360;   // and taken up again once it has unlocked
constexpr int32_t kCannonFinish = 1500;
constexpr int32_t kFrames = 1600;

// Stands in for the mid-boss wave that owns the three-cannon.
class StandInWave : public Object {
public:
    StandInWave() { Init(); }
};

struct Seen {
    int32_t bossFire = 0;        // frames with its wall bullets or aimed bullets in play
    int32_t bossBlastFrames = 0;  // frames the boss blast sequence was in play
    int32_t cannonGoneFrame = -1;
    size_t codesAtCannon = 0;
};

bool IsType(const Object* o, int32_t kind, int32_t width) { return o->kind == kind && o->width == width; }

std::vector<int32_t> Play(Seen* seen, e2e::RunResult* result) {
    e2e::RecordedScene() = e2e::SceneRecord{};
    StandInWave wave;
    Object* boss = nullptr;
    Object* cannon = nullptr;
    e2e::GameRun run;
    run.Hold(2, kFireButton, true);
    run.Hold(kCannonFrame - 5, kFireButton, false);
    run.Hold(kCannonFire, kFireButton, true);
    run.onFrame = [&](int32_t frame, ObjectController& world) {
        if (frame == 1) e2e::StartNatsukiAlone(world);
        world.ArrestLevel = 8;
        if (frame == kBossFrame) boss = world.CreateObject(type_id::E_Stage1_Boss, 128, -31, 0, 2.0f, 0, 0, nullptr);
        if (boss != nullptr) {
            const bool present = std::find(world.enemies.begin(), world.enemies.end(), boss) != world.enemies.end();
            if (!present) {
                boss = nullptr;
            } else {
                if (!world.enemyBullets.empty() || world.enemies.size() > 1) seen->bossFire += 1;
                if (frame >= kBossFinish && boss->state == kAlive) boss->Damage(&world, 1.0e6f);
            }
        }
        for (const Object* o : world.others) seen->bossBlastFrames += IsType(o, 100, 96) ? 1 : 0;
        if (frame == kCannonFrame) {
            world.VanishBullets();
            seen->codesAtCannon = e2e::RecordedScene().codes.size();
            cannon = world.CreateObject(type_id::E_3Cannon_B, 128, 0, 0, 0, 0, 0, &wave);
            cannon->angle = 0;  // its level, as a kind-128 wave gives it
        }
        if (cannon != nullptr) {
            const bool present = std::find(world.enemies.begin(), world.enemies.end(), cannon) != world.enemies.end();
            if (!present) {
                seen->cannonGoneFrame = frame;
                cannon = nullptr;
            } else if (frame >= kCannonFinish && cannon->state == kAlive) {
                cannon->Damage(&world, 1.0e6f);
            }
        }
    };
    *result = run.Run(kFrames);
    return e2e::RecordedScene().codes;
}

TEST(BossesRun, StageOneBossEndsTheStageAndTheCannonUnlocks) {
    ASSERT_TRUE(RegisterObjectClass(type_id::Script, MakeObject<e2e::RecordingScene>));
    Seen first, second;
    e2e::RunResult a, b;
    const std::vector<int32_t> codes = Play(&first, &a);
    const std::vector<int32_t> again = Play(&second, &b);
    RegisterObjectClass(type_id::Script, nullptr);

    EXPECT_GT(first.bossFire, 0);
    EXPECT_GT(first.bossBlastFrames, 0);
    ASSERT_LE(first.codesAtCannon, codes.size());
    const std::vector<int32_t> bossCodes(codes.begin(), codes.begin() + static_cast<std::ptrdiff_t>(first.codesAtCannon));
    EXPECT_NE(std::find(bossCodes.begin(), bossCodes.end(), 12), bossCodes.end());
    const std::vector<int32_t> cannonCodes(codes.begin() + static_cast<std::ptrdiff_t>(first.codesAtCannon), codes.end());
    EXPECT_NE(std::find(cannonCodes.begin(), cannonCodes.end(), 7), cannonCodes.end());
    EXPECT_GT(first.cannonGoneFrame, kCannonFrame);
    EXPECT_EQ(codes, again);
    EXPECT_EQ(a.frameHashes, b.frameHashes);
}

}  // namespace
