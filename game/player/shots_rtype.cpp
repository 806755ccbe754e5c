// The R-type weapons (type ids 242-248): a detachable Force riding on its owner or flying free, a
// growing wave laser, a beam stretching up to the first enemy, a weaving shot with after-images, a
// missile waiting for an enemy above, an option and a plain shot. The angle field is a variant or
// mode written by the creator.

#include <algorithm>
#include <cstdint>

#include "framework/core/angle.h"
#include "game/player/pc.h"
#include "game/player/shot.h"
#include "game/world/cells.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

class S_RTYPELEO_Shot : public ShotOf<type_id::S_RTYPELEO_Shot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
};

class S_RTYPELEO_Option : public ShotOf<type_id::S_RTYPELEO_Option> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;  // held in the field
};

class S_RTYPELEO_Red_Laser : public ShotOf<type_id::S_RTYPELEO_Red_Laser> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Weaves about its owner's x; the score field's parity is the phase, 2 or more the long form.
class S_RTYPELEO_Red_Shot : public ShotOf<type_id::S_RTYPELEO_Red_Shot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;

    uint32_t headColour = 0, nearColour = 0, farColour = 0;
};

// Modes 0-3 fly free toward a station, 4 and 5 ride in front of or behind the owner.
class S_RTYPE_Force : public ShotOf<type_id::S_RTYPE_Force> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

class S_RTYPE_Laser : public ShotOf<type_id::S_RTYPE_Laser> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

class S_RTYPELEO_Missile : public ShotOf<type_id::S_RTYPELEO_Missile> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

constexpr uint32_t kHidden = 0xFF000000u;
constexpr float kSparkSide[8] = {1, 8, 12, 14, 15, 14, 12, 8};

// Moves by acceleration and velocity, the angle following while accelerating, and vanishes
// outside x -8..264 and the given y limits.
void MoveFree(Object& o, float top, float bottom) {
    o.StepMovement();
    if (o.x < -8.0f || o.x > 264.0f || o.y < top || o.y > bottom) o.Vanish();
}

}  // namespace

void S_RTYPELEO_Shot::Draw(ObjectController* ctx) {
    // Sideways it shows the zapper beam's upper half, or its lower half when it also climbs.
    const SheetCell& beam = cell::zapper_beam;
    if (vx == 0.0f) DrawCell(ctx, cell::rt_shot.Source());
    else DrawCell(ctx, beam.U(vx > 0.0f ? 0 : 8), beam.V(vy != 0.0f ? 8 : 0), vx > 0.0f ? 8.0f : -8.0f, 8.0f);
}

void S_RTYPELEO_Option::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    hp = maxHp;
    x = std::clamp(x, 4.0f, 252.0f);
    y = std::clamp(y, 4.0f, 236.0f);
    age += 1;
}

void S_RTYPELEO_Option::Draw(ObjectController* ctx) {
    uint32_t colour = DrawColor(ctx);
    DrawCellAt(ctx, x, y, 8, 8, cell::rt_bit.Frame(age / 2 % 8).Source(), colour);
    if (angle == 0) DrawCellAt(ctx, x, y - 7.0f, 8, 8, 232, 184, 8, 8, colour);
    else DrawCellAt(ctx, x, y + 7.0f, 8, 8, 232, 192, 8, -8, colour);
}

void S_RTYPELEO_Red_Laser::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    hp = maxHp;
    if (owner == nullptr) {
        Kill();
    } else {
        x = owner->GetX() + owner->vx;
        float oy = owner->GetY();
        height += 16;
        if (Object* e = ctx->FindEnemyAbove(x, y + static_cast<float>(height / 2), 4.0f, true)) {
            height = static_cast<int32_t>(oy - e->GetY());
        }
        if (static_cast<float>(height) > oy + 32.0f) height = static_cast<int32_t>(oy + 32.0f);
        hitHalfHeight = static_cast<int16_t>(height / 2);
        y = oy - static_cast<float>(height / 2);
    }
    age += 1;
    power = static_cast<float>(angle - 2) * 0.2f + 1.0f;
}

void S_RTYPELEO_Red_Laser::Draw(ObjectController* ctx) {
    // The red laser's two frames; the other variants step 0, 1, 2, 1 frames along it.
    int32_t g = age / 2 % 4;
    DrawCell(ctx, cell::rt_laser.Shifted(8 * (angle == 2 ? age / 2 % 2 : g - 2 * (g / 3)), 0).Source());
}

void S_RTYPELEO_Red_Shot::Run(ObjectController* ctx) {
    if (age == 0) {
        InheritSideOnFirstFrame(ctx);
        bool hidden = DrawColor(ctx) == kHidden;
        headColour = hidden ? kHidden : 0xFFFFB8E8u;
        nearColour = hidden ? kHidden : 0xFFFF60B0u;
        farColour = hidden ? kHidden : 0xFFD84060u;
        if (score >= 2) {
            height = 32;
            hitHalfHeight = 16;
        }
    }
    if (owner == nullptr) {
        Kill();
    } else {
        int32_t degrees = ((score % 2) * 15 + age) * 12 + 90;
        x = owner->GetX() + owner->vx + AngleSin(DegreesToBinaryAngle(degrees)) * 16.0f;
    }
    age += 1;
}

void S_RTYPELEO_Red_Shot::Move(ObjectController*) {
    float half = static_cast<float>(height / 2);
    MoveFree(*this, -half, half + 240.0f);
}

void S_RTYPELEO_Red_Shot::Draw(ObjectController* ctx) {
    float ox = owner != nullptr ? owner->GetX() : x;
    // After-images trail behind the head: the far ones from age 2, the near ones from age 1.
    for (int32_t pass = 0; pass < 2; ++pass) {
        bool far = pass == 0;
        if (age < (far ? 2 : 1)) continue;
        for (int32_t i = 0; i < 4; ++i) {
            int32_t degrees = (4 * ((score % 2) * 15 + age) - i + (far ? 22 : 26)) * 3;
            float ix = ox - static_cast<float>(width / 2) + AngleSin(DegreesToBinaryAngle(degrees)) * 16.0f;
            float iy = y - static_cast<float>(height / 2) - vy * 0.25f * static_cast<float>(i) - (far ? vy : 0.0f);
            DrawCellAt(ctx, ix + static_cast<float>(width / 2), iy + static_cast<float>(height / 2), width, height,
                       cell::rt_red_shot.Source(), far ? farColour : nearColour);
        }
    }
    DrawCellAt(ctx, x, y, width, height, cell::rt_red_shot.Source(), headColour);
}

void S_RTYPE_Force::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    hp = maxHp;
    if (owner == nullptr) {
        Kill();
        age += 1;
        return;
    }
    if (angle == 4 || angle == 5) {
        x = owner->GetX() + owner->vx;
        y = owner->GetY() + owner->vy - 16.0f + static_cast<float>((angle - 4) * 32);
    } else {
        static constexpr float kStationY[2] = {8.0f, 232.0f};
        float tx = std::clamp(owner->GetX(), 4.0f, 252.0f);
        float ty = angle <= 1 ? kStationY[angle == 1] : owner->GetY() - (angle == 2 ? 128.0f : 16.0f);
        ty = std::clamp(ty, 4.0f, 236.0f);
        float step = angle <= 1 ? 8.0f : 0.5f;
        int32_t a = static_cast<int32_t>(AngleAtan2(tx - x, ty - y));
        x += AngleCos(a) * step;
        y += AngleSin(a) * step;
    }
    x = std::clamp(x, 4.0f, 252.0f);
    if (y < 8.0f) {
        y = 8.0f;
        if (angle == 0) angle = 2;
    }
    if (y > 232.0f) {
        y = 232.0f;
        if (angle == 1) angle = 2;
    }
    age += 1;
}

void S_RTYPE_Force::Draw(ObjectController* ctx) {
    // The four frames, then mirrored steps back from the one past the last.
    int32_t f = (age / 4) % 8;
    if (f < 4) DrawCell(ctx, cell::rt_force.Frame(f).Source());
    else DrawCell(ctx, cell::rt_force.Shifted(16 * (8 - f), 0).Source(true));
}

void S_RTYPE_Laser::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (owner == nullptr) {
        Kill();
    } else if (age <= 15) {
        height = age * 4 + 4;
        hitHalfHeight = static_cast<int16_t>(height / 2);
        vy = static_cast<float>(angle * 4 - 2);
        y += owner->vy;
        x = owner->GetX() + owner->vx;
    } else {
        height = 64;
        hitHalfHeight = 32;
        vy = static_cast<float>(angle * 8 - 4);
    }
    age += 1;
}

void S_RTYPE_Laser::Move(ObjectController*) { MoveFree(*this, -32.0f, 272.0f); }

void S_RTYPE_Laser::Draw(ObjectController* ctx) {
    uint32_t colour = DrawColor(ctx);
    bool down = angle == 1;
    float h = static_cast<float>(height);
    int32_t f = age % 16;
    if (age < 16) {
        DrawCellAt(ctx, x, y, 32, height, 144, down ? 240.0f : 240.0f - h, 32, down ? -h : h, colour);
    } else {
        float top = y - 32.0f;
        float upper = static_cast<float>(4 * f), lower = static_cast<float>((16 - f) * 4);
        if (upper > 0.0f) DrawCellAt(ctx, x, top + upper / 2.0f, 32, 4 * f, 144, static_cast<float>((60 - f) * 4), 32, upper, colour);
        DrawCellAt(ctx, x, top + upper + lower / 2.0f, 32, (16 - f) * 4, 144, 176, 32, lower, colour);
    }
    // Two sparks 4 units beyond the tip, swinging out and back, swapping sides every 8 frames.
    float tip = down ? y + h / 2.0f + 4.0f : y - h / 2.0f - 4.0f;
    float side = kSparkSide[f % 8] * ((f / 8) % 2 == 0 ? 1.0f : -1.0f);
    DrawCellAt(ctx, x - side, tip, 8, 8, cell::rt_sparks.Frame(0).Source(), colour);
    DrawCellAt(ctx, x + side, tip, 8, 8, cell::rt_sparks.Frame(1).Source(), colour);
}

void S_RTYPELEO_Missile::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (angle == 0 && ctx->FindEnemyAbove(x, y, 16.0f, false) != nullptr) {
        angle = 1;
        vx = 0.0f;
        vy = -8.0f;
        ay = -0.1f;
    }
    age += 1;
}

void S_RTYPELEO_Missile::Draw(ObjectController* ctx) { DrawCell(ctx, cell::rt_missile.Source()); }

static ClassRegistration rtypeShots({
    ClassOf<S_RTYPELEO_Shot>(),
    ClassOf<S_RTYPELEO_Option>(),
    ClassOf<S_RTYPELEO_Red_Laser>(),
    ClassOf<S_RTYPELEO_Red_Shot>(),
    ClassOf<S_RTYPE_Force>(),
    ClassOf<S_RTYPE_Laser>(),
    ClassOf<S_RTYPELEO_Missile>(),
});
