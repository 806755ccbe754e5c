// The snake boss and the five carriers (type ids 65-71). The head flies straight, turns at the
// party when it leaves its box and drags up to 32 segments along its own past path; shot down
// to its threshold it blows them up one by one. The carriers fly in, stop, fire their own
// stream for four seconds and leave upwards. All of them report their end as a subversion.
#include <algorithm>

#include "framework/core/angle.h"
#include "game/enemies/enemy.h"
#include "game/enemies/family_enemy.h"
#include "game/enemies/family_support.h"
#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/message_codes.h"
#include "game/world/object_controller.h"
#include "game/world/sound_ids.h"
#include "game/world/type_table.h"

namespace {

constexpr float kDeathThreshold = 10000.0f;

// One blast in a fixed direction (degrees) at a given speed and acceleration.
void Blast(ObjectController* ctx, float x, float y, float pace, float accel, int32_t count, int32_t degrees,
           int32_t spread) {
    ctx->FirePattern(type_id::EF_Blast_02, x, y, pace, accel, count, false, degrees, spread, nullptr);
}

// A trailing segment: unbreakable but to one overwhelming hit, firing slowly, faster late on.
class E_ReccaSnake_Body final : public EnemyOf<type_id::E_ReccaSnake_Body> {
public:
    using EnemyOf::EnemyOf;
    void Run(ObjectController* ctx) override {
        TickHitFlash();
        const int32_t interval = std::max(120 - ctx->ArrestLevel, 15);
        if (age % interval == 0 && age > 60) {
            ctx->FirePattern(type_id::E_DestroyableBullet_W, x, y, 1.0f, 0.0f, 1, true, 0, 0, nullptr);
        } else if (age % 15 == 0 && age > 840) {
            ctx->FirePattern(type_id::B_Normal_W, x, y, 2.0f, 0.0f, 1, true, 0, 0, nullptr);
        }
        age += 1;
        hp = maxHp;
    }
    // The stage 9 boss's top-left quarter.
    void Draw(ObjectController*) override {
        DrawFromSheet(0, cell::boss_stage9.U(), cell::boss_stage9.V(), 16.0f, 16.0f, kOpaqueWhite);
    }
};

class E_ReccaSnake_Head final : public EnemyOf<type_id::E_ReccaSnake_Head> {
public:
    static constexpr int kMaxSegments = 32;
    static constexpr int kTrail = 128;

    E_ReccaSnake_Head(float x, float y, float a, float b, float c, float d) : EnemyOf(x, y, a, b, c, d) {
        // The maker asks for a number of segments; the body holds at most 32.
        segmentCount = std::clamp(static_cast<int32_t>(c), 0, kMaxSegments);
        std::fill(std::begin(trailX), std::end(trailX), this->x);
        std::fill(std::begin(trailY), std::end(trailY), this->y);
    }
    void Run(ObjectController* ctx) override {
        TickHitFlash();
        Shoot(ctx);
        Steer(ctx);
        if (age == 0) {
            for (int j = 0; j < segmentCount; ++j) {
                segments[j] = ctx->CreateObject(type_id::E_ReccaSnake_Body, x, y, 0.0f, 0.0f, 0.0f, 0.0f, this);
            }
        }
        if (hp > kDeathThreshold) Trail();
        if ((hp <= kDeathThreshold || age > 900) && dying == 0) {
            dying = 1;
            invincible = 200;
        }
        if (dying > 0) Die(ctx);
        if (segmentCount <= 0 || dying >= 128) {
            for (int32_t j = 0; j < 16; ++j) {
                Blast(ctx, x, y, static_cast<float>(j + 1) / 2.0f, static_cast<float>(j) / 32.0f, 1, 235 * age + 77 * j,
                      0);
            }
            Kill();
        }
        age += 1;
    }
    void OnKilled(ObjectController* ctx) override {
        TellScene(ctx, Msg(6, stage_message::kSubvertBonus, ctx, static_cast<int32_t>(x), static_cast<int32_t>(y)));
        ctx->KillEnemies();
        Explode(ctx);
    }
    void ForgetObject(Object* gone) override {
        if (gone == nullptr) return;
        Object** slot = std::find(std::begin(segments), std::end(segments), gone);
        if (slot != std::end(segments)) *slot = nullptr;
        if (owner == gone) owner = nullptr;
    }
    // The segments go with the head, without blast or score.
    void Detach() override {
        for (Object* s : segments) {
            if (s == nullptr) continue;
            s->ForgetObject(this);
            s->Vanish();
        }
        Object::Detach();
    }
    void Draw(ObjectController*) override {
        // The head's frame by facing (right, then clockwise), and how it is mirrored.
        struct Facing {
            int8_t frame;
            bool mirrorX, mirrorY;
        };
        static constexpr Facing kFacing[8] = {
            {0, false, false}, {1, false, false}, {2, false, false}, {1, true, false},
            {0, true, false},  {1, true, true},   {2, false, true},  {1, false, true},
        };
        const Facing& f = kFacing[(angle % 8 + 8) % 8];
        const CellSource s = cell::snake_head.Frame(f.frame).Source(f.mirrorX, f.mirrorY);
        DrawFrom(s.u, s.v, s.width, s.height);
    }

    float trailX[kTrail];
    float trailY[kTrail];
    Object* segments[kMaxSegments] = {};
    int32_t dying = 0;
    int32_t segmentCount = 0;

private:
    // Outside its box, while still flying, it turns at the party.
    void Steer(ObjectController* ctx) {
        const bool outside = x < 8.0f || x > 248.0f || y < 8.0f || y > 232.0f;
        int32_t aim = 0;
        if (!outside || age <= 5 || hp <= kDeathThreshold || !AimAtParty(ctx, x, y, aim)) return;
        vx = 3.0f * AngleCos(aim);
        vy = 3.0f * AngleSin(aim);
        angle = ((aim + 4096) / 8192) % 8;
    }
    // Segment j follows three frames behind the head, then four frames apart; before the head
    // has flown that long the trail still holds its start.
    void Trail() {
        trailX[age % kTrail] = x;
        trailY[age % kTrail] = y;
        for (int j = 0; j < kMaxSegments; ++j) {
            if (segments[j] == nullptr) continue;
            const int32_t i = ((age - 3 - 4 * j) % kTrail + kTrail) % kTrail;
            segments[j]->x = trailX[i];
            segments[j]->y = trailY[i];
        }
    }
    // Every fourth frame the next segment from the front blows up.
    void Die(ObjectController* ctx) {
        vx = vy = 0.0f;
        const int32_t j = dying / 4;
        if (dying % 4 == 1 && j < kMaxSegments && segments[j] != nullptr) {
            Object* s = segments[j];
            for (int32_t i = 0; i < 8; ++i) {
                Blast(ctx, s->x, s->y, static_cast<float>(i + 1), static_cast<float>(i) / 8.0f, 1, 235 * age + 6 * i, 0);
            }
            Blast(ctx, x, y, 4.0f, 0.0f, 2, 235 * age, 270);
            s->Kill();
            segmentCount -= 1;
            ctx->PlaySE(sound::kBlast3);
        }
        dying += 1;
    }
};

// A carrier stops at age 8, fires its stream and leaves upwards at age 240; carrier n draws its
// half-cell at column 16 (n - 1) and the same mirrored.
template <int32_t N>
class ReccaCarrier : public Enemy {
public:
    ReccaCarrier(float x, float y, float a, float b, float c, float d)
        : Enemy(type_id::E_Recca_1 + (N - 1), x, y, a, b, c, d) {}
    void Run(ObjectController* ctx) override {
        TickHitFlash();
        if (age == 8) vx = vy = 0.0f;
        if (age == 240) vy = -16.0f;
        Stream(ctx);
        age += 1;
    }
    void OnKilled(ObjectController* ctx) override { ExplodeWithSubvert(*this, ctx); }
    void Draw(ObjectController*) override {
        CSprite2D* batch = gameSprites.EnemyBatch(SheetIndex());
        const float top = y - static_cast<float>(height / 2);
        const float half = static_cast<float>(width / 2), h = static_cast<float>(height);
        // Carrier N's half, and mirrored the other half.
        const SheetCell carrier = cell::carriers.Frame(N - 1);
        for (const bool mirrored : {false, true}) {
            const CellSource s = carrier.Source(mirrored);
            DrawCellAt(batch, mirrored ? x : x - half, top, half, h, s.u, s.v, s.width, s.height);
        }
    }

protected:
    virtual void Stream(ObjectController* ctx) = 0;
    // Degrees about a base, swinging by a sine of the age; stored as the carrier's own angle.
    int32_t Swing(double base, double reach, double rate) {
        angle = DegreesToAngle(base + reach * AngleSin(DegreesToAngle(rate * age)));
        return angle;
    }
    void Create(ObjectController* ctx, int32_t typeId, float a, float b, float c, float d) {
        ctx->CreateObject(typeId, x, y, a, b, c, d, nullptr);
    }
};

// An upward fountain of shootable bullets that falls back.
class E_Recca_1 final : public ReccaCarrier<1> {
public:
    using ReccaCarrier::ReccaCarrier;

private:
    void Stream(ObjectController* ctx) override {
        if (age % 2 != 0 || age < 6) return;
        const int32_t a = Swing(270.0, 30.0, 147.0);
        Create(ctx, type_id::E_DestroyableBullet_W, 2.0f * AngleCos(a), 3.0f * AngleSin(a), 0.0f, -3.0f * AngleSin(a) / 40.0f);
    }
};

// A downward sweep of small missiles.
class E_Recca_2 final : public ReccaCarrier<2> {
public:
    using ReccaCarrier::ReccaCarrier;

private:
    void Stream(ObjectController* ctx) override {
        if (age % 2 != 0 || age < 6) return;
        const int32_t a = Swing(90.0, 30.0, 15.0);
        Create(ctx, type_id::E_SmallMissile_W, 6.0f * AngleCos(a), 6.0f * AngleSin(a), 0.0f, 0.0f);
    }
};

// A turning pair of missiles, back to back.
class E_Recca_3 final : public ReccaCarrier<3> {
public:
    using ReccaCarrier::ReccaCarrier;

private:
    void Stream(ObjectController* ctx) override {
        if (age % 4 != 0 || age < 8) return;
        const int32_t a = DegreesToAngle(7.5 * age);
        Create(ctx, type_id::E_BigMissile_W, 4.0f * AngleCos(a), 4.0f * AngleSin(a), 0.0f, 0.0f);
        Create(ctx, type_id::E_BigMissile_W, -4.0f * AngleCos(a), -4.0f * AngleSin(a), 0.0f, 0.0f);
    }
};

// A beam straight down for three seconds.
class E_Recca_4 final : public ReccaCarrier<4> {
public:
    using ReccaCarrier::ReccaCarrier;

private:
    void Stream(ObjectController* ctx) override {
        if (age >= 61 && age <= 239) Create(ctx, type_id::E_Beam_W, 0.0f, 16.0f, 0.0f, 0.0f);
    }
};

// Homing missiles thrown upwards in a swaying fan.
class E_Recca_5 final : public ReccaCarrier<5> {
public:
    using ReccaCarrier::ReccaCarrier;

private:
    void Stream(ObjectController* ctx) override {
        if (age % 2 != 0 || age < 6 || age > 239) return;
        const int32_t a = Swing(270.0, 15.0, 65.0);
        Create(ctx, type_id::E_BigMissile_W, 5.0f * AngleCos(a), 5.0f * AngleSin(a), 1.0f, 0.0f);
    }
};

const ClassRegistration kSnakeClasses{
    {type_id::E_ReccaSnake_Head, MakeObject<E_ReccaSnake_Head>}, {type_id::E_ReccaSnake_Body, MakeObject<E_ReccaSnake_Body>}, {type_id::E_Recca_1, MakeObject<E_Recca_1>},
    {type_id::E_Recca_2, MakeObject<E_Recca_2>},         {type_id::E_Recca_3, MakeObject<E_Recca_3>},         {type_id::E_Recca_4, MakeObject<E_Recca_4>},
    {type_id::E_Recca_5, MakeObject<E_Recca_5>},
};

}  // namespace
