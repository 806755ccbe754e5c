// One-character games in the whole program for the characters whose weapons are built: each is
// started alone, raised to the top level by power items, and fires with the first button held;
// Keito also switches patterns with the second and strikes a stand-in enemy with his lasers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "game/player/characters.h"
#include "game/player/pc_controller.h"
#include "game/player/shots_cf.h"
#include "game_run.h"
#include "stand_ins.h"

namespace {

constexpr int kStart = 2;
constexpr int kFire1 = 4;
constexpr int kFire2 = 5;

// An enemy that only counts the hits it takes.
class StandInEnemy : public Object {
public:
    StandInEnemy(float px, float py) {
        x = px;
        y = py;
        hitHalfWidth = hitHalfHeight = 8;
        hp = maxHp = 1e6f;
    }
    void Damage(ObjectController*, float amount) override { hits += amount > 0.0f; }
    int hits = 0;
};

struct Seen {
    int32_t level = -1;        // after the power items
    int mostInFlight = 0;      // shots of the main kind
    int made = 0;              // shots of the main kind made
    std::set<int32_t> patterns;
    std::vector<int32_t> patternOrder;
    int mostBarriers = 0;
    bool barriersOnCircle = true;
    bool laserLaunched = false;
    int enemyHits = 0;
};

// Plays one character from start; Keito also cycles his patterns and meets an enemy.
e2e::RunResult Play(int32_t characterId, int32_t shotKind, int frames, Seen* seen) {
    e2e::GameRun run;
    run.Hold(kStart + 3, kFire1, true);
    for (int press : {60, 120, 200}) {
        run.Hold(press, kFire2, true);
        run.Hold(press + 2, kFire2, false);
    }
    StandInEnemy* enemy = nullptr;
    run.onFrame = [&](int32_t frame, ObjectController& world) {
        if (frame == kStart) {
            world.SetPlayerCount(1);
            world.gameMode = 0;
            world.StartGame(characterId, 12, 13, 14, 1, 0, 0);
            return;
        }
        auto* party = dynamic_cast<PCController*>(world.pcController);
        if (frame < kStart || party == nullptr || party->members[0] == nullptr) return;
        PC* pc = party->members[0];
        if (frame == kStart + 1) {
            for (int i = 0; i < 6; ++i) pc->PowerUp(&world, 1);
            seen->level = pc->powerLevel;
        }
        int inFlight = 0, barriers = 0;
        for (Object* s : world.shots) {
            if (!s->IsAlive()) continue;
            seen->made += s->kind == shotKind && s->age == 2;  // each shot is two frames old once
            inFlight += s->kind == shotKind;
            if (auto* laser = dynamic_cast<S_CF_HomingLaser*>(s)) seen->laserLaunched |= laser->phase == 3;
            if (s->kind == 501) {
                barriers += 1;
                float r = std::hypot(s->x - pc->x, s->y - pc->y);
                // Placed before the ship moved this frame: within a step of the circle.
                seen->barriersOnCircle &= r > 28.0f && r < 36.0f;
            }
        }
        seen->mostInFlight = std::max(seen->mostInFlight, inFlight);
        seen->mostBarriers = std::max(seen->mostBarriers, barriers);
        if (auto* keito = dynamic_cast<PC_Keito*>(pc)) {
            if (seen->patternOrder.empty() || seen->patternOrder.back() != keito->keitoPattern) {
                seen->patternOrder.push_back(keito->keitoPattern);
            }
            if (frame == 125) {
                // Above and to the right: a laser flying right passes under it.
                enemy = new StandInEnemy(pc->x + 48.0f, 40.0f);
                enemy->self = enemy;
                world.AddObject(enemy, 401);
            }
        }
        if (enemy != nullptr && frame == 190) seen->enemyHits = enemy->hits;
    };
    return run.Run(frames);
}

}  // namespace

TEST(WeaponsRun, NoaKeepsOneShotAndNoLevelAkimiStreamsAtHerTopLevel) {
    e2e::StandIns standIns;
    Seen noa;
    e2e::RunResult a = Play(0, 513, 260, &noa);
    EXPECT_EQ(a.exitCode, 0);
    EXPECT_EQ(noa.level, 0);
    EXPECT_EQ(noa.mostInFlight, 1);
    EXPECT_GE(noa.made, 2);  // a new shot once the first left the field
    int bonuses = 0;
    for (int32_t code : e2e::SceneCodes()) bonuses += code == 4;
    EXPECT_EQ(bonuses, 6);

    Seen akimi;
    Play(1, 500, 120, &akimi);
    EXPECT_EQ(akimi.level, 1);
    EXPECT_EQ(akimi.mostInFlight, 3);
    EXPECT_GE(akimi.made, 12);  // three in flight at a time, each about 23 frames
}

TEST(WeaponsRun, KeitoCyclesPatternsCirclesBarriersAndStrikesWithLasers) {
    e2e::StandIns standIns;
    Seen first;
    e2e::RunResult a = Play(9, 500, 240, &first);
    EXPECT_EQ(a.exitCode, 0);
    EXPECT_EQ(first.level, 3);
    EXPECT_EQ(first.patternOrder, (std::vector<int32_t>{0, 1, 2, 0}));
    EXPECT_EQ(first.mostBarriers, 6);
    EXPECT_TRUE(first.barriersOnCircle);
    EXPECT_TRUE(first.laserLaunched);
    EXPECT_GT(first.enemyHits, 0);

    Seen again;
    e2e::RunResult b = Play(9, 500, 240, &again);
    EXPECT_EQ(a.frameHashes, b.frameHashes);
    EXPECT_EQ(first.enemyHits, again.enemyHits);
}
