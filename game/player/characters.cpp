#include "game/player/characters.h"

#include "game/player/pc_controller.h"
#include "game/world/cells.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"

constexpr CharacterEntry kCharacters[kCharacterClasses] = {
    // class         id  code  ship           slots
    {"PC_Noa",        0,  99, cell::noa,      1},
    {"PC_Akimi",      1, 100, cell::akimi,    8},
    {"PC_Keito",      9, 108, cell::keito,   16},
    {"PC_Natsuki",   11, 110, cell::natsuki, 32},
    {"PC_Sayaka",    12, 111, cell::sayaka,  16},
    {"PC_Karen",     13, 112, cell::karen,   16},
    {"PC_Hikaru",    14, 113, cell::hikaru,  16},
    {"PC_Minato",    21, 120, cell::minato,  32},
    {"PC_Aiko",      25, 124, cell::aiko,     4},
    {"PC_Yuu",       28, 127, cell::yuu,     16},
    {"PC_Dummy",     -1,  97, cell::noa,      0},
};

// Every ship lies in the party icon grid, each playable one at its own character's icon.
constexpr bool ShipsLieInTheIconGrid() {
    for (const CharacterEntry& row : kCharacters) {
        if (!OnShipGrid(row.ship) || (row.id >= 0 && ShipRow(row.ship) != row.id)) return false;
    }
    return OnShipGrid(cell::aiko_options);
}
static_assert(ShipsLieInTheIconGrid());

const CharacterEntry* FindCharacter(int32_t code) {
    for (const CharacterEntry& row : kCharacters) {
        if (row.code == code) return &row;
    }
    return nullptr;
}

namespace {

// Sets what every character's constructor sets after PC::Init.
void SetUpCharacter(PC& pc, const CharacterEntry& row, float x, float y, int32_t size) {
    pc.Init();
    pc.x = x;
    pc.y = y;
    pc.width = pc.height = size;
    pc.speed = 3.0f;
    pc.hp = pc.maxHp = 1.0f;
    pc.spriteRow = ShipRow(row.ship);
}

}  // namespace

PCCharacter::PCCharacter(int32_t code, float px, float py) : slotCount(FindCharacter(code)->slots) {
    SetUpCharacter(*this, *FindCharacter(code), px, py, 16);
}

PC_Dummy::PC_Dummy(float px, float py) { SetUpCharacter(*this, *FindCharacter(97), px, py, 48); }

void PCCharacter::Run(ObjectController* ctx) {
    if (invincible > 0) invincible -= 1;
    if (hp >= 1.0f) {
        ReadInput(ctx);
        Fire(ctx);
    }
    Upkeep(ctx);
    age += 1;
}

void PCCharacter::ReleaseSlot(int slot) {
    Object* held = weapons[slot];
    if (held == nullptr) return;
    weapons[slot] = nullptr;
    // Forgetting first means the weapon never calls back into this character, which may be
    // deleted before the weapon is swept.
    held->ForgetObject(self);
    held->Kill();
}

void PCCharacter::Detach() {
    for (int i = 0; i < slotCount; ++i) ReleaseSlot(i);
    if (owner != nullptr) owner->ForgetObject(self);
}

void PCCharacter::ForgetObject(Object* gone) {
    for (int i = 0; i < slotCount; ++i) {
        if (weapons[i] == gone) {
            weapons[i] = nullptr;
            return;
        }
    }
}

void PCCharacter::SetInactive(int32_t value) {
    inactive = value;
    for (int i = 0; i < slotCount; ++i) ReleaseSlot(i);
}

int PCCharacter::FirstFreeSlot(int first, int last) const {
    for (int i = first; i <= last && i < slotCount; ++i) {
        if (weapons[i] == nullptr) return i;
    }
    return -1;
}

Object* PCCharacter::FireInto(ObjectController* ctx, int slot, int32_t typeId, float px, float py, float pvx,
                              float pvy, float pax, float pay) {
    Object* made = ctx->CreateObject(typeId, px, py, pvx, pvy, pax, pay, self);
    weapons[slot] = made;
    return made;
}

Object* PCCharacter::FireIntoFirstFree(ObjectController* ctx, int first, int last, int32_t typeId, float px,
                                       float py, float pvx, float pvy, float pax, float pay) {
    int slot = FirstFreeSlot(first, last);
    if (slot < 0) return nullptr;
    return FireInto(ctx, slot, typeId, px, py, pvx, pvy, pax, pay);
}

static ClassRegistration characters({
    {97, MakeCharacter<PC_Dummy>},
    {98, MakeCharacter<PCController>},
    {99, MakeCharacter<PC_Noa>},
    {100, MakeCharacter<PC_Akimi>},
    {108, MakeCharacter<PC_Keito>},
    {110, MakeCharacter<PC_Natsuki>},
    {111, MakeCharacter<PC_Sayaka>},
    {112, MakeCharacter<PC_Karen>},
    {113, MakeCharacter<PC_Hikaru>},
    {120, MakeCharacter<PC_Minato>},
    {124, MakeCharacter<PC_Aiko>},
    {127, MakeCharacter<PC_Yuu>},
});
