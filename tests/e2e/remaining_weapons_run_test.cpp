// The weapons no character makes, each made by id in a whole-program run around a stand-in ship
// and enemy: the bomb's burst, the blade's catch, the serpent's trail and the invisible shot's end
// checked exactly, every other id seen alive; no message box, and the same frames twice.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "game/player/shots_bm_ice.h"
#include "game/player/shots_hisouten.h"
#include "harness/game_run.h"
#include "stand_ins.h"

namespace {

constexpr int kMake = 3;
constexpr int kFrames = 220;

// A ship that goes where the script puts it; it moves up one unit a frame when told to.
class StandInShip : public Object {
public:
    StandInShip(float px, float py) {
        x = px;
        y = py;
    }
};

// An enemy bullet's stand-in that carries an invisible shot and lets go of it when it goes.
class StandInMaker : public Object {
public:
    void Detach() override {
        if (link != nullptr) link->ForgetObject(self);
    }
};

template <typename T>
T* Add(ObjectController& world, T* o, int32_t kind) {
    o->self = o;
    world.AddObject(o, kind);
    return o;
}

struct Seen {
    std::map<int32_t, bool> madeAlive;  // each id alive on the frame after it was made
    int flames = 0;
    std::vector<int32_t> flameLengths;
    bool bombAliveAfterThree = false;
    bool bladeAliveAt100 = false, bladeCaughtFrom110 = false;
    bool trails = true;
    bool invisibleGone = false;
};

e2e::RunResult Play(Seen* seen) {
    e2e::GameRun run;
    StandInShip* ship = nullptr;
    StandInMaker* maker = nullptr;
    Object* bomb = nullptr;
    Object* blade = nullptr;
    Object* invisible = nullptr;
    S_Hisouten_Seidenyuudoudan* serpent = nullptr;
    std::vector<float> headY;
    std::map<int32_t, Object*> made;
    run.onFrame = [&](int32_t frame, ObjectController& world) {
        if (frame == kMake) {
            world.gameRunning = true;
            ship = Add(world, new StandInShip(128, 200), 10);
            maker = Add(world, new StandInMaker, 10);
            for (int32_t id = 221; id <= 266; ++id) {
                float x = 16.0f + static_cast<float>((id - 221) % 12) * 20.0f;
                float y = 40.0f + static_cast<float>((id - 221) / 12) * 40.0f;
                made[id] = world.CreateObject(id, x, y, 0, 0, 0, 0, id == 236 ? static_cast<Object*>(maker) : ship);
            }
            bomb = made[221];
            bomb->angle = 2;
            blade = made[233];
            blade->x = 128.0f;  // room for its curve inside the field
            blade->y = 160.0f;
            invisible = made[236];
            maker->link = invisible;
            serpent = dynamic_cast<S_Hisouten_Seidenyuudoudan*>(made[263]);
            serpent->angle = 3;
            serpent->vy = -1.0f;
            return;
        }
        if (frame == kMake + 1) {
            for (auto& [id, o] : made) {
                bool alive = false;
                for (Object* s : world.shots) alive |= s == o && s->IsAlive();
                seen->madeAlive[id] = alive;
            }
        }
        if (frame <= kMake) return;
        int32_t age = frame - kMake;  // the age the weapons made at kMake have now
        if (age == 10) {
            for (int i = 0; i < 3; ++i) bomb->Damage(&world, 16384.0f);  // three bullets
            seen->bombAliveAfterThree = bomb->IsAlive();
            bomb->Damage(&world, 16384.0f);
        }
        if (age == 12) {
            for (Object* s : world.shots) {
                auto* flame = dynamic_cast<S_BM_Blast*>(s);
                if (flame != nullptr && s != made[222]) seen->flameLengths.push_back(flame->angle);
            }
        }
        // The ship meets the blade where it is now: before age 110 it is not caught.
        if (age == 100 || age == 112) {
            ship->x = blade->x;
            ship->y = blade->y;
        }
        if (age == 101) {
            for (Object* s : world.shots) seen->bladeAliveAt100 |= s == blade && s->IsAlive();
        }
        if (age == 113) {
            bool alive = false;
            for (Object* s : world.shots) alive |= s == blade;
            seen->bladeCaughtFrom110 = !alive;
        }
        // Segment j stands where the head was 4j + 2 frames back, or at the start before that.
        if (age <= 25) {
            headY.push_back(serpent->y);
            for (int j = 0; j < 3; ++j) {
                int back = static_cast<int>(headY.size()) - 2 - (4 * j + 2);
                float expected = back >= 0 ? headY[back] : headY.front() - serpent->vy;
                seen->trails &= serpent->segments[j] != nullptr && serpent->segments[j]->y == expected;
            }
        }
        if (age == 150) maker->Vanish();
        if (age == 152) {
            bool alive = false;
            for (Object* s : world.shots) alive |= s == invisible;
            seen->invisibleGone = !alive;
        }
    };
    return run.Run(kFrames);
}

}  // namespace

TEST(RemainingWeaponsRun, EveryIdPlaysItsPartWithNoMessageBoxOfItsOwn) {
    e2e::StandIns standIns;
    Seen first;
    e2e::RunResult a = Play(&first);
    EXPECT_EQ(a.exitCode, 0);
    for (int32_t id = 221; id <= 266; ++id) {
        if (id == 236) continue;  // checked below
        EXPECT_TRUE(first.madeAlive[id]) << id;
    }
    EXPECT_TRUE(first.bombAliveAfterThree);
    EXPECT_EQ(first.flameLengths, (std::vector<int32_t>{2, 2}));
    EXPECT_TRUE(first.bladeAliveAt100);
    EXPECT_TRUE(first.bladeCaughtFrom110);
    EXPECT_TRUE(first.trails);
    EXPECT_TRUE(first.invisibleGone);
    EXPECT_TRUE(a.messageBoxes.empty()) << a.messageBoxes.front();

    Seen again;
    e2e::RunResult b = Play(&again);
    EXPECT_EQ(a.frameHashes, b.frameHashes);
}
