#include "framework/core/angle.h"
#include "world_support.h"

using namespace world_test;

TEST(ObjectRecord, DamageKillsOnlyBelowZero) {
    Probe p;
    p.Damage(nullptr, 1.0f);
    EXPECT_EQ(p.hp, 0.0f);
    EXPECT_EQ(p.state, kAlive);
    p.Damage(nullptr, 0.001f);
    EXPECT_EQ(p.state, kKilled);
}

TEST(ObjectRecord, AddHpAndSetHpActOnlyWhileAlive) {
    Probe p;
    p.maxHp = 5.0f;
    p.AddHp(10.0f);
    EXPECT_EQ(p.hp, 5.0f);
    p.Kill();
    p.AddHp(-2.0f);
    p.SetHp(3.0f);
    EXPECT_EQ(p.hp, 5.0f);
}

TEST(ObjectRecord, ForgetObjectAndDetach) {
    Probe owner, other, child;
    child.self = &child;
    child.owner = &owner;
    child.link = &owner;
    child.ForgetObject(&other);
    EXPECT_EQ(child.owner, &owner);
    child.ForgetObject(&owner);
    EXPECT_EQ(child.owner, nullptr);
    EXPECT_EQ(child.link, nullptr);
    Probe orphan;
    orphan.Detach();  // no owner: nothing happens
    owner.link = &child;
    child.owner = &owner;
    child.Object::Detach();
    EXPECT_EQ(owner.link, nullptr);
}

TEST(ObjectRecord, MovementModes) {
    Probe p;
    p.vx = 1.0f;
    p.ay = 1.0f;
    p.StepMovement();  // mode 0: the angle follows the velocity (1, 1)
    EXPECT_EQ(p.x, 1.0f);
    EXPECT_EQ(p.y, 1.0f);
    EXPECT_EQ(p.angle, static_cast<int32_t>(AngleAtan2(1.0f, 1.0f)));
    p.moveMode = 2;
    p.angle = 5;
    p.StepMovement();
    EXPECT_EQ(p.angle, 5);
    EXPECT_EQ(p.y, 3.0f);
    p.moveMode = 1;
    p.angle = 16384;
    p.speed = 1.0f;
    p.speedAccel = 1.0f;
    p.StepMovement();
    EXPECT_EQ(p.vy, 2.0f);
    EXPECT_EQ(p.y, 5.0f);
}

TEST(Messages, CarryCountCodeAndTypedArguments) {
    ObjectController* ctx = reinterpret_cast<ObjectController*>(&ctx);
    Probe a, b;
    Message m = Msg(5, 2, ctx, 12, 34);
    EXPECT_EQ(m.Count(), 5);
    EXPECT_EQ(m.Code(), 2);
    EXPECT_EQ(m.ControllerAt(0), ctx);
    EXPECT_EQ(m.Int(1), 12);
    EXPECT_EQ(m.Int(2), 34);
    EXPECT_EQ(m.Int(5), 0);  // not sent
    EXPECT_EQ(m.ObjectAt(1), nullptr);
    Message floats = Msg(6, 19, ctx, 1.5f, 2, &a);
    EXPECT_EQ(floats.Float(1), 1.5f);
    EXPECT_EQ(floats.Int(1), 1);
    EXPECT_EQ(floats.Float(2), 2.0f);
    EXPECT_EQ(floats.ObjectAt(3), &a);
    // The party set-up says 4 but carries every pair.
    Message party = Msg(4, 2, &a, 11, &b, 12);
    EXPECT_EQ(party.Count(), 4);
    EXPECT_EQ(party.ArgumentCount(), 4);
    EXPECT_EQ(party.ObjectAt(2), &b);
    EXPECT_EQ(party.Int(3), 12);
    Message invincible = Msg(3, 14, ctx, 120);
    EXPECT_EQ(invincible.Int(1), 120);
}
