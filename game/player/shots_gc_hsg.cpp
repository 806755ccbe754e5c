#include "game/player/shots_gc_hsg.h"

#include <algorithm>

#include "framework/core/angle.h"
#include "game/player/pc.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"

namespace {

constexpr int32_t kSparkId = 326;  // EF_HSG_DisCharge
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
    DrawCellAt(ctx, x, y, 8, 8, static_cast<float>((age / 3) % 2 * 8 + 176), 232, 8, 8, DrawColor(ctx));
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
        ctx->CreateObject(kSparkId, x + AngleCos(a) * 16.0f, y + AngleSin(a) * 16.0f, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
    }
    hp -= kSparkWear;
    if (hp < 0.0f) Kill();
    age += 1;
}

void S_HSG_DisCharge::Draw(ObjectController* ctx) { DrawQuarters(gameSprites.shot, x, y, 16, 224, 224, DrawColor(ctx)); }

static ClassRegistration gcHsgShots({
    {249, MakeObject<S_GC_Shot>},
    {250, MakeObject<S_BH_Reflect>},
    {251, MakeObject<S_BH_Shot>},
    {256, MakeObject<S_HSG_Shot>},
    {257, MakeObject<S_HSG_Chariot>},
    {258, MakeObject<S_HSG_ChariotShot>},
    {259, MakeObject<S_HSG_DisCharge>},
    {260, MakeObject<S_DOGMA_RadicalTriger>},
});
