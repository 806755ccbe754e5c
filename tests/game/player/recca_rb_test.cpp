// Minato and Aiko firing, and the Recca and RB weapons.
#include <algorithm>
#include <cmath>

#include "framework/core/angle.h"
#include "game/player/shots_blast.h"
#include "game/player/shots_recca.h"
#include "game/world/type_table.h"
#include "player_support.h"

using namespace player_test;

class ReccaRB : public PlayerTest {
protected:
    world_test::Probe* Enemy(float x, float y) {
        world_test::Probe* e = Add(401, "enemy", x, y);
        e->hp = e->maxHp = 1e6f;
        return e;
    }
    // Held for one frame, then released for one.
    void Press(Button b) {
        Hold(b);
        Step();
        Hold(b, false);
        Step();
    }
};

TEST_F(ReccaRB, MinatoKeepsLevelPlusTwoLasersAlternatingSidesAndLevelsAtTheTop) {
    for (int32_t level : {0, 3}) {
        PC_Minato* minato = Ready<PC_Minato>(120, level);
        minato->y = 239.0f;
        Hold(kFire1);
        int most = 0;
        std::vector<float> xs;
        std::vector<int32_t> levels;
        for (int f = 0; f < 60; ++f) {
            Step();
            most = std::max(most, CountShots(type_id::S_ReccaL));
            for (Object* s : world.shots) {
                if (!MadeBy(s, 153) || s->vy == 0.0f) continue;
                xs.push_back(s->x - minato->x);
                levels.push_back(s->score);
                s->vy = 0.0f;  // held in the field, so that the cap is what stops her
            }
        }
        EXPECT_EQ(most, level + 2) << level;
        ASSERT_GE(xs.size(), 2u);
        if (level == 3) {
            EXPECT_EQ(xs[0], -6.0f);
            EXPECT_EQ(xs[1], 6.0f);
            EXPECT_EQ(levels[0], 2);
            EXPECT_EQ(levels[1], 1);
        } else {
            EXPECT_EQ(xs[0], 0.0f);
            EXPECT_EQ(levels[0], 0);
        }
        Hold(kFire1, false);
        minato->Vanish();
        Step(40);
    }
}

TEST_F(ReccaRB, MinatosChargeGrowsTheBarrierAndAFullOneReleasesTheBomb) {
    struct Case {
        int released;
        bool bomb;
    };
    for (const Case& c : {Case{100, false}, Case{170, true}}) {
        PC_Minato* minato = Ready<PC_Minato>(120, 0);  // counted from its third frame
        std::vector<int32_t> levels;
        for (int f = 3; f <= c.released; ++f) {
            Step();
            Object* barrier = minato->weapons[PC_Minato::kBarrierSlot];
            if (f == 32) {
                EXPECT_EQ(barrier, nullptr);
            }
            if (barrier != nullptr && (levels.empty() || levels.back() != barrier->score)) levels.push_back(barrier->score);
        }
        std::vector<int32_t> expected = c.bomb ? std::vector<int32_t>{0, 1, 2, 3, 4} : std::vector<int32_t>{0, 1, 2};
        EXPECT_EQ(levels, expected);
        Hold(kFire1);
        Step();
        EXPECT_EQ(minato->weapons[PC_Minato::kBarrierSlot], nullptr);
        EXPECT_EQ(minato->weapons[PC_Minato::kBomberSlot] != nullptr, c.bomb);
        EXPECT_EQ(minato->chargeFrames, 0);
        Hold(kFire1, false);
        minato->Vanish();
        Step(140);
    }
}

TEST_F(ReccaRB, MinatosOptionsReturnOnlyWhenBothAreGoneAndParkingTakesEverything) {
    PC_Minato* minato = Ready<PC_Minato>(120, 2);
    Step();
    Object* left = minato->weapons[2];
    ASSERT_NE(left, nullptr);
    ASSERT_NE(minato->weapons[3], nullptr);
    EXPECT_EQ(minato->weapons[3]->score, 1);
    left->Kill();
    Step(2);
    EXPECT_EQ(minato->weapons[2], nullptr);
    minato->weapons[3]->Kill();
    Step(2);
    EXPECT_NE(minato->weapons[2], nullptr);
    Step(40);  // the barrier rises
    ASSERT_NE(minato->weapons[0], nullptr);
    minato->SetInactive(3600);
    Step();
    EXPECT_EQ(minato->powerLevel, 0);
    EXPECT_EQ(minato->weapons[0], nullptr);
    EXPECT_EQ(minato->weapons[2], nullptr);
    EXPECT_EQ(CountShots(type_id::S_ReccaOptionR) + CountShots(type_id::S_ReccaBarrier), 0);
}

TEST_F(ReccaRB, AikoFiresFasterByLevelAndSwitchesFromLevelOne) {
    struct Case {
        int32_t level;
        float speed;
        int interval;
    };
    for (const Case& c : {Case{0, 8, 10}, Case{3, 17, 7}}) {
        PC_Aiko* aiko = Ready<PC_Aiko>(124, c.level);
        Hold(kFire1);
        std::vector<int> made;
        for (int f = 0; f < 20; ++f) {
            Step();
            if (NewShots(type_id::S_RBShot) > 0) made.push_back(f);
            for (Object* s : world.shots) {
                if (MadeBy(s, 164)) {
                    EXPECT_EQ(s->vy, -c.speed);
                    EXPECT_EQ(s->score, c.level);
                    EXPECT_EQ(s->owner, nullptr);
                }
            }
        }
        ASSERT_GE(made.size(), 2u);
        EXPECT_EQ(made[1] - made[0], c.interval);
        Hold(kFire1, false);
        Press(kFire2);
        EXPECT_EQ(aiko->optionsOut, c.level >= 1 ? 1 : 0);
        EXPECT_EQ(aiko->spriteRow, c.level >= 1 ? 57 : 25);
        EXPECT_EQ(aiko->switchCooldown, c.level >= 1 ? 4 : 0);
        if (c.level >= 1) {
            Press(kFire2);  // and back in: the two switches add up
            EXPECT_EQ(aiko->spriteRow, 25);
            EXPECT_EQ(aiko->switchCooldown, 8);
            EXPECT_EQ(CountShots(type_id::S_RBOptionV), 0);
        }
        aiko->Vanish();
        Step(30);
    }
}

TEST_F(ReccaRB, AikosSidePairsFanByLevelAndHerOptionsFireHomingShots) {
    for (int32_t level : {1, 2, 3}) {
        PC_Aiko* aiko = Ready<PC_Aiko>(124, level);
        Hold(kFire1);
        Step();
        std::vector<int32_t> degrees;
        for (Object* s : world.shots) {
            if (MadeBy(s, 166) && s->x < aiko->x) {
                degrees.push_back(static_cast<int32_t>(std::lround(std::atan2(-s->vx, -s->vy) * 180.0 / M_PI)));
            }
        }
        std::sort(degrees.begin(), degrees.end());
        std::vector<int32_t> expected = level == 1 ? std::vector<int32_t>{0}
                                        : level == 2 ? std::vector<int32_t>{0, 9}
                                                     : std::vector<int32_t>{0, 18, 36};
        EXPECT_EQ(degrees, expected) << level;
        EXPECT_EQ(aiko->sideCooldown, (level == 3 ? 8 : 10) - 1);
        Hold(kFire1, false);
        aiko->Vanish();
        Step(40);
    }
    const int intervals[] = {44, 30, 16};
    for (int32_t level = 1; level <= 3; ++level) {
        PC_Aiko* aiko = Ready<PC_Aiko>(124, level);
        Press(kFire2);
        Step(6);
        Hold(kFire1);
        std::vector<int> made;
        for (int f = 0; f < 50; ++f) {
            Step();
            if (NewShots(type_id::S_RBShotVR) > 0) made.push_back(f);
        }
        ASSERT_GE(made.size(), 2u) << level;
        EXPECT_EQ(made[1] - made[0], intervals[level - 1]);
        Hold(kFire1, false);
        aiko->Vanish();
        Step(60);
    }
}

TEST_F(ReccaRB, TheLaserTurnsOnceOntoTheDiagonalUnlessAnEnemyIsAboveAndKeepsATrace) {
    struct Case {
        int32_t level;
        bool enemyAbove;
        float vx;  // after two frames
        int32_t levelAfter;
    };
    const Case cases[] = {{1, false, 11.3f, 3}, {2, false, -11.3f, 4}, {1, true, 0.0f, 1}, {0, false, 0.0f, 0}};
    for (const Case& c : cases) {
        Object* laser = world.CreateObject(type_id::S_ReccaL, 128, 200, 0, -16, 0, 0, nullptr);
        laser->SetScore(c.level);
        // On the laser's diagonal: x + y constant for level 1, x - y for level 2.
        float dx = c.level == 2 ? -40.0f : 40.0f;
        world_test::Probe* diagonal = Enemy(128 + dx, 160);
        world_test::Probe* above = c.enemyAbove ? Enemy(128, 100) : nullptr;
        Step();
        world.enemies.remove(diagonal);
        delete diagonal;
        Step();
        EXPECT_EQ(laser->vx, c.vx) << c.level << c.enemyAbove;
        EXPECT_EQ(laser->score, c.levelAfter);
        ASSERT_NE(laser->link, nullptr);
        EXPECT_EQ(laser->link->score, c.levelAfter);
        EXPECT_EQ(CountShots(type_id::S_ReccaL_Trace), 1);  // the last frame's trace is gone
        if (above != nullptr) {
            world.enemies.remove(above);
            delete above;
        }
        laser->Vanish();
        Step();
        EXPECT_EQ(CountShots(type_id::S_ReccaL_Trace), 0);
    }
    Object* laser = world.CreateObject(type_id::S_ReccaL, 128, 200, 0, 0, 0, 0, nullptr);
    for (int i = 0; i < 64; ++i) laser->Damage(&world, 1.0f);
    EXPECT_TRUE(laser->IsAlive());
    laser->Damage(&world, 1.0f);
    EXPECT_FALSE(laser->IsAlive());
}

TEST_F(ReccaRB, HomingAndOptionsTurnAtTheirRates) {
    const int32_t rates[] = {910, 1274, 1638, 2002};
    world_test::Probe* below = Enemy(128, 250);  // the shots turn toward 16384
    for (int32_t level = 0; level < 4; ++level) {
        Object* h = world.CreateObject(type_id::S_ReccaH, 128, 100, 5, 0, 0, 0, nullptr);
        h->SetScore(level);
        h->angle = 8192;
        h->Run(&world);
        EXPECT_EQ(h->angle, 8192 + rates[level]) << level;
        h->Vanish();
    }
    world.enemies.remove(below);
    delete below;
    // The seeking option with no enemy turns toward straight up; the steered one holds its aim.
    auto* seeking = world.CreateObject(type_id::S_ReccaOptionS, 128, 100, 0, 0, 0, 0, party);
    seeking->angle = 40000;
    seeking->Run(&world);
    EXPECT_EQ(seeking->angle, 40910);
    auto* steered = dynamic_cast<S_ReccaOptionC*>(world.CreateObject(type_id::S_ReccaOptionC, 128, 100, 0, 0, 0, 0, party));
    steered->aim = 16384;
    steered->angle = 16384;
    steered->Run(&world);
    EXPECT_EQ(steered->angle, 16384);
    EXPECT_EQ(steered->aim, 16384);
    world.input.game[0] = 1;  // up held: the aim is the opposite, 16384
    steered->Run(&world);
    EXPECT_EQ(steered->aim, 16384);
    world.input.game[0] = 0;
    world.input.game[3] = 1;  // right held: aim left
    steered->Run(&world);
    EXPECT_EQ(steered->aim, 32768);
    EXPECT_EQ(steered->angle, 16384 + 2730);
    // The rotating option rides radius 16 at 12 degrees a frame.
    Object* rotating = world.CreateObject(type_id::S_ReccaOptionR, 0, 0, 0, 0, 0, 0, party);
    rotating->Run(&world);
    int32_t first = rotating->angle;
    rotating->Run(&world);
    EXPECT_EQ(rotating->angle - first, DegreesToBinaryAngle(12));
    EXPECT_NEAR(std::hypot(rotating->x - party->x, rotating->y - party->y), 16.0f, 1e-3f);
}

TEST_F(ReccaRB, OptionCellRangesExcludeTheirLowerBoundAndTheFirstMatchWins) {
    struct Case {
        int32_t angle;
        int32_t cell;
    };
    const Case cases[] = {{47104, 15}, {47105, 0}, {51150, 0}, {51201, 1}, {-2047, 4}, {2048, 4},
                          {2049, 5}, {44000, -1}, {65000, -1}, {48833, 0}};
    for (const Case& c : cases) EXPECT_EQ(OptionCellFor(c.angle), c.cell) << c.angle;
}

TEST_F(ReccaRB, OwnerlessOptionsAndLasersStandWhereTheyWereMade) {
    for (int32_t id : {155, 156, 157, 158, 159, 165, 168, 170, 171, 173}) {
        Object* o = world.CreateObject(id, 50, 60, 0, 0, 0, 0, nullptr);
        Step(3);
        EXPECT_EQ(o->x, 50.0f) << id;
        o->Vanish();
        Step();
    }
    EXPECT_TRUE(world.shots.empty());
}

TEST_F(ReccaRB, TheBombLives129FramesAndCyclesItsFrames) {
    auto* bomb = dynamic_cast<S_ReccaBomber*>(world.CreateObject(type_id::S_ReccaBomber, 128, 120, 0, 0, 0, 0, nullptr));
    std::vector<int32_t> frames;
    for (int f = 0; f < 18; f += 3) {
        bomb->Run(&world);
        frames.push_back(bomb->frame);
        bomb->Run(&world);
        bomb->Run(&world);
    }
    EXPECT_EQ(frames, (std::vector<int32_t>{0, 1, 2, 3, 2, 1}));
    bomb->Vanish();
    Step();
    world.CreateObject(type_id::S_ReccaBomber, 128, 120, 0, 0, 0, 0, nullptr);
    Step(128);
    EXPECT_EQ(CountShots(type_id::S_ReccaBomber), 1);
    Step();
    EXPECT_EQ(CountShots(type_id::S_ReccaBomber), 0);
}

TEST_F(ReccaRB, RBOptionsStayInTheFieldAndTheCirclingOneTrailsShields) {
    world_test::Probe* corner = Add(10, "owner", 0, 240);
    Object* v = world.CreateObject(type_id::S_RBOptionV, 0, 0, 0, 0, 0, 0, corner);
    Step(8);
    EXPECT_EQ(v->x, 2.0f);
    EXPECT_EQ(v->y, 236.0f);
    Object* plain = world.CreateObject(type_id::S_RBOptionL, 0, 0, 0, 0, 0, 0, party);
    auto* shielded = dynamic_cast<S_RBOptionL*>(world.CreateObject(type_id::S_RBOptionL, 0, 0, 0, 0, 0, 0, party));
    shielded->SetScore(2);
    Step();
    EXPECT_EQ(CountShots(type_id::S_RBOptionLShield), 2);
    EXPECT_EQ(dynamic_cast<S_RBOptionL*>(plain)->children[0], nullptr);
    shielded->children[0]->Kill();
    Step();
    EXPECT_EQ(shielded->children[0], nullptr);
    Step();
    EXPECT_EQ(CountShots(type_id::S_RBOptionLShield), 2);  // remade the frame after
    shielded->Kill();
    Step();
    EXPECT_EQ(CountShots(type_id::S_RBOptionLShield), 0);
}

TEST_F(ReccaRB, RBShotLifetimesAndTheBurstOnlyWhenKilled) {
    struct Case {
        int32_t id;
        int lastAge;  // alive after this many frames, gone after one more
    };
    for (const Case& c : {Case{172, 46}, Case{175, 30}, Case{176, 60}}) {
        world.CreateObject(c.id, 128, 120, 0, 0, 0, 0, nullptr);
        Step(c.lastAge);
        EXPECT_EQ(CountShots(c.id), 1) << c.id;
        Step();
        EXPECT_EQ(CountShots(c.id), 0) << c.id;
        for (Object* s : world.shots) s->Vanish();
        Step();
    }
    world.CreateObject(type_id::S_RBShotMR, 128, 120, 0, 0, 0, 0, nullptr)->Damage(&world, 1.0f);
    world.CreateObject(type_id::S_RBShotMR, 128, 120, 0, 0, 0, 0, nullptr)->Vanish();
    Step();
    EXPECT_EQ(CountShots(type_id::S_RBShotMRBlast), 1);
    Object* missile = world.CreateObject(type_id::S_RBShotM, 128, 200, 0, -1, 0, 0, nullptr);
    Step(15);
    EXPECT_EQ(missile->ay, 0.0f);
    Step();
    EXPECT_EQ(missile->ay, -0.2f);
}
