// The base of every enemy class: the five enemy fields, the shared movement with its 32-unit
// margin, the death explosion with its score and message, damage with its sounds and hit flash,
// the rank-scaled aimed shot, the two-code message receiver, the simplest enemies' Run and the
// drawing pattern. Each class takes its starting values from its row of the enemy class table.
#pragma once

#include <cstdint>

#include "game/world/object.h"
#include "game/world/sheet_cell.h"
#include "game/world/sound_ids.h"

class Enemy : public Object {
public:
    void Move(ObjectController* ctx) override;      // movement mode, then vanish beyond the margin
    void OnKilled(ObjectController* ctx) override;  // Explode
    void Damage(ObjectController* ctx, float amount) override;
    void OnMessage(const Message& message) override;  // enemy_message codes: the ghost look, the colour
    // The blast of the kind, the enemy-destroyed message, the score, and the return fire.
    virtual void Explode(ObjectController* ctx);

    void TickHitFlash();  // first of every enemy Run
    void Shoot(ObjectController* ctx);
    // The sheet the drawing uses: normal, flash, ghost or ghost flash.
    int32_t SheetIndex() const;

    int32_t spawnX = 0;        // the integer spawn x of classes placed by the enemy table
    int32_t destroySound = sound::kNone;  // sound effect of the destroying hit
    int32_t hitSound = sound::kNone;      // sound effect of a hit that does not destroy
    int32_t ghostLook = 0;     // 1 draws from the ghost sheets
    int32_t colour = -1;       // tint of the ghost enemies

protected:
    Enemy() = default;
    Enemy(int32_t typeId, float x, float y, float a, float b, float c, float d) { Setup(typeId, x, y, a, b, c, d); }
    // The constructor pattern: Init, then position, movement, size, life, score and sounds from
    // the table row of the type id.
    void Setup(int32_t typeId, float x, float y, float a, float b, float c, float d);
    // The shared Run of the simplest enemies: the flash, a shot for kinds 490 and 450, age + 1.
    void RunSimple(ObjectController* ctx);
    // What a hit does once the hp is lowered: Kill at hp 0 or less with the destroy sound, else
    // the hit sound; the hit flash.
    void TakeHit(ObjectController* ctx);
    // Draws the enemy centred from a source cell of the sheet SheetIndex picks.
    void DrawFrom(float srcX, float srcY, float srcWidth, float srcHeight);
    // The same from a cell's first frame, read right to left when mirrored.
    void DrawFrom(const SheetCell& cell, bool mirrored = false);
    // The same from a given sheet in a given colour.
    void DrawFromSheet(int32_t sheet, float srcX, float srcY, float srcWidth, float srcHeight, uint32_t tint);
};

// The head of an enemy class outside the W and Y families: a class derives from EnemyOf<id> or
// EnemyOf<id, FamilyBase> and inherits its constructor, so its id is written once, in its head;
// the base (Enemy or a family base that takes the id first) sets the class's table values.
template <int32_t Id, class Base = Enemy>
class EnemyOf : public Base {
public:
    EnemyOf(float x, float y, float a, float b, float c, float d) : Base(Id, x, y, a, b, c, d) {}
};
