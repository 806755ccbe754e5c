#include "game/player/pc.h"

#include "framework/core/angle.h"
#include "framework/graphics/sprite.h"
#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/message_codes.h"
#include "game/world/object_controller.h"
#include "game/world/sound_ids.h"
#include "game/world/text.h"
#include "game/world/type_table.h"

namespace {

constexpr int32_t kGhostModes = 16;
constexpr float kDepth = 32767.0f;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

}  // namespace

void DrawSpriteCell(CSprite2D* batch, float x, float y, float w, float h, float u, float v, float uw, float vh,
                    uint32_t colour) {
    const float dst[4] = {x, y, w, h};
    const float src[4] = {u, v, uw, vh};
    ZethSprite::DrawRect(batch, dst, kDepth, src, colour, 1);
}

int32_t DegreesToBinaryAngle(int32_t degrees) { return static_cast<int32_t>(degrees * 65536LL / 360); }

void PCInputRecord::Clear() {
    inputRuns.clear();
    events.clear();
    Rewind();
}

void PCInputRecord::Rewind() {
    inputRunPos = 0;
    eventPos = 0;
}

void PC::Init() {
    Object::Init();
    hitHalfWidth = hitHalfHeight = 1;
    holdUp = holdDown = holdLeft = holdRight = 0;
    idleFrames = 0;
    holdButton1 = holdButton2 = holdButton3 = holdButton4 = 0;
    noFireFrames = 0;
    lean = 0;
    powerLevel = powerItems = 0;
    spriteRow = 0;
    inputMode = kInputLive;
    record.recordWord = 255;
    record.recordRun = -1;
    record.Rewind();
}

int32_t& PC::Counter(int k) {
    int32_t* counters[8] = {&holdUp, &holdDown, &holdLeft, &holdRight,
                            &holdButton1, &holdButton2, &holdButton3, &holdButton4};
    return *counters[k];
}

void PC::Move(ObjectController*) {
    if (age <= 3) return;
    vx += ax;
    vy += ay;
    x += vx;
    y += vy;
    float h = static_cast<float>(hitHalfWidth / 2);
    float v = static_cast<float>(hitHalfHeight / 2);
    if (x < h) x = h;
    if (x > 256.0f - h) x = 256.0f - h;
    if (y < v) y = v;
    if (y > 240.0f - v) y = 240.0f - v;
}

int32_t PC::GetButtonMask() const {
    const int32_t counters[8] = {holdUp, holdDown, holdLeft, holdRight, holdButton1, holdButton2, holdButton3, holdButton4};
    int32_t mask = 0;
    for (int k = 0; k < 8; ++k) {
        if (counters[k] >= 1) mask |= 1 << k;
    }
    return mask;
}

void PC::SetButtons(int32_t word) {
    for (int k = 0; k < 8; ++k) {
        int32_t& counter = Counter(k);
        counter = word != -1 && (word & (1 << k)) != 0 ? counter + 1 : 0;
    }
}

void PC::CopyLiveInput(ObjectController* ctx) {
    for (int k = 0; k < 8; ++k) Counter(k) = ctx->input.game[k];
}

void PC::ReadInput(ObjectController* ctx) {
    switch (inputMode) {
        case kInputLive:
            CopyLiveInput(ctx);
            break;
        case kInputRecorded:
        case kInputRecordedAgain:
            CopyLiveInput(ctx);
            RecordInput(GetButtonMask());
            break;
        case kInputPlayedBack:
        case kInputPlayedBackAgain:
            SetButtons(PlaybackInput(ctx));
            break;
        default:
            break;
    }
    if (age < 2 || inactive != 0) SetButtons(-1);

    bool up = holdUp > 0, down = holdDown > 0, left = holdLeft > 0, right = holdRight > 0;
    if (down && right) angle = 45;
    else if (down && left) angle = 135;
    else if (up && left) angle = 225;
    else if (up && right) angle = 315;
    else if (right) angle = 0;
    else if (down) angle = 90;
    else if (left) angle = 180;
    else if (up) angle = 270;

    bool still = !(up || down || left || right) || (up && down) || (left && right);
    if (still) {
        vx = vy = 0.0f;
    } else {
        int32_t a = DegreesToBinaryAngle(angle);
        vx = AngleCos(a) * speed;
        vy = AngleSin(a) * speed;
    }

    idleFrames = (up || down || left || right) ? 0 : idleFrames + 1;
    noFireFrames = (holdButton1 > 0 || holdButton2 > 0 || holdButton3 > 0) ? 0 : noFireFrames + 1;
    if (left && !right) lean = -1;
    else if (right && !left) lean = 1;
    else if (!left && !right) lean = 0;

    if (holdButton4 == 1) PowerUp(ctx, 1);
}

void PC::DrawShip(ObjectController*) {
    if (inactive != 0) return;
    float seatY = 24.0f + 8.0f * static_cast<float>(score);
    DrawNumber(8.0f, seatY, powerLevel, -1);
    for (int32_t k = 0; k < powerItems; ++k) {
        DrawSpriteCell(gameSprites.effect1, 16.0f + 6.0f * static_cast<float>(k), seatY, 8, 8, cell::power_icon.U(),
                       cell::power_icon.V(), 8, 8, kWhite);
    }

    static_assert(OnShipGrid(cell::ghost));
    int32_t r = inputMode == kInputPlayedBack ? ShipRow(cell::ghost) : spriteRow;
    int32_t blink = (invincible / 8) % 2;
    float u = static_cast<float>((blink + 2 * (r / 16)) * 32);
    float v = static_cast<float>((16 * r) % 256);
    float uw = 16.0f;
    bool leftHeld = holdLeft > 0, rightHeld = holdRight > 0;
    if (rightHeld && !leftHeld) {
        u += 16.0f;
    } else if (leftHeld && !rightHeld) {
        u += 32.0f;  // the right-leaning cell, mirrored
        uw = -16.0f;
    }
    DrawSpriteCell(gameSprites.pc, x - static_cast<float>(width / 2), y - static_cast<float>(height / 2),
                   static_cast<float>(width), static_cast<float>(height), u, v, uw, 16, kWhite);

    if (invincible > 0 && (inputMode == kInputLive || inputMode == kInputRecorded)) {
        const SheetCell& ring = invincible % 8 >= 4 ? cell::enemy_eraser : cell::orb_ring_small;
        const float half = ring.W() / 2.0f;
        DrawSpriteCell(gameSprites.shot, x - half, y - half, ring.W(), ring.H(), ring.U(), ring.V(), ring.W(), ring.H(),
                       kWhite);
    }
}

void PC::Burst(ObjectController* ctx) {
    ctx->CreateObject(type_id::EF_Blast_01, x, y, 0, 0, 0, 0, nullptr);
    ctx->FirePattern(type_id::S_PCBlast, x, y, 8.0f, -0.5f, 8, false, static_cast<int32_t>(x + y), 315, nullptr);
}

void PC::Damage(ObjectController* ctx, float amount) {
    if (invincible != 0 && amount != 2.0f) return;
    hp -= amount;
    if (hp > 0.0f) return;

    if (ctx->gameMode < kGhostModes) {
        Kill();
        ctx->PlaySE(sound::kCharacterLost);
        if (ctx->pcController != nullptr) ctx->pcController->OnMessage(Msg(3, party_message::kInvincibleFor, ctx, 120));
        return;
    }
    if (ctx->gameMode > kGhostModes && amount == 1.0f && inputMode == kInputRecorded) {
        // The live player of a ghost stage loses a life but stays in play.
        if (owner != nullptr) owner->OnMessage(Msg(3, party_message::kLifeLost, ctx));
        ctx->PlaySE(sound::kCharacterLost);
        Burst(ctx);
        hp = 1.0f;
        invincible = 120;
        powerLevel = powerItems = 0;
        ctx->KillShots();
        ctx->KillBullets();
        ctx->KillEnemies();
        ctx->KillWaves();
        ResetWeaponState();
        return;
    }
    switch (inputMode) {
        case kInputRecorded:
            // The recorded turn ends here.
            RecordInput(0);
            SetInactive(36000);
            if (owner != nullptr) owner->OnMessage(Msg(3, party_message::kGhostTurnOver, ctx));
            Burst(ctx);
            inputMode = kInputParked;
            RecordEvent(0, age, 0, 0, 0);
            if (owner != nullptr) owner->OnMessage(Msg(3, party_message::kLifeLost, ctx));
            ctx->PlaySE(sound::kCharacterLost);
            break;
        case kInputPlayedBack:
        case kInputRecordedAgain:
        case kInputPlayedBackAgain:
            hp = 1.0f;  // played-back players cannot die
            break;
        default:
            break;
    }
}

void PC::OnKilled(ObjectController* ctx) {
    if (ctx->gameRunning) {
        Burst(ctx);
        if (ctx->currentScene != nullptr) ctx->currentScene->OnMessage(Msg(2, stage_message::kWaveSizeDown, ctx));
    }
    record.Clear();
}

void PC::GainPowerItem(ObjectController* ctx, int32_t cap) {
    powerItems += 1;
    if (ctx->gameRunning) {
        if (ctx->gameMode < kGhostModes) {
            if (ctx->pcController != nullptr) ctx->pcController->OnMessage(Msg(3, party_message::kInvincibleFor, ctx, 60));
        } else {
            invincible += 60;
        }
    }
    if (powerItems > powerLevel) {
        powerLevel += 1;
        powerItems = 0;
        if (ctx->gameRunning && inputMode < kInputPlayedBack) ctx->PlaySE(sound::kPowerUp);
        if (powerLevel > cap) {
            powerLevel = cap;
            if (ctx->currentScene != nullptr) ctx->currentScene->OnMessage(Msg(3, stage_message::kExcessCapacityBonus, ctx));
        }
    } else if (inputMode == kInputLive || inputMode == kInputRecorded) {
        ctx->PlaySE(sound::kPowerItemTaken);
    }
    if (inputMode == kInputRecorded) RecordEvent(1, age, 0, 0, 0);
}

void PC::PowerUp(ObjectController* ctx, int32_t) { GainPowerItem(ctx, 3); }

void PC::OnMessage(const Message& message) {
    switch (message.Code()) {
        case character_message::kRespawn: {
            int32_t mode = message.Int(0);
            hp = 1.0f;
            inputMode = mode;
            powerLevel = powerItems = 0;
            age = 0;
            record.recordWord = 0;
            record.recordRun = 0;
            invincible = 2;
            ResetWeaponState();
            switch (mode) {
                case kInputRecorded:
                    record.Clear();
                    inactive = 0;
                    break;
                case kInputPlayedBack:
                    record.Rewind();
                    inactive = 0;
                    x = 128.0f;
                    y = 180.0f;
                    break;
                case kInputParked:
                    inactive = 3600;
                    break;
                case kInputRecordedAgain:
                    inactive = 0;
                    invincible = 120;
                    inputMode = kInputRecorded;
                    break;
                case kInputPlayedBackAgain:
                    inactive = 0;
                    x = 128.0f;
                    y = 180.0f;
                    invincible = 120;
                    inputMode = kInputPlayedBack;
                    break;
                default:
                    break;
            }
            break;
        }
        case character_message::kRecordWave:
            // Sent as (ctx, a, b, c) by the party's controller.
            RecordEvent(2, age, message.Float(1), message.Int(2), message.Int(3));
            break;
        default:
            break;
    }
}
