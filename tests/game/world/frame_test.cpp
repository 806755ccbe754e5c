#include "fake_pad.h"
#include "game/world/type_table.h"
#include "world_support.h"

using namespace world_test;

class Frame : public WorldTest {};

TEST_F(Frame, PassesVisitListsInTheirFixedOrder) {
    RegisterCharacters({98});
    world.CreatePC(98);
    AsProbe(world.pcController)->name = "party";
    Add(300, "item");
    Add(500, "shot");
    Add(201, "pc");
    Add(700, "bullet");
    Add(400, "enemy");
    Add(0, "scene");
    world.RunAll();
    EXPECT_EQ(Events(), (std::vector<std::string>{"scene:run", "enemy:run", "bullet:run", "party:run", "pc:run",
                                                  "shot:run", "item:run"}));
}

TEST_F(Frame, ObjectsCreatedBehindTheCurrentPositionRunInTheSamePass) {
    Register({type_id::EF_Blast_01, type_id::S_Gunnac});
    Probe* scene = Add(0, "scene");
    scene->spawnOnRun = 272;  // kind 101 lands behind the scene: run in this pass
    Probe* effect = Add(102, "effect");
    effect->spawnOnRun = 140;  // a shot, at the front of a list that was empty when the pass began
    world.RunAll();
    EXPECT_EQ(world.others.size(), 3u);
    EXPECT_EQ(world.shots.size(), 1u);
    for (Object* o : world.others) EXPECT_EQ(o->age, 1) << o->kind;
    EXPECT_EQ(world.shots.front()->age, 0);
}

TEST_F(Frame, PauseTogglesOnlyWhileAGameRunsAndNotInPlayback) {
    FakePad pad(world);
    Probe* enemy = Add(400, "enemy");
    pad.Hold({kKeyV});
    world.RunFrame();
    EXPECT_FALSE(world.paused);  // no game
    pad.ReleaseAll();
    world.RunFrame();
    world.gameRunning = true;
    world.replay.mode = 1;
    pad.Hold({kKeyV});
    world.RunFrame();
    EXPECT_FALSE(world.paused);  // playback
    pad.ReleaseAll();
    world.RunFrame();
    world.replay.mode = 0;
    pad.Hold({kKeyV});
    world.RunFrame();
    EXPECT_TRUE(world.paused);
    int32_t age = enemy->age;
    int32_t frame = world.frame;
    int32_t recorded = world.replay.frame;
    pad.Hold({kKeyV});  // held: no second toggle
    world.RunFrame();
    world.RunFrame();
    EXPECT_TRUE(world.paused);
    EXPECT_EQ(enemy->age, age);
    EXPECT_EQ(world.frame, frame + 2);
    EXPECT_EQ(world.replay.frame, recorded);  // paused frames are not recorded
    pad.ReleaseAll();
    world.RunFrame();
    pad.Hold({kKeyV});
    world.RunFrame();
    EXPECT_FALSE(world.paused);
}

TEST_F(Frame, AnObjectKilledDuringRunIsStillMovedAndCollidedBeforeTheSweep) {
    struct Killer : Probe {
        Object* victim = nullptr;
        void Run(ObjectController* ctx) override {
            Probe::Run(ctx);
            victim->Kill();
        }
    };
    struct Mover : Probe {
        int moves = 0;
        void Move(ObjectController*) override { moves += 1; }
    };
    Mover* victim = new Mover();
    victim->name = "victim";
    victim->self = victim;
    world.AddObject(victim, 450);
    Killer* killer = new Killer();
    killer->name = "killer";
    killer->self = killer;
    killer->victim = victim;
    world.AddObject(killer, 0);
    world.RunFrame();
    EXPECT_EQ(Events(), (std::vector<std::string>{"killer:run", "victim:run", "victim:killed", "victim:detach"}));
    EXPECT_TRUE(world.enemies.empty());
    EXPECT_EQ(world.frame, 1);
}

TEST_F(Frame, PlaybackFastForwardRunsExtraFrames) {
    world.gameRunning = true;
    world.replay.mode = 1;
    Probe* enemy = Add(400, "enemy");
    FakePad pad(world);
    pad.Hold({kKeyZ, kKeyX});  // both held: the first button wins
    world.RunFrame();
    EXPECT_EQ(enemy->age, 4);
    EXPECT_EQ(world.frame, 4);
    pad.Hold({kKeyZ}, false);
    world.RunFrame();
    EXPECT_EQ(enemy->age, 4 + 16);
}
