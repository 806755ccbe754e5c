#include "game/player/shots_cf.h"

#include "framework/core/angle.h"
#include "game/world/cells.h"
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
// take 16-unit columns counted left from the side shot's, the plain look in its row and the
// piercing one in the row below; left-hand directions mirror their right-hand twin.
// Column by right-hand direction (0 right, 1 right-down, 2 down, 6 up, 7 right-up); 3-5 mirror.
constexpr int32_t kNormalColumn[8] = {0, 1, 2, 0, 0, 0, 3, 4};

constexpr int32_t kDegree30 = 5461;
constexpr float kStrikeSpeed = 24.0f;

}  // namespace

void S_CF_NormalShot::Draw(ObjectController* ctx) {
    int32_t direction = angle % 10;
    int32_t row = angle / 10;
    bool mirrored = direction >= 3 && direction <= 5;
    if (mirrored) direction = (12 - direction) % 8;  // 3 -> 1, 4 -> 0, 5 -> 7
    float u = cell::cf_shot_side.U(-16 * kNormalColumn[direction & 7]);
    float v = cell::cf_shot_side.V(16 * row);
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

void S_CF_SinShot::Draw(ObjectController* ctx) { DrawCell(ctx, cell::cf_sin.Shifted(8 * angle, 0).Source()); }

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
    // The large barrier, and the middle one beside it.
    if (angle <= 1) DrawCell(ctx, cell::cf_barrier_large.Shifted(16 * angle, 0).Source());
    else DrawCell(ctx, cell::cf_barrier_small.Source());
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
        DrawCell(ctx, cell::cf_laser.Source());
        return;
    }
    uint32_t colour = DrawColor(ctx);
    bool up = phase == kLockedAbove || (phase == kLaunched && vy < 0.0f);
    DrawCellAt(ctx, x, y, 8, 16, cell::cf_laser_beam.Source(), colour);
    if (up) DrawCellAt(ctx, x, y - 12.0f, 8, 8, cell::cf_laser_head.Source(), colour);
    else DrawCellAt(ctx, x, y + 12.0f, 8, 8, cell::cf_laser_head.Source(false, true), colour);
}

static ClassRegistration cfShots({
    ClassOf<S_CF_NormalShot>(),
    ClassOf<S_CF_SinShot>(),
    ClassOf<S_CF_Barrier>(),
    ClassOf<S_CF_HomingLaser>(),
});
