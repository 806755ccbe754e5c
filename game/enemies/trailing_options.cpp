// The trailing options (type ids 302, 303): companions of two weapon sets that fire the same
// player shots as their owner while fire is held, at most two (and two missiles) in the air,
// configured by their owner through messages. They take their owner's side.
#include "framework/app/zeth.h"
#include "game/enemies/effect.h"
#include "game/enemies/family_support.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/message_codes.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

constexpr int32_t kFireButton = 4;

template <int32_t Id>
class TrailingOption : public RowEffect<Id> {
public:
    using RowEffect<Id>::RowEffect;
    void Run(ObjectController* ctx) override {
        if (this->age == 0 && this->owner != nullptr) this->SetSide(this->owner->GetSide());
        ReadFire(ctx);
        if (fireHeld > 0) {
            if (cooldown == 0) Fire(ctx);
        } else if (fireHeld == 0 && cooldown < 30) {
            cooldown = 0;  // a released button clears short cooldowns, not a laser's
        }
        AfterFire(ctx);
        if (cooldown > 0) cooldown -= 1;
        this->age += 1;
    }
    int32_t GetSide() override { return this->side; }
    void ForgetObject(Object* gone) override {
        if (gone == nullptr) return;
        ForgetChild(slots, 4, gone);
        if (gone == this->owner) this->owner = nullptr;
    }
    // Removing an option removes the shots it fired.
    void Detach() override { DetachChildren(*this, slots, 4, true); }
    void Draw(ObjectController* ctx) override {
        DrawCellCentred(gameSprites.shot, this->x, this->y, 16, 16, static_cast<float>(((this->age / 2) % 4 + 2) * 16),
                        64.0f, GhostRuleColour(ctx, this->side));
    }

    Object* slots[4] = {};  // the two shots, then the two missiles
    int32_t cooldown = 0;
    int32_t fireHeld = 0;
    uint8_t doubleOn = 0;

protected:
    virtual void ReadFire(ObjectController*) {}
    virtual void Fire(ObjectController* ctx) = 0;
    virtual void AfterFire(ObjectController*) {}
    // A message code the option does not know: the sender is at fault.
    static void Refuse(const char* text) { Zeth::MessageBox(0, "test", "%s", text); }
    Object* Shoot(ObjectController* ctx, int32_t typeId, float dx, float vx, float vy) {
        return ctx->CreateObject(typeId, this->x + dx, this->y, vx, vy, 0.0f, 0.0f, this);
    }
    // One shot into the first free slot; false when both are taken.
    bool ShootIntoFreeSlot(ObjectController* ctx, int32_t typeId, float dx) {
        for (int i = 0; i < 2; ++i) {
            if (slots[i] != nullptr) continue;
            slots[i] = Shoot(ctx, typeId, dx, 0.0f, -8.0f);
            return true;
        }
        return false;
    }
    // Two shots at once, only with both slots free; the second is marked for its kind.
    void ShootPair(ObjectController* ctx, float vx2, float vy2, int32_t mark) {
        if (slots[0] != nullptr || slots[1] != nullptr) return;
        slots[0] = Shoot(ctx, type_id::S_GradiusShot, 0.0f, 0.0f, -8.0f);
        slots[1] = Shoot(ctx, type_id::S_GradiusShot, 0.0f, vx2, vy2);
        if (slots[1] != nullptr) slots[1]->SetScore(mark);
    }
};

class EF_GradiusOption final : public TrailingOption<type_id::EF_GradiusOption> {
public:
    using TrailingOption::TrailingOption;
    void OnMessage(const Message& message) override {
        if (message.Code() == option_message::kWeaponsOn) {
            doubleOn = static_cast<uint8_t>(message.Int(0));
            laserOn = static_cast<uint8_t>(message.Int(1));
        } else if (message.Code() == option_message::kFireHeld) {
            fireHeld = message.Int(0);
        } else {
            Refuse("そんな代入できないよ＠恋鳥オプション");
        }
    }
    uint8_t laserOn = 0;

private:
    // The game's copy of the button, so that a replay sees what was recorded.
    void ReadFire(ObjectController* ctx) override { fireHeld = ctx->input.game[kFireButton]; }
    void Fire(ObjectController* ctx) override {
        if (doubleOn == 0 && laserOn == 0) {
            if (ShootIntoFreeSlot(ctx, type_id::S_GradiusShot, 0.0f)) cooldown = 2;
        } else if (doubleOn == 1) {
            ShootPair(ctx, -40.0f / 7.0f, -40.0f / 7.0f, 1);
        } else if (laserOn == 1) {
            if (ShootIntoFreeSlot(ctx, type_id::S_GradiusLaser, -4.0f)) cooldown = 40;
        }
    }
};

class EF_Gradius2Option final : public TrailingOption<type_id::EF_Gradius2Option> {
public:
    using TrailingOption::TrailingOption;
    void OnMessage(const Message& message) override {
        if (message.Code() == option_message::kWeaponsOn) {
            missileOn = static_cast<uint8_t>(message.Int(0));
            doubleOn = static_cast<uint8_t>(message.Int(1));
            rippleOn = static_cast<uint8_t>(message.Int(2));
        } else if (message.Code() == option_message::kFireHeld) {
            fireHeld = message.Int(0);
        } else {
            Refuse("そんな代入できないよ＠恋鳥4番装備のオプション");
        }
    }
    uint8_t missileOn = 0;
    uint8_t rippleOn = 0;

private:
    void Fire(ObjectController* ctx) override {
        if (doubleOn == 0 && rippleOn == 0) {
            if (ShootIntoFreeSlot(ctx, type_id::S_GradiusShot, 0.0f)) cooldown = 2;
        } else if (doubleOn == 1) {
            ShootPair(ctx, 0.0f, 8.0f, 2);  // front and back
        } else if (rippleOn == 1) {
            if (ShootIntoFreeSlot(ctx, type_id::S_GradiusRipple, 0.0f)) cooldown = 2;
        }
    }
    // Two missiles, drifting apart, whenever both have gone.
    void AfterFire(ObjectController* ctx) override {
        if (fireHeld <= 0 || missileOn == 0 || slots[2] != nullptr || slots[3] != nullptr) return;
        slots[2] = ctx->CreateObject(type_id::S_Gradius2Missile, x, y - 4.0f, 0.0f, -1.0f, -0.1f, 0.0f, this);
        slots[3] = ctx->CreateObject(type_id::S_Gradius2Missile, x, y - 4.0f, 0.0f, -1.0f, 0.1f, 0.0f, this);
    }
};

const ClassRegistration kOptionClasses{
    {type_id::EF_GradiusOption, MakeObject<EF_GradiusOption>},
    {type_id::EF_Gradius2Option, MakeObject<EF_Gradius2Option>},
};

}  // namespace
