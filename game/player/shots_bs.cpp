// The BS weapons (type ids 252-255): a shot whose width and power grow with its charge level
// (the angle field), and the head, body segments and blasts of a charged shot that its
// controller effect assembles, holds and moves.

#include <algorithm>
#include <cstdint>

#include "game/player/shot.h"
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

// The blast's quarters by (age - 1) / 2: quarter size and cell; a single cell at first.
struct BlastStep {
    float q, u, v;
};
constexpr BlastStep kBlastSteps[6] = {{8, 176, 192}, {8, 176, 200}, {16, 184, 192},
                                      {16, 200, 192}, {24, 176, 208}, {24, 200, 208}};

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
    float row = static_cast<float>((age / 2 % 2) * 8);
    if (angle == 0) {
        DrawCell(ctx, 160, row + 240.0f, 16, 8);
        return;
    }
    uint32_t colour = DrawColor(ctx);
    DrawCellAt(ctx, x - 8.0f, y, 16, 8, static_cast<float>((angle + 5) * 16), row + 32.0f, 16, 8, colour);
    DrawCellAt(ctx, x + 8.0f, y, 16, 8, static_cast<float>((angle + 6) * 16), row + 32.0f, -16, 8, colour);
}

void HeldShot::Move(ObjectController*) {
    if (y < -16.0f || y > 240.0f) Vanish();
}

void S_BS_ChargeHead::Draw(ObjectController* ctx) { DrawQuarters(gameSprites.shot, x, y, 16, 224, 208, DrawColor(ctx)); }

void S_BS_ChargeBody::Draw(ObjectController* ctx) {
    uint32_t colour = DrawColor(ctx);
    switch (angle) {
        case 0:
            DrawCellAt(ctx, x, y, 16, 16, 224, 192, 16, 16, colour);
            break;
        case 1:
            DrawCell(ctx, 216, 192, 8, 8);
            break;
        case 2:
            DrawCellAt(ctx, x - 8.0f, y, 16, 8, 240, 200, 16, 8, colour);
            DrawCellAt(ctx, x + 8.0f, y, 16, 8, 256, 200, -16, 8, colour);
            break;
        case 3:
            DrawCellAt(ctx, x, y, 16, 8, 240, 192, 16, 8, colour);
            break;
        default:
            DrawCellAt(ctx, x, y, 8, 8, 216, 200, 8, 8, colour);
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
    if (step == 0) DrawCellAt(ctx, x, y, 8, 8, b.u, b.v, 8, 8, DrawColor(ctx));
    else DrawQuarters(gameSprites.shot, x, y, b.q, b.u, b.v, DrawColor(ctx));
}

static ClassRegistration bsShots({
    ClassOf<S_BS_Shot>(),
    ClassOf<S_BS_ChargeHead>(),
    ClassOf<S_BS_ChargeBody>(),
    ClassOf<S_BS_ChargeBlast>(),
});
