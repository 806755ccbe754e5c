#include "enemies_support.h"
#include "game/world/type_table.h"

namespace enemies_test {
namespace {

using Items = EnemyWorld;

TEST_F(Items, PowerUpRisesWhenItAppearsBelowTheParty) {
    struct Case {
        float y, partyY, vy;
    } cases[] = {{200, 150, -0.5f}, {90, 150, 0.5f}, {95, 50, 0.5f}, {208, 230, -0.5f}};
    for (const Case& c : cases) {
        party->y = c.partyY;
        Object* item = Make(type_id::I_PowerUp, 60, c.y);
        item->Run(&world);
        EXPECT_EQ(item->vy, c.vy) << c.y;
    }
    // Without a party only the bottom rule turns it.
    world.pcController = nullptr;
    Object* item = Make(type_id::I_PowerUp, 60, 200);
    item->Run(&world);
    EXPECT_EQ(item->vy, 0.5f);
    world.pcController = party;
}

TEST_F(Items, TheEraserSettlesAtTheBottomCreepsUpAndBlinksItsRing) {
    Object* eraser = Make(type_id::I_ZanacEnemyEraser, 100, 200, 0, 2, 0, 0.5f);
    int frames = 0;
    while (eraser->vy > 0.0f && frames++ < 50) {
        eraser->Run(&world);
        if (eraser->vy > 0.0f) eraser->Move(&world);
    }
    EXPECT_EQ(eraser->y, 232.0f);
    EXPECT_EQ(eraser->vy, -0.1f);
    EXPECT_EQ(eraser->ay, 0.0f);
    for (int i = 0; i < 100; ++i) {
        eraser->Run(&world);
        eraser->Move(&world);
    }
    EXPECT_NEAR(eraser->y, 222.0f, 1e-3f);  // creeping up, not put back
    // Only a falling eraser is caught at the bottom.
    Object* rising = Make(type_id::I_ZanacEnemyEraser, 100, 230, 0, -1);
    rising->Run(&world);
    EXPECT_EQ(rising->y, 230.0f);
    EXPECT_EQ(rising->vy, -1.0f);
    // Its ring alternates small and large every two frames over the middle piece.
    const std::pair<int32_t, int32_t> middle{72, 0}, small{56, 0}, large{96, 0};
    for (int32_t age : {0, 1, 2, 3, 4}) {
        shotBatch.rects.clear();
        rising->age = age;
        rising->Draw(&world);
        const bool isSmall = (age / 2) % 2 == 0;
        EXPECT_EQ(shotBatch.Sources(), (std::vector<std::pair<int32_t, int32_t>>{middle, isSmall ? small : large})) << age;
    }
}

TEST_F(Items, PickUpSizeByPartySizeAndMode) {
    struct Case {
        int32_t players, mode, size;
    } cases[] = {{1, 0, 14}, {2, 0, 10}, {3, 0, 8}, {4, 0, 8}, {1, 16, 14}, {4, 17, 14}};
    for (const Case& c : cases) {
        world.playerCount = c.players;
        world.gameMode = c.mode;
        Object* item = Make(type_id::I_PowerUp, 60, 50);
        item->Run(&world);
        EXPECT_EQ(item->hitHalfWidth, c.size) << c.players << " " << c.mode;
        EXPECT_EQ(item->hitHalfHeight, c.size);
    }
}

TEST_F(Items, PowerUpSwaysAndReportsWhenLost) {
    Object* item = Make(type_id::I_PowerUp, 60, 50);
    item->age = 60;  // half a period: the far side of the swing
    item->Run(&world);
    EXPECT_NEAR(item->x, 124.0f, 0.01f);
    Object* right = Make(type_id::I_PowerUp, 200, 50);
    right->age = 60;
    right->Run(&world);
    EXPECT_NEAR(right->x, 136.0f, 0.01f);
    item->y = 272.4f;
    item->Move(&world);
    EXPECT_EQ(item->state, kVanished);
    ASSERT_EQ(scene->messages.size(), 1u);
    EXPECT_EQ(scene->messages[0].Code(), 9);
    // Leaving with no scene is quiet.
    world.currentScene = nullptr;
    right->y = 300;
    right->Move(&world);
    EXPECT_EQ(right->state, kVanished);
}

TEST_F(Items, BonusSpeedsUpWithTheCubeOfItsAgeAndStopsSteering) {
    party->x = 128;
    party->y = 230;
    Object* bonus = Make(type_id::I_Bonus, 128, 20);
    bonus->Run(&world);
    EXPECT_EQ(CountOf(world.others, type_id::EF_Wind), 8);  // the streaks of its first frame
    EXPECT_EQ(bonus->angle, 16384);
    for (auto [age, speed] : {std::pair{5, 0.0f}, {30, 2.0f}, {55, 16.0f}, {2000, 16.0f}}) {
        bonus->age = age;
        bonus->Run(&world);
        EXPECT_EQ(bonus->speed, speed) << age;
    }
    // Past 60 frames the course is kept.
    party->x = 0;
    bonus->Run(&world);
    EXPECT_EQ(bonus->angle, 16384);
}

TEST_F(Items, ReccaStartsItsCycleFromItsSpawnX) {
    world.playerCount = 2;
    Object* recca = Make(type_id::I_Recca, 130, 50);
    recca->Run(&world);
    EXPECT_EQ(recca->hitHalfWidth, 10);
    recca->Draw(&world);
    EXPECT_EQ(effect1.Sources().back(), (std::pair<int32_t, int32_t>{40, 64}));  // phase 10: cycle 0
    for (int i = 0; i < 230; ++i) recca->Run(&world);  // through phase 240: small and bad
    EXPECT_EQ(recca->angle, 1);
    EXPECT_EQ(recca->hitHalfWidth, 5);
}

TEST_F(Items, BellFollowsItsCarrierAndLeavesOnlyThroughSidesAndBottom) {
    Object* carrier = Make(type_id::E_IronBall_W, 100, 100);
    carrier->vx = 1;
    carrier->vy = 2;
    Object* bell = world.CreateObject(type_id::I_TwinBee_Bell, 0, 0, 0, 0, 0, 0, carrier);
    bell->Run(&world);
    EXPECT_EQ(bell->x, 101.0f);
    EXPECT_EQ(bell->y, 102.0f);
    bell->owner = nullptr;
    bell->y = -100;
    bell->Move(&world);
    EXPECT_EQ(bell->state, kAlive);
    bell->y = 273;
    bell->Move(&world);
    EXPECT_EQ(bell->state, kVanished);
}

}  // namespace
}  // namespace enemies_test
