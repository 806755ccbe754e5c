#include <algorithm>
#include <cmath>
#include <vector>

#include "enemies_support.h"
#include "game/enemies/enemy.h"
#include "game/world/type_table.h"

namespace enemies_test {
namespace {

class Bosses : public EnemyWorld {
protected:
    void Step(Object* e, int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            e->Run(&world);
            e->Move(&world);
        }
    }
    std::vector<int32_t> Codes() const {
        std::vector<int32_t> out;
        for (const Message& m : scene->messages) out.push_back(m.Code());
        return out;
    }
    Object* Find(int32_t typeId) {
        for (ObjectList* l : {&world.enemies, &world.others, &world.shots}) {
            for (Object* o : *l) {
                if (ClassOf(o) == kTypeTable[typeId].className) return o;
            }
        }
        return nullptr;
    }
};

// ---- Timed stage bosses ----

TEST_F(Bosses, StageOneBossPaysItsTimeBonusAndEndsTheStageAfterCrediting) {
    struct Case {
        int32_t age;
        int32_t credited;
    } cases[] = {{100, 100000 + 5600}, {660, 100000}, {661, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.age);
        scene->score = 0;
        scene->messages.clear();
        Object* boss = Make(type_id::E_Stage1_Boss, 128, -31, 0, 2);
        Make(type_id::E_Box_W, 40, 40);
        for (int i = 0; i < c.age; ++i) boss->Run(&world);
        boss->Kill();
        world.SweepObjects();
        EXPECT_EQ(scene->score, c.credited);
        EXPECT_EQ(Codes(), (std::vector<int32_t>{2, 12}));
        EXPECT_EQ(CountOf(world.enemies, type_id::E_Box_W), 0);  // vanished without score
        world.SweepObjects();
        EXPECT_EQ(CountOf(world.others, type_id::EF_Blast_Stage1Boss), 1);
        world.ClearScene();
        world.SweepObjects();
        world.currentScene = scene = new Probe();
        world.AddObject(scene, 0);
    }
    // At 1540 it ends itself.
    Object* boss = Make(type_id::E_Stage1_Boss, 128, 60);
    for (int i = 0; i < 1541 && boss->state == kAlive; ++i) boss->Run(&world);
    EXPECT_EQ(boss->age, 1541);
    EXPECT_EQ(boss->state, kKilled);
}

TEST_F(Bosses, StageTwoBossSpeedsUpToSixteenAndOthersKeepTheirTimetables) {
    world.ArrestLevel = 20;
    Object* two = Make(type_id::E_Stage2_Boss, 128, 60, 2, 0);
    float fastest = 0.0f;
    for (int i = 0; i < 1100; ++i) {
        Step(two);
        fastest = std::max(fastest, std::fabs(two->vx));
    }
    EXPECT_EQ(fastest, 16.0f);
    EXPECT_GT(world.enemyBullets.size() + world.enemies.size(), 1u);

    // The stage 6 boss drains 200 a frame, cycles its patterns and leaves at 1800 unreported.
    Object* six = Make(type_id::E_Stage6_Boss, 128, 40, 0, 1);
    for (int i = 0; i < 10; ++i) six->Run(&world);
    EXPECT_EQ(six->score, 500000 - 2000);
    for (int i = 10; i < 1801; ++i) {
        six->Run(&world);
        six->Move(&world);
    }
    EXPECT_LT(six->vy, 0.0f);
    world.SweepObjects();
    EXPECT_GT(CountOf(world.enemies, type_id::E_SenkoroMissile_W), 0);  // the missile patterns came round
    EXPECT_GT(CountOf(world.enemies, type_id::E_DestroyableBullet3_W), 0);
    for (int i = 0; i < 200 && six->state == kAlive; ++i) six->Move(&world);
    EXPECT_EQ(six->state, kVanished);
    EXPECT_TRUE(scene->messages.empty() || Codes().back() != 12);

    // The stage 9 boss sets off by the parity of the scene's hundreds.
    for (int32_t points : {200, 300}) {
        scene->score = points;
        Object* nine = Make(type_id::E_Stage9_Boss, 128, 40);
        for (int i = 0; i < 61; ++i) nine->Run(&world);
        EXPECT_EQ(nine->vx, points == 200 ? 2.0f : -2.0f);
    }
}

// The stage 5 boss fires by 120-frame phase: a turning pair of bullets at 2 and 4, a missile on a
// swing it follows itself, beams, and a missile at the party at 6; walls turn it back.
TEST_F(Bosses, StageFiveBossFiresByPhaseTurnsAtTheWallsAndEndsTheStage) {
    const float r2 = std::sqrt(2.0f);
    struct Case {
        int32_t age, typeId;
        std::vector<std::pair<float, float>> velocities;
    } cases[] = {
        {0, 1, {{2, 0}, {4, 0}}},
        {4, 1, {{r2, r2}, {2 * r2, 2 * r2}}},  // 45 degrees
        {8, 1, {{0, 2}, {0, 4}}},
        {2, 1, {}},
        {240, 31, {{0, 16}}},
        {244, 31, {}},
        {360, 17, {{0, 6}}},  // the party is straight below
        {480, 1, {{2, 0}, {4, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.age);
        world.ClearAll();
        world.SweepObjects();
        auto* boss = dynamic_cast<Enemy*>(Make(type_id::E_Stage5_Boss, 128, 100));
        boss->age = c.age;
        boss->Run(&world);
        std::vector<Object*> made;
        for (ObjectList* l : {&world.enemies, &world.enemyBullets}) {
            for (Object* o : *l) {
                if (o != boss) made.push_back(o);
            }
        }
        ASSERT_EQ(made.size(), c.velocities.size());
        for (size_t i = 0; i < made.size(); ++i) {
            EXPECT_EQ(ClassOf(made[i]), kTypeTable[c.typeId].className);
            EXPECT_NEAR(made[i]->vx, c.velocities[i].first, 1e-3f);
            EXPECT_NEAR(made[i]->vy, c.velocities[i].second, 1e-3f);
        }
    }
    // At 120 the missile leaves along 270 + 60 sin(65 x 120) degrees = 218.04, and so does the boss.
    Object* boss = Make(type_id::E_Stage5_Boss, 128, 100);
    boss->age = 120;
    boss->Run(&world);
    EXPECT_NEAR(boss->angle, 39692, 2);
    // Walls: a side mirrors the angle about the vertical, the bottom about the horizontal.
    struct Wall {
        float x, y;
        int32_t angle, turned;
        float placedX, placedY;
    } walls[] = {{2, 100, 32768, 1, 4, 100}, {254, 100, 0, 32769, 252, 100}, {128, 236, 16384, 49152, 128, 232}};
    for (const Wall& w : walls) {
        Object* b = Make(type_id::E_Stage5_Boss, w.x, w.y);
        b->age = 1;
        b->angle = w.angle;
        b->Run(&world);
        EXPECT_EQ(b->angle, w.turned) << w.x << "," << w.y;
        EXPECT_EQ(b->x, w.placedX);
        EXPECT_EQ(b->y, w.placedY);
    }
    // Shot down at 100: its score plus the time bonus, its blast, the stage's end.
    world.ClearAll();
    world.SweepObjects();
    world.currentScene = scene = new Probe();
    world.AddObject(scene, 0);
    Object* shot = Make(type_id::E_Stage5_Boss, 128, 100);
    for (int i = 0; i < 100; ++i) shot->Run(&world);
    shot->Kill();
    world.SweepObjects();
    EXPECT_EQ(scene->score, 200000 + 5600);
    EXPECT_EQ(Codes(), (std::vector<int32_t>{12, 2}));
    world.SweepObjects();
    EXPECT_EQ(CountOf(world.others, type_id::EF_Blast_Stage5Boss), 1);
    Object* late = Make(type_id::E_Stage5_Boss, 128, 100);
    for (int i = 0; i < 1201 && late->state == kAlive; ++i) late->Run(&world);
    EXPECT_EQ(late->age, 1201);
}

// ---- Stage 7 ----

TEST_F(Bosses, StageSevenFormsChangeByLifeAndTime) {
    for (int32_t players : {1, 4}) {
        world.playerCount = players;
        Object* boss = Make(type_id::E_Stage7_Boss, 128, 0);
        boss->Run(&world);
        EXPECT_NEAR(boss->hp - 4000.0f, players == 1 ? 128.0f : 396.8f, 1e-3);
    }
    world.playerCount = 1;
    scene->messages.clear();
    Object* boss = Make(type_id::E_Stage7_Boss, 128, 0);
    boss->Run(&world);
    boss->Damage(&world, 50.0f);  // the first two seconds ignore hits
    EXPECT_EQ(boss->hp, 4128.0f);
    for (int i = 1; i < 130; ++i) boss->Run(&world);
    boss->Damage(&world, 100.0f);
    EXPECT_EQ(boss->hp, 4028.0f);  // lowered once
    scene->score = 0;
    boss->Damage(&world, 100.0f);  // below 4000 at age 130: the next form
    EXPECT_EQ(boss->age, 0);
    EXPECT_EQ(boss->hp, 4128.0f);
    EXPECT_EQ(boss->invincible, 90);
    ASSERT_EQ(scene->messages.size(), 1u);
    EXPECT_EQ(scene->messages[0].Code(), 14);
    EXPECT_EQ(scene->messages[0].Int(1), (1860 - 130) * 20);
    EXPECT_EQ(scene->score, (4360 - 130) * 20);

    // A form that runs out of time sends -20 and pays nothing.
    scene->score = 0;
    for (int i = 0; i < 1862; ++i) boss->Run(&world);
    EXPECT_EQ(scene->messages.back().Int(1), -20);
    EXPECT_EQ(scene->score, 0);

    // The fifth change ends the boss and every enemy.
    Object* bystander = Make(type_id::E_Box_W, 40, 40);
    for (int form = 3; form <= 4; ++form) {
        for (int i = 0; i < 130; ++i) boss->Run(&world);
        boss->Damage(&world, 1000.0f);
    }
    EXPECT_EQ(boss->state, kAlive);
    for (int i = 0; i < 130; ++i) boss->Run(&world);
    boss->Damage(&world, 1000.0f);
    EXPECT_EQ(boss->state, kKilled);
    EXPECT_EQ(bystander->state, kKilled);
}

TEST_F(Bosses, StageSevenIntervalVolleysPauseInABusyField) {
    std::vector<size_t> made;
    for (int32_t load : {63, 64}) {
        world.ClearScene();
        world.SweepObjects();
        Object* boss = Make(type_id::E_Stage7_Boss, 128, 0);
        for (int change = 0; change < 2; ++change) {  // on to form 2, the ripples
            for (int i = 0; i < 130; ++i) boss->Run(&world);
            boss->Damage(&world, 1000.0f);
        }
        for (int i = 0; i < 121; ++i) boss->Run(&world);
        world.SweepObjects();
        world.counts.enemyCount = load;
        const int32_t before = CountOf(world.enemies, type_id::E_Hamon);
        for (int i = 0; i < 59; ++i) boss->Run(&world);  // ages 121-179: no dash start
        made.push_back(static_cast<size_t>(CountOf(world.enemies, type_id::E_Hamon) - before));
    }
    EXPECT_GT(made[0], 0u);
    EXPECT_EQ(made[1], 0u);
}

TEST_F(Bosses, StageSevenProjectilesSizeCurlShedAndLeave) {
    // The scarlet meister takes its size from its variant at age 0.
    struct Size {
        int32_t variant, width, half;
    } sizes[] = {{0, 32, 16}, {1, 16, 8}, {2, 8, 4}};
    for (const Size& c : sizes) {
        Object* meister = Make(type_id::E_ScarletMeister, 128, 120, 0, 3);
        meister->angle = c.variant;
        meister->Run(&world);
        EXPECT_EQ(meister->width, c.width) << c.variant;
        EXPECT_EQ(meister->hitHalfWidth, c.half) << c.variant;
        EXPECT_EQ(meister->hitHalfHeight, c.half) << c.variant;
    }
    // Big red magic curls for 40 frames, by 364 one way or 365 the other, sheds a small one every
    // fourth frame from age 12 and flies on at 2.
    struct Curl {
        float accel;
        int32_t angle;
    } curls[] = {{0, 40 * 364}, {1, 65536 - 40 * 365}};
    for (const Curl& c : curls) {
        world.ClearAll();
        world.SweepObjects();
        Object* big = Make(type_id::E_RedMagic_Big, 128, 120, 1, 0, c.accel, 0);
        for (int i = 0; i < 60; ++i) big->Run(&world);
        EXPECT_EQ(big->angle, c.angle) << c.accel;
        EXPECT_EQ(big->speed, 2.0f);
        EXPECT_EQ(CountOf(world.enemies, type_id::E_RedMagic_Small), 12);  // ages 12, 16, ..., 56
    }
    // Small red magic waits 61 frames, then speeds up along its heading; it goes off the field.
    Object* small = Make(type_id::E_RedMagic_Small, 128, 120, 0, 1);
    for (int i = 0; i < 62; ++i) {
        small->Run(&world);
        small->Move(&world);
    }
    EXPECT_EQ(small->x, 128.0f);
    EXPECT_NEAR(small->y, 120.01f, 1e-4f);  // one step at 0.01
    for (int i = 0; i < 300 && small->state == kAlive; ++i) {
        small->Run(&world);
        small->Move(&world);
    }
    EXPECT_EQ(small->state, kVanished);
    EXPECT_GT(small->y, 244.0f);
    EXPECT_LT(small->y, 246.0f);
}

TEST_F(Bosses, RipplesReflectOnce) {
    Object* ripple = Make(type_id::E_Hamon, 5, 100, -2, 0);
    for (int i = 0; i < 10; ++i) {
        ripple->Run(&world);
        ripple->Move(&world);
    }
    EXPECT_GT(ripple->vx, 0.0f);
    ripple->x = 253;
    ripple->Run(&world);
    EXPECT_GT(ripple->vx, 0.0f);  // the second wall lets it through
}

// ---- Snake ----

TEST_F(Bosses, SnakeDragsItsSegmentsAndBlowsThemUpFromTheFront) {
    Object* head = Make(type_id::E_ReccaSnake_Head, 128, 60, 1, 0, 40, 0);  // 40 asked, 32 made
    head->Run(&world);
    ASSERT_EQ(CountOf(world.enemies, type_id::E_ReccaSnake_Body), 32);
    std::vector<Object*> segments;
    for (Object* o : world.enemies) {
        if (ClassOf(o) == "E_ReccaSnake_Body") segments.push_back(o);
    }
    // From the first frame each segment sits where the head was 3 + 4j frames before (its start).
    for (int i = 0; i < 20; ++i) {
        head->Move(&world);
        head->Run(&world);
    }
    EXPECT_EQ(segments[0]->x, head->x - 3.0f);  // 3 frames behind at vx 1
    EXPECT_EQ(segments[31]->x, 128.0f);                // still at the start
    // A segment shot down leaves its slot empty; the rest go on.
    segments[5]->hp = -1;
    segments[5]->Kill();
    world.SweepObjects();
    head->hp = 10000;
    std::vector<int32_t> killedAt;
    int32_t headEnd = -1;  // the head's age once it has killed itself (it is gone after the sweep)
    for (int dying = 1; dying <= 140 && headEnd < 0; ++dying) {
        const int32_t before = CountOf(world.enemies, type_id::E_ReccaSnake_Body);
        head->Run(&world);
        int32_t killed = 0;
        for (Object* s : world.enemies) killed += ClassOf(s) == "E_ReccaSnake_Body" && s->state == kKilled;
        if (killed > 0) killedAt.push_back(dying);
        if (head->state == kKilled) headEnd = head->age;
        world.SweepObjects();
        EXPECT_LE(CountOf(world.enemies, type_id::E_ReccaSnake_Body), before);
    }
    ASSERT_EQ(killedAt.size(), 31u);
    EXPECT_EQ(killedAt.front(), 1);
    EXPECT_EQ(killedAt.back(), 125);
    EXPECT_EQ(headEnd, 21 + 127);  // one slot empty: it ends at dying 128
    const std::vector<int32_t> codes = Codes();
    EXPECT_EQ(std::vector<int32_t>(codes.end() - 2, codes.end()), (std::vector<int32_t>{6, 2}));

    // At full life it dies on its own after 900 frames; without segments, at once.
    Object* lone = Make(type_id::E_ReccaSnake_Head, 128, 60, 0, 0, 0, 0);
    lone->Run(&world);
    EXPECT_EQ(lone->state, kKilled);
    Object* patient = Make(type_id::E_ReccaSnake_Head, 128, 60, 0, 0, 1, 0);
    for (int i = 0; i < 1100 && patient->state == kAlive; ++i) patient->Run(&world);
    EXPECT_EQ(patient->state, kKilled);
    EXPECT_GT(patient->age, 900);
}

TEST_F(Bosses, CarriersStopFireLeaveAndReportASubversion) {
    Object* carrier = Make(type_id::E_Recca_4, 100, 0, 0, 4);
    std::vector<int32_t> beamAges;
    for (int i = 0; i < 250; ++i) {
        const int32_t before = CountOf(world.enemies, type_id::E_Beam_W);
        carrier->Run(&world);
        if (CountOf(world.enemies, type_id::E_Beam_W) > before) beamAges.push_back(carrier->age - 1);
        carrier->Move(&world);
        if (i == 20) { EXPECT_EQ(carrier->y, 32.0f); }  // stopped at age 8
    }
    EXPECT_EQ(beamAges.front(), 61);
    EXPECT_EQ(beamAges.back(), 239);
    EXPECT_EQ(carrier->vy, -16.0f);
    carrier->Kill();
    world.SweepObjects();
    EXPECT_EQ(Codes(), (std::vector<int32_t>{6, 2}));
}

// ---- Mid-bosses ----

TEST_F(Bosses, ThreeCannonFiresOnlyLevelWithThePartyAndUnlocksAfter24Volleys) {
    party->x = 20;
    Object* aside = Make(type_id::E_3Cannon_B, 200, 0);
    for (int i = 0; i < 100; ++i) {
        party->x = aside->x - 30.0f;  // always more than 4 aside
        Step(aside);
    }
    EXPECT_EQ(CountOf(world.enemies, type_id::E_SmallMissile_W), 0);

    party->x = 128;
    Object* cannon = Make(type_id::E_3Cannon_B, 128, 0);
    for (int i = 0; i < 21 + 24 * 4 && Find(type_id::EF_UnLock) == nullptr; ++i) Step(cannon);
    EXPECT_NE(Find(type_id::EF_UnLock), nullptr);
    EXPECT_EQ(CountOf(world.enemies, type_id::E_SmallMissile_W), 24);  // level 0: one missile a volley
    scene->messages.clear();
    cannon->Kill();
    aside->Kill();
    world.SweepObjects();
    EXPECT_EQ(Codes(), (std::vector<int32_t>{9, 2, 7, 2}));  // the one aside first
}

TEST_F(Bosses, UfoAmmunitionAndLimitsByLevel) {
    world.gameMode = 16;  // fires whether aligned or not
    struct Case {
        int32_t level, ammo, limit;
    } cases[] = {{0, 8, -8}, {1, 16, -12}, {2, 8, -8}, {3, 32, -32}, {9, 32, -32}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        Object* ufo = Make(type_id::E_UFO_B, 128, 0);
        ufo->angle = c.level;
        for (int i = 0; i < 21; ++i) ufo->Run(&world);
        std::vector<int32_t> volleysSeen;
        int32_t volleys = 0;
        int32_t lastCount = CountOf(world.enemies, type_id::E_UFO_Bit_B);
        for (int i = 21; i < 590; ++i) {
            ufo->Run(&world);
            const int32_t now = CountOf(world.enemies, type_id::E_UFO_Bit_B);
            if (now > lastCount) volleys += 1;
            lastCount = now;
        }
        // Level 2 fires each volley over eight frames; the others in one.
        EXPECT_EQ(c.level % 4 == 2 ? volleys / 8 : volleys, c.ammo - c.limit);
        world.ClearScene();
        world.SweepObjects();
        world.currentScene = scene = new Probe();
        world.AddObject(scene, 0);
    }
}

TEST_F(Bosses, ShieldHitsHealTheBossUpToItsMaximum) {
    Object* boss = Make(type_id::E_Shield_B, 128, 0);
    boss->Run(&world);
    EXPECT_EQ(boss->maxHp, 16.0f);  // (8 - 0) x 2 for one player
    Object* shield = Find(type_id::E_Shield_Slave_B);
    ASSERT_NE(shield, nullptr);
    EXPECT_EQ(CountOf(world.enemies, type_id::E_Shield_Slave_B), 2);
    boss->hp = 8.0f;
    shield->Damage(&world, 5.0f);
    EXPECT_EQ(boss->hp, 13.0f);
    shield->Damage(&world, 5.0f);
    EXPECT_EQ(boss->hp, 16.0f);
    // Level 7 acts as level 3: sixteen shields and a positive life.
    Object* high = Make(type_id::E_Shield_B, 128, 0);
    high->angle = 7;
    high->Run(&world);
    EXPECT_EQ(CountOf(world.enemies, type_id::E_Shield_Slave_B), 2 + 16);
    EXPECT_EQ(high->maxHp, 10.0f);
}

// Stands in for a wave: counts the enemies it is told are gone.
class CountingWave : public Object {
public:
    CountingWave() { Init(); }
    void ForgetObject(Object* gone) override { forgotten.push_back(gone); }
    std::vector<Object*> forgotten;
};

TEST_F(Bosses, CutArmsReleaseTheirOuterSegmentsAndTheBossReachesItsWave) {
    CountingWave wave;
    Object* boss = world.CreateObject(type_id::E_Arms_B, 128, 0, 0, 0, 0, 0, &wave);
    boss->angle = 7;  // acts as 3: eight arms of seven
    boss->Run(&world);
    ASSERT_EQ(CountOf(world.enemies, type_id::E_Arms_Slave_B), 56);
    for (int i = 0; i < 15; ++i) boss->Run(&world);
    // Cut the first arm at its third segment: the segments beyond it leave the arm.
    std::vector<Object*> first;
    for (Object* o : world.enemies) {
        if (ClassOf(o) == "E_Arms_Slave_B" && first.size() < 7) first.push_back(o);
    }
    first[2]->Kill();
    world.SweepObjects();
    EXPECT_EQ(first[1]->owner, boss);
    EXPECT_EQ(first[3]->owner, nullptr);
    EXPECT_NE(first[3]->vx * first[3]->vx + first[3]->vy * first[3]->vy, 0.0f);
    // Gone, it takes its held segments along, leaves the released ones and tells its wave.
    boss->Vanish();
    world.SweepObjects();
    world.SweepObjects();
    EXPECT_EQ(CountOf(world.enemies, type_id::E_Arms_Slave_B), 4);
    EXPECT_EQ(std::count(wave.forgotten.begin(), wave.forgotten.end(), boss), 1);
}

}  // namespace
}  // namespace enemies_test
