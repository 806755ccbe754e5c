// The fire routines of Minato (the Recca weapons) and Aiko (the RB weapons). Minato keeps her
// barrier, bomb, options and lasers in slots; Aiko keeps only her two options, and her shots fly
// without an owner, taking her side.
#include <algorithm>

#include "framework/core/angle.h"
#include "game/player/characters.h"
#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

constexpr int kFirstLaserSlot = 4, kLastLaserSlot = 15;
constexpr int32_t kBarrierFrames = 33;  // released frames to the barrier; each 33 more grow it
constexpr int32_t kBombCharge = 164;    // a press above this releases the bomb

}  // namespace

void PC_Minato::Fire(ObjectController* ctx) {
    if (holdButton1 > 0 && fireCooldown == 0) {
        fireCooldown = powerLevel == 0 ? 6 : 4;
        FireLaser(ctx);
    }
    if (holdButton2 > 0 && optionCooldown == 0) {
        optionCooldown = 10;
        Object* left = weapons[kFirstOptionSlot];
        Object* right = weapons[kFirstOptionSlot + 1];
        if (powerLevel >= 2 && left != nullptr && right != nullptr) {
            for (Object* option : {left, right}) {
                float c = AngleCos(option->angle), s = AngleSin(option->angle);
                Object* shot = ctx->CreateObject(type_id::S_ReccaOptionShot, option->x + 6.0f * c, option->y + 6.0f * s,
                                                 12.0f * c, 12.0f * s, 0.0f, 0.0f, nullptr);
                if (shot != nullptr) shot->SetSide(inputMode);
            }
        }
    }
    if (fireCooldown > 0) fireCooldown -= 1;
    if (optionCooldown > 0) optionCooldown -= 1;
    if (inactive == 0) Charge(ctx);
}

void PC_Minato::FireLaser(ObjectController* ctx) {
    int inFlight = 0;
    for (int slot = kFirstLaserSlot; slot <= kLastLaserSlot; ++slot) inFlight += weapons[slot] != nullptr;
    if (inFlight >= powerLevel + 2) return;
    float sx = powerLevel == 0 ? x : x - 6.0f + 12.0f * static_cast<float>(minatoSide);
    Object* laser = FireIntoFirstFree(ctx, kFirstLaserSlot, kLastLaserSlot, type_id::S_ReccaL, sx, y, 0.0f, -16.0f);
    if (powerLevel == 3) {
        if (laser == nullptr) return;
        // Level 1 lasers (from the right) turn right, level 2 (from the left) turn left.
        laser->SetScore(2 - minatoSide);
        minatoSide ^= 1;
    } else if (powerLevel >= 1) {
        minatoSide ^= 1;
    }
}

void PC_Minato::Charge(ObjectController* ctx) {
    if (holdButton1 == 0) {
        chargeFrames += 1;
        if (chargeFrames == kBarrierFrames && weapons[kBarrierSlot] == nullptr) {
            FireInto(ctx, kBarrierSlot, type_id::S_ReccaBarrier, x, y - 16.0f, 0.0f, 0.0f);
        }
        Object* barrier = weapons[kBarrierSlot];
        if (barrier != nullptr && chargeFrames % kBarrierFrames == 0 && chargeFrames / kBarrierFrames >= 2 &&
            chargeFrames / kBarrierFrames <= 5) {
            barrier->SetScore(chargeFrames / kBarrierFrames - 1);
        }
        return;
    }
    if (chargeFrames == 0) return;
    if (chargeFrames > kBombCharge) {
        // The slot's previous bomb is let go first: it must not call back into her.
        ReleaseSlot(kBomberSlot);
        FireInto(ctx, kBomberSlot, type_id::S_ReccaBomber, x, y - 16.0f, 0.0f, 0.0f);
    }
    chargeFrames = 0;
    ReleaseSlot(kBarrierSlot);
}

void PC_Minato::Upkeep(ObjectController* ctx) {
    if (hp <= 0.0f || inactive != 0) {
        ReleaseSlot(kBarrierSlot);
        ReleaseSlot(kFirstOptionSlot);
        ReleaseSlot(kFirstOptionSlot + 1);
        powerLevel = 0;
    }
    if (powerLevel >= 2 && weapons[kFirstOptionSlot] == nullptr && weapons[kFirstOptionSlot + 1] == nullptr) {
        FireInto(ctx, kFirstOptionSlot, type_id::S_ReccaOptionR, x - 16.0f, y, 0.0f, 0.0f);
        Object* second = FireInto(ctx, kFirstOptionSlot + 1, type_id::S_ReccaOptionR, x + 16.0f, y, 0.0f, 0.0f);
        if (second != nullptr) second->SetScore(1);
    }
    if (Object* barrier = weapons[kBarrierSlot]) {
        barrier->x = x;
        barrier->y = y - 16.0f;
    }
}

void PC_Aiko::Fire(ObjectController* ctx) {
    if (holdButton1 > 0 && fireCooldown == 0) {
        float speed = static_cast<float>(3 * powerLevel + 8);
        Object* shot = ctx->CreateObject(type_id::S_RBShot, x, y, 0.0f, -speed, 0.0f, 0.0f, nullptr);
        if (shot != nullptr) {
            shot->SetScore(powerLevel);
            shot->SetSide(inputMode);
        }
        fireCooldown = 10 - powerLevel;
    }
    if (holdButton2 == 1 && powerLevel >= 1) SwitchOptions(ctx);
    if (holdButton1 > 0 && sideCooldown == 0 && switchCooldown == 0) FireSides(ctx);
    if (fireCooldown > 0) fireCooldown -= 1;
    if (switchCooldown > 0) switchCooldown -= 1;
    if (sideCooldown > 0) sideCooldown -= 1;
}

void PC_Aiko::SwitchOptions(ObjectController* ctx) {
    switchCooldown += 6;
    sideCooldown += 6;
    if (optionsOut == 0) {
        FireInto(ctx, 0, type_id::S_RBOptionV, x, y, 0.0f, 0.0f);
        Object* second = FireInto(ctx, 1, type_id::S_RBOptionV, x, y, 0.0f, 0.0f);
        if (second != nullptr) second->SetScore(1);
        optionsOut = 1;
        spriteRow += kOptionsRowStep;
    } else {
        ReleaseSlot(0);
        ReleaseSlot(1);
        optionsOut = 0;
        spriteRow -= kOptionsRowStep;
    }
}

void PC_Aiko::FireSides(ObjectController* ctx) {
    if (optionsOut != 0) {
        for (int slot = 0; slot < 2; ++slot) {
            Object* option = weapons[slot];
            if (option == nullptr) continue;
            Object* shot = ctx->CreateObject(type_id::S_RBShotVR, option->x, option->y, 0.0f, -12.0f, 0.0f, 0.0f, nullptr);
            if (shot != nullptr) shot->SetSide(inputMode);
        }
        sideCooldown = 58 - 14 * powerLevel;
        return;
    }
    // Pairs fanning out from straight up: 0, then 0 and 9, then 0, 18 and 36 degrees.
    for (int32_t k = 0; k < powerLevel; ++k) {
        int32_t b = 49152 - DegreesToBinaryAngle(9 * k * (powerLevel - 1));
        float c = 8.0f * AngleCos(b), s = 8.0f * AngleSin(b);
        for (float side : {-1.0f, 1.0f}) {
            Object* shot = ctx->CreateObject(type_id::S_RBShotV, x + 6.0f * side, y + 4.0f, -side * c, s, 0.0f, 0.0f, nullptr);
            if (shot != nullptr) shot->SetSide(inputMode);
        }
    }
    sideCooldown = (5 - powerLevel / 3) * 2;
}

void PC_Aiko::Upkeep(ObjectController*) {
    if (hp < 1.0f) {
        ReleaseSlot(0);
        ReleaseSlot(1);
    }
}

void PC_Aiko::Draw(ObjectController* ctx) {
    DrawShip(ctx);
    if (powerLevel < 1 || optionsOut != 0 || inactive != 0) return;
    // The pods beside her spread while a switch is fresh.
    int32_t n = std::max(switchCooldown + 6, 6);
    uint32_t colour = inputMode > kInputRecorded ? 0xFF000000u : 0xFFFFFFFFu;
    for (int32_t k = 0; k < 2; ++k) {
        DrawSpriteCell(gameSprites.shot, x - 4.0f - static_cast<float>(n) + static_cast<float>(2 * n * k),
                       y - 8.0f + static_cast<float>(n / 2), 8, 16, cell::rb_pod.U(), cell::rb_pod.V(), 8, 16, colour);
    }
}

void PC_Aiko::ResetWeaponState() {
    spriteRow = ShipRow(cell::aiko);
    fireCooldown = switchCooldown = sideCooldown = 0;
    optionsOut = 0;
}
