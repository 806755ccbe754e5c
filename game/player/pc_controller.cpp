#include "game/player/pc_controller.h"

#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/kinds.h"
#include "game/world/message_codes.h"
#include "game/world/object_controller.h"
#include "game/world/text.h"

namespace {

constexpr int32_t kGhostModes = 16;
constexpr int32_t kRespawnFrames = 60;
constexpr int32_t kSpawnInvincibility = 120;
constexpr int32_t kGhostBeat = 160;

// Rows from the top: the code's digits are the numbers of characters in each row.
constexpr Formation kFormations[] = {
    // code   seat 0       seat 1       seat 2       seat 3
    {1,    {{0, 0},     {0, 0},     {0, 0},     {0, 0}}},
    {2,    {{-8, 0},    {8, 0},     {0, 0},     {0, 0}}},
    {11,   {{0, -8},    {0, 8},     {0, 0},     {0, 0}}},
    {3,    {{-16, 0},   {0, 0},     {16, 0},    {0, 0}}},
    {12,   {{0, -8},    {-8, 8},    {8, 8},     {0, 0}}},
    {21,   {{-8, -8},   {8, -8},    {0, 8},     {0, 0}}},
    {111,  {{0, -16},   {0, 0},     {0, 16},    {0, 0}}},
    {4,    {{-24, 0},   {-8, 0},    {8, 0},     {24, 0}}},
    {13,   {{0, -8},    {-16, 8},   {0, 8},     {16, 8}}},
    {31,   {{-16, -8},  {0, -8},    {16, -8},   {0, 8}}},
    {22,   {{-8, -8},   {8, -8},    {-8, 8},    {8, 8}}},
    {112,  {{0, -16},   {0, 0},     {-8, 16},   {8, 16}}},
    {121,  {{0, -16},   {-8, 0},    {8, 0},     {0, 16}}},
    {211,  {{-8, -16},  {8, -16},   {0, 0},     {0, 16}}},
    {1111, {{0, -24},   {0, -8},    {0, 8},     {0, 24}}},
};

// The speed of a ghost turn's live member: two characters fly slowly.
float GhostSpeed(int32_t id) { return id == 34 || id == 35 ? 1.0f : 3.0f; }

}  // namespace

const Formation* FindFormation(int32_t code) {
    for (const Formation& f : kFormations) {
        if (f.code == code) return &f;
    }
    return nullptr;
}

PCController::PCController(float px, float py) {
    Init();
    x = px;
    y = py;
    kind = kind::kPartyController;
    hp = maxHp = 10000.0f;
    hitHalfWidth = hitHalfHeight = 0;
    speed = 3.0f;
    spriteRow = -1;
}

int32_t PCController::ActiveSeat(const ObjectController* ctx) const { return ghostTurn % ctx->playerCount; }

bool PCController::AnySeatHeld(int32_t count) const {
    for (int32_t i = 0; i < count && i < kSeats; ++i) {
        if (members[i] != nullptr) return true;
    }
    return false;
}

void PCController::SetFormation(int32_t code) {
    formation = code;
    const Formation* f = FindFormation(code);
    if (f == nullptr) return;
    for (int i = 0; i < 4; ++i) {
        offsetX[i] = f->seats[i][0];
        offsetY[i] = f->seats[i][1];
    }
}

void PCController::SpawnCharacter(int32_t seat, ObjectController* ctx) {
    if (seat < 0 || seat >= ctx->playerCount || !ctx->gameRunning || members[seat] != nullptr) return;
    PC* made = dynamic_cast<PC*>(ctx->CreatePC(memberIds[seat] + 99));
    if (made == nullptr) return;
    members[seat] = made;
    made->invincible = kSpawnInvincibility;
    made->SetScore(seat);
}

void PCController::TellGameOver(ObjectController* ctx) {
    if (gameOverSent) return;
    gameOverSent = true;
    if (ctx->currentScene != nullptr) ctx->currentScene->OnMessage(Msg(3, stage_message::kGameOver, ctx));
}

void PCController::Run(ObjectController* ctx) {
    int32_t count = ctx->playerCount;
    powerLevel = 0;
    if (ctx->gameMode < kGhostModes) {
        for (int32_t i = 0; i < count; ++i) {
            if (members[i] == nullptr && respawnTimer[i] > 0) {
                respawnTimer[i] -= 1;
                if (respawnTimer[i] == 0) SpawnCharacter(i, ctx);
            }
            if (members[i] != nullptr) {
                members[i]->x = offsetX[i] + x;
                members[i]->y = offsetY[i] + y;
                powerLevel += static_cast<int32_t>(members[i]->GetPower());
            }
        }
    } else {
        PC* active = members[ActiveSeat(ctx)];
        if (active != nullptr) {
            active->x = x;
            active->y = y;
            powerLevel += static_cast<int32_t>(active->GetPower());
        }
    }

    if (hp >= 1000.0f) ReadInput(ctx);

    if (!AnySeatHeld(count)) {
        vx = vy = 0.0f;
        y = 180.0f;
        if (x < 124.0f) x += 4.0f;
        else if (x > 132.0f) x -= 4.0f;
        else x = 128.0f;
        bool pending = false;
        for (int i = 0; i < 4; ++i) pending = pending || respawnTimer[i] != 0;
        if (!pending && ctx->gameRunning) TellGameOver(ctx);
    }

    if (holdButton3 == 1 && speedChange != 0 && ctx->gameMode < kGhostModes) {
        speed += 1.0f;
        if (speed > 5.0f) speed = 2.0f;
        speedShown = 32;
    }
    if (speedShown > 0) speedShown -= 1;

    age += 1;

    if (ghostTimer > 0 && lives >= 0 && ctx->gameRunning) {
        ghostTimer -= 1;
        if (ghostTimer == 0) EndGhostTurn(ctx);
    }
}

void PCController::EndGhostTurn(ObjectController* ctx) {
    ctx->VanishEnemies();
    ctx->VanishBullets();
    ctx->KillItems();
    ctx->KillEffectsAndWaves();
    ctx->VanishShots();
    if (ctx->currentScene != nullptr) ctx->currentScene->OnMessage(Msg(3, stage_message::kNextLoop, ctx));
    ghostTurn += 1;
    int32_t active = ActiveSeat(ctx);
    for (int32_t i = 0; i < ctx->playerCount && i < ghostTurn; ++i) {
        if (i != active && members[i] != nullptr) members[i]->OnMessage(Msg(3, character_message::kRespawn, kInputPlayedBack));
    }
    float turnSpeed = GhostSpeed(memberIds[active]);
    if (members[active] != nullptr) {
        members[active]->OnMessage(Msg(3, character_message::kRespawn, kInputRecorded));
        members[active]->speed = turnSpeed;
    }
    speed = turnSpeed;
    x = 128.0f;
    y = 180.0f;
}

void PCController::SeatParty(const Message& message) {
    int32_t count = message.Code();
    speed = 3.0f;
    lives = 3;
    gameOverSent = false;
    // A new party starts with no respawn pending and no seat left over from the last one.
    for (int i = 0; i < kSeats; ++i) {
        respawnTimer[i] = 0;
        if (i >= count) members[i] = nullptr;
    }
    for (int32_t i = 0; i < count; ++i) {
        members[i] = dynamic_cast<PC*>(message.ObjectAt(2 * i));
        memberIds[i] = message.Int(2 * i + 1);
        if (members[i] != nullptr) members[i]->SetScore(i);
    }
}

void PCController::Extend(ObjectController* ctx) {
    lives += 1;
    for (int32_t i = 0; i < ctx->playerCount; ++i) {
        if (members[i] == nullptr && respawnTimer[i] == 0 && lives > 0 && ctx->gameMode < kGhostModes) {
            SpawnCharacter(i, ctx);
            if (members[i] != nullptr) lives -= 1;
        }
    }
}

void PCController::BeginGhostGame(ObjectController* ctx) {
    ghostTimer = 0;
    for (int32_t i = 1; i < ctx->playerCount; ++i) {
        if (members[i] == nullptr) continue;
        members[i]->SetInactive(3600);
        members[i]->OnMessage(Msg(3, character_message::kRespawn, kInputParked));
    }
    if (members[0] != nullptr) members[0]->OnMessage(Msg(3, character_message::kRespawn, kInputRecorded));
    ghostTurn = 0;
    speed = GhostSpeed(memberIds[0]);
    if (members[0] != nullptr) members[0]->speed = speed;
}

void PCController::LoseLife(ObjectController* ctx) {
    lives -= 1;
    if (lives >= 0) return;
    if (ctx->currentScene != nullptr) ctx->currentScene->OnMessage(Msg(3, stage_message::kGameOver, ctx));
    ghostTimer = 0;
    for (PC* member : members) {
        if (member != nullptr) member->OnMessage(Msg(3, character_message::kRespawn, kInputParked));
    }
}

void PCController::OnMessage(const Message& message) {
    ObjectController* ctx = message.ControllerAt(0);
    int32_t code = message.Code();
    if (code >= party_message::kSeatOne && code <= party_message::kSeatFour) {
        SeatParty(message);
        return;
    }
    switch (code) {
        case party_message::kFormation:
            SetFormation(message.Int(0));
            return;
        case party_message::kSpeedChange:
            speedChange = message.Int(0) & 0xFF;
            return;
        default:
            break;
    }
    if (ctx == nullptr) return;
    switch (code) {
        case party_message::kExtend:
            Extend(ctx);
            break;
        case party_message::kGhostGameStart:
            BeginGhostGame(ctx);
            break;
        case party_message::kGhostTurnOver:
            if (ctx->currentScene != nullptr) ghostTimer = kGhostBeat - ctx->currentScene->age % kGhostBeat;
            if (ghostTimer < 60) ghostTimer += kGhostBeat;
            break;
        case party_message::kRecordWave: {
            PC* active = members[ActiveSeat(ctx)];
            if (active != nullptr) {
                active->OnMessage(Msg(5, character_message::kRecordWave, ctx, message.Float(1), message.Int(2), message.Int(3)));
            }
            break;
        }
        case party_message::kGhostTimeUp: {
            PC* active = members[ActiveSeat(ctx)];
            if (active != nullptr) active->Damage(ctx, 2.0f);
            break;
        }
        case party_message::kLifeLost:
            LoseLife(ctx);
            break;
        case party_message::kInvincibleFor:
            if (ctx->gameMode < kGhostModes) {
                for (PC* member : members) {
                    if (member != nullptr) member->invincible += message.Int(1);
                }
            }
            break;
        default:
            break;
    }
}

void PCController::ForgetObject(Object* gone) {
    for (int i = 0; i < kSeats; ++i) {
        if (members[i] == nullptr || members[i] != gone) continue;
        members[i] = nullptr;
        if (lives > 0) {
            respawnTimer[i] = kRespawnFrames;
            lives -= 1;
        }
        return;
    }
    // A character that holds no seat (the party set-up's preview) costs nothing.
}

void PCController::Detach() {
    for (PC* member : members) {
        if (member != nullptr) member->ForgetObject(self);
    }
}

void PCController::SetAge(int32_t value) {
    age = value;
    for (int i = 0; i < 4; ++i) {
        if (members[i] != nullptr) members[i]->SetAge(value);
    }
}

void PCController::Draw(ObjectController* ctx) {
    if (!ctx->gameRunning) return;
    bool shown = false;
    for (int i = 0; i < kSeats; ++i) shown = shown || members[i] != nullptr || respawnTimer[i] > 0;
    if (shown) {
        DrawNumber(lives >= 100 ? 34.0f : 26.0f, 16.0f, lives, -1);
        DrawSpriteCell(gameSprites.effect1, 10, 16, 8, 8, cell::life_icon.U(), cell::life_icon.V(), 8, 8, 0xFFFFFFFFu);
    }
    if (ctx->gameMode >= kGhostModes) {
        if (ghostTimer >= 1 && ghostTimer < 16) {
            DrawSpriteCell(gameSprites.effect1, 0, 0, static_cast<float>((16 - ghostTimer) * 16), 256, kSolidTexels.u,
                           kSolidTexels.v, kSolidTexels.width, kSolidTexels.height, 0xFF787878u);
        }
        DrawSpriteCell(gameSprites.effect2, 0, 24.0f + 8.0f * static_cast<float>(ActiveSeat(ctx)), 8, 8,
                       cell::menu_pointer.U(), cell::menu_pointer.V(), 8, 8, 0xFFFFFFFFu);
    }
    if (speedShown >= 1) {
        DrawNumber(x - 6.0f, y - 40.0f + static_cast<float>(speedShown), static_cast<int32_t>(speed - 1.0f), -1);
    }
}
