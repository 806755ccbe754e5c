// Every W and Y enemy (type ids 8-53) in a whole-program run: one character fires throughout;
// the enemies come one at a time with the arguments their makers give them, and each must
// appear, move, fire where it fires, go (shot, or finished off by a heavy hit), credit at least
// its class score and send its codes to a stand-in scene; the run repeats frame for frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/enemies/enemy_table.h"
#include "game/world/factory.h"
#include "game/world/type_table.h"
#include "harness/game_run.h"
#include "stand_ins.h"

namespace {

constexpr int32_t kFireButton = 4;
constexpr int32_t kFirstFrame = 3;
constexpr int32_t kWindow = 130;    // frames each enemy has
constexpr int32_t kFinishAt = 100;  // frame of the window when a survivor is finished off
constexpr int32_t kRank = 400;      // brisk aimed fire, so that short-lived enemies fire too

// How an enemy is made: position, arguments and the values its maker sets after creation.
struct Entry {
    int32_t id;
    float x, y, a, b, c, d;
    int32_t angle;     // the per-class value its maker writes, -1 none
    int32_t inactive;  // the invaders' level x 4
    bool owned;        // made with the scene as owner (satellites and invaders go without one)
    bool fires;
    int32_t code;      // a code it sends the scene on going, -1 none expected
    int32_t finish = kFinishAt;  // frame of its window from which a survivor is finished off
};

constexpr Entry kEntries[] = {
    // id  x    y    a    b    c    d      angle inact owned fires code [finish]
    { 8, 72,   0,  0,   0,   0,   0,      -1, 0, false, true,  2},
    { 9, 40,   0,  0,   0,   0,   0,      -1, 0, false, true,  2},
    {10,  0,   8,  0,   0,   0,   0,      -1, 0, false, true,  2},
    {11, 200,  0,  0,   0,   0,   0,      -1, 0, false, true,  2},
    {12, 56,   0,  0,   0,   0,   0,      -1, 0, false, true,  2},
    {13, 40,   0,  0,   0,   0,   0,      -1, 0, false, true,  2},
    {14, 40,   0,  0,   0,   0,   0,      -1, 0, false, true,  2},
    {15, 40,   0,  0,   0,   0,   0,      -1, 0, false, true,  2},
    {16, 60,  20,  0,   1,   0,   0.02f,  -1, 0, false, false, -1},
    {17, 60,  20,  0,   3,   1,   0,      -1, 0, false, false, -1, 40},
    {18, 60,  20,  0,   1,   0,   0,      -1, 0, false, false, -1},
    {19, 60,  20,  0,   1,   0,   0,      -1, 0, false, false, -1},
    {20, 60,  20,  0,   1,   0,   0,      -1, 0, false, false, -1},
    {21, 60,  20,  0,   1,   0,   0,      -1, 0, false, false, -1},
    {22, 60,  20,  0,   1,   0,   0,      -1, 0, false, false, -1},
    {23, 60,  20,  0,   2,   0,   0,       2, 0, false, false, 2},
    {24, 96,   0,  0,   8,   0,   0,       8, 0, false, true,  6},
    {25, 60,  20,  0,   0.5f, 0,  0,       8, 0, true,  true,  -1},
    {26, 128, 20,  0,   0,   0,   0,      -1, 0, false, true,  2},
    {27, 60,  60,  2,   2,   0,   0,      -1, 0, false, false, 6},
    {28, 60,  20,  0,   0.5f, 0,  0,       2, 8, true,  true,  -1},
    {29, 100, 60,  1,   0,   0,   0,      -1, 0, false, true,  -1, 40},
    {30, 60,  20,  0,   2,   0,   0,       1, 0, false, true,  -1},
    {31, 60,  20,  0,  16,   0,   0,      -1, 0, false, false, -1, 4},
    {32, 60,  20,  0,   0,   0,   0.05f,   0, 0, false, false, -1},
    {33, 60,  20,  0,   1,   0,   0,      -1, 0, false, false, -1},
    {34, 60,  20,  0,   1,   0,   0,       3, 0, false, false, -1},
    {35, 128,  0,  0,   4,   0,   0,       1, 0, false, true,  -1},
    {36, 40,   0,  0,   0,   0,   0,      -1, 0, false, true,  2},
    {37, 40,   0,  0,   0,   0,   0,      -1, 0, false, true,  2},
    {38, 40,  40,  0,   0,   0,   0,      -1, 0, false, true,  2},
    {39, 40,   0,  0,   0,   0,   0,      -1, 0, false, false, -1},
    {40, 40,   0,  0,   0,   0,   0,      -1, 0, false, true,  2},
    {41, 40,   0,  0,   0,   0,   0,      -1, 0, false, true,  2},
    {42, 60,  20,  0,   1,   0,   0,      200, 0, false, false, -1},
    {43, 40,   0,  0,   0,   0,   0,      -1, 0, false, true,  2},
    {44, 40,   0,  0,   0,   0,   0,      -1, 0, false, true,  2},
    {45, 40,   0,  0,   0,   0,   0,      -1, 0, false, true,  2},
    {46, 40, 240,  0,   0,   0,   0,      -1, 0, false, true,  2},
    {47, 40,   0,  0,   0,   0,   0,       2, 0, false, true,  2},
    {48, 60,  20,  1,   1,   0,   0,      -1, 0, false, true,  2},
    {49, 60,  20,  1,   1,   0,   0,      -1, 0, false, true,  -1},
    {50, 40,   0,  0,   0,   0,   0,      -1, 0, false, true,  2},
    {51, 60,  20,  0,   1,   0,   0,      -1, 0, false, false, 2},
    {52, 60,  20,  0,   0.5f, 0,  0,      -1, 0, false, false, -1},
    {53, 60, 100,  1,   0,   0,   0,      -1, 0, false, false, -1},
};
constexpr int32_t kEntryCount = sizeof(kEntries) / sizeof(kEntries[0]);

// What the run saw of one enemy in its window.
struct Seen {
    bool appeared = false, moved = false, gone = false;
    float firstX = 0, firstY = 0;
    int32_t bullets = 0;  // enemy bullets and shootable bullets made while it lived
    int32_t score = 0;    // the scene's score gained in its window
    std::vector<int32_t> codes;
};

bool Contains(const ObjectList& list, const Object* o) {
    for (const Object* x : list) {
        if (x == o) return true;
    }
    return false;
}

// Enemy bullets plus the shootable bullets some enemies fire (kind 499, 16 wide, under a point
// of life).
int32_t BulletsInPlay(const ObjectList& bullets, const ObjectList& enemies) {
    int32_t n = static_cast<int32_t>(bullets.size());
    for (const Object* e : enemies) {
        if (e->kind == 499 && e->width == 16 && e->hp < 1.0f && e->maxHp < 1.0f) n += 1;
    }
    return n;
}

std::vector<Seen> Play(e2e::RunResult* result) {
    e2e::RecordedScene() = e2e::SceneRecord{};
    std::vector<Seen> seen(kEntryCount);
    Object* current = nullptr;
    int32_t scoreAtStart = 0;
    size_t codesAtStart = 0;
    int32_t bulletsBefore = 0;
    e2e::GameRun run;
    run.Hold(2, kFireButton, true);
    run.onFrame = [&](int32_t frame, ObjectController& world) {
        if (frame == 1) e2e::StartNatsukiAlone(world);
        if (frame < kFirstFrame) return;
        world.ArrestLevel = kRank;
        const int32_t index = (frame - kFirstFrame) / kWindow;
        const int32_t t = (frame - kFirstFrame) % kWindow;
        if (index >= kEntryCount) return;
        const Entry& e = kEntries[index];
        Seen& s = seen[index];
        const int32_t bullets = BulletsInPlay(world.enemyBullets, world.enemies);
        if (t == 0) {
            world.VanishEnemies();
            world.VanishBullets();
            current = world.CreateObject(e.id, e.x, e.y, e.a, e.b, e.c, e.d, e.owned ? world.currentScene : nullptr);
            if (e.angle >= 0) current->angle = e.angle;
            if (e.inactive != 0) current->SetInactive(e.inactive);
            s.firstX = current->x;
            s.firstY = current->y;
            scoreAtStart = e2e::RecordedScene().score;
            codesAtStart = e2e::RecordedScene().codes.size();
            bulletsBefore = bullets;
            return;
        }
        const bool present = current != nullptr && Contains(world.enemies, current);
        if (present) {
            s.appeared = true;
            s.moved = s.moved || current->x != s.firstX || current->y != s.firstY;
            if (bullets > bulletsBefore) s.bullets += bullets - bulletsBefore;
            // Finish off a survivor the way a heavy hit would; the ghost boss and the bell take
            // their own kind of damage, so they are brought low first.
            if (t >= e.finish && current->state == kAlive) {
                if (e.id == 26 || e.id == 53) current->SetHp(1.0f);
                current->Damage(&world, e.id == 26 ? 100.0f : 1.0e6f);
            }
        } else if (current != nullptr) {
            s.gone = true;
            current = nullptr;
        }
        bulletsBefore = bullets;
        s.score = e2e::RecordedScene().score - scoreAtStart;
        s.codes.assign(e2e::RecordedScene().codes.begin() + static_cast<std::ptrdiff_t>(codesAtStart), e2e::RecordedScene().codes.end());
    };
    *result = run.Run(kFirstFrame + kEntryCount * kWindow + 2);
    return seen;
}

TEST(FamiliesRun, EveryWAndYEnemyAppearsMovesFiresGoesAndCredits) {
    ASSERT_TRUE(RegisterObjectClass(type_id::Script, MakeObject<e2e::RecordingScene>));
    e2e::RunResult a, b;
    const std::vector<Seen> first = Play(&a);
    const std::vector<Seen> second = Play(&b);
    RegisterObjectClass(type_id::Script, nullptr);

    for (int32_t i = 0; i < kEntryCount; ++i) {
        const Entry& e = kEntries[i];
        const Seen& s = first[i];
        SCOPED_TRACE(kTypeTable[e.id].className);
        EXPECT_TRUE(s.appeared);
        EXPECT_TRUE(s.moved);
        EXPECT_TRUE(s.gone);
        if (e.fires) {
            EXPECT_GT(s.bullets, 0);
        }
        // The bomb missile and the stage-2 middle enemy pay nothing themselves; the falling block
        // pays by its height.
        if (e.id == 32) {
            EXPECT_GT(s.score, 0);
        } else if (e.id != 33 && e.id != 35) {
            EXPECT_GE(s.score, FindEnemyRow(e.id)->score);
        }
        if (e.code >= 0) {
            EXPECT_NE(std::find(s.codes.begin(), s.codes.end(), e.code), s.codes.end());
        }
        EXPECT_EQ(s.moved, second[i].moved);
        EXPECT_EQ(s.codes, second[i].codes);
    }
    EXPECT_EQ(a.frameHashes, b.frameHashes);
}

}  // namespace
