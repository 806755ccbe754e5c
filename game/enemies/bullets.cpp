// The seven enemy-bullet classes: their table, the shared flight and erase, and each class's
// Run and Draw.
#include <algorithm>

#include "framework/core/angle.h"
#include "game/enemies/bullet.h"
#include "game/enemies/family_support.h"
#include "game/world/class_rows.h"
#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/sound_ids.h"
#include "game/world/type_table.h"

namespace {

struct BulletRow {
    int16_t id;
    int16_t width, height;
    int16_t hitHalfWidth, hitHalfHeight;
    float hp;  // also maxHp, which the blasts refill every frame
    float power;
    bool takesAcceleration;  // ax = c, ay = d; else 0 (or the class computes it)
};

constexpr BulletRow kBulletTable[] = {
    // id                              w   h  hw  hh  hp     power accel
    {type_id::B_SmallRed,              8,  8,  0,  0, 1,     0,    true},
    {type_id::B_Normal_W,              8,  8,  4,  4, 0,     0,    true},
    {type_id::B_BomberKing_Blast,     48, 48, 24, 24, 65535, 4.0f, true},
    {type_id::B_RudeBreaker_Homing_W,  8,  8,  4,  4, 0,     0,    false},
    {type_id::B_BM_Blast,             16, 16,  8,  8, 65535, 1.0f, false},
    {type_id::B_Bombris_Blast,        16, 16,  8,  8, 65535, 1.0f, false},
    {type_id::B_Senkoro_Bomb,         32, 32, 12, 12, 65535, 1.0f, false},
};
static_assert(RowsRunFrom(kBulletTable, type_id::B_SmallRed));

}  // namespace

Bullet::Bullet(int32_t typeId, float px, float py, float a, float b, float c, float d) {
    Init();
    const BulletRow& row = kBulletTable[typeId];
    x = px;
    y = py;
    vx = a;
    vy = b;
    if (row.takesAcceleration) {
        ax = c;
        ay = d;
    }
    width = row.width;
    height = row.height;
    hitHalfWidth = row.hitHalfWidth;
    hitHalfHeight = row.hitHalfHeight;
    hp = maxHp = row.hp;
    power = row.power;
}

void Bullet::Move(ObjectController*) {
    vx += ax;
    vy += ay;
    x += vx;
    y += vy;
    if (ax != 0.0f || ay != 0.0f) angle = static_cast<int32_t>(AngleAtan2(vx, vy));
    if (OutsideFieldBySize(*this)) Vanish();
}

void Bullet::OnKilled(ObjectController* ctx) {
    ctx->CreateObject(type_id::EF_EraseBullet, x, y, vx, vy, 0.0f, 0.0f, nullptr);
    if (ctx->currentScene != nullptr) ctx->currentScene->AddScore(10);
}

void CompanionBullet::Detach() {
    if (owner != nullptr) owner->ForgetObject(self);
    if (link != nullptr) link->ForgetObject(self);
}

Object* CompanionBullet::MakeCompanion(ObjectController* ctx, float companionPower) {
    link = ctx->CreateObject(type_id::S_InvisibleShot, x, y, 0.0f, 0.0f, 0.0f, 0.0f, this);
    if (link != nullptr) link->power = companionPower;
    return link;
}

namespace {

class B_SmallRed final : public BulletOf<type_id::B_SmallRed> {
public:
    using BulletOf::BulletOf;
    void Draw(ObjectController*) override { DrawCellCentred(gameSprites.bullet, x, y, cell::small_bullets); }
};

class B_Normal_W final : public BulletOf<type_id::B_Normal_W> {
public:
    using BulletOf::BulletOf;
    // The glow below, then the bullet: four frames of four game frames each.
    void Draw(ObjectController*) override {
        DrawCellCentred(gameSprites.demo, x, y, cell::bullet_glow);
        DrawCellCentred(gameSprites.bullet, x, y, cell::small_bullets.Frame((age / 4) % 4));
    }
};

class B_BomberKing_Blast final : public BulletOf<type_id::B_BomberKing_Blast> {
public:
    using BulletOf::BulletOf;
    void Run(ObjectController*) override {
        hp = maxHp;
        if (age >= 8) Vanish();
        age += 1;
    }
};

// Slows to a stop over 30 frames, then accelerates towards where the party was.
class B_RudeBreaker_Homing_W final : public BulletOf<type_id::B_RudeBreaker_Homing_W> {
public:
    B_RudeBreaker_Homing_W(float x, float y, float a, float b, float c, float d) : BulletOf(x, y, a, b, c, d) {
        ax = -vx / 30.0f;
        ay = -vy / 30.0f;
    }
    void Run(ObjectController* ctx) override {
        if (age == 30 && AimAtParty(ctx, x, y, angle)) {
            ax = AngleCos(angle) / 20.0f;
            ay = AngleSin(angle) / 20.0f;
        }
        age += 1;
    }
    void Draw(ObjectController*) override {
        DrawCellCentred(gameSprites.bullet, x, y, cell::homing_bullets.Frame(4 + age % 4));
    }
};

// A flame arm along x (both acceleration arguments 0) or y; its creator writes the arm's
// length step into the angle field right after creation.
class B_BM_Blast final : public BulletOf<type_id::B_BM_Blast> {
public:
    B_BM_Blast(float x, float y, float a, float b, float c, float d)
        : BulletOf(x, y, a, b, c, d), horizontal(c == 0.0f && d == 0.0f) {}
    void Run(ObjectController*) override {
        hp = maxHp;
        if (age >= 36) Kill();
        if (age == 0) {
            const int32_t extent = 16 * angle + 8;
            if (horizontal) hitHalfWidth = extent;
            else hitHalfHeight = extent;
        }
        age += 1;
    }

    uint8_t horizontal;
};

class B_Senkoro_Bomb final : public BulletOf<type_id::B_Senkoro_Bomb, CompanionBullet> {
public:
    using BulletOf::BulletOf;
    void Run(ObjectController* ctx) override {
        hp = maxHp;
        if (age >= 120) Kill();
        if (age == 0 && MakeCompanion(ctx, 8.0f) != nullptr) link->hitHalfWidth = link->hitHalfHeight = 16;
        if (link != nullptr) {
            link->x = x;
            link->y = y;
        }
        age += 1;
    }
    void Draw(ObjectController*) override {
        DrawCellCentred(gameSprites.bullet, x, y, cell::bomb_blast.Frame(age % 4));
    }
};

}  // namespace

void B_Bombris_Blast::Run(ObjectController* ctx) {
    hp = maxHp;
    if (age >= 15) Kill();
    if (age <= 4) stage = age;
    else if (age >= 12) stage = age - 7;
    if (stage <= 4) hitHalfWidth = hitHalfHeight = 8 * stage + 8;
    if (age == 0) {
        MakeCompanion(ctx, 32.0f);
        ctx->PlaySE(sound::kBlast6);
    }
    if (link != nullptr) {
        link->hitHalfWidth = hitHalfWidth;
        link->hitHalfHeight = hitHalfHeight;
    }
    age += 1;
}

// A square frame: four 16 x 16 corners mirrored into place and 8-texel edge strips of the bomb's
// blast between them. While growing, step n draws column 16n at half-size 8n + 8; while
// shrinking, step n draws the picture of step 7 - n at that step's size. The widest step keeps
// the fourth corner picture: the texels right of it hold the shootable and homing bullets.
void B_Bombris_Blast::Draw(ObjectController*) {
    int32_t picture = stage <= 4 ? stage : 7 - stage;
    if (picture < 0) picture = 0;
    const float half = static_cast<float>(8 * picture + 8);
    const int32_t column = 16 * picture;
    const SheetCell& corners = cell::square_blast_corners;
    const int32_t corner = 16 * std::min(picture, corners.across - 1);
    const SheetCell& edges = cell::bomb_blast;
    const float left = x - half, top = y - half, right = x + half, bottom = y + half;
    CSprite2D* batch = gameSprites.bullet;
    DrawCellAt(batch, left, top, 16, 16, corners.U(corner), corners.V(), 16, 16);
    DrawCellAt(batch, right - 16, top, 16, 16, corners.U(corner + 16), corners.V(), -16, 16);
    DrawCellAt(batch, left, bottom - 16, 16, 16, corners.U(corner), corners.V(16), 16, -16);
    DrawCellAt(batch, right - 16, bottom - 16, 16, 16, corners.U(corner + 16), corners.V(16), -16, -16);
    const float edge = 2.0f * half - 32.0f;
    if (edge <= 0.0f) return;
    DrawCellAt(batch, left + 16, top, edge, 8, edges.U(column), edges.V(), 16, 8);
    DrawCellAt(batch, left + 16, bottom - 8, edge, 8, edges.U(column), edges.V(8), 16, -8);
    DrawCellAt(batch, left, top + 16, 8, edge, edges.U(column), edges.V(), 8, 16);
    DrawCellAt(batch, right - 8, top + 16, 8, edge, edges.U(column + 8), edges.V(), -8, 16);
}

namespace {

const ClassRegistration kBulletClasses{
    {type_id::B_SmallRed, MakeObject<B_SmallRed>},
    {type_id::B_Normal_W, MakeObject<B_Normal_W>},
    {type_id::B_BomberKing_Blast, MakeObject<B_BomberKing_Blast>},
    {type_id::B_RudeBreaker_Homing_W, MakeObject<B_RudeBreaker_Homing_W>},
    {type_id::B_BM_Blast, MakeObject<B_BM_Blast>},
    {type_id::B_Bombris_Blast, MakeObject<B_Bombris_Blast>},
    {type_id::B_Senkoro_Bomb, MakeObject<B_Senkoro_Bomb>},
};

}  // namespace
