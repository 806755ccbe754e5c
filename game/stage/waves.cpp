// Enemy waves: the stage's pacing of the waves (the countdown, the interval that shrinks towards
// a target, the 16 lanes) and the wave object that releases its enemies and reports the outcome.
#include <algorithm>

#include "framework/app/zeth.h"
#include "game/stage/script.h"
#include "game/world/message_codes.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

constexpr int32_t kPopHomingKind = 66;
constexpr int32_t kSplitKind = 74;
constexpr int32_t kIronBallKind = 2;
constexpr int32_t kSquareBlockKind = 65;
constexpr int32_t kBackAttackKind = 73;
// A wave of one pop-homing enemy has no pair to space out: it is placed as if the spacing were
// the whole height the pairs use.
constexpr float kSingleSpacing = 208.0f;

const char kNoSuchCommonText[] = "そんな敵いないよ＠ザコ";
const char kNoSuchYellowText[] = "そんな敵いないよ＠黄色";
const char kBadLaneText[] = "不正なメモリ書き込みを阻止したよ\n＠スクリプトのゴーストモードの敵エントリ";

// The class each wave kind releases, by kind.
constexpr int32_t kCommonClasses[] = {  // kinds 0-7
    type_id::E_Coin_W, type_id::E_Box_W, type_id::E_IronBall_W, type_id::E_Circle_W,
    type_id::E_DropCircle_W, type_id::E_ZigzagX_W, type_id::E_EdgeMove4Circle_W,
    type_id::E_RefrectWall6_W,
};
constexpr int32_t kYellowClasses[] = {  // kinds 64-75
    type_id::E_ReverseWing_Y, type_id::E_SquareBlock_Y, type_id::E_PopHoming_Y, type_id::E_NearingBall_Y,
    type_id::E_HorizonSlide_Y, type_id::E_AntiBullet_Y, type_id::E_StopCharge_Y, type_id::E_Homing_Y,
    type_id::E_ObliqueSlide_Y, type_id::E_BackAttack_Y, type_id::E_Split_Large_Y, type_id::E_Bound_Y,
};
constexpr int32_t kMidBossClasses[] = {  // kind mod 4
    type_id::E_3Cannon_B, type_id::E_Shield_B, type_id::E_UFO_B, type_id::E_Arms_B,
};

// A kind without a class releases nothing. The wave says so on its first release only (each
// box waits for the player) and counts every release as an enemy already gone, so that it
// frees its lane and ends instead of asking again and again.
void RefuseRelease(SC_EnemyQ& wave, const char* text) {
    if (wave.spawned == 0) Zeth::MessageBox(0, "test", "%s", text);
    wave.spawned += 1;
    wave.remaining -= 1;
}

}  // namespace

// ---- the stage's pacing ----

void Script::TickWaveTimer(int32_t step, int32_t n) {
    if (wavePause > 0) {
        wavePause -= 1;
        return;
    }
    waveCountdown -= step;
    if (waveInterval < static_cast<float>(waveCountdown)) waveCountdown = static_cast<int32_t>(waveInterval);
    float d = ((waveInterval - static_cast<float>(waveTarget)) + static_cast<float>(age / 360)) *
              static_cast<float>(step) / (static_cast<float>(n) * 1500.0f);
    d = std::clamp(d, 0.0f, 1.0f);
    waveInterval -= d;
    if (waveInterval < 60.0f) waveInterval = 60.0f;
}

void Script::DelayWave(int32_t frames) {
    waveCountdown += frames;
    waveCountdown = std::min(waveCountdown, static_cast<int32_t>(waveInterval));
}

void Script::AddWaveSize(int32_t n) {
    waveSize += n;
    if (stage == 16) waveSize = std::min(waveSize, defeats / 4 + 8);
    waveTarget = waveSize * 5 + waveBase;
}

void Script::AddWaveInterval(int32_t n) { waveInterval = std::min(waveInterval + static_cast<float>(n), 65535.0f); }

void Script::NextColumn() {
    waveColumn += 1;
    if (waveColumn > 15) {
        waveColumn = 0;
        AddWaveSize(1);
    }
}

void Script::SpawnWave(ObjectController* ctx) {
    world_ = ctx;
    const int32_t kind = enemyTable[waveRow & 15][waveColumn & 15];
    const bool down = PartyX(ctx) <= 128.0f;
    float x = 0.0f;
    bool placed = false;
    for (int32_t i = 0; i < kLanes; ++i) {
        const int32_t lane = down ? 15 - i : i;
        if (waveSlots[lane] != nullptr) continue;
        x = static_cast<float>(lane * 16 + 8);
        waveSlots[lane] = static_cast<SC_EnemyQ*>(
            ctx->CreateObject(type_id::SC_EnemyQ, x, static_cast<float>(kind), static_cast<float>(waveSize), 0, 0, 0, this));
        placed = true;
        break;
    }
    if (!placed) {
        const int32_t walk = (age * 16) % 240;
        x = down ? static_cast<float>(248 - walk) : static_cast<float>(walk + 8);
        ctx->CreateObject(type_id::SC_EnemyQ, x, static_cast<float>(kind), static_cast<float>(waveSize), 0, 0, 0, nullptr);
    }
    if (ctx->gameMode >= kGhostModes && ctx->pcController != nullptr) {
        ctx->pcController->OnMessage(Msg(6, party_message::kRecordWave, ctx, static_cast<int32_t>(x), kind, waveSize));
    }
    if (waveColumn == 15) {
        waveInterval += 60.0f;
        if (stage < 16) wavePause = 180;
    }
    DelayWave(static_cast<int32_t>(waveInterval));
    NextColumn();
}

void Script::SpawnEnemyQueue(ObjectController* ctx, int32_t x, int32_t kind, int32_t count) {
    const int32_t lane = (x - 8) / 16;
    if (lane < 0 || lane > 15) {
        Zeth::MessageBox(0, "test", "%s", kBadLaneText);
        return;
    }
    const bool store = waveSlots[lane] == nullptr && count < 128;
    Object* wave = ctx->CreateObject(type_id::SC_EnemyQ, static_cast<float>(x), static_cast<float>(kind), static_cast<float>(count),
                                     1.0f, 0, 0, store ? this : nullptr);
    if (store) waveSlots[lane] = static_cast<SC_EnemyQ*>(wave);
}

// ---- the wave ----

int32_t WaveReleaseInterval(int32_t count) {
    int32_t interval = 0;
    if (count < 16) interval = 15 - count / 4;
    else if (count < 64) interval = 13 - count / 16;
    else if (count < 256) interval = 10 - count / 64;
    else interval = 7 - count / 256;
    return std::max(interval, 3);
}

SC_EnemyQ::SC_EnemyQ(float px, float py, float a, float b, float c, float) {
    Init();
    x = px;
    enemyKind = static_cast<int32_t>(py);
    count = static_cast<int32_t>(a);
    ghostFlag = static_cast<int32_t>(b);
    colourSelector = static_cast<int32_t>(c);
    lastX = static_cast<int32_t>(px);
    remaining = count;
    interval = WaveReleaseInterval(count);
    if (enemyKind >= 128) count = remaining = 1;
}

Object* SC_EnemyQ::Release(ObjectController* ctx, int32_t typeId, float ex, float ey) {
    Object* enemy = ctx->CreateObject(typeId, ex, ey, 0, 0, 0, 0, this);
    if (enemy != nullptr && ghostFlag == 1) enemy->OnMessage(Msg(3, enemy_message::kGhostLook, 1));
    return enemy;
}

void SC_EnemyQ::ReleaseCommon(ObjectController* ctx) {
    if (enemyKind == kIronBallKind && age == 0) interval = 2;
    if (age % interval != 0 || spawned >= count) return;
    if (enemyKind < 8) {
        float ex = x;
        float ey = 0.0f;
        if (enemyKind == kIronBallKind) {
            ex = x < 128.0f ? 0.0f : 256.0f;
            ey = count <= 1 ? 0.0f : 200.0f / static_cast<float>(count - 1) * static_cast<float>(spawned) + 8.0f;
        }
        Release(ctx, kCommonClasses[enemyKind], ex, ey);
        spawned += 1;
    } else {
        RefuseRelease(*this, kNoSuchCommonText);
    }
}

void SC_EnemyQ::ReleasePopHoming(ObjectController* ctx) {
    const float spacing = count / 2 > 0 ? 208.0f / static_cast<float>(count / 2) : kSingleSpacing;
    const float partyX = PartyX(ctx);
    const float left = std::max(partyX - 128.0f, 8.0f);
    const float right = std::min(partyX + 128.0f, 248.0f);
    for (int32_t i = 0; i < count; ++i) {
        const float ey = static_cast<float>(static_cast<int32_t>(static_cast<float>(i / 2) * spacing + 16.0f));
        Release(ctx, 38, i % 2 == 1 ? right : left, ey);
    }
    spawned = count;
}

void SC_EnemyQ::ReleaseYellow(ObjectController* ctx) {
    if (age % interval != 0 || spawned >= count) return;
    if (enemyKind > 75) {
        RefuseRelease(*this, kNoSuchYellowText);
        return;
    }
    if (enemyKind == kPopHomingKind) {
        ReleasePopHoming(ctx);
        return;
    }
    float ex = x;
    float ey = 0.0f;
    if (enemyKind == kSquareBlockKind) ex = static_cast<float>((static_cast<int32_t>(age / 2 + x) % 14 + 1) * 16);
    if (enemyKind == kBackAttackKind) ey = 240.0f;
    Object* enemy = Release(ctx, kYellowClasses[enemyKind - 64], ex, ey);
    spawned += 1;
    if (enemyKind == kSplitKind) {
        remaining = count * 5 + 1;
        if (enemy != nullptr) enemy->angle = count;
        count = spawned = remaining;
    }
}

void SC_EnemyQ::ReleaseMidBoss(ObjectController* ctx) {
    if (age != 0) return;
    Object* boss = Release(ctx, kMidBossClasses[enemyKind % 4], 128, 0);
    spawned += 1;
    if (boss != nullptr) boss->angle = (enemyKind - 128) / 4;
}

void SC_EnemyQ::Update(ObjectController* ctx) {
    world_ = ctx;
    if (state == kAlive) {
        if (enemyKind < 64) ReleaseCommon(ctx);
        else if (enemyKind < 128) ReleaseYellow(ctx);
        else if (enemyKind < 192) ReleaseMidBoss(ctx);
    }
    if (spawned >= count && owner != nullptr) {
        owner->ForgetObject(this);
        owner = nullptr;
    }
    if (remaining == 0) {
        Kill();
        Object* scene = ctx->currentScene;
        if (scene != nullptr) {
            if (destroyed == count) scene->OnMessage(Msg(5, stage_message::kHecatombBonus, ctx, lastX, lastY));
            else scene->OnMessage(Msg(3, stage_message::kChainBroken, ctx));
        }
    }
    age += 1;
}

void SC_EnemyQ::ForgetObject(Object* gone) {
    if (gone == owner) {
        owner = nullptr;
        return;
    }
    remaining -= 1;
    if (gone->GetHp() <= 0.0f) destroyed += 1;
    lastX = static_cast<int32_t>(gone->GetX());
    lastY = static_cast<int32_t>(gone->GetY());
}

// A wave ended from outside leaves enemies that still name it as owner.
void SC_EnemyQ::Detach() {
    ReleaseOwnedObjects(world_, this);
    Object::Detach();
}
