#include "game/player/shots_retro.h"

#include "framework/core/angle.h"
#include "game/world/factory.h"
#include "game/world/type_table.h"

namespace {

// Noa's slow shot: erases the first bullet it touches and dies with it.
class S_InvaderShot : public ShotOf<type_id::S_InvaderShot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
};

// Passes over ground targets (kind 400).
class S_Zapper : public ShotOf<type_id::S_Zapper> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
};

// Hits only ground targets for one frame and is never drawn.
class S_Blaster_Blast : public ShotOf<type_id::S_Blaster_Blast> {
public:
    using ShotOf::ShotOf;
    void Run(ObjectController* ctx) override;  // killed at its second Run
};

// Akimi's twin shot.
class S_StarForceShot : public ShotOf<type_id::S_StarForceShot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
};

class S_StarSoldierShot : public ShotOf<type_id::S_StarSoldierShot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;  // one cell a level
};

// Where the cells of this family lie in "shot.bmp".
constexpr float kInvaderU = 128, kInvaderV = 64;
constexpr float kZapperU = 184, kZapperV = 48;        // two 8 x 8 halves, one above the other
constexpr float kStarForceU = 56, kStarForceV = 32;   // left and right halves side by side
constexpr float kStarSoldierU = 128;                  // v = (7 - level) x 8
constexpr float kShinjinruiU = 152, kShinjinruiV = 64;  // level 0: 8 x 8 frames stacked
constexpr float kShinjinruiBigU = 160;                // higher levels: 16 x 16 frames side by side

constexpr float kLoopRadius = 16.0f;
constexpr int32_t kLoopStep = 5460;  // 30 degrees a frame: one turn in 12 frames

}  // namespace

void S_InvaderShot::Draw(ObjectController* ctx) { DrawCell(ctx, kInvaderU, kInvaderV, 8, 8); }

void S_Zapper::Draw(ObjectController* ctx) {
    uint32_t colour = DrawColor(ctx);
    DrawCellAt(ctx, x, y - 4.0f, 8, 8, kZapperU, kZapperV, 8, 8, colour);
    DrawCellAt(ctx, x, y + 4.0f, 8, 8, kZapperU, kZapperV + 8.0f, 8, 8, colour);
}

void S_Blaster_Blast::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (age >= 1) Kill();
    age += 1;
}

void S_StarForceShot::Draw(ObjectController* ctx) {
    uint32_t colour = DrawColor(ctx);
    DrawCellAt(ctx, x - 4.0f, y, 8, 8, kStarForceU, kStarForceV, 8, 8, colour);
    DrawCellAt(ctx, x + 4.0f, y, 8, 8, kStarForceU + 8.0f, kStarForceV, 8, 8, colour);
}

void S_StarSoldierShot::Draw(ObjectController* ctx) {
    DrawCell(ctx, kStarSoldierU, static_cast<float>((7 - score) * 8), 8, 8);
}

void S_ShinjinruiShot::Run(ObjectController* ctx) {
    if (age == 0) {
        InheritSideOnFirstFrame(ctx);
        if (score > 0) {
            width = height = 16;
            hitHalfWidth = hitHalfHeight = 8;
        }
    }
    if (score == 2) {
        int32_t a = age * kLoopStep;
        float t = static_cast<float>(age);
        x = startX + kLoopRadius * AngleSin(a);
        y = startY + 1.5f * t * startVy + kLoopRadius * AngleCos(a) - kLoopRadius;
    } else if (score == 0 && age >= 60) {
        Kill();
    }
    age += 1;
}

void S_ShinjinruiShot::Draw(ObjectController* ctx) {
    float frame = static_cast<float>((age / 4) % 2);
    if (score == 0) DrawCell(ctx, kShinjinruiU, kShinjinruiV + 8.0f * frame, 8, 8);
    else DrawCell(ctx, kShinjinruiBigU + 16.0f * frame, kShinjinruiV, 16, 16);
}

static ClassRegistration retroShots({
    ClassOf<S_InvaderShot>(),
    ClassOf<S_Zapper>(),
    ClassOf<S_Blaster_Blast>(),
    ClassOf<S_StarForceShot>(),
    ClassOf<S_StarSoldierShot>(),
    ClassOf<S_ShinjinruiShot>(),
});
