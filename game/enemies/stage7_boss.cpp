// The stage 7 boss (type id 74) and its projectiles (75-79): a boss of five forms, each with
// its own weapon, a share of life above 4000 and at most 1860 frames; between volleys it dashes
// towards the top centre. Its weapons are enemies of their own that shots can destroy.
#include <algorithm>
#include <cmath>

#include "framework/core/angle.h"
#include "game/enemies/enemy.h"
#include "game/enemies/family_enemy.h"
#include "game/enemies/family_support.h"
#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/message_codes.h"
#include "game/world/object_controller.h"
#include "game/world/sound_ids.h"
#include "game/world/text.h"
#include "game/world/type_table.h"

namespace {

constexpr float kFormThreshold = 4000.0f;
constexpr int32_t kFormFrames = 1860;
constexpr int32_t kBusyField = 64;  // enemies in play at which the interval volleys pause

class E_Stage7_Boss final : public EnemyOf<type_id::E_Stage7_Boss> {
public:
    using EnemyOf::EnemyOf;

    void Run(ObjectController* ctx) override {
        TickHitFlash();
        if (age == 0 && form == 0) {
            hp = maxHp = (static_cast<float>(ctx->playerCount) * 0.7f + 0.3f) * 128.0f + kFormThreshold;
        }
        if (age == 30) vx = vy = speed = speedAccel = 0.0f;
        if (age % 120 == 0 && age > 60) StartDash();
        Dash();
        if (age > 60) Fire(ctx);
        if (age > 60 && age % 480 == 240) CallClone(ctx, 248.0f);
        if (age > 60 && age % 480 == 0) CallClone(ctx, 8.0f);
        if (age >= kFormFrames + 1) Damage(ctx, 1.0f);  // the form times out
        age += 1;
        dashTime += 1;
        if (invincible > 0) invincible -= 1;
    }
    // Ignores hits for the first two seconds of a form; below the threshold, or out of time, the
    // form changes. The life is lowered once per hit.
    void Damage(ObjectController* ctx, float amount) override {
        if (!(amount > 0.0f) || age <= 120) return;
        hp -= amount;
        if (hp < kFormThreshold || age > kFormFrames) ChangeForm(ctx);
        TakeHit(ctx);
    }
    void OnKilled(ObjectController* ctx) override {
        ctx->CreateObject(type_id::EF_Blast_Stage7Boss, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
        TellScene(ctx, Msg(3, stage_message::kStageBossDone, ctx));
        Explode(ctx);
    }
    void Draw(ObjectController*) override {
        DrawFrom(cell::boss_stage7);
        // The gauge's frame is read from eight texels left of its cell: the reticle's last columns.
        const SheetCell& frame = cell::boss_gauge_frame;
        for (int i = 1; i <= 5; ++i) {
            DrawCellAt(gameSprites.effect1, 32.0f * i, 0.0f, 32.0f, 8.0f, frame.U(-8), frame.V(), 32.0f, frame.H());
        }
        const float share = (hp - kFormThreshold) / (maxHp - kFormThreshold);
        const float bar = share * 28.0f + static_cast<float>((4 - form) * 32);
        DrawCellAt(gameSprites.effect1, 34.0f, 0.0f, bar, 8.0f, cell::boss_gauge_bar.Source());
        DrawNumber(208.0f, 0.0f, (kFormFrames - age) / 60, -1);
    }

    int32_t form = 0;
    int32_t dashTime = 0;
    int32_t dashing = 0;
    int32_t volleyCount = 0;

private:
    int32_t Aim(ObjectController* ctx) const {
        int32_t a = 16384;
        AimAtParty(ctx, x, y, a);
        return a;
    }
    // Towards (128, 48), off by up to about 30 degrees.
    void StartDash() {
        dashTime = 0;
        const double wobble = AngleSin(DegreesToAngle(static_cast<double>(hp) * age)) * 5461.0;
        angle = static_cast<int32_t>(static_cast<double>(AngleAtan2(128.0f - x, 48.0f - y)) + wobble);
        speed = 2.0f;
    }
    void Dash() {
        dashing = age >= 60 || form != 0 ? 1 : 0;
        if (dashing == 1) {
            if (dashTime > 60) {
                dashing = 0;
                speed = 0.0f;
            } else if (dashTime > 20) {
                speed = 2.0f - static_cast<float>((dashTime - 20) / 20);
            }
            const bool outside = x < 32.0f || x > 224.0f || y < 16.0f || y > 224.0f;
            if (outside && dashTime > 5) {
                speed = speedAccel = 0.0f;
                dashing = 0;
            }
        }
        if (y < 16.0f) y = 16.0f;
    }
    // One projectile at a speed along a binary angle, with the variant and score its maker gives.
    Object* Throw(ObjectController* ctx, int32_t typeId, int32_t a, float pace, int32_t variant, int32_t points) {
        Object* o = ctx->CreateObject(typeId, x, y, pace * AngleCos(a), pace * AngleSin(a), 0.0f, 0.0f, nullptr);
        if (o != nullptr) {
            if (variant >= 0) o->angle = variant;
            if (points >= 0) o->SetScore(points);
        }
        return o;
    }
    void Volley(ObjectController* ctx) {
        volleyCount += 1;
        ctx->PlaySE(sound::kShot1);
    }
    void Fire(ObjectController* ctx) {
        const bool roomy = ctx->counts.enemyCount < kBusyField && age > 120;
        switch (form) {
            case 0:
                if (age % 4 == 0 && age % 360 < 240) {
                    for (int k = 0; k < 4; ++k) {
                        Throw(ctx, type_id::E_WashMachine, DegreesToAngle(1.5 * age + 90 * k), 4.0f, 1, 30);
                        Throw(ctx, type_id::E_WashMachine, DegreesToAngle(360 + 90 * k - (2 * age) % 360), 4.0f, 1, 30);
                    }
                    const double base = AngleSin(DegreesToAngle(age / 4)) * 1440.0;
                    for (int k = 0; k < 10; ++k) Throw(ctx, type_id::E_WashMachine, DegreesToAngle(base + 36 * k), 4.0f, -1, 30);
                }
                break;
            case 1: {
                const int32_t k = (age - 60) % 840;
                if ((k < 320 && k % 40 == 0) || (k >= 500 && k <= 659 && k % 20 == 0)) {
                    const int32_t aim = Aim(ctx);
                    Throw(ctx, type_id::E_ScarletMeister, aim, 4.0f, 0, -1);
                    for (int i = 0; i < 8; ++i) {
                        const int32_t a = aim + static_cast<int32_t>(AngleSin(DegreesToAngle((age + i) * 115.0)) * 1092.0f);
                        Throw(ctx, type_id::E_ScarletMeister, a, 3.8f - 0.2f * static_cast<float>(i), 1, -1);
                    }
                    for (int i = 0; i < 12; ++i) {
                        const int32_t a = aim + static_cast<int32_t>(AngleSin(DegreesToAngle((age + i) * 155.0)) * 3640.0f);
                        Throw(ctx, type_id::E_ScarletMeister, a, 2.3f - 0.1f * static_cast<float>(i), 2, -1);
                    }
                    Volley(ctx);
                }
                break;
            }
            case 2:
                if (dashTime == 0 || (age % 30 == 0 && roomy)) {
                    ctx->FirePattern(type_id::E_Hamon, x, y, 2.0f, 0.0f, 36, true, 0, 350, nullptr);
                    Volley(ctx);
                }
                break;
            case 3:
                if (dashTime == 0) volleyCount += 1;
                if (dashTime % 4 == 0 && dashTime < 48) {
                    int32_t a = Aim(ctx);
                    if (volleyCount % 4 == 0) a = DegreesToAngle((dashTime + 5) * 3);
                    else if (volleyCount % 4 == 2) a = DegreesToAngle((55 - dashTime) * 3);
                    // A line: sixteen bullets along one angle at speeds 1 to 2.875.
                    for (int i = 8; i <= 23; ++i) {
                        Throw(ctx, type_id::E_EspRadeBullet_W, a, static_cast<float>(i) / 8.0f, 3 - volleyCount % 2, 30);
                    }
                    ctx->PlaySE(sound::kShot1);
                }
                break;
            default:
                if (dashTime == 0 || (age % 10 == 0 && roomy)) {
                    ctx->FirePattern(type_id::E_RedMagic_Big, x, y, 1.0f, static_cast<float>(volleyCount % 2), 7, true, 0, 308,
                                     nullptr);
                    Volley(ctx);
                }
                break;
        }
    }
    void CallClone(ObjectController* ctx, float atX) {
        Object* clone = ctx->CreateObject(type_id::E_AliceClone_G, atX, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
        if (clone != nullptr) clone->angle = 2;
    }
    // The without-delay bonus shrinks 20 a frame (negative once timed out); the boss is thrown
    // up with fresh life and invincibility; the fifth change ends it and every enemy.
    void ChangeForm(ObjectController* ctx) {
        TellScene(ctx, Msg(4, stage_message::kWithoutDelayBonus, ctx, (kFormFrames - age) * 20));
        if (age < kFormFrames) AddSceneScore(ctx, (4360 - age) * 20);
        for (int i = 0; i < 8; ++i) {
            const int32_t degrees = static_cast<int32_t>(90.0 + 15.0 * AngleSin(DegreesToAngle(55 * i)));
            ctx->FirePattern(type_id::EF_Blast_02, x, y, 4.0f + 0.8f * static_cast<float>(i), 0.0f, 1, false, degrees, 0, nullptr);
        }
        ctx->PlaySE(sound::kBlast4);
        age = 0;
        hp = maxHp;
        dashTime = 0;
        form += 1;
        speed = 6.0f;
        speedAccel = -0.2f;
        dashing = 1;
        angle = 49152;
        invincible = 90;
        if (form == 5) {
            Kill();
            ctx->KillEnemies();
        }
    }
};

// The boss's projectiles draw from "bullet.bmp", centred, without a flash.
class Stage7Projectile : public Enemy {
public:
    void Run(ObjectController* ctx) override {
        TickHitFlash();
        Act(ctx);
        age += 1;
    }

protected:
    using Enemy::Enemy;
    virtual void Act(ObjectController*) {}
    void DrawBullet(const SheetCell& cell) { DrawCellCentred(gameSprites.bullet, x, y, cell); }
};

// Its column by variant, its row turning with the age.
class E_WashMachine final : public EnemyOf<type_id::E_WashMachine, Stage7Projectile> {
public:
    using EnemyOf::EnemyOf;
    void Draw(ObjectController*) override {
        // Variant 1 is the cell's column; the others lie beside it (the plain one, 0, to its left).
        DrawBullet(cell::spinning_bullet.Frame(age % 4).Shifted(16 * (angle - 1), 0));
    }
};

// Three sizes by variant: 32, 16 and 8 wide.
class E_ScarletMeister final : public EnemyOf<type_id::E_ScarletMeister, Stage7Projectile> {
public:
    using EnemyOf::EnemyOf;
    void Draw(ObjectController*) override {
        if (angle == 1) DrawBullet(cell::small_flare);
        else if (angle == 2) DrawBullet(cell::flare_spark);
        else DrawBullet(cell::large_flare);
    }

private:
    void Act(ObjectController*) override {
        if (age != 0) return;
        if (angle == 1) width = height = 16;
        else if (angle == 2) width = height = 8;
        hitHalfWidth = hitHalfHeight = width / 2;
    }
};

// Reflects once off a side (and, that frame, off the top).
class E_Hamon final : public EnemyOf<type_id::E_Hamon, Stage7Projectile> {
public:
    using EnemyOf::EnemyOf;
    void Draw(ObjectController*) override { DrawBullet(cell::esprade_bullets.Frame(12 + age % 4)); }
    int32_t bounced = 0;

private:
    void Act(ObjectController*) override {
        if (bounced != 0) return;
        if (x < 4.0f || x > 252.0f) {
            x = x < 4.0f ? 4.0f : 252.0f;
            vx = -vx;
            bounced = 1;
        }
        if (y < 4.0f) {
            y = 4.0f;
            vy = -vy;
            bounced += 1;
        }
    }
};

// Curls for 40 frames one way or the other and sheds small magic every fourth frame.
class E_RedMagic_Big final : public EnemyOf<type_id::E_RedMagic_Big, Stage7Projectile> {
public:
    E_RedMagic_Big(float x, float y, float a, float b, float c, float d)
        : EnemyOf(x, y, a, b, c, d), turnSign(c != 0.0f || d != 0.0f ? 1 : 0) {}
    void Draw(ObjectController*) override { DrawBullet(cell::small_flare); }
    int32_t turnSign;

private:
    void Act(ObjectController* ctx) override {
        if (age < 40) angle = (angle + (turnSign == 0 ? 364 : 65171)) % 65536;
        if (age % 4 == 0 && age > 10) {
            const int32_t degrees = static_cast<int32_t>(static_cast<int64_t>(angle) * 360 / 65535 + 5 * age);
            ctx->FirePattern(type_id::E_RedMagic_Small, x, y, 1.0f, 0.0f, 1, false, degrees, 0, nullptr);
        }
    }
};

// Waits a second, then speeds up along its heading; it leaves just off the field's edge.
class E_RedMagic_Small final : public EnemyOf<type_id::E_RedMagic_Small, Stage7Projectile> {
public:
    using EnemyOf::EnemyOf;
    void Draw(ObjectController*) override { DrawBullet(cell::flare_spark); }
    void Move(ObjectController*) override {
        StepMovement();
        if (x < -4.0f || x > 260.0f || y < -4.0f || y > 244.0f) Vanish();
    }

private:
    void Act(ObjectController*) override {
        if (age >= 61) speedAccel = 0.01f;
    }
};

const ClassRegistration kStage7Classes{
    {type_id::E_Stage7_Boss, MakeObject<E_Stage7_Boss>},    {type_id::E_RedMagic_Big, MakeObject<E_RedMagic_Big>}, {type_id::E_RedMagic_Small, MakeObject<E_RedMagic_Small>},
    {type_id::E_Hamon, MakeObject<E_Hamon>},          {type_id::E_ScarletMeister, MakeObject<E_ScarletMeister>}, {type_id::E_WashMachine, MakeObject<E_WashMachine>},
};

}  // namespace
