// The timed stage bosses (type ids 63, 64, 72, 73, 80): one large enemy each that enters,
// moves and fires on a timetable counted by its age, pays a time bonus when destroyed quickly
// and ends the stage when it dies. They share one frame, one death and one way of showing
// their seconds and life; each class is its movement, its fire and its picture.
#include <algorithm>
#include <cmath>

#include "framework/core/angle.h"
#include "game/enemies/enemy.h"
#include "game/enemies/family_enemy.h"
#include "game/enemies/family_support.h"
#include "game/world/class_rows.h"
#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/message_codes.h"
#include "game/world/object_controller.h"
#include "game/world/text.h"
#include "game/world/type_table.h"

namespace {

// Where a boss shows its seconds and its life: beside itself or at the top of the field.
enum class Readout : uint8_t { kAtBoss, kAtTop };

struct TimedBossRow {
    int16_t id;
    int16_t endAge;     // the age at which it kills itself; 0 never
    bool timeBonus;     // its score falls to 0 at age 660, and a kill before then pays extra
    bool countsDown;    // its invincible count falls by 1 a frame
    int16_t blastId;    // the blast its death leaves
    Readout readout;
};

constexpr TimedBossRow kTimedBosses[] = {
    // id                     end  bonus  countdown blast                      readout
    {type_id::E_Stage1_Boss, 1540, true,  true,  type_id::EF_Blast_Stage1Boss, Readout::kAtBoss},
    {type_id::E_Stage2_Boss, 1200, true,  false, type_id::EF_Blast_Stage2Boss, Readout::kAtBoss},
    {type_id::E_Stage5_Boss, 1200, true,  true,  type_id::EF_Blast_Stage5Boss, Readout::kAtTop},
    {type_id::E_Stage6_Boss,    0, false, true,  type_id::EF_Blast_Stage5Boss, Readout::kAtTop},
    {type_id::E_Stage9_Boss, 1200, true,  true,  type_id::EF_Blast_02,         Readout::kAtTop},
};

constexpr int32_t kBonusClock = 660;

void FireAimedShot(ObjectController* ctx, float x, float y) {
    ctx->FireAimed(type_id::B_Normal_W, x, y, false, true, false, 16384);
}

// One bullet or object of a type in a fixed direction, in degrees.
void FireOne(ObjectController* ctx, int32_t typeId, float x, float y, float pace, int32_t degrees) {
    ctx->FirePattern(typeId, x, y, pace, 0.0f, 1, false, degrees, 0, nullptr);
}

class TimedBoss : public Enemy {
public:
    void Run(ObjectController* ctx) override {
        TickHitFlash();
        Act(ctx);
        if (row_.timeBonus && age == kBonusClock) score = 0;
        if (row_.endAge != 0 && age == row_.endAge) Kill();
        age += 1;
        if (row_.countsDown && invincible > 0) invincible -= 1;
    }
    void OnKilled(ObjectController* ctx) override {
        if (row_.timeBonus && age <= kBonusClock) score += (kBonusClock - age) * 10;
        BeforeBlast(ctx);
        ctx->CreateObject(row_.blastId, x, y, 0.0f, 1.0f, 0.0f, 0.0f, nullptr);
        const bool endsFirst = row_.id != type_id::E_Stage1_Boss;  // the stage-1 boss credits before it ends the stage
        if (endsFirst) TellScene(ctx, Msg(3, stage_message::kStageBossDone, ctx));
        Explode(ctx);
        if (!endsFirst) TellScene(ctx, Msg(3, stage_message::kStageBossDone, ctx));
    }
    void Draw(ObjectController*) override {
        DrawBody();
        const bool atBoss = row_.readout == Readout::kAtBoss;
        const int32_t seconds = SecondsLeft();
        if (seconds >= 0) DrawNumber(atBoss ? x : 128.0f, atBoss ? y + 32.0f : 0.0f, seconds, -1);
        DrawNumber(atBoss ? x : 128.0f, atBoss ? y + 40.0f : 8.0f, static_cast<int32_t>(hp), -1);
    }

protected:
    TimedBoss(int32_t id, float px, float py, float a, float b, float c, float d) : row_(ClassRowOrFirst(kTimedBosses, id)) {
        Setup(id, px, py, a, b, c, d);
    }
    virtual void Act(ObjectController* ctx) = 0;
    virtual void DrawBody() = 0;
    virtual void BeforeBlast(ObjectController*) {}
    // Whole seconds left of the time bonus while it is shown, else -1.
    virtual int32_t SecondsLeft() const { return age > 60 && age <= 600 ? (kBonusClock - age) / 60 : -1; }
    // One part of the picture from the sheet the flash and ghost look pick.
    void DrawPart(float left, float top, float w, float h, const CellSource& s) {
        DrawCellAt(gameSprites.EnemyBatch(SheetIndex()), left, top, w, h, s.u, s.v, s.width, s.height);
    }

    const TimedBossRow& row_;
};

// Comes down, then patrols the top while dropping wall bullets and firing aimed pairs.
class E_Stage1_Boss final : public EnemyOf<type_id::E_Stage1_Boss, TimedBoss> {
public:
    using EnemyOf::EnemyOf;

private:
    void Act(ObjectController* ctx) override {
        if (age == 0) {
            vy = 2.0f;
        } else if (age == 60) {
            vy = 0.0f;
            vx = -1.0f;
        } else if (x < 48.0f) {
            vx = 1.0f;
        } else if (x > 208.0f) {
            vx = -1.0f;
        }
        if (age % 60 == 0 && state == kAlive) FireOne(ctx, type_id::E_WallBullet_W, x, y, 1.0f, 90);
        if (age >= 60 && age % 30 == 0) FireAimedShot(ctx, x - 24.0f, y);
        if (age >= 60 && age % 30 == 15) FireAimedShot(ctx, x + 24.0f, y);
    }
    // Every enemy goes with it, without blast or score.
    void BeforeBlast(ObjectController* ctx) override { ctx->VanishEnemies(); }
    void DrawBody() override { DrawFrom(cell::boss_stage1); }
};

// Bounces across the top ever faster, firing every frame.
class E_Stage2_Boss final : public EnemyOf<type_id::E_Stage2_Boss, TimedBoss> {
public:
    using EnemyOf::EnemyOf;

private:
    void Act(ObjectController* ctx) override {
        if (y <= 32.0f) vy = 2.0f;
        else if (y >= 96.0f) vy = -2.0f;
        if (x <= 32.0f && vx < 0.0f) {
            x = 32.0f + vx;
            vx = -vx;
        } else if (x >= 224.0f && vx > 0.0f) {
            x = 224.0f + vx;
            vx = -vx;
        }
        if (vx != 0.0f) vx = std::copysign(speed, vx);
        speed += 0.02f;
        vx = std::clamp(vx, -16.0f, 16.0f);
        FireAimedShot(ctx, x, y);
    }
    void DrawBody() override { DrawFrom(cell::boss_stage2); }
};

// Flies in straight lines it picks from its own state, turned back into the arena, through
// four firing phases of two seconds each.
class E_Stage5_Boss final : public EnemyOf<type_id::E_Stage5_Boss, TimedBoss> {
public:
    using EnemyOf::EnemyOf;
    void Run(ObjectController* ctx) override {
        TimedBoss::Run(ctx);
        turnCountdown -= 1;
    }
    int32_t turnCountdown = 10;

private:
    static int32_t Mirror(int32_t a) { return (98304 - a) % 65535; }
    void ChooseDirection(ObjectController* ctx) {
        float px = 0.0f, py = 0.0f;
        PartyPosition(ctx, px, py);
        const double t = static_cast<double>(px) + 3.0 * age + x + y + hp;
        angle = static_cast<int32_t>(static_cast<int64_t>(t * 65536.0 / 360.0) % 65535);
        turnCountdown = static_cast<int32_t>(static_cast<double>(age) * hp + x + y) % 25 + 5;
        const bool pointsLeft = angle >= 16384 && angle <= 49152;
        const bool pointsRight = angle <= 16384 || angle >= 49152;
        if ((x < 32.0f && pointsLeft) || (x > 224.0f && pointsRight)) angle = Mirror(angle);
        if ((y < 32.0f && angle >= 32768) || (y > 128.0f && angle <= 32768)) angle = 65536 - angle;
    }
    void Act(ObjectController* ctx) override {
        if (age > 5 && turnCountdown <= 0) ChooseDirection(ctx);
        if (x < 4.0f) {
            x = 4.0f;
            angle = Mirror(angle);
        } else if (x > 252.0f) {
            x = 252.0f;
            angle = Mirror(angle);
        } else if (y < 8.0f) {
            y = 8.0f;
            angle = 65536 - angle;
        } else if (y > 232.0f) {
            y = 232.0f;
            angle = 65536 - angle;
        }
        switch ((age / 120) % 4) {
            case 0:
                if (age % 4 == 0) {
                    const int32_t degrees = static_cast<int32_t>(age * 11.25);
                    FireOne(ctx, type_id::B_Normal_W, x, y, 2.0f, degrees);
                    FireOne(ctx, type_id::B_Normal_W, x, y, 4.0f, degrees);
                }
                break;
            case 1:
                if (age % 4 == 0) {
                    // A swing of 60 degrees about straight up; the boss travels along it too.
                    const double swing = AngleSin(DegreesToAngle(65.0 * age)) * 60.0 + 270.0;
                    angle = DegreesToAngle(swing);
                    ctx->CreateObject(type_id::E_BigMissile_W, x, y, 5.0f * AngleCos(angle), 5.0f * AngleSin(angle), 1.0f, 0.0f,
                                      nullptr);
                }
                break;
            case 2:
                if (age % 8 == 0) ctx->CreateObject(type_id::E_Beam_W, x, y, 0.0f, 16.0f, 0.0f, 0.0f, nullptr);
                break;
            default:
                if (age % 8 == 0) ctx->FirePattern(type_id::E_BigMissile_W, x, y, 6.0f, 0.0f, 1, true, 0, 0, nullptr);
                break;
        }
    }
    // A 16 x 32 half drawn twice, the right half mirrored.
    void DrawBody() override {
        const float left = x - static_cast<float>(width / 2), top = y - static_cast<float>(height / 2);
        const float half = static_cast<float>(width / 2), h = static_cast<float>(height);
        DrawPart(left, top, half, h, cell::boss_stage5_half.Source());
        DrawPart(x, top, half, h, cell::boss_stage5_half.Source(true));
    }
};

// A wide battleship: its score drains 200 a frame; it cycles eight fire patterns and after 30
// seconds flies off the top.
class E_Stage6_Boss final : public EnemyOf<type_id::E_Stage6_Boss, TimedBoss> {
public:
    using EnemyOf::EnemyOf;
    int32_t patternIndex = 0;
    int32_t patternTime = 0;

private:
    void Act(ObjectController* ctx) override {
        score -= 200;
        if (age == 30) {
            patternTime = patternIndex = 0;
            vy = 0.0f;
            vx = -0.25f;
        } else if (age == 1800) {
            vy = -4.0f;
        }
        if (x < 64.0f) {
            x = 64.0f;
            vx = 0.25f;
        } else if (x > 192.0f) {
            x = 192.0f;
            vx = -0.25f;
        }
        patternTime += 1;
        if (patternIndex % 4 == 3) Missiles(ctx);
        else if (patternIndex / 4 == 0) Fans(ctx);
        else Spread(ctx);
    }
    void NextPattern(int32_t lastTime) {
        if (patternTime < lastTime) return;
        patternTime = -1;
        patternIndex = (patternIndex + 1) % 8;
    }
    void Missiles(ObjectController* ctx) {
        const int32_t t = patternTime;
        if (t % 20 == 0 && t < 160) {
            static constexpr float kOffsets[4] = {-32.0f, 32.0f, -64.0f, 64.0f};
            ctx->CreateObject(type_id::E_SenkoroMissile_W, x + kOffsets[(t / 20) % 4], y + 16.0f, 0.0f, 1.0f, 0.0f, 0.0f, nullptr);
        }
        NextPattern(179);
    }
    void Fans(ObjectController* ctx) {
        const int32_t t = patternTime;
        if (t % 10 == 0 && t < 60) {
            FireOne(ctx, type_id::E_DestroyableBullet3_W, x, y, 4.0f, 90);
            ctx->FirePattern(type_id::E_DestroyableBullet3_W, x, y, 4.0f, 0.0f, 2, false, 70, 40, nullptr);
        }
        if (t % 4 == 0 && t < 90) {
            FireOne(ctx, type_id::E_DestroyableBullet4_W, x, y, 4.0f, static_cast<int32_t>(1.5 * t - 60.0));
            FireOne(ctx, type_id::E_DestroyableBullet4_W, x, y, 4.0f, static_cast<int32_t>(240.0 - 1.5 * t));
        }
        if (t % 4 == 0 && t < 120) {
            FireOne(ctx, type_id::E_DestroyableBullet4_W, x, y, 4.0f, t / 2);
            FireOne(ctx, type_id::E_DestroyableBullet4_W, x, y, 4.0f, 180 - t / 2);
        }
        NextPattern(149);
    }
    void Spread(ObjectController* ctx) {
        const int32_t t = patternTime;
        if (t % 6 == 0 && t < 60) {
            ctx->FirePattern(type_id::E_DestroyableBullet3_W, x, y, static_cast<float>(t / 20) + 2.0f, 0.0f, 5, false, 30, 120,
                             nullptr);
            FireOne(ctx, type_id::E_DestroyableBullet3_W, x - 96.0f, y, 4.0f, 2 * t - 30);
            FireOne(ctx, type_id::E_DestroyableBullet3_W, x + 96.0f, y, 4.0f, (105 - t) * 2);
        }
        NextPattern(89);
    }
    // Its label shows what it pays.
    void BeforeBlast(ObjectController* ctx) override {
        Object* label = ctx->CreateObject(type_id::EF_ScorePop, x, y, 0.0f, 1.0f, 0.0f, 0.0f, nullptr);
        if (label != nullptr) label->SetScore(score);
    }
    int32_t SecondsLeft() const override { return (1800 - age) / 60; }
    void DrawBody() override {
        DrawPart(x - 16.0f, y - 32.0f, 32.0f, 64.0f, cell::boss_stage6_core.Source());
        for (float k : {32.0f, 64.0f, 96.0f}) {
            DrawPart(x - 16.0f - k, y, 32.0f, 32.0f, cell::boss_stage6_wing.Source());
            DrawPart(x - 16.0f + k, y, 32.0f, 32.0f, cell::boss_stage6_wing.Source());
        }
    }
};

// Patrols sideways from age 60, its first way set by the scene's score; fires nothing.
class E_Stage9_Boss final : public EnemyOf<type_id::E_Stage9_Boss, TimedBoss> {
public:
    using EnemyOf::EnemyOf;

private:
    void Act(ObjectController* ctx) override {
        if (age == 60) {
            vy = 0.0f;
            const int32_t sceneScore = ctx->currentScene != nullptr ? ctx->currentScene->score : 0;
            vx = (sceneScore / 100) % 2 == 0 ? 2.0f : -2.0f;
        }
        if (x < 16.0f) {
            x = 16.0f;
            vx = 2.0f;
        } else if (x > 240.0f) {
            x = 240.0f;
            vx = -2.0f;
        }
    }
    void DrawBody() override { DrawFrom(cell::boss_stage9); }
};

const ClassRegistration kTimedBossClasses{
    {type_id::E_Stage1_Boss, MakeObject<E_Stage1_Boss>}, {type_id::E_Stage2_Boss, MakeObject<E_Stage2_Boss>}, {type_id::E_Stage5_Boss, MakeObject<E_Stage5_Boss>},
    {type_id::E_Stage6_Boss, MakeObject<E_Stage6_Boss>}, {type_id::E_Stage9_Boss, MakeObject<E_Stage9_Boss>},
};

}  // namespace
