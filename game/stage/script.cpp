// The stage script's set-up, its per-frame step, scoring and extends, and the way a stage ends:
// the stage-clear scene for the next stage, or the result.
#include "game/stage/script.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "framework/app/zeth.h"
#include "game/stage/stage_tables.h"
#include "game/world/factory.h"
#include "game/world/message_codes.h"
#include "game/world/object_controller.h"
#include "game/world/sound_ids.h"
#include "game/world/type_table.h"

namespace {

constexpr int32_t kFirstButton = 4;
constexpr int32_t kThirdButton = 6;

const char kNoEnemyTableText[] = "敵の出現テーブルがないよぅ";
const char kNoBgTableText[] = "背景テーブルの書かれたファイルが読めないよぅ";

// The map and pacing of each stage at set-up; -1 leaves a value as it was.
struct StageSetup {
    int32_t stage;
    int32_t mapWidth, mapHeight, scrollMode, scrollSpeed, waveBase, waveMultiplier, wavesOn, attackTimer;
};

// stage  width height mode speed base mult waves attack
constexpr StageSetup kStageSetups[] = {
    {1, 24, 1024, 0, 1, 300, 1, 1, -1},
    {2, 16, 128, 1, 1, 360, 1, 0, -1},
    {3, 16, 1024, 2, 1, 270, 1, 1, -1},
    {4, 16, 128, 1, 1, 360, 1, 0, -1},
    {5, 16, 128, 1, 0, 240, 2, 1, -1},
    {6, 16, 128, 1, 0, 360, 1, 0, -1},
    {7, 20, 512, 0, 1, 120, 1, 1, -1},
    {8, 16, 128, 1, 0, 360, 1, 0, -1},
    {9, 20, 1024, 0, 1, 180, 2, 1, -1},
    {10, 16, 128, 1, 0, 300, 1, 1, 7260},
    {11, 16, 128, 1, 0, 300, 1, 1, 18060},
    {12, 16, 128, 1, 0, 300, 1, 1, 0},
    {16, 16, 128, 2, 0, 20, 1, 1, -1},
};
constexpr StageSetup kOtherStage = {0, -1, -1, -1, -1, 360, 1, -1, -1};

const StageSetup& FindStageSetup(int32_t n) {
    for (const StageSetup& s : kStageSetups) {
        if (s.stage == n) return s;
    }
    return kOtherStage;
}

template <typename T>
void SetUnlessKept(T* field, int32_t value) {
    if (value >= 0) *field = static_cast<T>(value);
}

int32_t ClampScore(int64_t value) {
    if (value > kScoreCap) return kScoreCap;
    if (value < 0) return 0;
    return static_cast<int32_t>(value);
}

}  // namespace

Script::Script(float, float, float, float, float, float) {
    Init();
    LoadEnemyTable();
}

void Script::LoadEnemyTable() {
    uint8_t values[kEnemyTableValues];
    if (!LoadTableFile("enemytable.csv", kEnemyTableFieldLimit, values, kEnemyTableValues, kEnemyTableValues)) {
        Zeth::MessageBox(0, "test", "%s", kNoEnemyTableText);
        Zeth::Exit(EXIT_FAILURE);
        return;
    }
    for (int i = 0; i < kEnemyTableValues; ++i) enemyTable[i / 16][i % 16] = values[i];
}

void Script::LoadBgTable() {
    std::vector<uint8_t> values(static_cast<size_t>(mapWidth) * mapHeight);
    if (!LoadTableFile(BgTableName(stage), kMapFieldLimit, values.data(), mapWidth * mapHeight, kMapValues)) {
        Zeth::MessageBox(0, "test", "%s", kNoBgTableText);
        Zeth::Exit(EXIT_FAILURE);
        return;
    }
    for (int i = 0; i < mapWidth * mapHeight; ++i) map[mapHeight - 1 - i / mapWidth][i % mapWidth] = values[i];
}

void Script::SetUpStage(int32_t n) {
    backgroundColour = -1;
    stage = n;
    waveMultiplier = 1;
    wavePause = 0;
    attackTimer = 0;
    waveBase = 360;
    killCounter = 0;
    enthusiasmCounter = 0;

    const StageSetup& s = FindStageSetup(n);
    SetUnlessKept(&mapWidth, s.mapWidth);
    SetUnlessKept(&mapHeight, s.mapHeight);
    SetUnlessKept(&scrollMode, s.scrollMode);
    SetUnlessKept(&scrollSpeed, s.scrollSpeed);
    SetUnlessKept(&waveBase, s.waveBase);
    SetUnlessKept(&waveMultiplier, s.waveMultiplier);
    SetUnlessKept(&wavesOn, s.wavesOn);
    SetUnlessKept(&attackTimer, s.attackTimer);

    waveTarget = waveSize * 5 + waveBase;
    waveInterval = static_cast<float>(waveTarget + 180);
    waveCountdown = static_cast<int32_t>(waveInterval);
    LoadBgTable();

    age = 0;
    scrollY = 0;
    scrollX = 64;
    clearCountdown = 0;
    bossActive = 0;
    phase = 0;
    phaseTimer = 0;
    phaseHold = 1;
    loops = 0;
    ghostTimerReload = ghostTimer = 1200;
    defeats = 0;
    bonusValue = 0;
    loopStartScore = 0;
    bestLoopGain = 0;
}

void Script::Run(ObjectController* ctx) {
    world_ = ctx;
    const int32_t mode = ctx->gameMode;
    if (age == 0) {
        ctx->gameRunning = true;
        if (mode < kGhostModes || (mode > kGhostModes && defeats == 0)) {
            ctx->bgm.PlayStage(stage);
            ctx->bgm.Play(0);
        }
        const int32_t s = stage % 16;
        if (s == 1 || s == 10 || s == 11 || s == 12) {
            for (int i = 0; i < 64; ++i) ctx->CreateObject(type_id::EF_Star_SS, 0, 0, 0, 0, 0, 0, nullptr);
        }
    }
    RunScenery(ctx);
    rank = ctx->ArrestLevel;

    if (bossActive == 0 && wavesOn == 1 && clearCountdown == 0 && gameOverCountdown == 0) {
        const int32_t n = mode == kGhostModes ? 1 : ctx->playerCount;
        const int32_t m = waveMultiplier * n;
        const int32_t e = ctx->counts.enemyCount;
        hurryLevel = 0;
        int32_t step = 1;
        if (e < m * 4 && ((age > 60 && mode != kGhostModes) || age > 180)) {
            const int32_t q = e / m;
            hurryLevel = 4 - q;
            step = (5 - q) * (5 - q);
        }
        TickWaveTimer(step, n);
        if (e == 0) wavePause = 0;
        if (waveCountdown <= 0) SpawnWave(ctx);
    }

    BossTimeline(ctx);
    for (int32_t& cooldown : labelCooldowns) {
        if (cooldown > 0) --cooldown;
    }

    if (scrollMode == 0) {
        prevScrollX = scrollX;
        const int32_t divisor = mapWidth > 16 ? 16 / (mapWidth - 16) : 0;
        scrollX = divisor > 0 ? static_cast<int32_t>(PartyX(ctx) / static_cast<float>(divisor)) : 0;
    } else {
        scrollX = 0;
    }

    RunCountdowns(ctx);
    if (state != kAlive) return;  // the stage ended and handed over

    if (pendingExtends > 0 && gameOverCountdown == 0) {
        for (int32_t i = 0; i < pendingExtends; ++i) {
            if (ctx->pcController != nullptr) ctx->pcController->OnMessage(Msg(3, party_message::kExtend, ctx));
        }
        pendingExtends = 0;
        ctx->PlaySE(sound::kExtend);
    }
    if (rowAdvanced != 0) {
        OnMessage(Msg(3, stage_message::kParadigmShiftBonus, ctx));
        rowAdvanced = 0;
    }
    UpdateStage(ctx);
    UpdateScroll(scrollSpeed);
    if (mode >= kGhostModes && clearCountdown == 0) RunGhostTurnTimer(ctx);
    age += 1;
}

void Script::BossTimeline(ObjectController* ctx) {
    const int32_t s = stage % 16;
    if ((s == 1 || s == 9) && age == 16384) {
        bossActive = 1;
        ctx->KillEnemies();
        for (SC_EnemyQ* wave : waveSlots) {
            if (wave != nullptr) wave->Vanish();
        }
        if (s == 1) ctx->CreateObject(type_id::E_Stage1_Boss, 128, -31, 0, 2.0f, 0, 0, nullptr);
        else ctx->CreateObject(type_id::E_Stage9_Boss, 128, 0, 0, 2.0f, 0, 0, nullptr);
    } else if (s == 2 && age == 1792) {
        bossActive = 1;
        ctx->CreateObject(type_id::E_Stage2_Boss, 128, -31, 2.0f, 2.0f, 0, 0, nullptr);
    } else if (s == 4 && age == 2047 && clearCountdown == 0) {
        ClearStage(ctx);
    }
}

void Script::RunCountdowns(ObjectController* ctx) {
    if (gameOverCountdown > 0) {
        if (gameOverCountdown == 1) {
            ctx->bgm.Stop();
            if (ctx->gameMode == kGhostModes) ctx->KillKind103();
        }
        gameOverCountdown += 1;
        if (gameOverCountdown >= 300 || (gameOverCountdown > 60 && ctx->input.raw[kFirstButton] == 1)) GameOver(ctx);
    } else if (clearCountdown > 0) {
        clearCountdown += 1;
        if (clearCountdown == 240) EndStage(ctx);
    }
}

void Script::RunGhostTurnTimer(ObjectController* ctx) {
    Object* party = ctx->pcController;
    if (ctx->gameMode > kGhostModes && ctx->input.game[kThirdButton] == 1 && party != nullptr && party->GetHp() > 0.0f) {
        ghostTimer = 0;
    }
    if (ghostTimer <= 0) {
        if (party != nullptr) party->OnMessage(Msg(3, party_message::kGhostTimeUp, ctx));
    } else {
        ghostTimer -= 1;
    }
}

void Script::UpdateScroll(int32_t speed) {
    const int32_t oldRow = scrollY / 16;
    scrollY += speed;
    if (scrollY > mapHeight * 16 - 1) scrollY = mapHeight * 16 - 1;
    if (scrollY / 16 > oldRow) rowDirty = 1;
}

void Script::SetScore(int32_t s) {
    score = s;
    if (age != 0) return;
    extendLevel = 0;
    while (static_cast<int64_t>(extendLevel + 1) * (extendLevel + 1) * 1000 <= s) ++extendLevel;
}

// Computed in 64 bits so that no addition can wrap; the score stays within 0 and the cap.
void Script::AddScore(int32_t points) {
    const int32_t old = score;
    score = ClampScore(static_cast<int64_t>(score) + points / 10);
    for (;;) {
        const int64_t threshold = static_cast<int64_t>(extendLevel + 1) * (extendLevel + 1) * 1000;
        if (!(old < threshold && score >= threshold)) break;
        pendingExtends += 1;
        extendLevel += 1;
    }
    if (score - loopStartScore > bestLoopGain) bestLoopGain = score - loopStartScore;
}

void Script::ClearStage(ObjectController* ctx) {
    Object* party = ctx->pcController;
    const float lives = party != nullptr ? party->GetHp() : 0.0f;
    if (ctx->gameMode > kGhostModes && clearCountdown == 0) {
        // The ghost attack modes end here whatever the turn timer shows, or a game whose turn
        // timer took the last life would never end.
        const double f = static_cast<double>(lives) - static_cast<double>(defeats) / 5.0;
        if (f < 0) {
            const double divided = std::trunc(static_cast<double>(score) / -f);
            SetScore(static_cast<int32_t>(std::fmin(divided, static_cast<double>(kScoreCap))) / 10 * 10);
        } else {
            const int32_t gain = bestLoopGain;
            for (int32_t calls = 0; calls < f * 10; ++calls) {
                AddScore(gain);
                bestLoopGain = 0;
            }
        }
        if (party != nullptr) party->SetHp(-1.0f);
        clearCountdown += 1;
        pendingExtends = -100000;
        ctx->bgm.Stop();
    } else if (clearCountdown == 0 && ctx->gameMode <= kGhostModes) {
        clearCountdown = 1;
        ctx->bgm.Stop();
        if (ctx->gameMode == kGhostModes) ctx->KillKind103();
    }
}

void Script::ShowResult(ObjectController* ctx, int32_t outcome) {
    ctx->ClearScene();
    ctx->ResetController();
    Object* result = ctx->CreateObject(type_id::SC_Menu_Result, 128, 0, 0, 0, 0, 0, nullptr);
    if (result != nullptr) {
        result->SetScore(score);
        result->angle = outcome;
    }
    if (ctx->replay.mode != 1) {
        if (outcome == 1) ctx->scoreData.UpdateBest(ctx, score);
        ctx->replay.header.finalScore = score;
        ctx->replay.Save();
        RegisterResult(ctx);
    } else if (result != nullptr) {
        result->OnMessage(Msg(2, result_message::kWasPlayback));
    }
}

void Script::GameOver(ObjectController* ctx) { ShowResult(ctx, 1); }

void Script::EndStage(ObjectController* ctx) {
    if (stage < 3 && ctx->gameMode == 0) {
        Object* next = ctx->CreateObject(type_id::SC_Menu_StageClear, 128, 0, 0, 0, 0, 0, nullptr);
        if (next != nullptr) {
            next->SetScore(score);
            next->angle = waveRow;
            next->power = static_cast<float>(stage + 1);
            next->invincible = waveSize;
            next->SetInactive(rowTimer);
        }
    } else {
        ShowResult(ctx, 0);
    }
    Vanish();
    clearCountdown = 0;
}

int32_t Script::RegisterResult(ObjectController* ctx) {
    const int32_t d = ctx->gameMode < kGhostModes ? 1000 : 10000;
    const int32_t u = ctx->scoreData.Register(score / d);
    Object* notice = ctx->CreateObject(type_id::EF_SecretUnlock, 128, 120, 0, 0, 0, 0, nullptr);
    if (notice != nullptr) {
        notice->SetScore(u);
        notice->angle = 0;
    }
    return u;
}

int32_t Script::NextShortMissionNode(ObjectController* ctx) {
    const int32_t v = static_cast<int32_t>(PartyX(ctx)) / 128;
    const int32_t s = score / 10000;
    if (stage == 3) return ((s + v) % 3) * 2 + 2;
    if (stage % 2 == 0) {
        const int32_t t = ((s + v) % 3) * 2;
        return t + 1 > 2 ? t + 3 : t + 1;
    }
    return 0;
}

void Script::Detach() {
    for (SC_EnemyQ*& wave : waveSlots) {
        if (wave != nullptr) wave->ForgetObject(this);
        wave = nullptr;
    }
    if (midBoss != nullptr) midBoss->ForgetObject(this);
    midBoss = nullptr;
    scenery = nullptr;
    // Ground enemies, the ghost boss, the scenery and waves made without a lane name the stage as
    // owner too.
    ReleaseOwnedObjects(world_, this);
    Object::Detach();
}

void Script::ForgetObject(Object* gone) {
    for (SC_EnemyQ*& wave : waveSlots) {
        if (wave == gone) wave = nullptr;
    }
    if (midBoss == gone) midBoss = nullptr;
    if (scenery == gone) scenery = nullptr;
    Object::ForgetObject(gone);
}

float PartyX(ObjectController* ctx) { return ctx->pcController != nullptr ? ctx->pcController->GetX() : 128.0f; }

void ReleaseOwnedObjects(ObjectController* world, Object* owner) {
    if (world == nullptr) return;
    for (ObjectList* list : {&world->enemies, &world->enemyBullets, &world->shots, &world->others, &world->items}) {
        for (Object* o : *list) {
            if (o->owner == owner && o != owner) o->ForgetObject(owner);
        }
    }
}

const ClassRegistration kStageClasses{
    {type_id::Script, MakeObject<Script>},
    {type_id::SC_EnemyQ, MakeObject<SC_EnemyQ>},
};
