// The events other objects report to the stage: bonuses with their labels and items, the bonus
// chain and value, the enemy-table row timer, game over, loops and the ghost bosses.
#include "game/stage/script.h"

#include <algorithm>

#include "game/world/message_codes.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace sm = stage_message;

namespace {

// Bonus labels.
constexpr int32_t kHecatomb = 276;
constexpr int32_t kExcessCapacity = 277;
constexpr int32_t kSubvert = 278;
constexpr int32_t kMortalWound = 279;
constexpr int32_t kWithoutDelay = 280;
constexpr int32_t kParadigmShift = 281;
constexpr int32_t kAnnihilate = 282;
constexpr int32_t kInefficientBlow = 283;
constexpr int32_t kPlague = 284;
constexpr int32_t kEnthusiastic = 285;
constexpr int32_t kFailure = 286;

}  // namespace

int32_t Script::TakeLabelLine() {
    for (int32_t i = 0; i < 16; ++i) {
        if (labelCooldowns[i] == 0) {
            labelCooldowns[i] = 60;
            return i;
        }
    }
    return 16;
}

void Script::Label(ObjectController* ctx, int32_t effectId, int32_t shown) {
    const float y = static_cast<float>(TakeLabelLine() * 8 + 32);
    ctx->CreateObject(effectId, static_cast<float>(shown), y, 0, 0, 0, 0, nullptr);
}

void Script::BonusItem(ObjectController* ctx, float x, float y, int32_t value) {
    Object* item = ctx->CreateObject(type_id::I_Bonus, x, y, 0, 0, 0, 0, nullptr);
    if (item != nullptr) item->SetScore(value);
}

void Script::AwardBonus(ObjectController* ctx, int32_t labelId, float x, float y) {
    const int32_t v = NextBonusValue();
    Label(ctx, labelId, v);
    BonusItem(ctx, x, y, v);
}

void Script::AwardEightBonus(ObjectController* ctx, int32_t labelId, float x, float y) {
    const int32_t v = NextBonusValue();
    Label(ctx, labelId, v);
    ctx->CreateObject(type_id::EF_8Bonus, x, y, static_cast<float>(v), 0, 0, 0, nullptr);
}

int32_t Script::NextBonusValue() {
    const int32_t rb = rank == 0 ? 0 : std::min((rank + 1) / 2, 9);
    int32_t cap = 0;
    int32_t step = 0;
    if (stage % 16 != 0) {
        cap = (waveSize + waveRow * 2) * 16 + rank;
        step = waveRow + 1 + rb;
        if (waveRow > 11) {
            cap = (waveSize + 32) * 16 + rank;
            step = rb + 16;
        }
    } else {
        const int32_t q = waveSize / 8;
        cap = (waveRow + waveSize * 2) * 16 + rank;
        step = q + waveRow + 1 + rb;
        if (waveRow > 11) {
            cap = (waveSize + 8) * 32 + rank;
            step = q + 16 + rb;
        }
    }
    bonusValue += step * 10;
    bonusValue = std::min(bonusValue, cap * 10);
    if (stage % 16 != 0) bonusValue = std::min(bonusValue, 9990);
    return bonusValue;
}

void Script::CutBonusValue() { bonusValue = chain == 0 ? 0 : (bonusValue / 20) * 10; }

void Script::AdvanceRowTimer(int32_t points) {
    rowTimer -= points;
    if (rowTimer >= 0) return;
    waveRow = waveRow >= 15 ? 12 : waveRow + 1;
    waveColumn = 0;
    rowTimer = (waveRow + 16) * 24;
    waveCountdown = static_cast<int32_t>(waveInterval);
    AddWaveSize(1);
    rowAdvanced = 1;
}

void Script::GrowGhostTimer(int32_t a) {
    int32_t v = 0;
    if (stage == 16) {
        v = ghostTimerReload >= 2560 ? (4860 - ghostTimerReload) * 100 / 2300 : 100;
        v += loops - bonusValue / (waveRow * 10 + 10);
        v = std::clamp(v, 0, 100);
        ghostTimerReload += v * a / 100;
        if (ghostTimerReload > 4799) ghostTimerReload = 4860;
    } else {
        v = std::clamp(100 - bonusValue / ((waveRow + 1) * 10), 0, 100);
        ghostTimerReload += v * a / 100;
    }
}

void Script::KillItem(ObjectController* ctx, int32_t x, int32_t y) {
    killCounter += 1;
    const int32_t t = std::min(waveSize, 32) + waveMultiplier * 4 - 4;
    const float p = ctx->pcController != nullptr ? ctx->pcController->GetPower() : 0.0f;
    const int32_t s = stage % 16;
    const float k = static_cast<float>(killCounter);
    bool drop = k > p * 4.0f + static_cast<float>(t);
    if (s == 5) drop = drop || k > (p + static_cast<float>(t)) * 0.5f;
    if (s == 6) drop = drop || k > p * 2.0f;
    if (!drop) return;
    ctx->CreateObject(s == 5 ? type_id::I_Recca : type_id::I_PowerUp, static_cast<float>(x), static_cast<float>(y), 0, 0, 0, 0,
                      nullptr);
    killCounter = 0;
}

void Script::HandleGameOverEvent(ObjectController* ctx) {
    if (ctx->gameMode > kGhostModes || (ctx->gameMode == kGhostModes && defeats >= 8)) {
        ClearStage(ctx);
        return;
    }
    if (gameOverCountdown != 0) return;
    ctx->CreateObject(type_id::EF_GameOver, 128, 0, 0, 0, 0, 0, nullptr);
    gameOverCountdown = 1;
}

void Script::NextLoop() {
    loops += 1;
    waveInterval = 255.0f;
    age = 0;
    scrollY = 0;
    scrollX = 64;
    waveCountdown = 255;
    clearCountdown = 0;
    bossActive = 0;
    phase = 0;
    phaseTimer = 0;
    phaseHold = 1;
    bonusValue = 0;
    GrowGhostTimer(120);
    ghostTimer = ghostTimerReload;
    if (stage % 2 == 1) wavesOn = 1;
    waveMultiplier = std::max((loops - defeats / 2) * 4 - 48, 1);
    if (loops >= 8) waveMultiplier += (loops - 6) / 2;
    waveColumn = (waveColumn / 4) * 4;
    loopStartScore = score;
    if (stage % 16 != 0) defeats += 1;
    bossTime = 0;
    bossParts = 0;
}

void Script::CreateGhostBoss(ObjectController* ctx) {
    Object* boss = ctx->CreateObject(type_id::EF_GhostBossBase, 12, 8, static_cast<float>(colourIndex), 0, 0, 0, this);
    if (boss != nullptr) boss->SetInactive(defeats);
}

void Script::GhostBossDefeated(ObjectController* ctx, int32_t x, int32_t y) {
    Object* party = ctx->pcController;
    const int32_t l = party != nullptr ? static_cast<int32_t>(party->GetHp()) : 0;
    defeats += 1;
    ghostTimer = std::max(ghostTimer, 180);
    CreateGhostBoss(ctx);
    AddWaveSize(1);
    if (l >= 2) {
        party->SetHp(static_cast<float>(l - 1));
        const int32_t v = (waveSize + defeats + 15) * 6400;
        Label(ctx, kInefficientBlow, v);
        BonusItem(ctx, static_cast<float>(x), static_cast<float>(y), v);
    } else {
        OnMessage(Msg(6, sm::kMortalWoundBonus, ctx, x, y));
    }
    OnMessage(Msg(2, sm::kChainAdvance));
}

void Script::OnMessage(const Message& message) {
    ObjectController* ctx = message.ControllerAt(0);
    if (ctx == nullptr) ctx = world_;
    world_ = ctx;
    // The one value of the codes that carry a number: first, or after the world when a sender
    // puts the world first.
    const int32_t n = message.Int(message.TypeOf(0) == Message::Type::kController ? 1 : 0);
    // Codes that need the world do nothing without one.
    const bool world = ctx != nullptr;
    switch (message.Code()) {
        case sm::kWaveTimerTick: TickWaveTimer(n, 1); return;
        case sm::kWaveSizeAdd: AddWaveSize(n); return;
        case sm::kWaveSizeDown:
            AddWaveSize(-1);
            if (waveSize < 1) waveSize = 1;
            return;
        case sm::kWaveSizeSet:
            waveSize = n;
            waveTarget = waveSize * 5 + waveBase;
            return;
        case sm::kWaveRowSet: waveRow = n; return;
        case sm::kRowTimerSet: rowTimer = n; return;
        case sm::kGhostTimerStart: ghostTimer = 1; return;
        case sm::kStageSetUp: SetUpStage(n); return;
        case sm::kNextLoop: NextLoop(); return;
        case sm::kChainAdvance: ChainAdvanced(); return;
        case sm::kChainBroken: ChainBroken(ctx); return;
        case sm::kStageBossDone: StageBossDone(ctx); return;
        case sm::kBossPartDestroyed: BossPartDestroyed(ctx); return;
        case sm::kEnemyKilled:
            if (world) KillItem(ctx, message.Int(1), message.Int(2));
            return;
        case sm::kGameOver:
            if (world) HandleGameOverEvent(ctx);
            return;
        case sm::kEnemyQueueSpawn:
            if (world) SpawnEnemyQueue(ctx, message.Int(1), message.Int(2), message.Int(3));
            return;
        case sm::kGhostBossDefeated:
            if (world) GhostBossDefeated(ctx, message.Int(1), message.Int(2));
            return;
        default:
            if (world && AwardEventBonus(ctx, message)) OnMessage(Msg(2, sm::kChainAdvance));
            return;
    }
}

void Script::ChainAdvanced() {
    AddChain();
    AdvanceRowTimer(chain);
    GrowGhostTimer(20);
}

void Script::ChainBroken(ObjectController* ctx) {
    if (ctx != nullptr && ctx->gameMode < kGhostModes) {
        CutBonusValue();
        if (waveSize > 4 && chain == 0) AddWaveSize(-1);
    }
    ResetChain();
    if (ctx != nullptr) Label(ctx, kFailure, 128);
}

void Script::StageBossDone(ObjectController* ctx) {
    if (ctx != nullptr && clearCountdown == 0) ClearStage(ctx);
    bossActive = 0;
}

void Script::BossPartDestroyed(ObjectController* ctx) {
    // A part reported after the boss was already done (or before one was armed) must not drive
    // the count below zero: the scroll would never resume.
    if (bossParts <= 0 || ctx == nullptr) return;
    bossParts -= 1;
    if (bossParts != 0) return;
    phaseTimer = 0;
    OnMessage(Msg(4, sm::kWithoutDelayBonus, ctx, (bossTime / 60) * 1000));
    bossTime = 0;
    ctx->CreateObject(type_id::EF_Blast_Stage3Boss, 128, 120, 0, 0, 0, 0, nullptr);
    ctx->KillBullets();
}

bool Script::AwardEventBonus(ObjectController* ctx, const Message& message) {
    // The sender's position, for the codes that carry one after the world.
    const float x = static_cast<float>(message.Int(1));
    const float y = static_cast<float>(message.Int(2));
    switch (message.Code()) {
        case sm::kHecatombBonus: AwardBonus(ctx, kHecatomb, x, y); return true;
        case sm::kExcessCapacityBonus: AwardBonus(ctx, kExcessCapacity, PartyX(ctx), 240); return true;
        case sm::kSubvertBonus: AwardBonus(ctx, kSubvert, x, y); return true;
        case sm::kMortalWoundBonus: AwardEightBonus(ctx, kMortalWound, x, y); return true;
        case sm::kParadigmShiftBonus: AwardEightBonus(ctx, kParadigmShift, PartyX(ctx), 240); return true;
        case sm::kWithoutDelayBonus:
            Label(ctx, kWithoutDelay, message.Int(1));
            BonusItem(ctx, 128, 32, message.Int(1));
            return true;
        case sm::kAnnihilateBonus: {
            const int32_t v = ctx->BombAll(64, false) * 100;
            Label(ctx, kAnnihilate, v);
            BonusItem(ctx, PartyX(ctx), 0, v);
            return true;
        }
        case sm::kPlagueBonus: {
            const int32_t v = NextBonusValue();
            Label(ctx, kPlague, v);
            ctx->ItemsToBonus(v);
            return true;
        }
        case sm::kEnthusiasm:
            enthusiasmCounter += 1;
            if (enthusiasmCounter <= rank * 8 + 128) return false;
            enthusiasmCounter = 0;
            AwardBonus(ctx, kEnthusiastic, x, y);
            return true;
        case sm::kSubvertBonusOf:
            NextBonusValue();
            BonusItem(ctx, x, y, message.Int(3));
            Label(ctx, kSubvert, message.Int(3));
            return true;
        default: return false;  // 20 and codes outside 0-27
    }
}
