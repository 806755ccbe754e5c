#include <algorithm>
#include <cmath>
#include <vector>

#include "enemies_support.h"
#include "game/enemies/enemy.h"
#include "game/enemies/family_enemy.h"
#include "game/world/type_table.h"

namespace enemies_test {
namespace {

class WFamily : public EnemyWorld {
protected:
    // Empties the world and gives it a new scene.
    void Restart() {
        world.ClearScene();
        world.SweepObjects();
        scene = new Probe();
        scene->self = scene;
        world.AddObject(scene, 0);
        world.currentScene = scene;
    }
};

// One frame of an enemy on its own: its Run, then its Move.
void Step(ObjectController& world, Object* e, int frames = 1) {
    for (int i = 0; i < frames; ++i) {
        e->Run(&world);
        e->Move(&world);
    }
}

float Distance(const Object* a, const Object* b) { return std::hypot(a->x - b->x, a->y - b->y); }

TEST_F(WFamily, FormationEnemiesTurnByTheirSideAndPace) {
    Object* left = Make(type_id::E_Coin_W, 127.9f, 0);
    Object* right = Make(type_id::E_Coin_W, 128.0f, 0);
    Step(world, left, 10);
    Step(world, right, 10);
    EXPECT_EQ(left->angle, 16384 - 3640);
    EXPECT_EQ(right->angle, 16384 + 3640);
    Step(world, left, 200);
    EXPECT_EQ(left->angle, 16384 - 180 * 364);  // then straight on

    Object* zigzag = Make(type_id::E_ZigzagX_W, 40, 0, 1, 1);
    Step(world, zigzag, 25);
    EXPECT_EQ(zigzag->vx, 6.0f);  // across from age 15
    zigzag->Run(&world);          // age 25: 25 mod 15 = 10
    EXPECT_EQ(zigzag->vx, 0.0f);
    EXPECT_EQ(zigzag->vy, 0.0f);

    // The iron ball rushes the field centre in the ghost modes, the party otherwise.
    world.gameMode = 16;
    Object* ball = Make(type_id::E_IronBall_W, 0, 8);
    Step(world, ball, 61);
    EXPECT_NEAR(std::atan2(120.0f - ball->y, 128.0f - ball->x), std::atan2(ball->vy, ball->vx), 0.01);
    EXPECT_NEAR(std::hypot(ball->vx, ball->vy), 3.0f, 1e-4);
}

TEST_F(WFamily, WallBouncerReflectsTenTimesThenLeaves) {
    Object* e = Make(type_id::E_RefrectWall6_W, 40, 100);
    int32_t reflections = 0;
    for (int i = 0; i < 5000 && e->state == kAlive; ++i) {
        const float vx = e->vx, vy = e->vy;
        Step(world, e);
        if (i > 0) reflections += (vx * e->vx < 0.0f) + (vy * e->vy < 0.0f);
    }
    EXPECT_EQ(reflections, 10);
    EXPECT_EQ(e->state, kVanished);
}

TEST_F(WFamily, EdgeCrawlerRunsItsFourPhases) {
    party->x = 200;
    Object* e = Make(type_id::E_EdgeMove4Circle_W, 60, 20);
    std::vector<std::pair<float, float>> stops;
    for (int i = 0; i < 2000 && e->state == kAlive; ++i) {
        const float vx = e->vx, vy = e->vy;
        e->Run(&world);
        if ((vx != 0.0f || vy != 0.0f) && e->vx == 0.0f && e->vy == 0.0f) stops.push_back({e->x, e->y});
        e->Move(&world);
    }
    // Bottom, right edge (towards the party), top; then it leaves along the top.
    ASSERT_EQ(stops.size(), 3u);
    EXPECT_EQ(stops[0].second, 232.0f);
    EXPECT_EQ(stops[1].first, 248.0f);
    EXPECT_EQ(stops[2].second, 8.0f);
    EXPECT_EQ(e->state, kVanished);
    EXPECT_LT(e->x, 0.0f);
}

TEST_F(WFamily, BigMissileSteersFor60Frames) {
    party->x = 128;
    party->y = 0;  // straight up, against its heading
    Object* e = Make(type_id::E_BigMissile_W, 128, 120, 0, 2, 1, 0);
    std::vector<int32_t> turns;
    for (int i = 0; i < 70; ++i) {
        const int32_t before = e->angle;
        e->Run(&world);
        const int32_t turn = std::abs(e->angle - before);
        turns.push_back(std::min(turn, 65535 - turn));
    }
    for (int i = 0; i < 60; ++i) EXPECT_EQ(turns[i], 728) << i;
    for (int i = 60; i < 70; ++i) EXPECT_EQ(turns[i], 0) << i;
}

TEST_F(WFamily, MissileAndFighterFates) {
    // The bomb missile bursts into a bomb: no blast, no score.
    Object* missile = Make(type_id::E_SenkoroMissile_W, 100, 100, 0, 1);
    Step(world, missile, 122);
    EXPECT_EQ(missile->state, kKilled);
    world.SweepObjects();
    EXPECT_EQ(CountOf(world.enemyBullets, type_id::B_Senkoro_Bomb), 1);
    EXPECT_EQ(CountOf(world.others, type_id::EF_Blast_01), 0);
    EXPECT_EQ(scene->score, 0);
    // The weaving fighter with angle 1 carries a power-up.
    for (int32_t carrying : {0, 1}) {
        Object* zako = Make(type_id::E_Gradius_Zako_W, 100, 100);
        zako->angle = carrying;
        zako->Damage(&world, 1.0f);
        world.SweepObjects();
        EXPECT_EQ(CountOf(world.items, type_id::I_PowerUp), carrying);
    }
}

TEST_F(WFamily, FallingBlockScoresByHeight) {
    struct Case {
        float y;
        int32_t angle, blockScore, label;
        bool newBlock;  // score 0: near blast and the enemy-destroyed message
    } cases[] = {
        {232, 0, 400, 40, false}, {40, 0, 400, 1560, false}, {100, 0, 0, 200 + 640, true},
        {40, 1, 400, 10, false},  {232, 1, 400, 80 + 160, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.y);
        Restart();
        Object* block = Make(type_id::E_Tetris_W, 100, c.y);
        block->angle = c.angle;
        block->score = c.blockScore;
        block->Kill();
        world.SweepObjects();
        ASSERT_EQ(CountOf(world.shots, type_id::EF_ScorePop), 1);
        Object* label = nullptr;
        for (Object* o : world.shots) label = ClassOf(o) == "EF_ScorePop" ? o : label;
        EXPECT_EQ(label->score, c.label);
        EXPECT_EQ(scene->score, c.label);
        EXPECT_EQ(CountOf(world.others, type_id::EF_Bombris_NearBlast), c.newBlock ? 1 : 0);
        EXPECT_EQ(scene->messages.size(), c.newBlock ? 1u : 0u);
    }
    // A hit stops the block; it falls again under its acceleration.
    Object* block = Make(type_id::E_Tetris_W, 100, 50, 0, 1.5f, 0, 0.1f);
    block->Damage(&world, 1.0f);
    EXPECT_EQ(block->vy, 0.0f);
    block->vy = 5.0f;
    block->Run(&world);
    EXPECT_EQ(block->vy, 2.0f);
    // Its column follows its score, wrapped onto the sheet.
    block->flashTimer = 0;
    for (int32_t s : {0, 400, 1}) {
        enemyBatch.rects.clear();
        block->score = s;
        block->Draw(&world);
        EXPECT_EQ(enemyBatch.rects.at(0).srcX, s == 1 ? 208 : 192);
    }
}

TEST_F(WFamily, CarrierPlacesItsRingsAndClearsTheFieldWhenStripped) {
    Object* carrier = Make(type_id::E_GhostZako2_W, 128, 60, 0, 8);
    carrier->OnMessage(Msg(3, 1, static_cast<int32_t>(0xFF60D0E0u)));
    Step(world, carrier, 12);
    ASSERT_EQ(CountOf(world.enemies, type_id::E_GhostZako3_W), 24);
    std::vector<Object*> satellites;
    for (Object* o : world.enemies) {
        if (ClassOf(o) == "E_GhostZako3_W") satellites.push_back(o);
    }
    EXPECT_NEAR(Distance(satellites[0], carrier), 24.0f, 0.01f);
    EXPECT_NEAR(Distance(satellites[4], carrier), 40.0f, 0.01f);
    EXPECT_NEAR(Distance(satellites[12], carrier), 56.0f, 0.01f);
    EXPECT_EQ(static_cast<uint32_t>(dynamic_cast<Enemy*>(satellites[3])->colour), 0xFF60D0E0u);
    // Hit, a satellite shows its trim colour instead of the flash sheet.
    satellites[0]->Run(&world);
    satellites[0]->Damage(&world, 0.5f);
    satellites[0]->Draw(&world);
    EXPECT_EQ(enemyBatch.rects.back().colour, 0xFF305080u);

    Object* bystander = Make(type_id::E_Box_W, 30, 30);
    for (Object* s : satellites) s->Kill();
    world.SweepObjects();
    carrier->Run(&world);
    ASSERT_FALSE(scene->messages.empty());
    EXPECT_EQ(scene->messages.back().Code(), 7);
    EXPECT_EQ(carrier->state, kKilled);
    EXPECT_EQ(bystander->state, kKilled);
    world.SweepObjects();
    EXPECT_EQ(scene->messages.back().Code(), 2);  // the carrier's own explosion, not shot down

    // Shot down itself, the carrier sends code 6 and takes its satellites with it.
    scene->messages.clear();
    Object* second = Make(type_id::E_GhostZako2_W, 128, 60);
    Step(world, second, 2);
    second->Damage(&world, 100.0f);
    world.SweepObjects();
    EXPECT_EQ(scene->messages.at(1).Code(), 6);
    world.SweepObjects();
    EXPECT_EQ(CountOf(world.enemies, type_id::E_GhostZako3_W), 0);
}

TEST_F(WFamily, InvadersFireFromLevelTwoOutOfStep) {
    world.ArrestLevel = 0;
    // The party stands in for the formation that owns the invaders.
    std::vector<int32_t> fired;
    for (int32_t level : {1, 2}) {
        Restart();
        Object* invader = world.CreateObject(type_id::E_GhostZako5_W, 100, 40, 0, 0, 0, 0, party);
        invader->SetInactive(level * 4);
        Step(world, invader, 400);
        fired.push_back(static_cast<int32_t>(world.enemyBullets.size()));
        EXPECT_EQ(invader->inactive, 0);
    }
    EXPECT_EQ(fired[0], 0);
    EXPECT_GT(fired[1], 0);
    // Placed off the field, its age still starts between 1 and 255 and never returns to 0.
    Object* stray = world.CreateObject(type_id::E_GhostZako5_W, -100, -50, 0, 0, 0, 0, party);
    stray->Run(&world);
    EXPECT_GE(stray->age, 1);
    EXPECT_LE(stray->age, 255);
    // Without its formation it goes.
    Object* orphan = Make(type_id::E_GhostZako5_W, 100, 40);
    orphan->Run(&world);
    EXPECT_EQ(orphan->state, kKilled);
    // Its blast carries its colour number.
    Object* coloured = world.CreateObject(type_id::E_GhostZako5_W, 100, 40, 0, 0, 0, 0, party);
    coloured->OnMessage(Msg(3, 1, static_cast<int32_t>(0xFFA070FFu)));
    coloured->Kill();
    world.SweepObjects();
    std::vector<int32_t> numbers;
    for (Object* o : world.others) {
        if (ClassOf(o) == "EF_Blast_Invader") numbers.push_back(o->angle);
    }
    EXPECT_EQ(numbers, (std::vector<int32_t>{0, 6}));  // the orphan's plain colour, then violet
}

TEST_F(WFamily, GhostBossShedsOneRingPerHitAndNoneFarAbove) {
    struct Case {
        float from, to;
        int32_t shards;
    } cases[] = {{1000, 960, 4}, {1000, 959, 4}, {1000, 993, 0}, {1510, 1500, 0}, {1420, 1400, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.to);
        Restart();
        Object* boss = Make(type_id::E_GhostBoss_W, 128, 60);
        boss->hp = c.from;
        boss->Damage(&world, c.from - c.to);
        EXPECT_EQ(boss->hp, c.to);
        EXPECT_EQ(CountOf(world.enemies, type_id::E_GhostZako4_W), c.shards);
    }
    // Negative damage heals; going, it tells its owner the life left, and without one nothing.
    Object* boss = world.CreateObject(type_id::E_GhostBoss_W, 128, 60, 0, 0, 0, 0, scene);
    boss->hp = 500;
    boss->Damage(&world, -20.0f);
    EXPECT_EQ(boss->hp, 520.0f);
    boss->Vanish();
    Make(type_id::E_GhostBoss_W, 128, 60)->Vanish();
    world.SweepObjects();
    ASSERT_EQ(scene->messages.size(), 1u);
    EXPECT_EQ(scene->messages[0].Code(), 20);
    EXPECT_EQ(scene->messages[0].Int(0), 520);
}

TEST_F(WFamily, StageTwoMiddleEnemyStopsFiresAndDiesIntoBlasts) {
    world.ArrestLevel = 0;
    Object* e = Make(type_id::E_S2MiddleBoss_W, 128, 0, 0, 4);
    e->angle = 2;
    Step(world, e, 17);
    EXPECT_EQ(e->vy, 0.0f);
    EXPECT_EQ(e->score, 2000);
    EXPECT_EQ(e->vx, -1.0f);  // away from the party, which stands at its x
    EXPECT_EQ(e->invincible, 0);
    Step(world, e, 30);
    EXPECT_EQ(CountOf(world.enemies, type_id::E_DestroyableBullet_W), 8);  // at ages 30 and 45, every 15 frames
    e->Kill();
    world.SweepObjects();
    EXPECT_EQ(CountOf(world.others, type_id::EF_Blast_02), 9);
    EXPECT_EQ(scene->score, 0);
    EXPECT_TRUE(scene->messages.empty());
}

TEST_F(WFamily, GhostTrimColoursFollowTheTable) {
    EXPECT_EQ(static_cast<uint32_t>(GhostTrimColour(static_cast<int32_t>(0xFFFF7830u))), 0xFFA03000u);
    EXPECT_EQ(static_cast<uint32_t>(GhostTrimColour(static_cast<int32_t>(0xFFF060FFu))), 0xFF982078u);
    EXPECT_EQ(static_cast<uint32_t>(GhostTrimColour(-1)), 0xFFB01030u);
    EXPECT_EQ(GhostColourNumber(static_cast<int32_t>(0xFFFFA000u)), 2);
    EXPECT_EQ(GhostColourNumber(-1), 0);
}

}  // namespace
}  // namespace enemies_test
