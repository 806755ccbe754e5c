// The background's ring and the ground enemies that painted rows place.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "framework/app/zeth.h"
#include "framework/graphics/device.h"
#include "framework/graphics/managers.h"
#include "framework/graphics/texture.h"
#include "game/stage/ground_table.h"
#include "game/world/drawing.h"
#include "platform/gfx/device.h"
#include "stage_support.h"

namespace {

TEST(Ring, RowsFillTheRingFromItsBottomUp) {
    struct Case {
        int32_t row, y;
    } cases[] = {{0, 496}, {1, 480}, {31, 0}, {32, 496}, {33, 480}, {1023, 0}};
    for (const Case& c : cases) EXPECT_EQ(RingY(c.row), c.y) << c.row;
}

TEST(GroundTable, CellValuesNameTheirClassAndLevel) {
    struct Case {
        int32_t stage, value, typeId, level;
    } cases[] = {
        {1, 10, -1, 0},  {1, 11, 81, 0},  {1, 13, 83, 0},  {1, 14, -1, 0},   {1, 25, 30, 0},  {1, 26, 30, 1},
        {1, 44, -1, 0},  {1, 45, 84, 0},  {1, 59, 84, 14}, {1, 60, 85, 0},   {1, 63, 85, 3},  {1, 64, -1, 0},
        {1, 99, 89, 0},  {1, 102, 89, 3}, {1, 103, -1, 0}, {1, 131, 90, 0},  {1, 132, -1, 0}, {16, 11, 81, 0},
        {7, 1, -1, 0},   {7, 2, 93, 0},   {7, 13, 93, 1},  {7, 17, 94, 1},   {7, 23, 95, 5},  {7, 24, -1, 0},
        {7, 48, 96, 0},  {7, 49, -1, 0},  {7, 54, 96, 3},  {7, 56, -1, 0},   {9, 11, 93, 1},  {23, 18, 95, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "stage " << c.stage << " value " << c.value);
        const GroundPlacement* p = FindGroundPlacement(c.stage, c.value);
        EXPECT_EQ(p != nullptr ? p->typeId : -1, c.typeId);
        if (p != nullptr) { EXPECT_EQ(GroundLevel(*p, c.value), c.level); }
    }
}

class Background : public stage_test::StageWorld {};

TEST_F(Background, APaintedRowPlacesItsGroundEnemiesUnderTheScroll) {
    Script* s = MakeStage(1);
    s->scrollY = 16 * 40 + 5;
    s->scrollSpeed = 2;
    for (int c = 0; c < 24; ++c) s->map[40][c] = 0;
    s->map[40][3] = 26;   // a zako pad: b = 2.0, level 1
    s->map[40][20] = 27;  // a hatch
    s->rowDirty = 1;
    s->DrawMapRow(&world);
    EXPECT_EQ(s->rowDirty, 0);
    ASSERT_EQ(world.enemies.size(), 2u);
    Object* pad = nullptr;
    Object* hatch = nullptr;
    for (Object* o : world.enemies) (enemies_test::ClassOf(o) == "E_Gradius_Zako_W" ? pad : hatch) = o;
    ASSERT_NE(pad, nullptr);
    ASSERT_NE(hatch, nullptr);
    EXPECT_EQ(pad->x, 3 * 16 + 8.0f);
    EXPECT_EQ(pad->y, 5 - 8 + 2.0f);
    EXPECT_EQ(pad->angle, 1);
    EXPECT_EQ(pad->owner, s);
    EXPECT_EQ(hatch->x, 20 * 16 + 8.0f);
}

TEST_F(Background, TheHighStagesPlaceCloneAlongTheTopAndBigBlocksOffTheCell) {
    Script* s = MakeStage(7);
    s->scrollY = 16 * 10;
    for (int c = 0; c < 20; ++c) s->map[10][c] = 0;
    s->map[10][4] = 3;    // a clone, level 1, no owner
    s->map[10][9] = 50;   // a big block, level 1
    s->DrawMapRow(&world);
    ASSERT_EQ(world.enemies.size(), 2u);
    for (Object* o : world.enemies) {
        if (enemies_test::ClassOf(o) == "E_AliceClone_G") {
            EXPECT_EQ(o->x, 8 + 10 * 4.0f);
            EXPECT_EQ(o->y, 0.0f);
            EXPECT_EQ(o->owner, nullptr);
            EXPECT_EQ(o->angle, 1);
        } else {
            EXPECT_EQ(o->x, 9 * 16 + 8 + 8.0f);
            EXPECT_EQ(o->y, 0 - 8 + 1 - 8.0f);
            EXPECT_EQ(o->angle, 1);
        }
    }
}

// Stages 7 and 9 with the maps of the built data set: every painted row places the ground
// enemies its cell values call for, where and at what level (the values' meaning typed here
// apart from the game's table), and each stage's map places all four of them.
TEST_F(Background, TheMapsOfStagesSevenAndNinePlaceTheirGroundEnemiesWhereTheirValuesSay) {
    struct Placed {
        std::string name;
        float x, y;
        int32_t level;
        bool owned;
        auto Key() const { return std::tie(name, x, y, level, owned); }
        bool operator<(const Placed& o) const { return Key() < o.Key(); }
        bool operator==(const Placed& o) const { return Key() == o.Key(); }
    };
    // A painted row's enemies stand at the row's place, y = scroll mod 16 - 8 + the scroll speed.
    const auto expected = [](int32_t v, int32_t c, float rowY, std::set<Placed>* out) {
        const float x = c * 16 + 8.0f;
        if (v >= 2 && v <= 13) out->insert({"E_AliceClone_G", 8 + 10.0f * c, 0.0f, v % 2, false});
        if (v == 16 || v == 17) out->insert({"E_SF_Panel_G", x, rowY, v % 2, true});
        if (v >= 18 && v <= 23) out->insert({"E_SF_SmallBlock_G", x, rowY, v - 18, true});
        if (v == 48 || v == 50 || v == 52 || v == 54) out->insert({"E_SF_BigBlock_G", x + 8, rowY - 8, (v - 48) / 2, true});
    };
    for (int32_t stage : {7, 9}) {
        SCOPED_TRACE(stage);
        Script* s = MakeStage(stage);
        ASSERT_NE(s, nullptr);
        std::map<std::string, int> made;
        for (int32_t r = 0; r < s->mapHeight; ++r) {
            s->scrollY = r * 16 + 3;
            std::set<Placed> want, got;
            for (int32_t c = 0; c < s->mapWidth; ++c) expected(s->map[r][c], c, 3 - 8 + 1.0f, &want);
            s->DrawMapRow(&world);
            for (Object* o : world.enemies) {
                got.insert({enemies_test::ClassOf(o), o->x, o->y, o->angle, o->owner == s});
                made[enemies_test::ClassOf(o)] += 1;
                o->Vanish();
            }
            world.SweepObjects();
            ASSERT_EQ(got.size(), want.size()) << "row " << r;
            EXPECT_TRUE(got == want) << "row " << r;
        }
        for (const char* name : {"E_AliceClone_G", "E_SF_Panel_G", "E_SF_SmallBlock_G", "E_SF_BigBlock_G"}) {
            EXPECT_GT(made[name], 0) << name;
        }
    }
}

TEST_F(Background, TheScrollMarksANewRowAndStopsAtTheMapsEnd) {
    Script* s = MakeStage(2);
    s->scrollY = 15;
    s->UpdateScroll(1);
    EXPECT_EQ(s->rowDirty, 1);
    s->rowDirty = 0;
    s->scrollY = 128 * 16 - 3;
    s->UpdateScroll(16);
    EXPECT_EQ(s->scrollY, 128 * 16 - 1);
}

// The ring's render targets on the software device: every sixteenth row the ring is cleared but
// for the half that still shows, so the next sixteen rows are painted on black.
class RingCopy : public stage_test::StageWorld {
protected:
    void SetUp() override {
        Zeth::SetScreenInfo(640, 480, true);
        platform::gfx::SetPresentSink(&sink_);
        ASSERT_TRUE(Zeth3D::Initialize());
        ASSERT_TRUE(Zeth3D::Start(nullptr, true));
        ASSERT_TRUE(Zeth::CreateManagers());
        gameSprites.screenTarget = ZethTexture::CreateRenderTarget(256, 256, 9);
        gameSprites.layerTarget1 = ZethTexture::CreateRenderTarget(512, 512, 9);
        gameSprites.layerTarget2 = ZethTexture::CreateRenderTarget(512, 512, 9);
    }
    void TearDown() override {
        for (CTexture* t : {gameSprites.screenTarget, gameSprites.layerTarget1, gameSprites.layerTarget2}) {
            ZethTexture::Release(t);
        }
        Zeth::ReleaseManagers();
        Zeth3D::Finalize();
        platform::gfx::SetPresentSink(nullptr);
    }

    void FillRing(uint32_t colour) {
        Zeth3D::BeginScene();
        Zeth3D::SetRenderTarget(gameSprites.layerTarget1);
        Zeth3D::Clear(1, colour, 1.0f, 0);
        Zeth3D::SetRenderTarget(gameSprites.screenTarget);
        Zeth3D::EndScene();
    }

    uint32_t RingPixel(int x, int y) {
        CTexture* ring = gameSprites.layerTarget1;
        uint32_t pitch = 0;
        void* bits = nullptr;
        if (!ring->DownloadRenderTarget() || !ring->Lock(nullptr, &pitch, &bits, nullptr, nullptr, nullptr)) return 1;
        const uint32_t p = static_cast<const uint32_t*>(bits)[y * (pitch / 4) + x];
        ring->Unlock();
        return p & 0xFFFFFFu;
    }

    platform::gfx::MemorySink sink_;
};

TEST_F(RingCopy, EverySixteenRowsOnlyTheShownHalfIsKept) {
    constexpr uint32_t kPainted = 0x4080C0u;
    struct Case {
        int32_t row;
        uint32_t top, bottom;  // the ring's halves afterwards
    } cases[] = {
        {16, 0, kPainted},  // rows 0-15 show from the lower half; 16-31 go above
        {32, kPainted, 0},  // rows 16-31 show from the upper half
        {48, 0, kPainted},
        {17, kPainted, kPainted},  // between copies the ring is only painted over
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        Script* s = MakeStage(1);
        for (int32_t col = 0; col < 24; ++col) s->map[c.row][col] = 0;
        s->scrollY = c.row * 16;
        FillRing(0xFF000000u | kPainted);
        s->DrawMapRow(&world);
        EXPECT_EQ(RingPixel(100, 10), c.top);
        EXPECT_EQ(RingPixel(400, 250), c.top);
        EXPECT_EQ(RingPixel(100, 260), c.bottom);
        EXPECT_EQ(RingPixel(400, 500), c.bottom);
    }
}

}  // namespace
