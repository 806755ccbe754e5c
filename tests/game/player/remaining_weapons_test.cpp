// The weapon families nothing in the game makes: bomb and ice, Rockman, R-type, BS, DG, GC, BH,
// HSG, DOGMA, Hisouten and Hattori, made by id and checked rule by rule.
#include <algorithm>
#include <cmath>

#include "../enemies/enemies_support.h"
#include "game/player/shots_bm_ice.h"
#include "game/player/shots_hisouten.h"
#include "game/world/type_table.h"
#include "player_support.h"

using namespace player_test;
using enemies_test::CellRecorder;
using enemies_test::Sheet256;

class Remaining : public PlayerTest {
protected:
    Remaining() {
        gameSprites.shot = &shotBatch;
        gameSprites.effect2 = &effect2Batch;
    }
    ~Remaining() override { gameSprites = GameSpriteSet{}; }

    Object* Make(int32_t id, float x, float y, float vx = 0, float vy = 0, Object* owner = nullptr) {
        return world.CreateObject(id, x, y, vx, vy, 0, 0, owner);
    }
    world_test::Probe* Enemy(int32_t kind, float x, float y) {
        world_test::Probe* e = Add(kind, "enemy", x, y);
        e->hitHalfWidth = e->hitHalfHeight = 4;
        e->hp = e->maxHp = 1e6f;
        return e;
    }
    // The source corners a freshly made weapon draws with the given angle, score and age.
    std::vector<std::pair<int32_t, int32_t>> Cells(int32_t id, int32_t angle, int32_t score, int32_t age) {
        Object* o = Make(id, 128, 120);
        o->angle = angle;
        o->score = score;
        o->age = age;
        shotBatch.rects.clear();
        effect2Batch.rects.clear();
        o->Draw(&world);
        auto out = id == 241 ? effect2Batch.Sources() : shotBatch.Sources();
        o->Vanish();
        return out;
    }
    using Cell = std::pair<int32_t, int32_t>;

    Sheet256 sheet;
    CellRecorder shotBatch{&sheet}, effect2Batch{&sheet};
};

TEST_F(Remaining, DrawCellsByVariantAndFrame) {
    struct Case {
        int32_t id, angle, score, age;
        std::vector<std::pair<int32_t, int32_t>> cells;  // source corners, in draw order
    };
    const Case cases[] = {
        {221, 0, 0, 0, {{88, 144}}},                         // bomb
        {223, 0, 0, 6, {{240, 176}}},                        // barrel
        {224, 0, 0, 0, {{136, 144}}}, {225, 0, 0, 0, {{152, 144}}}, {226, 0, 0, 0, {{168, 144}}},
        {227, 0, 0, 0, {{184, 144}}}, {228, 0, 0, 4, {{192, 160}}},
        {229, 1, 0, 0, {{96, 176}}},  {230, 2, 0, 0, {{112, 176}}}, {230, 7, 0, 0, {{112, 176}}},
        {231, 0, 0, 0, {{208, 168}, {208, 168}, {208, 168}, {208, 168}}},
        {232, 0, 0, 0, {{176, 160}}}, {233, 0, 0, 24, {{160, 160}}}, {234, 0, 0, 2, {{128, 160}}},
        {235, 0, 0, 0, {{80, 160}}},
        {242, 0, 0, 0, {{232, 168}}}, {246, 0, 0, 20, {{48, 176}}}, {248, 0, 0, 0, {{0, 160}}},
        {252, 3, 0, 2, {{128, 40}, {128, 40}}},              // charge 3: two halves, second row
        {255, 0, 0, 1, {{176, 192}}},
        {237, 0, 0, 2, {{88, 144}}}, {237, 0, 2, 0, {}},     // visibility 2: never drawn
        {239, 1, 0, 2, {{0, 232}}},  {241, 0, 0, 4, {{24, 80}}},
        {249, 2, 0, 4, {{136, 208}}}, {251, 0, 0, 2, {{144, 240}}}, {256, 0, 0, 3, {{184, 232}}},
        {257, 0, 0, 0, {{240, 208}}},
        {265, 0, 0, 4, {{200, 144}}}, {266, 0, 0, 0, {{176, 160}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Cells(c.id, c.angle, c.score, c.age), c.cells) << c.id << " " << c.angle << " " << c.age;
    }
    // The sector rule: nothing before a sector has matched; the missile's up-right 2 cell; the
    // DOGMA shot's cell halved and moved.
    EXPECT_TRUE(Cells(240, 44000, 0, 0).empty());
    EXPECT_EQ(Cells(240, 57000, 0, 0), (std::vector<Cell>{{32, 160}}));
    EXPECT_EQ(Cells(258, 57000, 0, 0), (std::vector<Cell>{{208, 240}}));
    EXPECT_EQ(Cells(260, 57000, 0, 0), (std::vector<Cell>{{208, 48}}));
}

TEST_F(Remaining, TheBombIsKickedFromBelowStoppedByContactAndBurstsByItsFourthBullet) {
    world_test::Probe* owner = Add(10, "owner", 100, 108);
    auto* bomb = dynamic_cast<S_BM_Bomb*>(Make(type_id::S_BM_Bomb, 100, 100, 0, 0, owner));
    bomb->angle = 1;
    Step();
    EXPECT_EQ(bomb->vy, 0.0f);  // not moving up: not kicked
    owner->vy = -1.0f;
    Step();
    EXPECT_EQ(bomb->vy, -4.0f);
    EXPECT_EQ(bomb->power, 1.0f);
    owner->vy = 0.0f;
    bomb->Damage(&world, 1.0f);
    EXPECT_EQ(bomb->vy, 0.0f);
    EXPECT_EQ(bomb->power, 0.0f);
    for (int i = 0; i < 3; ++i) bomb->Damage(&world, 16384.0f);
    EXPECT_TRUE(bomb->IsAlive());
    bomb->Damage(&world, 16384.0f);
    EXPECT_FALSE(bomb->IsAlive());
    Step(2);  // swept, bursting; then the flames' first frame
    ASSERT_EQ(CountShots(type_id::S_BM_Blast), 2);  // the enemy flames (B_BM_Blast) are another family's
    for (Object* s : world.shots) {
        auto* flame = dynamic_cast<S_BM_Blast*>(s);
        if (flame == nullptr) continue;
        EXPECT_EQ(flame->angle, 1);
        if (flame->horizontal != 0) {
            EXPECT_EQ(flame->hitHalfWidth, 24);
            EXPECT_EQ(flame->Cells().size(), 3u);  // length 1: the two ends and the centre
        }
    }
    world.gameRunning = false;
    Make(type_id::S_BM_Bomb, 50, 50)->Kill();
    Step();
    EXPECT_EQ(CountShots(type_id::S_BM_Blast), 2);
}

TEST_F(Remaining, IceLastsByItsRules) {
    Object* still = Make(type_id::S_Meikyuujima_IceCube, 100, 100);
    Object* moving = Make(type_id::S_Meikyuujima_IceCube, 150, 239, 0, -0.0f);
    moving->vy = -0.1f;
    Step(301);
    EXPECT_TRUE(still->IsAlive());
    EXPECT_EQ(moving->vy, -0.1f);
    Step();
    EXPECT_EQ(CountShots(type_id::S_Meikyuujima_IceCube), 1);
    Step(300);
    EXPECT_EQ(CountShots(type_id::S_Meikyuujima_IceCube), 0);
    world_test::Probe* owner = Add(10, "owner", 100, 110);
    Object* cube = Make(type_id::S_Meikyuujima_IceCube, 100, 100, 0, 0, owner);
    Step();
    EXPECT_EQ(cube->vy, -4.0f);  // pushed
    owner->x = 0.0f;
    cube->Damage(&world, 1.0f);
    EXPECT_EQ(cube->vy, 4.0f);
    std::vector<float> powers;
    for (int f = 0; f < 5; ++f) {
        Step();
        powers.push_back(cube->power);
    }
    EXPECT_EQ(powers, (std::vector<float>{0, 0, 0, 2, 2}));
    Object* wall = Make(type_id::S_Meikyuujima_IceWall, 100, 100);
    for (int i = 0; i < 16; ++i) wall->Damage(&world, 1.0f);
    EXPECT_TRUE(wall->IsAlive());
    wall->Damage(&world, 1.0f);
    EXPECT_FALSE(wall->IsAlive());
}

TEST_F(Remaining, TheBladeCurvesHomesAndIsCaughtOnlyFromAge110) {
    world_test::Probe* thrower = Add(10, "thrower", 128, 200);
    Object* blade = Make(type_id::S_Rockman_Cut, 128, 200, 0, 0, thrower);
    std::vector<int32_t> headings;
    for (int f = 0; f < 22; ++f) {
        Step();
        headings.push_back(blade->angle);
    }
    EXPECT_EQ(headings[19], 40960);
    EXPECT_EQ(headings[20], 40960 + 546);
    EXPECT_TRUE(blade->IsAlive());  // it began on its thrower and was not caught
    blade->x = thrower->x + 5.0f;
    blade->y = thrower->y;
    blade->age = 109;
    Step();
    EXPECT_TRUE(blade->IsAlive());
    blade->x = thrower->x + 5.0f;
    blade->y = thrower->y;
    Step();
    EXPECT_EQ(CountShots(type_id::S_Rockman_Cut), 0);  // caught
    Object* lost = Make(type_id::S_Rockman_Cut, 128, 120);
    lost->age = 120;
    lost->angle = 100;
    Step();
    EXPECT_EQ(lost->angle, 100);  // no owner: no homing
}

TEST_F(Remaining, RockmanPiecesAndTheFireShieldLiveTheirSpans) {
    for (auto [id, lastAge] : {std::pair{228, 32}, std::pair{229, 2}, std::pair{230, 4}}) {
        Object* piece = Make(id, 128, 120);
        Step(lastAge + 1);
        EXPECT_TRUE(piece->IsAlive()) << id;
        Step();
        EXPECT_EQ(CountShots(id), 0) << id;
    }
    world_test::Probe* owner = Add(10, "owner", 128, 120);
    Object* shield = Make(type_id::S_Rockman_Fire_Option, 0, 0, 0, 0, owner);
    Step();
    EXPECT_NEAR(std::hypot(shield->x - 128.0f, shield->y - 120.0f), 16.0f, 1e-3f);
    float x0 = shield->x;
    Step(8);
    EXPECT_NEAR(shield->x, x0, 1e-3f);  // a full circle every 8 frames
    Step(56);
    EXPECT_TRUE(shield->IsAlive());
    Step();
    EXPECT_EQ(CountShots(type_id::S_Rockman_Fire_Option), 0);
    world_test::Probe* bullet = Add(10, "bullet", 0, 0);
    Object* invisible = Make(type_id::S_InvisibleShot, 128, 120, 0, 0, bullet);
    invisible->Damage(&world, 5.0f);
    Step();
    EXPECT_EQ(invisible->hp, invisible->maxHp);
    EXPECT_TRUE(Cells(236, 0, 0, 0).empty());
    invisible->ForgetObject(bullet);  // what its maker does as it goes
    bullet->Vanish();
    Step();
    EXPECT_EQ(CountShots(type_id::S_InvisibleShot), 0);
}

TEST_F(Remaining, TheForceInEachMode) {
    world_test::Probe* ship = Add(10, "ship", 128, 200);
    ship->vx = 2.0f;
    ship->vy = -1.0f;
    struct Case {
        int32_t mode;
        float y;                  // where it starts
        float expectX, expectY;   // after one frame
        int32_t modeAfter;
    };
    const Case cases[] = {
        {0, 12, 128, 8, 2},     // flies up 8 and reaches the band: y 8, mode 2
        {1, 228, 128, 232, 2},  // the same at the bottom
        {2, 200, 128, 199.5f, 2},
        {3, 100, 128, 100.5f, 3},
        {4, 0, 130, 183, 4},    // rides 16 above, the ship's velocity added
        {5, 0, 130, 215, 5},
    };
    for (const Case& c : cases) {
        Object* force = Make(type_id::S_RTYPE_Force, 128, c.y, 0, 0, ship);
        force->angle = c.mode;
        Step();
        EXPECT_NEAR(force->x, c.expectX, 1e-3f) << c.mode;
        EXPECT_NEAR(force->y, c.expectY, 1e-3f) << c.mode;
        EXPECT_EQ(force->angle, c.modeAfter) << c.mode;
        force->Vanish();
        Step();
    }
    Make(type_id::S_RTYPE_Force, 128, 120);  // without an owner
    Step();
    EXPECT_EQ(CountShots(type_id::S_RTYPE_Force), 0);
}

TEST_F(Remaining, RTypeLasersAndTheMissile) {
    world_test::Probe* ship = Add(10, "ship", 128, 100);
    Object* laser = Make(type_id::S_RTYPE_Laser, 128, 100, 0, 0, ship);
    for (int i = 0; i < 8; ++i) laser->Damage(&world, 1.0f);
    EXPECT_TRUE(laser->IsAlive());
    laser->Damage(&world, 1.0f);
    EXPECT_FALSE(laser->IsAlive());
    Object* red = Make(type_id::S_RTYPELEO_Red_Laser, 128, 100, 0, 0, ship);
    red->angle = 3;
    Step(20);
    EXPECT_EQ(red->height, 100 + 32);  // from the ship to 32 above the top
    EXPECT_NEAR(red->power, 1.2f, 1e-6f);
    Object* missile = Make(type_id::S_RTYPELEO_Missile, 100, 200);
    Step(2);
    EXPECT_EQ(missile->vy, 0.0f);
    Enemy(401, 114, 50);
    Step();
    EXPECT_EQ(missile->vy, -8.1f);  // launched, one frame of its climb
    Object* option = Make(type_id::S_RTYPELEO_Option, 300, -10);
    Step();
    EXPECT_EQ(option->x, 252.0f);
    EXPECT_EQ(option->y, 4.0f);
}

TEST_F(Remaining, ChargePartsHoldAndTheBlastPassesItsHitsOn) {
    Object* shot = Make(type_id::S_BS_Shot, 128, 200, 0, -8);
    shot->angle = 3;
    Step();
    EXPECT_EQ(shot->width, 24);
    EXPECT_EQ(shot->hitHalfWidth, 12);
    EXPECT_NEAR(shot->power, 1.2f, 1e-6f);
    world_test::Probe* controller = Add(10, "controller", 0, 0);
    controller->hp = 256.0f;
    Object* blast = Make(type_id::S_BS_ChargeBlast, 128, 100, 3, 3, controller);
    blast->Damage(&world, 2.0f);
    EXPECT_EQ(controller->damage, std::vector<float>{2.0f});
    Step();
    EXPECT_EQ(blast->x, 128.0f);  // held: it never moves itself
    Make(type_id::S_BS_ChargeBody, 128, -16.5f);
    Step();
    EXPECT_EQ(CountShots(type_id::S_BS_ChargeBody), 0);
    Step(10);
    EXPECT_EQ(CountShots(type_id::S_BS_ChargeBlast), 1);
    Step();
    EXPECT_EQ(CountShots(type_id::S_BS_ChargeBlast), 0);  // twelve frames
}

TEST_F(Remaining, DGMissileWaveAndArm) {
    Object* edge = Make(type_id::S_DG_Missile, 4, 120, -2, 0);
    edge->angle = 1;
    Step();
    EXPECT_EQ(edge->angle, 49152);
    EXPECT_EQ(edge->moveMode, 1);
    EXPECT_EQ(edge->speed, 8.0f);
    Enemy(401, 200, 120);  // to the right: it turns 10 degrees a frame toward it
    Step();
    EXPECT_EQ(edge->angle, 49152 + 1820);
    Object* wave = Make(type_id::S_DG_Wave, 128, 120);
    wave->angle = 3;
    Step();
    EXPECT_EQ(wave->width, 64);
    EXPECT_NEAR(wave->power, 0.12f, 1e-6f);
    world_test::Probe* owner = Add(10, "owner", 60, 70);
    Object* arm = Make(type_id::S_DG_Arm, 0, 0, 0, 0, owner);
    Step();
    EXPECT_EQ(arm->x, 60.0f);
    for (int i = 0; i < 3; ++i) arm->Damage(&world, 1.0f);
    EXPECT_TRUE(arm->IsAlive());
    arm->Damage(&world, 1.0f);
    EXPECT_FALSE(arm->IsAlive());
}

TEST_F(Remaining, HomingReflectionsDischargeAndChariot) {
    Object* homing = Make(type_id::S_BH_Shot, 128, 120, 0, -4);
    homing->x = -20.0f;  // off the field, it may come back until age 120
    homing->age = 100;
    Step();
    EXPECT_TRUE(homing->IsAlive());
    homing->age = 121;
    homing->x = -20.0f;
    Step();
    EXPECT_EQ(CountShots(type_id::S_BH_Shot), 0);
    Register({type_id::EF_HSG_DisCharge});
    Object* discharge = Make(type_id::S_HSG_DisCharge, 128, 120);
    int sprays = 0, lived = 0;
    for (int f = 0; f < 200 && discharge != nullptr; ++f) {
        Step();
        bool alive = CountShots(type_id::S_HSG_DisCharge) == 1;
        if (!alive) break;
        lived += 1;
    }
    for (Object* o : world.others) sprays += o->kind == kTypeTable[326].kind;
    EXPECT_EQ(lived, 159);  // hp 32 worn 0.2 a frame in single precision: killed on its 160th
    EXPECT_EQ(sprays, 112);
    Object* chariot = Make(type_id::S_HSG_Chariot, 300, -50);
    Step();
    EXPECT_EQ(chariot->x, 256.0f);
    EXPECT_EQ(chariot->y, 0.0f);
}

TEST_F(Remaining, SerpentsTrailTheirHeadsAndGoWithThem) {
    auto* serpent = dynamic_cast<S_Hisouten_Seidenyuudoudan*>(Make(type_id::S_Hisouten_Seidenyuudoudan, 128, 200, 0, -4));
    serpent->angle = 3;
    Step();
    EXPECT_EQ(CountShots(type_id::S_Hisouten_Ryuunome), 3);
    std::vector<float> heads;
    for (int f = 0; f < 20; ++f) {
        heads.push_back(serpent->y);
        Step();
    }
    // Segment j stands where the head stood 4j + 2 frames before (heads[k] is age k + 1's).
    for (int j = 0; j < 3; ++j) {
        int lag = 4 * j + 2;
        EXPECT_EQ(serpent->segments[j]->y, heads[19 - lag]) << j;
    }
    auto* fresh = dynamic_cast<S_Hisouten_Seidenyuudoudan*>(Make(type_id::S_Hisouten_Seidenyuudoudan, 60, 200, 0, -4));
    fresh->angle = 2;
    Step();
    EXPECT_EQ(fresh->segments[1]->y, 200.0f);  // frame 0: read from the prefilled ring
    serpent->Vanish();
    Step();
    EXPECT_EQ(CountShots(type_id::S_Hisouten_Ryuunome), 2);
    Object* none = Make(type_id::S_Hisouten_Seidenyuudoudan, 128, 200, 0, -4);
    none->angle = 8;
    Step();
    EXPECT_EQ(CountShots(type_id::S_Hisouten_Ryuunome), 2);
}

TEST_F(Remaining, InabikariTurnsBySpeedAndBoltsJitterEvenLeftOfZero) {
    Object* bolt = Make(type_id::S_Hisouten_Inabikari, 128, 200, 0, -4);
    Enemy(401, 250, 200);
    Step(11);
    int32_t before = bolt->angle;
    float speed = bolt->speed;
    Step();
    EXPECT_EQ(bolt->angle - before, DegreesToBinaryAngle(static_cast<int32_t>(speed + 2.0f)));
    Step(108);
    EXPECT_EQ(CountShots(type_id::S_Hisouten_Inabikari), 0);
    // The jitter stays within -1.5 to +1.5 on both sides of x 0.
    for (float startX : {-20.0f, 20.0f}) {
        auto* spark = dynamic_cast<S_Hisouten_Iku6CShot*>(Make(type_id::S_Hisouten_Iku6CShot, startX, 120));
        for (int f = 0; f < 8; ++f) {
            spark->Run(&world);
            EXPECT_GE(spark->x, startX - 1.5f - 1e-3f);
            EXPECT_LE(spark->x, startX + 1.5f + 1e-3f);
        }
        spark->Vanish();
    }
    EXPECT_EQ(FloorMod(-14, 13), 12);
}

TEST_F(Remaining, ShurikenAndFireball) {
    Object* plain = Make(type_id::S_Hattori_Shuriken, 128, 200);
    Object* piercing = Make(type_id::S_Hattori_Shuriken, 60, 200);
    piercing->angle = 1;
    Step(31);  // killed by its Run at age 30
    EXPECT_EQ(CountShots(type_id::S_Hattori_Shuriken), 1);
    EXPECT_EQ(piercing->hp, 256.0f);
    Step(30);
    EXPECT_EQ(CountShots(type_id::S_Hattori_Shuriken), 0);
    EXPECT_NE(plain, nullptr);
    Object* fire = Make(type_id::S_Hattori_FireBall, -5, 300);
    fire->Damage(&world, 10.0f);
    Step();
    EXPECT_EQ(fire->x, 0.0f);
    EXPECT_EQ(fire->y, 240.0f);
    EXPECT_TRUE(fire->IsAlive());
}
