// The bomb, barrel and ice weapons (type ids 221-226): a bomb its owner kicks that bursts into a
// cross of flames, a rolling barrel, an ice wall, an ice shot and an ice cube its owner pushes.
// The bomb's angle field is its flame length in 16-unit cells, which the flames inherit.
#include "game/player/shots_bm_ice.h"

#include <cmath>

#include "game/world/cells.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

class S_Makaijima_Barrel : public ShotOf<type_id::S_Makaijima_Barrel> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
};

// The ice pieces that leave a blast when killed.
class IceShot : public Shot {
public:
    void OnKilled(ObjectController* ctx) override;

protected:
    using Shot::Shot;
};

// Takes 17 contacts or stands 300 frames.
class S_Meikyuujima_IceWall : public ShotOf<type_id::S_Meikyuujima_IceWall, IceShot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Its kills are reported to its owner (kind 508).
class S_Meikyuujima_Shot : public ShotOf<type_id::S_Meikyuujima_Shot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
};

// Pushed up by its owner, knocked back down by a contact and harmless for 4 frames after.
class S_Meikyuujima_IceCube : public ShotOf<type_id::S_Meikyuujima_IceCube, IceShot> {
public:
    using ShotOf::ShotOf;
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    void Damage(ObjectController* ctx, float amount) override;
    int32_t cooldown = 0;
};

constexpr int32_t kBombFrames[4] = {0, 1, 2, 1};

// The flame's cells (columns of row (frame + 10) x 16): middle, end and centre pieces.
constexpr float kFlameMiddleU[2] = {0, 32};  // horizontal, vertical
constexpr float kFlameCentreU = 64;

}  // namespace

void S_BM_Bomb::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    frame = kBombFrames[(age / 15) % 4];
    if (age > 120) Kill();
    if (owner != nullptr) {
        float ox = owner->GetX(), oy = owner->GetY();
        if (std::abs(ox - x) < 12.0f && oy > y && oy < y + 16.0f && owner->vy < 0.0f) {
            vy = -4.0f;
            power = 1.0f;
        }
    }
    age += 1;
}

void S_BM_Bomb::Damage(ObjectController* ctx, float amount) {
    Object::Damage(ctx, amount);
    vy = 0.0f;
    power = 0.0f;
}

void S_BM_Bomb::OnKilled(ObjectController* ctx) {
    if (!ctx->gameRunning) return;
    for (int32_t id : {type_id::S_BM_Blast, type_id::B_BM_Blast}) {
        for (float a : {0.0f, 1.0f}) {
            Object* flame = ctx->CreateObject(id, x, y, 0.0f, 0.0f, a, a, nullptr);
            if (flame != nullptr) flame->angle = angle;
        }
    }
}

void S_BM_Bomb::Draw(ObjectController* ctx) {
    DrawCellAt(ctx, x, y, width, height, cell::bm_bomb.Shifted(16 * frame, 0).Source(), 0xFFFFFFFFu);
}

S_BM_Blast::S_BM_Blast(float px, float py, float pvx, float pvy, float pax, float pay)
    : ShotOf(px, py, pvx, pvy, pax, pay), horizontal(angle == 1 ? 1 : 0) {
    angle = 0;  // the flame length, written by the bomb
}

void S_BM_Blast::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    int32_t t = age > 23 ? 36 - age : age;
    frame = t / 6;
    if (frame == 0) {
        int16_t extent = static_cast<int16_t>(angle * 16 + 8);
        if (horizontal != 0) hitHalfWidth = extent;
        else hitHalfHeight = extent;
    }
    if (age >= 36) Kill();
    age += 1;
}

std::vector<FlameCell> S_BM_Blast::Cells() const {
    std::vector<FlameCell> cells;
    float row = static_cast<float>((frame + 10) * 16);
    int axis = horizontal != 0 ? 0 : 1;
    // Along the flame: d is the offset from the centre; the far side mirrors the near one.
    auto piece = [&](float d, float u, bool far) {
        float dx = axis == 0 ? (far ? d : -d) : 0.0f, dy = axis == 1 ? (far ? d : -d) : 0.0f;
        if (axis == 0) cells.push_back({dx, dy, far ? u + 16.0f : u, row, far ? -16.0f : 16.0f, 16});
        else cells.push_back({dx, dy, u, far ? row + 16.0f : row, 16, far ? -16.0f : 16.0f});
    };
    for (int32_t k = 1; k < angle; ++k) {
        piece(16.0f * static_cast<float>(k), kFlameMiddleU[axis], false);
        piece(16.0f * static_cast<float>(k), kFlameMiddleU[axis], true);
    }
    float end = 16.0f * static_cast<float>(angle);
    piece(end, axis == 0 ? 16.0f : 48.0f, false);
    piece(end, axis == 0 ? 16.0f : 48.0f, true);
    cells.push_back({0, 0, kFlameCentreU, row, 16, 16});
    return cells;
}

void S_BM_Blast::Draw(ObjectController* ctx) {
    for (const FlameCell& c : Cells()) DrawCellAt(ctx, x + c.dx, y + c.dy, 16, 16, c.u, c.v, c.w, c.h, 0xFFFFFFFFu);
}

void S_Makaijima_Barrel::Draw(ObjectController* ctx) {
    DrawCell(ctx, cell::bm_barrel.Frame((age / 6) % 2).Source());
}

void IceShot::OnKilled(ObjectController* ctx) { ctx->CreateObject(type_id::EF_Blast_01, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr); }

void S_Meikyuujima_IceWall::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    if (age > 299) Kill();
    age += 1;
}

void S_Meikyuujima_IceWall::Draw(ObjectController* ctx) { DrawCell(ctx, cell::bm_ice_wall.Source()); }

void S_Meikyuujima_Shot::Draw(ObjectController* ctx) { DrawCell(ctx, cell::bm_ice_shot.Source()); }

void S_Meikyuujima_IceCube::Run(ObjectController* ctx) {
    InheritSideOnFirstFrame(ctx);
    // Pushed up by an owner just below it; without an owner nothing is near.
    if (owner != nullptr) {
        float dx = x - owner->GetX(), dy = y - owner->GetY();
        if (std::abs(dx) < 16.0f && dy > -24.0f && dy < 8.0f) {
            vy = -4.0f;
            power = 2.0f;
        }
    }
    if ((age > 300 && vy == 0.0f) || age > 600) Kill();
    if (cooldown > 0) {
        cooldown -= 1;
        if (cooldown == 0) power = 2.0f;
    }
    age += 1;
}

void S_Meikyuujima_IceCube::Damage(ObjectController* ctx, float amount) {
    cooldown = 4;
    Object::Damage(ctx, amount);
    vy = 4.0f;
    power = 0.0f;
}

void S_Meikyuujima_IceCube::Draw(ObjectController* ctx) { DrawCell(ctx, cell::bm_ice_cube.Source()); }

static ClassRegistration bmIceShots({
    ClassOf<S_BM_Bomb>(),
    ClassOf<S_BM_Blast>(),
    ClassOf<S_Makaijima_Barrel>(),
    ClassOf<S_Meikyuujima_IceWall>(),
    ClassOf<S_Meikyuujima_Shot>(),
    ClassOf<S_Meikyuujima_IceCube>(),
});
