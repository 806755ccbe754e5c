#include <algorithm>

#include "framework/core/angle.h"
#include "game/player/shots_zanac.h"
#include "game/world/type_table.h"
#include "player_support.h"

using namespace player_test;

class Weapons : public PlayerTest {
protected:
    std::vector<int> ShotsPerFrame(int32_t typeId, int frames) {
        std::vector<int> counts;
        for (int f = 0; f < frames; ++f) {
            Step();
            counts.push_back(CountShots(typeId));
        }
        return counts;
    }
};

TEST_F(Weapons, NatsukisFanAtLevelThreeSendsSevenShotsEveryFourFrames) {
    PC_Natsuki* natsuki = Ready<PC_Natsuki>(110, 3);
    Hold(kFire1);
    EXPECT_EQ(ShotsPerFrame(140, 9), (std::vector<int>{7, 7, 7, 7, 14, 14, 14, 14, 21}));
    Step();
    // The backward diagonals turned straight up at age 4, the sideways ones at age 8.
    Object* diagonal = natsuki->weapons[12];
    Object* sideways = natsuki->weapons[20];
    ASSERT_NE(diagonal, nullptr);
    ASSERT_NE(sideways, nullptr);
    EXPECT_EQ(diagonal->vx, 0.0f);
    EXPECT_EQ(diagonal->vy, -8.0f);
    EXPECT_EQ(sideways->vx, 0.0f);
    EXPECT_EQ(sideways->vy, -8.0f);
    EXPECT_EQ(natsuki->weapons[0]->vy, -8.0f);
    EXPECT_NEAR(natsuki->weapons[4]->vx, 5.14f, 0.01f);
    EXPECT_NEAR(natsuki->weapons[8]->vx, -5.14f, 0.01f);
    EXPECT_NEAR(natsuki->weapons[4]->vy, -6.13f, 0.01f);
}

// One volley: the backward diagonals go up from their fourth frame, the sideways shots from their
// eighth; a shot's x stops changing once it goes up.
TEST_F(Weapons, NatsukisSideShotsTurnUpAtTheirAge) {
    PC_Natsuki* natsuki = Ready<PC_Natsuki>(110, 3);
    Hold(kFire1);
    Step();
    Hold(kFire1, false);
    Object* diagonal = natsuki->weapons[12];
    Object* sideways = natsuki->weapons[20];
    ASSERT_NE(diagonal, nullptr);
    ASSERT_NE(sideways, nullptr);
    // The age each shot had when she turned it: she runs before her shots age in a frame.
    int32_t diagonalTurn = -1, sidewaysTurn = -1;
    for (int f = 0; f < 12; ++f) {
        const int32_t diagonalAge = diagonal->age, sidewaysAge = sideways->age;
        Step();
        if (diagonalTurn < 0 && diagonal->vx == 0.0f) diagonalTurn = diagonalAge;
        if (sidewaysTurn < 0 && sideways->vx == 0.0f) sidewaysTurn = sidewaysAge;
    }
    EXPECT_EQ(diagonalTurn, 4);
    EXPECT_EQ(sidewaysTurn, 8);
    EXPECT_EQ(sideways->vy, -8.0f);
}

TEST_F(Weapons, NatsukisStreamKeepsFourShotsAtLevelZeroAndTwentyEightAtThree) {
    for (int32_t level : {0, 3}) {
        PC_Natsuki* natsuki = Ready<PC_Natsuki>(110, level);
        natsuki->y = 236.0f;  // low, so that the shots stay long in the field
        Hold(kFire1);
        Hold(kFire2);
        std::vector<int> counts = ShotsPerFrame(140, 60);
        EXPECT_EQ(*std::max_element(counts.begin(), counts.end()), level == 0 ? 4 : 28) << level;
        EXPECT_EQ(counts[0], 2);
        natsuki->Vanish();
        Hold(kFire1, false);
        Hold(kFire2, false);
        Step(40);
    }
}

// The pace of the Zanac characters' volleys with button 1 held (and button 2 for Natsuki's
// stream): frames from one volley to the next. Near the top of the field every shot is gone
// before its slot is wanted again, so that only the cooldown paces them.
TEST_F(Weapons, EachZanacVolleyFollowsTheLastAfterItsCooldown) {
    struct Case {
        int32_t code, level;
        bool second;
        int32_t shot, frames;
    } cases[] = {
        {110, 0, false, 140, 4}, {110, 3, false, 140, 4}, {110, 0, true, 140, 2}, {111, 0, false, 141, 6},
        {111, 3, false, 141, 6}, {112, 0, false, 141, 6}, {112, 2, false, 141, 6},
    };
    for (const Case& c : cases) {
        PC* pc = Ready<PC>(c.code, c.level);
        pc->y = 24.0f;
        Hold(kFire1);
        Hold(kFire2, c.second);
        std::vector<int> volleys;
        for (int f = 0; f < 40; ++f) {
            Step();
            if (NewShots(c.shot) > 0) volleys.push_back(f);
        }
        ASSERT_GE(volleys.size(), 4u) << c.code << " level " << c.level;
        for (size_t i = 1; i < volleys.size(); ++i) {
            EXPECT_EQ(volleys[i] - volleys[i - 1], c.frames) << c.code << " level " << c.level << " volley " << i;
        }
        pc->Vanish();
        Hold(kFire1, false);
        Hold(kFire2, false);
        Step(40);
    }
}

TEST_F(Weapons, SayakasSatellitesWheelAFullTurnInTwelveFramesOrSwingTowardTheDirection) {
    PC_Sayaka* sayaka = Ready<PC_Sayaka>(111, 1);
    int32_t start = sayaka->sayakaAim;
    Step(12);
    EXPECT_EQ(sayaka->sayakaAim, (start + 12 * 5461) % 65536);
    struct Case {
        Button direction;
        std::vector<int32_t> aims;
    };
    const Case cases[] = {
        {kDown, {8192, 16384, 16384}},
        {kUp, {-8192, -16384, 49152}},  // backward, then the target once within 40 degrees
    };
    Hold(kFire2);
    // Down is 16384: within 40 degrees (7281) on either side the aim takes it at once, beyond
    // that it turns 45 degrees toward it.
    const int32_t windows[][2] = {{9103, 16384}, {9102, 17294}, {23666, 16384}, {23667, 15475}};
    Hold(kDown);
    for (const auto& w : windows) {
        sayaka->sayakaAim = w[0];
        Step();
        EXPECT_EQ(sayaka->sayakaAim, w[1]) << w[0];
    }
    Hold(kDown, false);
    for (const Case& c : cases) {
        sayaka->sayakaAim = 0;
        Hold(c.direction);
        std::vector<int32_t> aims;
        for (int f = 0; f < 3; ++f) {
            Step();
            aims.push_back(sayaka->sayakaAim);
        }
        EXPECT_EQ(aims, c.aims) << c.direction;
        Hold(c.direction, false);
    }
    // Both buttons freeze the aim; the satellite rides the circle at the aim.
    Hold(kFire1);
    Hold(kDown);
    sayaka->sayakaAim = 4096;
    Step(3);
    EXPECT_EQ(sayaka->sayakaAim, 4096);
    ASSERT_NE(sayaka->weapons[0], nullptr);
    EXPECT_NEAR(sayaka->weapons[0]->x, sayaka->x + 48.0f * AngleCos(4096), 1e-3f);
    // Placed before her own move of the frame.
    EXPECT_NEAR(sayaka->weapons[0]->y, sayaka->y - sayaka->vy + 48.0f * AngleSin(4096) - 24.0f, 1e-3f);
}

TEST_F(Weapons, KarenHasOneKavletAtATimeAtMostOneInSixtyFrames) {
    PC_Karen* karen = Ready<PC_Karen>(112, 2);
    Hold(kFire2);
    std::vector<int> made;
    for (int f = 0; f < 130; ++f) {
        Step();
        if (f == 10 || f == 100) karen->weapons[0]->Kill();
        if (NewShots(type_id::S_Kavlet) > 0) made.push_back(f);
    }
    EXPECT_EQ(made, (std::vector<int>{0, 60, 120}));
    EXPECT_EQ(karen->weapons[0]->score, 2);
}

TEST_F(Weapons, HikarusNextLetterWaitsFifteenFramesUnlessBothAreGone) {
    struct Case {
        int32_t level;
        int killAt;  // frame at which the first letter is killed, or -1
        std::vector<int> made;
    };
    const Case cases[] = {
        {1, -1, {0, 15, 30}},
        {0, 5, {0, 8, 26}},
    };
    for (const Case& c : cases) {
        PC_Hikaru* hikaru = Ready<PC_Hikaru>(113, c.level);
        Hold(kFire1);
        std::vector<int> made;
        for (int f = 0; f < 31; ++f) {
            Step();
            if (f == c.killAt) hikaru->weapons[0]->Kill();
            if (NewShots(type_id::S_HikaruLetter) > 0) made.push_back(f);
        }
        EXPECT_EQ(made, c.made) << c.level;
        hikaru->Vanish();
        Hold(kFire1, false);
        Step(30);
    }
}

TEST_F(Weapons, TheLetterThrowsSideShotsOfItsOwnSideWithoutOwner) {
    party->inputMode = kInputRecorded;  // an owner that outlives the letter
    Object* letter = world.CreateObject(type_id::S_HikaruLetter, 100, 200, 0, -1, 0, 0, party);
    letter->SetScore(2);
    Step(9);
    EXPECT_EQ(CountShots(type_id::S_Gunnac), 0);
    Step();
    ASSERT_EQ(CountShots(type_id::S_Gunnac), 2);
    for (Object* s : world.shots) {
        if (s == letter) continue;
        EXPECT_EQ(s->owner, nullptr);
        EXPECT_EQ(s->side, kInputRecorded);
    }
    EXPECT_EQ(letter->hitHalfWidth, 16);
}

TEST_F(Weapons, TheHomingShotTurnsAnEighthAndHoldsWithinIt) {
    Object* shot = world.CreateObject(type_id::S_Gunnac3, 100, 150, 0, -4, 0, 0, nullptr);
    Step(3);
    EXPECT_EQ(shot->vx, 0.0f);  // no steering before age 3, nor without an enemy
    Add(400, "enemy", shot->x + 150, shot->y - 100);
    Step();
    EXPECT_EQ(shot->angle, 57344);
    EXPECT_GT(shot->vx, 0.0f);
    EXPECT_LT(shot->vy, 0.0f);
    Step(3);
    EXPECT_EQ(shot->angle, 57344);  // within an eighth of the target: no further turn
}

TEST_F(Weapons, TheKavletSwingsTowardTheMiddleAndShrinksAsItWears) {
    Object* right = world.CreateObject(type_id::S_Kavlet, 200, 200, 0, -5, 0, 0.1f, nullptr);
    Object* left = world.CreateObject(type_id::S_Kavlet, 60, 200, 0, -5, 0, 0.1f, nullptr);
    right->SetScore(1);
    Step(2);
    EXPECT_LT(right->x, 200.0f);
    EXPECT_GT(left->x, 60.0f);
    EXPECT_EQ(right->hitHalfWidth, 20);
    EXPECT_EQ(left->hitHalfWidth, 12);  // level 0 keeps the small box
    right->hp = 8.0f;
    Step();
    EXPECT_EQ(right->hitHalfWidth, 12);
}

TEST_F(Weapons, ParkingACharacterTakesItsWeaponsWithItEvenWhenItGoesTheSameFrame) {
    PC_Sayaka* sayaka = Ready<PC_Sayaka>(111, 3);
    Hold(kFire1);
    Step(3);
    ASSERT_GT(world.shots.size(), 2u);
    Object* satellite = sayaka->weapons[0];
    ASSERT_NE(satellite, nullptr);
    sayaka->SetInactive(3600);
    EXPECT_EQ(satellite->state, kKilled);
    EXPECT_EQ(satellite->owner, nullptr);
    for (Object* held : sayaka->weapons) EXPECT_EQ(held, nullptr);
    sayaka->Vanish();  // swept before the shots that named it as owner
    Step();
    EXPECT_TRUE(world.shots.empty());
    EXPECT_TRUE(world.players.empty());
}

TEST_F(Weapons, TheBeamGrowsEightAFrameTowardItsLengthAndStandsOnItsOwner) {
    auto* beam = dynamic_cast<S_Gunnac4*>(world.CreateObject(type_id::S_Gunnac4, 300, 100, 0, 0, 0, 0, party));
    beam->angle = 3;  // 48 units
    std::vector<int32_t> lengths;
    for (int f = 0; f < 6; ++f) {
        beam->Run(&world);
        lengths.push_back(beam->length);
    }
    EXPECT_EQ(lengths, (std::vector<int32_t>{24, 32, 40, 48, 48, 48}));
    EXPECT_EQ(beam->hitHalfHeight, 40);
    EXPECT_EQ(beam->y, party->y - 24.0f);
    EXPECT_EQ(beam->x, 256.0f);  // held in the field
    EXPECT_EQ(beam->hp, 65535.0f);
}

TEST_F(Weapons, TheDummyNeitherReadsNorFires) {
    PC_Dummy* dummy = Make<PC_Dummy>(97);
    EXPECT_EQ(dummy->width, 48);
    Hold(kFire1);
    Hold(kRight);
    Step(10);
    EXPECT_EQ(dummy->age, 10);
    EXPECT_EQ(dummy->holdRight, 0);
    EXPECT_EQ(dummy->x, 128.0f);
    EXPECT_TRUE(world.shots.empty());
}
