// The collision pass: enemies against shots and players, erasing shots against enemy bullets,
// players against items and enemy bullets, in this fixed order.
#include "framework/core/collision.h"
#include "game/world/kinds.h"
#include "game/world/message_codes.h"
#include "game/world/object_controller.h"
#include "game/world/sound_ids.h"
#include "game/world/type_table.h"

namespace {

// A hit box read once per pair, before any damage of that pair.
struct Box {
    float x, y;
    float rect[4];
};

Box ReadBox(Object* o, int32_t shrink = 0) {
    Box b;
    b.x = o->GetX();
    b.y = o->GetY();
    float hw = static_cast<float>(o->hitHalfWidth - shrink);
    float hh = static_cast<float>(o->hitHalfHeight - shrink);
    b.rect[0] = b.x - hw;
    b.rect[1] = b.y - hh;
    b.rect[2] = b.x + hw;
    b.rect[3] = b.y + hh;
    return b;
}

bool HasHitBox(const Object* o) { return o->hitHalfWidth > 0 && o->hitHalfHeight > 0; }
bool IsDurable(const Object* shot) { return shot->maxHp > 1.0f; }

// Which enemies a shot of the given kind can hit.
bool ShotCanHit(int32_t shotKind, int32_t enemyKind) {
    switch (shotKind) {
        case kind::kShot: case kind::kErasingShot: case kind::kPowerUpShot: case kind::kPushingShot:
        case kind::kSpentErasingShot: case kind::kReportingShot: case kind::kItemShot: case kind::kReflectingShot:
        case kind::kGhostSparingShot: case kind::kWearingErasingShot:
            return true;
        case kind::kAirShot: case kind::kErasingAirShot:
            return enemyKind != kind::kGroundEnemy;
        case kind::kGroundShot:
            return enemyKind == kind::kGroundEnemy;
        default:
            return false;
    }
}

bool ErasesBullets(int32_t shotKind) {
    return shotKind == kind::kErasingShot || shotKind == kind::kErasingAirShot || shotKind == kind::kSpentErasingShot ||
           shotKind == kind::kReflectingShot || shotKind == kind::kWearingErasingShot;
}

// The shot's power as it reaches the enemy: scaled by the party size in the ghost modes.
float ScaledPower(const ObjectController& game, Object* shot, Object* enemy) {
    float p = shot->GetPower();
    float n = static_cast<float>(game.playerCount);
    if (game.gameMode == 16 && IsDurable(shot) && enemy->kind != kind::kGhostSatellite) p = p * (0.56f * n + 0.44f);
    else if (game.gameMode > 16) p = p * (0.21f * n + 0.79f);
    return p;
}

void GiveSide(Object* made, Object* from) {
    if (made != nullptr) made->SetSide(from->GetSide());
}

// A homing shot sent out halfway between a reflecting shot and what it touched.
void Reflect(ObjectController& game, const Box& other, const Box& shot, Object* s) {
    GiveSide(game.CreateObject(type_id::S_BH_Shot, (other.x + shot.x) / 2.0f, (other.y + shot.y) / 2.0f,
                               (other.x - shot.x) / 2.0f, (other.y - shot.y) / 2.0f, 0, 0, nullptr),
             s);
}

// What a shot's kind does beyond the damage, once the enemy took it.
void AfterShotHit(ObjectController& game, Object* e, Object* s, const Box& eb, const Box& sb) {
    const bool flying = e->kind > kind::kGroundEnemy && e->kind <= kind::kLightEnemy;
    if ((s->kind == kind::kPowerUpShot && flying) || s->kind == kind::kItemShot) {
        if (e->state != kAlive) game.CreateObject(type_id::I_PowerUp, e->GetX(), e->GetY(), 0, 0, 0, 0, nullptr);
    }
    if (s->kind == kind::kPushingShot) {
        e->y -= 8.0f;
        if (e->GetY() < 16.0f) {
            e->Damage(&game, 65535.0f);
            GiveSide(game.CreateObject(type_id::EF_Quinty_Blast, e->GetX(), 0.0f, 0, 0, 0, 0, nullptr), s);
        }
    }
    if (s->kind == kind::kReportingShot && e->state != kAlive && s->owner != nullptr) {
        s->owner->OnMessage(Msg(5, owner_message::kShotDestroyedEnemy, &game, static_cast<int32_t>(e->GetX()),
                                static_cast<int32_t>(e->GetY())));
    }
    if (s->kind == kind::kReflectingShot && e->kind != kind::kGhostSatellite) Reflect(game, eb, sb, s);
}

// The invisible wall absorbs every shot that reaches it, with a sound, points and a blast.
void WallAbsorbs(ObjectController& game, Object* e, Object* s, const Box& eb, const Box& sb) {
    game.PlaySE(sound::kShotHit3);
    if (IsDurable(s)) {
        if (game.currentScene != nullptr) game.currentScene->AddScore(40);
        float mixed = eb.y * 129.0f + sb.y * 7.0f + static_cast<float>(e->age * 213);
        int32_t degrees = static_cast<int32_t>(mixed) % 360;
        game.FirePattern(type_id::EF_OR_Blast, (eb.x + sb.x) / 2.0f, (eb.y + sb.y) / 2.0f, 8.0f, 0.0f, 1, false, degrees, 0,
                         nullptr);
    } else {
        if (game.currentScene != nullptr) game.currentScene->AddScore(200);
        game.CreateObject(type_id::EF_OR_Blast, sb.x, sb.y, s->vx, s->vy, 0, 0, nullptr);
    }
}

void ShotHitsEnemy(ObjectController& game, Object* e, Object* s) {
    if (e->state != kAlive || e->invincible != 0) return;
    Box eb = ReadBox(e);
    Box sb = ReadBox(s);
    if (!RectOverlap(eb.rect, sb.rect) || !ShotCanHit(s->kind, e->kind) || !HasHitBox(s)) return;
    float p = ScaledPower(game, s, e);
    if (e->kind == kind::kGhostSatellite && IsDurable(s)) {
        if (s->kind != kind::kGhostSparingShot) e->Damage(&game, p / 48.0f);
    } else {
        e->Damage(&game, p);
    }
    s->Damage(&game, 1.0f);
    AfterShotHit(game, e, s, eb, sb);
    if (e->kind == kind::kInvisibleWall) WallAbsorbs(game, e, s, eb, sb);
}

void EnemyTouchesCharacter(ObjectController& game, Object* e, Object* p) {
    if (e->state != kAlive || e->kind == kind::kGroundEnemy || e->invincible != 0) return;
    if (p->inactive != 0 || !HasHitBox(p)) return;
    if (!RectOverlap(ReadBox(e).rect, ReadBox(p).rect)) return;
    p->Damage(&game, 1.0f);
    if (e->kind != kind::kGhostSatellite) e->Damage(&game, 1.0f);
}

void ShotErasesBullet(ObjectController& game, Object* s, Object* b) {
    if (b->state != kAlive || s->state != kAlive) return;
    Box bb = ReadBox(b);
    Box sb = ReadBox(s);
    if (!RectOverlap(bb.rect, sb.rect)) return;
    b->Damage(&game, 1.0f);
    if (game.ArrestLevel > 0 && game.ArrestLevel < 16 && game.currentScene != nullptr) {
        game.currentScene->OnMessage(
            Msg(5, stage_message::kEnthusiasm, &game, static_cast<int32_t>(bb.x), static_cast<int32_t>(bb.y)));
    }
    if (s->kind == kind::kSpentErasingShot) {
        s->Damage(&game, 16384.0f);
    } else if (s->kind == kind::kReflectingShot) {
        Reflect(game, bb, sb, s);
    } else if (s->kind == kind::kWearingErasingShot) {
        s->Damage(&game, 1.0f);
    }
}

void TellStage(ObjectController& game, int32_t code) {
    if (game.currentScene != nullptr) game.currentScene->OnMessage(Msg(3, code, &game));
}

void CharacterTakesItem(ObjectController& game, Object* p, Object* item) {
    int32_t shrink = p->GetSide() == 2 ? 8 : 0;
    if (!RectOverlap(ReadBox(p).rect, ReadBox(item, shrink).rect) || item->state != kAlive) return;
    switch (item->kind) {
        case kind::kPowerUpItem:
            p->PowerUp(&game, 1);
            break;
        case kind::kBonusItem:
            if (game.currentScene != nullptr) game.currentScene->AddScore(item->score);
            game.PlaySE(sound::kBonusItemTaken);
            break;
        case kind::kEnemyEraserItem:
            TellStage(game, stage_message::kAnnihilateBonus);
            break;
        case kind::kReccaItem:
            item->Kill();
            if (item->angle == 0) {
                p->PowerUp(&game, 1);
                TellStage(game, stage_message::kPlagueBonus);
            } else {
                TellStage(game, stage_message::kChainBroken);
                game.ItemsToBullets();
            }
            break;
        default:
            break;
    }
    item->Kill();
}

// A character against every enemy bullet. Its box is read again only after a bullet hits it:
// until then the checks change nothing.
void BulletsHitCharacter(ObjectController& game, Object* p) {
    Box box = ReadBox(p);
    bool boxed = HasHitBox(p);
    WalkList(game.enemyBullets, game.enemyBullets.begin(), [&](Object* b) {
        if (b->state != kAlive || !boxed) return;
        if (!RectOverlap(box.rect, ReadBox(b).rect)) return;
        p->Damage(&game, 1.0f);
        b->Damage(&game, 1.0f);
        box = ReadBox(p);
        boxed = HasHitBox(p);
    });
}

}  // namespace

void ObjectController::CollideAll() {
    ObjectList::iterator enemyStart = enemies.begin();
    ObjectList::iterator shotStart = shots.begin();
    ObjectList::iterator playerStart = players.begin();

    WalkList(enemies, enemyStart, [this](Object* e) {
        WalkList(shots, shots.begin(), [this, e](Object* s) { ShotHitsEnemy(*this, e, s); });
        WalkList(players, players.begin(), [this, e](Object* p) { EnemyTouchesCharacter(*this, e, p); });
    });
    WalkList(shots, shotStart, [this](Object* s) {
        if (!ErasesBullets(s->kind)) return;
        WalkList(enemyBullets, enemyBullets.begin(), [this, s](Object* b) { ShotErasesBullet(*this, s, b); });
    });
    WalkList(players, playerStart, [this](Object* p) {
        if (p->kind != kind::kCharacter || p->inactive != 0) return;
        WalkList(items, items.begin(), [this, p](Object* item) { CharacterTakesItem(*this, p, item); });
        BulletsHitCharacter(*this, p);
    });
}
