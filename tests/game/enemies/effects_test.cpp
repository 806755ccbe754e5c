#include "enemies_support.h"
#include "game/enemies/effect.h"
#include "game/world/type_table.h"
#include "support/data_table.h"

namespace enemies_test {
namespace {

using testing_support::DataRow;
using testing_support::ReadDataTable;

using Effects = EnemyWorld;

// Runs an effect frame by frame as the world would (Run, then Draw while it lives) until it dies.
int32_t RunToDeath(ObjectController& world, Object* effect, bool draw) {
    int32_t frames = 0;
    while (effect->state == kAlive && frames < 10000) {
        effect->Run(&world);
        if (effect->state == kAlive && draw) effect->Draw(&world);
        ++frames;
    }
    return effect->age - 1;  // the age the killing Run saw
}

TEST_F(Effects, EveryBulletItemAndEffectIdMakesItsOwnClass) {
    for (int32_t id : {0, 1, 2, 3, 4, 5, 6, 267, 268, 269, 270, 271}) {
        Object* o = Make(id);
        EXPECT_EQ(ClassOf(o), kTypeTable[id].className);
        EXPECT_EQ(o->kind, kTypeTable[id].kind);
    }
    const std::vector<DataRow> rows = ReadDataTable(std::string(TANZLOR_TEST_DATA) + "/effect_classes.csv");
    ASSERT_EQ(rows.size(), 65u);
    for (const DataRow& row : rows) {
        const int32_t id = row.Int("id");
        SCOPED_TRACE(row.Text("class"));
        Object* e = Make(id, 10, 20, 1, 2, 0, 0);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(ClassOf(e), row.Text("class"));
        EXPECT_EQ(e->kind, row.Int("kind"));
        EXPECT_EQ(e->width, row.Int("width"));
        EXPECT_EQ(e->height, row.Int("height"));
        // The star draws its own fall and the game-over text falls at 4; the bonus rain, the ghost
        // stage's effects and the band controller take no velocity.
        const bool ownVelocity = id == 287 || id == 288 || id == 290 || (id >= 305 && id <= 307) || id == 316;
        if (!ownVelocity) EXPECT_EQ(e->vy, 2.0f);
        else if (id != 287) { EXPECT_EQ(e->vy, id == 288 ? 4.0f : 0.0f); }
        if (row.Text("life") != "-") { EXPECT_EQ(RunToDeath(world, Make(id), false), row.Int("life")); }
    }
}

TEST_F(Effects, MoveVanishesBeyondTheFieldByTheSize) {
    struct Case {
        int32_t id;
        float x, y;
        int32_t state;
    } cases[] = {
        {272, -16, 100, kAlive}, {272, -17, 100, kVanished}, {272, 272, 100, kAlive}, {272, 273, 100, kVanished},
        {272, 100, 256, kAlive}, {272, 100, 257, kVanished}, {293, 0, 240, kAlive},   {293, -0.5f, 100, kVanished},
        {293, 100, 240.5f, kVanished},
    };
    for (const Case& c : cases) {
        Object* e = Make(c.id, c.x, c.y);
        e->Move(&world);
        EXPECT_EQ(e->state, c.state) << c.id << " " << c.x << "," << c.y;
    }
    // Still effects never move; others keep their angle without acceleration.
    Object* still = Make(type_id::EF_GhostBossBase, 100, 100, 5, 5);
    still->Move(&world);
    EXPECT_EQ(still->x, 100.0f);
    Object* drifting = Make(type_id::EF_EraseBullet, 100, 100, 0, 1);
    drifting->angle = 77;
    drifting->Move(&world);
    EXPECT_EQ(drifting->angle, 77);
    EXPECT_EQ(drifting->y, 101.0f);
}

TEST_F(Effects, KindsOrderTheEffectList) {
    Make(type_id::EF_Star_SS);  // 103
    Make(type_id::EF_Blast_01);  // 101
    Make(type_id::EF_ZanacBlast);  // 102
    Make(type_id::EF_HecatomBonus);  // 100
    std::vector<int32_t> kinds;
    for (Object* o : world.others) kinds.push_back(o->kind);
    EXPECT_EQ(kinds, (std::vector<int32_t>{0, 100, 101, 102, 103}));
}

TEST_F(Effects, SmallBlastShowsEightCellsTwoFramesEach) {
    Object* blast = Make(type_id::EF_Blast_01, 50, 60);
    EXPECT_EQ(RunToDeath(world, blast, true), 16);
    std::vector<std::pair<int32_t, int32_t>> expected;
    for (int cell = 0; cell < 8; ++cell) {
        expected.push_back({cell * 16, 0});
        expected.push_back({cell * 16, 0});
    }
    EXPECT_EQ(effect2.Sources(), expected);
    EXPECT_EQ(effect2.rects[0].x, 42.0f);
}

TEST_F(Effects, LargeBlastSwellsAndShrinks) {
    Object* blast = Make(type_id::EF_Blast_02, 50, 60);
    EXPECT_EQ(RunToDeath(world, blast, true), 18);
    std::vector<int32_t> cells;
    for (const auto& r : effect2.rects) cells.push_back(r.srcX / 32);
    EXPECT_EQ(cells, (std::vector<int32_t>{5, 5, 5, 6, 6, 6, 7, 7, 7, 6, 6, 6, 5, 5, 5, 4, 4, 4}));
}

TEST_F(Effects, TwoPhaseAndShortBlastsWalkTheirCells) {
    Object* zanac = Make(type_id::EF_ZanacBlast, 50, 60);
    EXPECT_EQ(RunToDeath(world, zanac, true), 27);
    EXPECT_EQ(effect2.rects[0].w, 8.0f);
    EXPECT_EQ(effect2.Sources()[13], (std::pair<int32_t, int32_t>{48, 48}));  // frame 6 at its peak
    effect2.rects.clear();
    EXPECT_EQ(RunToDeath(world, Make(type_id::EF_OR_Blast, 50, 60), true), 5);
    EXPECT_EQ(effect2.Sources(),
              (std::vector<std::pair<int32_t, int32_t>>{{0, 64}, {16, 64}, {32, 64}, {32, 72}, {32, 72}}));
}

TEST_F(Effects, StageOneSequenceScattersByPositionsAndAge) {
    party->x = 0;
    party->y = 0;
    Object* boss = Make(type_id::EF_Blast_Stage1Boss, 100, 60);
    for (int t = 0; t < 3; ++t) boss->Run(&world);
    std::vector<std::pair<float, float>> small;
    for (Object* o : world.others) {
        if (ClassOf(o) == "EF_Blast_01") small.push_back({o->x, o->y});
    }
    EXPECT_EQ(small, (std::vector<std::pair<float, float>>{{0, 100}, {6000 % 256, 100}, {12000 % 256, 100}}));
    EXPECT_EQ(CountOf(world.others, type_id::EF_Blast_02), 3);
    EXPECT_GT(world.soundEffects.cooldown[4], 0);
    EXPECT_EQ(RunToDeath(world, boss, false), 120);
}

TEST_F(Effects, StageTwoSequenceEndsWithItsRing) {
    Object* boss = Make(type_id::EF_Blast_Stage2Boss, 128, 60);
    EXPECT_EQ(RunToDeath(world, boss, false), 120);
    EXPECT_EQ(CountOf(world.others, type_id::EF_Blast_01), 121 + 64);
    EXPECT_EQ(CountOf(world.others, type_id::EF_Blast_02), 121 + 64);
}

TEST_F(Effects, StageThreeAndFiveSequences) {
    Object* sweep = Make(type_id::EF_Blast_Stage3Boss, 128, 120);
    EXPECT_EQ(RunToDeath(world, sweep, false), 16);
    EXPECT_EQ(CountOf(world.others, type_id::EF_Blast_01), 16 * 17);
    EXPECT_EQ(world.others.back()->y, 16.0f * 16 + 8);
    world.ClearScene();
    world.SweepObjects();
    EXPECT_EQ(RunToDeath(world, Make(type_id::EF_Blast_Stage5Boss, 128, 120), false), 61);
    EXPECT_EQ(CountOf(world.others, type_id::EF_Blast_01), 62);
}

TEST_F(Effects, StageSevenSequenceMakesFansThenARing) {
    Object* boss = Make(type_id::EF_Blast_Stage7Boss, 128, 60);
    EXPECT_EQ(RunToDeath(world, boss, false), 61);
    EXPECT_EQ(CountOf(world.others, type_id::EF_Blast_02), 64 + 36);
    Object* first = nullptr;
    for (Object* o : world.others) {
        if (ClassOf(o) == "EF_Blast_02") {
            first = o;
            break;
        }
    }
    ASSERT_NE(first, nullptr);
    EXPECT_GT(first->vy, 3.0f);  // fans point down
}

TEST_F(Effects, ReturnFireByRank) {
    party->x = 128;
    party->y = 230;
    struct Case {
        int32_t rank;
        int32_t diesAt;
        int32_t bullets;    // B_Normal_W
        int32_t shootable;  // E_DestroyableBullet_W
    } cases[] = {{4, 15, 0, 1}, {7, 15, 0, 7}, {10, 40, 11, 0}, {300, 150, 151, 0}, {20, 20, 0, 6}, {2, 2, 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rank);
        world.ArrestLevel = c.rank;
        Object* fire = Make(type_id::EF_RefrectBullet, 128, 20);
        EXPECT_EQ(RunToDeath(world, fire, false), c.diesAt);
        EXPECT_EQ(CountOf(world.enemyBullets, type_id::B_Normal_W), c.bullets);
        EXPECT_EQ(CountOf(world.enemies, type_id::E_DestroyableBullet_W), c.shootable);
        world.ClearScene();
        world.SweepObjects();
    }
}

TEST_F(Effects, ReticleReleasesABombWithItsVelocity) {
    StandIn(236);
    Object* reticle = Make(type_id::EF_Sagittarius, 100, 100, 0.5f, 0.25f);
    EXPECT_EQ(reticle->hp, 31.0f);
    int32_t drawn = 0;
    for (int i = 0; i < 61; ++i) {
        reticle->Run(&world);
        effect1.rects.clear();
        reticle->Draw(&world);
        drawn += effect1.rects.empty() ? 0 : 1;
    }
    EXPECT_EQ(drawn, 53);
    EXPECT_EQ(reticle->state, kAlive);
    reticle->Run(&world);
    EXPECT_EQ(reticle->state, kKilled);
    ASSERT_EQ(CountOf(world.enemyBullets, type_id::B_Senkoro_Bomb), 1);
    EXPECT_EQ(world.enemyBullets.back()->vx, 0.5f);
    EXPECT_GT(world.soundEffects.cooldown[32], 0);
}

TEST_F(Effects, PlayerSideEffectsFireShotsForTheirCreator) {
    StandIn(179);
    StandIn(207);
    Object* spark = Make(type_id::EF_Blaster, 100, 100, 0, -2);
    EXPECT_EQ(RunToDeath(world, spark, false), 20);
    ASSERT_EQ(world.shots.size(), 1u);
    spark->Draw(&world);
    EXPECT_EQ(shotBatch.rects.back().y, 80.0f - 8.0f);  // the marker ten frames ahead

    Object* rings = Make(type_id::EF_Poppoes_Reflect, 100, 100);
    rings->angle = -1;
    rings->score = 8;
    rings->SetSide(1);
    EXPECT_EQ(RunToDeath(world, rings, false), 128);
    EXPECT_EQ(world.shots.size(), 2u + 17 * 8);
    int32_t ringShots = 0;
    for (Object* shot : world.shots) ringShots += shot->side == 1 && shot->y == 1100.0f;
    EXPECT_EQ(ringShots, 17 * 8);
    Object* quiet = Make(type_id::EF_Poppoes_Reflect, 100, 100);
    quiet->angle = 3;
    RunToDeath(world, quiet, false);
    EXPECT_EQ(world.shots.size(), 2u + 17 * 8 + 1);
}

}  // namespace
}  // namespace enemies_test
