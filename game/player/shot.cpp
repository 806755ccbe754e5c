#include "game/player/shot.h"

#include <cmath>

#include "framework/core/angle.h"
#include "framework/graphics/sprite.h"
#include "game/player/weapon_catalogue.h"
#include "game/world/drawing.h"
#include "game/world/object_controller.h"

namespace {

constexpr int32_t kGhostModes = 16;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kHidden = 0xFF000000u;

int32_t DirectionOf(float vx, float vy) { return static_cast<int32_t>(AngleAtan2(vx, vy)); }

// The size class of a bubble or barrier variant: 0, 1, or any other.
int SizeClass(int32_t variant) { return variant == 0 ? 0 : (variant == 1 ? 1 : 2); }

}  // namespace

Shot::Shot(int32_t typeId, float px, float py, float pvx, float pvy, float pax, float pay) {
    age = 0;
    ax = ay = 0.0f;
    Init();
    const WeaponEntry& row = WeaponRow(typeId);
    x = px;
    y = py;
    vx = pvx;
    vy = pvy;
    ax = pax;
    ay = pay;
    width = row.width;
    height = row.height;
    hitHalfWidth = row.hitHalfWidth;
    hitHalfHeight = row.hitHalfHeight;
    power = row.power;
    hp = row.hp;
    maxHp = row.maxHp;
    moveMode = row.moveMode;
    speedAccel = row.speedAccel;

    switch (row.motion) {
        case ShotMotion::kSpeedAngle:
            speed = std::sqrt(vx * vx + vy * vy);
            angle = DirectionOf(vx, vy);
            break;
        case ShotMotion::kAngle:
            angle = DirectionOf(vx, vy);
            break;
        case ShotMotion::kFixedAngle:
            angle = row.fixedAngle;
            break;
        case ShotMotion::kSpeedFixedAngle:
            speed = row.fixedSpeed != 0.0f ? row.fixedSpeed : std::sqrt(vx * vx + vy * vy);
            angle = row.fixedAngle;
            break;
        case ShotMotion::kNone:
            break;
    }

    // Arguments read as a variant are not motion: the variant is taken, the arguments cleared,
    // or the shot would drift with them.
    static constexpr float kBubbleHp[3] = {12.0f, 8.0f, 4.0f};
    static constexpr int16_t kBubbleHit[3] = {8, 6, 4};
    static constexpr int16_t kShotHit[3] = {4, 3, 2};
    static constexpr int16_t kBarrierSize[3] = {16, 12, 8};
    switch (row.variant) {
        case ShotVariant::kFromVx: {
            angle = static_cast<int32_t>(vx);
            vx = vy = ax = ay = 0.0f;
            int c = SizeClass(angle);
            if (angle > 1) width = height = 8;
            hitHalfWidth = hitHalfHeight = kBubbleHit[c];
            hp = maxHp = kBubbleHp[c];
            break;
        }
        case ShotVariant::kFromYThousands:
            angle = static_cast<int32_t>(y) / 1000;
            y -= static_cast<float>(angle * 1000);
            hitHalfWidth = hitHalfHeight = kShotHit[SizeClass(angle)];
            break;
        case ShotVariant::kFromAcceleration:
            angle = (ax != 0.0f || ay != 0.0f) ? 1 : 0;
            ax = ay = 0.0f;
            break;
        case ShotVariant::kFromAx:
            angle = ax != 0.0f ? 1 : 0;
            ax = ay = 0.0f;
            break;
        case ShotVariant::kHorizontalFlag:
            angle = (ax == 0.0f && ay == 0.0f) ? 1 : 0;
            ax = ay = 0.0f;
            break;
        case ShotVariant::kFromDirection:
            angle = ((DirectionOf(vx, vy) + 4096) / 8192) % 8;
            if (angle == 0 || angle == 4) {
                width = 16;
                height = 8;
                hitHalfWidth = 8;
                hitHalfHeight = 4;
            }
            break;
        case ShotVariant::kBarrierFromVx:
            angle = static_cast<int32_t>(vx);
            vx = 0.0f;
            width = height = kBarrierSize[SizeClass(angle)];
            hitHalfWidth = hitHalfHeight = width / 2;
            break;
        case ShotVariant::kNone:
            break;
    }
}

void Shot::InheritSide(ObjectController*, Object* from) { side = from != nullptr ? from->GetSide() : 2; }

void Shot::InheritSideOnFirstFrame(ObjectController* ctx) {
    if (age == 0 && owner != nullptr) InheritSide(ctx, owner);
}

void Shot::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    age += 1;
}

void Shot::MoveWithin(float left, float right, float top, float bottom) {
    if (moveMode >= 0 && moveMode <= 2) StepMovement();
    if (x < left || x > right || y < top || y > bottom) Vanish();
}

void Shot::Move(ObjectController*) { MoveWithin(-8.0f, 264.0f, 0.0f, 304.0f); }

void Shot::ForgetObject(Object* gone) {
    if (gone == owner) {
        owner = nullptr;
        Vanish();
    }
    if (gone == link) link = nullptr;
}

uint32_t Shot::DrawColor(ObjectController* ctx) const {
    if (ctx->gameMode < kGhostModes) return kWhite;
    switch (ctx->scoreData.ghostDisplay) {
        case 1:
            return kWhite;
        case 2:
            return side == 1 ? kWhite : kHidden;
        default:
            return kHidden;
    }
}

void Shot::DrawCellAt(ObjectController*, float cx, float cy, int32_t w, int32_t h, float u, float v, float uw,
                      float vh, uint32_t colour) const {
    const float dst[4] = {cx - static_cast<float>(w / 2), cy - static_cast<float>(h / 2), static_cast<float>(w),
                          static_cast<float>(h)};
    const float src[4] = {u, v, uw, vh};
    ZethSprite::DrawRect(gameSprites.shot, dst, 32767.0f, src, colour, 1);
}

void Shot::DrawCellAt(ObjectController* ctx, float cx, float cy, int32_t w, int32_t h, const CellSource& source,
                      uint32_t colour) const {
    DrawCellAt(ctx, cx, cy, w, h, source.u, source.v, source.width, source.height, colour);
}

void Shot::DrawCell(ObjectController* ctx, float u, float v, float uw, float vh) const {
    DrawCellAt(ctx, x, y, width, height, u, v, uw, vh, DrawColor(ctx));
}

void Shot::DrawCell(ObjectController* ctx, const CellSource& source) const {
    DrawCell(ctx, source.u, source.v, source.width, source.height);
}

void Shot::TurnToward(int32_t target, int32_t rate) {
    if (target < 16383 && angle > 49151) target += 65535;
    else if (angle < 16383 && target > 49151) angle += 65535;
    if (angle > target + rate) angle -= rate;
    else if (angle < target - rate) angle += rate;
    angle %= 65535;
}

void DrawQuarters(CSprite2D* batch, float cx, float cy, float q, float u, float v, uint32_t colour) {
    for (int k = 0; k < 4; ++k) {
        bool right = k % 2 == 1, bottom = k >= 2;
        const float dst[4] = {right ? cx : cx - q, bottom ? cy : cy - q, q, q};
        const float src[4] = {right ? u + q : u, bottom ? v + q : v, right ? -q : q, bottom ? -q : q};
        ZethSprite::DrawRect(batch, dst, 32767.0f, src, colour, 1);
    }
}
