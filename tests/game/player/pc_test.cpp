#include <array>
#include <cmath>

#include "../enemies/enemies_support.h"
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

namespace {

// Keeps each rectangle drawn into it with its corners as given, so that a mirrored cell (its
// source running from right to left) shows as one.
class RectRecorder : public CSprite2D {
public:
    explicit RectRecorder(CTexture* sheet) : CSprite2D(nullptr) { SetTexture(0, sheet); }
    bool PushRect(const RectQuad& quad) override {
        auto texel = [](float uv) { return static_cast<int>(std::lround(uv * 256.0f)); };
        destinations.push_back({static_cast<int>(quad.x0), static_cast<int>(quad.y0), static_cast<int>(quad.x1),
                                static_cast<int>(quad.y1)});
        sources.push_back({texel(quad.uv[0][0]), texel(quad.uv[0][1]), texel(quad.uv[0][2]), texel(quad.uv[0][3])});
        return true;
    }
    void Clear() {
        destinations.clear();
        sources.clear();
    }
    std::vector<std::array<int, 4>> destinations, sources;  // left, top, right, bottom
};

}  // namespace

// The ship's cell of "pc.bmp" by its sprite row, blink and lean (the left lean is the right one
// mirrored), row 62 while played back, the shield ring of "shot.bmp" while invincible in the live
// input modes, and one power-item icon per item in the heads-up row of the character's seat.
TEST_F(Character, TheShipsCellFollowsItsRowBlinkAndLeanAndTheRingItsInvincibility) {
    enemies_test::Sheet256 sheet;
    RectRecorder ships(&sheet), rings(&sheet), icons(&sheet);
    gameSprites.pc = &ships;
    gameSprites.shot = &rings;
    gameSprites.effect1 = &icons;
    struct Case {
        int32_t row, invincible, inputMode;
        std::set<int> held;
        std::array<int, 4> ship;  // source left, top, right, bottom
        int ring;                 // the ring's size, 0 for none
    } cases[] = {
        {11, 0, kInputLive, {}, {0, 176, 16, 192}, 0},
        {11, 4, kInputLive, {}, {0, 176, 16, 192}, 24},
        {11, 8, kInputLive, {}, {32, 176, 48, 192}, 16},
        {11, 12, kInputRecorded, {}, {32, 176, 48, 192}, 24},
        {11, 16, kInputLive, {kRight}, {16, 176, 32, 192}, 16},
        {11, 0, kInputLive, {kLeft}, {32, 176, 16, 192}, 0},
        {11, 0, kInputLive, {kLeft, kRight}, {0, 176, 16, 192}, 0},
        {25, 0, kInputLive, {}, {64, 144, 80, 160}, 0},
        {28, 8, kInputLive, {kRight}, {112, 192, 128, 208}, 16},
        {11, 8, kInputPlayedBack, {}, {224, 224, 240, 240}, 0},
        {11, 12, kInputParked, {}, {32, 176, 48, 192}, 0},
    };
    PC* pc = Make<PC>(110);
    pc->x = 100;
    pc->y = 120;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << " invincible " << c.invincible << " input "
                                        << c.inputMode);
        ships.Clear();
        rings.Clear();
        pc->spriteRow = c.row;
        pc->invincible = c.invincible;
        pc->inputMode = c.inputMode;
        pc->holdLeft = static_cast<int32_t>(c.held.count(kLeft));
        pc->holdRight = static_cast<int32_t>(c.held.count(kRight));
        pc->Draw(&world);
        ASSERT_EQ(ships.sources.size(), 1u);
        EXPECT_EQ(ships.destinations[0], (std::array<int, 4>{92, 112, 108, 128}));
        EXPECT_EQ(ships.sources[0], c.ship);
        if (c.ring == 0) {
            EXPECT_TRUE(rings.sources.empty());
            continue;
        }
        ASSERT_EQ(rings.sources.size(), 1u);
        const int half = c.ring / 2;
        EXPECT_EQ(rings.destinations[0], (std::array<int, 4>{100 - half, 120 - half, 100 + half, 120 + half}));
        const std::array<int, 4> large{72, 0, 96, 24}, small{56, 0, 72, 16};
        EXPECT_EQ(rings.sources[0], c.ring == 24 ? large : small);
    }
    pc->SetScore(2);
    pc->powerItems = 2;
    icons.Clear();
    pc->Draw(&world);
    EXPECT_EQ(icons.destinations, (std::vector<std::array<int, 4>>{{16, 40, 24, 48}, {22, 40, 30, 48}}));
    EXPECT_EQ(icons.sources, (std::vector<std::array<int, 4>>{{0, 16, 8, 24}, {0, 16, 8, 24}}));
    pc->SetInactive(1);
    ships.Clear();
    pc->Draw(&world);
    EXPECT_TRUE(ships.sources.empty());  // out of play: not drawn
    gameSprites = GameSpriteSet{};
}
