#include "game/player/shots_rockman.h"

#include <cmath>

#include "framework/core/angle.h"
#include "game/world/cells.h"
#include "game/world/factory.h"
#include "game/world/type_table.h"

namespace {

// The cells of a weapon drawn from "shot.bmp": offsets from the centre and source rectangles.
struct PieceCell {
    float dx, dy;  // the destination's top-left from (x, y)
    int16_t dw, dh;
    CellSource source;
};

class S_Rockman_RockBuster : public ShotOf<type_id::S_Rockman_RockBuster> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
};

// Pieces killed once older than their limit; their effect sets their side.
class RockmanPiece : public Shot {
public:
    void Run(ObjectController* ctx) override;
    void Draw(ObjectController* ctx) override;
    virtual PieceCell Cell() const = 0;  // what it draws this frame

protected:
    RockmanPiece(int32_t typeId, float x, float y, float vx, float vy, float ax, float ay, int32_t limit)
        : Shot(typeId, x, y, vx, vy, ax, ay), ageLimit(limit) {}
    int32_t ageLimit;
};

class S_Rockman_BombBlast final : public ShotOf<type_id::S_Rockman_BombBlast, RockmanPiece> {
public:
    S_Rockman_BombBlast(float x, float y, float vx, float vy, float ax, float ay)
        : ShotOf(x, y, vx, vy, ax, ay, 32) {}
    PieceCell Cell() const override;
};

class S_Rockman_Elec_Side final : public ShotOf<type_id::S_Rockman_Elec_Side, RockmanPiece> {
public:
    S_Rockman_Elec_Side(float x, float y, float vx, float vy, float ax, float ay)
        : ShotOf(x, y, vx, vy, ax, ay, 2) {}
    PieceCell Cell() const override;
};

// Variants 0-4 from its effect.
class S_Rockman_Elec_Front final : public ShotOf<type_id::S_Rockman_Elec_Front, RockmanPiece> {
public:
    S_Rockman_Elec_Front(float x, float y, float vx, float vy, float ax, float ay)
        : ShotOf(x, y, vx, vy, ax, ay, 4) {}
    PieceCell Cell() const override;
};

class S_Rockman_Guts : public ShotOf<type_id::S_Rockman_Guts> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;  // a 2 x 2 block of one cell
};

class S_Rockman_Ice : public ShotOf<type_id::S_Rockman_Ice> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
};

// Curves, then homes on its thrower, who catches it from age 110.
class S_Rockman_Cut : public ShotOf<type_id::S_Rockman_Cut> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

class S_Rockman_Fire : public ShotOf<type_id::S_Rockman_Fire> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
};

// Circles its owner at radius 16 every 8 frames; gone after 65.
class S_Rockman_Fire_Option : public ShotOf<type_id::S_Rockman_Fire_Option> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Undrawn; killed the frame its maker goes.
class S_InvisibleShot : public ShotOf<type_id::S_InvisibleShot, KeptShot> {
public:
    using ShotOf::ShotOf;
    void ForgetObject(Object* gone) override;
};

// The front spark's five variants.
constexpr PieceCell kElecFront[5] = {
    {-8, -8, 16, 16, 112, 176, 16, 16},  {-8, -8, 16, 16, 128, 176, -16, 16}, {-8, -8, 16, 16, 128, 192, -16, -16},
    {-8, -8, 16, 16, 112, 192, 16, -16}, {-8, -8, 16, 16, 128, 176, 16, 16},
};

// The blade's four frames: the cell's two, the first flipped and the second mirrored.
constexpr CellSource kCutCells[4] = {cell::rm_fire_shield.Frame(0).Source(), cell::rm_fire_shield.Frame(1).Source(),
                                     cell::rm_fire_shield.Frame(0).Source(false, true),
                                     cell::rm_fire_shield.Frame(1).Source(true)};

}  // namespace

void S_Rockman_RockBuster::Draw(ObjectController* ctx) { DrawCell(ctx, cell::rm_buster.Source()); }

void RockmanPiece::Run(ObjectController*) {
    if (age > ageLimit) Kill();
    age += 1;
}

void RockmanPiece::Draw(ObjectController* ctx) {
    PieceCell c = Cell();
    DrawCellAt(ctx, x + c.dx + static_cast<float>(c.dw / 2), y + c.dy + static_cast<float>(c.dh / 2), c.dw, c.dh,
               c.source, DrawColor(ctx));
}

PieceCell S_Rockman_BombBlast::Cell() const {
    if ((age / 4) % 2 == 0) return {-4, -4, 8, 8, cell::rm_bomb_piece.Source()};
    return {-8, -8, 16, 16, cell::rm_sparks.Source()};
}

PieceCell S_Rockman_Elec_Side::Cell() const {
    return {-8, -8, 16, 16, cell::rm_guts.Frame(angle == 0 ? 0 : 1).Source()};
}

PieceCell S_Rockman_Elec_Front::Cell() const { return kElecFront[angle >= 0 && angle <= 4 ? angle : 0]; }

void S_Rockman_Guts::Draw(ObjectController* ctx) {
    uint32_t colour = DrawColor(ctx);
    for (int k = 0; k < 4; ++k) {
        DrawCellAt(ctx, x - 4.0f + 8.0f * static_cast<float>(k % 2), y - 4.0f + 8.0f * static_cast<float>(k / 2), 8, 8,
                   cell::rm_ice.Source(), colour);
    }
}

void S_Rockman_Ice::Draw(ObjectController* ctx) { DrawCell(ctx, cell::rm_blade.Source()); }

void S_Rockman_Cut::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (age >= 20 && age <= 109) angle += 546;
    if (age >= 120 && age <= 599) {
        int32_t target = owner != nullptr
                             ? static_cast<int32_t>(AngleAtan2(owner->GetX() - x, owner->GetY() - y))
                             : angle;
        if (target < angle) target += 65535;
        int32_t off = target - angle;
        if (off > 5461 && off < 60074) angle += 546;
        angle %= 65535;
    }
    if (age >= 110 && owner != nullptr && std::abs(owner->GetX() - x) < 8.0f && std::abs(owner->GetY() - y) < 8.0f) {
        Kill();
    }
    age += 1;
}

void S_Rockman_Cut::Draw(ObjectController* ctx) {
    DrawCell(ctx, kCutCells[(age / 8) % 4]);
}

void S_Rockman_Fire::Draw(ObjectController* ctx) { DrawCell(ctx, static_cast<float>((age % 3 + 6) * 16), 160, 16, 16); }

void S_Rockman_Fire_Option::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (owner != nullptr) {
        int32_t a = static_cast<int32_t>(static_cast<int64_t>(age + 6) * 45 * 65536 / 360);
        x = owner->GetX() + AngleCos(a) * 16.0f;
        y = owner->GetY() + AngleSin(a) * 16.0f;
    }
    if (age > 64) Kill();
    age += 1;
}

void S_Rockman_Fire_Option::Draw(ObjectController* ctx) { DrawCell(ctx, cell::rm_shot_ring.Source()); }

void S_InvisibleShot::ForgetObject(Object* gone) {
    if (gone == owner) {
        owner = nullptr;
        Kill();
    }
    if (gone == link) link = nullptr;
}

static ClassRegistration rockmanShots({
    ClassOf<S_Rockman_RockBuster>(),
    ClassOf<S_Rockman_BombBlast>(),
    ClassOf<S_Rockman_Elec_Side>(),
    ClassOf<S_Rockman_Elec_Front>(),
    ClassOf<S_Rockman_Guts>(),
    ClassOf<S_Rockman_Ice>(),
    ClassOf<S_Rockman_Cut>(),
    ClassOf<S_Rockman_Fire>(),
    ClassOf<S_Rockman_Fire_Option>(),
    ClassOf<S_InvisibleShot>(),
});
