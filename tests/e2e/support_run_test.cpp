// Labels, an option and a placed bomb in a whole-program run with one character: a bonus label
// stands 61 frames (20 in a ghost mode), an option on the character fires its shots while fire
// is held with never more than two in the air, and a placed bomb bursts into 49 blast pairs.
// The run repeats frame for frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "game/world/factory.h"
#include "game/world/type_table.h"
#include "harness/game_run.h"
#include "stand_ins.h"

namespace {

constexpr int32_t kFireButton = 4;
constexpr int32_t kLabelFrame = 5;
constexpr int32_t kGhostLabelFrame = 120;
constexpr int32_t kBombFrame = 200;
constexpr int32_t kFrames = 300;

class QuietScene : public Object {
public:
    QuietScene(float, float, float, float, float, float) { Init(); }
};

struct Seen {
    int32_t labelFrames = 0, ghostLabelFrames = 0;
    int32_t optionShotsMost = 0, optionShotFrames = 0;
    int32_t bombBlasts = 0;
};

bool Listed(const ObjectList& list, const Object* o) { return std::find(list.begin(), list.end(), o) != list.end(); }

Seen Play(e2e::RunResult* result) {
    Seen seen;
    Object* label = nullptr;
    Object* ghostLabel = nullptr;
    Object* option = nullptr;
    std::set<Object*> lastBlasts;
    e2e::GameRun run;
    run.Hold(2, kFireButton, true);
    run.onFrame = [&](int32_t frame, ObjectController& world) {
        if (frame == 1) e2e::StartNatsukiAlone(world);
        if (frame == kLabelFrame) {
            label = world.CreateObject(type_id::EF_HecatomBonus, 12345, 100, 0, 0, 0, 0, nullptr);
            option = world.CreateObject(type_id::EF_GradiusOption, 100, 180, 0, 0, 0, 0, world.players.front());
        }
        // A ghost mode for the second label's life only.
        world.gameMode = frame >= kGhostLabelFrame && frame < kGhostLabelFrame + 30 ? 16 : 0;
        if (frame == kGhostLabelFrame) ghostLabel = world.CreateObject(type_id::EF_HecatomBonus, 500, 110, 0, 0, 0, 0, nullptr);
        // Frames a label is seen after the one it was made in.
        if (label != nullptr && Listed(world.others, label)) seen.labelFrames += frame > kLabelFrame;
        else label = nullptr;
        if (ghostLabel != nullptr && Listed(world.others, ghostLabel)) seen.ghostLabelFrames += frame > kGhostLabelFrame;
        else ghostLabel = nullptr;
        if (option != nullptr) {
            int32_t fromOption = 0;
            for (const Object* s : world.shots) fromOption += s->owner == option;
            seen.optionShotsMost = std::max(seen.optionShotsMost, fromOption);
            seen.optionShotFrames += fromOption > 0;
        }
        if (frame == kBombFrame) world.CreateObject(type_id::EF_BomberKing_Bomb, 100, 50, 0, 0, 0, 0, nullptr);  // out of the character's reach
        // The character does not track an option made by hand: remove it while its owner lives.
        if (frame == kFrames - 10 && option != nullptr) {
            option->Vanish();
            option = nullptr;
        }
        std::set<Object*> blasts;
        for (Object* b : world.enemyBullets) {
            if (b->width == 48) blasts.insert(b);
        }
        for (Object* b : blasts) seen.bombBlasts += lastBlasts.count(b) == 0;
        lastBlasts = blasts;
    };
    *result = run.Run(kFrames);
    return seen;
}

TEST(SupportRun, LabelsOptionAndBomb) {
    ASSERT_TRUE(RegisterObjectClass(type_id::Script, MakeObject<QuietScene>));
    e2e::RunResult a, b;
    const Seen first = Play(&a);
    const Seen second = Play(&b);
    RegisterObjectClass(type_id::Script, nullptr);

    EXPECT_EQ(first.labelFrames, 61);
    EXPECT_EQ(first.ghostLabelFrames, 20);
    EXPECT_EQ(first.optionShotsMost, 2);
    EXPECT_GT(first.optionShotFrames, 100);
    EXPECT_EQ(first.bombBlasts, 49);
    EXPECT_EQ(second.bombBlasts, first.bombBlasts);
    EXPECT_EQ(a.frameHashes, b.frameHashes);
}

}  // namespace
