// Enemy bullets (type ids 0-6, the enemy-bullet list): a base with the straight accelerated
// flight that vanishes beyond the field by the bullet's own size, and an erase flash worth 10
// points when a bullet is killed. Three classes are short-lived blast areas.
#pragma once

#include <cstdint>

#include "game/world/object.h"
#include "game/world/type_table.h"

class Bullet : public Object {
public:
    // v += a, position += v; the angle follows the velocity while accelerating; Vanish beyond
    // the field by more than the size.
    void Move(ObjectController* ctx) override;
    // The erase flash with the bullet's velocity, and 10 points to the scene.
    void OnKilled(ObjectController* ctx) override;

protected:
    // Init, then position, velocity (and acceleration when the class takes it), size, hit box,
    // life and power from the table row of the type id.
    Bullet(int32_t typeId, float x, float y, float a, float b, float c, float d);
};

// The head of a bullet class: it derives from BulletOf<id> or BulletOf<id, CompanionBullet> and
// inherits its constructor, so its id is written once, in its head.
template <int32_t Id, class Base = Bullet>
class BulletOf : public Base {
public:
    BulletOf(float x, float y, float a, float b, float c, float d) : Base(Id, x, y, a, b, c, d) {}
};

// A blast that carries a player-side hit area (the companion, kept in link) so that it also
// hurts enemies; the companion loses its owner when the blast goes.
class CompanionBullet : public Bullet {
public:
    void Detach() override;  // owner and companion are told ForgetObject(self)

protected:
    using Bullet::Bullet;
    // Creates the companion at the bullet with this bullet as owner and the given power.
    Object* MakeCompanion(ObjectController* ctx, float companionPower);
};

class B_Bombris_Blast final : public BulletOf<type_id::B_Bombris_Blast, CompanionBullet> {
public:
    using BulletOf::BulletOf;
    void Run(ObjectController* ctx) override;
    void Draw(ObjectController* ctx) override;

    int32_t stage = 0;  // the growth step: 0-4, held at 4, then 5-8 while it shrinks
};
