#include "game/player/shots_fz.h"

#include <algorithm>

#include "game/world/cells.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/sound_ids.h"
#include "game/world/type_table.h"

namespace {

// Variant 1 (made with an acceleration) bounces off the top edge.
class S_FZ_Stanparon_Shot final : public ShotOf<type_id::S_FZ_Stanparon_Shot, CellShot> {
public:
    using ShotOf::ShotOf;
    void Run(ObjectController* ctx) override;
};

// A tall beam lengthening over its first frames; at the top edge it shrinks away.
class S_FZ_Kobabeach_Shot : public ShotOf<type_id::S_FZ_Kobabeach_Shot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Hovers at its first-frame offset from its owner and fires its beam once, at age T (the angle
// field), rising before and settling after.
class S_FZ_Kobabeach final : public ShotOf<type_id::S_FZ_Kobabeach, CellShot> {
public:
    using ShotOf::ShotOf;
    void Run(ObjectController* ctx) override;
    void OnKilled(ObjectController* ctx) override;

    float offsetX = 0.0f, offsetY = 0.0f;
};

class S_FZ_Boranda_Seed final : public ShotOf<type_id::S_FZ_Boranda_Seed, CellShot> {
public:
    using ShotOf::ShotOf;
    void Move(ObjectController* ctx) override;  // as the beam's, to y 248
};

class S_FZ_Boranda_Petal final : public ShotOf<type_id::S_FZ_Boranda_Petal, CellShot> {
public:
    using ShotOf::ShotOf;
    void Move(ObjectController*) override {}
    void Run(ObjectController* ctx) override;
};

class S_FZ_Opaopa_Shot final : public ShotOf<type_id::S_FZ_Opaopa_Shot, CellShot> {
public:
    using ShotOf::ShotOf;
};

class S_FZ_Opaopa_Bomb final : public ShotOf<type_id::S_FZ_Opaopa_Bomb, CellShot> {
public:
    using ShotOf::ShotOf;
};

class S_FZ_Opaopa_7way final : public ShotOf<type_id::S_FZ_Opaopa_7way, CellShot> {
public:
    using ShotOf::ShotOf;
};

class S_FZ_Opaopa_HeavyBomb final : public ShotOf<type_id::S_FZ_Opaopa_HeavyBomb, CellShot> {
public:
    using ShotOf::ShotOf;
};

// Moves by velocity and acceleration with no angle update, vanishing outside the limits.
void MoveBeam(Object& o, float bottom) {
    o.vx += o.ax;
    o.vy += o.ay;
    o.x += o.vx;
    o.y += o.vy;
    if (o.x < -8.0f || o.x > 264.0f || o.y < -64.0f || o.y > bottom) o.Vanish();
}

}  // namespace

void S_FZ_Poppoes::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    x = std::clamp(x, 0.0f, 256.0f);
    y = std::clamp(y, 0.0f, 240.0f);
    age += 1;
}

void S_FZ_Poppoes::OnKilled(ObjectController* ctx) {
    ctx->CreateObject(type_id::EF_Blast_01, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
    if (ctx->gameRunning) ctx->PlaySE(sound::kBlast2);
    Object* reflect = ctx->CreateObject(type_id::EF_Poppoes_Reflect, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
    if (reflect != nullptr) {
        reflect->angle = angle;
        reflect->SetSide(side);
    }
}

// The bubble's looks: types 0 and 1 large (full, worn, nearly gone; type 1's three frames follow
// type 0's), type 2 small, and the small cell's fourth frame without a hit box.
void S_FZ_Poppoes::Draw(ObjectController* ctx) {
    if (hitHalfWidth == 0 || hitHalfHeight == 0) {
        DrawCell(ctx, cell::bubble_small.Frame(3).Source());
        return;
    }
    int32_t wear = hp > 3.0f ? 0 : (hp > 1.0f ? 1 : 2);
    if (angle >= 2) DrawCell(ctx, cell::bubble_small.Frame(wear).Source());
    else DrawCell(ctx, cell::bubble_large.Shifted(16 * (3 * angle + wear), 0).Source());
}

void S_FZ_Poppoes_Shot::Draw(ObjectController* ctx) {
    DrawCell(ctx, cell::bubble_shot.Shifted(8 * angle, 0).Source());
}

void S_FZ_Stanparon_Shot::Run(ObjectController*) {
    if (angle == 1 && y < 4.0f) {
        y = 4.0f;
        vy = -vy;
    }
    age += 1;
}

void S_FZ_Kobabeach_Shot::Run(ObjectController*) {
    if (age < 4) {
        height = static_cast<int32_t>(static_cast<float>(height) - 2.0f * vy);
        hitHalfHeight = static_cast<int16_t>(height / 2);
    }
    if (y < 0.0f) {
        // The centre stays at the top edge while the beam shrinks into it.
        y -= vy;
        height = static_cast<int32_t>(static_cast<float>(height) + 2.0f * vy);
        hitHalfHeight = static_cast<int16_t>(height / 2);
        if (height < 0) Kill();
    }
    age += 1;
}

void S_FZ_Kobabeach_Shot::Move(ObjectController*) { MoveBeam(*this, 272.0f); }

void S_FZ_Kobabeach_Shot::Draw(ObjectController* ctx) {
    DrawCell(ctx, cell::fz_companion_beam.Frame(age % 2).Source());
}

void S_FZ_Kobabeach::Run(ObjectController* ctx) {
    if (age == 0) {
        InheritSideOnFirstFrame(ctx);
        if (owner != nullptr) {
            offsetX = owner->GetX() - x;
            offsetY = owner->GetY() - y;
        }
    } else {
        int32_t t = angle;
        if (age > t - 20 && age < t) offsetY += 0.5f;
        if (age > t && age < t + 20) offsetY -= 0.5f;
        if (age == t) {
            Object* beam = ctx->CreateObject(type_id::S_FZ_Kobabeach_Shot, x, y, 0.0f, -8.0f, 0.0f, 0.0f, nullptr);
            if (beam != nullptr) beam->SetSide(side);
        }
        if (owner != nullptr) {
            x = owner->GetX() - offsetX;
            y = owner->GetY() - offsetY;
        }
    }
    x = std::clamp(x, 4.0f, 252.0f);
    y = std::clamp(y, 8.0f, 232.0f);
    age += 1;
}

void S_FZ_Kobabeach::OnKilled(ObjectController* ctx) { ctx->CreateObject(type_id::EF_Blast_01, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr); }

void S_FZ_Boranda_Seed::Move(ObjectController*) { MoveBeam(*this, 248.0f); }

void S_FZ_Boranda_Petal::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    hp = maxHp;
    age += 1;
}

static ClassRegistration fzShots({
    ClassOf<S_FZ_Poppoes>(),
    ClassOf<S_FZ_Poppoes_Shot>(),
    ClassOf<S_FZ_Stanparon_Shot>(),
    ClassOf<S_FZ_Kobabeach_Shot>(),
    ClassOf<S_FZ_Kobabeach>(),
    ClassOf<S_FZ_Boranda_Seed>(),
    ClassOf<S_FZ_Boranda_Petal>(),
    ClassOf<S_FZ_Opaopa_Shot>(),
    ClassOf<S_FZ_Opaopa_Bomb>(),
    ClassOf<S_FZ_Opaopa_7way>(),
    ClassOf<S_FZ_Opaopa_HeavyBomb>(),
});
