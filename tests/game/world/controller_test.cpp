#include "framework/core/random.h"
#include "game/world/type_table.h"
#include "world_support.h"

using namespace world_test;

namespace {

std::vector<int32_t> Kinds(const ObjectList& list) {
    std::vector<int32_t> kinds;
    for (Object* o : list) kinds.push_back(o->kind);
    return kinds;
}

}  // namespace

class Controller : public WorldTest {};

TEST_F(Controller, AddObjectKeepsKindOrderAndInsertionOrderWithinAKind) {
    Probe* a = Add(410);
    Probe* b = Add(400);
    Probe* c = Add(450);
    Probe* d = Add(400);
    EXPECT_EQ(Kinds(world.enemies), (std::vector<int32_t>{400, 400, 410, 450}));
    EXPECT_EQ(std::vector<Object*>(world.enemies.begin(), world.enemies.end()), (std::vector<Object*>{b, d, a, c}));
}

TEST_F(Controller, AddObjectChoosesTheListByKind) {
    struct Case {
        int32_t kind;
        ObjectList ObjectController::*list;
    } cases[] = {
        {400, &ObjectController::enemies}, {499, &ObjectController::enemies},
        {700, &ObjectController::enemyBullets}, {799, &ObjectController::enemyBullets},
        {500, &ObjectController::shots},   {599, &ObjectController::shots},
        {200, &ObjectController::players}, {201, &ObjectController::players},
        {300, &ObjectController::items},   {304, &ObjectController::items},
        {0, &ObjectController::others},    {10, &ObjectController::others},
        {103, &ObjectController::others},  {600, &ObjectController::others},
        {800, &ObjectController::others},  {-5, &ObjectController::others},
    };
    for (const Case& c : cases) {
        Probe* p = Add(c.kind);
        const ObjectList& list = world.*c.list;
        EXPECT_EQ(p->kind, c.kind);
        EXPECT_NE(std::find(list.begin(), list.end(), p), list.end()) << c.kind;
    }
}

TEST_F(Controller, SweepCallsOnKilledOnlyForObjectsStillKilled) {
    Probe* killedThenVanished = Add(400, "kv");
    Probe* vanishedThenKilled = Add(400, "vk");
    Add(400, "alive");
    killedThenVanished->Kill();
    killedThenVanished->Vanish();
    vanishedThenKilled->Vanish();
    vanishedThenKilled->Kill();
    world.SweepObjects();
    EXPECT_EQ(Events(), (std::vector<std::string>{"kv:detach", "vk:killed", "vk:detach"}));
    EXPECT_EQ(world.enemies.size(), 1u);
}

TEST_F(Controller, ObjectsCreatedDuringTheSweepSurviveIt) {
    Register({type_id::EF_Blast_01});
    Probe* enemy = Add(400, "enemy");
    enemy->spawnOnKilled = 272;  // an effect, in a list the sweep has not reached yet
    Probe* early = Add(0, "scene");
    early->Vanish();
    enemy->Kill();
    world.SweepObjects();
    ASSERT_EQ(world.others.size(), 1u);
    EXPECT_EQ(world.others.front()->kind, 101);
    EXPECT_TRUE(world.enemies.empty());
}

TEST_F(Controller, ClearSceneKeepsKind200AndClearAllDoesNot) {
    Probe* keeper = Add(200);
    Add(201);
    Add(400);
    world.currentScene = Add(0);
    world.ClearScene();
    EXPECT_EQ(world.currentScene, nullptr);
    world.SweepObjects();
    EXPECT_EQ(ObjectCount(), 1u);
    EXPECT_EQ(world.players.front(), keeper);
    world.ClearAll();
    world.SweepObjects();
    EXPECT_EQ(ObjectCount(), 0u);
}

TEST_F(Controller, SweepingTheCurrentSceneLeavesNoPointerToIt) {
    Register({type_id::SC_Menu_Title});
    // Vanished: nothing is current afterwards.
    world.currentScene = Add(0, "vanished");
    world.currentScene->Vanish();
    world.SweepObjects();
    EXPECT_EQ(world.currentScene, nullptr);

    // Killed, making the next scene as it goes: that one is current and survives the sweep.
    Probe* killed = Add(0, "killed");
    world.currentScene = killed;
    killed->spawnOnKilled = type_id::SC_Menu_Title;
    killed->Kill();
    world.SweepObjects();
    ASSERT_NE(world.currentScene, nullptr);
    ASSERT_EQ(world.others.size(), 1u);
    EXPECT_EQ(world.currentScene, world.others.front());

    // Another scene object swept away leaves the current one alone.
    Add(0, "other")->Vanish();
    Object* current = world.currentScene;
    world.SweepObjects();
    EXPECT_EQ(world.currentScene, current);
}

TEST_F(Controller, PrepareFrameCounts) {
    world.PrepareFrame();
    EXPECT_EQ(world.counts.enemyCount + world.counts.objectCount + world.counts.enemyLoad, 0);
    Add(400);
    Add(497);
    Add(490);
    Add(430);
    Add(700);
    Add(300);
    Add(0);
    Add(10);
    Add(101);
    Add(500);
    Add(201);
    world.PrepareFrame();
    const FrameCounts& c = world.counts;
    EXPECT_EQ(c.enemyCount, 3);
    EXPECT_EQ(c.bulletCount, 1);
    EXPECT_EQ(c.itemCount, 1);
    EXPECT_EQ(c.effectCount, 1);
    EXPECT_EQ(c.shotCount, 1);
    EXPECT_EQ(c.objectCount, 10);
    EXPECT_EQ(c.enemyLoad, 255 + 1 + 8);
    EXPECT_EQ(c.sceneCount, 2);
}

TEST_F(Controller, ReturnToTitleLeavesOnlyTheTitleAndEndsPlayback) {
    Register({type_id::SC_Menu_Title});
    Add(400);
    Add(201);
    world.frame = 99;
    world.replay.mode = 1;
    world.paused = true;
    world.shotCounter = 17;
    ZethRandom::Seed(0);
    uint32_t firstOfSeedZero = ZethRandom::Generate();
    ZethRandom::Generate();
    world.ReturnToTitle();
    EXPECT_EQ(ObjectCount(), 1u);
    ASSERT_NE(world.currentScene, nullptr);
    EXPECT_EQ(world.others.front(), world.currentScene);
    EXPECT_EQ(world.frame, 0);
    EXPECT_FALSE(world.paused);
    EXPECT_EQ(world.shotCounter, 0);
    EXPECT_EQ(world.replay.mode, 0);
    EXPECT_EQ(ZethRandom::Generate(), firstOfSeedZero);
}

TEST_F(Controller, SetPlayerCountClamps) {
    for (auto [in, out] : {std::pair{0, 1}, {1, 1}, {3, 3}, {4, 4}, {7, 4}, {-2, 1}}) {
        world.SetPlayerCount(in);
        EXPECT_EQ(world.playerCount, out) << in;
    }
}

TEST_F(Controller, SoundIdsReduceToTheTableAndRetriggerAfterThreeFrames) {
    SoundEffects& se = world.soundEffects;
    EXPECT_EQ(se.Play(65), 1);
    EXPECT_EQ(se.Play(-63), 1);  // a non-negative remainder: never below the table
    EXPECT_EQ(se.cooldown[1], 3);
    EXPECT_TRUE(platform.messageBox.shown.empty());
    EXPECT_EQ(se.Play(-1), 63);  // no such effect: the message, once per cooldown
    se.Play(63);
    EXPECT_EQ(platform.messageBox.shown.size(), 1u);
    for (int i = 0; i < 3; ++i) se.TickCooldowns();
    EXPECT_EQ(se.cooldown[1], 0);
    se.Play(63);
    EXPECT_EQ(platform.messageBox.shown.size(), 2u);
}

// Only the ids just played count down; every other id stays at 0 however long the ticks go on.
TEST_F(Controller, CooldownsTickDownToZeroAndNeverBelow) {
    SoundEffects& se = world.soundEffects;
    auto cooldowns = [&] { return std::vector<int32_t>(std::begin(se.cooldown), std::end(se.cooldown)); };
    se.Play(5);
    se.TickCooldowns();
    se.Play(7);
    std::vector<int32_t> expected(SoundEffects::kIds, 0);
    expected[5] = 2;
    expected[7] = 3;
    EXPECT_EQ(cooldowns(), expected);
    for (int i = 0; i < 5; ++i) se.TickCooldowns();  // two ticks past the last cooldown
    EXPECT_EQ(cooldowns(), std::vector<int32_t>(SoundEffects::kIds, 0));
}
