// The events the stage hears: each code's effect, the bonus value and chain, the row timer.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "game/world/type_table.h"
#include "stage_support.h"

namespace {

class Events : public stage_test::StageWorld {};

TEST_F(Events, EachCodeHasItsEffect) {
    struct Case {
        const char* name;
        std::function<Message(ObjectController*)> message;
        int32_t label;     // the label effect made, 0 none
        int32_t bonusItems;
        std::function<void(Script*)> check;
    } cases[] = {
        {"0 ticks the wave timer", [](ObjectController*) { return Msg(3, 0, 5); }, 0, 0,
         [](Script* s) { EXPECT_EQ(s->waveCountdown, 500 - 5); }},
        {"1 grows the waves", [](ObjectController*) { return Msg(3, 1, 2); }, 0, 0,
         [](Script* s) { EXPECT_EQ(s->waveSize, 6); EXPECT_EQ(s->waveTarget, 330); }},
        {"3 Hecatomb", [](ObjectController* c) { return Msg(5, 3, c, 40, 50); }, 276, 1,
         [](Script* s) { EXPECT_EQ(s->bonusValue, 10); EXPECT_EQ(s->chain, 1); EXPECT_EQ(s->rowTimer, 383); }},
        {"4 Excess Capacity", [](ObjectController* c) { return Msg(3, 4, c); }, 277, 1, nullptr},
        {"6 Subvert", [](ObjectController* c) { return Msg(6, 6, c, 1, 2); }, 278, 1, nullptr},
        {"7 Mortal Wound", [](ObjectController* c) { return Msg(6, 7, c, 1, 2); }, 279, 0, nullptr},
        {"9 Failure", [](ObjectController* c) { return Msg(3, 9, c); }, 286, 0,
         [](Script* s) { EXPECT_EQ(s->chain, 0); }},
        {"10 a player lost", [](ObjectController*) { return Msg(2, 10); }, 0, 0,
         [](Script* s) { EXPECT_EQ(s->waveSize, 3); }},
        {"12 boss defeated", [](ObjectController* c) { return Msg(3, 12, c); }, 0, 0,
         [](Script* s) { EXPECT_EQ(s->clearCountdown, 1); EXPECT_EQ(s->bossActive, 0); }},
        {"13 without parts is ignored", [](ObjectController* c) { return Msg(3, 13, c); }, 0, 0,
         [](Script* s) { EXPECT_EQ(s->bossParts, 0); }},
        {"14 Without Delay", [](ObjectController* c) { return Msg(4, 14, c, 3000); }, 280, 1, nullptr},
        {"15 Paradigm Shift", [](ObjectController* c) { return Msg(3, 15, c); }, 281, 0, nullptr},
        {"16 Annihilate", [](ObjectController* c) { return Msg(3, 16, c); }, 282, 1, nullptr},
        {"17 sets the row", [](ObjectController*) { return Msg(3, 17, 9); }, 0, 0,
         [](Script* s) { EXPECT_EQ(s->waveRow, 9); }},
        {"17 with the world first", [](ObjectController* c) { return Msg(3, 17, c, 7); }, 0, 0,
         [](Script* s) { EXPECT_EQ(s->waveRow, 7); }},
        {"18 next loop", [](ObjectController*) { return Msg(2, 18); }, 0, 0,
         [](Script* s) { EXPECT_EQ(s->loops, 1); EXPECT_EQ(s->defeats, 1); EXPECT_EQ(s->age, 0); }},
        {"20 nothing", [](ObjectController*) { return Msg(2, 20); }, 0, 0, nullptr},
        {"22 sets the wave size", [](ObjectController*) { return Msg(3, 22, 7); }, 0, 0,
         [](Script* s) { EXPECT_EQ(s->waveSize, 7); EXPECT_EQ(s->waveTarget, 335); }},
        {"23 sets the row timer", [](ObjectController*) { return Msg(3, 23, 55); }, 0, 0,
         [](Script* s) { EXPECT_EQ(s->rowTimer, 55); }},
        {"24 ends the ghost turn", [](ObjectController*) { return Msg(2, 24); }, 0, 0,
         [](Script* s) { EXPECT_EQ(s->ghostTimer, 1); }},
        {"25 Plague", [](ObjectController* c) { return Msg(3, 25, c); }, 284, 0, nullptr},
        {"26 waits for enthusiasm", [](ObjectController* c) { return Msg(5, 26, c, 1, 2); }, 0, 0,
         [](Script* s) { EXPECT_EQ(s->enthusiasmCounter, 1); }},
        {"27 a fixed bonus", [](ObjectController* c) { return Msg(6, 27, c, 1, 2, 900); }, 278, 1,
         [](Script* s) { EXPECT_EQ(s->bonusValue, 10); }},
        {"28 is outside the codes", [](ObjectController* c) { return Msg(3, 28, c); }, 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        world.ClearAll();
        world.SweepObjects();
        Script* s = MakeStage(1);
        s->OnMessage(c.message(&world));
        for (int32_t id : {276, 277, 278, 279, 280, 281, 282, 284, 285, 286}) {
            EXPECT_EQ(CountAnywhere(id), id == c.label ? 1 : 0) << id;
        }
        EXPECT_EQ(CountAnywhere(type_id::I_Bonus), c.bonusItems);
        if (c.check) c.check(s);
    }
}

// What each bonus pays and where: the value its label shows, and the bonus item worth it (or the
// eight-item rain carrying it) at the place the code names. The next bonus value from 100 on row
// 2 is 100 + (2 + 1) x 10 = 130; the party stands at x 77; code 16's bomb counts the three enemies
// it destroys and the three blasts it leaves on them: 6 x 100.
TEST_F(Events, EachBonusPaysItsAmountWhereItsCodeSays) {
    struct Case {
        const char* name;
        std::function<Message(ObjectController*)> message;
        int32_t label, shown;
        int32_t carrier;  // I_Bonus or EF_8Bonus
        int32_t worth;
        float x, y;
        int32_t bonusValue;  // after the code
    } cases[] = {
        {"3 Hecatomb", [](ObjectController* c) { return Msg(5, 3, c, 40, 50); }, 276, 130, type_id::I_Bonus, 130, 40, 50, 130},
        {"4 Excess Capacity", [](ObjectController* c) { return Msg(3, 4, c); }, 277, 130, type_id::I_Bonus, 130, 77, 240, 130},
        {"6 Subvert", [](ObjectController* c) { return Msg(6, 6, c, 1, 2); }, 278, 130, type_id::I_Bonus, 130, 1, 2, 130},
        {"7 Mortal Wound", [](ObjectController* c) { return Msg(6, 7, c, 3, 4); }, 279, 130, type_id::EF_8Bonus, 130, 3, 4, 130},
        {"14 Without Delay", [](ObjectController* c) { return Msg(4, 14, c, 3000); }, 280, 3000, type_id::I_Bonus, 3000, 128, 32, 100},
        {"15 Paradigm Shift", [](ObjectController* c) { return Msg(3, 15, c); }, 281, 130, type_id::EF_8Bonus, 130, 77, 240, 130},
        {"16 Annihilate", [](ObjectController* c) { return Msg(3, 16, c); }, 282, 600, type_id::I_Bonus, 600, 77, 0, 100},
        {"26 Enthusiastic", [](ObjectController* c) { return Msg(5, 26, c, 5, 6); }, 285, 130, type_id::I_Bonus, 130, 5, 6, 130},
        {"27 a fixed bonus", [](ObjectController* c) { return Msg(6, 27, c, 7, 8, 900); }, 278, 900, type_id::I_Bonus, 900, 7, 8, 130},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        world.ClearAll();
        world.SweepObjects();
        Script* s = MakeStage(1);
        s->bonusValue = 100;
        s->waveRow = 2;
        s->enthusiasmCounter = 128;  // rank 0: the next one exceeds 128
        party->x = 77;
        for (float x : {20.0f, 30.0f, 40.0f}) Make(type_id::E_Coin_W, x, 100);
        s->OnMessage(c.message(&world));
        std::vector<Object*> labels, carriers;
        for (const ObjectList* list : {&world.others, &world.items}) {
            for (Object* o : *list) {
                if (enemies_test::ClassOf(o) == kTypeTable[c.label].className) labels.push_back(o);
                if (enemies_test::ClassOf(o) == kTypeTable[c.carrier].className) carriers.push_back(o);
            }
        }
        ASSERT_EQ(labels.size(), 1u);
        EXPECT_EQ(labels[0]->score, c.shown);
        ASSERT_EQ(carriers.size(), 1u);
        EXPECT_EQ(carriers[0]->score, c.worth);
        EXPECT_EQ(carriers[0]->x, c.x);
        EXPECT_EQ(carriers[0]->y, c.y);
        EXPECT_EQ(s->bonusValue, c.bonusValue);
    }
}

// The kill that drops an item: the first kill past the party's power x 4 plus the wave threshold
// (the wave size, at most 32, plus 4 per multiplier step), or the stage's own lower bound.
TEST_F(Events, EveryKillPastThePowerThresholdDropsAnItem) {
    struct Case {
        int32_t stage, waveSize, multiplier;
        float power;
        int32_t dropOnKill, item;
    } cases[] = {
        {1, 4, 1, 2.0f, 13, 267},   // 8 + 4
        {1, 4, 1, 1.5f, 11, 267},   // 6 + 4
        {1, 40, 2, 0.0f, 37, 267},  // the wave size counts up to 32, + 4
        {2, 6, 3, 0.0f, 15, 267},   // 6 + 8
        {5, 4, 2, 2.0f, 6, 270},    // (2 + 8) / 2
        {21, 4, 2, 2.0f, 6, 270},   // stage 5 of the next group
        {6, 10, 1, 3.0f, 7, 267},   // 3 x 2
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "stage " << c.stage << " size " << c.waveSize << " power " << c.power);
        world.ClearAll();
        world.SweepObjects();
        Script* s = MakeStage(1);
        s->stage = c.stage;
        s->waveSize = c.waveSize;
        s->waveMultiplier = c.multiplier;
        party->power = c.power;
        int32_t kills = 0;
        while (kills < 100 && world.items.empty()) {
            s->OnMessage(Msg(5, 2, &world, 40, 50));
            kills += 1;
        }
        EXPECT_EQ(kills, c.dropOnKill);
        EXPECT_EQ(CountAnywhere(c.item), 1);
        EXPECT_EQ(s->killCounter, 0);
    }
}

TEST_F(Events, BonusValuesClimbByTensToTheirCap) {
    Script* s = MakeStage(1);
    for (int32_t i = 1; i <= 64; ++i) EXPECT_EQ(s->NextBonusValue(), i * 10);
    EXPECT_EQ(s->NextBonusValue(), 640);
    s->waveRow = 15;
    s->waveSize = 100;
    for (int i = 0; i < 100; ++i) s->NextBonusValue();
    EXPECT_EQ(s->bonusValue, 9990);
    // The step is row + 1 tens up to row 11, then 16 tens, in a stage and in the ghost stage alike
    // (wave size 4: no eighths of it in the ghost stage's step).
    for (const int32_t stage : {1, 16}) {
        for (const int32_t row : {11, 12}) {
            Script* t = MakeStage(stage, stage == 16 ? 16 : 0);
            t->waveSize = 4;
            t->waveRow = row;
            EXPECT_EQ(t->NextBonusValue(), row == 11 ? 120 : 160) << "stage " << stage << " row " << row;
        }
    }
}

// A wave that gets away halves the bonus value while a chain runs and empties it when none does;
// with no chain the waves shrink by one, but not below 4. The ghost modes keep both.
TEST_F(Events, AFailedWaveCutsTheBonusByTheChain) {
    struct Case {
        int32_t mode, chain, waveSize;
        int32_t bonusAfter, sizeAfter;
    } cases[] = {
        {0, 2, 6, 160, 6}, {0, 0, 6, 0, 5}, {0, 0, 5, 0, 4}, {0, 0, 4, 0, 4}, {16, 2, 6, 330, 6}, {16, 0, 6, 330, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " chain " << c.chain << " size " << c.waveSize);
        Script* s = MakeStage(c.mode == 16 ? 16 : 1, c.mode);
        s->bonusValue = 330;
        s->chain = c.chain;
        s->waveSize = c.waveSize;
        s->OnMessage(Msg(3, 9, &world));
        EXPECT_EQ(s->bonusValue, c.bonusAfter);
        EXPECT_EQ(s->waveSize, c.sizeAfter);
        EXPECT_EQ(s->chain, 0);
    }
}

TEST_F(Events, TheRowTimerAdvancesTheRowAndRowFifteenWrapsToTwelve) {
    Script* s = MakeStage(1);
    s->waveRow = 3;
    s->rowTimer = 1;
    s->AdvanceRowTimer(1);  // down to 0: not yet
    EXPECT_EQ(s->waveRow, 3);
    EXPECT_EQ(s->rowTimer, 0);
    s->AdvanceRowTimer(1);  // below 0: the next row
    EXPECT_EQ(s->waveRow, 4);
    EXPECT_EQ(s->rowTimer, 20 * 24);
    s->waveRow = 15;
    s->rowTimer = 0;
    s->AdvanceRowTimer(1);
    EXPECT_EQ(s->waveRow, 12);
    EXPECT_EQ(s->rowTimer, 28 * 24);
    EXPECT_EQ(s->rowAdvanced, 1);
    Step();
    EXPECT_EQ(CountAnywhere(type_id::EF_ParadigmShiftBonus), 1);  // Paradigm Shift on the next frame
}

TEST_F(Events, LabelLinesRunOutToLineSixteen) {
    Script* s = MakeStage(1);
    for (int32_t i = 0; i < 16; ++i) EXPECT_EQ(s->TakeLabelLine(), i);
    EXPECT_EQ(s->TakeLabelLine(), 16);
    EXPECT_EQ(s->TakeLabelLine(), 16);
}

TEST_F(Events, TheLastFortressPartGivesWithoutDelayOnce) {
    Script* s = MakeStage(3);
    s->bossParts = 2;
    s->bossTime = 600;
    s->OnMessage(Msg(3, 13, &world));
    EXPECT_EQ(CountAnywhere(type_id::EF_WithoutDelayBonus), 0);
    s->OnMessage(Msg(3, 13, &world));
    EXPECT_EQ(CountAnywhere(type_id::EF_WithoutDelayBonus), 1);
    EXPECT_EQ(CountAnywhere(type_id::EF_Blast_Stage3Boss), 1);
    EXPECT_EQ(s->bossTime, 0);
    s->OnMessage(Msg(3, 13, &world));  // a late report
    EXPECT_EQ(s->bossParts, 0);
}

// A ghost boss defeated with two lives or more costs one and pays INEFFICIENT BLOW, (wave size +
// defeats + 15) x 6400 after both grew by one, at the formation's last place; with fewer it pays
// MORTAL WOUND, the rain of eight bonus items worth the next bonus value.
TEST_F(Events, AGhostBossDefeatWithOneLifeGivesMortalWound) {
    struct Case {
        float lives;
        float livesAfter;
        int32_t label, carrier, worth;
    } cases[] = {
        {3, 2, type_id::EF_InefficientBlowBonus, type_id::I_Bonus, (5 + 1 + 15) * 6400},
        {2, 1, type_id::EF_InefficientBlowBonus, type_id::I_Bonus, (5 + 1 + 15) * 6400},
        {1, 1, type_id::EF_MortalWoundBonus, type_id::EF_8Bonus, 10},
        {0, 0, type_id::EF_MortalWoundBonus, type_id::EF_8Bonus, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lives << " lives");
        world.ClearAll();
        world.SweepObjects();
        Script* s = MakeStage(16, 16);
        s->waveSize = 4;
        party->hp = c.lives;
        s->OnMessage(Msg(5, 21, &world, 30, 40));
        EXPECT_EQ(s->defeats, 1);
        EXPECT_EQ(party->hp, c.livesAfter);
        for (int32_t label : {type_id::EF_InefficientBlowBonus, type_id::EF_MortalWoundBonus}) {
            EXPECT_EQ(CountAnywhere(label), label == c.label ? 1 : 0) << label;
        }
        Object* carrier = nullptr;
        for (const ObjectList* list : {&world.others, &world.items}) {
            for (Object* o : *list) {
                if (enemies_test::ClassOf(o) == kTypeTable[c.carrier].className) carrier = o;
            }
        }
        ASSERT_NE(carrier, nullptr);
        EXPECT_EQ(carrier->score, c.worth);
        EXPECT_EQ(carrier->x, 30.0f);
        EXPECT_EQ(carrier->y, 40.0f);
    }
}

// ENTHUSIASTIC pays on the event that takes its count past rank x 8 + 128, not on the one that
// reaches it.
TEST_F(Events, EnthusiasmPaysOnlyPastItsCount) {
    for (const int32_t rank : {0, 2}) {
        SCOPED_TRACE(testing::Message() << "rank " << rank);
        world.ClearAll();
        world.SweepObjects();
        Script* s = MakeStage(1);
        s->rank = rank;
        s->enthusiasmCounter = rank * 8 + 127;
        s->OnMessage(Msg(5, 26, &world, 5, 6));
        EXPECT_EQ(CountAnywhere(type_id::EF_EnthusiasticBonus), 0);
        EXPECT_EQ(s->enthusiasmCounter, rank * 8 + 128);
        s->OnMessage(Msg(5, 26, &world, 5, 6));
        EXPECT_EQ(CountAnywhere(type_id::EF_EnthusiasticBonus), 1);
        EXPECT_EQ(s->enthusiasmCounter, 0);
    }
}

// A new loop sets the wave multiplier to (loops x 4 - 48), at least 1, and adds (loops - 6) / 2
// from the eighth loop on.
TEST_F(Events, LoopsFromTheEighthRaiseTheWaveMultiplier) {
    const struct {
        int32_t loopsBefore, multiplier;
    } cases[] = {{6, 1}, {7, 2}, {9, 3}, {13, 8 + 4}};
    for (const auto& c : cases) {
        Script* s = MakeStage(16, 16);
        s->loops = c.loopsBefore;
        s->defeats = 0;
        s->OnMessage(Msg(2, 18));
        EXPECT_EQ(s->waveMultiplier, c.multiplier) << "loop " << c.loopsBefore + 1;
    }
}

}  // namespace
