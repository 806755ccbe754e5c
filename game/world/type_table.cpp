#include "game/world/type_table.h"

#include "game/world/kinds.h"

// Every type id of the factory with its class and kind, made from the rows of type_rows.h. Ids 7
// and 97-139 have no class.
const TypeEntry kTypeTable[kTypeCount] = {
#define TYPE(id, name, k) {id, #name, kind::k},
#define NO_CLASS(id) {id, nullptr, -1},
#include "game/world/type_rows.h"
#undef TYPE
#undef NO_CLASS
};

// Character codes of the player factory (character id + 99); 98 is the party's controller,
// kept in no list. A code without a class makes the fallback class.
const TypeEntry kCharacterTable[kCharacterCodeCount] = {
    // code class          kind
    { 97, "PC_Dummy",     kind::kCharacter},
    { 98, "PCController", -1},
    { 99, "PC_Noa",       kind::kCharacter},
    {100, "PC_Akimi",     kind::kCharacter},
    {101, nullptr,        kind::kCharacter},
    {102, nullptr,        kind::kCharacter},
    {103, nullptr,        kind::kCharacter},
    {104, nullptr,        kind::kCharacter},
    {105, nullptr,        kind::kCharacter},
    {106, nullptr,        kind::kCharacter},
    {107, nullptr,        kind::kCharacter},
    {108, "PC_Keito",     kind::kCharacter},
    {109, nullptr,        kind::kCharacter},
    {110, "PC_Natsuki",   kind::kCharacter},
    {111, "PC_Sayaka",    kind::kCharacter},
    {112, "PC_Karen",     kind::kCharacter},
    {113, "PC_Hikaru",    kind::kCharacter},
    {114, nullptr,        kind::kCharacter},
    {115, nullptr,        kind::kCharacter},
    {116, nullptr,        kind::kCharacter},
    {117, nullptr,        kind::kCharacter},
    {118, nullptr,        kind::kCharacter},
    {119, nullptr,        kind::kCharacter},
    {120, "PC_Minato",    kind::kCharacter},
    {121, nullptr,        kind::kCharacter},
    {122, nullptr,        kind::kCharacter},
    {123, nullptr,        kind::kCharacter},
    {124, "PC_Aiko",      kind::kCharacter},
    {125, nullptr,        kind::kCharacter},
    {126, nullptr,        kind::kCharacter},
    {127, "PC_Yuu",       kind::kCharacter},
};

const TypeEntry* FindType(int32_t typeId) {
    if (typeId < 0 || typeId >= kTypeCount) return nullptr;
    return &kTypeTable[typeId];
}

const TypeEntry& CharacterRow(int32_t code) {
    if (code >= kFirstCharacterCode && code <= kLastCharacterCode) {
        const TypeEntry& row = kCharacterTable[code - kFirstCharacterCode];
        if (row.className != nullptr) return row;
    }
    return kCharacterTable[kFallbackCharacterCode - kFirstCharacterCode];
}
