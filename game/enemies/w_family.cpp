// The W family (type ids 8-35): grey machines flying in formation, bullet-like enemies other
// enemies fire, the ghost-mode enemies drawn in their colour, and the stage-2 middle enemy.
// Each class is its difference from the family base: table values, picture, fire, own step.
#include <algorithm>
#include <cmath>

#include "framework/core/angle.h"
#include "game/enemies/family_enemy.h"
#include "game/enemies/family_support.h"
#include "game/world/class_rows.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/message_codes.h"
#include "game/world/object_controller.h"
#include "game/world/sound_ids.h"
#include "game/world/text.h"
#include "game/world/type_table.h"

namespace {

// Cells of "enemy.bmp" (the bullets of ids 19-22 and 34 draw from "bullet.bmp" by their own
// rules); shoots: the rank-scaled aimed shot every frame.
constexpr FamilyRow kWFamily[] = {
    // id                              cell                               shoots
    {type_id::E_Coin_W,                  cell::w_coin,                        true},
    {type_id::E_Box_W,                   cell::w_box,                         true},
    {type_id::E_IronBall_W,              cell::w_iron_ball,                   true},
    {type_id::E_Circle_W,                cell::w_circle,                      true},
    {type_id::E_DropCircle_W,            cell::w_drop_circle,                 true},
    {type_id::E_ZigzagX_W,               cell::w_zigzag,                      true},
    {type_id::E_EdgeMove4Circle_W,       cell::w_circle,                      true},
    {type_id::E_RefrectWall6_W,          cell::w_refrect_wall,                true},
    {type_id::E_SmallMissile_W,          cell::w_small_missile,               false},
    {type_id::E_BigMissile_W,            cell::w_big_missile,                 false},
    {type_id::E_WallBullet_W,            cell::w_wall_bullet,                 false},
    {type_id::E_DestroyableBullet_W,     cell::small_bullets,                 false},
    {type_id::E_DestroyableBullet2_W,    cell::small_bullets_2,               false},
    {type_id::E_DestroyableBullet3_W,    cell::small_bullets.Shifted(64, 0),  false},
    {type_id::E_DestroyableBullet4_W,    cell::homing_bullets,                false},
    {type_id::E_GhostZako1_W,            cell::w_ghost,                       false},
    {type_id::E_GhostZako2_W,            cell::w_ghost,                       false},
    {type_id::E_GhostZako3_W,            cell::w_ghost.Shifted(16, 0),        false},
    {type_id::E_GhostBoss_W,             cell::w_ghost_boss,                  true},
    {type_id::E_GhostZako4_W,            cell::w_ghost_shard,                 false},
    {type_id::E_GhostZako5_W,            cell::w_ghost,                       false},
    {type_id::E_Gradius_HatchZako_W,     cell::w_hatch_zako,                  true},
    {type_id::E_Gradius_Zako_W,          cell::w_gradius_zako,                true},
    {type_id::E_Beam_W,                  cell::w_beam,                        false},
    {type_id::E_Tetris_W,                cell::w_tetris,                      false},
    {type_id::E_SenkoroMissile_W,        cell::w_senkoro_missile,             false},
    {type_id::E_EspRadeBullet_W,         cell::esprade_bullets,               false},
    {type_id::E_S2MiddleBoss_W,          cell::w_s2_middle,                   false},
};
static_assert(RowsRise(kWFamily));

constexpr int32_t kGhostModes = 16;

// The family row of a W class, found when the class is compiled.
template <int32_t Id>
const FamilyRow& WRow() {
    constexpr const FamilyRow* row = FindClassRow(kWFamily, Id);
    static_assert(row != nullptr, "a W class needs its row in kWFamily");
    return *row;
}

// A W enemy of type id Id, on the family's base or on one of its own that takes the row first.
template <int32_t Id, class Base = FamilyEnemy>
class W : public Base {
public:
    W(float x, float y, float a, float b, float c, float d) : Base(WRow<Id>(), x, y, a, b, c, d) {}
};

// A burst of one bullet aimed at the party, as the ghost enemies fire.
void FireBurst(ObjectController* ctx, float x, float y) {
    ctx->FireAimed(type_id::B_Normal_W, x, y, true, false, false, 16384);
}

// Sets the velocity to speed along the direction towards (tx, ty).
void HeadFor(Object& o, float tx, float ty, float speed) {
    const int32_t a = static_cast<int32_t>(AngleAtan2(tx - o.x, ty - o.y));
    o.vx = speed * AngleCos(a);
    o.vy = speed * AngleSin(a);
}

// ---- Formation enemies ----

// Loops once (a turn less 16 units over 180 frames) the way its half of the field gives, then
// flies straight; its animation follows its vertical speed.
class E_Coin_W final : public W<type_id::E_Coin_W> {
public:
    using W::W;
    float anim = 0.0f;

private:
    void Act(ObjectController*) override {
        if (age < 180) angle += OnLeft() ? -364 : 364;
        anim += vy / 4.0f;
        if (anim < 0.0f) anim += 8.0f;
        else if (anim >= 8.0f) anim -= 8.0f;
    }
    CellOffset Frame() const override { return {16 * static_cast<int32_t>(anim), 0}; }
};

// Falls while swaying 128 units towards the middle and back, once a second.
class E_Box_W final : public W<type_id::E_Box_W> {
public:
    using W::W;

private:
    void Act(ObjectController*) override {
        const float sway = 64.0f * AngleCos(1092 * age);
        x = OnLeft() ? static_cast<float>(spawnX) + 64.0f - sway : static_cast<float>(spawnX) - 64.0f + sway;
    }
    CellOffset Frame() const override { return {(16 * age) % 128, 0}; }
};

// Edges in, waits, then rushes the party (the field centre in the ghost modes).
class E_IronBall_W final : public W<type_id::E_IronBall_W> {
public:
    using W::W;

private:
    void Act(ObjectController* ctx) override {
        if (age == 0) {
            vx = XOnLeft() ? 1.0f : -1.0f;
            vy = 0.0f;
        } else if (age == 16) {
            vx = vy = 0.0f;
        } else if (age == 60) {
            float tx = 128.0f, ty = 120.0f;
            if (ctx->gameMode >= kGhostModes || PartyPosition(ctx, tx, ty)) HeadFor(*this, tx, ty, 3.0f);
        }
    }
    CellOffset Frame() const override { return {(16 * age) % 64, 0}; }
};

// Seven and a half tight circles, then straight on.
class E_Circle_W final : public W<type_id::E_Circle_W> {
public:
    using W::W;

private:
    void Act(ObjectController*) override {
        if (age >= 12 && age <= 281) angle += OnLeft() ? -1820 : 1820;
    }
    CellOffset Frame() const override { return {16 * (age % 4), 0}; }
};

// Circles without end while drifting down for three seconds, then up.
class E_DropCircle_W final : public W<type_id::E_DropCircle_W> {
public:
    using W::W;

private:
    void Act(ObjectController*) override {
        angle += OnLeft() ? -1820 : 1820;
        y += age < 180 ? 1.0f : -1.0f;
    }
};

// Down, stop, across, stop, down, stop, back: a zigzag paced by its age.
class E_ZigzagX_W final : public W<type_id::E_ZigzagX_W> {
public:
    using W::W;

private:
    void Act(ObjectController*) override {
        if (age % 15 == 10) {
            vx = vy = 0.0f;
        } else if (age % 30 == 0) {
            vy = 4.0f;
        } else if (age % 60 == 15) {
            vx = OnLeft() ? 6.0f : -6.0f;
        } else if (age % 60 == 45) {
            vx = OnLeft() ? -6.0f : 6.0f;
        }
    }
};

// Falls to the bottom, slides along it towards the party to a side edge, climbs, and leaves
// along the top: four phases, each ended by an edge.
class E_EdgeMove4Circle_W final : public W<type_id::E_EdgeMove4Circle_W> {
public:
    using W::W;
    int32_t phase = 0;

private:
    void Stop(int32_t next) {
        vx = vy = ax = ay = 0.0f;
        phase = next;
    }
    void Act(ObjectController* ctx) override {
        if (age == 0) {
            vx = vy = 0.0f;
            ay = 0.1f;
        }
        if (phase == 0 && y >= 232.0f) {
            y = 232.0f;
            Stop(1);
            float px = x, py = 0.0f;
            PartyPosition(ctx, px, py);
            ax = px > x ? 0.1f : -0.1f;
        } else if (phase == 1 && (x <= 8.0f || x >= 248.0f)) {
            x = x <= 8.0f ? 8.0f : 248.0f;
            Stop(2);
            ay = -0.1f;
        } else if (phase == 2 && y <= 8.0f) {
            y = 8.0f;
            Stop(3);
            ax = x >= 128.0f ? -0.1f : 0.1f;
        }
    }
    CellOffset Frame() const override { return {16 * ((age / 2) % 4), 0}; }
};

// Bounces off the field's walls ten times, then flies off.
class E_RefrectWall6_W final : public W<type_id::E_RefrectWall6_W> {
public:
    using W::W;
    int32_t bounces = 0;

private:
    static constexpr int32_t kLimit = 10;
    void Act(ObjectController*) override {
        if (age == 0) {
            vy = 5.0f;
            vx = XOnLeft() ? 1.0f : -1.0f;
        }
        if (bounces < kLimit && ((y >= 232.0f && vy > 0.0f) || (y <= 8.0f && vy < 0.0f))) {
            vy = -vy;
            bounces += 1;
        }
        if (bounces < kLimit && ((x >= 248.0f && vx > 0.0f) || (x <= 8.0f && vx < 0.0f))) {
            vx = -vx;
            bounces += 1;
        }
    }
};

// ---- Bullet-like enemies ----

class E_SmallMissile_W final : public W<type_id::E_SmallMissile_W> {
public:
    using W::W;
};

// Turns 728 units a frame towards the party for its first 60 frames when homing.
class E_BigMissile_W final : public W<type_id::E_BigMissile_W> {
public:
    E_BigMissile_W(float x, float y, float a, float b, float c, float d)
        : W(x, y, a, b, c, d), homing(static_cast<int32_t>(c)) {}
    int32_t homing;

private:
    // Angles here wrap at 65535, one unit short of a turn, as the missile has always steered.
    static constexpr int32_t kWrap = 65535;
    void Act(ObjectController* ctx) override {
        if (homing == 0 || age >= 60) return;
        int32_t target = 0;
        if (!AimAtParty(ctx, x, y, target)) return;
        const int32_t d = (angle - target + kWrap) % kWrap;
        angle += d > 32767 ? 728 : -728;
        angle = ((angle % kWrap) + kWrap) % kWrap;
    }
    CellOffset Frame() const override { return {16 * (((angle + 4096) / 8192) % 8), 0}; }
};

// Sways 64 units about its starting x, once every two seconds, while moving on y.
class E_WallBullet_W final : public W<type_id::E_WallBullet_W> {
public:
    E_WallBullet_W(float x, float y, float a, float b, float c, float d) : W(x, y, a, b, c, d), baseX(x) {}
    float baseX;

private:
    void Act(ObjectController*) override {
        const float sway = 64.0f * AngleSin(546 * age);
        x = baseX >= 128.0f ? baseX + sway : baseX - sway;
    }
    CellOffset Frame() const override { return {16 * (age % 2), 0}; }
};

// A bullet the party can shoot down for points, drawn from "bullet.bmp" without a flash.
template <int32_t Id>
class ShootableBullet : public W<Id> {
public:
    using W<Id>::W;
    void Draw(ObjectController*) override {
        const FamilyRow& r = WRow<Id>();
        const CellOffset f = this->Frame();
        DrawCellCentred(gameSprites.bullet, this->x, this->y, this->cellWidth, this->cellHeight,
                        r.cell.U(f.x), r.cell.V(f.y));
    }
};

class E_DestroyableBullet_W final : public ShootableBullet<type_id::E_DestroyableBullet_W> {
public:
    using ShootableBullet::ShootableBullet;

private:
    CellOffset Frame() const override { return {16 * (age % 4), 16 * ((age / 4) % 2)}; }
};

class E_DestroyableBullet2_W final : public ShootableBullet<type_id::E_DestroyableBullet2_W> {
public:
    using ShootableBullet::ShootableBullet;

private:
    CellOffset Frame() const override { return {8 * (age % 8), 0}; }
};

class E_DestroyableBullet3_W final : public ShootableBullet<type_id::E_DestroyableBullet3_W> {
public:
    using ShootableBullet::ShootableBullet;

private:
    CellOffset Frame() const override { return {16 * (age % 4), 0}; }
};

class E_DestroyableBullet4_W final : public ShootableBullet<type_id::E_DestroyableBullet4_W> {
public:
    using ShootableBullet::ShootableBullet;

private:
    CellOffset Frame() const override { return {8 * (age % 4), 0}; }
};

// Its creator sets a variant 0-5 in the angle field: the pair picks the strip, the parity the row.
class E_EspRadeBullet_W final : public ShootableBullet<type_id::E_EspRadeBullet_W> {
public:
    using ShootableBullet::ShootableBullet;

private:
    CellOffset Frame() const override {
        const int32_t variant = std::max(angle, 0);
        const int32_t column = variant < 2 ? 8 * (age % 8) : (variant < 4 ? 64 : 96) + 8 * (age % 4);
        return {column, 8 * (variant % 2)};
    }
};

// An unbreakable beam segment: one 8 x 8 cell stretched over its 8 x 32.
class E_Beam_W final : public W<type_id::E_Beam_W> {
public:
    E_Beam_W(float x, float y, float a, float b, float c, float d) : W(x, y, a, b, c, d) { cellHeight = 8; }
};

// Dives down the middle when it crosses the centre column.
class E_Gradius_HatchZako_W final : public W<type_id::E_Gradius_HatchZako_W> {
public:
    using W::W;

private:
    void Act(ObjectController*) override {
        if (x > 126.0f && x < 130.0f) {
            vx = 0.0f;
            vy = 3.0f;
        }
    }
};

// Weaves sideways, firing twice a frame; with angle field 1 (set by its creator) it carries a
// power-up.
class E_Gradius_Zako_W final : public W<type_id::E_Gradius_Zako_W> {
public:
    using W::W;
    void OnKilled(ObjectController* ctx) override {
        if (angle == 1) ctx->CreateObject(type_id::I_PowerUp, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
        Explode(ctx);
    }

private:
    void Act(ObjectController* ctx) override {
        vx = (age + 30) % 120 < 60 ? 0.5f : -0.5f;
        Shoot(ctx);
    }
    CellOffset Frame() const override { return {16 * angle, 16 * ((age / 4) % 4)}; }
};

// A falling block: each hit stops it; destroyed, it scores by the height it reached.
class E_Tetris_W final : public W<type_id::E_Tetris_W> {
public:
    using W::W;
    void Damage(ObjectController* ctx, float amount) override {
        if (!(amount > 0.0f)) return;
        Enemy::Damage(ctx, amount);
        vy = 0.0f;
    }
    void OnKilled(ObjectController* ctx) override {
        if (score == 0) {
            ctx->CreateObject(type_id::EF_Bombris_NearBlast, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
            TellScene(ctx, Msg(5, stage_message::kEnemyKilled, ctx, static_cast<int32_t>(x), static_cast<int32_t>(y)));
            ctx->PlaySE(sound::kBlast8);
        }
        const int32_t height = static_cast<int32_t>(y - 248.0f);  // negative: above the bottom
        score = (1 - height / 16) * 20;
        Object* label = ctx->CreateObject(type_id::EF_ScorePop, x, y, 0.0f, -0.25f, 0.0f, 0.0f, nullptr);
        if (angle == 0) {
            score += y < 64.0f ? 1280 : -(height / 64) * 320;
        } else if (angle == 1) {
            score = y < 76.0f ? 10 : 80 - (height / 16) * 160;
        }
        if (label != nullptr) label->SetScore(score);
        Explode(ctx);
    }

private:
    void Act(ObjectController*) override {
        if (vy > 2.0f) vy = 2.0f;
        if (age == 0 && score == 0) hp = maxHp = 1.0f;
    }
    // The column follows the score field, wrapped onto the 256-wide sheet: the scores a falling
    // block carries (its table's 400, or 0 for the one in ten that blasts) give the cell itself.
    CellOffset Frame() const override { return {((16 * (score + 12)) % 256 + 256) % 256 - cell::w_tetris.x, 0}; }
};

// Flies two seconds, then bursts into a bomb that hurts enemies and players alike.
class E_SenkoroMissile_W final : public W<type_id::E_SenkoroMissile_W> {
public:
    using W::W;
    // No blast and no score: the bomb takes the missile's place and motion.
    void OnKilled(ObjectController* ctx) override {
        ctx->CreateObject(type_id::B_Senkoro_Bomb, x, y, vx, vy, 0.0f, 0.0f, nullptr);
    }

private:
    void Act(ObjectController*) override {
        if (age > 120) Kill();
    }
};

// ---- Ghost-mode enemies ----

// Slows to a quarter at age 10; drawn in its colour, the variant its creator sets.
class E_GhostZako1_W final : public W<type_id::E_GhostZako1_W> {
public:
    using W::W;
    void Draw(ObjectController* ctx) override { DrawTinted(ctx); }

private:
    void Act(ObjectController*) override {
        if (age == 10) {
            vx *= 0.25f;
            vy *= 0.25f;
        }
    }
    CellOffset Frame() const override { return {16 * angle, 0}; }
};

// A satellite of the formation carrier, which places it; it goes when its carrier goes and
// fires from level 8.
class E_GhostZako3_W final : public W<type_id::E_GhostZako3_W, TrimmedGhost> {
public:
    using W::W;
    void OnKilled(ObjectController* ctx) override {
        Explode(ctx);
        ctx->CreateObject(type_id::EF_Blast_01, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
    }

private:
    void Act(ObjectController* ctx) override {
        if (owner == nullptr) Kill();
        if (age == 0) TakeTrimColour();
        const int32_t level = angle;
        const int32_t interval = std::max(60, (14 - level / 4) * 10);
        if (level >= 8 && age % interval == interval - 1) FireBurst(ctx, x, y);
    }
};

// The formation carrier: 24 satellites on three rings; all of them shot clears the field (code
// 7), the carrier shot clears it too (code 6).
class E_GhostZako2_W final : public W<type_id::E_GhostZako2_W, TrimmedGhost> {
public:
    static constexpr int kSatellites = 24;
    using W::W;
    void ForgetObject(Object* gone) override {
        for (Object*& s : satellites) {
            if (s == gone) s = nullptr;
        }
        Object::ForgetObject(gone);
    }
    void Detach() override {
        for (Object* s : satellites) {
            if (s != nullptr) s->ForgetObject(self);
        }
        Object::Detach();
    }
    void OnKilled(ObjectController* ctx) override {
        Explode(ctx);
        if (hp <= 0.0f) TellScene(ctx, Msg(6, stage_message::kSubvertBonus, ctx, static_cast<int32_t>(x), static_cast<int32_t>(y)));
        ctx->KillEnemies();
    }

    Object* satellites[kSatellites] = {};

private:
    void Act(ObjectController* ctx) override {
        if (age == 0) Launch(ctx);
        if (PlaceSatellites() == 0) {
            ctx->KillEnemies();
            TellScene(ctx, Msg(6, stage_message::kMortalWoundBonus, ctx, static_cast<int32_t>(x), static_cast<int32_t>(y)));
        }
        if (age % 10 == 0 && age % 80 < 70) FireBurst(ctx, x, y);
        if (age == 10) vx = vy = 0.0f;
    }
    void Launch(ObjectController* ctx) {
        for (Object*& s : satellites) {
            s = ctx->CreateObject(type_id::E_GhostZako3_W, x, y, 0.0f, 0.0f, 0.0f, 0.0f, this);
            if (s == nullptr) continue;
            s->OnMessage(Msg(3, enemy_message::kColour, colour));
            s->angle = angle;  // the satellites' level
        }
        TakeTrimColour();
    }
    // Four on the inner ring, eight on the middle and twelve on the outer, opening out over eight
    // frames; returns how many are left.
    int32_t PlaceSatellites() {
        const int32_t r = std::min(2 * age, 16);
        int32_t left = 0;
        for (int i = 0; i < kSatellites; ++i) {
            Object* s = satellites[i];
            if (s == nullptr) continue;
            left += 1;
            int32_t distance, degrees;
            if (i < 4) {
                distance = r + 8;
                degrees = 4 * age + 90 * i;
            } else if (i < 12) {
                distance = 2 * r + 8;
                degrees = 3 * (60 + 15 * (i - 4) - age);
            } else {
                distance = 3 * r + 8;
                degrees = 2 * (age + 180 + 15 * (i - 12));
            }
            const int32_t a = DegreesToAngle(degrees);
            s->x = x + static_cast<float>(distance) * AngleCos(a);
            s->y = y + static_cast<float>(distance) * AngleSin(a);
        }
        return left;
    }
};

// A shard of the ghost boss: bounces about the field; shot, it ends the ghost stage's round.
class E_GhostZako4_W final : public W<type_id::E_GhostZako4_W> {
public:
    using W::W;
    void Draw(ObjectController* ctx) override { DrawTinted(ctx); }
    void OnKilled(ObjectController* ctx) override {
        Explode(ctx);
        TellScene(ctx, Msg(6, stage_message::kSubvertBonus, ctx, static_cast<int32_t>(x), static_cast<int32_t>(y)));
    }

private:
    void Act(ObjectController*) override { BounceInField(); }
};

// An invader of the formation: its creator hands it a level (times 4) in the inactive field;
// members fire out of step, from level 2.
class E_GhostZako5_W final : public W<type_id::E_GhostZako5_W, TrimmedGhost> {
public:
    using W::W;
    void OnKilled(ObjectController* ctx) override {
        Object* blast = ctx->CreateObject(type_id::EF_Blast_Invader, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
        if (blast != nullptr) blast->angle = GhostColourNumber(colour);
        Explode(ctx);
    }
    int32_t level = 0;

private:
    void Act(ObjectController* ctx) override {
        if (owner == nullptr) Kill();
        if (age == 0) {
            level = inactive / 4;
            inactive = 0;
            // Kept non-negative: an age below 0 would come back through 0 and start again.
            age = ((static_cast<int32_t>(13.0f * y + 7.0f * x) % 255) + 255) % 255;
            TakeTrimColour();
        }
        const int32_t interval = std::max(60, 140 - 8 * level);
        if (level >= 2 && age % interval == interval - 1) FireBurst(ctx, x, y);
    }
    CellOffset Frame() const override { return {16 * angle, 0}; }
};

// The ghost stage's boss: bounces about the field, sheds rings of shards as its life falls
// past each multiple of 32, and tells its owner the life it had left when it goes.
class E_GhostBoss_W final : public W<type_id::E_GhostBoss_W> {
public:
    using W::W;
    // Takes any amount, negative too, as the ghost stage deals it.
    void Damage(ObjectController* ctx, float amount) override {
        const float before = hp;
        hp -= amount;
        if (static_cast<int32_t>(hp) / 32 < static_cast<int32_t>(before) / 32) {
            const int32_t n = static_cast<int32_t>((1024.0 - hp) * 0.0078125 + 4.0);
            // Far above 1024 the count falls to 0 or below: no ring then.
            if (n > 0) ctx->FirePattern(type_id::E_GhostZako4_W, x, y, 4.0f, 0.0f, n, false, 0, 360 - 360 / n, nullptr);
        }
        TakeHit(ctx);
    }
    // Its owner, when it has one, learns the life left instead of forgetting it.
    void Detach() override {
        if (owner != nullptr) owner->OnMessage(Msg(3, owner_message::kLifeLeft, static_cast<int32_t>(hp)));
    }
    void Draw(ObjectController* ctx) override {
        DrawNumber(136.0f, 8.0f, static_cast<int32_t>(hp), -1);
        DrawTinted(ctx);
    }

private:
    void Act(ObjectController*) override {
        speed = static_cast<float>((static_cast<int32_t>(x + static_cast<float>(age)) % 43) / 5 + 2);
        if (x < 8.0f) {
            x = 8.0f;
            vx = 2.0f;
        } else if (x > 248.0f) {
            x = 248.0f;
            vx = -2.0f;
        } else if (y < 8.0f) {
            y = 8.0f;
            vy = speed;
            ay = -speedAccel;
        } else if (y > 232.0f) {
            y = 232.0f;
        }
        if (age < 60) y = 8.0f - vy;
    }
};

// The stage-2 middle enemy: stops, drifts away from the party and fires rings of shootable
// bullets, faster for its number n in the parade.
class E_S2MiddleBoss_W final : public W<type_id::E_S2MiddleBoss_W> {
public:
    using W::W;
    // No score and no message: only blasts, more of them the later it came.
    void OnKilled(ObjectController* ctx) override {
        ctx->CreateObject(type_id::EF_Blast_02, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
        if (angle > 0) {
            ctx->FirePattern(type_id::EF_Blast_02, x, y, static_cast<float>(angle), 0.0f, 8, false, age, 315, nullptr);
        }
    }
    int32_t volleys = 0;

private:
    void Act(ObjectController* ctx) override {
        const int32_t n = angle;
        const int32_t interval = std::max(1, 19 - 2 * n);
        if (age == 16) {
            if (n < 128) {
                vy = 0.0f;
                score = 1000 * n;
            }
            float px = 0.0f, py = 0.0f;
            PartyPosition(ctx, px, py);
            vx = x <= px ? -1.0f : 1.0f;
        } else if (age > 16 && age % interval == 0 && n < 128) {
            const float pace = (1.0f + 0.125f * static_cast<float>(n)) * (1.0f + 0.25f * static_cast<float>(volleys % 8));
            ctx->FirePattern(type_id::E_DestroyableBullet_W, x, y, pace, 0.0f, 4, false, static_cast<int32_t>(12.5 * volleys), 270,
                             nullptr);
            volleys += 1;
        }
        if (x < 16.0f) {
            x = 16.0f;
            vx = 1.0f;
        } else if (x > 240.0f) {
            x = 240.0f;
            vx = -1.0f;
        }
        if (invincible > 0) invincible -= 1;
    }
};

const ClassRegistration kWClasses{
    {type_id::E_Coin_W, MakeObject<E_Coin_W>},
    {type_id::E_Box_W, MakeObject<E_Box_W>},
    {type_id::E_IronBall_W, MakeObject<E_IronBall_W>},
    {type_id::E_Circle_W, MakeObject<E_Circle_W>},
    {type_id::E_DropCircle_W, MakeObject<E_DropCircle_W>},
    {type_id::E_ZigzagX_W, MakeObject<E_ZigzagX_W>},
    {type_id::E_EdgeMove4Circle_W, MakeObject<E_EdgeMove4Circle_W>},
    {type_id::E_RefrectWall6_W, MakeObject<E_RefrectWall6_W>},
    {type_id::E_SmallMissile_W, MakeObject<E_SmallMissile_W>},
    {type_id::E_BigMissile_W, MakeObject<E_BigMissile_W>},
    {type_id::E_WallBullet_W, MakeObject<E_WallBullet_W>},
    {type_id::E_DestroyableBullet_W, MakeObject<E_DestroyableBullet_W>},
    {type_id::E_DestroyableBullet2_W, MakeObject<E_DestroyableBullet2_W>},
    {type_id::E_DestroyableBullet3_W, MakeObject<E_DestroyableBullet3_W>},
    {type_id::E_DestroyableBullet4_W, MakeObject<E_DestroyableBullet4_W>},
    {type_id::E_GhostZako1_W, MakeObject<E_GhostZako1_W>},
    {type_id::E_GhostZako2_W, MakeObject<E_GhostZako2_W>},
    {type_id::E_GhostZako3_W, MakeObject<E_GhostZako3_W>},
    {type_id::E_GhostBoss_W, MakeObject<E_GhostBoss_W>},
    {type_id::E_GhostZako4_W, MakeObject<E_GhostZako4_W>},
    {type_id::E_GhostZako5_W, MakeObject<E_GhostZako5_W>},
    {type_id::E_Gradius_HatchZako_W, MakeObject<E_Gradius_HatchZako_W>},
    {type_id::E_Gradius_Zako_W, MakeObject<E_Gradius_Zako_W>},
    {type_id::E_Beam_W, MakeObject<E_Beam_W>},
    {type_id::E_Tetris_W, MakeObject<E_Tetris_W>},
    {type_id::E_SenkoroMissile_W, MakeObject<E_SenkoroMissile_W>},
    {type_id::E_EspRadeBullet_W, MakeObject<E_EspRadeBullet_W>},
    {type_id::E_S2MiddleBoss_W, MakeObject<E_S2MiddleBoss_W>},
};

}  // namespace
