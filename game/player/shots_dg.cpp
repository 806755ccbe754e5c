#include "game/player/shots_dg.h"

#include "framework/core/angle.h"
#include "game/player/shots_recca.h"
#include "framework/graphics/sprite.h"
#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

// Visibility (score): 0 always drawn, 1 every ninth frame, otherwise never; it still hits.
class DGVisibleShot : public Shot {
public:
    void Draw(ObjectController* ctx) override;
    virtual void DrawVisible(ObjectController* ctx) = 0;

protected:
    using Shot::Shot;
};

class S_DG_Shirodama : public ShotOf<type_id::S_DG_Shirodama, DGVisibleShot> {
public:
    using ShotOf::ShotOf;
    void DrawVisible(ObjectController* ctx) override;
};

class S_DG_Laser : public ShotOf<type_id::S_DG_Laser, DGVisibleShot> {
public:
    using ShotOf::ShotOf;
    void DrawVisible(ObjectController* ctx) override;
};

// Variants 0-3 (angle field): 1 and 3 wide, 2 and 3 stronger.
class S_DG_Wave : public ShotOf<type_id::S_DG_Wave, DGVisibleShot> {
public:
    using ShotOf::ShotOf;
    void DrawVisible(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Mode (from the angle field) 1 turns homing at a side edge, 2 homes.
class S_DG_Missile : public ShotOf<type_id::S_DG_Missile, SectorShot> {
public:
    S_DG_Missile(float x, float y, float vx, float vy, float ax, float ay)
        : ShotOf(x, y, vx, vy, ax, ay, 1.0f, 0.0f, 0.0f) {}
    void Run(ObjectController* ctx) override;
    int32_t mode = 0;
};

// Sits on its owner; its max hp picks its row.
class S_DG_Arm : public ShotOf<type_id::S_DG_Arm> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// The missile's cells by sector: up, the up-right three, right; down-right three and down
// (flipped); down-left three (both flipped); left and the up-left three (mirrored).
constexpr SectorCell kMissileCells[16] = {
    {0, 160, 16, 16},    {16, 160, 16, 16},   {32, 160, 16, 16},   {48, 160, 16, 16},
    {64, 160, 16, 16},   {48, 176, 16, -16},  {32, 176, 16, -16},  {16, 176, 16, -16},
    {0, 176, 16, -16},   {32, 176, -16, -16}, {48, 176, -16, -16}, {64, 176, -16, -16},
    {80, 160, -16, 16},  {64, 160, -16, 16},  {48, 160, -16, 16},  {32, 160, -16, 16},
};

// Turns a heading by 10 degrees toward the aim, or holds within it; both round the wrap at 65535.
int32_t TurnTenDegrees(int32_t heading, int32_t aim) {
    if (aim < heading) aim += 65535;
    int32_t d = aim - heading;
    if (d > 1820 && d < 32768) heading += 1820;
    else if (d > 32768 && d < 63715) heading += 63715;
    return heading % 65535;
}

}  // namespace

SectorCell DGMissileCell(int32_t sector) { return kMissileCells[sector & 15]; }

void SectorShot::Draw(ObjectController* ctx) {
    // The same sixteen ranges as the option sprite's.
    int32_t matched = OptionCellFor(angle);
    if (matched >= 0) sector = matched;
    if (sector < 0) return;
    SectorCell c = kMissileCells[sector];
    DrawCell(ctx, c.u * cellScale + cellDu, c.v * cellScale + cellDv, c.w * cellScale, c.h * cellScale);
}

void DGVisibleShot::Draw(ObjectController* ctx) {
    if (score == 0 || (score == 1 && age % 9 == 0)) DrawVisible(ctx);
}

void S_DG_Shirodama::DrawVisible(ObjectController* ctx) {
    DrawCell(ctx, cell::bm_bomb.Frame(age % 2).Source((age / 2) % 2 != 0));
}

void S_DG_Laser::DrawVisible(ObjectController* ctx) {
    uint32_t colour = DrawColor(ctx);
    // The head, then the beam's upper and lower halves stretched into the body and the tail.
    const SheetCell& beam = cell::hsg_beam;
    DrawCellAt(ctx, x, y - 20.0f, 8, 8, cell::bh_shot.Source(), colour);
    DrawCellAt(ctx, x, y, 8, 32, beam.U(), beam.V(), 8, 4, colour);
    DrawCellAt(ctx, x, y + 20.0f, 8, 8, beam.U(), beam.V(4), 8, 4, colour);
}

void S_DG_Wave::Run(ObjectController*) {
    if (age == 0) {
        if (angle == 1 || angle == 3) {
            width = 64;
            height = 24;
            hitHalfWidth = 32;
            hitHalfHeight = 12;
        }
        if (angle == 2 || angle == 3) power = 0.12f;
    }
    hp = maxHp;
    age += 1;
}

void S_DG_Wave::DrawVisible(ObjectController* ctx) {
    int32_t f = (age / 2) % 4;
    int32_t v = angle;
    if (v % 2 == 0) {
        // Frames v and v + 1 of the wave, then the same mirrored.
        DrawCell(ctx, cell::dogma_wave.Shifted(32 * (v + f % 2), 0).Source(f >= 2));
    } else {
        float x0 = static_cast<float>((v / 2) * 64);
        const float cells[4][3] = {{x0, 208, 64}, {x0, 232, 64}, {x0 + 64.0f, 208, -64}, {x0 + 64.0f, 232, -64}};
        DrawCell(ctx, cells[f][0], cells[f][1], cells[f][2], 24);
    }
}

void S_DG_Missile::Run(ObjectController* ctx) {
    if (age == 0) {
        InheritSideOnFirstFrame(ctx);
        mode = angle;
    }
    if (mode == 2) {
        Object* enemy = ctx->FindNearestEnemy(x, y);
        int32_t aim = enemy != nullptr ? static_cast<int32_t>(AngleAtan2(enemy->GetX() - x, enemy->GetY() - y)) : 49152;
        angle = TurnTenDegrees(angle, aim);
    } else {
        angle = static_cast<int32_t>(AngleAtan2(vx, vy));
    }
    if (mode == 1 && (x < 8.0f || x > 248.0f)) {
        speed = 8.0f;
        angle = 49152;
        mode = 2;
        moveMode = 1;
    }
    age += 1;
}

void S_DG_Arm::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (owner != nullptr) {
        x = owner->GetX();
        y = owner->GetY();
    }
    age += 1;
}

void S_DG_Arm::Draw(ObjectController* ctx) {
    const float dst[4] = {x - static_cast<float>(width / 2), y - static_cast<float>(height / 2),
                          static_cast<float>(width), static_cast<float>(height)};
    const SheetCell frame = cell::dg_arm.Frame((age / 4) % 4);
    const float src[4] = {frame.U(), (maxHp - 3.0f) * 32.0f + frame.V(), frame.W(), frame.H()};
    ZethSprite::DrawRect(gameSprites.effect2, dst, 32767.0f, src, DrawColor(ctx), 1);
}

static ClassRegistration dgShots({
    ClassOf<S_DG_Shirodama>(),
    ClassOf<S_DG_Laser>(),
    ClassOf<S_DG_Wave>(),
    ClassOf<S_DG_Missile>(),
    ClassOf<S_DG_Arm>(),
});
