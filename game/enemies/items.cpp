// The five items the party picks up (type ids 267-271, the item list): how they appear, move
// and look. The collision pass decides what a pick-up does by the item's kind. Items move as
// enemies do, with the same 32-unit margin.
#include <algorithm>
#include <cmath>

#include "framework/core/angle.h"
#include "game/enemies/family_support.h"
#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/message_codes.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

constexpr int32_t kGhostModes = 16;

// Every item: hp 1 and power 1.0 on top of the record's defaults.
void SetupItem(Object& item, float x, float y, int32_t width, int32_t height, int32_t hitHalf) {
    item.Init();
    item.x = x;
    item.y = y;
    item.width = width;
    item.height = height;
    item.hitHalfWidth = item.hitHalfHeight = hitHalf;
    item.power = 1.0f;
}

// The half-extent within which a party picks an item up: smaller for larger parties, except in
// the ghost modes.
int32_t PickUpSize(const ObjectController& game) {
    return game.gameMode < kGhostModes ? 8 / game.playerCount + 6 : 14;
}

// Items move as enemies do, vanishing beyond the 32-unit margin.
class ItemMovingAsEnemy : public Object {
public:
    void Move(ObjectController*) override {
        if (StepEnemyMovement(*this)) Vanish();
    }
};

// An item that swings towards the middle of the field and back over 64 units, one period in
// 120 frames, from where it appeared; at age 0 it takes the party's pick-up size.
class SwayingItem : public ItemMovingAsEnemy {
protected:
    SwayingItem(float x, float y, int32_t width, int32_t height, int32_t hitHalf) : baseX(x) {
        SetupItem(*this, x, y, width, height, hitHalf);
    }
    void Sway(ObjectController* ctx) {
        const float swing = 32.0f * AngleCos(546 * age);
        x = baseX < 128.0f ? baseX + 32.0f - swing : baseX - 32.0f + swing;
        if (age == 0) hitHalfWidth = hitHalfHeight = PickUpSize(*ctx);
    }

public:
    float baseX;
};

class I_PowerUp final : public SwayingItem {
public:
    I_PowerUp(float x, float y, float, float, float, float) : SwayingItem(x, y, 8, 8, 8) { vy = 0.5f; }
    void Run(ObjectController* ctx) override {
        Sway(ctx);
        if (age == 0) {
            // Rises when it appears below the party (and not near the top), or near the bottom.
            Object* party = ctx->pcController;
            const bool belowParty = party != nullptr && y > party->GetY() && y >= 96.0f;
            if (belowParty || y >= 208.0f) vy = -vy;
        }
        age += 1;
    }
    void Move(ObjectController* ctx) override {
        if (!StepEnemyMovement(*this)) return;
        Vanish();
        // Between stages, or in a bare world, there may be no scene to tell.
        if (ctx->currentScene != nullptr) ctx->currentScene->OnMessage(Msg(3, stage_message::kChainBroken, ctx));
    }
    void Draw(ObjectController*) override { DrawCellCentred(gameSprites.effect1, x, y, 8, 8, 0.0f, 16.0f); }
};

// The score item: flies at the party ever faster, steering for at most 60 frames.
class I_Bonus final : public ItemMovingAsEnemy {
public:
    I_Bonus(float x, float y, float, float, float, float) {
        SetupItem(*this, x, y, 16, 16, 16);
        moveMode = 1;
    }
    void Run(ObjectController* ctx) override {
        if (age == 0) {
            ctx->FirePattern(type_id::EF_Wind, x, y, 4.0f, 0.0f, 8, false, static_cast<int32_t>(x + y), 315, nullptr);
        }
        const int64_t cube = static_cast<int64_t>(age) * age * age;
        speed = static_cast<float>(std::min<int64_t>(16, cube / 10000));
        if (homing != 0) {
            AimAtParty(ctx, x, y, angle);
            Object* party = ctx->pcController;
            const bool reached = party != nullptr && std::abs(party->GetX() - x) < 8.0f &&
                                 std::abs(party->GetY() - y) < 8.0f;
            if (age > 60 || reached) homing = 0;
        }
        age += 1;
    }
    void Draw(ObjectController*) override { DrawCellCentred(gameSprites.effect1, x, y, 32, 32, 208.0f, 80.0f); }

    uint8_t homing = 1;
};

class I_ZanacEnemyEraser final : public ItemMovingAsEnemy {
public:
    I_ZanacEnemyEraser(float x, float y, float a, float b, float c, float d) {
        SetupItem(*this, x, y, 16, 16, 16);
        vx = a;
        vy = b;
        ax = c;
        ay = d;
    }
    // Falling to the bottom, it settles there and then creeps up the field.
    void Run(ObjectController*) override {
        if (vy > 0.0f && y > 224.0f) {
            y = 232.0f;
            vy = -0.1f;
            ay = 0.0f;
        }
        age += 1;
    }
    void Draw(ObjectController*) override {
        DrawCellCentred(gameSprites.shot, x, y, cell::enemy_eraser);
        if ((age / 2) % 2 == 0) DrawCellCentred(gameSprites.shot, x, y, cell::orb_ring_small);
        else DrawCellCentred(gameSprites.shot, x, y, cell::orb_ring_large);
    }
};

// A 320-frame cycle: large and good for 240 frames, then small and bad for 80.
class I_Recca final : public SwayingItem {
public:
    I_Recca(float x, float y, float, float, float, float) : SwayingItem(x, y, 16, 8, 12) { vy = 0.25f; }
    void Run(ObjectController* ctx) override {
        Sway(ctx);
        if (age == 0) {
            phase = static_cast<int32_t>(baseX) % 120;
            cycle = phase / 60;
        }
        cycle = phase < 240 ? phase / 60 : (phase - 240) / 20;
        angle = phase / 240;
        if (phase == 0) hitHalfWidth = hitHalfHeight = PickUpSize(*ctx);
        if (phase == 240) {
            hitHalfWidth = hitHalfHeight = ctx->gameMode < kGhostModes ? 4 / ctx->playerCount + 3 : 7;
        }
        phase = (phase + 1) % 320;
        age += 1;
    }
    void Draw(ObjectController*) override {
        DrawCellCentred(gameSprites.effect1, x, y, cell::recca_item.Shifted(16 * cycle, 8 * angle));
    }

    int32_t phase = 0;
    int32_t cycle = 0;
};

// Carried one frame ahead of the enemy that holds it; it may leave only through the sides or
// the bottom.
class I_TwinBee_Bell final : public Object {
public:
    I_TwinBee_Bell(float x, float y, float, float, float, float) { SetupItem(*this, x, y, 16, 16, 8); }
    void Run(ObjectController*) override {
        if (owner != nullptr) {
            x = owner->GetX() + owner->vx;
            y = owner->GetY() + owner->vy;
        }
        age += 1;
    }
    void Move(ObjectController*) override {
        StepEnemyMovement(*this);
        if (x < -32.0f || x > 288.0f || y > 272.0f) Vanish();
    }
    void Draw(ObjectController*) override { DrawCellCentred(gameSprites.effect1, x, y, cell::bell); }
};

const ClassRegistration kItemClasses{
    {type_id::I_PowerUp, MakeObject<I_PowerUp>},
    {type_id::I_Bonus, MakeObject<I_Bonus>},
    {type_id::I_ZanacEnemyEraser, MakeObject<I_ZanacEnemyEraser>},
    {type_id::I_Recca, MakeObject<I_Recca>},
    {type_id::I_TwinBee_Bell, MakeObject<I_TwinBee_Bell>},
};

}  // namespace
