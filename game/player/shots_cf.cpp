#include "game/player/shots_cf.h"

#include "framework/core/angle.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

// Variant: the eighth of a turn it flies in (0 right, 2 down, 4 left, 6 up); a tens digit of 1
// marks the piercing look.
class S_CF_NormalShot : public ShotOf<type_id::S_CF_NormalShot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
};

// Variant (type) 0, 1 or 2 sets the size 16, 12 or 8; its character places it.
class S_CF_Barrier : public ShotOf<type_id::S_CF_Barrier> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController*) override {}
    void Run(ObjectController* ctx) override;
};

// Where the cells of this family lie in "shot.bmp". The normal shot's right-hand directions
// take 16-unit columns counted down from u 160, the plain look in row 176 and the piercing one
// in row 192; left-hand directions mirror their right-hand twin.
constexpr float kNormalColumnU = 160, kNormalRowV = 176;
// Column by right-hand direction (0 right, 1 right-down, 2 down, 6 up, 7 right-up); 3-5 mirror.
constexpr int32_t kNormalColumn[8] = {0, 1, 2, 0, 0, 0, 3, 4};
constexpr float kSinU = 112, kSinV = 160;            // 8 x 16, one column a variant
constexpr float kBarrierV = 152;                     // 16 x 16 at u = 16 x (type + 13)
constexpr float kSmallBarrierU = 224, kSmallBarrierV = 144;
constexpr float kLaserSearchU = 232, kLaserSearchV = 136;  // 16 x 8
constexpr float kLaserBeamU = 240, kLaserBeamV = 144;      // 8 x 16
constexpr float kLaserHeadU = 248, kLaserHeadV = 144;      // 8 x 8, pointing up

constexpr int32_t kDegree30 = 5461;
constexpr float kStrikeSpeed = 24.0f;

}  // namespace

void S_CF_NormalShot::Draw(ObjectController* ctx) {
    int32_t direction = angle % 10;
    int32_t row = angle / 10;
    bool mirrored = direction >= 3 && direction <= 5;
    if (mirrored) direction = (12 - direction) % 8;  // 3 -> 1, 4 -> 0, 5 -> 7
    float u = kNormalColumnU - 16.0f * static_cast<float>(kNormalColumn[direction & 7]);
    float v = kNormalRowV + 16.0f * static_cast<float>(row);
    float w = static_cast<float>(width);
    if (mirrored) DrawCell(ctx, u + w, v, -w, static_cast<float>(height));
    else DrawCell(ctx, u, v, w, static_cast<float>(height));
}

void S_CF_SinShot::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    int32_t a = age * kDegree30;
    float amplitude = static_cast<float>((age / 6 + 1) * 16);
    float swing = AngleSin(a) * amplitude;
    x = angle == 0 ? baseX + swing : baseX - swing;
    age += 1;
}

void S_CF_SinShot::Move(ObjectController*) { MoveWithin(-128.0f, 384.0f, 0.0f, 240.0f); }

void S_CF_SinShot::Draw(ObjectController* ctx) { DrawCell(ctx, kSinU + 8.0f * static_cast<float>(angle), kSinV, 8, 16); }

void S_CF_Barrier::Run(ObjectController* ctx) {
    hp = maxHp;
    if (age == 0) {
        InheritSideOnFirstFrame(ctx);
        static constexpr int16_t kSizes[3] = {16, 12, 8};
        if (angle >= 0 && angle <= 2) width = height = kSizes[angle];
        hitHalfWidth = hitHalfHeight = width / 2;
    }
    age += 1;
}

void S_CF_Barrier::Draw(ObjectController* ctx) {
    if (angle <= 1) DrawCell(ctx, 16.0f * static_cast<float>(angle + 13), kBarrierV, 16, 16);
    else DrawCell(ctx, kSmallBarrierU, kSmallBarrierV, 8, 8);
}

void S_CF_HomingLaser::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (phase == kSearching && age >= 1) {
        if (Object* enemy = ctx->FindEnemyOnAxes(x, y, 8.0f, false, true, false, true)) {
            vx = vy = 0.0f;
            phase = enemy->GetY() < y ? kLockedAbove : kLockedBelow;
        }
    }
    // The locking frame counts as the first of the three locked frames.
    if (phase == kLockedAbove || phase == kLockedBelow) {
        lockCount += 1;
        if (lockCount > 2) {
            vy = phase == kLockedAbove ? -kStrikeSpeed : kStrikeSpeed;
            hitHalfWidth = 6;
            hitHalfHeight = 12;
            phase = kLaunched;
        }
    }
    age += 1;
}

void S_CF_HomingLaser::Draw(ObjectController* ctx) {
    if (phase == kSearching) {
        DrawCell(ctx, kLaserSearchU, kLaserSearchV, 16, 8);
        return;
    }
    uint32_t colour = DrawColor(ctx);
    bool up = phase == kLockedAbove || (phase == kLaunched && vy < 0.0f);
    DrawCellAt(ctx, x, y, 8, 16, kLaserBeamU, kLaserBeamV, 8, 16, colour);
    if (up) DrawCellAt(ctx, x, y - 12.0f, 8, 8, kLaserHeadU, kLaserHeadV, 8, 8, colour);
    else DrawCellAt(ctx, x, y + 12.0f, 8, 8, kLaserHeadU, kLaserHeadV + 8.0f, 8, -8, colour);
}

static ClassRegistration cfShots({
    ClassOf<S_CF_NormalShot>(),
    ClassOf<S_CF_SinShot>(),
    ClassOf<S_CF_Barrier>(),
    ClassOf<S_CF_HomingLaser>(),
});
