// Ground enemies and the ghost stage's formation in a whole-program run: a stand-in scene that
// reports a scroll growing one a frame owns a fortress, a battery and a hatch; they ride down
// with it, the hatch releases its zako and the character's shots destroy the fortress, which the
// scene hears of (code 13). Then an invader formation spawns its 55 and, once they are all
// destroyed, reports its defeat (code 21). The run repeats frame for frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/world/factory.h"
#include "game/world/type_table.h"
#include "harness/game_run.h"
#include "stand_ins.h"

namespace {

constexpr int32_t kFireButton = 4;
constexpr int32_t kGroundFrame = 3;
constexpr int32_t kFormationFrame = 300;
constexpr int32_t kClearFrom = 380;  // the invaders left are finished off from here
constexpr int32_t kFrames = 460;

std::vector<int32_t> g_codes;

// Stands in for the stage script: its y is the vertical scroll, one more every frame.
class ScrollingScene : public Object {
public:
    ScrollingScene(float, float, float, float, float, float) { Init(); }
    void Run(ObjectController*) override { scroll += 1.0f; }
    float GetX() override { return 0.0f; }
    float GetY() override { return scroll; }
    void OnMessage(const Message& message) override { g_codes.push_back(message.Code()); }
    float scroll = 0.0f;
};

struct Seen {
    std::vector<float> fortressY;  // while it lives
    int32_t zako = 0;              // hatch zako seen at once, at most
    int32_t invaders = 0;          // invaders seen at once, at most
};

bool Listed(const ObjectList& list, const Object* o) { return std::find(list.begin(), list.end(), o) != list.end(); }

Seen Play(e2e::RunResult* result) {
    g_codes.clear();
    Seen seen;
    Object* fortress = nullptr;
    e2e::GameRun run;
    run.Hold(2, kFireButton, true);
    run.Hold(kFormationFrame - 30, kFireButton, false);  // the formation is finished off by hand
    run.onFrame = [&](int32_t frame, ObjectController& world) {
        if (frame == 1) e2e::StartNatsukiAlone(world);
        if (frame == kGroundFrame) {
            Object* scene = world.currentScene;
            fortress = world.CreateObject(type_id::E_ZanacFortress4_G, 128, 20, 0, 0, 0, 0, scene);
            world.CreateObject(type_id::E_Gradius_Battery_G, 24, 40, 0, 0, 0, 0, scene);
            world.CreateObject(type_id::E_Gradius_Hatch_G, 60, 30, 0, 0, 0, 0, scene);
        }
        if (fortress != nullptr) {
            if (Listed(world.enemies, fortress)) seen.fortressY.push_back(fortress->y);
            else fortress = nullptr;
        }
        int32_t zako = 0, invaders = 0;
        for (Object* e : world.enemies) {
            zako += e->kind == 499 && e->hp <= 0.0f && e->width == 16 && e->vy >= 1.0f;
            invaders += e->kind == 498;
        }
        seen.zako = std::max(seen.zako, zako);
        seen.invaders = std::max(seen.invaders, invaders);
        if (frame == kFormationFrame) world.CreateObject(type_id::EF_GhostBossBase, 24, 16, 0, 0, 0, 0, nullptr);
        if (frame >= kClearFrom) {
            for (Object* e : world.enemies) {
                if (e->kind == 498 && e->state == kAlive) e->Damage(&world, 1.0e6f);
            }
        }
    };
    *result = run.Run(kFrames);
    return seen;
}

TEST(GroundRun, GroundEnemiesRideTheScrollAndTheFormationFalls) {
    ASSERT_TRUE(RegisterObjectClass(type_id::Script, MakeObject<ScrollingScene>));
    e2e::RunResult a, b;
    const Seen first = Play(&a);
    const std::vector<int32_t> codes = g_codes;
    const Seen second = Play(&b);
    const std::vector<int32_t> again = g_codes;
    RegisterObjectClass(type_id::Script, nullptr);

    ASSERT_GT(first.fortressY.size(), 2u);
    EXPECT_EQ(first.fortressY[2] - first.fortressY[1], 1.0f);  // down with the scroll
    EXPECT_LT(first.fortressY.size(), static_cast<size_t>(kFormationFrame - 30));  // shot down
    EXPECT_GT(first.zako, 0);
    EXPECT_EQ(first.invaders, 55);
    const auto at13 = std::find(codes.begin(), codes.end(), 13);
    EXPECT_NE(at13, codes.end());
    EXPECT_NE(std::find(at13, codes.end(), 21), codes.end());
    EXPECT_EQ(codes, again);
    EXPECT_EQ(first.fortressY, second.fortressY);
    EXPECT_EQ(a.frameHashes, b.frameHashes);
}

}  // namespace
