// The timelines some stages run of their own, once a frame: the stage 2 mid-boss parade, the
// stage 3 pulse (acceleration, brake, repeated sections, fortress bosses against the clock), the
// time attacks and vengeance, and the ghost stage's colours, beats, ghost enemies and boss.
#include <algorithm>

#include "game/stage/script.h"
#include "game/world/message_codes.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

constexpr uint32_t kBackgroundPalette[8] = {0xFFB01030u, 0xFFA03000u, 0xFF784000u, 0xFF485800u,
                                            0xFF306040u, 0xFF305080u, 0xFF6010A0u, 0xFF982078u};
constexpr uint32_t kGhostEnemyPalette[8] = {0xFFFF60B0u, 0xFFFF7830u, 0xFFFFA000u, 0xFFE8C820u,
                                            0xFF70E090u, 0xFF60D0E0u, 0xFFA070FFu, 0xFFF060FFu};

// The fortress bosses of stage 3: the phase that arms each, its parts and its frames.
struct FortressBoss {
    int32_t phase, parts, frames;
};
constexpr FortressBoss kFortressBosses[] = {
    {3, 2, 1860}, {7, 4, 1860}, {11, 6, 1860}, {15, 8, 1860},
    {19, 14, 2460}, {23, 20, 2760}, {27, 26, 3060}, {31, 32, 3660},
};

}  // namespace

// The ghost stage's colour for the music's frame counter: the tune's first 640 frames play once,
// then it loops over the next 7520 (before the loop, p is the frame counter itself).
int32_t GhostColourIndex(int32_t musicFrames) {
    const int32_t p = (musicFrames - 640) % 7520 + 640;
    if (p < 2080) return 4;
    if (p < 3360) return 5;
    if (p < 4480) return 6;
    if (p < 5920) return 7;
    if (p < 6560) return 0;
    return 1;
}

void Script::UpdateStage(ObjectController* ctx) {
    switch (stage) {
        case 2: UpdateStage2(ctx); break;
        case 3: UpdateStage3(ctx); break;
        case 10:
        case 11:
        case 12: UpdateAttackStage(ctx); break;
        case 16: UpdateGhostStage(ctx); break;
        default: break;
    }
}

void Script::UpdateStage2(ObjectController* ctx) {
    if (midBoss != nullptr) {
        if (age >= 1793) {
            midBoss->angle = 128;
            midBoss->vy = -8.0f;
        }
        return;
    }
    if (age < 61 || age > 1731) return;
    midBoss = ctx->CreateObject(type_id::E_S2MiddleBoss_W, 128, 0, 0, 4.0f, 0, 0, this);
    if (midBoss != nullptr) midBoss->angle = loops;
    loops += 1;
}

void Script::UpdateStage3(ObjectController* ctx) {
    const int32_t kindOfPhase = phase % 4;
    if (kindOfPhase == 0) {
        if ((phaseTimer % 16 == 15 && scrollSpeed < phase / 4 + 1 && phase < 16) ||
            (phaseTimer % 3 == 2 && scrollSpeed < phase / 8 + 3 && phase >= 16)) {
            scrollSpeed += 1;
        }
    } else if (kindOfPhase == 3) {
        if (bossParts == 0 && (phaseTimer > 119 || phase == 31)) {
            if (phase != 31) {
                scrollSpeed = 1;
            } else if (phaseTimer == 0) {
                wavesOn = 0;
                ctx->KillWaves();
                ctx->KillEnemies();
            } else if (phaseTimer == 30) {
                ClearStage(ctx);
            }
        } else {
            if (bossParts < 1 || (phaseTimer < 1200 && !(phaseTimer >= 600 && phaseTimer % 6 == 0))) {
                const int32_t y = scrollY % 512;
                bool braked = false;
                for (int32_t k = 15; k >= 1; --k) {
                    if (y >= (16 - k) * 32 && scrollSpeed > k) {
                        scrollSpeed = k;
                        braked = true;
                        break;
                    }
                }
                if (!braked && y == 511) scrollSpeed = 0;
            }
            if (bossParts > 0) {
                if ((phaseTimer >= 600 && phaseTimer % 6 == 0) || phaseTimer >= 1200) AddWaveInterval(1);
                if (phaseTimer >= 1801) AddWaveInterval((phaseTimer - 1736) / 64);
            }
        }
    }

    if (kindOfPhase == 2) {
        const int32_t lane = (phase * 23 + 4) % 16;
        const float x = static_cast<float>(lane * 16 + 8);
        // A stopped scroll never reaches the next section: there is nothing to warn of then.
        const int32_t u = scrollSpeed > 0
                              ? std::max(512 / scrollSpeed - 120 + (phase > 15 ? 512 / scrollSpeed : 0), 0)
                              : -1;
        if (loops == 0 && phaseTimer == u) {
            ctx->CreateObject(type_id::EF_ExclamationMark, x, 240, 0, -4.0f, 0, 0, nullptr);
        } else if (((loops == 1 && phase <= 15) || (loops == 2 && phase >= 16)) && phaseTimer == 0) {
            ctx->CreateObject(type_id::E_ZanacIcon_Y, x, -1, 0, static_cast<float>(scrollSpeed), 0, 0, nullptr);
        }
    }

    phaseTimer += 1;
    if ((scrollY + scrollSpeed) / 512 > scrollY / 512) {
        if (phaseHold == 0 || phase > 31) {
            scrollY -= 512;
            loops += 1;
            phaseTimer = 0;
            if ((phase % 4 == 1 || phase % 4 == 2) && scrollSpeed <= loops) phaseHold = 1;
        } else {
            phase += 1;
            phaseTimer = 0;
            loops = 0;
            if (phase % 4 == 1 || phase % 4 == 2) phaseHold = 0;
            for (const FortressBoss& boss : kFortressBosses) {
                if (boss.phase == phase) {
                    bossParts = boss.parts;
                    bossTime = boss.frames;
                }
            }
        }
    }

    if (bossTime > 0) bossTime -= 1;
    if (bossTime == 0 && bossParts > 0) {
        ctx->VanishEnemies();
        bossParts = 0;
        phaseTimer = 0;
        ctx->KillBullets();
        ctx->CreateObject(type_id::EF_Blast_Stage3Boss, 128, 120, 0, 0, 0, 0, nullptr);
        OnMessage(Msg(3, stage_message::kChainBroken, ctx));
        if (phase == 31) wavesOn = 0;
    }
}

void Script::UpdateAttackStage(ObjectController* ctx) {
    if (stage == 10 || stage == 11) {
        if (attackTimer > 0) attackTimer -= 1;
        if (attackTimer == 0) {
            ClearStage(ctx);
            wavesOn = 0;
            ctx->KillEnemies();
            ctx->KillWaves();
            ctx->VanishBullets();
        }
    } else {
        attackTimer += 1;
    }
    if (age % 1200 == 0) waveMultiplier += 1;
}

void Script::CreateGhostEnemy(ObjectController* ctx, bool numbered) {
    Object* ghost = ctx->CreateObject(type_id::E_GhostZako2_W, static_cast<float>((phase % 2) * 64 + 96), 0, 0, 8.0f, 0, 0,
                                      nullptr);
    if (ghost == nullptr) return;
    if (numbered) ghost->angle = loops;
    ghost->OnMessage(Msg(3, enemy_message::kColour, static_cast<int32_t>(kGhostEnemyPalette[(colourIndex + 4) % 8])));
}

void Script::UpdateGhostStage(ObjectController* ctx) {
    if (age == 1) phaseHold = 0;
    if (age % 20 == 0) {
        scrollY += 4;
        if (scrollY > 512) scrollY -= 512;
    }
    colourIndex = GhostColourIndex(ctx->bgm.tuneFrames);
    backgroundColour = static_cast<int32_t>(kBackgroundPalette[colourIndex]);

    const int32_t t = age % 2560;
    if (t % 160 == 0 && gameOverCountdown == 0 && clearCountdown == 0) {
        const int32_t level = t < 320 ? 0 : std::min((t - 320) / 320 + 1, 7);
        ctx->CreateObject(type_id::EF_GhostBeat, 64, static_cast<float>(((age % 1280) / 160) * 16), static_cast<float>(level),
                          static_cast<float>(colourIndex), 0, 0, nullptr);
    }

    if (age < 2) {
        waveCountdown = 60;
        wavesOn = 1;
    } else if (age == 1280) {
        ctx->KillWaves();
        ctx->KillEnemies();
        wavesOn = 0;
        CreateGhostEnemy(ctx, false);
        phase += 1;
    } else if (age == 1281) {
        ctx->KillWaves();
    } else if (age >= 1282 && age <= 1919) {
        if (age % 20 == 0 && ctx->counts.enemyCount == 0) {
            CreateGhostEnemy(ctx, true);
            phase += 1;
        }
    } else if (age == 1920) {
        wavesOn = 1;
        ctx->KillEnemies();
    } else if (age == 2560) {
        CreateGhostBoss(ctx);
    } else if (age > 2560 && defeats >= 8) {
        wavesOn = 1;
    }
}
