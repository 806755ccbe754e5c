#include "game/enemies/effect.h"

namespace {
constexpr int16_t kOwnRule = -1;  // no limit, or a rule of the class's own
}  // namespace

// Kinds stay in the world's type table. A life N means the Run that sees age N kills the effect.
const EffectRow kEffectTable[kEffectRowCount] = {
    // id   w    h   life
    {272,  16,  16,  16},        // EF_Blast_01
    {273,  32,  32,  18},        // EF_Blast_02
    {274,  16,  16,  27},        // EF_ZanacBlast
    {275,  16,  16,  16},        // EF_Blast_Invader
    {276,   8,   8, kOwnRule},   // EF_HecatomBonus
    {277,   8,   8, kOwnRule},   // EF_ExcessCapacityBonus
    {278,   8,   8, kOwnRule},   // EF_SubvertBonus
    {279,   8,   8, kOwnRule},   // EF_MortalWoundBonus
    {280,   8,   8, kOwnRule},   // EF_WithoutDelayBonus
    {281,   8,   8,  61},        // EF_ParadigmShiftBonus
    {282,   8,   8, kOwnRule},   // EF_AnnihilateBonus
    {283,   8,   8,  61},        // EF_InefficientBlowBonus
    {284,   8,   8,  61},        // EF_PlagueBonus
    {285,   8,   8, kOwnRule},   // EF_EnthusiasticBonus
    {286,   8,   8, kOwnRule},   // EF_Failure
    {287,   1,   1, kOwnRule},   // EF_Star_SS
    {288,  16,  16, kOwnRule},   // EF_GameOver
    {289,   8,   8,   7},        // EF_Wind
    {290,   8,   8,  33},        // EF_8Bonus
    {291,  96,  64, 120},        // EF_Blast_Stage1Boss
    {292,  64,  64, 120},        // EF_Blast_Stage2Boss
    {293,   0,   0,  16},        // EF_Blast_Stage3Boss
    {294,   0,   0,  61},        // EF_Blast_Stage5Boss
    {295,   0,   0,  61},        // EF_Blast_Stage7Boss
    {296,  16,  16, kOwnRule},   // EF_RefrectBullet
    {297,   8,   8,   8},        // EF_EraseBullet
    {298,   8,   8,  20},        // EF_Blaster
    {299,   8,   8,  60},        // EF_UnLock
    {300,   8,   8,  15},        // EF_UnLock_Trace
    {301,   8,   8,   9},        // EF_UnLock_Trace2
    {302,  16,  16, kOwnRule},   // EF_GradiusOption
    {303,  16,  16, kOwnRule},   // EF_Gradius2Option
    {304,  16,  16, 120},        // EF_ExclamationMark
    {305,   8,   8, kOwnRule},   // EF_GhostRythm
    {306,  16,  16, 160},        // EF_GhostBeat
    {307,   8,   8, kOwnRule},   // EF_GhostBossBase
    {308,  16,  16,  60},        // EF_BomberKing_Bomb
    {309,  16,  16, kOwnRule},   // EF_Quinty_Line
    {310,  16,  16,  33},        // EF_Quinty_Cross
    {311,  16,  16,  33},        // EF_Quinty_FB
    {312,  16,  16,  33},        // EF_Quinty_Sun
    {313,   8,   8,  61},        // EF_Quinty_Blast
    {314,   8,   8, kOwnRule},   // EF_FZ_Boranda_Seed
    {315,  16,  16,   5},        // EF_OR_Blast
    {316,   8,   8, kOwnRule},   // EF_S5BGController
    {317, 256,  32, kOwnRule},   // EF_S5BG
    {318,  16,  16, 121},        // EF_Rockman_Bomb
    {319,  16,  16, kOwnRule},   // EF_Rockman_Elec_Side
    {320,  16,  16, kOwnRule},   // EF_Rockman_Elec_Front
    {321,   8,   8, kOwnRule},   // EF_S6_BlockController
    {322,   8,   8,  13},        // EF_Bombris_EraseLine
    {323,  16,  16,  31},        // EF_Bombris_NearBlast
    {324,  16,  16,  61},        // EF_Sagittarius
    {325,  16,  16, kOwnRule},   // EF_BS_ChargeController
    {326,  16,  16,   8},        // EF_HSG_DisCharge
    {327,   8,   8,   1},        // EF_Hisouten_Iku6C
    {328,  48,  48, kOwnRule},   // EF_Hisouten_Ryuunome
    {329,  48,  48, kOwnRule},   // EF_Hisouten_SkillCard
    {330,  32,  16, kOwnRule},   // EF_TwinBee_Cloud
    {331,  32,  16,  60},        // EF_5963
    {332,   8,   8, 3601},       // EF_SecretUnlock
    {333,   8,   8, kOwnRule},   // EF_Demo_Words
    {334,   8,   8, 320},        // EF_Demo_Message
    {335,   0,   0, kOwnRule},   // EF_Poppoes_Reflect
    {336,   0,   0, kOwnRule},   // EF_ScorePop
};

const EffectRow* FindEffectRow(int32_t typeId) {
    if (typeId < kFirstEffectId || typeId > kLastEffectId) return nullptr;
    return &kEffectTable[typeId - kFirstEffectId];
}
