// World queries for homing weapons and aiming effects, and the area effects on whole lists.
#include <cmath>

#include "game/world/kinds.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

constexpr int kMaxBlasts = 512;

// The nearest object by squared distance. The best value is kept as a truncated integer, so a
// later object must beat the truncated distance of the one found before it.
Object* FindNearest(ObjectList& list, float x, float y) {
    Object* found = nullptr;
    int32_t best = 1000000;
    for (Object* o : list) {
        float dx = o->GetX() - x;
        float dy = o->GetY() - y;
        float d = dx * dx + dy * dy;
        if (static_cast<float>(best) > d) {
            best = static_cast<int32_t>(d);
            found = o;
        }
    }
    return found;
}

}  // namespace

Object* ObjectController::FindNearestEnemy(float x, float y) { return FindNearest(enemies, x, y); }

Object* ObjectController::FindNearestShot(float x, float y) { return FindNearest(shots, x, y); }

Object* ObjectController::FindEnemyAbove(float x, float y, float margin, bool useHitWidth) {
    Object* found = nullptr;
    float bestY = -32.0f;
    for (Object* e : enemies) {
        float w = margin + (useHitWidth ? static_cast<float>(e->hitHalfWidth) : 0.0f);
        float ex = e->GetX();
        float ey = e->GetY();
        if (ey < y && ex > x - w && ex < x + w && ey > bestY) {
            bestY = ey;
            found = e;
        }
    }
    return found;
}

Object* ObjectController::FindEnemyOnDiagonal(float x, float y, float band, bool antiDiagonal) {
    Object* found = nullptr;
    float bestY = -32.0f;
    float c = antiDiagonal ? x - y : x + y;
    for (Object* e : enemies) {
        float ex = e->GetX();
        float ey = e->GetY();
        float v = antiDiagonal ? ex - ey : ex + ey;
        if (v > c - band && v < c + band && ey < y && ey > bestY) {
            bestY = ey;
            found = e;
        }
    }
    return found;
}

Object* ObjectController::FindEnemyOnAxes(float x, float y, float band, bool right, bool down, bool left, bool up) {
    Object* found = nullptr;
    float best = 512.0f;
    for (Object* e : enemies) {
        float ex = e->GetX();
        float ey = e->GetY();
        bool inColumn = std::abs(ex - x) < band;
        bool inRow = std::abs(ey - y) < band;
        if (inColumn && inRow) continue;
        // The enabled directions in this order; the first that matches decides for this enemy.
        struct Direction {
            bool enabled;
            bool lies;
            float distance;
        } directions[] = {
            {up, ey < y && inColumn, y - ey},
            {down, ey > y && inColumn, ey - y},
            {right, ex > x && inRow, ex - x},
            {left, ex < x && inRow, x - ex},
        };
        for (const Direction& d : directions) {
            if (d.enabled && d.lies && d.distance < best) {
                best = d.distance;
                found = e;
                break;
            }
        }
    }
    return found;
}

int32_t ObjectController::BombAll(int32_t damage, bool hitKind400) {
    float blastX[kMaxBlasts];
    float blastY[kMaxBlasts];
    int32_t count = 0;
    if (gameMode == 16) damage /= 4;
    for (Object* e : enemies) {
        if (e->kind == kind::kGroundEnemy && !hitKind400) continue;
        if (e->kind == kind::kGhostSatellite) damage /= 4;  // stays reduced for every later enemy of this call
        e->Damage(this, static_cast<float>(damage));
        if (count < kMaxBlasts && e->state != kAlive) {
            blastX[count] = e->GetX();
            blastY[count] = e->GetY();
            if (currentScene != nullptr) currentScene->AddScore(-e->score);
            count += 1;
        }
    }
    for (Object* b : enemyBullets) {
        if (count < kMaxBlasts) {
            blastX[count] = b->GetX();
            blastY[count] = b->GetY();
        }
        b->Kill();
        count += 1;
    }
    for (int32_t i = 0; i < count && i < kMaxBlasts; ++i) {
        CreateObject(type_id::EF_ZanacBlast, blastX[i], blastY[i], 0, 0, 0, 0, nullptr);
    }
    for (Object* o : others) {
        if (o->kind != kind::kBombBlast) continue;
        if (count < kMaxBlasts) o->SetAge(0);
        count += 1;
    }
    return count;
}

void ObjectController::ItemsToBonus(int32_t score) {
    WalkList(items, items.begin(), [this, score](Object* item) {
        if (item->kind != kind::kReccaItem || item->state != kAlive) return;
        Object* bonus = CreateObject(type_id::I_Bonus, item->GetX(), item->GetY(), 0, 0, 0, 0, nullptr);
        if (bonus != nullptr) bonus->SetScore(score);
        item->Kill();
    });
}

void ObjectController::ItemsToBullets() {
    WalkList(items, items.begin(), [this](Object* item) {
        if (item->state != kAlive) return;
        float x = item->GetX();
        float y = item->GetY();
        CreateObject(type_id::EF_Blast_01, x, y, 0, 0, 0, 0, nullptr);
        FirePattern(type_id::B_Normal_W, x, y, 1.0f, 0.0f, 16, false, 0, 337, nullptr);
        item->Kill();
    });
}
