#include "game/stage/ground_table.h"

#include <cstddef>

#include "game/world/type_table.h"

namespace {

// Ids.
constexpr int16_t kLevelNone = -1;

// first last  id   b     base mod div  shiftX shiftY top    owned
constexpr GroundPlacement kLowStages[] = {
    {11, 11, 81, 0.0f, kLevelNone, 0, 1, 0, 0, false, true},   // E_Star_G
    {12, 12, 82, 0.0f, kLevelNone, 0, 1, 0, 0, false, true},   // E_ZeguOr_G
    {13, 13, 83, 0.0f, kLevelNone, 0, 1, 0, 0, false, true},   // E_ZeguBr_G
    {25, 26, 30, 2.0f, 25, 0, 1, 0, 0, false, true},           // E_Gradius_Zako_W
    {27, 27, 91, 0.0f, kLevelNone, 0, 1, 0, 0, false, true},   // E_Gradius_Hatch_G
    {28, 28, 92, 0.0f, kLevelNone, 0, 1, 0, 0, false, true},   // E_Gradius_Battery_G
    {45, 59, 84, 0.0f, 45, 0, 1, 0, 0, false, true},           // E_S2GE_G
    {60, 63, 85, 0.0f, 60, 0, 1, 0, 0, false, true},           // E_S28Coin_G
    {96, 96, 86, 0.0f, kLevelNone, 0, 1, 0, 0, false, true},   // E_ZanacFortress1_G
    {97, 97, 87, 0.0f, kLevelNone, 0, 1, 0, 0, false, true},   // E_ZanacFortress2_G
    {98, 98, 88, 0.0f, kLevelNone, 0, 1, 0, 0, false, true},   // E_ZanacFortress3_G
    {99, 102, 89, 0.0f, 99, 0, 1, 0, 0, false, true},          // E_ZanacFortress4_G
    {112, 131, 90, 0.0f, kLevelNone, 0, 1, 0, 0, false, true}, // E_InvisibleWall_G
};

constexpr GroundPlacement kHighStages[] = {
    {2, 13, 93, 2.0f, 0, 2, 1, 0, 0, true, false},             // E_AliceClone_G
    {16, 17, 94, 0.0f, 0, 2, 1, 0, 0, false, true},            // E_SF_Panel_G
    {18, 23, 95, 0.0f, 18, 0, 1, 0, 0, false, true},           // E_SF_SmallBlock_G
    {48, 54, 96, 0.0f, 48, 0, 2, 8, -8, false, true},          // E_SF_BigBlock_G (even values)
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
