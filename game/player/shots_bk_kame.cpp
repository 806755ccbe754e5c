#include "game/player/shots_bk_kame.h"

#include <algorithm>

#include "game/world/factory.h"

namespace {

// Where the family's cells lie in "shot.bmp".
constexpr float kBeamU = 120, kBeamV = 208;    // two 8 x 8 frames
constexpr float kBlastU = 80, kBlastV = 240;   // 16 x 16, drawn growing
constexpr float kPanelU = 96, kPanelV = 240;   // standing up, then folding: 32 x 8 each
constexpr float kStgU = 136, kStgV = 168;      // five 8 x 8 headings, up round to down

// The STG shot's cell row by right-hand direction (6 up, 7, 0 right, 1, 2 down); 3-5 mirror.
constexpr int32_t kStgRow[8] = {2, 3, 4, 0, 0, 0, 0, 1};

}  // namespace

void S_BomberKing_Beam::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (age >= (score + 3) * 10) Kill();
    age += 1;
}

void S_BomberKing_Beam::Draw(ObjectController* ctx) {
    DrawCell(ctx, kBeamU + 8.0f * static_cast<float>(age % 2), kBeamV, 8, 8);
}

void S_BomberKing_Blast::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    hp = maxHp;
    if (age >= 8) Kill();
    age += 1;
}

void S_BomberKing_Blast::Draw(ObjectController* ctx) {
    int32_t size = std::min(8 + 5 * age, static_cast<int32_t>(width));
    DrawCellAt(ctx, x, y, size, size, kBlastU, kBlastV, 16, 16, 0xFFFFFFFFu);
}

void S_Quinty_Panel::Run(ObjectController* ctx) {
    if (owner != nullptr) InheritSideOnFirstFrame(ctx);
    hp = maxHp;
    if (age % 2 == 1) {
        y -= 4.0f;
        step += 1;
        height += step < 4 ? 8 : -8;
        hitHalfHeight = static_cast<int16_t>(height / 2 + 8);
    }
    if (step > 7) Kill();
    age += 1;
}

void S_Quinty_Panel::Draw(ObjectController* ctx) { DrawCell(ctx, kPanelU, kPanelV + (step < 4 ? 0.0f : 8.0f), 32, 8); }

void KameShot::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    Behave();
    age += 1;
}

void S_Kame_Ika::Behave() {
    if (age > 30) Kill();
}

void S_Kame_Tako::Behave() {
    // Where the shot would be after this frame's move.
    float p = x + vx;
    if (p < 4.0f) {
        x = 4.0f - vx;
        vx = -vx;
    } else if (p > 252.0f) {
        x = 252.0f + vx;
        vx = -vx;
    }
}

void S_Kame_Kurage::Behave() {
    if (age % 6 == 5) vx = -vx;
}

void S_Kame_Umihebi_Shot::Behave() {
    if (age > 10) Kill();
}

void S_Kame_STG::Draw(ObjectController* ctx) {
    int32_t direction = ((angle % 8) + 8) % 8;
    bool mirrored = direction >= 3 && direction <= 5;
    if (mirrored) direction = (12 - direction) % 8;
    float v = kStgV + 8.0f * static_cast<float>(kStgRow[direction]);
    if (mirrored) DrawCell(ctx, kStgU + 8.0f, v, -8, 8);
    else DrawCell(ctx, kStgU, v, 8, 8);
}

static ClassRegistration bkKameShots({
    {195, MakeObject<S_BomberKing_Beam>},
    {196, MakeObject<S_BomberKing_Blast>},
    {197, MakeObject<S_BomberKing_Missile>},
    {198, MakeObject<S_Quinty_Panel>},
    {199, MakeObject<S_Kame_Ika>},
    {200, MakeObject<S_Kame_Tako>},
    {201, MakeObject<S_Kame_Kurage>},
    {202, MakeObject<S_Kame_Umihebi_Bit>},
    {203, MakeObject<S_Kame_Umihebi_Shot>},
    {204, MakeObject<S_Kame_Shinju>},
    {205, MakeObject<S_Kame_STG>},
});
