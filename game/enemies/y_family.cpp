// The Y family (type ids 36-53): yellow, rounder enemies that react to the party's position
// (homing, sliding onto its row or diagonal, charging), splitters, revenge enemies that leave
// blasts or bullet rings, and two item carriers. Each class is its difference from the family
// base: table values, picture, fire, own step.
#include <algorithm>
#include <cmath>
#include <limits>

#include "framework/core/angle.h"
#include "game/enemies/family_enemy.h"
#include "game/enemies/family_support.h"
#include "game/world/class_rows.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/message_codes.h"
#include "game/world/object_controller.h"
#include "game/world/sound_ids.h"
#include "game/world/type_table.h"

namespace {

// Cells of "enemy.bmp" (the icon draws from "groundenemy.bmp", the bell by its own rule);
// shoots: the rank-scaled aimed shot every frame.
constexpr FamilyRow kYFamily[] = {
    // id                            cell                               shoots
    {type_id::E_ReverseWing_Y,         cell::y_reverse_wing,                true},
    {type_id::E_SquareBlock_Y,         cell::y_square_block,                true},
    {type_id::E_PopHoming_Y,           cell::y_pop_homing,                  true},
    {type_id::E_NearingBall_Y,         cell::y_nearing_ball,                false},
    {type_id::E_HorizonSlide_Y,        cell::y_horizon_slide,               true},
    {type_id::E_AntiBullet_Y,          cell::y_anti_bullet,                 true},
    {type_id::E_AntiBullet_Blast_Y,    cell::y_anti_bullet.Shifted(16, 0),  false},
    {type_id::E_StopCharge_Y,          cell::y_stop_charge,                 true},
    {type_id::E_Homing_Y,              cell::y_homing,                      true},
    {type_id::E_ObliqueSlide_Y,        cell::y_oblique_slide,               true},
    {type_id::E_BackAttack_Y,          cell::y_back_attack,                 true},
    {type_id::E_Split_Large_Y,         cell::y_split_large,                 true},
    {type_id::E_Split_Middle_Y,        cell::y_split_middle,                true},
    {type_id::E_Split_Small_Y,         cell::y_split_small,                 true},
    {type_id::E_Bound_Y,               cell::y_bound,                       true},
    {type_id::E_ZanacBall_Y,           cell::y_zanac_ball,                  false},
    {type_id::E_ZanacIcon_Y,           cell::y_zanac_icon,                  false},
    {type_id::E_TwinBee_Bell_Y,        cell::y_bell,                        false},
};
static_assert(RowsRise(kYFamily));

constexpr int32_t kGhostModes = 16;
constexpr float kNoBottom = std::numeric_limits<float>::max();

// A Y enemy of type id Id, its family row found when the class is compiled.
template <int32_t Id>
class Y : public FamilyEnemy {
    static constexpr const FamilyRow* kRow = FindClassRow(kYFamily, Id);
    static_assert(kRow != nullptr, "a Y class needs its row in kYFamily");

public:
    Y(float x, float y, float a, float b, float c, float d) : FamilyEnemy(*kRow, x, y, a, b, c, d) {}
};

// The direction from the enemy to the party; false (angle untouched) without a party.
bool AimAt(ObjectController* ctx, const Object& o, int32_t& angle) { return AimAtParty(ctx, o.x, o.y, angle); }

// ---- Party-seeking movers ----

// Falls, then at age 50 turns back up and away to the side it came from.
class E_ReverseWing_Y final : public Y<type_id::E_ReverseWing_Y> {
public:
    using Y::Y;

private:
    void Act(ObjectController*) override {
        if (age != 50) return;
        vy = -3.0f;
        vx = OnLeft() ? 2.0f : -2.0f;
    }
    CellOffset Frame() const override { return {(16 * age) % 128, 0}; }
};

class E_SquareBlock_Y final : public Y<type_id::E_SquareBlock_Y> {
public:
    using Y::Y;
};

// Stands still and invincible for a second, then sets off at the party (the field centre in the
// ghost modes).
class E_PopHoming_Y final : public Y<type_id::E_PopHoming_Y> {
public:
    // The picture comes from the place the enemy stands at, its x already truncated.
    E_PopHoming_Y(float x, float y, float a, float b, float c, float d)
        : Y(x, y, a, b, c, d), frame(static_cast<int32_t>(this->x + y / 5.0f) % 8) {}
    int32_t frame;

private:
    void Act(ObjectController* ctx) override {
        if (invincible > 0) invincible -= 1;
        if (age != 60) return;
        speed = 2.2f;
        if (ctx->gameMode >= kGhostModes) angle = static_cast<int32_t>(AngleAtan2(128.0f - x, 120.0f - y));
        else AimAt(ctx, *this, angle);
    }
    CellOffset Frame() const override { return {16 * frame, 0}; }
};

// Circles the party, closing in to 16 units; from age 481 it spirals out and at 600 it is gone.
class E_NearingBall_Y final : public Y<type_id::E_NearingBall_Y> {
public:
    using Y::Y;
    // The Run places it: it moves as a shot does, without leaving by the field's margin.
    void Move(ObjectController*) override {
        if (moveMode >= 0 && moveMode <= 2) StepMovement();
    }

private:
    void Act(ObjectController* ctx) override {
        if (age >= 600) {
            Vanish();
            return;
        }
        float px = 0.0f, py = 0.0f;
        if (!PartyPosition(ctx, px, py)) return;
        const int32_t r = age >= 481 ? 2 * age - 944 : std::max(16, 180 - age);
        const int32_t a = 910 * (age + 36);
        x = px + static_cast<float>(r) * AngleSin(a);
        y = py + static_cast<float>(r) * AngleCos(a);
    }
};

// Moves up or down until it meets the party's row, then slides along it with a quarter of its
// life.
class E_HorizonSlide_Y final : public Y<type_id::E_HorizonSlide_Y> {
public:
    using Y::Y;

private:
    void Act(ObjectController* ctx) override {
        if (age == 0) vy = y < 120.0f ? 2.0f : -2.0f;
        float px = 0.0f, py = 0.0f;
        if (vy == 0.0f || !PartyPosition(ctx, px, py) || std::fabs(py - y) >= 4.0f) return;
        vy = 0.0f;
        vx = x <= px ? 2.5f : -2.5f;
        hp /= 4.0f;
    }
};

// Drifts to the middle column; destroyed, it leaves four blasts that live half as long as it did.
class E_AntiBullet_Y final : public Y<type_id::E_AntiBullet_Y> {
public:
    using Y::Y;
    void OnKilled(ObjectController* ctx) override {
        Explode(ctx);
        static constexpr float kVelocities[4][2] = {{-1.2f, 2.0f}, {1.2f, 2.0f}, {-2.4f, 1.0f}, {2.4f, 1.0f}};
        for (const auto& v : kVelocities) {
            Object* blast = ctx->CreateObject(type_id::E_AntiBullet_Blast_Y, x, y, v[0], v[1], 0.0f, 0.0f, nullptr);
            if (blast == nullptr) continue;
            blast->angle = age;
            if (ghostLook == 1) blast->OnMessage(Msg(3, enemy_message::kGhostLook, 1));
        }
    }

private:
    void Act(ObjectController*) override {
        if (age == 0) vy = y < 120.0f ? 1.0f : -1.0f;
        if (x < 127.0f) vx = 1.0f;
        else if (x > 129.0f) vx = -1.0f;
    }
};

class E_AntiBullet_Blast_Y final : public Y<type_id::E_AntiBullet_Blast_Y> {
public:
    using Y::Y;

private:
    void Act(ObjectController*) override {
        if (age > angle / 2) Kill();
    }
};

// Charges at the party four times, halting 30 frames after each charge or at the border.
class E_StopCharge_Y final : public Y<type_id::E_StopCharge_Y> {
public:
    using Y::Y;
    int32_t stopped = 0;

private:
    void Act(ObjectController* ctx) override {
        const int32_t r = age % 75;
        const bool atBorder = x <= 8.0f || x >= 248.0f || y <= 8.0f || y >= 232.0f;
        if (age > 20 && age < 225 && (r == 30 || atBorder)) {
            stopped = 1;
            vx = vy = 0.0f;
            x = std::clamp(x, 8.0f, 248.0f);
            y = std::clamp(y, 8.0f, 232.0f);
        } else if (r == 0 && age < 300) {
            AimAt(ctx, *this, angle);
            vx = 3.0f * AngleCos(angle);
            vy = 3.0f * AngleSin(angle);
            stopped = 0;
        }
    }
    CellOffset Frame() const override { return {16 * stopped, 0}; }
};

class E_Homing_Y final : public Y<type_id::E_Homing_Y> {
public:
    using Y::Y;

private:
    void Act(ObjectController* ctx) override {
        AimAt(ctx, *this, angle);
        vx = 1.4f * AngleCos(angle);
        vy = 1.4f * AngleSin(angle);
    }
    CellOffset Frame() const override { return {16 * ((age / 2) % 4), 0}; }
};

// Falls onto the party's diagonals; at the bottom it bursts into rings along the axes, and
// destroyed (either way) into rings along the diagonals.
class E_ObliqueSlide_Y final : public Y<type_id::E_ObliqueSlide_Y> {
public:
    using Y::Y;
    void OnKilled(ObjectController* ctx) override {
        Explode(ctx);
        FireRings(ctx, 45);
    }

private:
    // Five rings of four bullets, slower and slower.
    void FireRings(ObjectController* ctx, int32_t degrees) {
        for (int32_t i = 1; i <= 5; ++i) {
            const float pace = 2.0f - static_cast<float>(i * i) / 25.0f;
            ctx->FirePattern(type_id::B_Normal_W, x, y, pace, 0.0f, 4, false, degrees, 270, nullptr);
        }
    }
    void Act(ObjectController* ctx) override {
        if (age == 0) vy = y < 120.0f ? 1.2f : -1.2f;
        float px = 0.0f, py = 0.0f;
        if (PartyPosition(ctx, px, py) && y < py) {
            if (std::fabs((x + y) - (px + py)) < 16.0f) {
                vx = -1.0f;
                vy = 1.0f;
            } else if (std::fabs((x - y) - (px - py)) < 16.0f) {
                vx = 1.0f;
                vy = 1.0f;
            }
        }
        if (y > 232.0f) {
            Kill();
            FireRings(ctx, 0);
        }
    }
};

// Accelerates at the party (harder along the way it already goes), at most 3 a frame; after
// age 30 it bounces inside the field.
class E_BackAttack_Y final : public Y<type_id::E_BackAttack_Y> {
public:
    using Y::Y;

private:
    void Act(ObjectController* ctx) override {
        int32_t a = 0;
        if (AimAt(ctx, *this, a)) {
            ax = AngleCos(a) / 20.0f;
            ay = AngleSin(a) / 20.0f;
            if ((ax > 0.0f && vx > 0.0f) || (ax < 0.0f && vx < 0.0f)) ax *= 2.0f;
            if ((ay > 0.0f && vy > 0.0f) || (ay < 0.0f && vy < 0.0f)) ay *= 2.0f;
        }
        const float squared = vx * vx + vy * vy;
        if (squared > 9.0f) {
            const float cut = 3.0f / std::sqrt(squared);
            vx *= cut;
            vy *= cut;
        }
        if (age > 30) BounceInField();
    }
};

// Bounces, speeding up by 1 on each axis with every bounce, up to 8.
class E_Bound_Y final : public Y<type_id::E_Bound_Y> {
public:
    using Y::Y;

private:
    static float Faster(float v) { return std::copysign(std::min(std::fabs(v) + 1.0f, 8.0f), v); }
    void Act(ObjectController*) override {
        if (age == 0) {
            vy = 3.0f;
            vx = x < 128.0f ? 3.0f : -3.0f;
        }
        if (age > 3 && BounceInField()) {
            vx = Faster(vx);
            vy = Faster(vy);
        }
    }
};

// Circles a centre that moves with its velocity, the circle opening to 16 units.
class E_ZanacBall_Y final : public Y<type_id::E_ZanacBall_Y> {
public:
    E_ZanacBall_Y(float x, float y, float a, float b, float c, float d)
        : Y(x, y, a, b, c, d), centreX(x), centreY(y) {}
    float centreX, centreY;

private:
    void Act(ObjectController*) override {
        centreX += vx;
        centreY += vy;
        const float r = std::min(16.0f, static_cast<float>(age) * 0.125f);
        const int32_t a = DegreesToAngle(10.0 * age);
        x = centreX + r * AngleCos(a);
        y = centreY + r * AngleSin(a);
    }
};

// ---- Splitters: they bounce off the sides and the top, leave through the bottom, and shot
// down they split into the next size, each piece counted by the splitter's owner. ----

struct SplitterRow {
    int32_t id;
    float margin;  // how far inside the sides and the top it bounces
};

constexpr SplitterRow kSplitters[] = {
    {type_id::E_Split_Large_Y, 16.0f},
    {type_id::E_Split_Middle_Y, 8.0f},
    {type_id::E_Split_Small_Y, 4.0f},
};

template <int32_t Id>
class Splitter : public Y<Id> {
public:
    using Y<Id>::Y;
    void OnKilled(ObjectController* ctx) override {
        if (this->hp <= 0.0f) Split(ctx);
        this->Explode(ctx);
    }

protected:
    virtual void Split(ObjectController*) {}
    void Bounce() {
        const float margin = ClassRowOrFirst(kSplitters, Id).margin;
        this->BounceInBox(margin, 256.0f - margin, margin, kNoBottom);
    }
    void Act(ObjectController*) override { Bounce(); }
};

class E_Split_Large_Y final : public Splitter<type_id::E_Split_Large_Y> {
public:
    using Splitter::Splitter;
    void Damage(ObjectController* ctx, float amount) override {
        Enemy::Damage(ctx, amount);
        if (state == kKilled) destroyed = 1;
    }
    uint8_t destroyed = 0;

private:
    void Act(ObjectController*) override {
        if (age == 0) {
            vy = 0.5f;
            vx = x > 128.0f ? -0.5f : 0.5f;
        }
        if (age >= 31) Bounce();
    }
    // Into n middles evenly round, n being the split count its creator sets; none for n <= 0.
    void Split(ObjectController* ctx) override {
        const int32_t n = angle;
        if (n <= 0) return;
        ctx->FirePattern(type_id::E_Split_Middle_Y, x, y, 0.75f, static_cast<float>(ghostLook), n, false, age, 360 - 360 / n,
                         owner);
    }
};

class E_Split_Middle_Y final : public Splitter<type_id::E_Split_Middle_Y> {
public:
    using Splitter::Splitter;

private:
    void Split(ObjectController* ctx) override {
        ctx->FirePattern(type_id::E_Split_Small_Y, x, y, 1.5f, static_cast<float>(ghostLook), 4, false, age, 270, owner);
    }
};

class E_Split_Small_Y final : public Splitter<type_id::E_Split_Small_Y> {
public:
    using Splitter::Splitter;
};

// ---- Item carriers ----

// The first hit of at least a point gives the enemy eraser and the icon its score.
class E_ZanacIcon_Y final : public Y<type_id::E_ZanacIcon_Y> {
public:
    using Y::Y;
    void Draw(ObjectController*) override { DrawCellCentred(gameSprites.groundenemy, x, y, cell::y_zanac_icon); }

private:
    void Act(ObjectController* ctx) override {
        const double lifeScale = 0.7 * ctx->playerCount + 0.3;
        if (score != 0 || hp / lifeScale > 255.0) return;
        score = 1000;
        ctx->CreateObject(type_id::I_ZanacEnemyEraser, x, y, 0.0f, 1.0f, 0.0f, 0.1f, nullptr);
        ctx->PlaySE(sound::kBlast3);
    }
};

// A bell to juggle with shots: each counted hit knocks it up and rings it; taken, its item ends
// the round (code 6); shot to pieces it pays 59630; fallen out, it clears the field in blasts.
class E_TwinBee_Bell_Y final : public Y<type_id::E_TwinBee_Bell_Y> {
public:
    using Y::Y;
    void Damage(ObjectController* ctx, float amount) override {
        if (!(amount > 0.0f) || hitCooldown != 0) return;
        hp -= 1.0f;
        if (hp <= 0.0f) {
            ctx->PlaySE(destroySound);
            fate = kShotToPieces;
        } else {
            ctx->PlaySE(hitSound);
        }
        if (hit == 0) flashTimer += 1;
        hit = 1;
        bellFrame = (bellFrame + 2) % 12;
        vy = -2.0f;
        hitCooldown = 4;
        float px = x, py = 0.0f;
        PartyPosition(ctx, px, py);
        if (px > x + 4.0f && vx > -1.0f) vx -= 0.2f;
        else if (px < x - 4.0f && vx < 1.0f) vx += 0.2f;
        AddSceneScore(ctx, 10);
    }
    void ForgetObject(Object* gone) override {
        if (gone == nullptr) return;
        if (gone == owner) {
            owner = nullptr;
            Kill();
        }
        if (gone == link) {
            link = nullptr;
            fate = kItemTaken;
        }
    }
    // The bell item follows its carrier through the link; it must not keep reading a carrier
    // that is gone.
    void Detach() override {
        if (link != nullptr) link->ForgetObject(self);
        Object::Detach();
    }
    void Move(ObjectController*) override {
        if (moveMode >= 0 && moveMode <= 2) StepMovement();
        if (x < -32.0f || x > 288.0f || y > 304.0f) Vanish();
    }
    void Draw(ObjectController*) override {
        // Frames 0-5 swing one way through the cell's four swings and back; 6-11 the same mirrored.
        const int32_t f = bellFrame;
        const SheetCell swing = cell::y_bell.Frame(f < 4 ? f : f < 6 ? 6 - f : f < 10 ? f - 6 : 12 - f);
        const CellSource s = swing.Source(f >= 6);
        DrawFromSheet(0, s.u, s.v, s.width, s.height, static_cast<uint32_t>(-1));
    }

    int32_t bellFrame = 0;
    int32_t hitCooldown = 20;
    int32_t fate = 0;

private:
    static constexpr int32_t kItemTaken = 1;
    static constexpr int32_t kShotToPieces = 2;
    void Act(ObjectController* ctx) override {
        if (age == 0) {
            hp = maxHp = 16.0f;
            link = ctx->CreateObject(type_id::I_TwinBee_Bell, x, y, 0.0f, 0.0f, 0.0f, 0.0f, this);
        }
        if (x < 8.0f || x > 248.0f) {
            x = x < 8.0f ? 8.0f : 248.0f;
            vx = -vx;
        }
        if (y < 8.0f && vy < 0.0f) {
            y = 8.0f;
            vy = 0.0f;
        }
        if (age % 12 == 0) bellFrame = (bellFrame + 1) % 12;
        if (y > 272.0f) {
            ctx->KillEnemies();
            ctx->FirePattern(type_id::EF_Blast_02, x, y, 8.0f, 0.0f, 17, false, 180, 360, nullptr);
            fate = 0;
        }
        if (fate == kItemTaken) {
            TellScene(ctx, Msg(6, stage_message::kSubvertBonus, ctx, static_cast<int32_t>(x), 0));
            Vanish();
        } else if (fate == kShotToPieces) {
            ctx->CreateObject(type_id::EF_5963, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
            AddSceneScore(ctx, 59630);
            Vanish();
        }
        if (hitCooldown > 0) hitCooldown -= 1;
    }
};

const ClassRegistration kYClasses{
    {type_id::E_ReverseWing_Y, MakeObject<E_ReverseWing_Y>},
    {type_id::E_SquareBlock_Y, MakeObject<E_SquareBlock_Y>},
    {type_id::E_PopHoming_Y, MakeObject<E_PopHoming_Y>},
    {type_id::E_NearingBall_Y, MakeObject<E_NearingBall_Y>},
    {type_id::E_HorizonSlide_Y, MakeObject<E_HorizonSlide_Y>},
    {type_id::E_AntiBullet_Y, MakeObject<E_AntiBullet_Y>},
    {type_id::E_AntiBullet_Blast_Y, MakeObject<E_AntiBullet_Blast_Y>},
    {type_id::E_StopCharge_Y, MakeObject<E_StopCharge_Y>},
    {type_id::E_Homing_Y, MakeObject<E_Homing_Y>},
    {type_id::E_ObliqueSlide_Y, MakeObject<E_ObliqueSlide_Y>},
    {type_id::E_BackAttack_Y, MakeObject<E_BackAttack_Y>},
    {type_id::E_Split_Large_Y, MakeObject<E_Split_Large_Y>},
    {type_id::E_Split_Middle_Y, MakeObject<E_Split_Middle_Y>},
    {type_id::E_Split_Small_Y, MakeObject<E_Split_Small_Y>},
    {type_id::E_Bound_Y, MakeObject<E_Bound_Y>},
    {type_id::E_ZanacBall_Y, MakeObject<E_ZanacBall_Y>},
    {type_id::E_ZanacIcon_Y, MakeObject<E_ZanacIcon_Y>},
    {type_id::E_TwinBee_Bell_Y, MakeObject<E_TwinBee_Bell_Y>},
};

}  // namespace
