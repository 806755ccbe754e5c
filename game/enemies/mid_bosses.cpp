// The mid-bosses with an unlock condition (type ids 54-62): five kind-430 enemies that come
// down locked and unlock when the party meets their condition (survive the volleys, break the
// parts, spend the ammunition, strip the shields, cut the arms), with their kind-499 children.
// Destroyed unlocked they pay the mortal-wound bonus; destroyed locked they count as a failure.
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

struct MidBossRow {
    int16_t id;
    SheetCell body;     // as big as the enemy: frame 0 locked, frame 1 unlocked
    int16_t enterAge;   // it comes down at vy 4 until this age, then stops
    bool leavesUnlocked;  // from age 600 it leaves even when unlocked
};

constexpr MidBossRow kMidBosses[] = {
    // id                                  body                 enter leavesUnlocked
    {type_id::E_3Cannon_B,                 cell::m_three_cannon, 20, true},
    {type_id::E_RudeBreaker_MiddleBoss_B,  cell::m_breaker,      20, false},
    {type_id::E_UFO_B,                     cell::m_ufo,          20, true},
    {type_id::E_Shield_B,                  cell::m_shield,       20, true},
    {type_id::E_Arms_B,                    cell::m_arms,         10, true},
};

constexpr int32_t kGhostModes = 16;
constexpr int32_t kLeaveAge = 600;

bool Cooperative(const ObjectController* ctx) { return ctx->gameMode < kGhostModes; }

// The factory's life scale for the party size.
float PartyLifeScale(const ObjectController* ctx) { return static_cast<float>(ctx->playerCount) * 0.7f + 0.3f; }

void FireHoming(ObjectController* ctx, float x, float y, float pace, int32_t count, int32_t spread) {
    ctx->FirePattern(type_id::B_RudeBreaker_Homing_W, x, y, pace, 0.0f, count, true, 0, spread, nullptr);
}

// Children go with their parent: a child whose owner goes vanishes; one whose link goes drops it.
void ForgetAsChild(Object& child, Object* gone) {
    if (gone == nullptr) return;
    if (gone == child.owner) {
        child.owner = nullptr;
        child.Vanish();
    }
    if (gone == child.link) child.link = nullptr;
}

class MidBoss : public Enemy {
public:
    void Run(ObjectController* ctx) override {
        TickHitFlash();
        // Waves hand out levels 0-15; the weapons are made for 0-3.
        if (age == 0) level = std::clamp(angle, 0, 3);
        if (age < row_.enterAge) {
            vy = 4.0f;
        } else if (age == row_.enterAge) {
            vx = vy = 0.0f;
        }
        Act(ctx);
        if (age >= kLeaveAge && (row_.leavesUnlocked || unlocked == 0)) {
            vx = 0.0f;
            vy = 2.0f;
        }
        age += 1;
    }
    void OnKilled(ObjectController* ctx) override {
        if (unlocked != 0) TellScene(ctx, Msg(6, stage_message::kMortalWoundBonus, ctx, static_cast<int32_t>(x), static_cast<int32_t>(y)));
        else TellScene(ctx, Msg(3, stage_message::kChainBroken, ctx));
        ReleaseChildren();
        Explode(ctx);
    }
    void Draw(ObjectController*) override {
        DrawFrom(row_.body.Frame(unlocked != 0 ? 1 : 0));
        if (unlocked == 0 && age % 2 == 0) DrawCellCentred(gameSprites.EnemyBatch(0), x, y, cell::m_lock);
        DrawReadout();
    }

    uint8_t unlocked = 0;
    int32_t level = 0;  // 0-3

protected:
    MidBoss(int32_t id, float px, float py, float a, float b, float c, float d) : row_(ClassRowOrFirst(kMidBosses, id)) {
        Setup(id, px, py, a, b, c, d);
    }
    virtual void Act(ObjectController* ctx) = 0;
    virtual void ReleaseChildren() {}
    // Its life at (x, y - 24) unless a class shows something else.
    virtual void DrawReadout() { DrawNumber(x, y - 24.0f, static_cast<int32_t>(hp), -1); }
    bool Acting() const { return age > row_.enterAge && age < kLeaveAge; }
    void Unlock(ObjectController* ctx) {
        if (unlocked != 0) return;
        unlocked = 1;
        ctx->CreateObject(type_id::EF_UnLock, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
    }

    const MidBossRow& row_;
};

// A kind-499 child of a mid-boss that it holds in its owner link.
class MidBossChild : public Enemy {
public:
    void ForgetObject(Object* gone) override { ForgetAsChild(*this, gone); }

protected:
    using Enemy::Enemy;
    // The level of the mid-boss that holds it, 0 without one.
    int32_t OwnerLevel() const {
        const MidBoss* parent = dynamic_cast<const MidBoss*>(owner);
        return parent != nullptr ? parent->level : 0;
    }
};

// ---- The three-cannon: survive 24 volleys ----

class E_3Cannon_B final : public EnemyOf<type_id::E_3Cannon_B, MidBoss> {
public:
    using EnemyOf::EnemyOf;
    int32_t volleys = 0;

private:
    static constexpr int32_t kUnlockVolleys = 24;
    void Act(ObjectController* ctx) override {
        if (!Acting() || volleys >= 2 * kUnlockVolleys) return;
        vx = vy = 0.0f;
        // In the cooperative modes it follows the party and fires only when level with it.
        if (Cooperative(ctx) && ctx->pcController != nullptr) {
            const float dx = ctx->pcController->GetX() - x;
            if (dx < -4.0f || dx > 4.0f) {
                vx = dx < 0.0f ? -1.0f : 1.0f;
                return;
            }
        }
        if (age % 4 != 0) return;
        Volley(ctx);
        volleys += 1;
        if (volleys == kUnlockVolleys) Unlock(ctx);
    }
    void Volley(ObjectController* ctx) {
        const float down = static_cast<float>(level + 4);
        Missile(ctx, 0.0f, 12.0f, 0.0f, down);
        if (level >= 1) {
            Missile(ctx, -8.0f, 16.0f, 0.0f, down);
            Missile(ctx, 8.0f, 16.0f, 0.0f, down);
        }
        if (level >= 2) {
            Missile(ctx, -8.0f, 16.0f, -1.0f, down - 1.0f);
            Missile(ctx, 8.0f, 16.0f, 1.0f, down - 1.0f);
        }
        if (level >= 3) {
            Missile(ctx, -8.0f, 16.0f, 2.0f, 6.0f);
            Missile(ctx, 8.0f, 16.0f, -2.0f, 6.0f);
            Missile(ctx, 0.0f, 12.0f, 2.0f, 6.0f);
            Missile(ctx, 0.0f, 12.0f, -2.0f, 6.0f);
        }
    }
    void Missile(ObjectController* ctx, float dx, float dy, float mvx, float mvy) {
        ctx->CreateObject(type_id::E_SmallMissile_W, x + dx, y + dy, mvx, mvy, 0.0f, 0.0f, nullptr);
    }
    void DrawReadout() override {
        if (volleys < kUnlockVolleys) DrawNumber(x, y - 24.0f, kUnlockVolleys - volleys, -1);
    }
};

// ---- The breaker: destroy both parts ----

class E_RudeBreaker_MiddleBoss_B final : public EnemyOf<type_id::E_RudeBreaker_MiddleBoss_B, MidBoss> {
public:
    using EnemyOf::EnemyOf;
    void ForgetObject(Object* gone) override {
        for (Object*& part : parts) {
            if (part == gone) part = nullptr;
        }
        Object::ForgetObject(gone);
    }
    void Detach() override {
        for (Object* part : parts) {
            if (part != nullptr) part->ForgetObject(this);
        }
        Object::Detach();
    }
    Object* parts[2] = {};  // left, right

private:
    void Act(ObjectController* ctx) override {
        if (age == 0) {
            parts[0] = ctx->CreateObject(type_id::E_RudeBreaker_MiddleBoss_Parts_B, x - 12.0f, y, 0.0f, 0.0f, 0.0f, 0.0f, this);
            parts[1] = ctx->CreateObject(type_id::E_RudeBreaker_MiddleBoss_Parts_B, x + 12.0f, y, 0.0f, 0.0f, 0.0f, 0.0f, this);
            if (parts[1] != nullptr) parts[1]->angle = 1;
        }
        if (age == 25) {
            vy = 0.0f;
            const bool partyLeft = ctx->pcController != nullptr && ctx->pcController->GetX() <= 128.0f;
            vx = Cooperative(ctx) && partyLeft ? -1.0f : 1.0f;
            ay = 0.01f;
        } else if (age >= 21 && age < kLeaveAge) {
            if (x + vx < 24.0f || x + vx > 232.0f) vx = -vx;
            if (y > 128.0f) vy = -vy;
            Shoot(ctx);
            // Bursts grow with the rank.
            if (age % 120 < ctx->ArrestLevel && age % 4 == 0) {
                ctx->FirePattern(type_id::E_DestroyableBullet2_W, x + 4.0f, y + 12.0f, 1.0f, 0.0f, 1, true, 0, 0, nullptr);
                ctx->FirePattern(type_id::E_DestroyableBullet2_W, x - 4.0f, y + 12.0f, 1.0f, 0.0f, 1, true, 0, 0, nullptr);
            }
        }
        if (age > 10 && parts[0] == nullptr && parts[1] == nullptr && unlocked == 0) {
            Unlock(ctx);
            ay = -0.02f;  // drifts away upwards
        }
        if (parts[0] != nullptr) PlacePart(parts[0], x - 24.0f + vx);
        if (parts[1] != nullptr) PlacePart(parts[1], x + 24.0f + vx);
    }
    void PlacePart(Object* part, float px) {
        part->x = px;
        part->y = y - 8.0f;
    }
    void DrawReadout() override {
        CSprite2D* batch = gameSprites.EnemyBatch(SheetIndex());
        const SheetCell& joint = cell::m_joint;
        if (parts[0] != nullptr) DrawCellAt(batch, x - 16.0f, y - 4.0f, 8.0f, 8.0f, joint.Source());
        if (parts[1] != nullptr) DrawCellAt(batch, x + 8.0f, y - 4.0f, 8.0f, 8.0f, joint.Source());
        DrawNumber(x, y + 8.0f, static_cast<int32_t>(hp), -1);
    }
};

// A side part of the breaker: three homing bullets every two seconds.
class E_RudeBreaker_MiddleBoss_Parts_B final : public EnemyOf<type_id::E_RudeBreaker_MiddleBoss_Parts_B, MidBossChild> {
public:
    using EnemyOf::EnemyOf;
    void Run(ObjectController* ctx) override {
        TickHitFlash();
        if (age % 120 == 0) {
            for (float dy : {0.0f, 8.0f, 16.0f}) FireHoming(ctx, x, y + dy, -2.0f, 1, 0);
        }
        age += 1;
    }
    // The right part (variant 1) mirrors the left.
    void Draw(ObjectController*) override {
        DrawFrom(cell::m_breaker_part, angle == 1);
    }
};

// ---- The UFO: spend its ammunition ----

class E_UFO_B final : public EnemyOf<type_id::E_UFO_B, MidBoss> {
public:
    using EnemyOf::EnemyOf;
    int32_t ammo = 0;
    int32_t cooldown = 0;

private:
    // Ammunition by level, and how far below 0 it goes on firing.
    static constexpr int32_t kAmmo[4] = {8, 16, 8, 32};
    static constexpr int32_t kLimit[4] = {-8, -12, -8, -32};

    void Act(ObjectController* ctx) override {
        if (cooldown > 0) cooldown -= 1;
        if (age < 20) ammo = kAmmo[level];
        if (age == 20) vx = vy = 2.0f;
        if (age < 21 || age >= kLeaveAge) return;
        Bounce();
        const bool aligned = !Cooperative(ctx) ||
                             (ctx->pcController != nullptr && std::fabs(ctx->pcController->GetX() - x) < 24.0f);
        const float look = static_cast<float>(ghostLook);
        if (aligned && cooldown == 0 && ammo > kLimit[level]) {
            ammo -= 1;
            switch (level) {
                case 0:
                    ctx->CreateObject(type_id::E_UFO_Bit_B, x, y + 12.0f, 0.0f, 2.0f, 0.0f, look, nullptr);
                    cooldown = 12;
                    break;
                case 1:
                    ctx->FirePattern(type_id::E_UFO_Bit_B, x, y + 12.0f, 3.0f, look, 1, true, 0, 0, nullptr);
                    cooldown = 4;
                    break;
                case 2:
                    cooldown = 16;
                    break;
                default:
                    for (int32_t k = 0; k < 360; k += 45) {
                        const int32_t a = DegreesToAngle(age + k);
                        ctx->FirePattern(type_id::E_UFO_Bit_B, x + 12.0f * AngleCos(a), y + 12.0f * AngleSin(a), 4.0f, look, 1,
                                         false, age + k, 0, nullptr);
                    }
                    cooldown = 4;
                    break;
            }
        }
        // Level 2 fires a burst of eight, quicker and quicker, aligned or not.
        if (level == 2 && cooldown > 8) {
            const float pace = 4.0f - static_cast<float>(cooldown - 8) / 4.0f;
            ctx->FirePattern(type_id::E_UFO_Bit_B, x, y + 12.0f, pace, look, 1, true, 0, 0, nullptr);
        }
        if (ammo <= 0) Unlock(ctx);
    }
    void Bounce() {
        if (x < 16.0f || x > 240.0f) {
            x = std::clamp(x, 16.0f, 240.0f);
            vx = x <= 16.0f ? 2.0f : -2.0f;
        }
        if (y < 48.0f || y > 112.0f) {
            y = std::clamp(y, 48.0f, 112.0f);
            vy = y <= 48.0f ? 2.0f : -2.0f;
        }
    }
    void DrawReadout() override {
        if (ammo > 0) DrawNumber(x, y - 24.0f, ammo, -1);
    }
};

// A bit the UFO drops: any hit destroys it, and it bursts into four shootable bullets.
class E_UFO_Bit_B final : public EnemyOf<type_id::E_UFO_Bit_B, MidBossChild> {
public:
    using EnemyOf::EnemyOf;
    void Run(ObjectController* ctx) override { RunSimple(ctx); }
    void OnKilled(ObjectController* ctx) override {
        ctx->FirePattern(type_id::E_DestroyableBullet_W, x, y, 4.0f, 0.2f, 4, true, 45, 270, nullptr);
        Explode(ctx);
    }
    void Draw(ObjectController*) override { DrawFrom(cell::m_ufo_bit); }
};

// ---- The shield boss: shoot its shields away (which heals it) ----

class E_Shield_B final : public EnemyOf<type_id::E_Shield_B, MidBoss> {
public:
    static constexpr int kMaxShields = 16;
    using EnemyOf::EnemyOf;
    void ForgetObject(Object* gone) override {
        for (Object*& s : shields) {
            if (s == gone) s = nullptr;
        }
        Object::ForgetObject(gone);
    }
    void Detach() override {
        for (Object* s : shields) {
            if (s != nullptr) s->ForgetObject(this);
        }
        Object::Detach();
    }
    Object* shields[kMaxShields] = {};
    int32_t shieldCount = 0;

private:
    void Act(ObjectController* ctx) override {
        if (age == 0) Raise(ctx);
        if (age <= 20) hp = maxHp;
        if (age < 21 || age >= kLeaveAge) return;
        // The shields left fan out again, 30 degrees apart and centred on straight down.
        shieldCount = static_cast<int32_t>(
            std::count_if(std::begin(shields), std::end(shields), [](Object* s) { return s != nullptr; }));
        int32_t slot = DegreesToAngle((7 - shieldCount) * 15);
        for (Object* s : shields) {
            if (s == nullptr) continue;
            s->angle = slot;
            slot += 5461;
        }
        x = 128.0f + 96.0f * AngleSin(DegreesToAngle(age - 20));
        Shoot(ctx);
        if (shieldCount == 0) Unlock(ctx);
    }
    void Raise(ObjectController* ctx) {
        maxHp = PartyLifeScale(ctx) * static_cast<float>((8 - level) * 2);
        static constexpr int32_t kFirst[4] = {75, 60, -15, -135};
        static constexpr int32_t kCount[4] = {2, 3, 8, 16};
        shieldCount = kCount[level];
        for (int32_t i = 0; i < shieldCount; ++i) {
            Object* s = ctx->CreateObject(type_id::E_Shield_Slave_B, x, y, 0.0f, 0.0f, 0.0f, 0.0f, this);
            shields[i] = s;
            if (s == nullptr) continue;
            s->angle = DegreesToAngle(kFirst[level] + 30 * i);
            if (ghostLook == 1) s->OnMessage(Msg(3, enemy_message::kGhostLook, 1));
        }
    }
};

// A shield circling its boss: hits on it heal the boss by as much.
class E_Shield_Slave_B final : public EnemyOf<type_id::E_Shield_Slave_B, MidBossChild> {
public:
    using EnemyOf::EnemyOf;
    void Run(ObjectController* ctx) override {
        TickHitFlash();
        if (age == 0) currentAngle = angle;
        const int32_t off = angle - currentAngle;
        if (off > 182) currentAngle += 182;
        else if (off < -182) currentAngle -= 182;
        if (owner != nullptr) {
            const float r = static_cast<float>(std::min(age / 2, 24));
            x = owner->GetX() + r * AngleCos(currentAngle);
            y = owner->GetY() + r * AngleSin(currentAngle);
            const int32_t interval = 360 / (OwnerLevel() + 1);
            if (age >= 30 && age % interval == 0) FireHoming(ctx, x, y, -2.0f, 1, 0);
        }
        Shoot(ctx);
        age += 1;
    }
    void Damage(ObjectController* ctx, float amount) override {
        Enemy::Damage(ctx, amount);
        if (owner != nullptr && amount > 0.0f) owner->AddHp(amount);
    }
    void Draw(ObjectController*) override { DrawFrom(cell::m_shield_slave); }
    int32_t currentAngle = 0;
};

// ---- The arms boss: cut every arm ----

class E_Arms_B final : public EnemyOf<type_id::E_Arms_B, MidBoss> {
public:
    static constexpr int kArms = 8;
    static constexpr int kSegments = 8;
    using EnemyOf::EnemyOf;
    // A cut segment releases the rest of its arm.
    void ForgetObject(Object* gone) override {
        for (auto& arm : arms) {
            for (int j = 0; j < kSegments; ++j) {
                if (arm[j] != gone || gone == nullptr) continue;
                arm[j] = nullptr;
                ReleaseFrom(arm, j + 1);
            }
        }
        Object::ForgetObject(gone);
    }
    // The segments go with it; its wave hears of it too.
    void Detach() override {
        for (auto& arm : arms) {
            for (Object* s : arm) {
                if (s != nullptr) s->ForgetObject(this);
            }
        }
        Object::Detach();
    }
    Object* arms[kArms][kSegments] = {};
    int32_t armCount = 0;

private:
    void ReleaseChildren() override {
        for (auto& arm : arms) ReleaseFrom(arm, 0);
    }
    static void ReleaseFrom(Object* (&arm)[kSegments], int first) {
        for (int k = first; k < kSegments; ++k) {
            Object* s = arm[k];
            if (s == nullptr) continue;
            s->vx = 3.0f * AngleCos(s->angle);
            s->vy = 3.0f * AngleSin(s->angle);
            s->owner = nullptr;
            arm[k] = nullptr;
        }
    }
    void Grow(ObjectController* ctx) {
        armCount = 2 * level + 2;
        for (int i = 0; i < armCount; ++i) {
            const int32_t degrees = i % 2 == 0 ? (i / 2 + 4) * 30 : (2 - i / 2) * 30;
            for (int j = 0; j < level + 4; ++j) {
                Object* s = ctx->CreateObject(type_id::E_Arms_Slave_B, x, y, 0.0f, 0.0f, 0.0f, 0.0f, this);
                arms[i][j] = s;
                if (s == nullptr) continue;
                s->angle = DegreesToAngle(degrees);
                if (ghostLook == 1) s->OnMessage(Msg(3, enemy_message::kGhostLook, 1));
            }
        }
        maxHp = hp = 24.0f + PartyLifeScale(ctx) * 4.0f * static_cast<float>(armCount);
    }
    void Act(ObjectController* ctx) override {
        if (age == 0) Grow(ctx);
        if (age >= 11 && age < kLeaveAge) {
            armCount = static_cast<int32_t>(
                std::count_if(std::begin(arms), std::end(arms), [](const auto& arm) { return arm[0] != nullptr; }));
            x = 128.0f + 32.0f * AngleSin(200 * (age - 20));
            Shoot(ctx);
            if (armCount == 0) Unlock(ctx);
        }
        AimAtParty(ctx, x, y, angle);
        PlaceArms();
    }
    // Segment 0 keeps its arm's direction; each later one turns towards the party by j / 8
    // degrees a frame.
    void PlaceArms() {
        const int32_t aim = angle > 49152 ? angle - 65536 : angle;
        for (auto& arm : arms) {
            float px = x, py = y, reach = 22.0f;
            for (int j = 0; j < kSegments; ++j) {
                Object* s = arm[j];
                if (s == nullptr) break;
                if (j > 0) {
                    const int32_t turn = DegreesToAngle(static_cast<double>(j) / 8.0);
                    const int32_t off = aim - s->angle;
                    if (off > 364) s->angle += turn;
                    else if (off < -364) s->angle -= turn;
                }
                s->x = px + reach * AngleCos(s->angle);
                s->y = py + reach * AngleSin(s->angle);
                px = s->x;
                py = s->y;
                reach = 13.0f;
            }
        }
    }
};

// A segment of an arm: placed by its boss; released, it flies off and fires three fans.
class E_Arms_Slave_B final : public EnemyOf<type_id::E_Arms_Slave_B, MidBossChild> {
public:
    using EnemyOf::EnemyOf;
    void Run(ObjectController* ctx) override {
        TickHitFlash();
        Shoot(ctx);
        if (owner == nullptr) {
            releaseTime += 1;
            if (releaseTime == 1 || releaseTime == 7 || releaseTime == 13) FireHoming(ctx, x, y, 0.5f, 6, 300);
        }
        age += 1;
    }
    // Held near its boss at first, it may leave the field only after age 30.
    void Move(ObjectController*) override {
        if (moveMode >= 0 && moveMode <= 2) StepMovement();
        const bool outside = x < -32.0f || x > 288.0f || y < -32.0f || y > 272.0f;
        if (outside && age > 30) Vanish();
    }
    void Draw(ObjectController*) override { DrawFrom(cell::m_arm_segment); }
    int32_t releaseTime = 0;
};

const ClassRegistration kMidBossClasses{
    {type_id::E_3Cannon_B, MakeObject<E_3Cannon_B>},      {type_id::E_RudeBreaker_MiddleBoss_B, MakeObject<E_RudeBreaker_MiddleBoss_B>},
    {type_id::E_RudeBreaker_MiddleBoss_Parts_B, MakeObject<E_RudeBreaker_MiddleBoss_Parts_B>}, {type_id::E_UFO_B, MakeObject<E_UFO_B>},
    {type_id::E_UFO_Bit_B, MakeObject<E_UFO_Bit_B>},      {type_id::E_Shield_B, MakeObject<E_Shield_B>},
    {type_id::E_Shield_Slave_B, MakeObject<E_Shield_Slave_B>}, {type_id::E_Arms_B, MakeObject<E_Arms_B>},
    {type_id::E_Arms_Slave_B, MakeObject<E_Arms_Slave_B>},
};

}  // namespace
