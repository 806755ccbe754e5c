// The ten playable characters and the inert PC_Dummy. They differ in sprite row, weapon and the
// weapon objects they hold; the slot bookkeeping and the common Run are shared here.
#pragma once

#include <cstdint>

#include "game/player/pc.h"
#include "game/world/cells.h"

// One row per character class: what the player factory makes for its code.
struct CharacterEntry {
    const char* className;
    int32_t id;  // character id (-1 for PC_Dummy, which has none)
    int32_t code;  // player code: id + 99
    SheetCell ship;  // its frames on "pc.bmp", whose row in the party icon grid is the sprite row
    int32_t slots;  // weapon slots held
};

constexpr int kCharacterClasses = 11;
extern const CharacterEntry kCharacters[kCharacterClasses];
// The row of a player code; null for a code no class has.
const CharacterEntry* FindCharacter(int32_t code);

// A playable character: the weapon slots (null = free) with the shared slot operations, and the
// common Run around the class's fire routine.
class PCCharacter : public PC {
public:
    static constexpr int kMaxSlots = 32;

    // Invincibility countdown; while alive the input and the fire routine; the weapon upkeep;
    // age + 1.
    void Run(ObjectController* ctx) override;
    // Lets go of every held weapon and kills it, then tells the owner.
    void Detach() override;
    void ForgetObject(Object* gone) override;  // the first slot holding gone is freed
    // Stores the value and lets go of every held weapon, killing it.
    void SetInactive(int32_t value) override;

    Object* weapons[kMaxSlots] = {};
    int32_t slotCount;
    int32_t fireCooldown = 0;

protected:
    PCCharacter(int32_t code, float x, float y);

    virtual void Fire(ObjectController*) {}    // after ReadInput, while hp >= 1
    virtual void Upkeep(ObjectController*) {}  // every frame, after the fire decision

    // First free slot in [first, last], or -1.
    int FirstFreeSlot(int first, int last) const;
    // Creates a weapon by type id, owned by this character, into the slot; null when the
    // factory makes nothing.
    Object* FireInto(ObjectController* ctx, int slot, int32_t typeId, float px, float py, float pvx, float pvy,
                     float pax = 0.0f, float pay = 0.0f);
    // The same into the first free slot of [first, last]; null when every slot is held.
    Object* FireIntoFirstFree(ObjectController* ctx, int first, int last, int32_t typeId, float px, float py,
                              float pvx, float pvy, float pax = 0.0f, float pay = 0.0f);
    // Lets go of the weapon in the slot and kills it.
    void ReleaseSlot(int slot);
};

// One slow S_InvaderShot at a time, held in the link field; no power levels, and the
// invincibility countdown drawn on the ship.
class PC_Noa final : public PCCharacter {
public:
    PC_Noa(float x, float y) : PCCharacter(99, x, y) {}
    void Draw(ObjectController* ctx) override;
    void Detach() override;
    void ForgetObject(Object* gone) override;
    void SetInactive(int32_t value) override;
    // Level and items never change: the scene's bonus event and 60 frames of invincibility.
    void PowerUp(ObjectController* ctx, int32_t count) override;

protected:
    void Fire(ObjectController* ctx) override;

private:
    void ReleaseShot();  // lets go of the shot in the link field and kills it
};

// A stream of S_StarForceShot, fast on the first button and slow on the second; one level.
class PC_Akimi final : public PCCharacter {
public:
    PC_Akimi(float x, float y) : PCCharacter(100, x, y) {}
    void PowerUp(ObjectController* ctx, int32_t count) override;

protected:
    void Fire(ObjectController* ctx) override;
};

// Three fire patterns switched by the second button, each growing over four levels, and in
// pattern 1 from level 2 up to six barriers circling the ship.
class PC_Keito final : public PCCharacter {
public:
    static constexpr int kFirstBarrierSlot = 10;
    static constexpr int kBarrierSlots = 6;

    PC_Keito(float x, float y) : PCCharacter(108, x, y) {}
    // Stores the value; in pattern 1 from level 2 the barriers go with it.
    void SetInactive(int32_t value) override;
    void ResetWeaponState() override;

    int32_t keitoPattern = 0;
    int32_t keitoAlternate = 0;

protected:
    // The pattern switch, the volley, then the barriers (none on the Run of a switch).
    void Fire(ObjectController* ctx) override;
    // Every frame after the fire decision, also while he is down: the cooldown counts down.
    void Upkeep(ObjectController* ctx) override;

private:
    void ReleaseBarriers();
    void KeepBarriers(ObjectController* ctx);  // makes, parks or places the barriers
};

// A fan of S_Gunnac that widens with the level, or a double stream with both buttons.
class PC_Natsuki final : public PCCharacter {
public:
    PC_Natsuki(float x, float y) : PCCharacter(110, x, y) {}

protected:
    void Fire(ObjectController* ctx) override;
    void Upkeep(ObjectController* ctx) override;
};

// S_ZanacA shots and up to two satellites circling on an aim the player steers.
class PC_Sayaka final : public PCCharacter {
public:
    PC_Sayaka(float x, float y) : PCCharacter(111, x, y) {}
    void ResetWeaponState() override;

    int32_t sayakaAim = 0;

protected:
    void Fire(ObjectController* ctx) override;
    void Upkeep(ObjectController* ctx) override;
};

// S_ZanacA shots and a slow S_Kavlet on the second button.
class PC_Karen final : public PCCharacter {
public:
    PC_Karen(float x, float y) : PCCharacter(112, x, y) {}

    int32_t secondCooldown = 0;

protected:
    void Fire(ObjectController* ctx) override;
};

// S_HikaruLetter shots, one or two in flight.
class PC_Hikaru final : public PCCharacter {
public:
    PC_Hikaru(float x, float y) : PCCharacter(113, x, y) {}

protected:
    void Fire(ObjectController* ctx) override;
};

// Piercing S_ReccaL lasers left and right in turn; from level 2 two circling options that fire
// on the second button; a barrier that grows while fire is released, and a bomb on a full charge.
class PC_Minato final : public PCCharacter {
public:
    static constexpr int kBarrierSlot = 0, kBomberSlot = 1, kFirstOptionSlot = 2;

    PC_Minato(float x, float y) : PCCharacter(120, x, y) {}
    void ResetWeaponState() override { chargeFrames = 0; }

    int32_t optionCooldown = 0;
    int32_t chargeFrames = 0;
    int32_t minatoSide = 0;

protected:
    void Fire(ObjectController* ctx) override;
    void Upkeep(ObjectController* ctx) override;  // options, parking, the barrier's place

private:
    void FireLaser(ObjectController* ctx);
    void Charge(ObjectController* ctx);
};

// A forward S_RBShot and side shots; from level 1 the second button puts out two options that
// fire homing shots, and changes her ship's row.
class PC_Aiko final : public PCCharacter {
public:
    static constexpr int32_t kOptionsRowStep = ShipRow(cell::aiko_options) - ShipRow(cell::aiko);

    PC_Aiko(float x, float y) : PCCharacter(124, x, y) {}
    void Draw(ObjectController* ctx) override;
    void ResetWeaponState() override;

    int32_t switchCooldown = 0;
    int32_t sideCooldown = 0;
    int32_t optionsOut = 0;

protected:
    void Fire(ObjectController* ctx) override;
    void Upkeep(ObjectController* ctx) override;  // no options while she is down

private:
    void SwitchOptions(ObjectController* ctx);
    void FireSides(ObjectController* ctx);
};

// Up to three rows of bubbles above her (2, 4 and 8, one row a level), a swaying spray in
// bursts from her or her fullest rows, and a reflect that spends every bubble and her level.
class PC_Yuu final : public PCCharacter {
public:
    static constexpr int kRows = 3;
    static constexpr int kFirstSlot[kRows + 1] = {0, 2, 6, 14};  // row r holds slots [r, r + 1)
    static constexpr int32_t kReflectWait = 600;

    PC_Yuu(float x, float y) : PCCharacter(127, x, y) {}
    void Draw(ObjectController* ctx) override;
    // Every frame: the rows' breathing, counting and places, then input and fire while alive.
    void Run(ObjectController* ctx) override;
    // Items and levels as every character's; a level-up heals and refills the rows of the level.
    void PowerUp(ObjectController* ctx, int32_t count) override;
    void ResetWeaponState() override;

    // Whether her level and rows allow the reflect.
    bool ReflectAllowed() const;

    int32_t fireFrames = 0;
    int32_t rowCount[kRows] = {};
    float rowWidth = 1.0f;
    float rowHeight = 1.0f;
    int32_t reflectCooldown = kReflectWait;

protected:
    void Fire(ObjectController* ctx) override;

private:
    void PlaceRows();
    void Spray(ObjectController* ctx, int32_t c);
};

// Reads no input and fires nothing: only its age counts.
class PC_Dummy final : public PC {
public:
    PC_Dummy(float x, float y);
    void Run(ObjectController* ctx) override { Object::Run(ctx); }
};
