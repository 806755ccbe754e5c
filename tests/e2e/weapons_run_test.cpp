// One-character games in the whole program for the characters whose weapons are built: each is
// started alone, raised to the top level by power items, and fires with the first button held;
// Keito and Aiko also switch with the second, and lasers meet a stand-in enemy.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <set>
#include <typeinfo>

#include "game/player/characters.h"
#include "game/player/pc_controller.h"
#include "game/player/shots_blast.h"
#include "game/player/shots_cf.h"
#include "game/player/shots_fz.h"
#include "game/player/shots_recca.h"
#include "harness/game_run.h"
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

// Starts the character alone, raises it with six power items on its first frame in play, then
// hands every later frame to the observer.
using Observer = std::function<void(int32_t frame, ObjectController& world, PC* pc)>;
e2e::RunResult Play(e2e::GameRun& run, int32_t characterId, int frames, int32_t* level, const Observer& observe) {
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
            *level = pc->powerLevel;
        }
        observe(frame, world, pc);
    };
    return run.Run(frames);
}

void PressSecond(e2e::GameRun& run, std::initializer_list<int> frames) {
    for (int press : frames) {
        run.Hold(press, kFire2, true);
        run.Hold(press + 2, kFire2, false);
    }
}

template <typename T>
int Count(ObjectController& world) {
    int n = 0;
    for (Object* s : world.shots) n += s->IsAlive() && dynamic_cast<T*>(s) != nullptr;
    return n;
}

// Adds an enemy that only counts its hits.
StandInEnemy* AddEnemy(ObjectController& world, float x, float y) {
    auto* enemy = new StandInEnemy(x, y);
    enemy->self = enemy;
    world.AddObject(enemy, 401);
    return enemy;
}

struct Seen {
    int32_t level = -1;     // after the power items
    int mostInFlight = 0;   // of the main shot
    int made = 0;           // main shots made
    std::vector<int32_t> patternOrder;
    int mostBarriers = 0;
    bool barriersOnCircle = true;
    bool laserLaunched = false;
    int enemyHits = 0;
    int mostOptions = 0;
    bool turned = false;    // a laser turned onto the enemy
    int bombFrame = -1;     // the frame the bomb appeared
    int sideShots = 0, homingShots = 0;
    std::vector<int32_t> rows;  // Aiko's sprite rows in order
    int mostBubbles = 0;
    int bubblesBeforeReflect = 0;
    int reflects = 0;          // reflect effects seen, bubbles' and hers
    int levelAfterReflect = -1;
    int ringShots = 0;         // her shots made after the reflect
};

bool IsReflect(Object* o) { return std::strstr(typeid(*o).name(), "EF_Poppoes_Reflect") != nullptr; }

// Counts the main shot of a kind: most in flight and how many were made.
void CountMain(ObjectController& world, int32_t kind, Seen* seen) {
    int inFlight = 0;
    for (Object* s : world.shots) {
        if (!s->IsAlive() || s->kind != kind) continue;
        inFlight += 1;
        seen->made += s->age == 2;  // each shot is two frames old once
    }
    seen->mostInFlight = std::max(seen->mostInFlight, inFlight);
}

e2e::RunResult PlayKeito(Seen* seen) {
    e2e::GameRun run;
    run.Hold(kStart + 3, kFire1, true);
    PressSecond(run, {60, 120, 200});
    StandInEnemy* enemy = nullptr;
    return Play(run, 9, 240, &seen->level, [&](int32_t frame, ObjectController& world, PC* pc) {
        auto* keito = dynamic_cast<PC_Keito*>(pc);
        int barriers = 0;
        for (Object* s : world.shots) {
            if (auto* laser = dynamic_cast<S_CF_HomingLaser*>(s)) seen->laserLaunched |= laser->phase == 3;
            if (s->kind != 501 || !s->IsAlive()) continue;
            barriers += 1;
            float r = std::hypot(s->x - pc->x, s->y - pc->y);
            // Placed before the ship moved this frame: within a step of the circle.
            seen->barriersOnCircle &= r > 28.0f && r < 36.0f;
        }
        seen->mostBarriers = std::max(seen->mostBarriers, barriers);
        if (seen->patternOrder.empty() || seen->patternOrder.back() != keito->keitoPattern) {
            seen->patternOrder.push_back(keito->keitoPattern);
        }
        // Above and to the right: a laser flying right passes under it.
        if (frame == 125) enemy = AddEnemy(world, pc->x + 48.0f, 40.0f);
        if (enemy != nullptr && frame == 190) seen->enemyHits = enemy->hits;
    });
}

e2e::RunResult PlayMinato(Seen* seen) {
    e2e::GameRun run;
    run.Hold(kStart + 3, kFire1, true);
    run.Hold(60, kFire1, false);
    run.Hold(235, kFire1, true);  // after 175 released frames
    StandInEnemy* enemy = nullptr;
    return Play(run, 21, 260, &seen->level, [&](int32_t frame, ObjectController& world, PC* pc) {
        CountMain(world, 500, seen);
        for (Object* s : world.shots) seen->turned |= dynamic_cast<S_ReccaL*>(s) != nullptr && s->score >= 3;
        seen->mostOptions = std::max(seen->mostOptions, Count<S_ReccaOptionR>(world));
        if (seen->bombFrame < 0 && Count<S_ReccaBomber>(world) > 0) seen->bombFrame = frame;
        // On the diagonal up and to the right of her right-hand lasers.
        if (frame == 20) enemy = AddEnemy(world, pc->x + 66.0f, 60.0f);
        if (enemy != nullptr && frame == 59) seen->enemyHits = enemy->hits;
    });
}

e2e::RunResult PlayAiko(Seen* seen) {
    e2e::GameRun run;
    run.Hold(kStart + 3, kFire1, true);
    PressSecond(run, {60, 120});
    return Play(run, 25, 160, &seen->level, [&](int32_t, ObjectController& world, PC* pc) {
        seen->mostOptions = std::max(seen->mostOptions, Count<S_RBOptionV>(world));
        for (Object* s : world.shots) {
            if (s->age != 1) continue;
            seen->sideShots += dynamic_cast<S_RBShotV*>(s) != nullptr;
            seen->homingShots += dynamic_cast<S_RBShotVR*>(s) != nullptr;
        }
        if (seen->rows.empty() || seen->rows.back() != pc->spriteRow) seen->rows.push_back(pc->spriteRow);
    });
}

constexpr int kReflectPress = 640;  // past the 600 frames she waits after her start

e2e::RunResult PlayYuu(Seen* seen) {
    e2e::GameRun run;
    run.Hold(kStart + 3, kFire1, true);
    run.Hold(120, kFire1, false);
    PressSecond(run, {kReflectPress});
    StandInEnemy* enemy = nullptr;
    std::set<Object*> reflects;
    return Play(run, 28, kReflectPress + 30, &seen->level, [&](int32_t frame, ObjectController& world, PC* pc) {
        int bubbles = Count<S_FZ_Poppoes>(world);
        seen->mostBubbles = std::max(seen->mostBubbles, bubbles);
        // On the left end of the third row, until it has taken a few bubbles.
        if (frame == 40) enemy = AddEnemy(world, pc->x - 35.0f, pc->y - 52.0f);
        if (frame == 90 && enemy != nullptr) enemy->Vanish();
        for (Object* s : world.shots) {
            if (IsReflect(s)) reflects.insert(s);
            if (frame > kReflectPress && s->age == 1) seen->ringShots += dynamic_cast<S_FZ_Poppoes_Shot*>(s) != nullptr;
        }
        seen->reflects = static_cast<int>(reflects.size());
        if (frame == kReflectPress - 1) seen->bubblesBeforeReflect = bubbles;
        if (frame == kReflectPress + 2) seen->levelAfterReflect = pc->powerLevel;
    });
}

}  // namespace

TEST(WeaponsRun, NoaKeepsOneShotAndNoLevelAkimiStreamsAtHerTopLevel) {
    e2e::StandIns standIns;
    Seen noa;
    e2e::GameRun first;
    first.Hold(kStart + 3, kFire1, true);
    e2e::RunResult a = Play(first, 0, 260, &noa.level, [&](int32_t, ObjectController& world, PC*) {
        CountMain(world, 513, &noa);
    });
    EXPECT_EQ(a.exitCode, 0);
    EXPECT_EQ(noa.level, 0);
    EXPECT_EQ(noa.mostInFlight, 1);
    EXPECT_GE(noa.made, 2);  // a new shot once the first left the field
    int bonuses = 0;
    for (int32_t code : e2e::SceneCodes()) bonuses += code == 4;
    EXPECT_EQ(bonuses, 6);

    Seen akimi;
    e2e::GameRun second;
    second.Hold(kStart + 3, kFire1, true);
    Play(second, 1, 120, &akimi.level, [&](int32_t, ObjectController& world, PC*) { CountMain(world, 500, &akimi); });
    EXPECT_EQ(akimi.level, 1);
    EXPECT_EQ(akimi.mostInFlight, 3);
    EXPECT_GE(akimi.made, 12);  // three in flight at a time, each about 23 frames
}

TEST(WeaponsRun, KeitoCyclesPatternsCirclesBarriersAndStrikesWithLasers) {
    e2e::StandIns standIns;
    Seen first;
    e2e::RunResult a = PlayKeito(&first);
    EXPECT_EQ(a.exitCode, 0);
    EXPECT_EQ(first.level, 3);
    EXPECT_EQ(first.patternOrder, (std::vector<int32_t>{0, 1, 2, 0}));
    EXPECT_EQ(first.mostBarriers, 6);
    EXPECT_TRUE(first.barriersOnCircle);
    EXPECT_TRUE(first.laserLaunched);
    EXPECT_GT(first.enemyHits, 0);

    Seen again;
    e2e::RunResult b = PlayKeito(&again);
    EXPECT_EQ(a.frameHashes, b.frameHashes);
    EXPECT_EQ(first.enemyHits, again.enemyHits);
}

TEST(WeaponsRun, MinatoTurnsALaserOntoAnEnemyAndBombsAfterAFullCharge) {
    e2e::StandIns standIns;
    Seen first;
    e2e::RunResult a = PlayMinato(&first);
    EXPECT_EQ(first.level, 3);
    EXPECT_GE(first.mostInFlight, 2);
    EXPECT_TRUE(first.turned);
    EXPECT_GT(first.enemyHits, 0);
    EXPECT_EQ(first.mostOptions, 2);
    EXPECT_EQ(first.bombFrame, 235);

    Seen again;
    e2e::RunResult b = PlayMinato(&again);
    EXPECT_EQ(a.frameHashes, b.frameHashes);
}

TEST(WeaponsRun, AikoTogglesHerOptionsAndFiresBothWays) {
    e2e::StandIns standIns;
    Seen first;
    e2e::RunResult a = PlayAiko(&first);
    EXPECT_EQ(first.level, 3);
    EXPECT_EQ(first.mostOptions, 2);
    EXPECT_EQ(first.rows, (std::vector<int32_t>{25, 57, 25}));
    EXPECT_GT(first.sideShots, 0);
    EXPECT_GT(first.homingShots, 0);

    Seen again;
    e2e::RunResult b = PlayAiko(&again);
    EXPECT_EQ(a.frameHashes, b.frameHashes);
}

TEST(WeaponsRun, YuuLosesBubblesToAnEnemyAndRingsOutHerReflect) {
    e2e::StandIns standIns;
    Seen first;
    e2e::RunResult a = PlayYuu(&first);
    EXPECT_EQ(first.level, 3);
    EXPECT_EQ(first.mostBubbles, 14);
    EXPECT_GT(first.bubblesBeforeReflect, 0);
    EXPECT_LT(first.bubblesBeforeReflect, 14);
    EXPECT_GE(first.reflects, 2);  // a burst bubble's and hers
    EXPECT_EQ(first.levelAfterReflect, 0);
    EXPECT_GT(first.ringShots, 8);

    Seen again;
    e2e::RunResult b = PlayYuu(&again);
    EXPECT_EQ(a.frameHashes, b.frameHashes);
}
