#include "game/world/type_table.h"

// Every type id of the factory with its class and kind, made from the rows of type_rows.h. Ids 7
// and 97-139 have no class.
const TypeEntry kTypeTable[kTypeCount] = {
#define TYPE(id, name, kind) {id, #name, kind},
#define NO_CLASS(id) {id, nullptr, -1},
#include "game/world/type_rows.h"
#undef TYPE
#undef NO_CLASS
};

// Character codes of the player factory (character id + 99); 98 is the party's controller,
// kept in no list. A code without a class makes the fallback class.
const TypeEntry kCharacterTable[kCharacterCodeCount] = {
    // code class                                   kind
    { 97, "PC_Dummy",                              201},
    { 98, "PCController",                           -1},
    { 99, "PC_Noa",                                201},
    {100, "PC_Akimi",                              201},
    {101, nullptr,                                 201},
    {102, nullptr,                                 201},
    {103, nullptr,                                 201},
    {104, nullptr,                                 201},
    {105, nullptr,                                 201},
    {106, nullptr,                                 201},
    {107, nullptr,                                 201},
    {108, "PC_Keito",                              201},
    {109, nullptr,                                 201},
    {110, "PC_Natsuki",                            201},
    {111, "PC_Sayaka",                             201},
    {112, "PC_Karen",                              201},
    {113, "PC_Hikaru",                             201},
    {114, nullptr,                                 201},
    {115, nullptr,                                 201},
    {116, nullptr,                                 201},
    {117, nullptr,                                 201},
    {118, nullptr,                                 201},
    {119, nullptr,                                 201},
    {120, "PC_Minato",                             201},
    {121, nullptr,                                 201},
    {122, nullptr,                                 201},
    {123, nullptr,                                 201},
    {124, "PC_Aiko",                               201},
    {125, nullptr,                                 201},
    {126, nullptr,                                 201},
    {127, "PC_Yuu",                                201},
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
