// Effects around bullets: the return fire of destroyed enemies by the rank, the flash of an
// erased bullet, the reticle that drops an enemy bomb, and two that fire player shots for a
// character (the charging spark and the reflecting rings).
#include <algorithm>
#include <cmath>

#include "framework/core/angle.h"
#include "game/enemies/effect.h"
#include "game/enemies/family_support.h"
#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/sound_ids.h"
#include "game/world/type_table.h"

namespace {

// The shots of the reflecting rings read y / 1000 as their variant.
constexpr float kPoppoesVariantOffset = 1000.0f;

// Return fire of a destroyed enemy: the aim is fixed at the first Run, and the rank decides
// what is fired, how and for how long.
class EF_RefrectBullet final : public RowEffect<type_id::EF_RefrectBullet> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController* ctx) override {
        const int32_t t = age;
        const int32_t rank = ctx->ArrestLevel;
        if (t == 0) AimAtParty(ctx, x, y, angle);
        if (rank >= 4 && rank <= 7) {
            if (t == 15) {
                ctx->FirePattern(type_id::E_DestroyableBullet_W, x, y, 2.0f, 0.0f, 2 * rank - 7, false, (6 - rank) * 45,
                                 (rank - 4) * 90, nullptr);
                Kill();
            }
        } else if ((rank >= 8 && rank <= 11) || (rank >= 128 && rank <= 255)) {
            if (t % 4 == 0) {
                if (rank >= 128) Swerve(t);
                FireAimedFrom(ctx, type_id::B_Normal_W, x, y);
            }
            if (t >= 4 * rank || (rank >= 128 && t >= rank)) Kill();
        } else if ((rank >= 12 && rank <= 15) || rank >= 256) {
            FireFromSpiral(ctx, type_id::B_Normal_W, static_cast<float>(std::min(2 * t, 64)));
            if (t >= rank || (rank >= 256 && t >= rank / 2)) Kill();
        } else if (rank >= 16 && rank <= 63) {
            if (t % 4 == 0) {
                const float s = static_cast<float>(1 + t / 8);
                ctx->CreateObject(type_id::E_DestroyableBullet_W, x, y, AngleCos(angle) * s, AngleSin(angle) * s, 0.0f, 0.0f,
                                  nullptr);
            }
            if (t >= rank) Kill();
        } else if (rank >= 64 && rank <= 127) {
            FireFromSpiral(ctx, type_id::E_DestroyableBullet_W, static_cast<float>(std::min(t / 2, 64)));
            if (t >= rank) Kill();
        } else {
            if (t % 4 == 0) FireAimedFrom(ctx, type_id::B_Normal_W, x, y);
            if (t >= rank) Kill();
        }
        age += 1;
    }
    void Draw(ObjectController*) override {
        DrawCellCentred(gameSprites.effect2, x, y, cell::return_fire.Frame((age / 4) % 4));
    }

private:
    // At the high ranks the aim turns by a fixed step, by a pattern of position and age.
    void Swerve(int32_t t) {
        const int32_t c = (static_cast<int32_t>(x + y) + t / 4) % 8;
        if (c == 0 || (c == 5 && t > 0)) angle += 4187;
        else if (c == 4 || (c == 1 && t > 0)) angle -= 4187;
    }
    void FireAimedFrom(ObjectController* ctx, int32_t typeId, float fromX, float fromY) {
        ctx->FireAimed(typeId, fromX, fromY, true, true, true, angle);
    }
    // From a point turning 114 degrees a frame at the given distance.
    void FireFromSpiral(ObjectController* ctx, int32_t typeId, float r) {
        const int32_t turn = DegreesToAngle(114.0 * age);
        FireAimedFrom(ctx, typeId, x + AngleSin(turn) * r, y + AngleCos(turn) * r);
    }
};

class EF_EraseBullet final : public RowEffect<type_id::EF_EraseBullet> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController*) override { EndRun(); }
    void Draw(ObjectController*) override {
        // The erase flash: the small bullets' frames from the fifth on.
        DrawCellCentred(gameSprites.bullet, x, y, cell::small_bullets.Shifted((age - 1) * 8 + 32, 0));
    }
};

// A reticle whose corners close in on the target, then an enemy bomb with its velocity.
class EF_Sagittarius final : public RowEffect<type_id::EF_Sagittarius> {
public:
    EF_Sagittarius(float a, float b, float c, float d, float e, float f) : RowEffect(a, b, c, d, e, f) {
        hp = maxHp = 31.0f;
    }
    void Run(ObjectController* ctx) override {
        if (age == 0) ctx->PlaySE(sound::kPi);
        if (age > 60) {
            Kill();
            ctx->CreateObject(type_id::B_Senkoro_Bomb, x, y, vx, vy, 0.0f, 0.0f, nullptr);
        }
        age += 1;
    }
    void Draw(ObjectController*) override {
        if (age >= 54) return;
        // Frame 0 or 1 of the corners, mirrored into the four corners; the centre two frames on.
        const int32_t f = 16 * ((age / 4) % 2);
        const float d = static_cast<float>(std::max(2 * (24 - age), 12));
        const SheetCell& r = cell::reticle_corners;
        CSprite2D* batch = gameSprites.effect1;
        DrawCellCentred(batch, x, y, r.Shifted(f + 32, 0));
        DrawCellAt(batch, x - 4 + d, y - 4 + d, 16, 16, r.U(f), r.V(), 16, 16);
        DrawCellAt(batch, x - 4 + d, y - 12 - d, 16, 16, r.U(f), r.V(16), 16, -16);
        DrawCellAt(batch, x - 12 - d, y - 4 + d, 16, 16, r.U(f + 16), r.V(), -16, 16);
        DrawCellAt(batch, x - 12 - d, y - 12 - d, 16, 16, r.U(f + 16), r.V(16), -16, -16);
    }
};

// A charging spark with a marker ten frames ahead on its path; it turns into a player blast.
class EF_Blaster final : public RowEffect<type_id::EF_Blaster> {
public:
    EF_Blaster(float a, float b, float c, float d, float e, float f) : RowEffect(a, b, c, d, e, f), targetY(b + 10.0f * d) {}
    void Run(ObjectController* ctx) override {
        if (age >= 20) {
            Kill();
            ctx->CreateObject(type_id::S_Blaster_Blast, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
        }
        age += 1;
    }
    void Draw(ObjectController*) override {
        DrawCellCentred(gameSprites.shot, x, y, cell::charge_spark.Shifted(((age - 1) / 5) * 8, 0));
        DrawCellAt(gameSprites.shot, x - 8, targetY - 8, 16, 16, cell::charge_marker.Source());
    }

    float targetY;
};

// Rings of player shots every eighth frame; the angle field holds the level (fewer shots for
// higher levels, none from 3), the score field extra life and the side field the shots' side.
class EF_Poppoes_Reflect final : public RowEffect<type_id::EF_Poppoes_Reflect> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController* ctx) override {
        const int32_t n = (3 - angle) * 2;
        if (age % 8 == 0 && n > 0) {
            const float s = static_cast<float>(1 + age / 32);
            for (int32_t k = 0; k < n; ++k) {
                const double degrees = (k * 360) / n + 2 * age + 3.0 * static_cast<double>(x);
                const int32_t b = DegreesToAngle(std::trunc(degrees));
                Object* shot = ctx->CreateObject(type_id::S_FZ_Poppoes_Shot, x, y + kPoppoesVariantOffset, AngleCos(b) * s,
                                                 AngleSin(b) * s, 0.0f, 0.0f, nullptr);
                if (shot != nullptr) shot->SetSide(side);
            }
        }
        if (age >= score + 120) Kill();
        age += 1;
    }
};

const ClassRegistration kBulletEffectClasses{
    {type_id::EF_RefrectBullet, MakeObject<EF_RefrectBullet>}, {type_id::EF_EraseBullet, MakeObject<EF_EraseBullet>}, {type_id::EF_Blaster, MakeObject<EF_Blaster>},
    {type_id::EF_Sagittarius, MakeObject<EF_Sagittarius>},   {type_id::EF_Poppoes_Reflect, MakeObject<EF_Poppoes_Reflect>},
};

}  // namespace
