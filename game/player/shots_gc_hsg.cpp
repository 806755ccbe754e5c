// The GC, BH, HSG and DOGMA weapons (type ids 249-251, 256-260): a shot in four colours, a short-
// lived reflector whose contacts spawn homing shots, a small shot, a chariot that stays on the
// field with its aimed shot, a discharge spraying sparks, and a fast directional shot.

#include <algorithm>
#include <cstdint>

#include "framework/core/angle.h"
#include "game/player/pc.h"
#include "game/player/shot.h"
#include "game/player/shots_dg.h"
#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

class S_GC_Shot : public ShotOf<type_id::S_GC_Shot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;  // the angle field is its colour row
};

// Rides on its owner for 11 frames; its first frame hits wide and hard.
class S_BH_Reflect : public ShotOf<type_id::S_BH_Reflect> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Homes until age 119 (on the party without enemies) and may leave the field until age 120.
class S_BH_Shot : public ShotOf<type_id::S_BH_Shot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

class S_HSG_Shot : public ShotOf<type_id::S_HSG_Shot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
};

// Held in the field and never worn out: it goes only with its owner.
class S_HSG_Chariot : public ShotOf<type_id::S_HSG_Chariot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

class S_HSG_ChariotShot : public ShotOf<type_id::S_HSG_ChariotShot, SectorShot> {
public:
    S_HSG_ChariotShot(float x, float y, float vx, float vy, float ax, float ay)
        : ShotOf(x, y, vx, vy, ax, ay, 1.0f, 176.0f, 80.0f) {}
};

// Sprays a spark a frame for variant x 60 + 112 frames and wears 0.2 a frame.
class S_HSG_DisCharge : public ShotOf<type_id::S_HSG_DisCharge> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

class S_DOGMA_RadicalTriger : public ShotOf<type_id::S_DOGMA_RadicalTriger, SectorShot> {
public:
    S_DOGMA_RadicalTriger(float x, float y, float vx, float vy, float ax, float ay)
        : ShotOf(x, y, vx, vy, ax, ay, 0.5f, 192.0f, -32.0f) {}
};

constexpr float kSparkWear = 0.2f;

constexpr float kBHShotCells[4][4] = {{128, 240, 16, 16}, {144, 240, 16, 16}, {128, 256, 16, -16}, {160, 240, -16, 16}};

}  // namespace

void S_GC_Shot::Draw(ObjectController* ctx) {
    DrawCell(ctx, static_cast<float>((age / 4) % 2 * 8 + 128), static_cast<float>(angle * 8 + 192), 8, 8);
}

void S_BH_Reflect::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (age == 1) {
        power = 0.25f;
        hitHalfWidth = hitHalfHeight = 16;
    }
    if (owner != nullptr) {
        x = owner->GetX() + owner->vx;
        y = owner->GetY() + owner->vy;
    }
    if (age > 10) Kill();
    age += 1;
}

void S_BH_Reflect::Draw(ObjectController* ctx) {
    uint32_t colour = DrawColor(ctx);
    DrawCellAt(ctx, x - 8.0f, y, 16, 32, 128, 208, 16, 32, colour);
    DrawCellAt(ctx, x + 8.0f, y, 16, 32, 144, 208, -16, 32, colour);
}

void S_BH_Shot::Run(ObjectController* ctx) {
    if (age <= 119) {
        Object* target = ctx->FindNearestEnemy(x, y);
        if (target == nullptr) target = ctx->pcController;
        if (target != nullptr) {
            int32_t aim = static_cast<int32_t>(AngleAtan2(target->GetX() - x, target->GetY() - y));
            if (aim < angle) aim += 65535;
            int32_t d = aim - angle;
            if (d > 1820 && d < 32768) angle += 1820;
            else if (d > 32768 && d < 63715) angle += 63715;
            angle %= 65535;
        }
    }
    age += 1;
}

void S_BH_Shot::Move(ObjectController*) {
    if (moveMode >= 0 && moveMode <= 2) StepMovement();
    if (age > 120 && (x < -8.0f || x > 264.0f || y < 0.0f || y > 240.0f)) Vanish();
}

void S_BH_Shot::Draw(ObjectController* ctx) {
    const float* c = kBHShotCells[(age / 2) % 4];
    DrawCell(ctx, c[0], c[1], c[2], c[3]);
}

void S_HSG_Shot::Draw(ObjectController* ctx) {
    DrawCellAt(ctx, x, y, 8, 8, cell::bubble_shot.Frame((age / 3) % 2).Source(), DrawColor(ctx));
}

void S_HSG_Chariot::Run(ObjectController* ctx) {
    if (owner != nullptr) InheritSideOnFirstFrame(ctx);
    hp = maxHp;
    x = std::clamp(x, 0.0f, 256.0f);
    y = std::clamp(y, 0.0f, 240.0f);
    age += 1;
}

void S_HSG_Chariot::Move(ObjectController*) { MoveWithin(-64.0f, 320.0f, -64.0f, 304.0f); }

void S_HSG_Chariot::Draw(ObjectController* ctx) { DrawCellAt(ctx, x, y, 16, 24, 240, 208, 16, 24, DrawColor(ctx)); }

void S_HSG_DisCharge::Run(ObjectController* ctx) {
    if (owner != nullptr) InheritSideOnFirstFrame(ctx);
    if (age < angle * 60 + 112) {
        int32_t d = static_cast<int32_t>(y * 57.0f + x * 37.0f) + (age / 11) * 121 + (age / 2) * 31 + age * 117;
        int32_t a = DegreesToBinaryAngle(d);
        ctx->CreateObject(type_id::EF_HSG_DisCharge, x + AngleCos(a) * 16.0f, y + AngleSin(a) * 16.0f, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
    }
    hp -= kSparkWear;
    if (hp < 0.0f) Kill();
    age += 1;
}

// Its quarter is the lower half of the force field's second frame.
void S_HSG_DisCharge::Draw(ObjectController* ctx) {
    const SheetCell quarter = cell::force_field.Frame(1);
    DrawQuarters(gameSprites.shot, x, y, 16, quarter.U(), quarter.V(16), DrawColor(ctx));
}

static ClassRegistration gcHsgShots({
    ClassOf<S_GC_Shot>(),
    ClassOf<S_BH_Reflect>(),
    ClassOf<S_BH_Shot>(),
    ClassOf<S_HSG_Shot>(),
    ClassOf<S_HSG_Chariot>(),
    ClassOf<S_HSG_ChariotShot>(),
    ClassOf<S_HSG_DisCharge>(),
    ClassOf<S_DOGMA_RadicalTriger>(),
});
