// Firing helpers: fans of objects at a fixed angle or aimed at the party, and the aimed enemy
// fire whose pace, cap, speed and aim follow ArrestLevel.
#include "game/world/firing.h"

#include "framework/core/angle.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

constexpr int32_t kMaxBulletCap = 512;

// How finely the aim is snapped, from each row's first level up to the next row's: in binary
// angle units, 0 for exact aim. The normal enemy bullet keeps eighths of a turn from 16 to 127.
struct AimSnapRow {
    int32_t firstLevel;
    int32_t snap;
    int32_t normalBulletSnap;
};
constexpr AimSnapRow kAimSnapRows[] = {
    // first level  snap  B_Normal_W
    {0,             8192, 8192},
    {8,             4096, 4096},
    {16,            0,    8192},
    {128,           5461, 5461},  // a twelfth of a turn, rounded down
    {196,           4096, 4096},
    {256,           1820, 1820},  // a thirty-sixth of a turn, rounded down
    {384,           0,    0},
};

int32_t AimSnap(int32_t r, int32_t typeId) {
    const AimSnapRow* row = &kAimSnapRows[0];
    for (const AimSnapRow& candidate : kAimSnapRows) {
        if (r >= candidate.firstLevel) row = &candidate;
    }
    return typeId == type_id::B_Normal_W ? row->normalBulletSnap : row->snap;
}

int32_t DegreesToAngle(int32_t degrees) { return static_cast<int32_t>(degrees * 65536.0 / 360.0); }

void CreateAtAngle(ObjectController& game, int32_t typeId, float x, float y, int32_t angle, float speed, float accel,
                   Object* owner) {
    float c = AngleCos(angle);
    float s = AngleSin(angle);
    game.CreateObject(typeId, x, y, c * speed, s * speed, c * accel, s * accel, owner);
}

}  // namespace

AimedFireLevel AimedFireLevelOf(int32_t r, int32_t typeId) {
    AimedFireLevel level;
    if (r <= 15) {
        level.cap = 8 * r;
        level.interval = (48 - r) * 2;
        level.speed = 0.6f + 0.2f * static_cast<float>(r % 4);
        level.snap = AimSnap(r, typeId);
        return level;
    }
    level.cap = r < 128 ? 3 * r + 32 : r + 288;
    if (level.cap > kMaxBulletCap) level.cap = kMaxBulletCap;
    level.interval = r == 16 ? (48 - r) * 2 : 64 - r / 8;
    if (level.interval < 0) level.interval = 0;
    level.speed = r < 256 ? 2.0f : 2.0f + static_cast<float>(r - 256) / 256.0f;
    level.snap = AimSnap(r, typeId);
    return level;
}

void ObjectController::FirePattern(int32_t typeId, float x, float y, float speed, float accel, int32_t count,
                                   bool aimed, int32_t angleDegrees, int32_t spreadDegrees, Object* owner) {
    if (count <= 0) return;
    if (!aimed) {
        int32_t step = count > 1 ? spreadDegrees / (count - 1) : 0;
        for (int32_t k = 0; k < count; ++k) {
            CreateAtAngle(*this, typeId, x, y, DegreesToAngle(angleDegrees + k * step), speed, accel, owner);
        }
        return;
    }
    // Without a party there is nothing to aim at.
    if (pcController == nullptr) return;
    int32_t centre = static_cast<int32_t>(AngleAtan2(pcController->GetX() - x, pcController->GetY() - y));
    if (count == 1) {
        CreateAtAngle(*this, typeId, x, y, centre, speed, accel, owner);
        return;
    }
    int32_t spread = DegreesToAngle(spreadDegrees);
    int32_t first = centre - spread / 2;
    int32_t step = spread / (count - 1);
    for (int32_t k = 0; k < count; ++k) CreateAtAngle(*this, typeId, x, y, first + k * step, speed, accel, owner);
}

void ObjectController::FireAimed(int32_t typeId, float x, float y, bool burst, bool limited, bool useAngle,
                                 int32_t angle) {
    shotCounter += 1;
    int32_t r = ArrestLevel;
    AimedFireLevel level = AimedFireLevelOf(r, typeId);
    bool underCap = counts.bulletCount < level.cap;
    bool fires = (shotCounter > level.interval && r > 0 && underCap) || (burst && underCap) || !limited;
    if (!fires) return;
    if (pcController != nullptr) {
        float dx = pcController->GetX() - x;
        float dy = pcController->GetY() - y;
        bool close = dx > -32.0f && dx < 32.0f && dy > -32.0f && dy < 32.0f;
        if (!close) {
            int32_t a = useAngle ? angle : static_cast<int32_t>(AngleAtan2(dx, dy));
            if (level.snap > 0) a = ((a + level.snap / 2) / level.snap) * level.snap;
            CreateObject(typeId, x, y, AngleCos(a) * level.speed, AngleSin(a) * level.speed, 0.0f, 0.0f, nullptr);
        }
    }
    if (!burst) shotCounter = 0;
}
