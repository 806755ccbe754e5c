// Ground enemies (type ids 81-96): targets, fortresses, hatches, batteries and walls painted
// into the scrolling ground. Each takes its place every frame from the scroll its owner (the
// stage script) reports and goes when its owner goes. The clone of id 93 flies freely instead.
#include <algorithm>
#include <cmath>

#include "framework/core/angle.h"
#include "framework/graphics/sprite.h"
#include "game/enemies/enemy.h"
#include "game/enemies/family_enemy.h"
#include "game/enemies/family_support.h"
#include "game/world/class_rows.h"
#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/message_codes.h"
#include "game/world/object_controller.h"
#include "game/world/sound_ids.h"
#include "game/world/type_table.h"

namespace {

constexpr int32_t kBusyField = 48;

// One cell of "groundenemy.bmp", centred, without a flash.
void DrawGround(float x, float y, const CellSource& s) {
    DrawCellAt(gameSprites.groundenemy, x - std::fabs(s.width) / 2.0f, y - std::fabs(s.height) / 2.0f,
               std::fabs(s.width), std::fabs(s.height), s);
}

class E_Ground : public Enemy {
public:
    // No movement of its own: it leaves with the ground.
    void Move(ObjectController* ctx) override {
        if (y < -32.0f || y > 272.0f) {
            Vanish();
            Escaped(ctx);
        }
    }
    void Run(ObjectController* ctx) override {
        TickHitFlash();
        if (!Pin()) return;
        Act(ctx);
        age += 1;
    }

    float groundX = 0.0f;
    float groundOffsetY = 0.0f;

protected:
    E_Ground(int32_t id, float px, float py, float a, float b, float c, float d, float outwards = 0.0f)
        : outwards_(outwards) {
        Setup(id, px, py, a, b, c, d);
    }
    virtual void Act(ObjectController*) {}
    virtual void Escaped(ObjectController*) {}
    // Takes its place from the owner's scroll; without a live owner it goes, at age 0 too.
    bool Pin() {
        if (owner == nullptr || !owner->IsAlive()) {
            Vanish();
            return false;
        }
        if (age == 0) {
            groundOffsetY = owner->GetY() - y;
            groundX = x + (x < 128.0f ? -outwards_ : outwards_);
        }
        y = owner->GetY() - groundOffsetY;
        x = groundX - owner->GetX();
        return true;
    }

private:
    float outwards_;  // how far it sits out from the centre line of where it was placed
};

// A ground cell by a fixed column and row, the column stepping by level.
template <int32_t Id>
class GroundTarget : public E_Ground {
public:
    GroundTarget(float x, float y, float a, float b, float c, float d) : E_Ground(Id, x, y, a, b, c, d) {}
};

class E_Star_G final : public GroundTarget<type_id::E_Star_G> {
public:
    using GroundTarget::GroundTarget;
    void Draw(ObjectController*) override { DrawGround(x, y, cell::g_star.Source()); }
};

// A target whose escape off the bottom is a failure and whose destruction a subversion; a core
// with four rays 48 out.
template <int32_t Id>
class ReportingTarget : public GroundTarget<Id> {
public:
    using GroundTarget<Id>::GroundTarget;
    void OnKilled(ObjectController* ctx) override { ExplodeWithSubvert(*this, ctx); }

protected:
    void Escaped(ObjectController* ctx) override { TellScene(ctx, Msg(3, stage_message::kChainBroken, ctx)); }
};

template <int32_t Id, int Core>
class RayedTarget : public ReportingTarget<Id> {
public:
    using ReportingTarget<Id>::ReportingTarget;
    void Draw(ObjectController*) override {
        const float cx = this->x, cy = this->y;
        DrawGround(cx, cy, cell::g_zegu_cores.Frame(Core).Source());
        // Upright above and below, a quarter turn left and right.
        const SheetCell ray = cell::g_rays.Frame((this->age / 4) % 4);
        const CellSource s = ray.Source();
        DrawGround(cx, cy - 48.0f, s);
        DrawGround(cx, cy + 48.0f, ray.Source(false, true));
        const float src[4] = {s.u, s.v, s.width, s.height};
        CSprite2D* batch = gameSprites.groundenemy;
        if (batch == nullptr) return;
        for (float side : {-48.0f, 48.0f}) {
            const float dst[4] = {cx + side - 8.0f, cy - 16.0f, 16.0f, 32.0f};
            batch->DrawRotate(dst, kSpriteDepth, src, kOpaqueWhite, side < 0.0f ? -16384 : 16384, 1, 0.0f, 0.0f);
        }
    }
};

class E_ZeguOr_G final : public RayedTarget<type_id::E_ZeguOr_G, 0> {
public:
    using RayedTarget::RayedTarget;
};

class E_ZeguBr_G final : public RayedTarget<type_id::E_ZeguBr_G, 1> {
public:
    using RayedTarget::RayedTarget;
};

class E_SF_Panel_G final : public ReportingTarget<type_id::E_SF_Panel_G> {
public:
    using ReportingTarget::ReportingTarget;
    void Draw(ObjectController*) override { DrawGround(x, y, cell::g_panel.Shifted(16 * angle, 0).Source()); }
};

class E_S2GE_G final : public GroundTarget<type_id::E_S2GE_G> {
public:
    using GroundTarget::GroundTarget;
    void Draw(ObjectController*) override { DrawGround(x, y, cell::g_s2ge.Shifted(16 * angle, 0).Source()); }
};

// Four frames a level, the odd levels in the right half, two levels a row.
class E_S28Coin_G final : public GroundTarget<type_id::E_S28Coin_G> {
public:
    using GroundTarget::GroundTarget;
    void Draw(ObjectController*) override {
        const int32_t column = (age / 4) % 4 + 4 * (angle % 2);
        DrawGround(x, y, cell::g_s28coin.Shifted(16 * column, 16 * (angle / 2)).Source());
    }
};

// The blocks' shadows go through the effect batch drawn under the ground enemies (the fourth),
// so that each block stands on its shadow and no bullet passes beneath it.
class E_SF_SmallBlock_G final : public GroundTarget<type_id::E_SF_SmallBlock_G> {
public:
    using GroundTarget::GroundTarget;
    void Draw(ObjectController*) override {
        DrawCellAt(gameSprites.effect4, x - 8.0f, y - 8.0f, 24.0f, 24.0f, cell::block_backing_small.Source());
        DrawGround(x, y, cell::g_small_blocks.Shifted(16 * angle, 0).Source());
    }
};

class E_SF_BigBlock_G final : public GroundTarget<type_id::E_SF_BigBlock_G> {
public:
    using GroundTarget::GroundTarget;
    // A large blast and the score, without the enemy-destroyed message.
    void Explode(ObjectController* ctx) override {
        ctx->CreateObject(type_id::EF_Blast_02, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
        AddSceneScore(ctx, score);
    }
    void Draw(ObjectController*) override {
        DrawCellAt(gameSprites.effect4, x - 16.0f, y - 16.0f, 40.0f, 40.0f, cell::block_backing_large.Source());
        DrawGround(x, y, cell::g_big_blocks.Shifted(32 * angle, 0).Source());
    }
};

// Absorbs shots for points: its life comes back every frame.
class E_InvisibleWall_G final : public GroundTarget<type_id::E_InvisibleWall_G> {
public:
    using GroundTarget::GroundTarget;

private:
    void Act(ObjectController*) override { hp = maxHp; }
};

// ---- Zanac fortresses ----

struct FortressRow {
    int16_t id;
    int16_t base;       // B of the firing interval
    int16_t floorBelow; // an interval below this...
    int16_t floorValue; // ...becomes this
    bool opens;         // 1-3 open and shut; 4 stays open
    SheetCell cells;    // its four cells, by hatch (1-3) or by level (4)
};

constexpr FortressRow kFortresses[] = {
    // id                         B    below value opens cells
    {type_id::E_ZanacFortress1_G, 150, 15, 15, true,  cell::g_fortresses},
    {type_id::E_ZanacFortress2_G, 150, 30, 30, true,  cell::g_fortresses.Shifted(0, 16)},
    {type_id::E_ZanacFortress3_G, 150, 10, 10, true,  cell::g_fortresses.Shifted(0, 32)},
    {type_id::E_ZanacFortress4_G, 120, 20, 30, false, cell::g_fortress4},
};
static_assert(RowsRunFrom(kFortresses, type_id::E_ZanacFortress1_G));

template <int32_t Id>
class Fortress : public E_Ground {
public:
    Fortress(float x, float y, float a, float b, float c, float d) : E_Ground(Id, x, y, a, b, c, d) {
        if (Row().opens) hatch = 3;
    }
    // A fortress destroyed is news for the stage script.
    void OnKilled(ObjectController* ctx) override {
        Explode(ctx);
        if (owner != nullptr) owner->OnMessage(Msg(3, stage_message::kBossPartDestroyed, ctx));
    }
    void Draw(ObjectController*) override {
        const int32_t column = Row().opens ? hatch : angle;
        DrawGround(x, y, Row().cells.Shifted(16 * column, 0).Source());
    }
    int32_t hatch = 0;  // 0 open, 1 and 2 half open, 3 shut

protected:
    static const FortressRow& Row() { return kFortresses[Id - type_id::E_ZanacFortress1_G]; }
    virtual void Fire(ObjectController* ctx) = 0;

private:
    // Opens over ages 105-115 of every 240 and shuts over 225-235; invincible unless open.
    void Act(ObjectController* ctx) override {
        if (Row().opens) {
            switch (age % 240) {
                case 105: hatch = 2; break;
                case 110: hatch = 1; break;
                case 115: hatch = 0; break;
                case 225: hatch = 1; break;
                case 230: hatch = 2; break;
                case 235: hatch = 3; break;
                default: break;
            }
            invincible = hatch != 0 ? 1 : 0;
        }
        if (age % Interval(ctx) == 0 && hatch == 0) Fire(ctx);
    }
    // Shorter at a high rank and with many lives left, never below the class's floor.
    int32_t Interval(ObjectController* ctx) const {
        const float lives = ctx->pcController != nullptr ? ctx->pcController->GetHp() : 0.0f;
        const float players = static_cast<float>(std::max(ctx->playerCount, 1));
        const int32_t interval = static_cast<int32_t>(static_cast<float>(Row().base - ctx->ArrestLevel) - lives * 30.0f / players);
        return interval < Row().floorBelow ? Row().floorValue : interval;
    }
};

class E_ZanacFortress1_G final : public Fortress<type_id::E_ZanacFortress1_G> {
public:
    using Fortress::Fortress;

private:
    // Four bullets in a square, aimed to the nearest eighth of a turn.
    void Fire(ObjectController* ctx) override {
        int32_t aim = 16384;
        AimAtParty(ctx, x, y, aim);
        const int32_t a = (aim + 4096) / 8192 * 8192;
        for (int32_t i = 0; i < 4; ++i) {
            ctx->CreateObject(type_id::B_Normal_W, x - 4.0f + 8.0f * static_cast<float>(i % 2),
                              y - 4.0f + 8.0f * static_cast<float>(i / 2), AngleCos(a), AngleSin(a), 0.0f, 0.0f, nullptr);
        }
    }
};

class E_ZanacFortress2_G final : public Fortress<type_id::E_ZanacFortress2_G> {
public:
    using Fortress::Fortress;

private:
    void Fire(ObjectController* ctx) override {
        ctx->FirePattern(type_id::E_ZanacBall_Y, x, y, 0.2f, 0.0f, 1, true, 0, 0, nullptr);
    }
};

class E_ZanacFortress3_G final : public Fortress<type_id::E_ZanacFortress3_G> {
public:
    using Fortress::Fortress;

private:
    void Fire(ObjectController* ctx) override {
        ctx->FirePattern(type_id::E_SmallMissile_W, x, y, 3.0f, 0.0f, 3, false, 45, 90, nullptr);
    }
};

class E_ZanacFortress4_G final : public Fortress<type_id::E_ZanacFortress4_G> {
public:
    using Fortress::Fortress;

private:
    void Fire(ObjectController* ctx) override {
        if (age >= 61) ctx->FireAimed(type_id::E_DestroyableBullet_W, x, y, true, false, false, 16384);
    }
};

// ---- The Gradius pair: destroyed, they show what they paid ----

struct GradiusGroundRow {
    int32_t id;
    float outwards;  // how far it sits out from the centre line of where it was placed
};

constexpr GradiusGroundRow kGradiusGround[] = {
    {type_id::E_Gradius_Hatch_G, 3.0f},
    {type_id::E_Gradius_Battery_G, 11.0f},
};

template <int32_t Id>
class GradiusGround : public E_Ground {
public:
    GradiusGround(float x, float y, float a, float b, float c, float d)
        : E_Ground(Id, x, y, a, b, c, d, ClassRowOrFirst(kGradiusGround, Id).outwards) {}
    void OnKilled(ObjectController* ctx) override {
        Object* label = ctx->CreateObject(type_id::EF_ScorePop, x, y, 0.0f, -0.25f, 0.0f, 0.0f, nullptr);
        if (label != nullptr) label->SetScore(score);
        Explode(ctx);
    }
};

// Releases nine zako towards the centre, then is worth 100000.
class E_Gradius_Hatch_G final : public GradiusGround<type_id::E_Gradius_Hatch_G> {
public:
    using GradiusGround::GradiusGround;
    void Draw(ObjectController*) override {
        DrawGround(x, y, cell::g_hatch.Frame(age <= 100 ? 0 : 1).Source(x >= 128.0f));
    }

private:
    void Act(ObjectController* ctx) override {
        if (age >= 11 && age <= 100 && age % 10 == 0) {
            ctx->CreateObject(type_id::E_Gradius_HatchZako_W, x, y, x <= 128.0f ? 2.0f : -2.0f, 1.0f, 0.0f, 0.0f, nullptr);
        }
        if (age == 101) score = 100000;
    }
};

// Fires from the field's edge; worth 400 more every frame it lives.
class E_Gradius_Battery_G final : public GradiusGround<type_id::E_Gradius_Battery_G> {
public:
    using GradiusGround::GradiusGround;
    void Draw(ObjectController*) override {
        DrawGround(x, y, cell::g_battery.Source(x >= 128.0f));
    }

private:
    void Act(ObjectController* ctx) override {
        const int32_t interval = std::max((30 - ctx->ArrestLevel) * 2, 4);
        if (age % interval == 0) ctx->FireAimed(type_id::B_Normal_W, x, y, false, true, false, 16384);
        score += 400;
    }
};

// ---- The clone: flies in spinning, reflects, fires, and fades ----

class E_AliceClone_G final : public EnemyOf<type_id::E_AliceClone_G> {
public:
    using EnemyOf::EnemyOf;
    void Run(ObjectController* ctx) override {
        TickHitFlash();
        if (invincible > 0) invincible -= 1;
        if (age == 0) {
            variant = angle;
            angle = 16384;
        }
        if (age == 16) vy = 0.0f;
        if (age == 30) SetOff(ctx);
        if (age >= 31 && age <= 599) {
            Reflect();
            angle += 1092;
        } else if (age >= 600) {
            angle += 5461;
        }
        if (age >= 31 && ctx->counts.enemyCount < kBusyField) Fire(ctx);
        angle = ((angle % 65536) + 65536) % 65536;
        if (hp > 0.0f) hp -= 0.05f;
        destroySound = age % 2 == 0 ? sound::kEek1 : sound::kEek2;
        age += 1;
    }
    void OnKilled(ObjectController* ctx) override {
        TellScene(ctx, Msg(6, stage_message::kSubvertBonusOf, ctx, static_cast<int32_t>(x), static_cast<int32_t>(y), (shots + 1) * 200));
        if (variant == 2) ctx->CreateObject(type_id::I_PowerUp, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
        Explode(ctx);
    }
    void Draw(ObjectController*) override {
        CSprite2D* batch = gameSprites.EnemyBatch(SheetIndex());
        if (age < 32) {
            const float grown = static_cast<float>(age / 2 + 1);
            const SheetCell& spin = cell::clone_spins;
            DrawCellAt(batch, x - static_cast<float>(width / 2), y - static_cast<float>((age / 2) / 2), 16.0f, grown,
                       spin.U(), spin.V(), spin.W(), grown);
            DrawCellAt(gameSprites.effect1, x - static_cast<float>(width / 2), y - static_cast<float>(height / 2) + 8.0f,
                       16.0f, 16.0f, cell::clone_swirl.Frame((age / 3) % 3).Source());
            return;
        }
        const SpinCell& spin = CellOfSpin(angle);
        DrawFrom(cell::clone_spins.Frame(spin.frame), spin.mirrored);
    }

    int32_t variant = 0;
    int32_t shots = 0;

private:
    struct SpinCell {
        int32_t low, high;  // the range (low, high]
        int8_t frame;       // of the clone's eight spins
        bool mirrored;
    };
    // The spin ranges overlap a little; the first that holds wins.
    static const SpinCell& CellOfSpin(int32_t a) {
        static constexpr SpinCell kCells[] = {
            {14017, 18750, 0, false}, {18568, 23301, 1, false}, {23119, 27852, 2, false}, {27670, 32403, 3, false},
            {32221, 36955, 4, false}, {36772, 41506, 5, false}, {41324, 46057, 6, false}, {45875, 50608, 7, false},
            {50426, 55159, 7, true},  {54977, 59710, 6, true},  {59528, 64261, 5, true},  {1274, 6007, 3, true},
            {5825, 10558, 2, true},   {10376, 15109, 1, true},
        };
        static constexpr SpinCell kOther = {0, 0, 4, true};
        for (const SpinCell& c : kCells) {
            if (a > c.low && a <= c.high) return c;
        }
        return kOther;
    }
    // Sets off 45 degrees off the aim, away from the side it is on.
    void SetOff(ObjectController* ctx) {
        int32_t a = 16384;
        AimAtParty(ctx, x, y, a);
        const bool rightOfParty = ctx->pcController != nullptr && x > ctx->pcController->GetX();
        a += rightOfParty ? -8192 : 8192;
        vx = 1.5f * AngleCos(a);
        vy = 1.5f * AngleSin(a);
    }
    void Reflect() {
        if (x < 8.0f || x > 248.0f) {
            x = std::clamp(x, 8.0f, 248.0f);
            vx = -vx;
        }
        if (y < 8.0f || y > 232.0f) {
            y = std::clamp(y, 8.0f, 232.0f);
            vy = -vy;
        }
    }
    void Fire(ObjectController* ctx) {
        if (variant == 0) {
            if (age % 8 == 0 && age % 128 < 96) {
                ctx->FirePattern(type_id::E_EspRadeBullet_W, x, y, 0.5f, 0.0f, 1, true, 0, 0, nullptr);
                shots += 1;
            }
            return;
        }
        if (age % 4 != 0 || age % 128 >= 64) return;
        const int32_t a = angle + 16384;
        const float dx = 0.5f * AngleCos(a), dy = 0.5f * AngleSin(a);
        for (float s : {1.0f, -1.0f}) {
            Object* o = ctx->CreateObject(type_id::E_EspRadeBullet_W, x + s * 6.0f * dx, y + s * 2.0f * dy, s * dx, s * dy, 0.0f, 0.0f,
                                          nullptr);
            if (o != nullptr) o->angle = 1;
        }
        shots += 2;
    }
};

const ClassRegistration kGroundClasses{
    {type_id::E_Star_G, MakeObject<E_Star_G>},           {type_id::E_ZeguOr_G, MakeObject<E_ZeguOr_G>},          {type_id::E_ZeguBr_G, MakeObject<E_ZeguBr_G>},
    {type_id::E_S2GE_G, MakeObject<E_S2GE_G>},           {type_id::E_S28Coin_G, MakeObject<E_S28Coin_G>},         {type_id::E_ZanacFortress1_G, MakeObject<E_ZanacFortress1_G>},
    {type_id::E_ZanacFortress2_G, MakeObject<E_ZanacFortress2_G>}, {type_id::E_ZanacFortress3_G, MakeObject<E_ZanacFortress3_G>},  {type_id::E_ZanacFortress4_G, MakeObject<E_ZanacFortress4_G>},
    {type_id::E_InvisibleWall_G, MakeObject<E_InvisibleWall_G>},  {type_id::E_Gradius_Hatch_G, MakeObject<E_Gradius_Hatch_G>},   {type_id::E_Gradius_Battery_G, MakeObject<E_Gradius_Battery_G>},
    {type_id::E_AliceClone_G, MakeObject<E_AliceClone_G>},     {type_id::E_SF_Panel_G, MakeObject<E_SF_Panel_G>},        {type_id::E_SF_SmallBlock_G, MakeObject<E_SF_SmallBlock_G>},
    {type_id::E_SF_BigBlock_G, MakeObject<E_SF_BigBlock_G>},
};

}  // namespace
