// The base of every game object and scene: the shared record, the virtual operations the world
// controller calls each frame with their shared defaults, the life-cycle states and the shared
// movement modes. Objects are made only by the controller's factories and deleted only by its
// sweep.
#pragma once

#include <cstdint>

#include "game/world/message.h"

class ObjectController;

// Life-cycle states.
enum ObjectState : int32_t {
    kAlive = 0,
    kKilled = 1,    // the sweep calls OnKilled, Detach, then deletes
    kVanished = 2,  // the sweep calls Detach, then deletes
};

class Object {
public:
    virtual ~Object() = default;

    void Init();  // the defaults of the record; drawDest and drawSrc are left alone

    virtual void Draw(ObjectController* ctx);  // nothing
    virtual void Move(ObjectController* ctx);  // nothing; each family has its own
    virtual void Run(ObjectController* ctx);   // age + 1
    virtual void Kill();                       // state 1
    virtual void Vanish();                     // state 2
    virtual void OnKilled(ObjectController* ctx);  // nothing
    // hp -= amount; Kill only when hp falls below 0 (exactly 0 survives).
    virtual void Damage(ObjectController* ctx, float amount);
    virtual void Detach();                      // tells the owner ForgetObject(self)
    virtual void ForgetObject(Object* gone);    // drops owner and link when they are gone
    virtual void SetAge(int32_t value);
    virtual void SetHp(float value);  // only while alive
    virtual void SetInactive(int32_t value);
    virtual void SetScore(int32_t value);
    virtual float GetX();
    virtual float GetY();
    virtual float GetHp();
    virtual float GetPower();
    virtual void AddScore(int32_t value);
    virtual void OnMessage(const Message& message);  // nothing; receivers ignore unknown codes
    virtual void PowerUp(ObjectController* ctx, int32_t count);  // nothing
    virtual int32_t GetSide();                     // 0
    virtual void SetSide(int32_t value);
    virtual void InheritSide(ObjectController* ctx, Object* owner);  // nothing

    void AddHp(float amount);  // while alive: hp += amount, capped at maxHp
    // One step of the object's movement mode: 0 linear with acceleration (the angle follows the
    // velocity while accelerating), 1 polar (speed and angle), 2 linear keeping the angle.
    void StepMovement();

    bool IsAlive() const { return state == kAlive; }

    float x = 0.0f, y = 0.0f;    // centre in playfield units (256 x 240, y down)
    float vx = 0.0f, vy = 0.0f;  // velocity per frame
    float ax = 0.0f, ay = 0.0f;  // acceleration per frame
    int32_t width = 16, height = 16;
    int32_t angle = 0;  // binary angle, 65536 a turn; also a per-class value for some creators
    int32_t age = 0;
    int32_t state = kAlive;
    int32_t kind = 0;  // written by the controller when the object enters its list
    float speed = 0.0f;
    float speedAccel = 0.0f;
    int32_t hitHalfWidth = 0, hitHalfHeight = 0;  // 0 = no hit box
    float hp = 1.0f;
    float maxHp = 1.0f;  // a shot with maxHp above 1.0 is durable
    float power = 0.0f;
    int32_t invincible = 0;
    int32_t inactive = 0;
    int32_t moveMode = 0;
    int32_t score = 0;
    uint8_t hit = 0;
    int32_t flashTimer = 0;
    int32_t side = 2;
    float drawDest[4] = {};
    float drawSrc[4] = {};
    Object* self = nullptr;
    Object* owner = nullptr;  // not owned; told by Detach when this object goes
    Object* link = nullptr;   // not owned; cleared by ForgetObject

protected:
    Object() = default;
};
