#include <cmath>

#include "framework/core/angle.h"
#include "game/enemies/enemies_support.h"
#include "game/player/shots_zanac.h"
#include "game/world/type_table.h"
#include "player_support.h"
#include "support/data_table.h"

using namespace player_test;
using enemies_test::ExpectClassKindSizeAndHitBox;
using testing_support::DataRow;
using testing_support::ReadDataTable;

class Shots : public PlayerTest {};

TEST_F(Shots, EveryWeaponIdHoldsTheCatalogueAsDesigned) {
    const std::vector<DataRow> rows = ReadDataTable(std::string(TANZLOR_TEST_DATA) + "/weapon_classes.csv");
    ASSERT_EQ(rows.size(), 127u);
    const float speed = std::sqrt(0.5f * 0.5f + 4.0f * 4.0f);
    const int32_t angle = static_cast<int32_t>(AngleAtan2(0.5f, -4.0f));
    for (const DataRow& row : rows) {
        SCOPED_TRACE(row.Text("class"));
        Object* made = world.CreateObject(row.Int("id"), 100, 100, 0.5f, -4.0f, 0, 0, nullptr);
        ASSERT_NE(made, nullptr);
        ExpectClassKindSizeAndHitBox(made, row);
        EXPECT_EQ(made->hp, row.Float("hp"));
        EXPECT_EQ(made->maxHp, row.Float("maxHp"));
        EXPECT_EQ(made->power, row.Float("power"));
        EXPECT_EQ(made->speed, row.Text("speed") == "v" ? speed : row.Float("speed"));
        if (row.Text("angle") != "-") { EXPECT_EQ(made->angle, row.Text("angle") == "v" ? angle : row.Int("angle")); }
        EXPECT_EQ(made->moveMode, row.Int("moveMode"));
        EXPECT_EQ(made->speedAccel, row.Float("speedAccel"));
        EXPECT_EQ(made->side, 2);
        made->Vanish();
    }
    EXPECT_TRUE(platform.messageBox.shown.empty());
}

TEST_F(Shots, MotionAndVariantsFromTheCreationArguments) {
    Object* gunnac = world.CreateObject(type_id::S_Gunnac, 0, 0, 3, 4, 0, 0, nullptr);
    EXPECT_EQ(gunnac->speed, 5.0f);
    EXPECT_EQ(gunnac->angle, static_cast<int32_t>(AngleAtan2(3, 4)));
    Object* homing = world.CreateObject(type_id::S_Gunnac3, 0, 0, 0, -6, 0, 0, nullptr);
    EXPECT_EQ(homing->speed, 6.0f);
    EXPECT_EQ(homing->angle, 49152);
    Object* cut = world.CreateObject(type_id::S_Rockman_Cut, 0, 0, 1, 1, 0, 0, nullptr);
    EXPECT_EQ(cut->speed, 3.0f);
    EXPECT_EQ(cut->angle, 40960);
    EXPECT_EQ(cut->moveMode, 1);
    Object* still = world.CreateObject(type_id::S_RBShot, 0, 0, 1, 1, 0, 0, nullptr);
    EXPECT_EQ(still->speed, 0.0f);
    EXPECT_EQ(still->angle, 0);

    // Variants read from the acceleration leave none behind: the shot does not drift.
    for (int32_t id : {208, 218, 222}) {
        Object* shot = world.CreateObject(id, 100, 100, 0, -4, 1.0f, 0.5f, nullptr);
        EXPECT_EQ(shot->ax, 0.0f) << id;
        EXPECT_EQ(shot->ay, 0.0f) << id;
        shot->Move(&world);
        EXPECT_EQ(shot->x, 100.0f) << id;
        EXPECT_EQ(shot->vy, -4.0f) << id;
    }
    EXPECT_EQ(world.CreateObject(type_id::S_FZ_Stanparon_Shot, 0, 0, 0, 0, 0, 1, nullptr)->angle, 1);
    EXPECT_EQ(world.CreateObject(type_id::S_FZ_Stanparon_Shot, 0, 0, 0, 0, 0, 0, nullptr)->angle, 0);
    EXPECT_EQ(world.CreateObject(type_id::S_CF_SinShot, 0, 0, 0, 0, 0, 1, nullptr)->angle, 0);  // only ax counts
    EXPECT_EQ(world.CreateObject(type_id::S_CF_SinShot, 0, 0, 0, 0, 2, 0, nullptr)->angle, 1);

    struct Sized {
        int32_t id;
        float a, b, y;
        int32_t variant, width, hit;
        float hp;
    };
    const Sized sized[] = {
        {206, 0, 0, 50, 0, 16, 8, 12},     {206, 1, 0, 50, 1, 16, 6, 8},    {206, 2, 0, 50, 2, 8, 4, 4},
        {207, 0, 0, 50, 0, 8, 4, 0},       {207, 0, 0, 1050, 1, 8, 3, 0},   {207, 0, 0, 5050, 5, 8, 2, 0},
        {219, 1, 0, 50, 1, 12, 6, 65535},  {219, 7, 0, 50, 7, 8, 4, 65535},
        {217, 16, 0, 50, 0, 16, 8, 0},     {217, 0, -16, 50, 6, 8, 4, 0},
    };
    for (const Sized& c : sized) {
        Object* shot = world.CreateObject(c.id, 10, c.y, c.a, c.b, 0, 0, nullptr);
        SCOPED_TRACE(testing::Message() << c.id << " variant " << c.variant);
        EXPECT_EQ(shot->angle, c.variant);
        EXPECT_EQ(shot->width, c.width);
        EXPECT_EQ(shot->hitHalfWidth, c.hit);
        EXPECT_EQ(shot->hp, c.hp);
        EXPECT_EQ(shot->y, 50.0f);
    }
}

TEST_F(Shots, TheFieldBoundsAreInclusive) {
    struct Case {
        float x, y;
        bool stays;
    };
    const Case cases[] = {
        {-8, 100, true}, {264, 100, true}, {100, 0, true}, {100, 304, true},
        {-8.01f, 100, false}, {264.01f, 100, false}, {100, -0.01f, false}, {100, 304.01f, false},
    };
    for (const Case& c : cases) {
        Object* shot = world.CreateObject(type_id::S_ZanacA, c.x, c.y, 0, 0, 0, 0, nullptr);
        shot->Move(&world);
        EXPECT_EQ(shot->IsAlive(), c.stays) << c.x << ", " << c.y;
    }
    // S_Gunnac goes at the bottom of the field, not 64 below it.
    Object* gunnac = world.CreateObject(type_id::S_Gunnac, 100, 240.5f, 0, 0, 0, 0, nullptr);
    gunnac->Move(&world);
    EXPECT_FALSE(gunnac->IsAlive());
}

TEST_F(Shots, DrawColourByModeGhostDisplayAndSide) {
    struct Case {
        int32_t gameMode, ghostDisplay, side;
        uint32_t colour;
    };
    const Case cases[] = {
        {0, 3, 0, 0xFFFFFFFFu},  {15, 0, 2, 0xFFFFFFFFu}, {16, 1, 0, 0xFFFFFFFFu}, {17, 2, 1, 0xFFFFFFFFu},
        {17, 2, 4, 0xFF000000u}, {17, 2, 2, 0xFF000000u}, {16, 3, 1, 0xFF000000u}, {16, 0, 1, 0xFF000000u},
    };
    Shot* shot = dynamic_cast<Shot*>(world.CreateObject(type_id::S_Gunnac, 0, 0, 0, 0, 0, 0, nullptr));
    for (const Case& c : cases) {
        world.gameMode = c.gameMode;
        world.scoreData.ghostDisplay = c.ghostDisplay;
        shot->side = c.side;
        EXPECT_EQ(shot->DrawColor(&world), c.colour) << c.gameMode << " " << c.ghostDisplay << " " << c.side;
    }
}

TEST_F(Shots, AShotTakesItsOwnersSideOnItsFirstFrameAndGoesWithIt) {
    PC* pc = Make<PC>(110);
    pc->inputMode = kInputRecorded;
    Object* owned = world.CreateObject(type_id::S_ZanacA, 100, 100, 0, 0, 0, 0, pc);
    Object* loose = world.CreateObject(type_id::S_ZanacA, 100, 100, 0, 0, 0, 0, nullptr);
    Step();
    EXPECT_EQ(owned->side, kInputRecorded);
    EXPECT_EQ(loose->side, 2);
    pc->inputMode = kInputLive;
    Step();
    EXPECT_EQ(owned->side, kInputRecorded);  // only on the first frame
    owned->ForgetObject(pc);
    EXPECT_EQ(owned->owner, nullptr);
    EXPECT_EQ(owned->state, kVanished);
}
