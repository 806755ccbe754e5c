// The stage scene and its waves. `Script` runs one stage: it paces the enemy waves from the enemy
// table, scrolls and paints the background map and places its ground enemies, starts the bosses
// on their frames, keeps the score and the extends, turns the events other objects report into
// bonuses, draws the heads-up display and, at the end, hands over to the stage-clear scene or the
// result. `SC_EnemyQ` is one wave: it releases its enemies one by one and reports whether all of
// them were destroyed.
#pragma once

#include <cstdint>

#include "game/world/object.h"

constexpr int32_t kScoreCap = 2000000000;  // score units (tenths of a point)
constexpr int32_t kGhostModes = 16;        // game modes from here on are the ghost modes
constexpr int kLanes = 16;
constexpr int kMapRows = 1024;
constexpr int kMapColumns = 24;

class SC_EnemyQ;

class Script : public Object {
public:
    Script(float x, float y, float a, float b, float c, float d);

    void Draw(ObjectController* ctx) override;  // the heads-up display, then the background
    void Move(ObjectController*) override {}
    void Run(ObjectController* ctx) override;
    void Detach() override;
    void ForgetObject(Object* gone) override;
    void SetScore(int32_t s) override;
    float GetX() override { return static_cast<float>(scrollX); }
    float GetY() override { return static_cast<float>(scrollY); }
    void AddScore(int32_t points) override;
    void OnMessage(const Message& message) override;

    // Stage flow.
    void SetUpStage(int32_t n);
    void ClearStage(ObjectController* ctx);
    void GameOver(ObjectController* ctx);
    void EndStage(ObjectController* ctx);
    int32_t RegisterResult(ObjectController* ctx);
    int32_t NextExtendScore() const { return (extendLevel + 1) * (extendLevel + 1) * 1000; }
    int32_t NextShortMissionNode(ObjectController* ctx);
    void UpdateScroll(int32_t speed);
    void UpdateStage(ObjectController* ctx);

    // Tables (a missing file shows its message and asks the program to end).
    void LoadEnemyTable();
    void LoadBgTable();

    // Wave pacing.
    void TickWaveTimer(int32_t step, int32_t players);
    void DelayWave(int32_t frames);
    void AddWaveSize(int32_t n);
    void AddWaveInterval(int32_t n);
    void NextColumn();
    void SpawnWave(ObjectController* ctx);
    void SpawnEnemyQueue(ObjectController* ctx, int32_t x, int32_t kind, int32_t count);

    // The events other objects report, by message code.
    void ChainAdvanced();
    void ChainBroken(ObjectController* ctx);
    void StageBossDone(ObjectController* ctx);
    void BossPartDestroyed(ObjectController* ctx);
    bool AwardEventBonus(ObjectController* ctx, const Message& message);  // false: no bonus given

    // Bonuses.
    int32_t NextBonusValue();
    void CutBonusValue();
    void AddChain() { chain = chain < 8 ? chain + 1 : 8; }
    void ResetChain() { chain = 0; }
    void AdvanceRowTimer(int32_t points);
    void GrowGhostTimer(int32_t a);
    int32_t TakeLabelLine();

    // Background.
    void DrawBackground(ObjectController* ctx);
    void DrawMapRow(ObjectController* ctx);

    int32_t enemyTable[16][16] = {};
    int32_t waveRow = 0;
    int32_t waveColumn = 0;
    int32_t waveCountdown = 255;
    float waveInterval = 255.0f;
    int32_t waveTarget = 180;
    int32_t waveBase = 180;
    int32_t wavePause = 0;
    int32_t waveMultiplier = 1;
    int32_t waveSize = 4;
    SC_EnemyQ* waveSlots[kLanes] = {};
    int32_t scrollY = 0;
    int32_t scrollSpeed = 1;
    int32_t scrollX = 64;
    int32_t prevScrollX = 64;
    int32_t map[kMapRows][kMapColumns] = {};
    uint8_t rowDirty = 0;
    int32_t killCounter = 0;
    int32_t bonusValue = 0;
    int32_t labelCooldowns[16] = {};
    int32_t mapWidth = 24;
    int32_t mapHeight = 1024;
    int32_t gameOverCountdown = 0;
    int32_t pendingExtends = 0;
    uint8_t bossActive = 0;
    int32_t clearCountdown = 0;
    int32_t extendLevel = 0;
    int32_t rowTimer = 384;
    int32_t chain = 0;
    uint8_t rowAdvanced = 0;
    int32_t stage = 1;
    int32_t scrollMode = 0;
    uint8_t wavesOn = 1;
    int32_t phase = 0;
    int32_t phaseTimer = 0;
    uint8_t phaseHold = 1;
    int32_t loops = 0;
    int32_t bossParts = 0;
    int32_t bossTime = 0;
    int32_t backgroundColour = -1;
    int32_t colourIndex = 4;
    int32_t ghostTimer = 1260;
    int32_t ghostTimerReload = 1260;
    int32_t defeats = 0;
    Object* midBoss = nullptr;
    Object* scenery = nullptr;  // stage 5's band controller or stage 6's block game
    int32_t attackTimer = 0;
    int32_t hurryLevel = 0;
    int32_t rank = 0;
    int32_t enthusiasmCounter = 0;
    int32_t bestLoopGain = 0;
    int32_t loopStartScore = 0;

private:
    // The world this stage runs in, taken from the first Run or Draw; Detach needs it to reach
    // the objects that name the stage as their owner.
    ObjectController* world_ = nullptr;

    void Label(ObjectController* ctx, int32_t effectId, int32_t shown);
    void BonusItem(ObjectController* ctx, float x, float y, int32_t value);
    // The next bonus value as a label and a bonus item at (x, y) worth it.
    void AwardBonus(ObjectController* ctx, int32_t labelId, float x, float y);
    // The next bonus value as a label and the eight-fold bonus effect at (x, y).
    void AwardEightBonus(ObjectController* ctx, int32_t labelId, float x, float y);
    void KillItem(ObjectController* ctx, int32_t x, int32_t y);
    void HandleGameOverEvent(ObjectController* ctx);
    void NextLoop();
    void GhostBossDefeated(ObjectController* ctx, int32_t x, int32_t y);
    void BossTimeline(ObjectController* ctx);
    void RunCountdowns(ObjectController* ctx);
    void RunScenery(ObjectController* ctx);
    void RunGhostTurnTimer(ObjectController* ctx);
    void UpdateStage2(ObjectController* ctx);
    void UpdateStage3(ObjectController* ctx);
    void UpdateAttackStage(ObjectController* ctx);
    void UpdateGhostStage(ObjectController* ctx);
    void CreateGhostEnemy(ObjectController* ctx, bool numbered);
    void CreateGhostBoss(ObjectController* ctx);
    void ShowResult(ObjectController* ctx, int32_t outcome);
    void DrawBanner(ObjectController* ctx);
    void DrawGhostStatus(ObjectController* ctx);
};

class SC_EnemyQ : public Object {
public:
    // (x, kind, count, ghostFlag, colourSelector) as the factory's x, y, a, b, c.
    SC_EnemyQ(float x, float y, float a, float b, float c, float d);

    void Draw(ObjectController*) override {}
    void Move(ObjectController*) override {}
    void Run(ObjectController* ctx) override { Update(ctx); }
    void Detach() override;
    void ForgetObject(Object* gone) override;
    void Update(ObjectController* ctx);

    int32_t enemyKind = 0;
    int32_t spawned = 0;
    int32_t count = 0;
    int32_t interval = 0;
    int32_t remaining = 0;
    int32_t destroyed = 0;
    int32_t lastX = 0, lastY = 0;
    int32_t ghostFlag = 0;
    int32_t colourSelector = 0;

private:
    ObjectController* world_ = nullptr;

    Object* Release(ObjectController* ctx, int32_t typeId, float x, float y);
    void ReleaseCommon(ObjectController* ctx);
    void ReleaseYellow(ObjectController* ctx);
    void ReleaseMidBoss(ObjectController* ctx);
    void ReleasePopHoming(ObjectController* ctx);
};

// The party's x (what chooses lanes and places bonus items); the middle of the field without one.
float PartyX(ObjectController* ctx);
// The ghost stage's palette index (0-7) for the ghost tune's frame counter.
int32_t GhostColourIndex(int32_t musicFrames);
// The interval between two releases of a wave of `count` enemies (never below 3).
int32_t WaveReleaseInterval(int32_t count);
// Tells every listed object whose owner is `owner` that the owner is gone, so that nothing keeps
// a pointer to it after the sweep deletes it.
void ReleaseOwnedObjects(ObjectController* world, Object* owner);
