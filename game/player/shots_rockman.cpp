#include "game/player/shots_rockman.h"

#include <cmath>

#include "framework/core/angle.h"
#include "game/world/factory.h"

namespace {

// The front spark's five variants.
constexpr PieceCell kElecFront[5] = {
    {-8, -8, 16, 16, 112, 176, 16, 16},  {-8, -8, 16, 16, 128, 176, -16, 16}, {-8, -8, 16, 16, 128, 192, -16, -16},
    {-8, -8, 16, 16, 112, 192, 16, -16}, {-8, -8, 16, 16, 128, 176, 16, 16},
};

// The blade's four frames.
constexpr float kCutCells[4][4] = {{144, 160, 16, 16}, {160, 160, 16, 16}, {144, 176, 16, -16}, {176, 160, -16, 16}};

}  // namespace

void S_Rockman_RockBuster::Draw(ObjectController* ctx) { DrawCell(ctx, 184, 144, 8, 8); }

void RockmanPiece::Run(ObjectController*) {
    if (age > ageLimit) Kill();
    age += 1;
}

void RockmanPiece::Draw(ObjectController* ctx) {
    PieceCell c = Cell();
    DrawCellAt(ctx, x + c.dx + static_cast<float>(c.dw / 2), y + c.dy + static_cast<float>(c.dh / 2), c.dw, c.dh, c.u,
               c.v, c.w, c.h, DrawColor(ctx));
}

PieceCell S_Rockman_BombBlast::Cell() const {
    if ((age / 4) % 2 == 0) return {-4, -4, 8, 8, 184, 152, 8, 8};
    return {-8, -8, 16, 16, 192, 160, 16, 16};
}

PieceCell S_Rockman_Elec_Side::Cell() const {
    return {-8, -8, 16, 16, angle == 0 ? 80.0f : 96.0f, 176, 16, 16};
}

PieceCell S_Rockman_Elec_Front::Cell() const { return kElecFront[angle >= 0 && angle <= 4 ? angle : 0]; }

void S_Rockman_Guts::Draw(ObjectController* ctx) {
    uint32_t colour = DrawColor(ctx);
    for (int k = 0; k < 4; ++k) {
        DrawCellAt(ctx, x - 4.0f + 8.0f * static_cast<float>(k % 2), y - 4.0f + 8.0f * static_cast<float>(k / 2), 8, 8,
                   208, 168, 8, 8, colour);
    }
}

void S_Rockman_Ice::Draw(ObjectController* ctx) { DrawCell(ctx, 176, 160, 16, 16); }

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
    const float* c = kCutCells[(age / 8) % 4];
    DrawCell(ctx, c[0], c[1], c[2], c[3]);
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

void S_Rockman_Fire_Option::Draw(ObjectController* ctx) { DrawCell(ctx, 80, 160, 16, 16); }

void S_InvisibleShot::ForgetObject(Object* gone) {
    if (gone == owner) {
        owner = nullptr;
        Kill();
    }
    if (gone == link) link = nullptr;
}

static ClassRegistration rockmanShots({
    {227, MakeObject<S_Rockman_RockBuster>},
    {228, MakeObject<S_Rockman_BombBlast>},
    {229, MakeObject<S_Rockman_Elec_Side>},
    {230, MakeObject<S_Rockman_Elec_Front>},
    {231, MakeObject<S_Rockman_Guts>},
    {232, MakeObject<S_Rockman_Ice>},
    {233, MakeObject<S_Rockman_Cut>},
    {234, MakeObject<S_Rockman_Fire>},
    {235, MakeObject<S_Rockman_Fire_Option>},
    {236, MakeObject<S_InvisibleShot>},
});
