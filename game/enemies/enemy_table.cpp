#include "game/enemies/enemy_table.h"
#include "game/world/class_rows.h"
#include "game/world/sound_ids.h"

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
constexpr EnemyRow kEnemyTable[kEnemyRowCount] = {
    // id                                        w   h  hw   hh  hp        score    destroy sound     hit sound         x  args  vx vy    ay    mode angle speed spdAcc inv place extra
    {type_id::E_Coin_W,                         16, 16,  8,   8, 1,        100,     sound::kBlast1,   sound::kNone,     I, N,    0, 0,    0,    1, 16384, 4, 0,    0, 0, 0},
    {type_id::E_Box_W,                          16, 16,  8,   8, 1,        100,     sound::kBlast1,   sound::kNone,     I, N,    0, 1,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_IronBall_W,                     16, 16,  8,   8, 1,        100,     sound::kBlast1,   sound::kNone,     I, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_Circle_W,                       16, 16,  8,   8, 1,        100,     sound::kBlast1,   sound::kNone,     I, N,    0, 0,    0,    1, 16384, 8, 0,    0, 0, 0},
    {type_id::E_DropCircle_W,                   16, 16,  8,   8, 1,        100,     sound::kBlast1,   sound::kNone,     I, N,    0, 0,    0,    1, 16384, 4, 0,    0, 0, 0},
    {type_id::E_ZigzagX_W,                      16, 16,  8,   8, 1,        100,     sound::kBlast1,   sound::kNone,     I, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_EdgeMove4Circle_W,              16, 16,  8,   8, 1,        100,     sound::kBlast1,   sound::kNone,     I, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_RefrectWall6_W,                 16, 16,  8,   8, 1,        100,     sound::kBlast1,   sound::kNone,     I, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_SmallMissile_W,                  8, 16,  8,   8, 1,        10,      sound::kBlast1,   sound::kNone,     X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_BigMissile_W,                   16, 16,  8,   8, 0,        10,      sound::kBlast1,   sound::kNone,     X, AB,   0, 0,    0,    1, 0,     0, 0,    0, 0, AIM | LEN},
    {type_id::E_WallBullet_W,                   16, 16,  8,   8, 64,       100,     sound::kBlast1,   sound::kNone,     X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_DestroyableBullet_W,            16, 16,  8,   8, 0.1f,     10,      sound::kBlast1,   sound::kNone,     X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_DestroyableBullet2_W,            8,  8,  4,   4, 0.1f,     30,      sound::kBlast1,   sound::kNone,     X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_DestroyableBullet3_W,           16, 16,  8,   8, 0.1f,     10,      sound::kBlast1,   sound::kNone,     X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_DestroyableBullet4_W,            8,  8,  4,   4, 0.1f,     10,      sound::kBlast1,   sound::kNone,     X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_GhostZako1_W,                   16, 16,  8,   8, 1,        100,     sound::kBlast1,   sound::kNone,     X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, GC},
    {type_id::E_GhostZako2_W,                   16, 16,  8,   8, 6,        1000,    sound::kBlast2,   sound::kNone,     X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, GC},
    {type_id::E_GhostZako3_W,                   16, 16,  8,   8, 1,        100,     sound::kBlast1,   sound::kNone,     X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, GC},
    {type_id::E_GhostBoss_W,                    16, 16,  8,   8, 65535,    1000000, sound::kBlast3,   sound::kNone,     X, N,    2, 16,   -1,   0, 0,     2, 0.5f, 0, 0, GC},
    {type_id::E_GhostZako4_W,                   16, 16,  8,   8, 4,        100,     sound::kBlast1,   sound::kNone,     X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, GC},
    {type_id::E_GhostZako5_W,                   16, 16,  8,   8, 2,        1000,    sound::kBlast3,   sound::kNone,     X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, GC},
    {type_id::E_Gradius_HatchZako_W,            16, 16,  8,   8, 0,        100,     sound::kBlast1,   sound::kNone,     I, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_Gradius_Zako_W,                 16, 16,  8,   8, 0,        100,     sound::kBlast1,   sound::kNone,     I, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_Beam_W,                          8, 32,  4,  16, 65535,    10,      sound::kNone,     sound::kNone,     I, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_Tetris_W,                       16, 16,  8,   8, 16,       400,     sound::kBlast1,   sound::kShotHit2, I, ABCD, 0, 0,    0,    2, 0,     0, 0,    0, 0, 0},
    {type_id::E_SenkoroMissile_W,                8, 32,  4,  16, 32,       100,     sound::kBlast1,   sound::kShotHit2, X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_EspRadeBullet_W,                 8,  8,  4,   4, 0.1f,     100,     sound::kBlast1,   sound::kNone,     X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_S2MiddleBoss_W,                 32, 32, 16,  16, 32,       5000,    sound::kBlast2,   sound::kShotHit4, X, ABCD, 0, 0,    0,    0, 0,     0, 0,   16, 0, 0},
    {type_id::E_ReverseWing_Y,                  16, 16,  8,   8, 3,        400,     sound::kBlast3,   sound::kShotHit1, I, N,    0, 4,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_SquareBlock_Y,                  16, 16,  8,   8, 16,       400,     sound::kBlast3,   sound::kShotHit1, I, N,    0, 0.5f, 0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_PopHoming_Y,                    16, 16,  8,   8, 6,        400,     sound::kBlast3,   sound::kShotHit1, I, N,    0, 0,    0,    1, 0,     0, 0,   60, 0, 0},
    {type_id::E_NearingBall_Y,                  16, 16,  8,   8, 20,       400,     sound::kBlast3,   sound::kShotHit1, I, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_HorizonSlide_Y,                 16, 16,  8,   8, 12,       800,     sound::kBlast3,   sound::kShotHit1, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_AntiBullet_Y,                   16, 16,  8,   8, 4,        400,     sound::kBlast3,   sound::kShotHit1, X, B,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_AntiBullet_Blast_Y,             16, 16,  8,   8, 16,       10,      sound::kBlast3,   sound::kShotHit1, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_StopCharge_Y,                   16, 16,  8,   8, 9,        400,     sound::kBlast3,   sound::kShotHit1, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_Homing_Y,                       16, 16,  8,   8, 10,       400,     sound::kBlast3,   sound::kShotHit1, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_ObliqueSlide_Y,                 16, 16,  8,   8, 5,        800,     sound::kBlast3,   sound::kShotHit1, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_BackAttack_Y,                   16, 16,  8,   8, 3,        800,     sound::kBlast3,   sound::kShotHit1, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_Split_Large_Y,                  32, 32, 16,  16, 56,       800,     sound::kBlast3,   sound::kShotHit1, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_Split_Middle_Y,                 16, 16,  8,   8, 7,        400,     sound::kBlast3,   sound::kShotHit1, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 8, GL},
    {type_id::E_Split_Small_Y,                   8,  8,  5,   5, 3,        10,      sound::kBlast1,   sound::kNone,     X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 4, GL},
    {type_id::E_Bound_Y,                        16, 16,  8,   8, 5,        400,     sound::kBlast3,   sound::kShotHit1, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_ZanacBall_Y,                    16, 16,  8,   8, 4,        100,     sound::kBlast3,   sound::kShotHit1, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_ZanacIcon_Y,                    16, 16,  8,   8, 256,      0,       sound::kBlast3,   sound::kNone,     X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_TwinBee_Bell_Y,                 16, 16,  8,   8, 16,       0,       sound::kBlast3,   sound::kShotBell, X, AC,   0, -2,   0.05f, 0, 0,    0, 0,    0, 0, 0},
    {type_id::E_3Cannon_B,                      32, 32, 16,  16, 64,       1600,    sound::kBlast4,   sound::kShotHit2, I, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_RudeBreaker_MiddleBoss_B,       16, 32,  8,  12, 64,       1600,    sound::kBlast4,   sound::kNone,     I, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_RudeBreaker_MiddleBoss_Parts_B, 16, 64,  8,  32, 32,       1600,    sound::kBlast3,   sound::kNone,     I, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_UFO_B,                          32, 32, 16,  16, 64,       1600,    sound::kBlast4,   sound::kShotHit2, I, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_UFO_Bit_B,                      16, 16,  8,   8, 0,        10,      sound::kBlast1,   sound::kNone,     X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, GL},
    {type_id::E_Shield_B,                       32, 32, 16,  16, 8,        1600,    sound::kBlast4,   sound::kShotHit2, I, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_Shield_Slave_B,                 16, 16,  8,   8, 16,       400,     sound::kBlast3,   sound::kShotHit3, I, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_Arms_B,                         32, 32, 16,  16, 24,       1600,    sound::kBlast4,   sound::kShotHit2, I, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_Arms_Slave_B,                   16, 16,  8,   8, 8,        100,     sound::kBlast3,   sound::kShotHit3, I, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_Stage1_Boss,                    96, 64,  8,   8, 64,       100000,  sound::kNone,     sound::kShotHit4, I, N,    0, 0,    0,    0, 0,     0, 0,   60, 0, 0},
    {type_id::E_Stage2_Boss,                    64, 64, 24,  24, 64,       150000,  sound::kNone,     sound::kShotHit4, X, ABCD, 0, 0,    0,    0, 0,     2, 0,    0, 0, 0},
    {type_id::E_ReccaSnake_Head,                16, 16,  8,   8, 10032,    50000,   sound::kNone,     sound::kShotHit2, X, AB,   0, 0,    0,    0, 2,     0, 0,    0, 0, 0},
    {type_id::E_ReccaSnake_Body,                16, 16,  8,   8, 65535,    1000,    sound::kNone,     sound::kNone,     X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_Recca_1,                        32, 32, 16,  16, 16,       1000,    sound::kBlast3,   sound::kShotHit2, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_Recca_2,                        32, 32, 16,  16, 16,       1000,    sound::kBlast3,   sound::kShotHit2, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_Recca_3,                        32, 32, 16,  16, 16,       1000,    sound::kBlast3,   sound::kShotHit2, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_Recca_4,                        32, 32, 16,  16, 16,       1000,    sound::kBlast3,   sound::kShotHit2, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_Recca_5,                        32, 32, 16,  16, 16,       1000,    sound::kBlast3,   sound::kShotHit2, X, AB,   0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_Stage5_Boss,                    32, 32, 16,  16, 32,       200000,  sound::kNone,     sound::kShotHit4, X, ABCD, 0, 0,    0,    1, 16384, 5, 0,   30, 0, 0},
    {type_id::E_Stage6_Boss,                    32, 32, 112, 32, 4096,     500000,  sound::kNone,     sound::kShotHit4, X, ABCD, 0, 0,    0,    0, 0,     0, 0,   30, 0, 0},
    {type_id::E_Stage7_Boss,                    32, 32, 16,  16, 4128,     100000,  sound::kShotHit4, sound::kShotHit4, X, ABCD, 0, 0,    0,    1, 16384, 1, 0,   60, 0, 0},
    {type_id::E_RedMagic_Big,                   16, 16,  8,   8, 16,       30,      sound::kBlast2,   sound::kShotHit3, X, AB,   0, 0,    0,    1, 0,     2, 0,    0, 0, AIM},
    {type_id::E_RedMagic_Small,                  8,  8,  4,   4, 1,        30,      sound::kBlast1,   sound::kShotHit3, X, ABCD, 0, 0,    0,    1, 0,     0, 0,    0, 0, AIM},
    {type_id::E_Hamon,                           8,  8,  4,   4, 1,        30,      sound::kBlast1,   sound::kShotHit3, X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_ScarletMeister,                 32, 32, 16,  16, 3,        30,      sound::kBlast1,   sound::kShotHit3, X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_WashMachine,                    16, 16,  8,   8, 1,        30,      sound::kBlast1,   sound::kShotHit3, X, ABCD, 0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_Stage9_Boss,                    32, 32, 16,  16, 8,        500000,  sound::kBlast3,   sound::kShotHit4, X, ABCD, 0, 0,    0,    0, 0,     0, 0,   60, 0, 0},
    {type_id::E_Star_G,                         16, 16,  8,   8, 1,        100,     sound::kBlast2,   sound::kNone,     X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_ZeguOr_G,                       16, 16,  8,   8, 32,       100,     sound::kBlast3,   sound::kShotHit3, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_ZeguBr_G,                       16, 16,  8,   8, 32,       100,     sound::kBlast3,   sound::kShotHit3, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_S2GE_G,                         16, 16,  8,   8, 4,        840,     sound::kBlast2,   sound::kShotHit3, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_S28Coin_G,                      16, 16,  8,   8, 4,        880,     sound::kBlast3,   sound::kShotHit1, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_ZanacFortress1_G,               16, 16,  8,   8, 8,        400,     sound::kBlast3,   sound::kShotHit3, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_ZanacFortress2_G,               16, 16,  8,   8, 8,        400,     sound::kBlast3,   sound::kShotHit3, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_ZanacFortress3_G,               16, 16,  8,   8, 8,        400,     sound::kBlast3,   sound::kShotHit3, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_ZanacFortress4_G,               16, 16,  8,   8, 8,        400,     sound::kBlast3,   sound::kShotHit3, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_InvisibleWall_G,                16, 16,  8,   8, 65535,    10,      sound::kNone,     sound::kShotHit2, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_Gradius_Hatch_G,                32, 32, 16,  16, 16,       1000,    sound::kBlast3,   sound::kBlast1,   X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_Gradius_Battery_G,              16, 16,  8,   8, 1,        400,     sound::kBlast3,   sound::kBlast1,   X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_AliceClone_G,                   16, 16,  8,   8, 16,       400,     sound::kEek1,     sound::kShotHit3, X, A,    0, 1,    0,    0, 0,     0, 0,   30, 0, 0},
    {type_id::E_SF_Panel_G,                     16, 16,  8,   8, 8,        100,     sound::kBlast3,   sound::kShotHit3, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_SF_SmallBlock_G,                16, 16,  8,   8, 8,        100,     sound::kBlast3,   sound::kShotHit3, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
    {type_id::E_SF_BigBlock_G,                  32, 32, 16,  16, 12,       400,     sound::kBlast3,   sound::kShotHit3, X, N,    0, 0,    0,    0, 0,     0, 0,    0, 0, 0},
};
static_assert(RowsRunFrom(kEnemyTable, kFirstEnemyId));

const EnemyRow* FindEnemyRow(int32_t typeId) {
    if (typeId < kFirstEnemyId || typeId > kLastEnemyId) return nullptr;
    return &kEnemyTable[typeId - kFirstEnemyId];
}
