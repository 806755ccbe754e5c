#include "game/player/shots_zanac.h"

#include "framework/core/angle.h"
#include "game/world/cells.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

class S_Gunnac : public ShotOf<type_id::S_Gunnac> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;  // one of eight directions
    void Move(ObjectController* ctx) override;  // vanishes below y 240
};

class S_ZanacA : public ShotOf<type_id::S_ZanacA> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;  // the hit box follows the level
};

class S_ZanacB : public ShotOf<type_id::S_ZanacB> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
};

// A satellite placed by its character; it never wears out.
class S_SayakaCap : public ShotOf<type_id::S_SayakaCap> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController*) override {}
    void Run(ObjectController* ctx) override;
};

// A rising orb that weaves across the field and eats bullets; its hit box shrinks as it wears.
class S_Kavlet : public ShotOf<type_id::S_Kavlet> {
public:
    S_Kavlet(float x, float y, float vx, float vy, float ax, float ay)
        : ShotOf(x, y, vx, vy, ax, ay), centreX(x) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;

    float centreX;
    int32_t sizeStep = 0;
};

// A letter that throws two side shots at ages set by its level.
class S_HikaruLetter : public ShotOf<type_id::S_HikaruLetter> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;

    int32_t frame = 0;  // animation 0-7
};

// Killed, it bombs the whole field for the scene's score.
class S_Zanac6Shot : public ShotOf<type_id::S_Zanac6Shot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void OnKilled(ObjectController* ctx) override;
};

// A shot that turns toward the nearest enemy in eighths of a turn.
class S_Gunnac3 : public ShotOf<type_id::S_Gunnac3> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

}  // namespace

void S_Gunnac::Move(ObjectController*) { MoveWithin(-8.0f, 264.0f, 0.0f, 240.0f); }

void S_Gunnac::Draw(ObjectController* ctx) {
    // The frames point right, right-up and up; the rest are mirrors.
    bool left = vx < 0.0f, right = vx > 0.0f, up = vy < 0.0f, down = vy > 0.0f;
    if ((left || right) && (up || down)) DrawCell(ctx, cell::gunnac.Frame(1).Source(left, down));
    else if (up || down) DrawCell(ctx, cell::gunnac.Frame(2).Source(false, down));
    else DrawCell(ctx, cell::gunnac.Frame(0).Source(left, false));
}

void S_ZanacA::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (score <= 1) {
        hitHalfWidth = 3;
        hitHalfHeight = 8;
    } else if (score == 2) {
        hitHalfWidth = hitHalfHeight = 8;
    } else if (score == 3) {
        hitHalfWidth = hitHalfHeight = 10;
    } else if (score == 4) {
        hitHalfWidth = 18;
        hitHalfHeight = 14;
    }
    age += 1;
}

void S_ZanacA::Draw(ObjectController* ctx) {
    uint32_t colour = DrawColor(ctx);
    const CellSource needle = cell::zanac.Frame(0).Source(), wide = cell::zanac.Frame(1).Source();
    if (score <= 1) {
        DrawCellAt(ctx, x, y, 8, 16, needle, colour);
    } else if (score == 2 || score == 3) {
        DrawCellAt(ctx, x - 6.0f, y, 8, 16, needle, colour);
        DrawCellAt(ctx, x + 6.0f, y, 8, 16, needle, colour);
        if (score == 3) DrawCellAt(ctx, x, y - 2.0f, 8, 16, needle, colour);
    } else if (score == 4) {
        DrawCellAt(ctx, x - 16.0f, y + 5.0f, 8, 16, wide, colour);
        DrawCellAt(ctx, x + 16.0f, y + 5.0f, 8, 16, wide, colour);
        DrawCellAt(ctx, x, y - 5.0f, 8, 16, wide, colour);
    }
}

void S_ZanacB::Draw(ObjectController* ctx) { DrawCell(ctx, cell::zanac.Frame(1).Source()); }

void S_SayakaCap::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    hp = maxHp;
    age += 1;
}

void S_SayakaCap::Draw(ObjectController* ctx) { DrawCell(ctx, cell::cap.Source()); }

void S_Kavlet::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    float s = AngleSin(age * 2730);
    x = centreX < 128.0f ? centreX + 64.0f * s : centreX - 64.0f * s;
    if (x < 0.0f) {
        x = 0.0f;
        centreX += 16.0f;
    } else if (x > 256.0f) {
        x = 256.0f;
        centreX -= 16.0f;
    }
    if (age == 50) vy = ay = 0.0f;
    sizeStep = 0;
    if (score == 1) {
        if (hp > 8.0f) sizeStep = 1;
    } else if (score == 2) {
        if (hp > 8.0f) sizeStep = 2;
        else if (hp > 4.0f) sizeStep = 1;
    } else if (score == 3) {
        if (hp > 8.0f) sizeStep = 3;
        else if (hp > 5.0f) sizeStep = 2;
        else if (hp > 2.0f) sizeStep = 1;
    }
    hitHalfWidth = hitHalfHeight = 12 + 8 * sizeStep;
    age += 1;
}

void S_Kavlet::Draw(ObjectController* ctx) {
    uint32_t colour = DrawColor(ctx);
    if (sizeStep >= 1) DrawCellAt(ctx, x, y, 16, 16, cell::orb_ring_small.Source(), colour);
    if (sizeStep >= 2) DrawCellAt(ctx, x, y, 24, 24, cell::enemy_eraser.Source(), colour);
    if (sizeStep >= 3) DrawCellAt(ctx, x, y, 32, 32, cell::orb_ring_large.Source(), colour);
    DrawCellAt(ctx, x, y, 8, 8, cell::kavlet.Source(), colour);
}

void S_HikaruLetter::Run(ObjectController* ctx) {
    if (age == 0) {
        InheritSideOnFirstFrame(ctx);
        hitHalfWidth = hitHalfHeight = 8 + 4 * score;
    }
    frame = (frame + 1) % 8;
    bool throws = score < 2 ? age == 12 : (score == 2 ? age == 9 : (score == 3 && (age == 5 || age == 11)));
    if (throws) {
        for (float dir : {8.0f, -8.0f}) {
            Object* made = ctx->CreateObject(type_id::S_Gunnac, x, y, dir, 2.0f, 0.0f, 0.0f, nullptr);
            if (made != nullptr) made->SetSide(side);
        }
    }
    age += 1;
}

void S_HikaruLetter::Draw(ObjectController* ctx) {
    // Four frames, then the same four mirrored.
    uint32_t colour = DrawColor(ctx);
    DrawCellAt(ctx, x, y, 16, 16, cell::letter.Frame(frame % 4).Source(frame >= 4), colour);
    if (score >= 2) DrawCellAt(ctx, x, y, 24, 24, cell::enemy_eraser.Source(), colour);
}

void S_Zanac6Shot::OnKilled(ObjectController* ctx) {
    if (ctx->currentScene == nullptr) return;
    int32_t bombed = ctx->BombAll(4, true);
    ctx->currentScene->AddScore(10 * bombed);
}

void S_Zanac6Shot::Draw(ObjectController* ctx) { DrawCell(ctx, cell::cap.Source()); }

void S_Gunnac4::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    hp = maxHp;
    int32_t target = 16 * angle;
    if (target != length) {
        length += target < length ? -8 : 8;
        hitHalfHeight = length / 2 + 16;
    }
    if (owner != nullptr) y = owner->GetY() - static_cast<float>(length / 2);
    if (x < 0.0f) x = 0.0f;
    if (x > 256.0f) x = 256.0f;
    age += 1;
}

void S_Gunnac4::Move(ObjectController*) {
    if (moveMode >= 0 && moveMode <= 2) StepMovement();
    if (x < -8.0f || x > 264.0f || y > 240.0f) Vanish();
}

void S_Gunnac4::Draw(ObjectController* ctx) {
    uint32_t colour = DrawColor(ctx);
    int32_t segments = (length - 8) / 16;
    float bottom = y - 24.0f + static_cast<float>(length / 2);
    // The segment alternates with the 8 texels to its right.
    const CellSource segment = cell::zanac_beam.Shifted((age / 4) % 2 == 0 ? 0 : 8, 0).Source();
    for (int32_t i = 0; i < segments; ++i) {
        DrawCellAt(ctx, x, bottom - 16.0f * static_cast<float>(i) + 8.0f, 8, 16, segment, colour);
    }
    float top = bottom - 16.0f * static_cast<float>(segments);
    DrawCellAt(ctx, x, top, 16, 16, cell::zanac_beam_heads.Frame((age / 2) % 4).Source(), colour);
    DrawCellAt(ctx, x, bottom + 16.0f, 16, 16, cell::zanac_beam_heads.Frame(4).Source(), colour);
}

void S_Gunnac3::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (age > 2 && age < 300) {
        Object* enemy = ctx->FindNearestEnemy(x, y);
        if (enemy != nullptr) {
            // Headings wrap with 65535, so both sides of the turn compare on the same side.
            int32_t t = static_cast<int32_t>(AngleAtan2(enemy->GetX() - x, enemy->GetY() - y));
            if (t < 16383 && angle > 49151) t += 65535;
            else if (angle < 16383 && t > 49151) angle += 65535;
            if (angle > t + 8192) angle -= 8192;
            else if (angle < t - 8192) angle += 8192;
            angle %= 65535;
            int32_t a8 = angle / 8192 * 8192;
            vx = AngleCos(a8) * speed;
            vy = AngleSin(a8) * speed;
        }
    }
    age += 1;
}

void S_Gunnac3::Draw(ObjectController* ctx) {
    // The frames point right, right-down and down; the rest are mirrors.
    static constexpr struct {
        int8_t frame;
        bool flipX, flipY;
    } kDirections[8] = {{0, false, false}, {1, false, false}, {2, false, false}, {1, true, false},
                        {0, true, false},  {1, true, true},   {2, false, true},  {1, false, true}};
    const auto& d = kDirections[(angle / 8192) & 7];
    DrawCell(ctx, cell::zanac_homing.Frame(d.frame).Source(d.flipX, d.flipY));
}

static ClassRegistration zanacShots({
    ClassOf<S_Gunnac>(),
    ClassOf<S_ZanacA>(),
    ClassOf<S_ZanacB>(),
    ClassOf<S_SayakaCap>(),
    ClassOf<S_Kavlet>(),
    ClassOf<S_HikaruLetter>(),
    ClassOf<S_Zanac6Shot>(),
    ClassOf<S_Gunnac4>(),
    ClassOf<S_Gunnac3>(),
});
