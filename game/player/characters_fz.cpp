// Yuu's weapons, the FZ bubbles: rows of S_FZ_Poppoes above her that level-ups fill and enemies
// wear away, a swaying spray of S_FZ_Poppoes_Shot from her or her rows, and the reflect.
#include "framework/core/angle.h"
#include "game/player/characters.h"
#include "game/world/object_controller.h"
#include "game/world/text.h"
#include "game/world/type_table.h"

namespace {

constexpr int32_t kBurstFrames = 24;
constexpr float kShotSpeed = 4.0f;
constexpr float kOptionShot = 1000.0f;  // added to y: the shot's smaller look

// Where a row's bubbles sit: slot k of row r at (x + (spacing (k - first) - offset) w, y - rise h).
struct RowPlace {
    float spacing, offset, rise;
};
constexpr RowPlace kRowPlaces[PC_Yuu::kRows] = {{24, 12, 16}, {16, 24, 36}, {10, 35, 52}};

int32_t TotalBubbles(const PC_Yuu& yuu) { return yuu.rowCount[0] + yuu.rowCount[1] + yuu.rowCount[2]; }

// The spray's sources: Yuu herself (row -1) or a row, when each fires, and on which frames of the
// burst (c divisible by period), taking the row's bubbles in turn.
struct SpraySource {
    int row;
    int32_t period;
    int32_t sway;  // the sway's rate, a binary angle a frame
    bool (*fires)(const PC_Yuu&);
};

const SpraySource kSpray[] = {
    {-1, 8, 27000,
     [](const PC_Yuu& p) {
         return p.powerLevel == 0 || (p.powerLevel == 1 && p.rowCount[0] == 1) || TotalBubbles(p) == 0;
     }},
    {0, 6, 37000,
     [](const PC_Yuu& p) {
         return p.powerLevel == 1 || (p.powerLevel == 2 && p.rowCount[1] < 3) ||
                (p.rowCount[1] == 0 && p.rowCount[2] == 0);
     }},
    {1, 4, 27000, [](const PC_Yuu& p) { return p.powerLevel == 2 || (p.powerLevel == 3 && p.rowCount[2] < 5); }},
    {2, 2, 27000, [](const PC_Yuu& p) { return p.powerLevel == 3; }},
};

}  // namespace

void PC_Yuu::Run(ObjectController* ctx) {
    if (invincible > 0) invincible -= 1;
    rowWidth = 0.25f * AngleCos(age * 400) + 1.0f;
    if (rowHeight > 1.0f) rowHeight -= 0.05f;
    else if (rowHeight < 1.0f) rowHeight = 1.0f;
    if (inactive != 0) {
        for (int slot = kFirstSlot[0]; slot < kFirstSlot[1]; ++slot) ReleaseSlot(slot);
    }
    for (int r = 0; r < kRows; ++r) {
        rowCount[r] = 0;
        for (int slot = kFirstSlot[r]; slot < kFirstSlot[r + 1]; ++slot) rowCount[r] += weapons[slot] != nullptr;
    }
    if (powerLevel >= 1) PlaceRows();
    if (hp >= 1.0f) {
        ReadInput(ctx);
        Fire(ctx);
    }
    age += 1;
}

void PC_Yuu::PlaceRows() {
    for (int r = 0; r < kRows; ++r) {
        const RowPlace& place = kRowPlaces[r];
        for (int slot = kFirstSlot[r]; slot < kFirstSlot[r + 1]; ++slot) {
            Object* bubble = weapons[slot];
            if (bubble == nullptr) continue;
            bubble->x = x + (place.spacing * static_cast<float>(slot - kFirstSlot[r]) - place.offset) * rowWidth;
            bubble->y = y - place.rise * rowHeight;
            if (bubble->hitHalfWidth == 0) bubble->hitHalfWidth = bubble->hitHalfHeight;
        }
    }
}

void PC_Yuu::Fire(ObjectController* ctx) {
    if (holdButton1 > 0 && fireFrames < kBurstFrames) fireFrames += kBurstFrames;
    if (fireFrames > 0) {
        Spray(ctx, fireFrames);
        fireFrames -= 1;
    }
    if (holdButton2 > 0 && reflectCooldown == 0 && ReflectAllowed()) {
        Object* reflect = ctx->CreateObject(type_id::EF_Poppoes_Reflect, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
        if (reflect != nullptr) {
            reflect->SetSide(inputMode);
            reflect->SetScore(128);
            reflect->angle = -1;
        }
        for (int slot = kFirstSlot[0]; slot < kFirstSlot[kRows]; ++slot) ReleaseSlot(slot);
        powerLevel = 0;
        reflectCooldown = kReflectWait;
    }
    if (reflectCooldown > 0) reflectCooldown -= 1;
}

void PC_Yuu::Spray(ObjectController* ctx, int32_t c) {
    for (const SpraySource& source : kSpray) {
        if (c % source.period != 0 || !source.fires(*this)) continue;
        // A sway of 30 degrees either side of straight up; the product wraps as 32-bit.
        int32_t phase = static_cast<int32_t>((static_cast<uint32_t>(age) * static_cast<uint32_t>(source.sway)) & 0xFFFF);
        float degrees = 30.0f * AngleCos(phase) + 270.0f;
        int32_t a = static_cast<int32_t>(degrees * 65536.0f / 360.0f);
        float sx = x, sy = y;
        if (source.row >= 0) {
            int first = kFirstSlot[source.row];
            int count = kFirstSlot[source.row + 1] - first;
            Object* bubble = weapons[first + (c / source.period) % count];
            if (bubble == nullptr) continue;
            sx = bubble->GetX();
            sy = bubble->GetY() + kOptionShot;
        }
        Object* shot =
            ctx->CreateObject(type_id::S_FZ_Poppoes_Shot, sx, sy, kShotSpeed * AngleCos(a), kShotSpeed * AngleSin(a), 0.0f, 0.0f, nullptr);
        if (shot != nullptr) shot->SetSide(inputMode);
    }
}

bool PC_Yuu::ReflectAllowed() const {
    return powerLevel == 3 || (powerLevel >= 1 && rowCount[0] < 2 && rowCount[1] < 3 && rowCount[2] < 5);
}

void PC_Yuu::PowerUp(ObjectController* ctx, int32_t) {
    GainPowerItem(ctx, 3);
    // The items are cleared only when the level-up step ran, at the top level too.
    if (powerItems != 0) return;
    for (int r = 0; r < kRows && r < powerLevel; ++r) {
        for (int slot = kFirstSlot[r]; slot < kFirstSlot[r + 1]; ++slot) {
            if (weapons[slot] != nullptr) {
                weapons[slot]->SetHp(weapons[slot]->maxHp);
            } else {
                FireInto(ctx, slot, type_id::S_FZ_Poppoes, x, y, static_cast<float>(r), 0.0f);
            }
        }
        rowCount[r] = kFirstSlot[r + 1] - kFirstSlot[r];
    }
}

void PC_Yuu::Draw(ObjectController* ctx) {
    DrawShip(ctx);
    if (!ReflectAllowed() || inputMode >= kInputParked) return;
    float seatY = 24.0f + 8.0f * static_cast<float>(score);
    if (reflectCooldown == 0) DrawText(L"OK", 40.0f, seatY, 32767.0f, -1);
    else DrawNumber(40.0f, seatY, reflectCooldown / 60 + 1, -1);
}

void PC_Yuu::ResetWeaponState() {
    fireFrames = 0;
    for (int32_t& count : rowCount) count = 0;
    rowWidth = rowHeight = 1.0f;
    reflectCooldown = kReflectWait;
}
