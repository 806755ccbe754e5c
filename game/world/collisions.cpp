// The collision pass: enemies against shots and players, erasing shots against enemy bullets,
// players against items and enemy bullets, in this fixed order.
#include "framework/core/collision.h"
#include "game/world/object_controller.h"
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
        case 500: case 501: case 504: case 506: case 507: case 508: case 509: case 511: case 512: case 513:
            return true;
        case 502: case 505:
            return enemyKind != 400;
        case 503:
            return enemyKind == 400;
        default:
            return false;
    }
}

bool ErasesBullets(int32_t shotKind) {
    return shotKind == 501 || shotKind == 505 || shotKind == 507 || shotKind == 511 || shotKind == 513;
}

// The shot's power as it reaches the enemy: scaled by the party size in the ghost modes.
float ScaledPower(const ObjectController& game, Object* shot, Object* enemy) {
    float p = shot->GetPower();
    float n = static_cast<float>(game.playerCount);
    if (game.gameMode == 16 && IsDurable(shot) && enemy->kind != 498) p = p * (0.56f * n + 0.44f);
    else if (game.gameMode > 16) p = p * (0.21f * n + 0.79f);
    return p;
}

void GiveSide(Object* made, Object* from) {
    if (made != nullptr) made->SetSide(from->GetSide());
}

}  // namespace

void ObjectController::CollideAll() {
    ObjectList::iterator enemyStart = enemies.begin();
    ObjectList::iterator shotStart = shots.begin();
    ObjectList::iterator playerStart = players.begin();

    WalkList(enemies, enemyStart, [this](Object* e) {
        WalkList(shots, shots.begin(), [this, e](Object* s) {
            if (e->state != kAlive || e->invincible != 0) return;
            Box eb = ReadBox(e);
            Box sb = ReadBox(s);
            if (!RectOverlap(eb.rect, sb.rect) || !ShotCanHit(s->kind, e->kind) || !HasHitBox(s)) return;
            float p = ScaledPower(*this, s, e);
            if (e->kind == 498 && IsDurable(s)) {
                if (s->kind != 512) e->Damage(this, p / 48.0f);
            } else {
                e->Damage(this, p);
            }
            s->Damage(this, 1.0f);
            if ((s->kind == 504 && e->kind >= 401 && e->kind <= 490) || s->kind == 509) {
                if (e->state != kAlive) CreateObject(type_id::I_PowerUp, e->GetX(), e->GetY(), 0, 0, 0, 0, nullptr);
            }
            if (s->kind == 506) {
                e->y -= 8.0f;
                if (e->GetY() < 16.0f) {
                    e->Damage(this, 65535.0f);
                    GiveSide(CreateObject(type_id::EF_Quinty_Blast, e->GetX(), 0.0f, 0, 0, 0, 0, nullptr), s);
                }
            }
            if (s->kind == 508 && e->state != kAlive && s->owner != nullptr) {
                s->owner->OnMessage(Msg(5, 3, this, static_cast<int32_t>(e->GetX()), static_cast<int32_t>(e->GetY())));
            }
            if (s->kind == 511 && e->kind != 498) {
                Object* made = CreateObject(type_id::S_BH_Shot, (eb.x + sb.x) / 2.0f, (eb.y + sb.y) / 2.0f,
                                            (eb.x - sb.x) / 2.0f, (eb.y - sb.y) / 2.0f, 0, 0, nullptr);
                GiveSide(made, s);
            }
            if (e->kind == 497) {
                PlaySE(23);
                if (IsDurable(s)) {
                    if (currentScene != nullptr) currentScene->AddScore(40);
                    float mixed = eb.y * 129.0f + sb.y * 7.0f + static_cast<float>(e->age * 213);
                    int32_t degrees = static_cast<int32_t>(mixed) % 360;
                    FirePattern(type_id::EF_OR_Blast, (eb.x + sb.x) / 2.0f, (eb.y + sb.y) / 2.0f, 8.0f, 0.0f, 1, false,
                                degrees, 0, nullptr);
                } else {
                    if (currentScene != nullptr) currentScene->AddScore(200);
                    CreateObject(type_id::EF_OR_Blast, sb.x, sb.y, s->vx, s->vy, 0, 0, nullptr);
                }
            }
        });
        WalkList(players, players.begin(), [this, e](Object* p) {
            if (e->state != kAlive || e->kind == 400 || e->invincible != 0) return;
            if (p->inactive != 0 || !HasHitBox(p)) return;
            if (!RectOverlap(ReadBox(e).rect, ReadBox(p).rect)) return;
            p->Damage(this, 1.0f);
            if (e->kind != 498) e->Damage(this, 1.0f);
        });
    });

    WalkList(shots, shotStart, [this](Object* s) {
        if (!ErasesBullets(s->kind)) return;
        WalkList(enemyBullets, enemyBullets.begin(), [this, s](Object* b) {
            if (b->state != kAlive || s->state != kAlive) return;
            Box bb = ReadBox(b);
            Box sb = ReadBox(s);
            if (!RectOverlap(bb.rect, sb.rect)) return;
            b->Damage(this, 1.0f);
            if (ArrestLevel > 0 && ArrestLevel < 16 && currentScene != nullptr) {
                currentScene->OnMessage(Msg(5, 26, this, static_cast<int32_t>(bb.x), static_cast<int32_t>(bb.y)));
            }
            if (s->kind == 507) {
                s->Damage(this, 16384.0f);
            } else if (s->kind == 511) {
                GiveSide(CreateObject(type_id::S_BH_Shot, (bb.x + sb.x) / 2.0f, (bb.y + sb.y) / 2.0f,
                                      (bb.x - sb.x) / 2.0f, (bb.y - sb.y) / 2.0f, 0, 0, nullptr),
                         s);
            } else if (s->kind == 513) {
                s->Damage(this, 1.0f);
            }
        });
    });

    WalkList(players, playerStart, [this](Object* p) {
        if (p->kind != 201 || p->inactive != 0) return;
        WalkList(items, items.begin(), [this, p](Object* item) {
            int32_t shrink = p->GetSide() == 2 ? 8 : 0;
            if (!RectOverlap(ReadBox(p).rect, ReadBox(item, shrink).rect) || item->state != kAlive) return;
            switch (item->kind) {
                case 300:
                    p->PowerUp(this, 1);
                    break;
                case 301:
                    if (currentScene != nullptr) currentScene->AddScore(item->score);
                    PlaySE(14);
                    break;
                case 302:
                    if (currentScene != nullptr) currentScene->OnMessage(Msg(3, 16, this));
                    break;
                case 303:
                    item->Kill();
                    if (item->angle == 0) {
                        p->PowerUp(this, 1);
                        if (currentScene != nullptr) currentScene->OnMessage(Msg(3, 25, this));
                    } else {
                        if (currentScene != nullptr) currentScene->OnMessage(Msg(3, 9, this));
                        ItemsToBullets();
                    }
                    break;
                default:
                    break;
            }
            item->Kill();
        });
        WalkList(enemyBullets, enemyBullets.begin(), [this, p](Object* b) {
            if (b->state != kAlive || !HasHitBox(p)) return;
            if (!RectOverlap(ReadBox(p).rect, ReadBox(b).rect)) return;
            p->Damage(this, 1.0f);
            b->Damage(this, 1.0f);
        });
    });
}
