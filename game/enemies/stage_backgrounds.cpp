// Stage scenery made of effects (type ids 287, 289, 316, 317, 321-323, 330): the stage 5 wave
// of 24 background bands, the stage 6 falling-block game whose blocks are enemies, its erase
// lines and blast warnings, the star field, the bell cloud and the streaks of bonus items.
#include <algorithm>

#include "framework/core/angle.h"
#include "framework/core/collision.h"
#include "framework/core/random.h"
#include "game/enemies/effect.h"
#include "game/enemies/family_support.h"
#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/sound_ids.h"
#include "game/world/type_table.h"

namespace {

// ---- Stage 5: 24 bands waving by the controller's mode ----

class EF_S5BGController final : public RowEffect<type_id::EF_S5BGController> {
public:
    static constexpr int kBands = 24;
    EF_S5BGController(float, float, float, float, float, float) : RowEffect(128, 128, 0, 0, 0, 0) {}
    void Run(ObjectController* ctx) override {
        if (age == 0) {
            for (int k = 0; k < kBands; ++k) {
                bands[k] = ctx->CreateObject(type_id::EF_S5BG, 128.0f, 16.0f + 32.0f * k, 0.0f, 0.0f, 0.0f, 0.0f, this);
                if (bands[k] != nullptr) bands[k]->angle = k % 2;
            }
        }
        const int32_t q = age / 4 * 4;
        for (int i = 0; i < kBands; ++i) {
            if (bands[i] != nullptr) Place(bands[i], q, i);
        }
        age += 1;
    }
    void ForgetObject(Object* gone) override {
        if (gone == nullptr) return;
        std::replace(std::begin(bands), std::end(bands), gone, static_cast<Object*>(nullptr));
        if (gone == owner) {
            owner = nullptr;
            Kill();
        }
    }
    void Detach() override {
        for (Object* band : bands) {
            if (band == nullptr) continue;
            band->ForgetObject(this);
            band->Kill();
        }
        Object::Detach();
    }
    Object* bands[kBands] = {};

private:
    void Place(Object* band, int32_t q, int32_t i) const {
        const float sinA = AngleSin(DegreesToAngle(3 * q + 12 * i));
        const float sinB = AngleSin(DegreesToAngle(3 * q + 6 * i));
        const float sinE = AngleSin(DegreesToAngle(6 * q + 12 * i));
        const float r = static_cast<float>(8 + 16 * i), s = static_cast<float>(12 * i);
        float bx = 128.0f, by = 128.0f;
        switch (angle) {
            case 0: by = r; break;
            case 1: bx += 8.0f * sinA; by = r; break;
            case 2: bx += 8.0f * sinA; by = 8.0f * sinB + s; break;
            case 3: bx += 24.0f * sinA; by = 32.0f * sinE + s - 20.0f; break;
            default: break;
        }
        band->x = bx;
        band->y = by;
    }
};

// A band: one picture drawn twice, the right half turned about both axes.
class EF_S5BG final : public RowEffect<type_id::EF_S5BG> {
public:
    using RowEffect::RowEffect;
    void Move(ObjectController*) override {}
    void Run(ObjectController*) override { age += 1; }
    void Draw(ObjectController*) override {
        const SheetCell& bands = cell::stage5_bands;
        const int32_t row = angle == 0 ? 0 : 16;
        CSprite2D* batch = gameSprites.groundenemy;
        DrawCellAt(batch, x - 128.0f, y - 16.0f, 128.0f, 32.0f, bands.U(), bands.V(row), 128.0f, 32.0f);
        DrawCellAt(batch, x, y - 16.0f, 128.0f, 32.0f, bands.U(128), bands.V(row + 32), -128.0f, -32.0f);
    }
};

// ---- Stage 6: the falling-block game ----

class EF_S6_BlockController final : public RowEffect<type_id::EF_S6_BlockController> {
public:
    static constexpr int kColumns = 16;
    static constexpr int kRows = 12;
    using RowEffect::RowEffect;
    void Run(ObjectController* ctx) override {
        if (age % 4 == 0 && angle == 0) Drop(ctx);
        Settle();
        const int32_t full = *std::min_element(std::begin(settled), std::end(settled));
        if (full >= 1) {
            ctx->PlaySE(sound::kBlast7);
            for (int r = 0; r < full; ++r) {
                for (int c = 0; c < kColumns; ++c) {
                    if (Object* block = blocks[c * kRows + r]) block->Kill();
                }
                ctx->CreateObject(type_id::EF_Bombris_EraseLine, 128.0f, RowLine(r), 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
            }
        }
        age += 1;
    }
    // A block gone from a column lets the ones above it fall again.
    void ForgetObject(Object* gone) override {
        if (gone == nullptr) return;
        for (int c = 0; c < kColumns; ++c) {
            Object** column = &blocks[c * kRows];
            Object** hit = std::find(column, column + kRows, gone);
            if (hit == column + kRows) continue;
            columnHeight[c] -= 1;
            for (Object** slot = hit; slot < column + kRows - 1; ++slot) {
                *slot = slot[1];
                if (*slot != nullptr) (*slot)->ay = fallAccel;
            }
            column[kRows - 1] = nullptr;
        }
        if (gone == owner) {
            owner = nullptr;
            Kill();
        }
    }
    void Detach() override {
        for (Object* block : blocks) {
            if (block == nullptr) continue;
            block->ForgetObject(this);
            block->Kill();
        }
        Object::Detach();
    }

    Object* blocks[kColumns * kRows] = {};  // column-major, row 0 at the bottom
    int32_t columnHeight[kColumns] = {};
    int32_t settled[kColumns] = {};
    float fallAccel = 0.02f;
    int32_t dropCount = 0;

private:
    static float RowLine(int r) { return static_cast<float>(232 - 16 * r); }
    void Drop(ObjectController* ctx) {
        const int32_t d = dropCount;
        const int32_t c = (d / 8 * 3 + d * 7) % kColumns;
        const int32_t slot = c * kRows + columnHeight[c];
        if (columnHeight[c] < kRows && blocks[slot] == nullptr) {
            Object* block = ctx->CreateObject(type_id::E_Tetris_W, 16.0f * c + 8.0f, -8.0f, 0.0f, 0.0f, 0.0f, fallAccel, this);
            blocks[slot] = block;
            if (block != nullptr) {
                if (d % 10 == 0) block->SetScore(0);
                if (age >= 1800) block->angle = 1;
            }
            columnHeight[c] += 1;
        }
        dropCount += 1;
    }
    // Blocks stop on their row's line, or ride on the falling block below.
    void Settle() {
        std::fill(std::begin(settled), std::end(settled), 0);
        for (int c = 0; c < kColumns; ++c) {
            for (int r = 0; r < kRows; ++r) {
                Object* block = blocks[c * kRows + r];
                if (block == nullptr) continue;
                if (block->y > RowLine(r)) {
                    block->y = RowLine(r);
                    block->vy = 0.0f;
                    settled[c] += 1;
                } else if (r > 0) {
                    Object* below = blocks[c * kRows + r - 1];
                    if (below != nullptr && block->y + 16.0f > below->y) {
                        block->y = below->y - 16.0f;
                        block->vy = 0.0f;
                    }
                }
            }
        }
    }
};

// Two bars closing in from the sides, then one across the field.
class EF_Bombris_EraseLine final : public RowEffect<type_id::EF_Bombris_EraseLine> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController*) override { EndRun(); }
    void Draw(ObjectController*) override {
        const float h = static_cast<float>(height), top = y - h / 2.0f;
        if (age < 4) {
            DrawCellAt(gameSprites.effect1, 0.0f, top, 32.0f * age, h, cell::erase_line.Source());
            DrawCellAt(gameSprites.effect1, 256.0f, top, -32.0f * age, h, cell::erase_line.Source());
        } else {
            DrawCellAt(gameSprites.effect1, 0.0f, top, 256.0f, h, cell::erase_line.Source());
        }
    }
};

// A block about to blow: it blinks for half a second, then leaves the square blast.
class EF_Bombris_NearBlast final : public RowEffect<type_id::EF_Bombris_NearBlast> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController* ctx) override {
        if (age > 30) {
            Kill();
            ctx->CreateObject(type_id::B_Bombris_Blast, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
        }
        age += 1;
    }
    void Draw(ObjectController*) override {
        DrawCellCentred(gameSprites.enemy, x, y, cell::w_tetris.Shifted(32 * ((age / 4) % 2), 0));
    }
};

// ---- Ambient ----

// A star that drifts down, wraps to the top and twinkles, each with its own phase.
class EF_Star_SS final : public RowEffect<type_id::EF_Star_SS> {
public:
    EF_Star_SS(float, float, float, float, float, float) : RowEffect(0, 0, 0, 0, 0, 0) {
        x = 16.0f * static_cast<float>(ZethRandom::Range(0, 15)) + 8.0f;
        y = 16.0f * static_cast<float>(ZethRandom::Range(0, 13)) + 8.0f;
        vy = static_cast<float>(ZethRandom::Range(1, 3)) * 0.5f;
        twinkle = ZethRandom::Range(0, 240);
    }
    void Run(ObjectController*) override {
        if (y >= 240.0f) {
            y = 0.0f;
            x = 16.0f * static_cast<float>(ZethRandom::Range(0, 15)) + 8.0f;
        }
        twinkle = (twinkle + 1) % 240;
        colour = static_cast<int32_t>(twinkle % 60 < 30 ? 0xFF808080u : 0xFF404080u);
        age += 1;
    }
    void Draw(ObjectController*) override {
        // One texel from the middle of the small blast, in the star's colour.
        if (twinkle % 240 < 120) {
            const SheetCell& blast = cell::small_blast;
            DrawCellAt(gameSprites.effect3, x, y, 1.0f, 1.0f, blast.U(8), blast.V(8), 1.0f, 1.0f, static_cast<uint32_t>(colour));
        }
    }
    int32_t twinkle;
    int32_t colour = -1;
};

// A cloud that drops a bell when a shot touches it, more slowly once it has dropped eight.
class EF_TwinBee_Cloud final : public RowEffect<type_id::EF_TwinBee_Cloud> {
public:
    EF_TwinBee_Cloud(float a, float b, float c, float d, float e, float f) : RowEffect(a, b, c, d, e, f) {
        hitHalfWidth = 16;
        hitHalfHeight = 8;
    }
    void Run(ObjectController* ctx) override {
        if (invincible == 0 && Touched(ctx)) {
            const float sway = 2.0f * AngleSin(DegreesToAngle(10 * age));
            ctx->CreateObject(type_id::E_TwinBee_Bell_Y, x, y, sway, 0.0f, 0.0f, 0.0f, nullptr);
            invincible = (bellCount / 8 + 2) * 10 - (ctx->counts.enemyCount < 4 ? 8 : 0);
            bellCount += 1;
        }
        if (y > 256.0f) Kill();
        if (invincible > 0) invincible -= 1;
        age += 1;
    }
    void Draw(ObjectController*) override {
        const CellSource cloud = cell::bell_cloud.Frame((age / 8) % 2).Source();
        DrawCellAt(gameSprites.enemy, x - 16.0f, y - 8.0f, 32.0f, 16.0f, cloud);
    }
    int32_t bellCount = 0;

private:
    bool Touched(ObjectController* ctx) const {
        const Object* shot = ctx->FindNearestShot(x, y);
        if (shot == nullptr) return false;
        const float hw = static_cast<float>(shot->hitHalfWidth), hh = static_cast<float>(shot->hitHalfHeight);
        const float a[4] = {shot->x - hw, shot->y - hh, shot->x + hw, shot->y + hh};
        const float b[4] = {x - 16.0f, y - 8.0f, x + 16.0f, y + 8.0f};
        return RectOverlap(a, b);
    }
};

// A streak out of a bonus item, drawn by the eighth of a turn it flies in.
class EF_Wind final : public RowEffect<type_id::EF_Wind> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController*) override {
        if (age == 0) angle = static_cast<int32_t>(((AngleAtan2(vx, vy) + 4096) / 8192) % 8);
        EndRun();
    }
    void Draw(ObjectController*) override {
        // By octant: the streaks' cell, the column of its first frame (before the frame step) and
        // how it is mirrored.
        struct Octant {
            const SheetCell* streaks;
            int8_t column;
            bool mirrorX, mirrorY;
        };
        static constexpr Octant kOctants[8] = {
            {&cell::item_streaks_side, 0, false, false}, {&cell::item_streaks_up, 32, false, true},
            {&cell::item_streaks_up, 0, false, true},    {&cell::item_streaks_up, 32, true, true},
            {&cell::item_streaks_side, 0, true, false},  {&cell::item_streaks_up, 32, true, false},
            {&cell::item_streaks_up, 0, false, false},   {&cell::item_streaks_up, 32, false, false},
        };
        const Octant& o = kOctants[(angle % 8 + 8) % 8];
        const int32_t f = ((age - 1) / 2) % 4;
        DrawCellAt(gameSprites.effect2, x - 4.0f, y - 4.0f, 8.0f, 8.0f,
                   o.streaks->Shifted(o.column + 8 * f, 0).Source(o.mirrorX, o.mirrorY));
    }
};

const ClassRegistration kStageBackgroundClasses{
    {type_id::EF_Star_SS, MakeObject<EF_Star_SS>},         {type_id::EF_Wind, MakeObject<EF_Wind>},
    {type_id::EF_S5BGController, MakeObject<EF_S5BGController>},  {type_id::EF_S5BG, MakeObject<EF_S5BG>},
    {type_id::EF_S6_BlockController, MakeObject<EF_S6_BlockController>}, {type_id::EF_Bombris_EraseLine, MakeObject<EF_Bombris_EraseLine>},
    {type_id::EF_Bombris_NearBlast, MakeObject<EF_Bombris_NearBlast>},  {type_id::EF_TwinBee_Cloud, MakeObject<EF_TwinBee_Cloud>},
};

}  // namespace
