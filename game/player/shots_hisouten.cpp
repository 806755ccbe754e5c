#include "game/player/shots_hisouten.h"

#include <algorithm>

#include "framework/core/angle.h"
#include "game/player/pc.h"
#include "game/world/cells.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

// Never worn out; score 1 draws the plain orb, otherwise a cell by its heading.
class S_Hisouten_Ryuunome : public ShotOf<type_id::S_Hisouten_Ryuunome, KeptShot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;
};

// Curves onto the nearest enemy, turning tighter as it slows; gone at 120.
class S_Hisouten_Inabikari : public ShotOf<type_id::S_Hisouten_Inabikari, Serpent<16>> {
public:
    using ShotOf::ShotOf;
    void Run(ObjectController* ctx) override;
};

// Variant 1 (angle field) pierces for 60 frames; variant 0 dies at its first contact or at 30.
class S_Hattori_Shuriken : public ShotOf<type_id::S_Hattori_Shuriken> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Held in the field and never worn out.
class S_Hattori_FireBall : public ShotOf<type_id::S_Hattori_FireBall> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

}  // namespace

int32_t FloorMod(int32_t a, int32_t m) { return ((a % m) + m) % m; }

S_Hisouten_Iku6CShot::S_Hisouten_Iku6CShot(float px, float py, float pvx, float pvy, float pax, float pay)
    : ShotOf(px, py, pvx, pvy, pax, pay), baseX(px) {
    for (int i = 0; i < 4; ++i) {
        trailX[i] = px;
        trailY[i] = py - 16.0f;
    }
}

void S_Hisouten_Iku6CShot::Run(ObjectController*) {
    // The jitter takes the non-negative remainder, so it stays within -1.5 to +1.5 left of 0 too.
    int32_t jitter = FloorMod(static_cast<int32_t>(static_cast<float>(age) * x), 13);
    float sway = AngleSin(static_cast<int32_t>(static_cast<int64_t>(age) * 10 * 65536 / 360)) * static_cast<float>(angle);
    x = baseX + sway + static_cast<float>(jitter) * 0.25f - 1.5f;
    if (age < 5) hitHalfHeight = static_cast<int16_t>(age * 4 + 4);
    trailX[age % 4] = x;
    trailY[age % 4] = y - 16.0f;
    age += 1;
}

void S_Hisouten_Iku6CShot::Move(ObjectController*) { MoveWithin(-40.0f, 296.0f, -16.0f, 256.0f); }

void S_Hisouten_Iku6CShot::Draw(ObjectController* ctx) {
    // 8-texel columns of the Recca bomb's small quarters and the row past them: the head from the
    // lower half, the trail from the upper one (from 8 on, column n - 8 mirrored).
    uint32_t colour = DrawColor(ctx);
    const SheetCell& quarters = cell::recca_bomb_small;
    DrawCellAt(ctx, x, y - 16.0f, 8, 8, quarters.U(8 * (age % 4)), quarters.V(8), 8, 8, colour);
    for (int i = 0; i < 4; ++i) {
        int32_t n = FloorMod(static_cast<int32_t>(trailX[i] * 5.0f + trailY[i] * 0.125f), 16);
        if (n < 8) DrawCellAt(ctx, trailX[i], trailY[i], 8, 8, quarters.U(8 * n), quarters.V(), 8, 8, colour);
        else DrawCellAt(ctx, trailX[i], trailY[i], 8, 8, quarters.U(8 * (n - 7)), quarters.V(), -8, 8, colour);
    }
}

void S_Hisouten_Ryuunome::Move(ObjectController*) { MoveWithin(-96.0f, 352.0f, -96.0f, 336.0f); }

void S_Hisouten_Ryuunome::Draw(ObjectController* ctx) {
    if (score == 1) {
        DrawCell(ctx, static_cast<float>((age % 4 + 12) * 16), 96, 16, 16);
        return;
    }
    int32_t t = age / 2;
    int32_t a = t % 4 > 1 ? 1 : 0, b = t % 2, c = t % 8 > 3 ? 1 : 0;
    float row = static_cast<float>((c + 4 + b) * 16);
    int32_t h = AngleIndex(angle);
    int32_t column;
    float w, hh = static_cast<float>(16 - 32 * b);
    bool vertical = (h > 16384 - 4096 && h <= 16384 + 4096) || (h > 49152 - 4096 && h <= 49152 + 4096);
    if (vertical) {
        column = 12 + a;
        w = static_cast<float>(16 - 32 * a);
    } else if ((h > 53248 && h <= 61440) || (h > 20480 && h <= 28672)) {
        column = 14 + a + b;
        w = hh;
    } else if ((h > 4096 && h <= 12288) || (h > 36864 && h <= 45056)) {
        column = 15 + a - b;
        w = static_cast<float>(32 * b - 16);
    } else {
        column = 13 + a;
        w = static_cast<float>(16 - 32 * a);
    }
    DrawCell(ctx, static_cast<float>(column * 16), row, w, hh);
}

template <int PathLength>
Serpent<PathLength>::Serpent(int32_t typeId, float px, float py, float pvx, float pvy, float pax, float pay)
    : Shot(typeId, px, py, pvx, pvy, pax, pay) {
    for (int i = 0; i < PathLength; ++i) {
        pathX[i] = px;
        pathY[i] = py;
        pathHeading[i] = 49152;
    }
}

template <int PathLength>
void Serpent<PathLength>::MakeSegments(ObjectController* ctx, int32_t count, int32_t ageStep, float segmentPower) {
    for (int32_t i = count - 1; i >= 0; --i) {
        Object* segment = ctx->CreateObject(type_id::S_Hisouten_Ryuunome, x, y, 0.0f, 0.0f, 0.0f, 0.0f, self);
        segments[i] = segment;
        if (segment == nullptr) continue;
        segment->SetSide(side);
        segment->SetAge(ageStep * i);
        segment->power = segmentPower;
    }
}

template <int PathLength>
void Serpent<PathLength>::Record(int32_t lagPerSegment) {
    int32_t slot = FloorMod(age, PathLength);
    pathX[slot] = x;
    pathY[slot] = y;
    pathHeading[slot] = angle;
    for (int32_t j = 0; j < 8; ++j) {
        Object* segment = segments[j];
        if (segment == nullptr) continue;
        // Before the ring has gone round the entries read are its prefilled start.
        int32_t entry = FloorMod(age - lagPerSegment * j - 2, PathLength);
        segment->x = pathX[entry];
        segment->y = pathY[entry];
        segment->angle = pathHeading[entry];
    }
}

template <int PathLength>
void Serpent<PathLength>::Move(ObjectController*) {
    MoveWithin(-96.0f, 352.0f, -96.0f, 336.0f);
}

template <int PathLength>
void Serpent<PathLength>::Draw(ObjectController* ctx) {
    DrawCell(ctx, static_cast<float>((age % 4 + 12) * 16), 96, 16, 16);
}

template <int PathLength>
void Serpent<PathLength>::Detach() {
    for (Object*& segment : segments) {
        Object* held = segment;
        if (held == nullptr) continue;
        segment = nullptr;
        held->ForgetObject(self);
    }
    if (owner != nullptr) owner->ForgetObject(self);
}

template <int PathLength>
void Serpent<PathLength>::ForgetObject(Object* gone) {
    for (Object*& segment : segments) {
        if (segment == gone) {
            segment = nullptr;
            break;
        }
    }
    if (gone == owner) {
        owner = nullptr;
        Kill();
    }
}

void S_Hisouten_Seidenyuudoudan::Run(ObjectController* ctx) {
    if (age == 0) {
        if (owner != nullptr) InheritSideOnFirstFrame(ctx);
        if (angle >= 0 && angle < 8) MakeSegments(ctx, angle, 5, 0.25f);
    }
    angle = static_cast<int32_t>(AngleAtan2(vx, vy));
    if (age == 30) vx = vy = 0.0f;
    if (age == 40) {
        if (Object* e = ctx->FindNearestEnemy(x, y)) {
            angle = static_cast<int32_t>(AngleAtan2(e->GetX() - x, e->GetY() - y));
            vx = AngleCos(angle) * 4.0f;
            vy = AngleSin(angle) * 4.0f;
        } else {
            vx = 0.0f;
            vy = -4.0f;
        }
    }
    Record(4);
    age += 1;
}

void S_Hisouten_Inabikari::Run(ObjectController* ctx) {
    if (age == 0) {
        if (owner != nullptr) InheritSideOnFirstFrame(ctx);
        MakeSegments(ctx, 3, 5, 0.2f);
        speed = 4.0f;
        speedAccel = -0.18f;
    }
    if (age == 20) speedAccel = 0.2f;
    if (age == 120) Kill();
    if (age >= 11 && age <= 59) {
        Object* e = ctx->FindNearestEnemy(x, y);
        int32_t aim = e != nullptr ? static_cast<int32_t>(AngleAtan2(e->GetX() - x, e->GetY() - y)) : 49152;
        if (aim < angle) aim += 65535;
        int32_t d = aim - angle;
        int32_t r = static_cast<int32_t>(speed + 2.0f);
        int32_t step = DegreesToBinaryAngle(r);
        int32_t back = DegreesToBinaryAngle(360 - r);
        if (d < 32768 && d > step) angle += step;
        if (d > 32768 && d < back) angle += back;
        angle %= 65535;
    }
    Record(2);
    age += 1;
}

void S_Hattori_Shuriken::Run(ObjectController* ctx) {
    if (age == 0) {
        InheritSideOnFirstFrame(ctx);
        if (angle == 1) hp = maxHp = 256.0f;
    }
    if (age == (angle + 1) * 30) Kill();
    age += 1;
}

void S_Hattori_Shuriken::Draw(ObjectController* ctx) {
    DrawCell(ctx, cell::shuriken.Frame((age / 4) % 2).Source());
}

void S_Hattori_FireBall::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    x = std::clamp(x, 0.0f, 256.0f);
    y = std::clamp(y, 0.0f, 240.0f);
    age += 1;
    hp = maxHp;
}

void S_Hattori_FireBall::Draw(ObjectController* ctx) {
    float shift = static_cast<float>((age / 2) % 2 * 4 - 2);
    DrawCellAt(ctx, x + shift, y, width, height, cell::rm_blade.Source(), DrawColor(ctx));
}

template class Serpent<32>;
template class Serpent<16>;

static ClassRegistration hisoutenShots({
    ClassOf<S_Hisouten_Iku6CShot>(),
    ClassOf<S_Hisouten_Ryuunome>(),
    ClassOf<S_Hisouten_Seidenyuudoudan>(),
    ClassOf<S_Hisouten_Inabikari>(),
    ClassOf<S_Hattori_Shuriken>(),
    ClassOf<S_Hattori_FireBall>(),
});
