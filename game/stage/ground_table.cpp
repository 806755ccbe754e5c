#include "game/stage/ground_table.h"

#include <cstddef>

#include "game/world/type_table.h"

namespace {

// The base of rows whose enemies take no level (it stays 0).
constexpr int16_t kLevelNone = -1;

//    first last id                          b           base  mod div shiftX shiftY top owned
constexpr GroundPlacement kLowStages[] = {
    { 11,  11, type_id::E_Star_G,            0.0f, kLevelNone, 0, 1, 0,  0, false, true},
    { 12,  12, type_id::E_ZeguOr_G,          0.0f, kLevelNone, 0, 1, 0,  0, false, true},
    { 13,  13, type_id::E_ZeguBr_G,          0.0f, kLevelNone, 0, 1, 0,  0, false, true},
    { 25,  26, type_id::E_Gradius_Zako_W,    2.0f,         25, 0, 1, 0,  0, false, true},
    { 27,  27, type_id::E_Gradius_Hatch_G,   0.0f, kLevelNone, 0, 1, 0,  0, false, true},
    { 28,  28, type_id::E_Gradius_Battery_G, 0.0f, kLevelNone, 0, 1, 0,  0, false, true},
    { 45,  59, type_id::E_S2GE_G,            0.0f,         45, 0, 1, 0,  0, false, true},
    { 60,  63, type_id::E_S28Coin_G,         0.0f,         60, 0, 1, 0,  0, false, true},
    { 96,  96, type_id::E_ZanacFortress1_G,  0.0f, kLevelNone, 0, 1, 0,  0, false, true},
    { 97,  97, type_id::E_ZanacFortress2_G,  0.0f, kLevelNone, 0, 1, 0,  0, false, true},
    { 98,  98, type_id::E_ZanacFortress3_G,  0.0f, kLevelNone, 0, 1, 0,  0, false, true},
    { 99, 102, type_id::E_ZanacFortress4_G,  0.0f,         99, 0, 1, 0,  0, false, true},
    {112, 131, type_id::E_InvisibleWall_G,   0.0f, kLevelNone, 0, 1, 0,  0, false, true},
};

constexpr GroundPlacement kHighStages[] = {
    {  2,  13, type_id::E_AliceClone_G,      2.0f,          0, 2, 1, 0,  0, true,  false},
    { 16,  17, type_id::E_SF_Panel_G,        0.0f,          0, 2, 1, 0,  0, false, true},
    { 18,  23, type_id::E_SF_SmallBlock_G,   0.0f,         18, 0, 1, 0,  0, false, true},
    { 48,  54, type_id::E_SF_BigBlock_G,     0.0f,         48, 0, 2, 8, -8, false, true},  // even values
};

template <size_t N>
const GroundPlacement* Find(const GroundPlacement (&table)[N], int32_t value) {
    for (const GroundPlacement& p : table) {
        if (value >= p.first && value <= p.last) return &p;
    }
    return nullptr;
}

}  // namespace

const GroundPlacement* FindGroundPlacement(int32_t stage, int32_t value) {
    if (stage % 16 < 7) return Find(kLowStages, value);
    const GroundPlacement* p = Find(kHighStages, value);
    // The big blocks take the even values 48, 50, 52 and 54 only.
    if (p != nullptr && p->typeId == type_id::E_SF_BigBlock_G && value % 2 != 0) return nullptr;
    return p;
}

int32_t GroundLevel(const GroundPlacement& p, int32_t value) {
    if (p.levelBase == kLevelNone) return 0;
    if (p.levelMod != 0) return value % p.levelMod;
    return (value - p.levelBase) / p.levelDiv;
}
