// The stage's heads-up display: score, wave pacing, the stage banner, the boss and attack times,
// the ghost timers and the ghost stage's progress; then the background.
#include <algorithm>

#include "framework/graphics/sprite.h"
#include "game/stage/script.h"
#include "game/world/drawing.h"
#include "game/world/object_controller.h"
#include "game/world/text.h"

namespace {

constexpr float kDepth = 32767.0f;
constexpr int32_t kWhite = -1;
constexpr int32_t kShortMission = 13;

void DrawCell(CSprite2D* batch, float x, float y, float w, float h, const CellSource& source, uint32_t colour) {
    if (batch == nullptr) return;
    const float dst[4] = {x, y, w, h};
    const float src[4] = {source.u, source.v, source.width, source.height};
    ZethSprite::DrawRect(batch, dst, kDepth, src, colour, 1);
}

void Text(const wchar_t* text, float x, float y) { DrawText(text, x, y, kDepth, kWhite); }

// The names of the time-attack stages in the stage banner (stages below 10 show "NODE" and their
// number; others no name).
struct StageName {
    int32_t stage;
    const wchar_t* text;
    float x;
};
constexpr StageName kStageNames[] = {
    {10, L"2MIN ATTACK", 84},
    {11, L"5MIN ATTACK", 84},
    {12, L"VENGEANCE", 92},
};
void Number(float x, float y, int32_t value) { DrawNumber(x, y, value, kWhite); }

}  // namespace

void Script::DrawBanner(ObjectController* ctx) {
    const int32_t mode = ctx->gameMode;
    bool showName = false;
    if (age >= 3 && age <= 119 && mode < kGhostModes) {
        Text(L"START", 96, 120);
        showName = true;
    } else if (clearCountdown > 0) {
        if (mode < kGhostModes) {
            Text(L"WAS OVER", 96, 120);
            showName = stage != 12;
        } else {
            Text(L"COMPLETE", 96, 112);
        }
    }
    if (!showName) return;
    if (stage < 10) {
        Text(L"NODE", 96, 112);
        Number(136, 112, stage);
        return;
    }
    for (const StageName& name : kStageNames) {
        if (name.stage == stage) Text(name.text, name.x, 112);
    }
}

void Script::DrawGhostStatus(ObjectController* ctx) {
    if (stage == 16) {
        for (int32_t i = 0; i <= age / 80; ++i) {
            if (i == age / 80 && age % 20 >= 10) break;  // the next tile blinks
            const float tx = static_cast<float>(((i % 4) + (i / 32) * 4) * 16);
            const float ty = static_cast<float>((14 - (i / 4) % 8) * 16);
            DrawCell(gameSprites.effect4, tx, ty, 16, 16, cell::ghost_progress.Source(),
                     static_cast<uint32_t>(backgroundColour));
        }
        if (defeats < 8) {
            Text(L"DEFEAT LEFT", 136, 0);
            Number(240, 0, 8 - defeats);
        } else {
            Text(L"NEED", 112, 0);
            Number(160, 0, std::max(loops * 2 - 24, 0));
            Text(L"DEFEAT", 176, 0);
            Number(240, 0, defeats);
        }
        if (defeats / 2 < loops - 12 && age < 180) {
            Text(L"  CONNECTING BAD NODE ", 32, 112);
            Text(L"   DEFEAT MORE BOSS", 32, 128);
            Text(L"TO CONNECT BETTER NODE", 32, 136);
        }
        Text(L"LOOP", 192, 8);
        Number(240, 8, loops);
    } else if (ctx->gameMode > kGhostModes) {
        const int32_t l = ctx->pcController != nullptr ? static_cast<int32_t>(ctx->pcController->GetHp()) : 0;
        if (l < 0) {
            Text(L"NOT ENOUGH MEMORY", 120, 0);
        } else {
            Text(L"*   .", 200, 0);
            Number(192, 0, 0);
            Number(184, 0, bestLoopGain);
            Number(224, 0, l / 10);
            Number(240, 0, l % 10);
        }
        Text(L"LOOP", 192, 8);
        Number(240, 8, defeats);
    }
}

void Script::Draw(ObjectController* ctx) {
    world_ = ctx;
    const int32_t mode = ctx->gameMode;
    Number(192, 16, 0);
    if (score > 0) Number(184, 16, score);
    if (stage >= 16) {
        Number(192, 24, 0);
        Number(184, 24, NextExtendScore() - score);
    }

    if (wavePause <= 0 && bossActive == 0 && wavesOn == 1 && clearCountdown == 0) {
        for (int32_t i = 0; i < hurryLevel; ++i) {
            DrawCell(gameSprites.effect2, static_cast<float>(248 - 8 * i), 224, 8, 8, cell::pace_fast.Source(),
                     0xFFFFFFFFu);
        }
    } else {
        DrawCell(gameSprites.effect2, 248, 224, 8, 8, cell::pace_slow.Source(), 0xFFFFFFFFu);
    }
    const int32_t full = waveCountdown / 32;
    for (int32_t i = 0; i < full; ++i) {
        const int32_t sx = 252 - 4 * i;
        if (sx < -3) break;
        DrawCell(gameSprites.effect2, static_cast<float>(sx), 232, 4, 8, cell::wave_segment_full.Source(), 0xFFFFFFFFu);
    }
    for (int32_t k = std::max(full, 0); static_cast<float>(k) < waveInterval / 32.0f && k <= 63; ++k) {
        DrawCell(gameSprites.effect2, static_cast<float>(252 - 4 * k), 232, 4, 8, cell::wave_segment_empty.Source(),
                 0xFFFFFFFFu);
    }

    if (ctx->viewState != 0) {
        Number(248, 216, rowTimer);
        Number(248, 208, waveSize);
        Number(248, 200, waveMultiplier);
    }
    DrawBanner(ctx);
    if (bossTime > 0) Number(128, 0, bossTime / 60);
    if (stage >= 10 && stage <= 12) {
        Number(16, 232, attackTimer / 3600);
        Text(L".", 24, 232);
        const int32_t seconds = (attackTimer / 60) % 60;
        Number(40, 232, seconds);
        if (seconds < 10) Number(32, 232, 0);
    } else if (mode == kShortMission) {
        const int32_t node = NextShortMissionNode(ctx);
        if (node > 0) {
            Text(L"NEXT NODE", 168, 0);
            Number(248, 0, node);
        }
    }
    if (age < 3) DrawCell(gameSprites.effect1, 0, 0, 512, 512, kSolidTexels, 0xFF000000u);
    if (mode >= kGhostModes) {
        if (age < 16) {
            DrawCell(gameSprites.effect1, static_cast<float>(age * 16), 0, static_cast<float>((16 - age) * 16), 256,
                     kSolidTexels, 0xFF787878u);
        }
        Number(24, 216, ghostTimer / 60);
        Number(24, 224, ghostTimerReload / 60);
    }
    DrawGhostStatus(ctx);
    DrawBackground(ctx);
}
