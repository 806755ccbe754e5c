// The vocabulary of the factories: every object type id (0-346) and character code (97-127) with
// its class name and kind. Kind -1 marks an id with no class (type ids) or no list (the party's
// controller).
#pragma once

#include <cstdint>

struct TypeEntry {
    int16_t id;
    const char* className;  // null = unassigned
    int16_t kind;
};

constexpr int kTypeCount = 347;

// The name of every type id with a class: the class's own name, as in type_id::E_Coin_W.
namespace type_id {
enum : int32_t {
#define TYPE(id, name, kind) name = id,
#define NO_CLASS(id)
#include "game/world/type_rows.h"
#undef TYPE
#undef NO_CLASS
};
}  // namespace type_id
extern const TypeEntry kTypeTable[kTypeCount];  // row i is type id i

constexpr int kFirstCharacterCode = 97;
constexpr int kLastCharacterCode = 127;
constexpr int kCharacterCodeCount = kLastCharacterCode - kFirstCharacterCode + 1;
// Row i is code 97 + i; codes the game does not list make the fallback class, PC_Natsuki.
extern const TypeEntry kCharacterTable[kCharacterCodeCount];

constexpr int32_t kPartyControllerCode = 98;
constexpr int32_t kFallbackCharacterCode = 110;  // PC_Natsuki

// The row of a type id, or null when the id is outside 0-346.
const TypeEntry* FindType(int32_t typeId);
// The row a character code makes: its own when the game lists it, else the fallback's.
const TypeEntry& CharacterRow(int32_t code);
