#include "game/world/type_table.h"
#include "world_support.h"

using namespace world_test;

class GameStart : public WorldTest {
protected:
    void SetUp() override {
        Register({type_id::Script, type_id::SC_Menu_Title});
        RegisterCharacters({98, 99, 100, 110, 111, 112});
        world.InitController();
    }
    Probe* Party() { return AsProbe(world.pcController); }
    Probe* Scene() { return AsProbe(world.currentScene); }
};

TEST_F(GameStart, CreatesTheStageAndThePartyLastMemberFirst) {
    Object* title = world.currentScene;
    world.SetPlayerCount(3);
    world.gameMode = 0;
    world.StartGame(0, 1, 11, 12, 21, 0, 0);
    EXPECT_EQ(title->state, kVanished);
    EXPECT_TRUE(world.gameRunning);
    ASSERT_NE(Scene(), title);
    ASSERT_EQ(Scene()->messages.size(), 1u);
    EXPECT_EQ(Scene()->messages[0].Code(), 11);
    EXPECT_EQ(Scene()->messages[0].Int(0), 1);  // stage 1 in mode 0
    ASSERT_EQ(world.players.size(), 3u);
    std::vector<Object*> players(world.players.begin(), world.players.end());
    const Message& setUp = Party()->messages.at(0);
    EXPECT_EQ(setUp.Count(), 4);
    EXPECT_EQ(setUp.Code(), 3);
    ASSERT_EQ(setUp.ArgumentCount(), 6);
    EXPECT_EQ(setUp.ObjectAt(0), players[2]);  // member 1 was created last
    EXPECT_EQ(setUp.Int(1), 0);
    EXPECT_EQ(setUp.ObjectAt(4), players[0]);
    EXPECT_EQ(setUp.Int(5), 11);
    EXPECT_EQ(Party()->messages.at(1).Code(), 5);
    EXPECT_EQ(Party()->messages.at(1).Int(0), 21);
    EXPECT_EQ(world.partyMembers[3], 12);
    EXPECT_EQ(world.formations[2], 21);
    EXPECT_EQ(Party()->x, 128.0f);
    EXPECT_EQ(Party()->y, 180.0f);
}

TEST_F(GameStart, StageOfEachMode) {
    for (auto [mode, stage] : {std::pair{0, 1}, {13, 3}, {16, 16}, {5, 5}, {17, 1}, {26, 10}, {11, 11}}) {
        world.gameMode = mode;
        world.StartGame(0, 0, 0, 0, 1, 0, 0);
        EXPECT_EQ(Scene()->messages.at(0).Int(0), stage) << mode;
        if (mode == 16) {
            EXPECT_EQ(Scene()->messages.at(1).Int(0), 16);
        }
        world.SweepObjects();
    }
}

TEST_F(GameStart, PlaybackTakesTheReplayHeader) {
    world.SetPlayerCount(4);
    world.ArrestLevel = 50;
    world.gameMode = 3;
    world.StartGame(0, 1, 9, 12, 1111, 1, -1);
    EXPECT_EQ(world.replay.mode, 1);
    EXPECT_EQ(world.playerCount, 1);  // the header of a replay that could not be read
    EXPECT_EQ(world.ArrestLevel, 0);
    EXPECT_EQ(world.gameMode, 0);
    EXPECT_EQ(world.partyMembers[0], 11);
    ASSERT_EQ(world.players.size(), 1u);
}
