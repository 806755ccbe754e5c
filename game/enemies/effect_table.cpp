#include "game/enemies/effect.h"
#include "game/world/class_rows.h"

namespace {
constexpr int16_t kOwnRule = -1;  // no limit, or a rule of the class's own
}  // namespace

// Kinds stay in the world's type table. A life N means the Run that sees age N kills the effect.
constexpr EffectRow kEffectTable[kEffectRowCount] = {
    // id                                w    h  life
    {type_id::EF_Blast_01,              16,  16,  16},
    {type_id::EF_Blast_02,              32,  32,  18},
    {type_id::EF_ZanacBlast,            16,  16,  27},
    {type_id::EF_Blast_Invader,         16,  16,  16},
    {type_id::EF_HecatomBonus,           8,   8, kOwnRule},
    {type_id::EF_ExcessCapacityBonus,    8,   8, kOwnRule},
    {type_id::EF_SubvertBonus,           8,   8, kOwnRule},
    {type_id::EF_MortalWoundBonus,       8,   8, kOwnRule},
    {type_id::EF_WithoutDelayBonus,      8,   8, kOwnRule},
    {type_id::EF_ParadigmShiftBonus,     8,   8,  61},
    {type_id::EF_AnnihilateBonus,        8,   8, kOwnRule},
    {type_id::EF_InefficientBlowBonus,   8,   8,  61},
    {type_id::EF_PlagueBonus,            8,   8,  61},
    {type_id::EF_EnthusiasticBonus,      8,   8, kOwnRule},
    {type_id::EF_Failure,                8,   8, kOwnRule},
    {type_id::EF_Star_SS,                1,   1, kOwnRule},
    {type_id::EF_GameOver,              16,  16, kOwnRule},
    {type_id::EF_Wind,                   8,   8,   7},
    {type_id::EF_8Bonus,                 8,   8,  33},
    {type_id::EF_Blast_Stage1Boss,      96,  64, 120},
    {type_id::EF_Blast_Stage2Boss,      64,  64, 120},
    {type_id::EF_Blast_Stage3Boss,       0,   0,  16},
    {type_id::EF_Blast_Stage5Boss,       0,   0,  61},
    {type_id::EF_Blast_Stage7Boss,       0,   0,  61},
    {type_id::EF_RefrectBullet,         16,  16, kOwnRule},
    {type_id::EF_EraseBullet,            8,   8,   8},
    {type_id::EF_Blaster,                8,   8,  20},
    {type_id::EF_UnLock,                 8,   8,  60},
    {type_id::EF_UnLock_Trace,           8,   8,  15},
    {type_id::EF_UnLock_Trace2,          8,   8,   9},
    {type_id::EF_GradiusOption,         16,  16, kOwnRule},
    {type_id::EF_Gradius2Option,        16,  16, kOwnRule},
    {type_id::EF_ExclamationMark,       16,  16, 120},
    {type_id::EF_GhostRythm,             8,   8, kOwnRule},
    {type_id::EF_GhostBeat,             16,  16, 160},
    {type_id::EF_GhostBossBase,          8,   8, kOwnRule},
    {type_id::EF_BomberKing_Bomb,       16,  16,  60},
    {type_id::EF_Quinty_Line,           16,  16, kOwnRule},
    {type_id::EF_Quinty_Cross,          16,  16,  33},
    {type_id::EF_Quinty_FB,             16,  16,  33},
    {type_id::EF_Quinty_Sun,            16,  16,  33},
    {type_id::EF_Quinty_Blast,           8,   8,  61},
    {type_id::EF_FZ_Boranda_Seed,        8,   8, kOwnRule},
    {type_id::EF_OR_Blast,              16,  16,   5},
    {type_id::EF_S5BGController,         8,   8, kOwnRule},
    {type_id::EF_S5BG,                 256,  32, kOwnRule},
    {type_id::EF_Rockman_Bomb,          16,  16, 121},
    {type_id::EF_Rockman_Elec_Side,     16,  16, kOwnRule},
    {type_id::EF_Rockman_Elec_Front,    16,  16, kOwnRule},
    {type_id::EF_S6_BlockController,     8,   8, kOwnRule},
    {type_id::EF_Bombris_EraseLine,      8,   8,  13},
    {type_id::EF_Bombris_NearBlast,     16,  16,  31},
    {type_id::EF_Sagittarius,           16,  16,  61},
    {type_id::EF_BS_ChargeController,   16,  16, kOwnRule},
    {type_id::EF_HSG_DisCharge,         16,  16,   8},
    {type_id::EF_Hisouten_Iku6C,         8,   8,   1},
    {type_id::EF_Hisouten_Ryuunome,     48,  48, kOwnRule},
    {type_id::EF_Hisouten_SkillCard,    48,  48, kOwnRule},
    {type_id::EF_TwinBee_Cloud,         32,  16, kOwnRule},
    {type_id::EF_5963,                  32,  16,  60},
    {type_id::EF_SecretUnlock,           8,   8, 3601},
    {type_id::EF_Demo_Words,             8,   8, kOwnRule},
    {type_id::EF_Demo_Message,           8,   8, 320},
    {type_id::EF_Poppoes_Reflect,        0,   0, kOwnRule},
    {type_id::EF_ScorePop,               0,   0, kOwnRule},
};
static_assert(RowsRunFrom(kEffectTable, kFirstEffectId));

const EffectRow* FindEffectRow(int32_t typeId) {
    if (typeId < kFirstEffectId || typeId > kLastEffectId) return nullptr;
    return &kEffectTable[typeId - kFirstEffectId];
}
