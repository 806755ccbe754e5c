#include "game/enemies/enemy.h"

#include <cmath>

#include "framework/core/angle.h"
#include "framework/graphics/sprite.h"
#include "game/enemies/enemy_table.h"
#include "game/enemies/family_support.h"
#include "game/world/drawing.h"
#include "game/world/kinds.h"
#include "game/world/message_codes.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

// The blast an enemy of the kind leaves behind, or -1.
int32_t BlastOfKind(int32_t k) {
    switch (k) {
        case kind::kGroundEnemy: case kind::kLightEnemy: case kind::kBossPart: return type_id::EF_Blast_01;
        case kind::kLargeEnemy: case kind::kMediumEnemy: return type_id::EF_Blast_02;
        default: return -1;
    }
}

bool TellsSceneOfDeath(int32_t k) { return k != kind::kGroundEnemy && k <= kind::kInvisibleWall; }
bool LeavesReturnFire(int32_t k) { return k == kind::kLightEnemy || k == kind::kMediumEnemy || k == kind::kLargeEnemy; }

}  // namespace

void Enemy::Setup(int32_t typeId, float px, float py, float a, float b, float c, float d) {
    Init();
    const EnemyRow& row = *FindEnemyRow(typeId);
    if (row.intX) {
        spawnX = static_cast<int32_t>(px);
        px = static_cast<float>(spawnX);
    }
    x = px + static_cast<float>(row.placeStep) * a;
    y = py + static_cast<float>(row.placeStep) * b;
    vx = row.vx;
    vy = row.vy;
    ay = row.ay;
    switch (row.args) {
        case EnemyArgs::kNone: break;
        case EnemyArgs::kA: vx = a; break;
        case EnemyArgs::kB: vy = b; break;
        case EnemyArgs::kAB: vx = a; vy = b; break;
        case EnemyArgs::kAC: vx = a; ax = c; break;
        case EnemyArgs::kABCD: vx = a; vy = b; ax = c; ay = d; break;
    }
    moveMode = row.moveMode;
    angle = row.angle;
    speed = row.speed;
    speedAccel = row.speedAccel;
    if ((row.extra & kAngleFromAB) != 0) angle = static_cast<int32_t>(AngleAtan2(a, b));
    if ((row.extra & kSpeedFromAB) != 0) speed = std::sqrt(a * a + b * b);
    width = row.width;
    height = row.height;
    hitHalfWidth = row.hitHalfWidth;
    hitHalfHeight = row.hitHalfHeight;
    hp = maxHp = row.hp;
    score = row.score;
    destroySound = row.destroySound;
    hitSound = row.hitSound;
    invincible = row.invincible;
    ghostLook = (row.extra & kGhostLookFromCD) != 0 && (c != 0.0f || d != 0.0f) ? 1 : 0;
    if ((row.extra & kGhostColour) != 0) colour = -1;
}

void Enemy::Move(ObjectController*) {
    if (StepEnemyMovement(*this)) Vanish();
}

void Enemy::OnKilled(ObjectController* ctx) { Explode(ctx); }

void Enemy::Explode(ObjectController* ctx) {
    const int32_t blast = BlastOfKind(kind);
    if (blast >= 0) ctx->CreateObject(blast, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
    // Between stages, or in a bare world, there may be no scene to credit.
    if (Object* scene = ctx->currentScene; scene != nullptr) {
        if (TellsSceneOfDeath(kind)) scene->OnMessage(Msg(5, stage_message::kEnemyKilled, ctx, static_cast<int32_t>(x), static_cast<int32_t>(y)));
        scene->AddScore(score);
    }
    if (LeavesReturnFire(kind) && ctx->ArrestLevel > 3) {
        ctx->CreateObject(type_id::EF_RefrectBullet, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
    }
}

void Enemy::Damage(ObjectController* ctx, float amount) {
    if (!(amount > 0.0f)) return;  // also refuses NaN
    hp -= amount;
    TakeHit(ctx);
}

void Enemy::TakeHit(ObjectController* ctx) {
    if (hp <= 0.0f) {
        Kill();
        if (destroySound != sound::kNone) ctx->PlaySE(destroySound);
    } else if (hitSound != sound::kNone) {
        ctx->PlaySE(hitSound);
    }
    // Several hits in one frame advance the flash once.
    if (hit == 0) flashTimer += 1;
    hit = 1;
}

void Enemy::TickHitFlash() {
    if (hit == 0) {
        if (flashTimer % 8 == 0) flashTimer = 0;
        else flashTimer += 1;
    }
    hit = 0;
}

void Enemy::Shoot(ObjectController* ctx) {
    if (state != kAlive) return;
    const int32_t type = ctx->ArrestLevel < 4 ? type_id::E_DestroyableBullet_W : type_id::B_Normal_W;
    ctx->FireAimed(type, x, y, false, true, false, 16384);
}

void Enemy::OnMessage(const Message& message) {
    if (message.Code() == enemy_message::kGhostLook) ghostLook = message.Int(0);
    else if (message.Code() == enemy_message::kColour) colour = message.Int(0);
}

void Enemy::RunSimple(ObjectController* ctx) {
    TickHitFlash();
    if (kind == kind::kLightEnemy || kind == kind::kMediumEnemy) Shoot(ctx);
    age += 1;
}

int32_t Enemy::SheetIndex() const { return (((flashTimer + 3) / 4) % 2 + 2 * ghostLook) % 4; }

void Enemy::DrawFrom(float srcX, float srcY, float srcWidth, float srcHeight) {
    DrawFromSheet(SheetIndex(), srcX, srcY, srcWidth, srcHeight, static_cast<uint32_t>(-1));
}

void Enemy::DrawFrom(const SheetCell& cell, bool mirrored) {
    const CellSource s = cell.Source(mirrored);
    DrawFrom(s.u, s.v, s.width, s.height);
}

void Enemy::DrawFromSheet(int32_t sheet, float srcX, float srcY, float srcWidth, float srcHeight, uint32_t tint) {
    drawDest[0] = x - static_cast<float>(width / 2);
    drawDest[1] = y - static_cast<float>(height / 2);
    drawDest[2] = static_cast<float>(width);
    drawDest[3] = static_cast<float>(height);
    const float src[4] = {srcX, srcY, srcWidth, srcHeight};
    ZethSprite::DrawRect(gameSprites.EnemyBatch(sheet), drawDest, kSpriteDepth, src, tint, 1);
}
