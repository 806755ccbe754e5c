// The fire routines of Noa and Akimi (the retro single shots) and of Keito (the CF weapons).
// Noa keeps one shot in her link field; Akimi and Keito fire into the first free slot of a
// range, Keito from one table of groups per pattern and level.
#include "framework/core/angle.h"
#include "game/player/characters.h"
#include "game/world/message_codes.h"
#include "game/world/object_controller.h"
#include "game/world/sound_ids.h"
#include "game/world/text.h"
#include "game/world/type_table.h"

namespace {

constexpr int32_t kGhostModes = 16;
constexpr float kPiercingHp = 65535.0f;

// One group of Keito's volley: the first free slot of [first, last] gets one shot.
struct KeitoGroup {
    int32_t pattern;
    int32_t minLevel, maxLevel;
    int32_t turn;  // -1 every volley; 0 or 1 only on that turn of the alternating volley
    int first, last;
    float dx, dy;  // from the ship
    float vx, vy, ax;
    int32_t typeId;
    int32_t variant;  // -1 as made; else the shot pierces (hp 65535) with this variant
};

constexpr int32_t N = type_id::S_CF_NormalShot, S = type_id::S_CF_SinShot, H = type_id::S_CF_HomingLaser;

constexpr KeitoGroup kKeitoGroups[] = {
    // pat lv lv turn slots   dx     dy     vx      vy    ax  id  variant
    {0, 0, 0, -1,  0,  2,  0.0f,  0.0f,   0.0f, -16.0f, 0.0f, N, -1},
    {0, 1, 1, -1,  0,  2, -4.0f,  0.0f,   0.0f, -16.0f, 0.0f, N, -1},
    {0, 1, 1, -1,  8, 10,  4.0f,  0.0f,   0.0f, -16.0f, 0.0f, N, -1},
    {0, 2, 2, -1,  0,  2,  0.0f,  0.0f,   0.0f, -16.0f, 0.0f, S, -1},
    {0, 2, 2, -1,  8, 10,  0.0f,  0.0f,   0.0f, -16.0f, 1.0f, S, -1},
    {0, 3, 3, -1,  0,  4,  0.0f,  0.0f,   0.0f, -16.0f, 0.0f, S, -1},
    {0, 3, 3, -1,  8, 12,  0.0f,  0.0f,   0.0f, -16.0f, 1.0f, S, -1},
    {1, 0, 0, -1,  0,  0,  0.0f,  0.0f,   0.0f, -16.0f, 0.0f, N, -1},
    {1, 0, 0, -1,  4,  4,  0.0f,  0.0f,   0.0f,  16.0f, 0.0f, N, 12},
    {1, 1, 3, -1,  0,  0, -4.0f,  0.0f,   0.0f, -16.0f, 0.0f, N, -1},
    {1, 1, 3, -1,  2,  2,  4.0f,  0.0f,   0.0f, -16.0f, 0.0f, N, -1},
    {1, 1, 3, -1,  4,  5, -4.0f,  0.0f,   0.0f,  16.0f, 0.0f, N, -1},
    {1, 1, 3, -1,  6,  7,  4.0f,  0.0f,   0.0f,  16.0f, 0.0f, N, -1},
    {1, 2, 3, -1,  8,  8,  0.0f,  0.0f,   7.0f,  14.0f, 0.0f, N, 11},
    {1, 2, 3, -1,  9,  9,  0.0f,  0.0f,  -7.0f,  14.0f, 0.0f, N, 13},
    {2, 0, 0, -1,  0,  0,  0.0f,  0.0f,   0.0f, -16.0f, 0.0f, N, -1},
    {2, 0, 0, -1,  6,  6,  0.0f,  0.0f,  16.0f,   0.0f, 0.0f, N, -1},
    {2, 0, 0, -1,  8,  8,  0.0f,  0.0f, -16.0f,   0.0f, 0.0f, N, -1},
    {2, 1, 1, -1,  6,  6,  0.0f, -8.0f,  16.0f,   0.0f, 0.0f, N, -1},
    {2, 1, 1, -1,  7,  7,  0.0f,  8.0f,  16.0f,   0.0f, 0.0f, N, -1},
    {2, 1, 1, -1,  8,  8,  0.0f, -8.0f, -16.0f,   0.0f, 0.0f, N, -1},
    {2, 1, 1, -1,  9,  9,  0.0f,  8.0f, -16.0f,   0.0f, 0.0f, N, -1},
    {2, 1, 2, -1,  2,  3,  4.0f,  0.0f,   0.0f, -16.0f, 0.0f, N, -1},
    {2, 1, 2, -1,  4,  5, -4.0f,  0.0f,   0.0f, -16.0f, 0.0f, N, -1},
    {2, 2, 2, -1,  6,  7,  0.0f,  0.0f,  16.0f,   0.0f, 0.0f, H, -1},
    {2, 2, 2, -1,  8,  9,  0.0f,  0.0f, -16.0f,   0.0f, 0.0f, H, -1},
    {2, 3, 3,  0,  2,  3,  4.0f,  0.0f,   0.0f, -16.0f, 0.0f, N, -1},
    {2, 3, 3,  0,  4,  5, -4.0f,  0.0f,   0.0f, -16.0f, 0.0f, N, -1},
    {2, 3, 3,  0,  6,  7,  0.0f, -8.0f,  16.0f,   0.0f, 0.0f, H, -1},
    {2, 3, 3,  0,  8,  9,  0.0f, -8.0f, -16.0f,   0.0f, 0.0f, H, -1},
    {2, 3, 3,  1, 10, 11,  0.0f,  8.0f,  16.0f,   0.0f, 0.0f, H, -1},
    {2, 3, 3,  1, 12, 13,  0.0f,  8.0f, -16.0f,   0.0f, 0.0f, H, -1},
};

// The cooldown a volley sets, by pattern and level.
constexpr int32_t kKeitoCooldown[3][4] = {
    {6, 5, 4, 3},
    {8, 7, 6, 5},
    {7, 6, 5, 4},
};

}  // namespace

void PC_Noa::Fire(ObjectController* ctx) {
    if ((holdButton1 > 0 || holdButton2 == 1) && link == nullptr) {
        link = ctx->CreateObject(type_id::S_InvaderShot, x, y, 0.0f, -2.0f, 0.0f, 0.0f, self);
    }
}

void PC_Noa::Draw(ObjectController* ctx) {
    DrawShip(ctx);
    if (invincible > 0 && (inputMode == kInputLive || inputMode == kInputRecorded)) {
        DrawNumber(x - 1.0f, y, invincible / 6, -1);
    }
}

void PC_Noa::ReleaseShot() {
    Object* shot = link;
    if (shot == nullptr) return;
    link = nullptr;
    // Forgetting first: the shot never calls back into a character that may be swept first.
    shot->ForgetObject(self);
    shot->Kill();
}

void PC_Noa::Detach() {
    ReleaseShot();
    PCCharacter::Detach();
}

void PC_Noa::ForgetObject(Object* gone) {
    if (gone == link) link = nullptr;
}

void PC_Noa::SetInactive(int32_t value) {
    inactive = value;
    ReleaseShot();
}

void PC_Noa::PowerUp(ObjectController* ctx, int32_t) {
    if (!ctx->gameRunning) return;
    if (inputMode < kInputPlayedBack) ctx->PlaySE(sound::kPowerUp);
    if (ctx->currentScene != nullptr) ctx->currentScene->OnMessage(Msg(3, stage_message::kExcessCapacityBonus, ctx));
    if (ctx->gameMode < kGhostModes) {
        if (ctx->pcController != nullptr) ctx->pcController->OnMessage(Msg(3, party_message::kInvincibleFor, ctx, 60));
    } else {
        invincible += 60;
    }
}

void PC_Akimi::PowerUp(ObjectController* ctx, int32_t) { GainPowerItem(ctx, 1); }

void PC_Akimi::Fire(ObjectController* ctx) {
    if ((holdButton1 > 0 || holdButton2 > 0) && fireCooldown == 0) {
        bool top = powerLevel >= 1;
        Object* shot = FireIntoFirstFree(ctx, 0, top ? 2 : 1, type_id::S_StarForceShot, x, y, 0.0f, top ? -8.0f : -4.0f);
        if (shot != nullptr && top) shot->angle = 1;
        if (holdButton1 > 0) fireCooldown += top ? 1 : 2;
        if (holdButton2 > 0) fireCooldown += top ? 7 : 10;
    }
    if (fireCooldown > 0) fireCooldown -= 1;
}

void PC_Keito::Fire(ObjectController* ctx) {
    const bool switched = holdButton2 == 1;
    if (switched) {
        keitoPattern = (keitoPattern + 1) % 3;
        if (keitoPattern != 0) ReleaseBarriers();
    }
    if (holdButton1 > 0 && fireCooldown == 0) {
        bool fired = false;
        for (const KeitoGroup& g : kKeitoGroups) {
            if (g.pattern != keitoPattern || powerLevel < g.minLevel || powerLevel > g.maxLevel) continue;
            if (g.turn >= 0 && g.turn != keitoAlternate) continue;
            Object* shot = FireIntoFirstFree(ctx, g.first, g.last, g.typeId, x + g.dx, y + g.dy, g.vx, g.vy, g.ax);
            if (shot == nullptr) continue;
            fired = true;
            if (g.variant >= 0) {
                shot->hp = shot->maxHp = kPiercingHp;
                shot->angle = g.variant;
            }
        }
        if (keitoPattern == 2 && powerLevel >= 3) keitoAlternate ^= 1;
        if (fired) fireCooldown = kKeitoCooldown[keitoPattern][powerLevel];
    }
    // A switch to pattern 1 brings the barriers on the next frame.
    if (!switched) KeepBarriers(ctx);
}

void PC_Keito::Upkeep(ObjectController*) {
    if (fireCooldown > 0) fireCooldown -= 1;
}

void PC_Keito::ReleaseBarriers() {
    for (int j = 0; j < kBarrierSlots; ++j) ReleaseSlot(kFirstBarrierSlot + j);
}

void PC_Keito::KeepBarriers(ObjectController* ctx) {
    if (keitoPattern != 1) return;
    if (powerLevel >= 2 && inputMode <= kInputPlayedBack) {
        int count = powerLevel >= 3 ? kBarrierSlots : kBarrierSlots / 2;
        for (int j = 0; j < count; ++j) {
            if (weapons[kFirstBarrierSlot + j] != nullptr) continue;
            Object* barrier = FireInto(ctx, kFirstBarrierSlot + j, type_id::S_CF_Barrier, x, y, 0.0f, 0.0f);
            if (barrier != nullptr) barrier->angle = j % 3;
        }
    } else if (inputMode == kInputParked) {
        ReleaseBarriers();
    }
    // The first three wheel one way, the other three the other way, 30 degrees apart.
    for (int j = 0; j < kBarrierSlots; ++j) {
        Object* barrier = weapons[kFirstBarrierSlot + j];
        if (barrier == nullptr) continue;
        int32_t degrees = j < 3 ? (age - 18 - 3 * j) * 10 : (3 * j - 9 - age) * 10;
        int32_t a = DegreesToBinaryAngle(degrees);
        barrier->x = x + 32.0f * AngleCos(a);
        barrier->y = y + 32.0f * AngleSin(a);
    }
}

void PC_Keito::SetInactive(int32_t value) {
    inactive = value;
    if (powerLevel >= 2 && keitoPattern == 1) ReleaseBarriers();
}

void PC_Keito::ResetWeaponState() {
    keitoPattern = 0;
    keitoAlternate = 0;
}
