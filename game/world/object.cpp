#include "game/world/object.h"

#include "framework/core/angle.h"

void Object::Init() {
    x = y = vx = vy = ax = ay = 0.0f;
    width = height = 16;
    angle = age = 0;
    state = kAlive;
    kind = 0;
    speed = speedAccel = 0.0f;
    hitHalfWidth = hitHalfHeight = 0;
    hp = maxHp = 1.0f;
    power = 0.0f;
    invincible = inactive = moveMode = score = 0;
    hit = 0;
    flashTimer = 0;
    side = 2;
    self = owner = link = nullptr;
}

void Object::Draw(ObjectController*) {}
void Object::Move(ObjectController*) {}
void Object::Run(ObjectController*) { age += 1; }
void Object::Kill() { state = kKilled; }
void Object::Vanish() { state = kVanished; }
void Object::OnKilled(ObjectController*) {}

void Object::Damage(ObjectController*, float amount) {
    hp -= amount;
    if (hp < 0.0f) Kill();
}

void Object::Detach() {
    if (owner != nullptr) owner->ForgetObject(self);
}

void Object::ForgetObject(Object* gone) {
    if (owner == gone) owner = nullptr;
    if (link == gone) link = nullptr;
}

void Object::SetAge(int32_t value) { age = value; }

void Object::SetHp(float value) {
    if (state == kAlive) hp = value;
}

void Object::SetInactive(int32_t value) { inactive = value; }
void Object::SetScore(int32_t value) { score = value; }
float Object::GetX() { return x; }
float Object::GetY() { return y; }
float Object::GetHp() { return hp; }
float Object::GetPower() { return power; }
void Object::AddScore(int32_t value) { score += value; }
void Object::OnMessage(const Message&) {}
void Object::PowerUp(ObjectController*, int32_t) {}
int32_t Object::GetSide() { return 0; }
void Object::SetSide(int32_t value) { side = value; }
void Object::InheritSide(ObjectController*, Object*) {}

void Object::AddHp(float amount) {
    if (state != kAlive) return;
    hp += amount;
    if (hp > maxHp) hp = maxHp;
}

void Object::StepMovement() {
    if (moveMode == 1) {
        speed += speedAccel;
        vx = AngleCos(angle) * speed;
        vy = AngleSin(angle) * speed;
        x += vx;
        y += vy;
        return;
    }
    vx += ax;
    vy += ay;
    x += vx;
    y += vy;
    if (moveMode == 0 && (ax != 0.0f || ay != 0.0f)) angle = static_cast<int32_t>(AngleAtan2(vx, vy));
}
