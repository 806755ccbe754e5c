// Noa, Akimi and Keito firing, and the retro and CF shots they use.
#include <algorithm>
#include <cmath>

#include "framework/core/angle.h"
#include "game/player/shots_cf.h"
#include "game/player/shots_retro.h"
#include "game/world/type_table.h"
#include "player_support.h"

using namespace player_test;

class RetroCF : public PlayerTest {
protected:
    // Frames (counted from 0) on which a shot of the id was made, over the given frames.
    std::vector<int> FireFrames(int32_t typeId, int frames, int* most = nullptr) {
        std::vector<int> made;
        for (int f = 0; f < frames; ++f) {
            Step();
            if (NewShots(typeId) > 0) made.push_back(f);
            if (most != nullptr) *most = std::max(*most, CountShots(typeId));
        }
        return made;
    }
    world_test::Probe* Enemy(int32_t kind, float x, float y) {
        world_test::Probe* e = Add(kind, "enemy", x, y);
        e->hitHalfWidth = e->hitHalfHeight = 4;
        e->hp = e->maxHp = 1000.0f;
        return e;
    }
};

TEST_F(RetroCF, NoaHasOneShotAndANewOneLeavesTheFrameAfterTheOldGoes) {
    PC_Noa* noa = Ready<PC_Noa>(99, 0);
    Hold(kFire1);
    int most = 0;
    std::vector<int> made = FireFrames(177, 20, &most);
    EXPECT_EQ(made, std::vector<int>{0});
    EXPECT_EQ(most, 1);
    noa->link->Kill();
    Step();  // swept: the link is free again
    EXPECT_EQ(noa->link, nullptr);
    Step();
    EXPECT_EQ(NewShots(type_id::S_InvaderShot), 1);
    EXPECT_EQ(noa->link->vy, -2.0f);
}

TEST_F(RetroCF, NoaParkedLetsGoOfHerShotSoSweepingHerFirstIsSafe) {
    PC_Noa* noa = Ready<PC_Noa>(99, 0);
    Hold(kFire2);
    Step();
    Object* shot = noa->link;
    ASSERT_NE(shot, nullptr);
    noa->SetInactive(3600);
    EXPECT_EQ(noa->link, nullptr);
    EXPECT_EQ(shot->owner, nullptr);
    EXPECT_EQ(shot->state, kKilled);
    noa->Vanish();
    Step();
    EXPECT_TRUE(world.shots.empty());
}

TEST_F(RetroCF, NoasPowerUpKeepsLevelZeroAndGivesTheBonusAndInvincibility) {
    PC_Noa* noa = Make<PC_Noa>(99);
    noa->PowerUp(&world, 1);  // no scene: nothing to tell, nothing breaks
    world_test::Probe* scene = MakeScene();
    world.gameMode = 17;
    for (int i = 0; i < 5; ++i) noa->PowerUp(&world, 1);
    EXPECT_EQ(noa->powerLevel, 0);
    EXPECT_EQ(noa->powerItems, 0);
    EXPECT_EQ(noa->invincible, 5 * 60);  // the first went to the party in a cooperative game
    int bonus = 0;
    for (const Message& m : scene->messages) bonus += m.Code() == 4;
    EXPECT_EQ(bonus, 5);
    EXPECT_TRUE(noa->record.events.empty());
}

TEST_F(RetroCF, AkimiFiresByButtonAndLevelWithAFewShotsInFlight) {
    struct Case {
        int32_t level;
        bool button1, button2;
        int interval;
        int most;
    };
    const Case cases[] = {
        {1, true, false, 1, 3}, {0, true, false, 2, 2}, {1, false, true, 7, 3},
        {0, false, true, 10, 2}, {1, true, true, 8, 3}, {0, true, true, 12, 2},
    };
    for (const Case& c : cases) {
        PC_Akimi* akimi = Ready<PC_Akimi>(100, c.level);
        akimi->y = 239.0f;  // the shots stay long in the field
        Hold(kFire1, c.button1);
        Hold(kFire2, c.button2);
        int most = 0;
        std::vector<int> made = FireFrames(180, 100, &most);
        ASSERT_GE(made.size(), 2u);
        // Before the slots fill the shots leave at the interval.
        EXPECT_EQ(made[1] - made[0], c.interval) << c.level << c.button1 << c.button2;
        EXPECT_EQ(most, c.most);
        for (Object* s : world.shots) EXPECT_EQ(s->angle, c.level);  // 1 marks the fast shot
        akimi->Vanish();
        Hold(kFire1, false);
        Hold(kFire2, false);
        Step(80);
    }
}

TEST_F(RetroCF, AkimisLevelStopsAtOneAndTheNextLevelUpTellsTheScene) {
    world_test::Probe* scene = MakeScene();
    PC_Akimi* akimi = Make<PC_Akimi>(100);
    std::vector<int32_t> levels;
    for (int i = 0; i < 5; ++i) {
        akimi->PowerUp(&world, 1);
        levels.push_back(akimi->powerLevel);
    }
    EXPECT_EQ(levels, (std::vector<int32_t>{1, 1, 1, 1, 1}));
    int bonus = 0;
    for (const Message& m : scene->messages) bonus += m.Code() == 4;
    EXPECT_EQ(bonus, 2);  // the third and the fifth item
}

TEST_F(RetroCF, KeitoCyclesHisPatternsOnTheSecondButton) {
    PC_Keito* keito = Ready<PC_Keito>(108, 0);
    std::vector<int32_t> patterns;
    for (int i = 0; i < 4; ++i) {
        Hold(kFire2);
        Step();
        Hold(kFire2, false);
        Step();
        patterns.push_back(keito->keitoPattern);
    }
    EXPECT_EQ(patterns, (std::vector<int32_t>{1, 2, 0, 1}));
    keito->keitoAlternate = 1;
    keito->ResetWeaponState();
    EXPECT_EQ(keito->keitoPattern, 0);
    EXPECT_EQ(keito->keitoAlternate, 0);
}

TEST_F(RetroCF, KeitosFirstVolleyByPatternAndLevel) {
    struct Shot {
        int slot;
        float dx, dy, vx, vy;
        int32_t typeId;
        int32_t angle;  // after creation
        float hp;
    };
    struct Case {
        int32_t pattern, level;
        int32_t cooldown;
        std::vector<Shot> shots;
    };
    const float up = -16.0f;
    const Case cases[] = {
        {0, 0, 6, {{0, 0, 0, 0, up, 217, 6, 0}}},
        {0, 1, 5, {{0, -4, 0, 0, up, 217, 6, 0}, {8, 4, 0, 0, up, 217, 6, 0}}},
        {0, 2, 4, {{0, 0, 0, 0, up, 218, 0, 0}, {8, 0, 0, 0, up, 218, 1, 0}}},
        {0, 3, 3, {{0, 0, 0, 0, up, 218, 0, 0}, {8, 0, 0, 0, up, 218, 1, 0}}},
        {1, 0, 8, {{0, 0, 0, 0, up, 217, 6, 0}, {4, 0, 0, 0, 16, 217, 12, 65535}}},
        {1, 1, 7, {{0, -4, 0, 0, up, 217, 6, 0}, {2, 4, 0, 0, up, 217, 6, 0}, {4, -4, 0, 0, 16, 217, 2, 0},
                   {6, 4, 0, 0, 16, 217, 2, 0}}},
        {1, 3, 5, {{0, -4, 0, 0, up, 217, 6, 0}, {2, 4, 0, 0, up, 217, 6, 0}, {4, -4, 0, 0, 16, 217, 2, 0},
                   {6, 4, 0, 0, 16, 217, 2, 0}, {8, 0, 0, 7, 14, 217, 11, 65535}, {9, 0, 0, -7, 14, 217, 13, 65535}}},
        {2, 0, 7, {{0, 0, 0, 0, up, 217, 6, 0}, {6, 0, 0, 16, 0, 217, 0, 0}, {8, 0, 0, -16, 0, 217, 4, 0}}},
        {2, 1, 6, {{6, 0, -8, 16, 0, 217, 0, 0}, {7, 0, 8, 16, 0, 217, 0, 0}, {8, 0, -8, -16, 0, 217, 4, 0},
                   {9, 0, 8, -16, 0, 217, 4, 0}, {2, 4, 0, 0, up, 217, 6, 0}, {4, -4, 0, 0, up, 217, 6, 0}}},
        {2, 2, 5, {{6, 0, 0, 16, 0, 220, 0, 0}, {8, 0, 0, -16, 0, 220, 0, 0}, {2, 4, 0, 0, up, 217, 6, 0},
                   {4, -4, 0, 0, up, 217, 6, 0}}},
        {2, 3, 4, {{2, 4, 0, 0, up, 217, 6, 0}, {4, -4, 0, 0, up, 217, 6, 0}, {6, 0, -8, 16, 0, 220, 0, 0},
                   {8, 0, -8, -16, 0, 220, 0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "pattern " << c.pattern << " level " << c.level);
        PC_Keito* keito = Ready<PC_Keito>(108, c.level);
        keito->keitoPattern = c.pattern;
        keito->x = 100.0f;
        keito->y = 200.0f;
        Hold(kFire1);
        Step();
        size_t made = 0;
        for (int slot = 0; slot < 10; ++slot) made += keito->weapons[slot] != nullptr;
        EXPECT_EQ(made, c.shots.size());
        for (const Shot& s : c.shots) {
            Object* o = keito->weapons[s.slot];
            ASSERT_NE(o, nullptr) << s.slot;
            EXPECT_TRUE(MadeBy(o, s.typeId)) << s.slot;
            // Shots have run and moved once since they were made.
            EXPECT_EQ(o->y - o->vy, 200.0f + s.dy) << s.slot;
            if (s.typeId != type_id::S_CF_SinShot) {
                EXPECT_EQ(o->x - o->vx, 100.0f + s.dx) << s.slot;
            }
            EXPECT_EQ(o->vx, s.vx) << s.slot;
            EXPECT_EQ(o->vy, s.vy) << s.slot;
            EXPECT_EQ(o->angle, s.angle) << s.slot;
            EXPECT_EQ(o->hp, s.hp) << s.slot;
        }
        EXPECT_EQ(keito->fireCooldown, c.cooldown - 1);
        Hold(kFire1, false);
        keito->Vanish();
        Step();
    }
}

TEST_F(RetroCF, KeitosTopSideVolleyAlternatesBetweenHighAndLowLasers) {
    PC_Keito* keito = Ready<PC_Keito>(108, 3);
    keito->keitoPattern = 2;
    Hold(kFire1);
    Step();
    EXPECT_NE(keito->weapons[6], nullptr);
    EXPECT_EQ(keito->weapons[10], nullptr);
    Step(4);
    EXPECT_EQ(NewShots(type_id::S_CF_HomingLaser), 2);
    EXPECT_NE(keito->weapons[10], nullptr);
    EXPECT_NE(keito->weapons[12], nullptr);
    EXPECT_EQ(keito->weapons[10]->y - keito->weapons[10]->vy, keito->y - keito->vy + 8.0f);
}

TEST_F(RetroCF, KeitosBarriersCircleHimInPatternOneAndGoWhenHeSwitchesOrParks) {
    for (int32_t level : {2, 3}) {
        PC_Keito* keito = Ready<PC_Keito>(108, level);
        Hold(kFire2);
        Step();
        Hold(kFire2, false);
        EXPECT_EQ(CountShots(type_id::S_CF_Barrier), 0);  // none on the Run of the switch
        Step();
        int count = level == 3 ? 6 : 3;
        ASSERT_EQ(CountShots(type_id::S_CF_Barrier), count);  // they come on the next frame
        for (int j = 0; j < count; ++j) {
            Object* b = keito->weapons[PC_Keito::kFirstBarrierSlot + j];
            ASSERT_NE(b, nullptr);
            EXPECT_EQ(b->angle, j % 3);
            EXPECT_NEAR(std::hypot(b->x - keito->x, b->y - keito->y), 32.0f, 1e-3f);
        }
        Object* first = keito->weapons[PC_Keito::kFirstBarrierSlot];
        int32_t degrees = keito->age - 1 - 18;
        EXPECT_NEAR(first->x, keito->x + 32.0f * AngleCos(DegreesToBinaryAngle(degrees * 10)), 1e-3f);
        Step();  // the barriers' first Run sizes them by type
        EXPECT_EQ(first->width, 16);
        EXPECT_EQ(keito->weapons[PC_Keito::kFirstBarrierSlot + 1]->width, 12);
        EXPECT_EQ(keito->weapons[PC_Keito::kFirstBarrierSlot + 2]->hitHalfWidth, 4);
        if (level == 2) {
            Hold(kFire2);  // on to pattern 2
            Step();
            EXPECT_EQ(CountShots(type_id::S_CF_Barrier), 0);
            EXPECT_EQ(keito->weapons[PC_Keito::kFirstBarrierSlot], nullptr);
        } else {
            keito->SetInactive(3600);
            EXPECT_EQ(CountShots(type_id::S_CF_Barrier), 0);
        }
        Hold(kFire2, false);
        keito->Vanish();
        Step();
    }
}

TEST_F(RetroCF, KeitoKeepsHisBarriersAfterFiringAndHisCooldownRunsEveryFrame) {
    PC_Keito* keito = Ready<PC_Keito>(108, 2);
    keito->keitoPattern = 1;
    Hold(kFire1);
    Step();
    ASSERT_FALSE(world.shots.empty());
    EXPECT_TRUE(MadeBy(world.shots.front(), 217));  // the volley first
    EXPECT_TRUE(MadeBy(world.shots.back(), 219));   // then the barriers
    // Down (hp below 1) he neither reads input nor fires nor keeps his barriers (a lost one is
    // not made again, the others stay where they are), yet the cooldown still runs out.
    keito->hp = 0.5f;
    const int32_t cooldown = keito->fireCooldown;
    ASSERT_GT(cooldown, 0);
    keito->weapons[PC_Keito::kFirstBarrierSlot]->Kill();
    const Object* kept = keito->weapons[PC_Keito::kFirstBarrierSlot + 1];
    const float keptX = kept->x, keptY = kept->y;
    Step(cooldown);
    EXPECT_EQ(keito->fireCooldown, 0);
    EXPECT_EQ(keito->weapons[PC_Keito::kFirstBarrierSlot], nullptr);
    EXPECT_EQ(CountShots(type_id::S_CF_Barrier), 2);
    EXPECT_EQ(kept->x, keptX);
    EXPECT_EQ(kept->y, keptY);
}

TEST_F(RetroCF, TheHomingLaserFliesPlainUntilAnEnemyLinesUpThenStrikes) {
    auto* laser = dynamic_cast<S_CF_HomingLaser*>(world.CreateObject(type_id::S_CF_HomingLaser, 50, 200, 16, 0, 0, 0, nullptr));
    Step(2);
    EXPECT_EQ(laser->phase, 0);
    EXPECT_EQ(laser->x, 82.0f);
    Enemy(400, 85.0f, 100.0f);
    std::vector<float> ys;
    for (int f = 0; f < 4; ++f) {
        Step();
        ys.push_back(laser->y);
    }
    EXPECT_EQ(ys, (std::vector<float>{200, 200, 176, 152}));
    EXPECT_EQ(laser->phase, S_CF_HomingLaser::kLaunched);
    EXPECT_EQ(laser->hitHalfWidth, 6);
    EXPECT_EQ(laser->hitHalfHeight, 12);
    auto* down = dynamic_cast<S_CF_HomingLaser*>(world.CreateObject(type_id::S_CF_HomingLaser, 200, 20, -16, 0, 0, 0, nullptr));
    Step(2);
    Enemy(400, down->x - 2.0f, 200.0f);  // far enough below that the strike does not reach it yet
    Step(3);
    EXPECT_EQ(down->vy, 24.0f);
}

TEST_F(RetroCF, SinShotVariantsTraceMirrorImagesAndFlyStraightOtherwise) {
    // Made as Keito makes them: the mirrored one with ax 1.0, which is its variant, not motion.
    auto* right = dynamic_cast<S_CF_SinShot*>(world.CreateObject(type_id::S_CF_SinShot, 128, 230, 0, -4, 0, 0, nullptr));
    auto* left = dynamic_cast<S_CF_SinShot*>(world.CreateObject(type_id::S_CF_SinShot, 128, 230, 0, -4, 1.0f, 0, nullptr));
    EXPECT_EQ(right->angle, 0);
    EXPECT_EQ(left->angle, 1);
    float widest = 0.0f;
    for (int f = 0; f < 40; ++f) {
        Step();
        ASSERT_NEAR(right->x - 128.0f, 128.0f - left->x, 1e-4f) << f;
        EXPECT_EQ(left->vx, 0.0f);
        EXPECT_EQ(left->angle, 1);
        widest = std::max(widest, right->x - 128.0f);
        if (f == 4) {
            EXPECT_NEAR(widest, 16.0f, 1e-3f);  // the first swing
        }
    }
    EXPECT_NEAR(widest, 16.0f * 7, 1e-3f);  // age 39 swings with (39 / 6 + 1) x 16
    EXPECT_EQ(right->y, 230.0f - 4.0f * 40);
    // Past its wide x limits a shot vanishes.
    auto* far = dynamic_cast<S_CF_SinShot*>(world.CreateObject(type_id::S_CF_SinShot, 383, 100, 0, 0, 0, 0, nullptr));
    far->Move(&world);
    EXPECT_TRUE(far->IsAlive());
    far->baseX = far->x = 384.5f;
    far->Move(&world);
    EXPECT_FALSE(far->IsAlive());
}

TEST_F(RetroCF, BarrierTypesSetSizeAndHitBox) {
    const int16_t sizes[] = {16, 12, 8, 8};
    for (int32_t type = 0; type < 4; ++type) {
        Object* b = world.CreateObject(type_id::S_CF_Barrier, 100, 100, static_cast<float>(type), 0, 0, 0, nullptr);
        b->hp = 1.0f;
        Step();
        EXPECT_EQ(b->width, sizes[type]) << type;
        EXPECT_EQ(b->hitHalfWidth, sizes[type] / 2) << type;
        EXPECT_EQ(b->hp, 65535.0f);
        EXPECT_EQ(b->x, 100.0f);  // only its character moves it
        b->Vanish();
        Step();
    }
}

TEST_F(RetroCF, RetroShotsHitOnlyTheirTargets) {
    world_test::Probe* ground = Enemy(400, 100, 100);
    world_test::Probe* air = Enemy(401, 150, 100);
    Object* zapper = world.CreateObject(type_id::S_Zapper, 100, 104, 0, 0, 0, 0, nullptr);
    Object* airBlast = world.CreateObject(type_id::S_Blaster_Blast, 150, 100, 0, 0, 0, 0, nullptr);
    world.CreateObject(type_id::S_Blaster_Blast, 100, 100, 0, 0, 0, 0, nullptr);
    Step();
    EXPECT_TRUE(zapper->IsAlive());
    EXPECT_TRUE(airBlast->IsAlive());
    EXPECT_EQ(ground->damage, std::vector<float>{64.0f});  // the blast only
    EXPECT_TRUE(air->damage.empty());
    Step();
    EXPECT_EQ(CountShots(type_id::S_Blaster_Blast), 0);  // both gone at their second Run
    zapper->x = 150.0f;
    Step();
    EXPECT_EQ(air->damage, std::vector<float>{1.0f});
    EXPECT_EQ(CountShots(type_id::S_Zapper), 0);
}

TEST_F(RetroCF, TheInvaderShotDiesWithTheBulletItErases) {
    world_test::Probe* bullet = Add(700, "bullet", 100, 100);
    bullet->hitHalfWidth = bullet->hitHalfHeight = 2;
    bullet->hp = 0.0f;  // gone at its first hit
    world.CreateObject(type_id::S_InvaderShot, 100, 110, 0, -2, 0, 0, nullptr);
    Step(4);
    EXPECT_EQ(CountShots(type_id::S_InvaderShot), 0);
    EXPECT_TRUE(world.enemyBullets.empty());
}

TEST_F(RetroCF, ShinjinruiShotsByLevel) {
    auto* plain = dynamic_cast<S_ShinjinruiShot*>(world.CreateObject(type_id::S_ShinjinruiShot, 100, 280, 0, -1, 0, 0, nullptr));
    auto* loop = dynamic_cast<S_ShinjinruiShot*>(world.CreateObject(type_id::S_ShinjinruiShot, 50, 200, 0, -1, 0, 0, nullptr));
    loop->SetScore(2);
    Step(13);
    EXPECT_EQ(loop->width, 16);
    // At age 12 the loop has turned once: back on its centre line, 1.5 x 12 up, then moved 1.
    EXPECT_NEAR(loop->x, 50.0f, 0.05f);
    EXPECT_NEAR(loop->y, 200.0f - 18.0f - 1.0f, 0.05f);
    Step(47);
    EXPECT_TRUE(plain->IsAlive());
    Step();
    EXPECT_EQ(CountShots(type_id::S_ShinjinruiShot), 1);
}
