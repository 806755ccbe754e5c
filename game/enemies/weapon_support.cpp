// Weapon-support effects (type ids 308-314, 318-320, 325-329): what some player weapons do
// through effects: a placed bomb's ring of blasts, panels laid on a 32-unit grid, electric
// bolts, a thrown bomb's scripted flight, the charge shot's controller, a turning bar of shots,
// flashes, a seed and a skill-name card. They create player shots and die by their own timers.
#include <algorithm>

#include "framework/core/angle.h"
#include "game/enemies/effect.h"
#include "game/enemies/family_support.h"
#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/text.h"
#include "game/world/type_table.h"

namespace {

constexpr float kTextDepth = 32767.0f;

Object* Create(ObjectController* ctx, int32_t typeId, float x, float y, float vx = 0.0f, float vy = 0.0f,
               Object* owner = nullptr) {
    return ctx->CreateObject(typeId, x, y, vx, vy, 0.0f, 0.0f, owner);
}

Object* CreateOnSide(ObjectController* ctx, int32_t typeId, float x, float y, float vx, float vy, int32_t side,
                     Object* owner = nullptr) {
    Object* o = Create(ctx, typeId, x, y, vx, vy, owner);
    if (o != nullptr) o->SetSide(side);
    return o;
}

// ---- The placed bomb: a blast, then eight arms growing 16 units every 5 frames ----

class EF_BomberKing_Bomb final : public RowEffect<type_id::EF_BomberKing_Bomb> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController* ctx) override {
        if (age == 30) Burst(ctx, x, y);
        if (age >= 35 && age <= 60 && age % 5 == 0) {
            const float reach = static_cast<float>(age - 30) * 3.2f;
            for (int32_t d = 0; d < 360; d += 45) {
                const int32_t a = DegreesToAngle(d);
                Burst(ctx, x + AngleCos(a) * reach, y + AngleSin(a) * reach);
            }
        }
        if (age >= 60) Kill();
        age += 1;
    }
    // Blinks until it bursts.
    void Draw(ObjectController*) override {
        if (age < 30) DrawCellCentred(gameSprites.shot, x, y, cell::placed_bomb.Frame(age % 2));
    }

private:
    // The blast hurts enemies and, through its enemy-bullet twin, the party.
    static void Burst(ObjectController* ctx, float bx, float by) {
        Create(ctx, type_id::S_BomberKing_Blast, bx, by);
        Create(ctx, type_id::B_BomberKing_Blast, bx, by);
    }
};

// ---- Panels on a 32-unit grid, laid every fourth frame d = 8 age away from the centre ----

template <int32_t Id>
class PanelEffect : public RowEffect<Id> {
public:
    using RowEffect<Id>::RowEffect;
    void Run(ObjectController* ctx) override {
        if (this->age % 4 == 0) Lay(ctx, GridX(), GridY(), 8.0f * static_cast<float>(this->age));
        this->age += 1;
    }

protected:
    virtual void Lay(ObjectController* ctx, float gx, float gy, float d) = 0;
    // The column centre, pulled back inside the field from beyond x 255.
    float GridX() const {
        const int32_t gx = static_cast<int32_t>(this->x / 32.0f) * 32 + 16;
        return static_cast<float>(gx > 255 ? gx - 32 : gx);
    }
    float GridY() const { return static_cast<float>(static_cast<int32_t>((this->y - 24.0f) / 32.0f) * 32 + 28); }
    void Panel(ObjectController* ctx, float px, float py) { CreateOnSide(ctx, type_id::S_Quinty_Panel, px, py, 0.0f, 0.0f, this->side); }
};

// A line of panels upwards until one would lie above y 32; its panels take no side.
class EF_Quinty_Line final : public PanelEffect<type_id::EF_Quinty_Line> {
public:
    using PanelEffect::PanelEffect;

private:
    void Lay(ObjectController* ctx, float gx, float gy, float d) override {
        if (gy - d < 32.0f) {
            Kill();
            return;
        }
        Create(ctx, type_id::S_Quinty_Panel, gx, gy - d);
    }
};

// A centre panel, then panels stepping out in the given directions until age 32. The spread ends
// on the frame after its last step (age 33), not at the next fourth frame.
template <int32_t Id>
class SpreadingPanels : public PanelEffect<Id> {
public:
    using PanelEffect<Id>::PanelEffect;
    void Run(ObjectController* ctx) override {
        if (this->age <= 32) {
            PanelEffect<Id>::Run(ctx);
            return;
        }
        this->Kill();
        this->age += 1;
    }

protected:
    void Lay(ObjectController* ctx, float gx, float gy, float d) override {
        if (this->age == 0) Centre(ctx, gx, gy);
        else Out(ctx, gx, gy, d);
    }
    virtual void Centre(ObjectController* ctx, float gx, float gy) { this->Panel(ctx, gx, gy); }
    virtual void Out(ObjectController* ctx, float gx, float gy, float d) = 0;
};

class EF_Quinty_Cross final : public SpreadingPanels<type_id::EF_Quinty_Cross> {
public:
    using SpreadingPanels::SpreadingPanels;

private:
    void Out(ObjectController* ctx, float gx, float gy, float d) override {
        Panel(ctx, gx + d, gy);
        Panel(ctx, gx - d, gy);
        Panel(ctx, gx, gy + d);
        Panel(ctx, gx, gy - d);
    }
};

class EF_Quinty_FB final : public SpreadingPanels<type_id::EF_Quinty_FB> {
public:
    using SpreadingPanels::SpreadingPanels;

private:
    void Out(ObjectController* ctx, float gx, float gy, float d) override {
        Panel(ctx, gx, gy + d);
        Panel(ctx, gx, gy - d);
    }
};

// Vertical panel lines spreading sideways: front-and-back layers instead of panels.
class EF_Quinty_Sun final : public SpreadingPanels<type_id::EF_Quinty_Sun> {
public:
    using SpreadingPanels::SpreadingPanels;

private:
    void Centre(ObjectController* ctx, float gx, float gy) override { Layer(ctx, gx, gy); }
    void Out(ObjectController* ctx, float gx, float gy, float d) override {
        Layer(ctx, gx + d, gy);
        Layer(ctx, gx - d, gy);
    }
    void Layer(ObjectController* ctx, float lx, float ly) {
        CreateOnSide(ctx, type_id::EF_Quinty_FB, lx, ly, 0.0f, 0.0f, side);
    }
};

// A lower half ring of nine dots opening to radius 60.
class EF_Quinty_Blast final : public RowEffect<type_id::EF_Quinty_Blast> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController*) override {
        if (age > 60) Kill();
        age += 1;
    }
    void Draw(ObjectController* ctx) override {
        const float r = static_cast<float>(60 - (60 - age) * (60 - age) / 60);
        const uint32_t colour = GhostRuleColour(ctx, side);
        for (int i = 0; i <= 8; ++i) {
            const int32_t a = DegreesToAngle(22.5 * i);
            DrawCellCentred(gameSprites.effect2, x + AngleCos(a) * r, y + AngleSin(a) * r, cell::half_ring_dot, colour);
        }
    }
};

class EF_FZ_Boranda_Seed final : public RowEffect<type_id::EF_FZ_Boranda_Seed> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController*) override { age += 1; }
    void Draw(ObjectController* ctx) override {
        // The seed shows the companion beam's lower frame.
        DrawCellCentred(gameSprites.shot, x, y, cell::fz_companion_beam.Frame(1), GhostRuleColour(ctx, side));
    }
};

// ---- Thrown bomb and electric bolts ----

// Thrown up, it turns back at 30 and 50 frames, rests from 60, and bursts at 116 and 121 (only
// while its thrower is there); it goes at age 121 either way.
class EF_Rockman_Bomb final : public RowEffect<type_id::EF_Rockman_Bomb> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController* ctx) override {
        switch (age) {
            case 0: ay = -vy / 20.0f; break;
            case 30: vy = -1.5f * vy; ay = -vy / 15.0f; break;
            case 50: vy = -2.0f * vy; ay = -vy / 8.0f; break;
            case 60: vy = ay = 0.0f; break;
            default: break;
        }
        if (age == 116 && owner != nullptr) Ring(ctx, 0, 0.8f);
        if (age > 120) {
            if (owner != nullptr) Ring(ctx, 45, 0.5f);
            Kill();
        }
        age += 1;
    }
    void Draw(ObjectController* ctx) override {
        const int32_t setting = ctx->scoreData.ghostDisplay;
        const bool dark = owner == nullptr || setting == 0 || (setting == 2 && owner->GetSide() == 2);
        // 16 x 16 from the shuriken's first frame: the shuriken and the texels below and beside it.
        DrawCellCentred(gameSprites.shot, x, y, 16, 16, cell::shuriken.U(), cell::shuriken.V(),
                        dark ? 0xFF000000u : kOpaqueWhite);
    }

private:
    void Ring(ObjectController* ctx, int32_t first, float pace) {
        for (int32_t d = first; d < 360; d += 90) {
            const int32_t a = DegreesToAngle(d);
            CreateOnSide(ctx, type_id::S_Rockman_BombBlast, x, y, AngleCos(a) * pace, AngleSin(a) * pace, owner->GetSide());
        }
    }
};

class EF_Rockman_Elec_Side final : public RowEffect<type_id::EF_Rockman_Elec_Side> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController* ctx) override {
        if (age % 2 == 1 && owner != nullptr) {
            Object* bolt = CreateOnSide(ctx, type_id::S_Rockman_Elec_Side, x, y, 0.0f, 0.0f, owner->GetSide());
            if (bolt != nullptr) bolt->angle = 1;
        }
        age += 1;
    }
};

// Zig-zags 48 units up every 7 frames, leaving a bolt piece at each corner.
class EF_Rockman_Elec_Front final : public RowEffect<type_id::EF_Rockman_Elec_Front> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController* ctx) override {
        // Piece and next velocity by the frame of the 7-frame cycle; pieces 0 and 1 mirror each
        // other, one for each turn.
        static constexpr int32_t kPieces[7] = {1, 3, 0, 4, 2, 1, 3};
        static constexpr float kVelocity[7][2] = {{-16, 0}, {0, -16}, {16, 0}, {0, 0}, {0, -16}, {-16, 0}, {0, -16}};
        const int32_t k = age % 7;
        if (owner != nullptr) {
            Object* bolt = CreateOnSide(ctx, type_id::S_Rockman_Elec_Front, x, y, 0.0f, 0.0f, owner->GetSide());
            if (bolt != nullptr) bolt->angle = kPieces[k];
        }
        if (k != 3) {
            vx = kVelocity[k][0];
            vy = kVelocity[k][1];
        }
        age += 1;
    }
};

// ---- The charge shot's controller: a head and five bodies snaking behind it, then blasts ----

class EF_BS_ChargeController final : public RowEffect<type_id::EF_BS_ChargeController> {
public:
    static constexpr int kHead = 0, kBodies = 1, kBlasts = 6, kSlots = 8;
    EF_BS_ChargeController(float a, float b, float c, float d, float e, float f) : RowEffect(a, b, c, d, e, f), baseX(a) {
        hp = 256.0f;
    }
    // Only the top and bottom end it.
    void Move(ObjectController*) override {
        if (moveMode >= 0 && moveMode <= 2) StepMovement();
        if (y < -static_cast<float>(height) || y > 240.0f + static_cast<float>(height)) Vanish();
    }
    void Run(ObjectController* ctx) override {
        if (age == 0 && slots[kHead] == nullptr) slots[kHead] = Create(ctx, type_id::S_BS_ChargeHead, x, y, 0, 0, this);
        // Bodies 2 and 1, then 4 and 3, then 5, each with its place in the snake.
        if (age == 2) {
            AddBody(ctx, 2, -1);
            AddBody(ctx, 1, 2);
        } else if (age == 4) {
            AddBody(ctx, 4, 1);
            AddBody(ctx, 3, 3);
        } else if (age == 5) {
            AddBody(ctx, 5, 4);
        }
        const float swing = 96.0f * AngleSin(DegreesToAngle(6 * age));
        if (burstTime == 0 && angle == 1) x = baseX - swing;
        if (burstTime == 0 && angle == 2) x = baseX + swing;
        if (slots[kHead] != nullptr) {
            Steer();
        } else if (y > 0.0f) {
            burstTime += 1;
            vx = vy = 0.0f;
            for (int i = kBodies; i < kBlasts; ++i) {
                if (slots[i] != nullptr) slots[i]->Kill();
            }
        }
        if (burstTime % 9 == 1) {
            Object** free = std::find(&slots[kBlasts], &slots[kSlots], nullptr);
            if (free != &slots[kSlots]) *free = CreateOnSide(ctx, type_id::S_BS_ChargeBlast, x, y, 0.0f, 0.0f, side, this);
        }
        if (burstTime >= 120) Kill();
        age += 1;
    }
    int32_t GetSide() override { return side; }
    void ForgetObject(Object* gone) override {
        if (gone == nullptr) return;
        ForgetChild(slots, kSlots, gone);
        if (gone == owner) {
            owner = nullptr;
            Vanish();
        }
    }
    void Detach() override { DetachChildren(*this, slots, kSlots, false); }

    Object* slots[kSlots] = {};  // head, five bodies, two blasts
    float baseX;
    int32_t burstTime = 0;

private:
    void AddBody(ObjectController* ctx, int i, int32_t place) {
        if (slots[i] != nullptr) return;
        slots[i] = Create(ctx, type_id::S_BS_ChargeBody, x, y, 0, 0, this);
        if (slots[i] != nullptr && place >= 0) slots[i]->angle = place;
    }
    void Steer() {
        slots[kHead]->x = x;
        slots[kHead]->y = y;
        for (int i = 1; i <= 5; ++i) {
            Object* body = slots[kBodies + i - 1];
            if (body == nullptr) continue;
            if (angle == 1 || angle == 2) {
                const float wave = 96.0f * AngleSin(DegreesToAngle(3 * (2 * age - i)));
                body->x = baseX + wave * static_cast<float>(2 * angle - 3);
            }
            body->y = y + static_cast<float>(4 + 7 * i - 3 * (i / 2) - 2 * (i / 5));
        }
    }
};

// ---- Flashes, the turning bar and the skill card ----

class EF_HSG_DisCharge final : public RowEffect<type_id::EF_HSG_DisCharge> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController*) override {
        if (age >= 8) Kill();
        age += 1;
    }
    void Draw(ObjectController*) override {
        if (age < 4) {
            DrawCellAt(gameSprites.effect2, x - 4.0f, y - 4.0f, 8.0f, 8.0f, cell::discharge_sparks.Frame(age).Source());
        } else {
            // The ring, then 16-texel steps to its right over the reticle's texels.
            DrawCellAt(gameSprites.effect2, x - 8.0f, y - 8.0f, 16.0f, 16.0f,
                       cell::discharge_ring.Shifted((age - 4) * 16, 0).Source());
        }
    }
};

// A one-frame flash; its variant picks the cell, the high ones mirrored.
class EF_Hisouten_Iku6C final : public RowEffect<type_id::EF_Hisouten_Iku6C> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController*) override {
        if (age >= 1) Kill();
        age += 1;
    }
    void Draw(ObjectController*) override {
        // 8-texel columns of the Recca bomb's small quarters; from variant 8 on, column v - 8 mirrored.
        const SheetCell& quarters = cell::recca_bomb_small;
        const float u = angle < 8 ? quarters.U(8 * angle) : quarters.U(8 * (angle - 7));
        DrawCellAt(gameSprites.shot, x - 4.0f, y - 4.0f, 8.0f, 8.0f, u, quarters.V(), angle < 8 ? 8.0f : -8.0f, 8.0f);
    }
};

// A bar of n shots through the centre, spreading to 16 apart and turning 2 degrees a frame.
class EF_Hisouten_Ryuunome final : public RowEffect<type_id::EF_Hisouten_Ryuunome> {
public:
    static constexpr int kPieces = 16;
    using RowEffect::RowEffect;
    void Run(ObjectController* ctx) override {
        // The creator's count, kept to the 16 slots.
        const int32_t n = std::clamp(angle, 1, kPieces);
        if (age == 0) Raise(ctx, n);
        const float r = static_cast<float>(std::min(age / 4, 16));
        const int32_t a = DegreesToAngle((2 * age) % 360);
        for (int i = 0; i < kPieces; ++i) {
            Object* piece = pieces[i];
            if (piece == nullptr) continue;
            const float along = static_cast<float>(i - n / 2) * r;
            piece->x = x + AngleCos(a) * along;
            piece->y = y + AngleSin(a) * along;
            piece->angle = a;
        }
        age += 1;
    }
    void ForgetObject(Object* gone) override {
        if (gone == nullptr) return;
        ForgetChild(pieces, kPieces, gone);
        if (gone == owner) {
            owner = nullptr;
            Kill();
        }
    }
    void Detach() override { DetachChildren(*this, pieces, kPieces, false); }
    Object* pieces[kPieces] = {};

private:
    // Inner pieces 1 to n - 2 start staggered in age; piece 0 and the last piece n - 1 are
    // marked as the ends. Every piece has its own slot.
    void Raise(ObjectController* ctx, int32_t n) {
        for (int32_t i = 1, k = 3; i < n - 1 && k < 48; ++i, k += 3) {
            pieces[i] = Piece(ctx, 0.5f, 0);
            if (pieces[i] != nullptr) pieces[i]->SetAge(k);
        }
        pieces[0] = Piece(ctx, 0.34f, 1);
        if (n > 1) pieces[n - 1] = Piece(ctx, 0.5f, 1);
    }
    Object* Piece(ObjectController* ctx, float power, int32_t mark) {
        Object* piece = CreateOnSide(ctx, type_id::S_Hisouten_Ryuunome, x, y, 0.0f, 0.0f, side, this);
        if (piece == nullptr) return nullptr;
        piece->power = power;
        if (mark != 0) piece->SetScore(mark);
        return piece;
    }
};

// The skill's name, which rises, rests and leaves to the left.
class EF_Hisouten_SkillCard final : public RowEffect<type_id::EF_Hisouten_SkillCard> {
public:
    using RowEffect::RowEffect;
    void Run(ObjectController*) override {
        if (age == 60) vy = -8.0f;
        if (age == 88) vy = 0.0f;
        if (age == 118) vx = -8.0f;
        age += 1;
    }
    void Draw(ObjectController*) override {
        static constexpr const wchar_t* kNames[3] = {L"りゅう　の　め", L"せいでん　ゆうどう　だん",
                                                     L"りゅうじん　の　いなびかり"};
        DrawText(kNames[angle == 0 ? 0 : angle == 1 ? 1 : 2], x, y, kTextDepth, -1);
    }
};

const ClassRegistration kWeaponSupportClasses{
    {type_id::EF_BomberKing_Bomb, MakeObject<EF_BomberKing_Bomb>},    {type_id::EF_Quinty_Line, MakeObject<EF_Quinty_Line>},
    {type_id::EF_Quinty_Cross, MakeObject<EF_Quinty_Cross>},       {type_id::EF_Quinty_FB, MakeObject<EF_Quinty_FB>},
    {type_id::EF_Quinty_Sun, MakeObject<EF_Quinty_Sun>},         {type_id::EF_Quinty_Blast, MakeObject<EF_Quinty_Blast>},
    {type_id::EF_FZ_Boranda_Seed, MakeObject<EF_FZ_Boranda_Seed>},    {type_id::EF_Rockman_Bomb, MakeObject<EF_Rockman_Bomb>},
    {type_id::EF_Rockman_Elec_Side, MakeObject<EF_Rockman_Elec_Side>},  {type_id::EF_Rockman_Elec_Front, MakeObject<EF_Rockman_Elec_Front>},
    {type_id::EF_BS_ChargeController, MakeObject<EF_BS_ChargeController>}, {type_id::EF_HSG_DisCharge, MakeObject<EF_HSG_DisCharge>},
    {type_id::EF_Hisouten_Iku6C, MakeObject<EF_Hisouten_Iku6C>},     {type_id::EF_Hisouten_Ryuunome, MakeObject<EF_Hisouten_Ryuunome>},
    {type_id::EF_Hisouten_SkillCard, MakeObject<EF_Hisouten_SkillCard>},
};

}  // namespace
