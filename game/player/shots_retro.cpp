#include "game/player/shots_retro.h"

#include "framework/core/angle.h"
#include "game/world/cells.h"
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


constexpr float kLoopRadius = 16.0f;
constexpr int32_t kLoopStep = 5460;  // 30 degrees a frame: one turn in 12 frames

}  // namespace

void S_InvaderShot::Draw(ObjectController* ctx) { DrawCell(ctx, cell::invader_shot.Source()); }

void S_Zapper::Draw(ObjectController* ctx) {
    // The beam's two 8 x 8 halves, one above the other.
    uint32_t colour = DrawColor(ctx);
    const SheetCell& beam = cell::zapper_beam;
    DrawCellAt(ctx, x, y - 4.0f, 8, 8, beam.U(), beam.V(), 8, 8, colour);
    DrawCellAt(ctx, x, y + 4.0f, 8, 8, beam.U(), beam.V(8), 8, 8, colour);
}

void S_Blaster_Blast::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (age >= 1) Kill();
    age += 1;
}

void S_StarForceShot::Draw(ObjectController* ctx) {
    uint32_t colour = DrawColor(ctx);
    DrawCellAt(ctx, x - 4.0f, y, 8, 8, cell::star_force.Frame(0).Source(), colour);
    DrawCellAt(ctx, x + 4.0f, y, 8, 8, cell::star_force.Frame(1).Source(), colour);
}

void S_StarSoldierShot::Draw(ObjectController* ctx) {
    // Level 0's cell; each level higher reads the 8 texels above the last.
    DrawCell(ctx, cell::zapper_spark.Shifted(0, -8 * score).Source());
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
    // Level 0 shows the small frames stacked below one another, the higher levels the large ones.
    const int32_t frame = (age / 4) % 2;
    if (score == 0) DrawCell(ctx, cell::star_soldier_shot.Frame(frame).Source());
    else DrawCell(ctx, cell::looping_shot.Frame(frame).Source());
}

static ClassRegistration retroShots({
    ClassOf<S_InvaderShot>(),
    ClassOf<S_Zapper>(),
    ClassOf<S_Blaster_Blast>(),
    ClassOf<S_StarForceShot>(),
    ClassOf<S_StarSoldierShot>(),
    ClassOf<S_ShinjinruiShot>(),
});
