#include <algorithm>

#include "../enemies/enemies_support.h"
#include "player_support.h"

using namespace player_test;

class Party : public PlayerTest {
protected:
    // Seats a party of the given character codes as the game start does.
    std::vector<PC*> Seat(std::initializer_list<int32_t> codes) {
        std::vector<PC*> made;
        Message message(4, static_cast<int32_t>(codes.size()));
        for (int32_t code : codes) {
            made.push_back(Make<PC>(code));
            message.Add(made.back());
            message.Add(code - 99);
        }
        world.playerCount = static_cast<int32_t>(codes.size());
        party->OnMessage(message);
        return made;
    }
    int GameOvers(const world_test::Probe* scene) const {
        int n = 0;
        for (const Message& m : scene->messages) n += m.Code() == 5;
        return n;
    }
};

TEST_F(Party, FormationsPlaceTheSeatsAndAnUnknownCodeKeepsThem) {
    struct Case {
        int32_t code;
        float seats[4][2];
    };
    const Case cases[] = {
        {2, {{-8, 0}, {8, 0}, {0, 0}, {0, 0}}},
        {13, {{0, -8}, {-16, 8}, {0, 8}, {16, 8}}},
        {211, {{-8, -16}, {8, -16}, {0, 0}, {0, 16}}},
        {5, {{-8, -16}, {8, -16}, {0, 0}, {0, 16}}},  // not a formation: the last offsets stay
        {1111, {{0, -24}, {0, -8}, {0, 8}, {0, 24}}},
    };
    for (const Case& c : cases) {
        party->OnMessage(Msg(3, 5, c.code));
        EXPECT_EQ(party->formation, c.code);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(party->offsetX[i], c.seats[i][0]) << c.code << " seat " << i;
            EXPECT_EQ(party->offsetY[i], c.seats[i][1]) << c.code << " seat " << i;
        }
    }
    int counted = 0;
    for (int32_t code : {1, 2, 11, 3, 12, 21, 111, 4, 13, 31, 22, 112, 121, 211, 1111}) {
        ASSERT_NE(FindFormation(code), nullptr) << code;
        counted += 1;
    }
    EXPECT_EQ(counted, 15);
}

TEST_F(Party, TheThirdButtonStepsTheSpeedOnlyInTheCooperativeModes) {
    Seat({110});
    Step(2);  // the party reads no buttons in its first two frames
    std::vector<float> speeds;
    for (int press = 0; press < 5; ++press) {
        Hold(kFire3);
        Step();
        Hold(kFire3, false);
        Step();
        speeds.push_back(party->speed);
    }
    EXPECT_EQ(speeds, (std::vector<float>{4, 5, 2, 3, 4}));
    EXPECT_EQ(party->members[0]->speed, 3.0f);
    party->OnMessage(Msg(3, 8, 0x100));  // only the flag's low byte counts
    Hold(kFire3);
    Step();
    Hold(kFire3, false);
    Step();
    EXPECT_EQ(party->speed, 4.0f);
    party->OnMessage(Msg(3, 8, 1));
    world.gameMode = 17;
    Hold(kFire3);
    Step();
    EXPECT_EQ(party->speed, 4.0f);
}

TEST_F(Party, ALostMemberReturnsAfterSixtyFramesInItsSeatWithInvincibility) {
    party->OnMessage(Msg(3, 5, 2));
    std::vector<PC*> members = Seat({110, 111});
    members[1]->Damage(&world, 1.0f);
    Step();
    EXPECT_EQ(party->members[1], nullptr);
    EXPECT_EQ(party->lives, 2);
    Step(59);
    EXPECT_EQ(party->members[1], nullptr);
    Step();
    PC* back = party->members[1];
    ASSERT_NE(back, nullptr);
    EXPECT_NE(dynamic_cast<PC_Sayaka*>(back), nullptr);
    EXPECT_EQ(back->invincible, 119);  // 120, then its own Run of the same frame
    EXPECT_EQ(back->score, 1);
    EXPECT_EQ(back->x, party->x + 8.0f);
    EXPECT_EQ(back->powerLevel, 0);
    // Members gain the invincibility of a loss and of a power item.
    int32_t before = members[0]->invincible;
    party->OnMessage(Msg(3, 14, &world, 60));
    EXPECT_EQ(members[0]->invincible, before + 60);
}

TEST_F(Party, WithNoLifeLeftTheSeatStaysEmptyTheGameIsOverOnceAndAnExtendRefills) {
    world_test::Probe* scene = MakeScene();
    std::vector<PC*> members = Seat({110});
    party->lives = 0;
    members[0]->Damage(&world, 1.0f);
    Step(40);
    EXPECT_EQ(party->members[0], nullptr);
    EXPECT_EQ(party->y, 180.0f);
    EXPECT_EQ(GameOvers(scene), 1);
    party->OnMessage(Msg(3, 7, &world));
    ASSERT_NE(party->members[0], nullptr);
    EXPECT_EQ(party->lives, 0);
}

TEST_F(Party, ANewPartyForgetsTheTimersAndSeatsOfTheLastOne) {
    world_test::Probe* scene = MakeScene();
    std::vector<PC*> old = Seat({110, 111, 112});
    old[2]->Damage(&world, 1.0f);
    Step();
    EXPECT_EQ(party->respawnTimer[2], 60);
    old[0]->Vanish();  // old[2] is gone already
    old[1]->Vanish();
    Step();

    std::vector<PC*> members = Seat({113});
    for (int i = 0; i < PCController::kSeats; ++i) EXPECT_EQ(party->respawnTimer[i], 0) << i;
    for (int i = 1; i < PCController::kSeats; ++i) EXPECT_EQ(party->members[i], nullptr) << i;
    party->lives = 0;
    members[0]->Damage(&world, 1.0f);
    Step(70);
    EXPECT_EQ(GameOvers(scene), 1);
    EXPECT_EQ(world.players.size(), 0u);  // no character came back for no life
}

TEST_F(Party, ACharacterWithoutASeatCostsNothingWhenItGoes) {
    Seat({110});
    PC* preview = Make<PC>(111);
    preview->Vanish();
    Step();
    EXPECT_EQ(party->lives, 3);
    for (int i = 0; i < PCController::kSeats; ++i) EXPECT_EQ(party->respawnTimer[i], 0);
}

TEST_F(Party, GhostTurnsRecordTheActiveSeatAndReplayTheOnesBefore) {
    world.gameMode = 17;
    MakeScene();
    std::vector<PC*> m = Seat({110, 111, 112});
    party->OnMessage(Msg(3, 9, &world));
    EXPECT_EQ(m[0]->inputMode, kInputRecorded);
    EXPECT_EQ(m[1]->inputMode, kInputParked);
    EXPECT_EQ(m[2]->inputMode, kInputParked);
    std::vector<std::vector<int32_t>> turns;
    for (int turn = 0; turn < 3; ++turn) {
        Step(20);
        party->OnMessage(Msg(3, 12, &world));  // the turn's time is up
        // The turn ends on the scene's 160-frame beat, at least 60 frames later.
        int32_t wait = party->ghostTimer;
        EXPECT_EQ(wait, 140);
        Step(wait);
        turns.push_back({m[0]->inputMode, m[1]->inputMode, m[2]->inputMode});
    }
    EXPECT_EQ(turns[0], (std::vector<int32_t>{kInputPlayedBack, kInputRecorded, kInputParked}));
    EXPECT_EQ(turns[1], (std::vector<int32_t>{kInputPlayedBack, kInputPlayedBack, kInputRecorded}));
    EXPECT_EQ(turns[2], (std::vector<int32_t>{kInputRecorded, kInputPlayedBack, kInputPlayedBack}));
    EXPECT_EQ(party->ghostTurn, 3);
    EXPECT_EQ(party->lives, 0);
}

TEST_F(Party, AnEndedGhostTurnWaitsForTheScenesBeatAtLeastSixtyFrames) {
    world_test::Probe* scene = MakeScene();
    struct Case {
        int32_t sceneAge, timer;
    } cases[] = {{0, 160}, {20, 140}, {100, 60}, {101, 219}, {159, 161}, {421, 219}, {-1, 190}};
    for (const Case& c : cases) {
        world.currentScene = c.sceneAge < 0 ? nullptr : scene;  // none: the timer of 30 is kept
        scene->age = c.sceneAge;
        party->ghostTimer = 30;
        party->OnMessage(Msg(3, 10, &world));
        EXPECT_EQ(party->ghostTimer, c.timer) << c.sceneAge;
    }
}

// A party of four as the game start seats it: each member of its own class in its own seat (the
// seat is its heads-up row), at its place in the formation, with the party's three lives; losing a
// member costs one life and brings that member back to the same seat, and no other seat changes.
TEST_F(Party, FourMembersAreSeatedInTheirPlacesAndALossCostsOneLife) {
    struct Case {
        int32_t ids[4];
        int32_t formation;
        float places[4][2];
        const char* classes[4];
        int lost;
    } cases[] = {
        {{11, 12, 13, 14}, 4, {{-24, 0}, {-8, 0}, {8, 0}, {24, 0}},
         {"PC_Natsuki", "PC_Sayaka", "PC_Karen", "PC_Hikaru"}, 3},
        {{0, 1, 9, 21}, 22, {{-8, -8}, {8, -8}, {-8, 8}, {8, 8}},
         {"PC_Noa", "PC_Akimi", "PC_Keito", "PC_Minato"}, 0},
        {{25, 28, 11, 12}, 1111, {{0, -24}, {0, -8}, {0, 8}, {0, 24}},
         {"PC_Aiko", "PC_Yuu", "PC_Natsuki", "PC_Sayaka"}, 2},
        {{14, 13, 12, 11}, 31, {{-16, -8}, {0, -8}, {16, -8}, {0, 8}},
         {"PC_Hikaru", "PC_Karen", "PC_Sayaka", "PC_Natsuki"}, 1},
    };
    for (const Case& c : cases) {
        world.gameMode = 0;
        world.SetPlayerCount(4);
        world.StartGame(c.ids[0], c.ids[1], c.ids[2], c.ids[3], c.formation, 0, -1);
        Step();
        auto expectSeats = [&](const char* when) {
            for (int i = 0; i < 4; ++i) {
                PC* m = party->members[i];
                ASSERT_NE(m, nullptr) << when << " seat " << i;
                EXPECT_EQ(enemies_test::ClassOf(m), c.classes[i]) << when << " seat " << i;
                EXPECT_EQ(party->memberIds[i], c.ids[i]) << when << " seat " << i;
                EXPECT_EQ(m->score, i) << when << " seat " << i;
                EXPECT_EQ(m->x, party->x + c.places[i][0]) << when << " seat " << i;
                EXPECT_EQ(m->y, party->y + c.places[i][1]) << when << " seat " << i;
            }
        };
        expectSeats("seated");
        EXPECT_EQ(party->lives, 3);
        EXPECT_EQ(world.players.size(), 4u);

        PC* kept[4];
        std::copy(std::begin(party->members), std::begin(party->members) + 4, kept);
        kept[c.lost]->Damage(&world, 1.0f);
        Step();
        EXPECT_EQ(party->lives, 2) << c.formation;
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(party->members[i], i == c.lost ? nullptr : kept[i]) << c.formation << " seat " << i;
        }
        Step(60);
        expectSeats("back");
        EXPECT_EQ(party->lives, 2) << c.formation;
        EXPECT_EQ(world.players.size(), 4u);
    }
}
