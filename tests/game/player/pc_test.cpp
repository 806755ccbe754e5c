#include "game/world/type_table.h"
#include "player_support.h"

using namespace player_test;

class Character : public PlayerTest {};

TEST_F(Character, PowerItemsRaiseTheLevelAndTheFourthAtTheTopTellsTheScene) {
    world_test::Probe* scene = MakeScene();
    PC* pc = Make<PC>(110);
    std::vector<int32_t> levels;
    for (int i = 0; i < 10; ++i) {
        pc->PowerUp(&world, 1);
        levels.push_back(pc->powerLevel);
    }
    EXPECT_EQ(levels, (std::vector<int32_t>{1, 1, 2, 2, 2, 3, 3, 3, 3, 3}));
    int bonus = 0;
    for (const Message& m : scene->messages) bonus += m.Code() == 4;
    EXPECT_EQ(bonus, 1);  // the tenth item: the fourth at level 3
    EXPECT_EQ(pc->powerItems, 0);
}

TEST_F(Character, DamageByModeAmountInputModeAndInvincibility) {
    struct Case {
        int32_t gameMode;
        float amount;
        int32_t inputMode;
        int32_t invincible;
        int32_t state;  // afterwards
        float hp;
        int32_t inputModeAfter;
        int32_t livesLost;  // messages (3, 13) to the party
    };
    const Case cases[] = {
        {0, 1.0f, kInputLive, 0, kKilled, 0.0f, kInputLive, 0},
        {0, 1.0f, kInputLive, 5, kAlive, 1.0f, kInputLive, 0},   // invincible
        {0, 2.0f, kInputLive, 5, kKilled, -1.0f, kInputLive, 0}, // 2.0 passes invincibility
        {17, 1.0f, kInputRecorded, 0, kAlive, 1.0f, kInputRecorded, 1},
        {17, 2.0f, kInputRecorded, 0, kAlive, -1.0f, kInputParked, 1},
        {16, 1.0f, kInputRecorded, 0, kAlive, 0.0f, kInputParked, 1},
        {16, 1.0f, kInputPlayedBack, 0, kAlive, 1.0f, kInputPlayedBack, 0},
        {17, 1.0f, kInputPlayedBackAgain, 0, kAlive, 1.0f, kInputPlayedBackAgain, 0},
        {16, 1.0f, kInputLive, 0, kAlive, 0.0f, kInputLive, 0},
        {16, 1.0f, kInputParked, 0, kAlive, 0.0f, kInputParked, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.gameMode << " amount " << c.amount << " input " << c.inputMode);
        world.gameMode = c.gameMode;
        PC* pc = Make<PC>(110);
        const int32_t lives = party->lives;
        pc->inputMode = c.inputMode;
        pc->invincible = c.invincible;
        pc->Damage(&world, c.amount);
        EXPECT_EQ(pc->state, c.state);
        EXPECT_FLOAT_EQ(pc->hp, c.hp);
        EXPECT_EQ(pc->inputMode, c.inputModeAfter);
        EXPECT_EQ(lives - party->lives, c.livesLost);
        pc->Vanish();
        world.SweepObjects();
        party->lives = 3;
    }
}

TEST_F(Character, HalfDamageLeavesACharacterThatNeitherReadsNorFires) {
    PC_Natsuki* pc = Make<PC_Natsuki>(110);
    pc->Damage(&world, 0.5f);
    EXPECT_EQ(pc->state, kAlive);
    Hold(kFire1);
    Hold(kRight);
    Step(10);
    EXPECT_EQ(CountShots(type_id::S_Gunnac), 0);
    EXPECT_EQ(pc->holdRight, 0);
}

TEST_F(Character, ReadInputPriorityOppositesAndFirstFrames) {
    PC* pc = Make<PC>(110);
    pc->Run(&world);
    pc->Run(&world);  // age 2: input from now on
    struct Case {
        std::set<int> buttons;
        int32_t angle;
        float vx, vy;
    };
    const float d = 3.0f * 0.70710677f;
    const Case cases[] = {
        {{kDown, kRight}, 45, d, d},     {{kDown, kLeft}, 135, -d, d},  {{kUp, kLeft}, 225, -d, -d},
        {{kUp, kRight}, 315, d, -d},     {{kRight}, 0, 3, 0},           {{kDown}, 90, 0, 3},
        {{kLeft}, 180, -3, 0},           {{kUp}, 270, 0, -3},           {{kUp, kDown}, 90, 0, 0},
        {{kLeft, kRight, kUp}, 225, 0, 0}, {{}, 225, 0, 0},
    };
    for (const Case& c : cases) {
        for (int k = 0; k < 8; ++k) world.input.game[k] = c.buttons.count(k) ? 1 : 0;
        pc->ReadInput(&world);
        EXPECT_EQ(pc->angle, c.angle) << c.buttons.size();
        EXPECT_NEAR(pc->vx, c.vx, 1e-4f);
        EXPECT_NEAR(pc->vy, c.vy, 1e-4f);
    }
}

TEST_F(Character, CountersReadZeroForTwoFramesAndTheShipStandsForFour) {
    PC_Natsuki* pc = Make<PC_Natsuki>(110);
    std::vector<int32_t> holds;
    std::vector<float> xs;
    for (int f = 0; f < 6; ++f) {
        world.input.game[kRight] = f + 1;
        pc->Run(&world);  // not placed by the party: no seat
        holds.push_back(pc->holdRight);
        pc->Move(&world);
        xs.push_back(pc->x);
    }
    EXPECT_EQ(holds, (std::vector<int32_t>{0, 0, 3, 4, 5, 6}));
    EXPECT_EQ(xs, (std::vector<float>{128, 128, 128, 131, 134, 137}));
    EXPECT_EQ(pc->lean, 1);
    pc->x = 300;
    pc->Move(&world);
    EXPECT_EQ(pc->x, 256.0f);  // clamped to the field
}

TEST_F(Character, RespawnMessagesSetTheInputMode) {
    PC_Sayaka* pc = Make<PC_Sayaka>(111);
    pc->RecordEvent(1, 0, 0, 0, 0);
    struct Case {
        int32_t mode, inputMode, inactive, invincible;
        float x;
        size_t events;
    };
    const Case cases[] = {
        {kInputRecorded, kInputRecorded, 0, 2, 50, 0},
        {kInputPlayedBack, kInputPlayedBack, 0, 2, 128, 0},
        {kInputParked, kInputParked, 3600, 2, 50, 0},
        {kInputRecordedAgain, kInputRecorded, 0, 120, 50, 0},
        {kInputPlayedBackAgain, kInputPlayedBack, 0, 120, 128, 0},
    };
    for (const Case& c : cases) {
        pc->x = 50;
        pc->powerLevel = 2;
        pc->OnMessage(Msg(3, 1, c.mode));
        EXPECT_EQ(pc->inputMode, c.inputMode) << c.mode;
        EXPECT_EQ(pc->inactive, c.inactive) << c.mode;
        EXPECT_EQ(pc->invincible, c.invincible) << c.mode;
        EXPECT_EQ(pc->x, c.x) << c.mode;
        EXPECT_EQ(pc->powerLevel, 0);
        EXPECT_EQ(pc->record.events.size(), c.events);
        EXPECT_EQ(pc->sayakaAim, c.mode == kInputPlayedBack ? -10922 : -5461);  // by the mode as sent
    }
}

TEST_F(Character, ACooperativeDeathLeavesABurstTellsTheSceneAndCostsALife) {
    world_test::Probe* scene = MakeScene();
    world.playerCount = 1;
    PC_Natsuki* pc = Make<PC_Natsuki>(110);
    party->OnMessage(Msg(4, 1, pc, 11));
    pc->Damage(&world, 1.0f);
    Step();
    EXPECT_EQ(party->members[0], nullptr);
    EXPECT_EQ(party->respawnTimer[0], 60);
    EXPECT_EQ(party->lives, 2);
    EXPECT_EQ(CountBlasts(), 1);
    EXPECT_EQ(CountShots(type_id::S_PCBlast), 8);
    ASSERT_FALSE(scene->messages.empty());
    EXPECT_EQ(scene->messages[0].Code(), 10);
}
