// The heads-up display as the cells it puts into the font and effect batches: a golden list of
// what a frame shows for a known state.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>

#include "game/world/text.h"
#include "stage_support.h"

namespace {

class Hud : public stage_test::StageWorld {
protected:
    Hud() {
        gameSprites.font = &font;
        gameSprites.effect4 = &effect4;
    }

    // The text of one line of the playfield, as characters at their x (blank where none).
    std::string Line(float y) const {
        std::map<int, char> at;
        for (const auto& r : font.rects) {
            if (r.y != y) continue;
            const int32_t cell = r.srcX / 8 + (r.srcY / 8) * 16;
            char c = '?';
            for (wchar_t w = L'~'; w >= L' '; --w) {
                if (FontCells(w).cell == cell) c = static_cast<char>(w);
            }
            at[static_cast<int>(r.x)] = c;
        }
        std::string line;
        if (at.empty()) return line;
        for (int x = at.begin()->first; x <= at.rbegin()->first; x += 8) line += at.count(x) ? at[x] : ' ';
        return std::to_string(at.begin()->first) + ":" + line;
    }

    int32_t Count(const enemies_test::CellRecorder& batch, int32_t srcX, int32_t srcY) const {
        int32_t n = 0;
        for (const auto& r : batch.rects) n += r.srcX == srcX && r.srcY == srcY;
        return n;
    }

    enemies_test::CellRecorder font{&sheet}, effect4{&sheet};
};

TEST_F(Hud, AStageFrameShowsScorePacingBannerAndBossTime) {
    Script* s = MakeStage(3);
    s->age = 40;
    s->score = 12345;
    s->hurryLevel = 3;
    s->waveCountdown = 255;
    s->waveInterval = 255.0f;
    s->bossTime = 125 * 60 + 59;
    s->Draw(&world);
    EXPECT_EQ(Line(16), "152:123450");
    EXPECT_EQ(Line(120), "96:START");
    EXPECT_EQ(Line(112), "96:NODE 3");
    EXPECT_EQ(Line(0), "112:125");
    EXPECT_EQ(Count(effect2, 120, 24), 3);  // one pace icon per hurry step
    EXPECT_EQ(Count(effect2, 124, 16), 7);  // 255 / 32 full segments
    EXPECT_EQ(Count(effect2, 120, 16), 1);  // and the eighth, empty
}

TEST_F(Hud, AZeroScoreShowsOneDigitAndAStoppedStageOneIcon) {
    Script* s = MakeStage(1);
    s->age = 200;
    s->bossActive = 1;
    s->waveCountdown = 64 * 32 * 4;
    s->waveInterval = 65535.0f;
    s->Draw(&world);
    EXPECT_EQ(Line(16), "192:0");
    EXPECT_EQ(Line(120), "");
    EXPECT_EQ(Count(effect2, 216, 56), 1);
    EXPECT_LE(Count(effect2, 124, 16) + Count(effect2, 120, 16), 64);
}

TEST_F(Hud, TheAttackClockReadsMinutesAndSeconds) {
    struct Case {
        int32_t frames;
        const char* line;
    } cases[] = {{7260, "16:2.01"}, {65 * 60, "16:1.05"}, {18060, "16:5.01"}};
    for (const Case& c : cases) {
        font.rects.clear();
        Script* s = MakeStage(10, 10);
        s->attackTimer = c.frames;
        s->age = 200;
        s->Draw(&world);
        EXPECT_EQ(Line(232), c.line) << c.frames;
    }
}

// The short mission names its next node from the party's half of the field and the score's
// ten-thousands: 2, 4 or 6 after stage 3; 1, 5 or 7 after an even stage; none after the others.
TEST_F(Hud, TheShortMissionShowsTheNextNode) {
    struct Case {
        int32_t stage;
        float partyX;
        int32_t score, node;
    } cases[] = {
        {3, 100, 0, 2},     {3, 255, 0, 4},    {3, 130, 10000, 6}, {3, 127.9f, 29999, 6},
        {2, 0, 0, 1},       {4, 128, 0, 5},    {6, 0, 20000, 7},   {8, 200, 20000, 1},
        {1, 200, 10000, 0}, {5, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "stage " << c.stage << " x " << c.partyX << " score " << c.score);
        font.rects.clear();
        Script* s = MakeStage(c.stage, 13);
        party->x = c.partyX;
        s->score = c.score;
        s->age = 200;
        EXPECT_EQ(s->NextShortMissionNode(&world), c.node);
        s->Draw(&world);
        EXPECT_EQ(Line(0), c.node > 0 ? "168:NEXT NODE " + std::to_string(c.node) : "");
    }
}

TEST_F(Hud, GhostAttackModesShowLivesOrTheMemoryWarning) {
    Script* s = MakeStage(1, 17);
    s->age = 200;
    s->bestLoopGain = 42;
    party->hp = 12.0f;
    s->Draw(&world);
    EXPECT_EQ(Line(0), "176:420*  1.2");  // lives 12: tens at 224, units at 240
    EXPECT_EQ(Line(8), "192:LOOP  0");
    font.rects.clear();
    party->hp = -1.0f;
    s->Draw(&world);
    EXPECT_EQ(Line(0), "120:NOT ENOUGH MEMORY");
}

TEST_F(Hud, TheGhostStageCountsItsDefeatsAndLoops) {
    Script* s = MakeStage(16, 16);
    s->age = 100;
    s->defeats = 3;
    s->loops = 2;
    s->Draw(&world);
    EXPECT_EQ(Line(0), "136:DEFEAT LEFT  5");
    EXPECT_EQ(Line(8), "192:LOOP  2");
    EXPECT_EQ(Count(effect4, 240, 48), 2);  // one progress tile per 80 frames, and the next one lit
    effect4.rects.clear();
    s->age = 110;
    s->Draw(&world);
    EXPECT_EQ(Count(effect4, 240, 48), 1);  // the next one blinks off
}

// Each bound of the display on both sides: the START banner from frame 3 to frame 119, the
// attack clock's leading zero below ten seconds, DEFEAT LEFT until the eighth defeat, the lives of
// a ghost attack down to 0 (the warning only below), the black cover of the first three frames
// and the grey wipe of the ghost modes' first sixteen.
TEST_F(Hud, EachBoundIsMetAtItsValue) {
    struct Case {
        const char* name;
        int32_t stage, mode, age;
        std::function<void(Script*)> set;
        float y;  // the line read, or -1 for the covers
        std::string line;
        int32_t black, grey;  // full-field covers drawn
    } cases[] = {
        {"frame 2: no banner yet", 1, 0, 2, nullptr, 120, "", 1, 0},
        {"frame 3: START", 1, 0, 3, nullptr, 120, "96:START", 0, 0},
        {"frame 119: still START", 1, 0, 119, nullptr, 120, "96:START", 0, 0},
        {"frame 120: gone", 1, 0, 120, nullptr, 120, "", 0, 0},
        {"9 seconds left", 10, 10, 200, [](Script* s) { s->attackTimer = 9 * 60; }, 232, "16:0.09", 0, 0},
        {"10 seconds left", 10, 10, 200, [](Script* s) { s->attackTimer = 10 * 60; }, 232, "16:0.10", 0, 0},
        {"seven defeats", 16, 16, 200, [](Script* s) { s->defeats = 7; }, 0, "136:DEFEAT LEFT  1", 0, 0},
        {"eight defeats", 16, 16, 200, [](Script* s) { s->defeats = 8; }, 0, "112:NEED  0 DEFEAT  8", 0, 0},
        {"no life left", 1, 17, 200, [this](Script*) { party->hp = 0.0f; }, 0, "176:420*  0.0", 0, 0},
        {"ghost frame 15: the wipe", 16, 16, 15, nullptr, -1, "", 0, 1},
        {"ghost frame 16: no wipe", 16, 16, 16, nullptr, -1, "", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        font.rects.clear();
        effect1.rects.clear();
        Script* s = MakeStage(c.stage, c.mode);
        s->age = c.age;
        s->bestLoopGain = 42;
        party->hp = 3.0f;
        if (c.set) c.set(s);
        s->Draw(&world);
        if (c.y >= 0) {
            EXPECT_EQ(Line(c.y), c.line);
        }
        int32_t black = 0, grey = 0;
        for (const auto& r : effect1.rects) {
            black += r.colour == 0xFF000000u && r.w == 512.0f;
            grey += r.colour == 0xFF787878u && r.h == 256.0f;
        }
        EXPECT_EQ(black, c.black);
        EXPECT_EQ(grey, c.grey);
    }
}

}  // namespace
