#include "game/player/shots_recca.h"

#include "framework/core/angle.h"
#include "framework/graphics/sprite.h"
#include "game/player/pc.h"
#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

// Tilt = trunc(vx / 2) picks the cell.
class S_ReccaV : public ShotOf<type_id::S_ReccaV> {
public:
    S_ReccaV(float x, float y, float vx, float vy, float ax, float ay);
    void Draw(ObjectController* ctx) override;
    int32_t tilt;
};

// Direction 0 up, 1 up-slanted, 2 sideways, 3 down-slanted, 4 down, from the velocity's signs.
class S_ReccaF : public ShotOf<type_id::S_ReccaF> {
public:
    S_ReccaF(float x, float y, float vx, float vy, float ax, float ay);
    void Draw(ObjectController* ctx) override;
    int32_t direction;
};

class S_ReccaB : public ShotOf<type_id::S_ReccaB> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
};

// Homes on the nearest enemy, turning faster and flying faster with its level.
class S_ReccaH : public ShotOf<type_id::S_ReccaH> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// The laser's look between two frames' positions: it passes the damage it takes to its laser.
class S_ReccaL_Trace : public ShotOf<type_id::S_ReccaL_Trace> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;  // no removal at the field edge
    void Damage(ObjectController* ctx, float amount) override;
    void Detach() override {}
    void ForgetObject(Object* gone) override { Object::ForgetObject(gone); }
};

class S_ReccaOptionF : public ShotOf<type_id::S_ReccaOptionF, ReccaOption> {
public:
    using ShotOf::ShotOf;

protected:
    void Steer(ObjectController* ctx, float ox, float oy) override;
};

class S_ReccaOptionS : public ShotOf<type_id::S_ReccaOptionS, ReccaOption> {
public:
    using ShotOf::ShotOf;
    void Move(ObjectController*) override;  // the movement modes, no removal

protected:
    void Steer(ObjectController* ctx, float ox, float oy) override;
    void SteerAlone(ObjectController* ctx) override;
};

class S_ReccaOptionB : public ShotOf<type_id::S_ReccaOptionB, ReccaOption> {
public:
    using ShotOf::ShotOf;

protected:
    void Steer(ObjectController* ctx, float ox, float oy) override;
};

class S_ReccaOptionShot : public ShotOf<type_id::S_ReccaOptionShot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
};

// Sized by its level; its character places it.
class S_ReccaBarrier : public ShotOf<type_id::S_ReccaBarrier> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController*) override {}
    void Run(ObjectController* ctx) override;
};

// The bomb's small quarters lie side by side in one cell: 8 x 8 at 0, 16 x 16 at 8, the spark at 24.
constexpr int32_t kBombMiddleU = 8, kBombSparkU = 24;

constexpr OptionCellRange R(int32_t low, int32_t high, int8_t frame, bool mirrorX, bool mirrorY) {
    return {low, high, frame, mirrorX, mirrorY};
}

constexpr int32_t kBomberFrames[6] = {0, 1, 2, 3, 2, 1};

// The laser's 8 x 8 cell: straight up below level 3; turned, level 3 (up and right) as drawn
// and level 4 (up and left) mirrored.
CellSource LaserCellOfLevel(int32_t level) {
    if (level == 3) return cell::recca_laser.Frame(1).Source();
    if (level == 4) return cell::recca_laser.Frame(1).Source(true);
    return cell::recca_laser.Frame(0).Source();
}

}  // namespace

const OptionCellRange kOptionCells[kOptionCellRanges] = {
    //  low    high  frame mirrorX mirrorY
    R(47104, 51200, 0, false, false),
    R(51108, 55204, 1, false, false),
    R(55296, 59392, 2, false, false),
    R(59300, 63396, 3, false, false),
    R(-2048,  2048, 4, false, false),
    R( 1956,  6052, 3, false, true),
    R( 6144, 10240, 2, false, true),
    R(10148, 14244, 1, false, true),
    R(14336, 18432, 0, false, true),
    R(18340, 22436, 1, true,  true),
    R(22528, 26624, 2, true,  true),
    R(26532, 30628, 3, true,  true),
    R(30720, 34816, 4, true,  false),
    R(34724, 38820, 3, true,  false),
    R(38912, 43008, 2, true,  false),
    R(44737, 48833, 1, true,  false),
};

int32_t OptionCellFor(int32_t angle) {
    for (int32_t i = 0; i < kOptionCellRanges; ++i) {
        if (angle > kOptionCells[i].low && angle <= kOptionCells[i].high) return i;
    }
    return -1;
}

S_ReccaV::S_ReccaV(float px, float py, float pvx, float pvy, float pax, float pay)
    : ShotOf(px, py, pvx, pvy, pax, pay), tilt(static_cast<int32_t>(pvx * 0.5f)) {}

void S_ReccaV::Draw(ObjectController* ctx) {
    // The tilted cell at tilt 1; steeper tilts read the 16-texel steps to its right.
    if (tilt == 0) DrawCellAt(ctx, x, y, 8, 16, cell::recca_straight.Source(), DrawColor(ctx));
    else DrawCell(ctx, cell::recca_tilted.Shifted(16 * ((tilt > 0 ? tilt : -tilt) - 1), 0).Source(tilt < 0));
}

S_ReccaF::S_ReccaF(float px, float py, float pvx, float pvy, float pax, float pay)
    : ShotOf(px, py, pvx, pvy, pax, pay) {
    if (pvy < 0.0f) direction = pvx == 0.0f ? 0 : 1;
    else if (pvy == 0.0f) direction = 2;
    else direction = pvx == 0.0f ? 4 : 3;
}

void S_ReccaF::Draw(ObjectController* ctx) {
    uint32_t colour = DrawColor(ctx);
    if (direction == 0) {
        DrawCellAt(ctx, x, y, 8, 16, cell::recca_forward.Source(), colour);
        return;
    }
    // The other directions read 8-texel columns of the option's frames, from its third frame on.
    const SheetCell column = cell::recca_option.Shifted(32 + 8 * direction, 0);
    const float u = column.U(vx < 0.0f ? 8 : 0);
    DrawCellAt(ctx, x, y, 8, 16, u, column.V(), vx < 0.0f ? -8.0f : 8.0f, 16.0f, colour);
}

void S_ReccaB::Draw(ObjectController* ctx) { DrawCellAt(ctx, x, y, 8, 16, cell::recca_rear.Source(), DrawColor(ctx)); }

void S_ReccaH::Run(ObjectController* ctx) {
    if (age == 0) {
        InheritSideOnFirstFrame(ctx);
        if (score == 0) {
            speed = 8.0f;
            width = height = 8;
            hitHalfWidth = hitHalfHeight = 6;
        } else if (score == 1 || score == 2) {
            speed = 12.0f;
            width = height = 16;
            hitHalfWidth = hitHalfHeight = 8;
        } else if (score == 3) {
            speed = 16.0f;
            width = height = 16;
            hitHalfWidth = hitHalfHeight = 12;
        }
    }
    Object* enemy = ctx->FindNearestEnemy(x, y);
    int32_t target = enemy != nullptr ? static_cast<int32_t>(AngleAtan2(enemy->GetX() - x, enemy->GetY() - y)) : angle;
    TurnToward(target, DegreesToBinaryAngle(2 * score + 5));
    age += 1;
}

void S_ReccaH::Draw(ObjectController* ctx) {
    if (score == 0) DrawCell(ctx, cell::recca_bomb_spark.Source());
    else DrawCell(ctx, cell::recca_barrier_level3.Source());
}

void S_ReccaL::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if ((score == 1 || score == 2) && ctx->FindEnemyAbove(x, y, 16.0f, false) == nullptr &&
        ctx->FindEnemyOnDiagonal(x, y, 16.0f, score == 2) != nullptr) {
        vy = -11.3f;
        vx = score == 1 ? 11.3f : -11.3f;
        score += 2;
    }
    if (link != nullptr) link->Kill();
    link = ctx->CreateObject(type_id::S_ReccaL_Trace, x + vx / 2.0f, y + vy / 2.0f, 0.0f, 0.0f, 0.0f, 0.0f, self);
    if (link != nullptr) link->SetScore(score);
    age += 1;
}

void S_ReccaL::Detach() {
    if (owner != nullptr) owner->ForgetObject(self);
    if (link != nullptr) {
        link->ForgetObject(self);
        link->Vanish();
    }
}

void S_ReccaL::Draw(ObjectController* ctx) { DrawCell(ctx, LaserCellOfLevel(score)); }

void S_ReccaL_Trace::Draw(ObjectController* ctx) { DrawCell(ctx, LaserCellOfLevel(score)); }

void S_ReccaL_Trace::Move(ObjectController*) {
    if (moveMode >= 0 && moveMode <= 2) StepMovement();
}

void S_ReccaL_Trace::Damage(ObjectController* ctx, float amount) {
    hp -= amount;
    if (owner != nullptr) owner->Damage(ctx, amount);
}

void ReccaOption::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    hp = maxHp;
    if (owner != nullptr) Steer(ctx, owner->GetX(), owner->GetY());
    else SteerAlone(ctx);
    age += 1;
}

void ReccaOption::Draw(ObjectController* ctx) {
    int32_t matched = OptionCellFor(angle);
    if (matched >= 0) cell = matched;
    if (cell < 0) return;
    const OptionCellRange& c = kOptionCells[cell];
    DrawCell(ctx, cell::recca_option.Frame(c.frame).Source(c.mirrorX, c.mirrorY));
}

void S_ReccaOptionF::Steer(ObjectController*, float ox, float oy) {
    x = ox + static_cast<float>(32 * score - 16);
    y = oy + 4.0f;
    if (age == 0) angle = DegreesToBinaryAngle(257 + 26 * score);
}

void S_ReccaOptionB::Steer(ObjectController*, float ox, float oy) {
    x = ox + static_cast<float>(32 * score - 16);
    y = oy + 4.0f;
    if (age == 0) angle = DegreesToBinaryAngle(105 - 30 * score);
}

void S_ReccaOptionR::Steer(ObjectController*, float ox, float oy) {
    int32_t a = DegreesToBinaryAngle((15 * score + age) * 12 % 360);
    angle = a;
    x = ox + 16.0f * AngleSin(16384 - a);
    y = oy + 16.0f * AngleCos(16384 - a);
}

void S_ReccaOptionS::SteerAlone(ObjectController* ctx) {
    Object* enemy = ctx->FindNearestEnemy(x, y);
    int32_t target = enemy != nullptr ? static_cast<int32_t>(AngleAtan2(enemy->GetX() - x, enemy->GetY() - y)) : 49152;
    TurnToward(target, 910);
}

void S_ReccaOptionS::Steer(ObjectController* ctx, float ox, float oy) {
    SteerAlone(ctx);
    int32_t o = DegreesToBinaryAngle(180 * score + 90);
    x = ox + 16.0f * AngleCos(angle - o);
    y = oy + 16.0f * AngleSin(angle - o);
}

void S_ReccaOptionS::Move(ObjectController*) {
    if (moveMode >= 0 && moveMode <= 2) StepMovement();
}

void S_ReccaOptionC::SteerAlone(ObjectController* ctx) {
    const int32_t* held = ctx->input.game;
    bool up = held[0] > 0, down = held[1] > 0, left = held[2] > 0, right = held[3] > 0;
    if (up && left) aim = 8192;
    else if (up && right) aim = 24576;
    else if (down && right) aim = 40960;
    else if (down && left) aim = 57344;
    else if (left) aim = 0;
    else if (up) aim = 16384;
    else if (right) aim = 32768;
    else if (down) aim = 49152;
    if (angle < aim) angle += 65535;
    if (angle >= aim + 1820 && angle <= aim + 63715) angle += angle > aim + 32768 ? 2730 : -2730;
    else angle = aim;
    angle %= 65535;
}

void S_ReccaOptionC::Steer(ObjectController* ctx, float ox, float oy) {
    SteerAlone(ctx);
    x = ox + 16.0f * AngleSin(32768 * score - angle);
    y = oy + 16.0f * AngleCos(32768 * score - angle);
}

void S_ReccaOptionShot::Draw(ObjectController* ctx) { DrawCell(ctx, cell::recca_option_shot.Source()); }

void S_ReccaBomber::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    frame = kBomberFrames[(age / 3) % 6];
    Damage(ctx, 8.0f);
    age += 1;
}

void S_ReccaBomber::Draw(ObjectController* ctx) {
    if (age % 3 == 1) return;
    uint32_t colour = DrawColor(ctx);
    const SheetCell& small = cell::recca_bomb_small;
    switch (frame) {
        case 3:
            DrawQuarters(gameSprites.effect1, x, y, 64, cell::recca_bomb_large.U(), cell::recca_bomb_large.V(), colour);
            break;
        case 2:
            DrawQuarters(gameSprites.shot, x, y, 32, cell::recca_bomb.U(), cell::recca_bomb.V(), colour);
            // Sparks spiral out from radius 16 to 46, one every 2 units.
            for (int32_t k = 0; k < 16; ++k) {
                int32_t a = k * 4096 + age * 1024;
                float r = static_cast<float>(16 + 2 * k);
                DrawCellAt(ctx, x + r * AngleCos(a), y + r * AngleSin(a), 8, 8, small.U(kBombSparkU), small.V(), 8, 8,
                           colour);
            }
            break;
        case 1:
            DrawQuarters(gameSprites.shot, x, y, 16, small.U(kBombMiddleU), small.V(), colour);
            break;
        default:
            DrawQuarters(gameSprites.shot, x, y, 8, small.U(), small.V(), colour);
            break;
    }
}

void S_ReccaBarrier::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (score == 1) {
        width = height = 8;
        hitHalfWidth = hitHalfHeight = 4;
    } else if (score == 2 || score == 3) {
        width = height = 16;
        hitHalfWidth = hitHalfHeight = 8;
    } else if (score == 4) {
        width = height = 32;
        hitHalfWidth = hitHalfHeight = 16;
    }
    hp = maxHp;
    age += 1;
}

void S_ReccaBarrier::Draw(ObjectController* ctx) {
    uint32_t colour = DrawColor(ctx);
    if (score <= 1) {
        DrawCell(ctx, cell::recca_bomb_spark.Source());
    } else if (score == 2) {
        DrawCell(ctx, cell::recca_barrier_level2.Source());
    } else if (score == 3) {
        DrawCell(ctx, cell::recca_barrier_level3.Source());
    } else {
        // Top quarters from the level 3 barrier and the bomb's top-left quarter, the bottom ones
        // the same flipped.
        for (int k = 0; k < 4; ++k) {
            const SheetCell& quarter = k % 2 == 0 ? cell::recca_barrier_level3 : cell::recca_bomb;
            bool bottom = k >= 2;
            DrawCellAt(ctx, x - 8.0f + 16.0f * static_cast<float>(k % 2), bottom ? y + 8.0f : y - 8.0f, 16, 16,
                       quarter.U(), quarter.V(bottom ? 16 : 0), 16, bottom ? -16.0f : 16.0f, colour);
        }
    }
}

static ClassRegistration reccaShots({
    ClassOf<S_ReccaV>(),
    ClassOf<S_ReccaF>(),
    ClassOf<S_ReccaB>(),
    ClassOf<S_ReccaH>(),
    ClassOf<S_ReccaL>(),
    ClassOf<S_ReccaL_Trace>(),
    ClassOf<S_ReccaOptionF>(),
    ClassOf<S_ReccaOptionS>(),
    ClassOf<S_ReccaOptionR>(),
    ClassOf<S_ReccaOptionB>(),
    ClassOf<S_ReccaOptionC>(),
    ClassOf<S_ReccaOptionShot>(),
    ClassOf<S_ReccaBomber>(),
    ClassOf<S_ReccaBarrier>(),
});
