#include <algorithm>
#include <cmath>
#include <vector>

#include "enemies_support.h"
#include "framework/core/angle.h"
#include "game/enemies/enemy.h"
#include "game/world/type_table.h"

namespace enemies_test {
namespace {

using StageEffects = EnemyWorld;

std::vector<Object*> OfClass(const ObjectList& list, int32_t typeId) {
    std::vector<Object*> out;
    for (Object* o : list) {
        if (ClassOf(o) == kTypeTable[typeId].className) out.push_back(o);
    }
    return out;
}

// ---- Ghost stage ----

TEST_F(StageEffects, BeatPatternsLeaveTheirMarkers) {
    struct Case {
        float pattern;
        int32_t markers;
    } cases[] = {{8, 16}, {-1, 16}, {0, 16}, {3, 22}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        world.ClearScene();
        world.SweepObjects();
        Object* beat = Make(type_id::EF_GhostBeat, 20, 100, c.pattern, 9);
        std::vector<float> upper;
        for (int i = 0; i < 161 && beat->state == kAlive; ++i) beat->Run(&world);
        EXPECT_EQ(beat->state, kKilled);
        EXPECT_EQ(CountOf(world.others, type_id::EF_GhostRythm), c.markers);
        if (c.pattern == 8) {
            for (Object* m : OfClass(world.others, 305)) upper.push_back(m->x);
            for (size_t i = 1; i < upper.size(); ++i) EXPECT_FLOAT_EQ(upper[i] - upper[i - 1], 8.0f);
        }
    }
    // Pattern 1's ninth step (age 80) is silent.
    Object* beat = Make(type_id::EF_GhostBeat, 20, 100, 1, 0);
    for (int i = 0; i < 80; ++i) beat->Run(&world);
    const int32_t before = CountOf(world.others, type_id::EF_GhostRythm);
    beat->Run(&world);
    EXPECT_EQ(CountOf(world.others, type_id::EF_GhostRythm), before);
    // A marker of colour 9 shows colour 1 and dies at age 18; a negative colour still reads the table.
    gameSprites.effect4 = &effect1;
    for (float colour : {9.0f, -7.0f}) {
        Object* marker = Make(type_id::EF_GhostRythm, 40, 40, colour);
        effect1.rects.clear();
        marker->Draw(&world);
        EXPECT_EQ(effect1.rects.at(0).colour, 0xFFA03000u);
        int32_t lived = 0;
        while (marker->state == kAlive && lived < 50) {
            marker->Run(&world);
            ++lived;
        }
        EXPECT_EQ(marker->age - 1, 18);
    }
}

TEST_F(StageEffects, InvaderFormationMarchesThinsAndReports) {
    Object* formation = Make(type_id::EF_GhostBossBase, 40, 20, 0);
    formation->inactive = 8;
    for (int i = 0; i < 56; ++i) formation->Run(&world);
    std::vector<Object*> invaders = OfClass(world.enemies, 28);
    ASSERT_EQ(invaders.size(), 55u);
    EXPECT_EQ(static_cast<uint32_t>(dynamic_cast<Enemy*>(invaders[0])->colour), 0xFF70E090u);   // row 0: index 4
    EXPECT_EQ(static_cast<uint32_t>(dynamic_cast<Enemy*>(invaders[54])->colour), 0xFFA070FFu);  // row 4: index 6
    EXPECT_EQ(invaders[12]->x, formation->x + 4.0f + 20.0f);
    EXPECT_EQ(invaders[12]->y, formation->y + 4.0f + 16.0f);
    // One left: it steps every 5 frames.
    for (int i = 0; i < 54; ++i) invaders[i]->Kill();
    world.SweepObjects();
    std::vector<int32_t> steps;
    for (int i = 0; i < 30; ++i) {
        const float x = formation->x, y = formation->y;
        formation->Run(&world);
        if (formation->x != x || formation->y != y) steps.push_back(formation->age - 1);
    }
    ASSERT_GE(steps.size(), 5u);
    EXPECT_EQ(steps[1] - steps[0], 5);
    // The last one shot: defeat at its place, and no more marching.
    Object* last = invaders[54];
    const int32_t lastX = static_cast<int32_t>(last->x), lastY = static_cast<int32_t>(last->y);
    last->Kill();
    world.SweepObjects();
    const float x = formation->x;
    formation->Run(&world);
    EXPECT_EQ(formation->state, kKilled);
    EXPECT_EQ(formation->x, x);
    ASSERT_FALSE(scene->messages.empty());
    EXPECT_EQ(scene->messages.back().Code(), 21);
    EXPECT_EQ(scene->messages.back().Int(1), lastX);
    EXPECT_EQ(scene->messages.back().Int(2), lastY);

    // A formation that reaches the bottom reports code 24.
    Object* low = Make(type_id::EF_GhostBossBase, 40, 170, 0);
    for (int i = 0; i < 2000 && low->state == kAlive; ++i) low->Run(&world);
    EXPECT_EQ(low->state, kKilled);
    EXPECT_EQ(scene->messages.back().Code(), 24);
}

// ---- Block game ----

TEST_F(StageEffects, BlockGameDropsClearsAndCollapses) {
    Object* game = Make(type_id::EF_S6_BlockController, 0, 0);
    for (int i = 0; i < 40; ++i) game->Run(&world);
    std::vector<int32_t> columns;
    for (Object* b : OfClass(world.enemies, 32)) columns.push_back(static_cast<int32_t>(b->x) / 16);
    EXPECT_EQ(columns, (std::vector<int32_t>{0, 7, 14, 5, 12, 3, 10, 1, 11, 2}));
    EXPECT_EQ(OfClass(world.enemies, 32)[0]->score, 0);  // every tenth drop is a new block

    // Left to play, the blocks settle row by row and the first full row clears at the bottom.
    for (int frame = 0; frame < 700; ++frame) {
        game->Run(&world);
        for (Object* b : OfClass(world.enemies, 32)) {
            b->Run(&world);
            b->Move(&world);
        }
        world.SweepObjects();
        if (CountOf(world.others, type_id::EF_Bombris_EraseLine) > 0) break;
    }
    ASSERT_EQ(CountOf(world.others, type_id::EF_Bombris_EraseLine), 1);
    EXPECT_EQ(OfClass(world.others, 322)[0]->y, 232.0f);
    // A block resting on the cleared row falls into its place.
    Object* upper = nullptr;
    for (Object* b : OfClass(world.enemies, 32)) {
        if (b->state == kAlive && std::fabs(b->y - 216.0f) < 0.5f) upper = b;
    }
    ASSERT_NE(upper, nullptr);
    world.SweepObjects();
    for (int frame = 0; frame < 40; ++frame) {
        game->angle = 1;
        game->Run(&world);
        upper->Run(&world);
        upper->Move(&world);
    }
    EXPECT_NEAR(upper->y, 232.0f, 0.5f);
}

// A block shot away shortens its column: the blocks dropped there after it rest on those left,
// with no gap where it was, and a block above it falls one row.
TEST_F(StageEffects, ABlockGoneShortensItsColumn) {
    Object* game = Make(type_id::EF_S6_BlockController, 0, 0);
    auto play = [&](int frames) {
        for (int frame = 0; frame < frames; ++frame) {
            game->Run(&world);
            for (Object* b : OfClass(world.enemies, 32)) {
                b->Run(&world);
                b->Move(&world);
            }
            world.SweepObjects();
        }
    };
    // The rows the live blocks of column 0 rest in, 0 at the bottom (a resting block sits within a
    // frame's fall of its row line).
    auto column0 = [&] {
        std::vector<int32_t> rows;
        for (Object* b : OfClass(world.enemies, 32)) {
            if (b->state == kAlive && b->x == 8.0f) rows.push_back(static_cast<int32_t>(std::lround((232.0f - b->y) / 16.0f)));
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    };
    // Drop 0 falls in column 0 at age 0; drops 11 and 22 follow there at ages 44 and 88.
    play(41);
    ASSERT_EQ(column0().size(), 1u);
    for (Object* b : OfClass(world.enemies, 32)) {
        if (b->x == 8.0f) b->Kill();
    }
    world.SweepObjects();
    play(60);
    game->angle = 1;  // no more drops: 25 blocks, columns 8 and 15 empty, so no row is full
    play(400);
    EXPECT_EQ(column0(), (std::vector<int32_t>{0, 1}));

    // The bottom block of a column of two goes: the one above falls into its row.
    for (Object* b : OfClass(world.enemies, 32)) {
        if (b->x == 8.0f && b->y > 224.0f) b->Kill();
    }
    world.SweepObjects();
    play(200);
    EXPECT_EQ(column0(), (std::vector<int32_t>{0}));
}

// ---- Stage 5 bands and the star field ----

TEST_F(StageEffects, TheBandControllerPlacesItsBandsByWaveMode) {
    constexpr double kPi = 3.14159265358979;
    auto sinDeg = [](double d) { return static_cast<float>(std::sin(d * kPi / 180.0)); };
    // Band 3 at age 5 (q = 4): A = 48, B = 30, E = 60 degrees, R = 56, S = 36.
    struct Case {
        int32_t mode;
        float x, y;
    } cases[] = {
        {0, 128, 56},
        {1, 128 + 8 * sinDeg(48), 56},
        {2, 128 + 8 * sinDeg(48), 8 * sinDeg(30) + 36},
        {3, 128 + 24 * sinDeg(48), 32 * sinDeg(60) + 36 - 20},
        {4, 128, 128},
    };
    for (const Case& c : cases) {
        world.ClearAll();
        world.SweepObjects();
        Object* controller = Make(type_id::EF_S5BGController, 0, 0);
        controller->angle = c.mode;
        for (int i = 0; i < 6; ++i) controller->Run(&world);
        const std::vector<Object*> bands = OfClass(world.others, 317);
        ASSERT_EQ(bands.size(), 24u);
        EXPECT_EQ(bands[3]->angle, 1);
        EXPECT_EQ(bands[4]->angle, 0);
        EXPECT_EQ(bands[3]->owner, controller);
        EXPECT_NEAR(bands[3]->x, c.x, 0.01f) << c.mode;  // whole binary angles: within 0.003 degrees
        EXPECT_NEAR(bands[3]->y, c.y, 0.01f) << c.mode;
    }
    // The controller gone, its bands go with it.
    world.ClearAll();
    world.SweepObjects();
    Object* controller = Make(type_id::EF_S5BGController, 0, 0);
    controller->Run(&world);
    controller->Kill();
    world.SweepObjects();
    world.SweepObjects();
    EXPECT_EQ(OfClass(world.others, 317).size(), 0u);
}

TEST_F(StageEffects, StarsStartOnTheGridWrapAndTwinkle) {
    for (int i = 0; i < 64; ++i) {
        Object* star = Make(type_id::EF_Star_SS, 0, 0);
        EXPECT_EQ(static_cast<int32_t>(star->x) % 16, 8);
        EXPECT_LE(star->x, 248.0f);
        EXPECT_EQ(static_cast<int32_t>(star->y) % 16, 8);
        EXPECT_LE(star->y, 216.0f);
        EXPECT_TRUE(star->vy == 0.5f || star->vy == 1.0f || star->vy == 1.5f) << star->vy;
    }
    // A star that falls off the bottom comes back at the top in a grid column.
    Object* star = Make(type_id::EF_Star_SS, 0, 0);
    star->y = 240.0f;
    star->Run(&world);
    EXPECT_EQ(star->y, 0.0f);
    EXPECT_EQ(static_cast<int32_t>(star->x) % 16, 8);
    // Over 240 frames it shows for 120, from the frame its phase is 0, in grey for 30 frames
    // and blue for the next 30.
    CellRecorder effect3{&sheet};
    gameSprites.effect3 = &effect3;
    std::vector<int64_t> seen;  // the colour drawn each frame, -1 when hidden
    for (int f = 0; f < 480; ++f) {
        effect3.rects.clear();
        star->Run(&world);
        star->Draw(&world);
        seen.push_back(effect3.rects.empty() ? -1 : static_cast<int64_t>(effect3.rects[0].colour));
    }
    int start = 1;
    while (start < 241 && !(seen[start] != -1 && seen[start - 1] == -1)) ++start;
    ASSERT_LT(start, 241);
    for (int f = start; f < start + 240; ++f) {
        const int32_t phase = f - start;
        const int64_t expected = phase >= 120 ? int64_t{-1} : phase % 60 < 30 ? 0xFF808080 : 0xFF404080;
        EXPECT_EQ(seen[f], expected) << phase;
    }
}

// ---- Ambient and notices ----

TEST_F(StageEffects, WindCloudUnlockAndWarningMark) {
    // A streak heading right and slightly up uses the first octant.
    Object* wind = Make(type_id::EF_Wind, 100, 100, AngleCos(65000), AngleSin(65000));
    wind->Run(&world);
    EXPECT_EQ(wind->angle, 0);

    // The cloud drops a bell per touching shot: 20 frames apart, 30 from the ninth bell.
    Object* cloud = Make(type_id::EF_TwinBee_Cloud, 100, 100);
    Object* shot = new Probe(100, 100);
    shot->hitHalfWidth = shot->hitHalfHeight = 4;
    world.AddObject(shot, 500);
    world.counts.enemyCount = 10;
    std::vector<int32_t> bells;
    for (int i = 0; i < 400; ++i) {
        const int32_t before = CountOf(world.enemies, type_id::E_TwinBee_Bell_Y);
        cloud->Run(&world);
        if (CountOf(world.enemies, type_id::E_TwinBee_Bell_Y) > before) bells.push_back(cloud->age - 1);
    }
    ASSERT_GE(bells.size(), 10u);
    EXPECT_EQ(bells[0], 0);
    EXPECT_EQ(bells[1] - bells[0], 20);
    EXPECT_EQ(bells[9] - bells[8], 30);

    // An unlock notice sends out eight traces; each leaves two dots a frame for 16 frames.
    world.ClearScene();
    world.SweepObjects();
    Object* notice = Make(type_id::EF_UnLock, 128, 120);
    notice->Run(&world);
    const std::vector<Object*> traces = OfClass(world.others, 300);
    ASSERT_EQ(traces.size(), 8u);
    for (int i = 0; i < 20; ++i) {
        for (Object* t : traces) {
            if (t->state == kAlive) t->Run(&world);
        }
    }
    EXPECT_EQ(CountOf(world.others, type_id::EF_UnLock_Trace2), 256);

    // The warning mark stops exactly at y 8 coming up at 4 a frame, never at 0.3; it dies at 120.
    for (float speed : {-4.0f, -0.3f}) {
        Object* mark = Make(type_id::EF_ExclamationMark, 100, 240, 0, speed);
        for (int i = 0; i < 121 && mark->state == kAlive; ++i) {
            mark->Run(&world);
            mark->Move(&world);
        }
        EXPECT_EQ(mark->state, kKilled);
        if (speed == -4.0f) EXPECT_EQ(mark->y, 8.0f);
        else EXPECT_LT(mark->y, 210.0f);
    }
}

}  // namespace
}  // namespace enemies_test
