#include "game/enemies/enemy_table.h"

namespace {

constexpr EnemyArgs N = EnemyArgs::kNone;
constexpr EnemyArgs A = EnemyArgs::kA;
constexpr EnemyArgs B = EnemyArgs::kB;
constexpr EnemyArgs AB = EnemyArgs::kAB;
constexpr EnemyArgs AC = EnemyArgs::kAC;
constexpr EnemyArgs ABCD = EnemyArgs::kABCD;
constexpr bool I = true;   // int x
constexpr bool X = false;  // x as given
constexpr uint8_t GC = kGhostColour;
constexpr uint8_t GL = kGhostLookFromCD;
constexpr uint8_t AIM = kAngleFromAB;
constexpr uint8_t LEN = kSpeedFromAB;

}  // namespace

// Velocities are set first from the fixed columns, then from the arguments; move mode 1 moves by
// angle and speed (angle 16384 straight down).
const EnemyRow kEnemyTable[kEnemyRowCount] = {
    // id  w   h  hw   hh  hp        score  snd/hit  x  args   vx  vy    ay    mode angle  speed spdAcc inv place extra
    { 8, 16, 16,  8,   8, 1,        100,     1,  0, I, N,    0, 0,    0,    1, 16384, 4, 0,    0, 0, 0},  // E_Coin_W
    { 9, 16, 16,  8,   8, 1,        100,     1,  0, I, N,    0, 1,    0,    0, 0,     0, 0,    0, 0, 0},  // E_Box_W
    {10, 16, 16,  8,   8, 1,        100,     1,  0, I, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_IronBall_W
    {11, 16, 16,  8,   8, 1,        100,     1,  0, I, N,    0, 0,    0,    1, 16384, 8, 0,    0, 0, 0},  // E_Circle_W
    {12, 16, 16,  8,   8, 1,        100,     1,  0, I, N,    0, 0,    0,    1, 16384, 4, 0,    0, 0, 0},  // E_DropCircle_W
    {13, 16, 16,  8,   8, 1,        100,     1,  0, I, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_ZigzagX_W
    {14, 16, 16,  8,   8, 1,        100,     1,  0, I, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_EdgeMove4Circle_W
    {15, 16, 16,  8,   8, 1,        100,     1,  0, I, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_RefrectWall6_W
    {16,  8, 16,  8,   8, 1,        10,      1,  0, X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_SmallMissile_W
    {17, 16, 16,  8,   8, 0,        10,      1,  0, X, AB,   0, 0,    0,    1, 0,     0, 0,    0, 0, AIM | LEN},  // E_BigMissile_W
    {18, 16, 16,  8,   8, 64,       100,     1,  0, X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_WallBullet_W
    {19, 16, 16,  8,   8, 0.1f,     10,      1,  0, X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_DestroyableBullet_W
    {20,  8,  8,  4,   4, 0.1f,     30,      1,  0, X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_DestroyableBullet2_W
    {21, 16, 16,  8,   8, 0.1f,     10,      1,  0, X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_DestroyableBullet3_W
    {22,  8,  8,  4,   4, 0.1f,     10,      1,  0, X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_DestroyableBullet4_W
    {23, 16, 16,  8,   8, 1,        100,     1,  0, X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, GC},  // E_GhostZako1_W
    {24, 16, 16,  8,   8, 6,        1000,    2,  0, X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, GC},  // E_GhostZako2_W
    {25, 16, 16,  8,   8, 1,        100,     1,  0, X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, GC},  // E_GhostZako3_W
    {26, 16, 16,  8,   8, 65535,    1000000, 3,  0, X, N,    2, 16,   -1,   0, 0,     2, 0.5f, 0, 0, GC},  // E_GhostBoss_W
    {27, 16, 16,  8,   8, 4,        100,     1,  0, X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, GC},  // E_GhostZako4_W
    {28, 16, 16,  8,   8, 2,        1000,    3,  0, X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, GC},  // E_GhostZako5_W
    {29, 16, 16,  8,   8, 0,        100,     1,  0, I, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_Gradius_HatchZako_W
    {30, 16, 16,  8,   8, 0,        100,     1,  0, I, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_Gradius_Zako_W
    {31,  8, 32,  4,  16, 65535,    10,      0,  0, I, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_Beam_W
    {32, 16, 16,  8,   8, 16,       400,     1, 22, I, ABCD, 0, 0,    0,    2, 0,     0, 0,    0, 0, 0},  // E_Tetris_W
    {33,  8, 32,  4,  16, 32,       100,     1, 22, X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_SenkoroMissile_W
    {34,  8,  8,  4,   4, 0.1f,     100,     1,  0, X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_EspRadeBullet_W
    {35, 32, 32, 16,  16, 32,       5000,    2, 24, X, ABCD, 0, 0,    0,    0, 0,     0, 0,   16, 0, 0},  // E_S2MiddleBoss_W
    {36, 16, 16,  8,   8, 3,        400,     3, 21, I, N,    0, 4,    0,    0, 0,     0, 0,    0, 0, 0},  // E_ReverseWing_Y
    {37, 16, 16,  8,   8, 16,       400,     3, 21, I, N,    0, 0.5f, 0,    0, 0,     0, 0,    0, 0, 0},  // E_SquareBlock_Y
    {38, 16, 16,  8,   8, 6,        400,     3, 21, I, N,    0, 0,    0,    1, 0,     0, 0,   60, 0, 0},  // E_PopHoming_Y
    {39, 16, 16,  8,   8, 20,       400,     3, 21, I, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_NearingBall_Y
    {40, 16, 16,  8,   8, 12,       800,     3, 21, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_HorizonSlide_Y
    {41, 16, 16,  8,   8, 4,        400,     3, 21, X, B,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_AntiBullet_Y
    {42, 16, 16,  8,   8, 16,       10,      3, 21, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_AntiBullet_Blast_Y
    {43, 16, 16,  8,   8, 9,        400,     3, 21, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_StopCharge_Y
    {44, 16, 16,  8,   8, 10,       400,     3, 21, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_Homing_Y
    {45, 16, 16,  8,   8, 5,        800,     3, 21, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_ObliqueSlide_Y
    {46, 16, 16,  8,   8, 3,        800,     3, 21, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_BackAttack_Y
    {47, 32, 32, 16,  16, 56,       800,     3, 21, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_Split_Large_Y
    {48, 16, 16,  8,   8, 7,        400,     3, 21, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 8, GL},  // E_Split_Middle_Y
    {49,  8,  8,  5,   5, 3,        10,      1,  0, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 4, GL},  // E_Split_Small_Y
    {50, 16, 16,  8,   8, 5,        400,     3, 21, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_Bound_Y
    {51, 16, 16,  8,   8, 4,        100,     3, 21, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_ZanacBall_Y
    {52, 16, 16,  8,   8, 256,      0,       3,  0, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_ZanacIcon_Y
    {53, 16, 16,  8,   8, 16,       0,       3, 31, X, AC,   0, -2,   0.05f, 0, 0,    0, 0,    0, 0, 0},  // E_TwinBee_Bell_Y
    {54, 32, 32, 16,  16, 64,       1600,    4, 22, I, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_3Cannon_B
    {55, 16, 32,  8,  12, 64,       1600,    4,  0, I, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_RudeBreaker_MiddleBoss_B
    {56, 16, 64,  8,  32, 32,       1600,    3,  0, I, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_RudeBreaker_MiddleBoss_Parts_B
    {57, 32, 32, 16,  16, 64,       1600,    4, 22, I, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_UFO_B
    {58, 16, 16,  8,   8, 0,        10,      1,  0, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, GL},  // E_UFO_Bit_B
    {59, 32, 32, 16,  16, 8,        1600,    4, 22, I, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_Shield_B
    {60, 16, 16,  8,   8, 16,       400,     3, 23, I, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_Shield_Slave_B
    {61, 32, 32, 16,  16, 24,       1600,    4, 22, I, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_Arms_B
    {62, 16, 16,  8,   8, 8,        100,     3, 23, I, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_Arms_Slave_B
    {63, 96, 64,  8,   8, 64,       100000,  0, 24, I, N,    0, 0,    0,    0, 0,     0, 0,   60, 0, 0},  // E_Stage1_Boss
    {64, 64, 64, 24,  24, 64,       150000,  0, 24, X, ABCD, 0, 0,    0,    0, 0,     2, 0,    0, 0, 0},  // E_Stage2_Boss
    {65, 16, 16,  8,   8, 10032,    50000,   0, 22, X, AB,   0, 0,    0,    0, 2,     0, 0,    0, 0, 0},  // E_ReccaSnake_Head
    {66, 16, 16,  8,   8, 65535,    1000,    0,  0, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_ReccaSnake_Body
    {67, 32, 32, 16,  16, 16,       1000,    3, 22, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_Recca_1
    {68, 32, 32, 16,  16, 16,       1000,    3, 22, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_Recca_2
    {69, 32, 32, 16,  16, 16,       1000,    3, 22, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_Recca_3
    {70, 32, 32, 16,  16, 16,       1000,    3, 22, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_Recca_4
    {71, 32, 32, 16,  16, 16,       1000,    3, 22, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_Recca_5
    {72, 32, 32, 16,  16, 32,       200000,  0, 24, X, ABCD, 0, 0,    0,    1, 16384, 5, 0,   30, 0, 0},  // E_Stage5_Boss
    {73, 32, 32, 112, 32, 4096,     500000,  0, 24, X, ABCD, 0, 0,    0,    0, 0,     0, 0,   30, 0, 0},  // E_Stage6_Boss
    {74, 32, 32, 16,  16, 4128,     100000, 24, 24, X, ABCD, 0, 0,    0,    1, 16384, 1, 0,   60, 0, 0},  // E_Stage7_Boss
    {75, 16, 16,  8,   8, 16,       30,      2, 23, X, AB,   0, 0,    0,    1, 0,     2, 0,    0, 0, AIM},  // E_RedMagic_Big
    {76,  8,  8,  4,   4, 1,        30,      1, 23, X, ABCD, 0, 0,    0,    1, 0,     0, 0,    0, 0, AIM},  // E_RedMagic_Small
    {77,  8,  8,  4,   4, 1,        30,      1, 23, X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_Hamon
    {78, 32, 32, 16,  16, 3,        30,      1, 23, X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_ScarletMeister
    {79, 16, 16,  8,   8, 1,        30,      1, 23, X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_WashMachine
    {80, 32, 32, 16,  16, 8,        500000,  3, 24, X, ABCD, 0, 0,    0,    0, 0,     0, 0,   60, 0, 0},  // E_Stage9_Boss
    {81, 16, 16,  8,   8, 1,        100,     2,  0, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_Star_G
    {82, 16, 16,  8,   8, 32,       100,     3, 23, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_ZeguOr_G
    {83, 16, 16,  8,   8, 32,       100,     3, 23, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_ZeguBr_G
    {84, 16, 16,  8,   8, 4,        840,     2, 23, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_S2GE_G
    {85, 16, 16,  8,   8, 4,        880,     3, 21, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_S28Coin_G
    {86, 16, 16,  8,   8, 8,        400,     3, 23, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_ZanacFortress1_G
    {87, 16, 16,  8,   8, 8,        400,     3, 23, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_ZanacFortress2_G
    {88, 16, 16,  8,   8, 8,        400,     3, 23, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_ZanacFortress3_G
    {89, 16, 16,  8,   8, 8,        400,     3, 23, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_ZanacFortress4_G
    {90, 16, 16,  8,   8, 65535,    10,      0, 22, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_InvisibleWall_G
    {91, 32, 32, 16,  16, 16,       1000,    3,  1, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_Gradius_Hatch_G
    {92, 16, 16,  8,   8, 1,        400,     3,  1, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_Gradius_Battery_G
    {93, 16, 16,  8,   8, 16,       400,    33, 23, X, A,    0, 1,    0,    0, 0,     0, 0,   30, 0, 0},  // E_AliceClone_G
    {94, 16, 16,  8,   8, 8,        100,     3, 23, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_SF_Panel_G
    {95, 16, 16,  8,   8, 8,        100,     3, 23, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_SF_SmallBlock_G
    {96, 32, 32, 16,  16, 12,       400,     3, 23, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},  // E_SF_BigBlock_G
};

const EnemyRow* FindEnemyRow(int32_t typeId) {
    if (typeId < kFirstEnemyId || typeId > kLastEnemyId) return nullptr;
    return &kEnemyTable[typeId - kFirstEnemyId];
}
