#include "game/world/type_table.h"
#include "player_support.h"

using namespace player_test;

class Recording : public PlayerTest {
protected:
    void SetUp() override { natsuki = Make<PC_Natsuki>(110); }
    // Records the words in input mode 1, one a frame, and ends the turn as Damage does.
    void Record(std::initializer_list<int32_t> words) {
        natsuki->OnMessage(Msg(3, 1, kInputRecorded));
        for (int32_t w : words) natsuki->RecordInput(w);
        natsuki->RecordInput(0);
    }
    std::vector<int32_t> Play(int frames) {
        natsuki->OnMessage(Msg(3, 1, kInputPlayedBack));
        std::vector<int32_t> words;
        for (int f = 0; f < frames; ++f) {
            words.push_back(natsuki->PlaybackInput(&world));
            natsuki->age += 1;
        }
        return words;
    }
    PC_Natsuki* natsuki = nullptr;
};

TEST_F(Recording, RunsStoreTheWordsAndPlayThemOneFrameLate) {
    const int32_t a = 0x11, b = 0x22;
    Record({a, a, a, b});
    ASSERT_EQ(natsuki->record.inputRuns.size(), 3u);
    EXPECT_EQ(natsuki->record.inputRuns[0].word, 0);
    EXPECT_EQ(natsuki->record.inputRuns[0].count, 0);
    EXPECT_EQ(natsuki->record.inputRuns[1].word, a);
    EXPECT_EQ(natsuki->record.inputRuns[1].count, 2);
    EXPECT_EQ(natsuki->record.inputRuns[2].word, b);
    EXPECT_EQ(natsuki->record.inputRuns[2].count, 0);
    EXPECT_EQ(Play(8), (std::vector<int32_t>{0, a, a, a, b, -1, -1, -1}));

    Record({0, 0, 0, a});
    EXPECT_EQ(Play(6), (std::vector<int32_t>{0, 0, 0, 0, a, -1}));
}

TEST_F(Recording, EventsRunOnTheirFrameInOrderAndLateOnesAreNotLost) {
    world_test::Probe* scene = MakeScene();
    natsuki->OnMessage(Msg(3, 1, kInputRecorded));
    natsuki->RecordEvent(2, 3, 7.9f, 8, 9);
    natsuki->RecordEvent(2, 3, 1.0f, 2, 3);
    natsuki->RecordEvent(1, 5, 0, 0, 0);
    natsuki->OnMessage(Msg(3, 1, kInputPlayedBack));
    natsuki->age = 3;
    natsuki->PlaybackInput(&world);
    ASSERT_EQ(scene->messages.size(), 2u);
    EXPECT_EQ(scene->messages[0].Code(), 19);
    EXPECT_EQ(scene->messages[0].Int(1), 7);  // stored truncated
    EXPECT_EQ(scene->messages[1].Int(1), 1);
    EXPECT_EQ(natsuki->powerItems + natsuki->powerLevel, 0);
    // The age jumps past the power-up's frame: it runs late instead of stalling playback.
    natsuki->age = 9;
    EXPECT_EQ(natsuki->PlaybackInput(&world), -1);
    EXPECT_EQ(natsuki->powerLevel, 1);
    EXPECT_EQ(natsuki->record.eventPos, 3u);
}

TEST_F(Recording, AnUnknownEventIsReportedAndSkippedAndAWaveWithoutSceneIsConsumed) {
    natsuki->OnMessage(Msg(3, 1, kInputRecorded));
    natsuki->RecordEvent(7, 0, 0, 0, 0);
    natsuki->RecordEvent(2, 0, 1, 2, 3);
    natsuki->OnMessage(Msg(3, 1, kInputPlayedBack));
    natsuki->PlaybackInput(&world);
    EXPECT_EQ(platform.messageBox.Texts(),
              std::vector<std::string>{"不正なイベントが記録されてるよ\nTYPE：7\nFRAME：0"});
    EXPECT_EQ(natsuki->record.eventPos, 2u);
}

TEST_F(Recording, ATakenOutEventParksThePlayedBackCharacterWithABurst) {
    natsuki->OnMessage(Msg(3, 1, kInputRecorded));
    natsuki->RecordEvent(0, 0, 0, 0, 0);
    natsuki->OnMessage(Msg(3, 1, kInputPlayedBack));
    natsuki->PlaybackInput(&world);
    EXPECT_EQ(natsuki->inputMode, kInputParked);
    EXPECT_EQ(natsuki->inactive, 3600);
    EXPECT_EQ(CountBlasts(), 1);
    EXPECT_EQ(CountShots(type_id::S_PCBlast), 8);
}
