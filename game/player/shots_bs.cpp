// The BS weapons (type ids 252-255): a shot whose width and power grow with its charge level
// (the angle field), and the head, body segments and blasts of a charged shot that its
// controller effect assembles, holds and moves.

#include <algorithm>
#include <cstdint>

#include "game/player/shot.h"
#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/type_table.h"

namespace {

class S_BS_Shot : public ShotOf<type_id::S_BS_Shot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// The charged shot's parts never move themselves: they vanish only above -16 or below 240.
class HeldShot : public Shot {
public:
    void Move(ObjectController* ctx) override;

protected:
    using Shot::Shot;
};

class S_BS_ChargeHead : public ShotOf<type_id::S_BS_ChargeHead, HeldShot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
};

// Form 0-4 (angle field) picks its look.
class S_BS_ChargeBody : public ShotOf<type_id::S_BS_ChargeBody, HeldShot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
};

// Lives 12 frames and passes every hit on to its owner.
class S_BS_ChargeBlast : public ShotOf<type_id::S_BS_ChargeBlast, HeldShot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    void Damage(ObjectController* ctx, float amount) override;
};

// The blast's quarters by (age - 1) / 2: quarter size and the cell whose top-left corner gives
// the quarter; a single cell at first.
struct BlastStep {
    float q;
    SheetCell quarter;
};
constexpr BlastStep kBlastSteps[6] = {{8, cell::gc_shot.Frame(0)},  {8, cell::gc_shot.Frame(1)},
                                      {16, cell::gc_ring.Frame(0)}, {16, cell::gc_ring.Frame(1)},
                                      {24, cell::kame_pearl},       {24, cell::force_field}};

}  // namespace

void S_BS_Shot::Run(ObjectController* ctx) {
    if (age == 0) {
        InheritSideOnFirstFrame(ctx);
        if (angle != 0) {
            width = 24;
            hitHalfWidth = 12;
            power = static_cast<float>(angle) * 0.4f;
        }
    }
    age += 1;
}

void S_BS_Shot::Draw(ObjectController* ctx) {
    int32_t row = (age / 2 % 2) * 8;
    if (angle == 0) {
        DrawCell(ctx, cell::sa_laser_tail.U(8), cell::sa_laser_tail.V(row), 16, 8);
        return;
    }
    uint32_t colour = DrawColor(ctx);
    DrawCellAt(ctx, x - 8.0f, y, 16, 8, static_cast<float>((angle + 5) * 16), static_cast<float>(row + 32), 16, 8, colour);
    DrawCellAt(ctx, x + 8.0f, y, 16, 8, static_cast<float>((angle + 6) * 16), static_cast<float>(row + 32), -16, 8, colour);
}

void HeldShot::Move(ObjectController*) {
    if (y < -16.0f || y > 240.0f) Vanish();
}

// Its quarter is the top-left corner of the force field's second frame.
void S_BS_ChargeHead::Draw(ObjectController* ctx) {
    const SheetCell quarter = cell::force_field.Frame(1);
    DrawQuarters(gameSprites.shot, x, y, 16, quarter.U(), quarter.V(), DrawColor(ctx));
}

void S_BS_ChargeBody::Draw(ObjectController* ctx) {
    uint32_t colour = DrawColor(ctx);
    switch (angle) {
        case 0:
            DrawCellAt(ctx, x, y, 16, 16, cell::charge_blast.Source(), colour);
            break;
        case 1:
            DrawCell(ctx, cell::charge_body.Frame(0).Source());
            break;
        case 2:
            DrawCellAt(ctx, x - 8.0f, y, 16, 8, cell::laser_bolt.Frame(1).Source(), colour);
            DrawCellAt(ctx, x + 8.0f, y, 16, 8, cell::laser_bolt.Frame(1).Source(true), colour);
            break;
        case 3:
            DrawCellAt(ctx, x, y, 16, 8, cell::laser_bolt.Frame(0).Source(), colour);
            break;
        default:
            DrawCellAt(ctx, x, y, 8, 8, cell::charge_body.Frame(1).Source(), colour);
            break;
    }
}

void S_BS_ChargeBlast::Run(ObjectController*) {
    if (age > 11) Kill();
    age += 1;
}

void S_BS_ChargeBlast::Damage(ObjectController* ctx, float amount) {
    Object::Damage(ctx, amount);
    if (owner != nullptr) owner->Damage(ctx, amount);
}

void S_BS_ChargeBlast::Draw(ObjectController* ctx) {
    int32_t step = std::min(std::max((age - 1) / 2, 0), 5);
    const BlastStep& b = kBlastSteps[step];
    if (step == 0) DrawCellAt(ctx, x, y, 8, 8, b.quarter.Source(), DrawColor(ctx));
    else DrawQuarters(gameSprites.shot, x, y, b.q, b.quarter.U(), b.quarter.V(), DrawColor(ctx));
}

static ClassRegistration bsShots({
    ClassOf<S_BS_Shot>(),
    ClassOf<S_BS_ChargeHead>(),
    ClassOf<S_BS_ChargeBody>(),
    ClassOf<S_BS_ChargeBlast>(),
});
