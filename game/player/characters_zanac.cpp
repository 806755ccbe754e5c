// The fire routines of Natsuki, Sayaka, Karen and Hikaru: the Zanac and Gunnac weapons. Each
// group fires one shot into the first free slot of its range, sets its cooldown only when it
// fires, and every cooldown counts down once a frame after the fire decision.
#include "framework/core/angle.h"
#include "game/player/characters.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

// Natsuki's fan: one row per group, from the level at which it joins.
struct FanRow {
    int32_t level;
    int first;  // slots first .. first + 3
    float dy;   // position relative to (x, y)
    float vx, vy;
};

// 8.0 x (cos, sin) of the binary angle 56433, about 310 degrees.
const float kFanDiagonalX = 8.0f * AngleCos(56433);
const float kFanDiagonalY = 8.0f * AngleSin(56433);

const FanRow kFan[] = {
    // level first  dy     vx               vy
    {0,      0,    -4.0f,  0.0f,           -8.0f},
    {1,      4,    -4.0f,  kFanDiagonalX,  kFanDiagonalY},
    {1,      8,    -4.0f, -kFanDiagonalX,  kFanDiagonalY},
    {2,     12,     4.0f,  5.7f,            5.7f},
    {2,     16,     4.0f, -5.7f,            5.7f},
    {3,     20,     0.0f,  8.0f,            0.0f},
    {3,     24,     0.0f, -8.0f,            0.0f},
};

bool AnyDirectionHeld(const PC& pc) {
    return pc.holdUp > 0 || pc.holdDown > 0 || pc.holdLeft > 0 || pc.holdRight > 0;
}

}  // namespace

void PC_Natsuki::Fire(ObjectController* ctx) {
    if (holdButton1 > 0 && fireCooldown == 0) {
        bool fired = false;
        if (holdButton2 == 0) {
            for (const FanRow& row : kFan) {
                if (powerLevel < row.level) continue;
                fired |= FireIntoFirstFree(ctx, row.first, row.first + 3, type_id::S_Gunnac, x, y + row.dy, row.vx, row.vy) !=
                         nullptr;
            }
            if (fired) fireCooldown = 4;
        } else {
            // The stream: even slots on the left, odd slots on the right, 8 x level + 4 slots.
            int limit = 8 * powerLevel + 4;
            for (int parity = 0; parity < 2; ++parity) {
                for (int slot = parity; slot < limit && slot < slotCount; slot += 2) {
                    if (weapons[slot] != nullptr) continue;
                    float side = parity == 0 ? -3.0f : 3.0f;
                    fired |= FireInto(ctx, slot, type_id::S_Gunnac, x + side, y - 4.0f, 0.0f, -8.0f) != nullptr;
                    break;
                }
            }
            if (fired) fireCooldown = 2;
        }
    }
    if (fireCooldown > 0) fireCooldown -= 1;
}

void PC_Natsuki::Upkeep(ObjectController*) {
    // The backward diagonals turn up after 4 frames, the sideways shots after 8.
    for (int slot = 12; slot <= 27; ++slot) {
        Object* shot = weapons[slot];
        if (shot == nullptr) continue;
        int32_t turnAge = slot < 20 ? 4 : 8;
        if (shot->age == turnAge) {
            shot->vx = 0.0f;
            shot->vy = -8.0f;
        }
    }
}

void PC_Sayaka::Fire(ObjectController* ctx) {
    if (holdButton2 == 0) {
        sayakaAim = (sayakaAim + 5461) % 65536;
    } else if (holdButton1 == 0 && AnyDirectionHeld(*this)) {
        int32_t target = DegreesToBinaryAngle(angle);
        if (target < sayakaAim) target += 65536;
        int32_t ahead = target - sayakaAim;
        if (ahead > 7281 && ahead < 58254) sayakaAim += ahead < 32768 ? 8192 : -8192;
        else sayakaAim = target;
        sayakaAim %= 65536;
    }

    if (holdButton1 > 0 && fireCooldown == 0) {
        int last = powerLevel == 0 ? 4 : (powerLevel == 1 ? 5 : powerLevel + 4);
        float speed = powerLevel == 0 ? -8.0f : (powerLevel == 1 ? -10.0f : static_cast<float>((-3 - powerLevel / 3) * 4));
        int32_t level = powerLevel + 1;
        bool fired = false;
        if (Object* shot = FireIntoFirstFree(ctx, 2, last, type_id::S_ZanacA, x, y + 4.0f, 0.0f, speed)) {
            shot->SetScore(level);
            fired = true;
        }
        if (powerLevel >= 1 && weapons[0] == nullptr) {
            fired |= FireInto(ctx, 0, type_id::S_SayakaCap, x, y - 64.0f, 0.0f, 0.0f) != nullptr;
        }
        if (powerLevel >= 2 && weapons[1] == nullptr) {
            fired |= FireInto(ctx, 1, type_id::S_SayakaCap, x, y + 64.0f, 0.0f, 0.0f) != nullptr;
        }
        if (fired) fireCooldown = 6;
    }
    if (fireCooldown > 0) fireCooldown -= 1;
}

void PC_Sayaka::Upkeep(ObjectController*) {
    if (inactive != 0) {
        ReleaseSlot(0);
        ReleaseSlot(1);
    }
    if (powerLevel <= 0) return;
    // Both ride a circle of radius 48 round a point 24 above her, 2d apart.
    float d = static_cast<float>(8 * powerLevel - 8);
    float cx = x + 48.0f * AngleCos(sayakaAim);
    float cy = y + 48.0f * AngleSin(sayakaAim) - 24.0f;
    if (weapons[0] != nullptr) {
        weapons[0]->x = cx + d;
        weapons[0]->y = cy;
    }
    if (weapons[1] != nullptr) {
        weapons[1]->x = cx - d;
        weapons[1]->y = cy;
    }
}

void PC_Sayaka::ResetWeaponState() { sayakaAim = inputMode == kInputPlayedBack ? -10922 : -5461; }

void PC_Karen::Fire(ObjectController* ctx) {
    if (holdButton1 > 0 && fireCooldown == 0) {
        float speed = powerLevel <= 1 ? -8.0f : static_cast<float>(-4 * powerLevel);
        if (Object* shot = FireIntoFirstFree(ctx, 2, 4, type_id::S_ZanacA, x, y + 4.0f, 0.0f, speed)) {
            shot->SetScore(powerLevel);
            fireCooldown = 6;
        }
    }
    if (holdButton2 > 0 && secondCooldown == 0 && weapons[0] == nullptr) {
        if (Object* orb = FireInto(ctx, 0, type_id::S_Kavlet, x, y, 0.0f, -5.0f, 0.0f, 0.1f)) {
            orb->SetScore(powerLevel);
            secondCooldown = 60;
        }
    }
    if (fireCooldown > 0) fireCooldown -= 1;
    if (secondCooldown > 0) secondCooldown -= 1;
}

void PC_Hikaru::Fire(ObjectController* ctx) {
    if (holdButton1 > 0 && fireCooldown == 0) fireCooldown = 15;
    if (fireCooldown == 15) {
        float v = static_cast<float>((-3 - powerLevel / 2) * 4);
        if (holdButton2 > 0) v /= 2.0f;
        int last = powerLevel == 0 ? 0 : 1;
        if (Object* letter = FireIntoFirstFree(ctx, 0, last, type_id::S_HikaruLetter, x, y, 0.0f, v)) {
            letter->SetScore(powerLevel);
        }
    }
    if (fireCooldown > 0) fireCooldown -= 1;
    // With both letters gone the next burst need not wait.
    if (weapons[0] == nullptr && weapons[1] == nullptr) fireCooldown = 0;
}
