#include "game/player/shots_gradius.h"

#include "framework/core/angle.h"
#include "game/world/cells.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

class S_GradiusShot : public ShotOf<type_id::S_GradiusShot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
};

class S_GradiusMissile final : public ShotOf<type_id::S_GradiusMissile, CellShot> {
public:
    using ShotOf::ShotOf;
};

// Changes its look below 8 hp.
class S_GradiusShield : public ShotOf<type_id::S_GradiusShield> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
};

// Widens at ages 6 and 12.
class S_GradiusRipple : public ShotOf<type_id::S_GradiusRipple> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    int32_t frame = 0;
};

class S_GradiusForceField final : public ShotOf<type_id::S_GradiusForceField, CellShot> {
public:
    using ShotOf::ShotOf;
};

constexpr int kFireButton = 4;  // the game counter of the first fire button

// The heading ranges of the missile's frames; 4-7 mirror 0-3.
struct HeadingRange {
    int32_t low, high, frame;
};
constexpr HeadingRange kMissileHeadings[] = {
    {49152, 55341, 0}, {55341, 59346, 1}, {59346, 63351, 2}, {63351, 65353, 3},
    {42962, 49152, 4}, {38957, 42962, 5}, {34952, 38957, 6}, {32768, 34952, 7},
};

// The ripple's three widths.
constexpr SheetCell kRipples[3] = {cell::ripple_small, cell::ripple_middle, cell::ripple_large};

}  // namespace

int32_t GradiusMissileFrame(int32_t angle) {
    for (const HeadingRange& r : kMissileHeadings) {
        if (angle > r.low && angle <= r.high) return r.frame;
    }
    return -1;
}

void S_GradiusShot::Draw(ObjectController* ctx) {
    if (score == 0 || score == 1) DrawCell(ctx, cell::gradius_shots.Frame(score).Source());
    else DrawCell(ctx, cell::gradius_double.Source());
}

void S_GradiusLaser::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (owner != nullptr) {
        x = owner->GetX() - 4.0f + owner->vx;
        y += owner->GetY() - lastOwnerY;
        lastOwnerY = owner->GetY();
    }
    // The game copy of the button, which a replay records, not the live key.
    if (age == 20 || (age > 2 && ctx->input.game[kFireButton] == 0)) attached = 0;
    if (attached != 0 && y >= 8.0f) height = static_cast<int32_t>(static_cast<float>(height) - 2.0f * vy);
    else if (attached == 0 && y < 8.0f) height -= 16;
    if (height < 4) Kill();
    hitHalfHeight = height / 2;
    while (y < 8.0f) {
        height -= 8;
        y += 8.0f;
    }
    age += 1;
}

void S_GradiusLaser::Move(ObjectController*) {
    StepMovement();
    if (x < -4.0f) x = -4.0f;
    if (x > 251.0f) x = 251.0f;
    if (y < 0.0f || y > 240.0f) Vanish();
}

void S_GradiusLaser::Draw(ObjectController* ctx) { DrawCell(ctx, cell::gradius_laser.Source()); }

void S_GradiusShield::Draw(ObjectController* ctx) {
    // Four frames from the two rows of the shield's cell: each shown plain, then mirrored; the
    // worn shield takes the right-hand column.
    int32_t frame = (age / 4) % 4;
    DrawCell(ctx, cell::gradius_shield.Frame((hp < 8.0f ? 1 : 0) + 2 * (frame % 2)).Source(frame >= 2));
}

void S_Gradius2Missile::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    angle = static_cast<int32_t>(AngleAtan2(vx, vy));
    int32_t f = GradiusMissileFrame(angle);
    if (f >= 0) frame = f;
    age += 1;
}

void S_Gradius2Missile::Draw(ObjectController* ctx) {
    DrawCell(ctx, cell::gradius_turning_missile.Frame(frame % 4).Source(frame > 3));
}

void S_GradiusRipple::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (age == 6) {
        frame = 1;
        width = 24;
        hitHalfWidth = 12;
    } else if (age == 12) {
        frame = 2;
        width = 32;
        hitHalfWidth = 16;
    }
    age += 1;
}

void S_GradiusRipple::Draw(ObjectController* ctx) {
    DrawCell(ctx, kRipples[frame].U(), kRipples[frame].V(), static_cast<float>(width), kRipples[frame].H());
}

static ClassRegistration gradiusShots({
    ClassOf<S_GradiusShot>(),
    ClassOf<S_GradiusLaser>(),
    ClassOf<S_GradiusMissile>(),
    ClassOf<S_GradiusShield>(),
    ClassOf<S_Gradius2Missile>(),
    ClassOf<S_GradiusRipple>(),
    ClassOf<S_GradiusForceField>(),
});
