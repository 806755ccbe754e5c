// Constructor values of every player weapon, one row per type id in id order. The variant
// column names creation arguments a class reads as a variant instead of motion (kept in angle).
#include "game/player/weapon_catalogue.h"

namespace {
using M = ShotMotion;
using V = ShotVariant;
}  // namespace

const WeaponEntry kWeaponTable[kWeaponCount] = {
    // id   w    h  hw  hh         hp      maxHp    power  motion            angle speed mode accel variant
    {140,   8,   8,  4,  4,      0.0f,      0.0f,    1.0f, M::kSpeedAngle,          0, 0.0f, 0, 0.0f, V::kNone},  // S_Gunnac
    {141,   8,  16,  8,  8,      0.0f,      0.0f,    1.0f, M::kSpeedAngle,          0, 0.0f, 0, 0.0f, V::kNone},  // S_ZanacA
    {142,   8,  16,  8,  8,      0.0f,      0.0f,    1.0f, M::kSpeedAngle,          0, 0.0f, 0, 0.0f, V::kNone},  // S_ZanacB
    {143,  16,  16, 16, 16,  10000.0f,  10000.0f,    0.6f, M::kSpeedAngle,          0, 0.0f, 0, 0.0f, V::kNone},  // S_SayakaCap
    {144,  16,  16, 16, 16,     60.0f,     60.0f,    1.3f, M::kSpeedAngle,          0, 0.0f, 0, 0.0f, V::kNone},  // S_Kavlet
    {145,  16,  16,  8,  8,    256.0f,    256.0f,    1.0f, M::kSpeedAngle,          0, 0.0f, 0, 0.0f, V::kNone},  // S_HikaruLetter
    {146,  16,  16,  8,  8,      0.0f,      0.0f,    0.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Zanac6Shot
    {147,  16,  16,  8,  8,  65535.0f,  65535.0f,  0.275f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Gunnac4
    {148,  16,  16,  8,  8,      0.0f,      0.0f,    1.0f, M::kSpeedFixedAngle, 49152, 0.0f, 0, 0.0f, V::kNone},  // S_Gunnac3
    {149,  16,  16, 16, 16,      0.0f,      0.0f,    1.0f, M::kSpeedAngle,          0, 0.0f, 0, 0.0f, V::kNone},  // S_ReccaV
    {150,  16,  16, 16, 16,      0.0f,      0.0f,    1.0f, M::kSpeedAngle,          0, 0.0f, 0, 0.0f, V::kNone},  // S_ReccaF
    {151,  16,  16, 12, 12,      0.0f,      0.0f,    1.0f, M::kSpeedAngle,          0, 0.0f, 0, 0.0f, V::kNone},  // S_ReccaB
    {152,   8,   8,  4,  4,      0.0f,      0.0f,    1.0f, M::kSpeedAngle,          0, 0.0f, 1, 0.0f, V::kNone},  // S_ReccaH
    {153,   8,   8,  6,  6,     64.0f,     64.0f,    1.0f, M::kSpeedAngle,          0, 0.0f, 0, 0.0f, V::kNone},  // S_ReccaL
    {154,   8,   8,  6,  6,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_ReccaL_Trace
    {155,  16,  16,  4,  4,  10000.0f,  10000.0f,    0.0f, M::kAngle,               0, 0.0f, 0, 0.0f, V::kNone},  // S_ReccaOptionF
    {156,  16,  16,  4,  4,  10000.0f,  10000.0f,    0.0f, M::kFixedAngle,      49152, 0.0f, 0, 0.0f, V::kNone},  // S_ReccaOptionS
    {157,  16,  16,  4,  4,  10000.0f,  10000.0f,    0.0f, M::kAngle,               0, 0.0f, 0, 0.0f, V::kNone},  // S_ReccaOptionR
    {158,  16,  16,  4,  4,  10000.0f,  10000.0f,    0.0f, M::kAngle,               0, 0.0f, 0, 0.0f, V::kNone},  // S_ReccaOptionB
    {159,  16,  16,  4,  4,  10000.0f,  10000.0f,    0.0f, M::kAngle,               0, 0.0f, 0, 0.0f, V::kNone},  // S_ReccaOptionC
    {160,   8,   8,  8,  8,      0.0f,      0.0f,    1.0f, M::kAngle,               0, 0.0f, 0, 0.0f, V::kNone},  // S_ReccaOptionShot
    {161, 128, 128, 64, 64,   1024.0f,   1024.0f,    0.4f, M::kAngle,               0, 0.0f, 0, 0.0f, V::kNone},  // S_ReccaBomber
    {162,   8,   8,  4,  4,  10000.0f,  10000.0f,    0.0f, M::kAngle,               0, 0.0f, 0, 0.0f, V::kNone},  // S_ReccaBarrier
    {163,   8,   8,  8,  8,    256.0f,    256.0f,    1.0f, M::kSpeedAngle,          0, 0.0f, 0, 0.0f, V::kNone},  // S_PCBlast
    {164,   8,   8,  4,  4,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_RBShot
    {165,   8,  16,  6,  6,  10000.0f,  10000.0f,    0.1f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_RBOptionV
    {166,   8,  16,  6, 10,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_RBShotV
    {167,   8,   8,  8,  8,      1.1f,      1.1f,    8.0f, M::kSpeedAngle,          0, 0.0f, 1, 0.0f, V::kNone},  // S_RBShotVR
    {168,   8,  16,  8,  8,  10000.0f,  10000.0f,    0.1f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_RBOptionL
    {169,  16,  16,  8,  8,  10000.0f,  10000.0f,    0.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_RBOptionLShield
    {170,   8,   8, 12,  6,    256.0f,    256.0f,    0.5f, M::kFixedAngle,          1, 0.0f, 0, 0.0f, V::kNone},  // S_RBShotL
    {171,   8,   8,  6,  6,    256.0f,    256.0f,    0.5f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_RBShotLTrace
    {172,  16,  16,  6,  6,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_RBShotLR
    {173,   8,  16,  6,  6,  10000.0f,  10000.0f,    0.1f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_RBOptionM
    {174,   8,  16,  8,  8,      0.0f,      0.0f,    4.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_RBShotM
    {175,   8,   8,  4,  4,      0.0f,      0.0f,   1.25f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_RBShotMR
    {176,  16,  16,  8,  8,  10000.0f,  10000.0f,   0.25f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_RBShotMRBlast
    {177,   8,   8,  2,  2,      0.0f,      0.0f,   64.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_InvaderShot
    {178,  16,  16,  6,  3,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Zapper
    {179,  16,  16, 16, 16,    256.0f,    256.0f,   64.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Blaster_Blast
    {180,  16,   8,  6,  4,      0.0f,      0.0f,    1.5f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_StarForceShot
    {181,   8,   8,  6,  6,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_StarSoldierShot
    {182,   8,   8,  4,  4,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_ShinjinruiShot
    {183,   8,   8,  3,  4,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_GradiusShot
    {184,   8,   8,  8,  4,  10000.0f,  10000.0f,    0.5f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_GradiusLaser
    {185,   8,   8,  4,  4,      0.0f,      0.0f,    2.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_GradiusMissile
    {186,  16,  16,  8,  8,     31.0f,     31.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_GradiusShield
    {187,   8,   8,  4,  4,      0.0f,      0.0f,    2.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Gradius2Missile
    {188,  16,   8,  8,  4,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_GradiusRipple
    {189,  16,  24,  8, 12,      4.0f,      4.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_GradiusForceField
    {190,   8,  16,  3,  8,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_SASpriteShot
    {191,  16,  16,  8,  8,    128.0f,    255.0f,   0.25f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_SASprite
    {192,   8,  16,  3,  8,      4.0f,      4.0f,   16.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_SASpriteBlast
    {193,  16,  16,  8,  8,    256.0f,    256.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_SALaserHead
    {194,  16,  16,  8,  8,    256.0f,    256.0f,   0.25f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_SALaserTail
    {195,   8,   8,  4,  4,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_BomberKing_Beam
    {196,  48,  48, 24, 24,  65535.0f,  65535.0f,    2.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_BomberKing_Blast
    {197,  16,  16,  8,  8,  65535.0f,  65535.0f,   16.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_BomberKing_Missile
    {198,  32,   8, 16,  4,  65535.0f,  65535.0f,    0.5f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Quinty_Panel
    {199,   8,   8,  6,  6,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Kame_Ika
    {200,   8,   8,  6,  6,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Kame_Tako
    {201,   8,   8,  6,  6,      0.0f,      0.0f,   16.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Kame_Kurage
    {202,   8,   8,  6,  6,  65535.0f,  65535.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Kame_Umihebi_Bit
    {203,   8,   8,  6,  6,      0.0f,      0.0f,    0.2f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Kame_Umihebi_Shot
    {204,   8,   8,  6,  6,      0.0f,      0.0f,    0.4f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Kame_Shinju
    {205,   8,   8,  6,  6,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Kame_STG
    {206,  16,  16,  8,  8,     12.0f,     12.0f,    4.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kFromVx},  // S_FZ_Poppoes
    {207,   8,   8,  4,  4,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kFromYThousands},  // S_FZ_Poppoes_Shot
    {208,   8,   8,  4,  4,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kFromAcceleration},  // S_FZ_Stanparon_Shot
    {209,   8,   8,  4,  4,  65535.0f,  65535.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_FZ_Kobabeach_Shot
    {210,   8,  16,  4,  8,  65535.0f,  65535.0f,    0.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_FZ_Kobabeach
    {211,   8,   8,  4,  4,      0.0f,      0.0f,    4.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_FZ_Boranda_Seed
    {212,  16,  16,  8,  8,  65535.0f,  65535.0f,    0.2f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_FZ_Boranda_Petal
    {213,   8,   8,  4,  4,      0.0f,      0.0f,    0.5f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_FZ_Opaopa_Shot
    {214,   8,   8,  4,  4,      0.0f,      0.0f,    4.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_FZ_Opaopa_Bomb
    {215,   8,   8,  3,  3,      0.0f,      0.0f,    0.5f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_FZ_Opaopa_7way
    {216,  16,  16,  8,  8,  65535.0f,  65535.0f,    4.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_FZ_Opaopa_HeavyBomb
    {217,   8,  16,  4,  8,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kFromDirection},  // S_CF_NormalShot
    {218,   8,  16,  4,  8,      0.0f,      0.0f,    2.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kFromAx},  // S_CF_SinShot
    {219,  16,  16,  8,  8,  65535.0f,  65535.0f,    0.1f, M::kNone,                0, 0.0f, 0, 0.0f, V::kBarrierFromVx},  // S_CF_Barrier
    {220,  16,   8,  8,  4,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_CF_HomingLaser
    {221,  16,  16,  8,  8,  65535.0f,  65535.0f,    0.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_BM_Bomb
    {222,  16,  16,  8,  8,  65535.0f,  65535.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kHorizontalFlag},  // S_BM_Blast
    {223,  16,  16,  8,  8,      0.0f,      0.0f,   10.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Makaijima_Barrel
    {224,  16,  16,  8,  8,     16.0f,     16.0f,    0.4f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Meikyuujima_IceWall
    {225,  16,  16,  8,  8,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Meikyuujima_Shot
    {226,  16,  16,  8,  8,  65535.0f,  65535.0f,    0.1f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Meikyuujima_IceCube
    {227,   8,   8,  4,  4,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Rockman_RockBuster
    {228,  16,  16,  8,  8,  65535.0f,  65535.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Rockman_BombBlast
    {229,  16,  16,  8,  8,  65535.0f,  65535.0f,    0.5f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Rockman_Elec_Side
    {230,  16,  16,  8,  8,  65535.0f,  65535.0f,    0.5f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Rockman_Elec_Front
    {231,  16,  16,  8,  8,  65535.0f,  65535.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Rockman_Guts
    {232,  16,  16,  8,  8,  65535.0f,  65535.0f,    0.5f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Rockman_Ice
    {233,  16,  16,  8,  8,  65535.0f,  65535.0f,    1.0f, M::kSpeedFixedAngle, 40960, 3.0f, 1, 0.0f, V::kNone},  // S_Rockman_Cut
    {234,  16,  16,  8,  8,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Rockman_Fire
    {235,  16,  16,  8,  8,  65535.0f,  65535.0f,    4.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Rockman_Fire_Option
    {236,  16,  16,  8,  8,  65535.0f,  65535.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_InvisibleShot
    {237,  16,  16,  8,  8,      0.0f,      0.0f,    0.5f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_DG_Shirodama
    {238,   8,  48,  4, 24,  65535.0f,  65535.0f,    0.1f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_DG_Laser
    {239,  32,  16, 16,  8,  65535.0f,  65535.0f,    0.1f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_DG_Wave
    {240,  16,  16,  8,  8,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_DG_Missile
    {241,  24,  32, 12, 16,      3.0f,      3.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_DG_Arm
    {242,   8,   8,  3,  4,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_RTYPELEO_Shot
    {243,   8,   8,  4,  4,  65535.0f,  65535.0f,   0.25f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_RTYPELEO_Option
    {244,   8,   8,  4,  4,  65535.0f,  65535.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_RTYPELEO_Red_Laser
    {245,   8,  16,  4,  8,      4.0f,      4.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_RTYPELEO_Red_Shot
    {246,  16,  16,  8,  8,  65535.0f,  65535.0f,   0.25f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_RTYPE_Force
    {247,  32,   8, 16,  4,      8.0f,      8.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_RTYPE_Laser
    {248,  16,  16,  8,  8,      0.0f,      0.0f,    4.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_RTYPELEO_Missile
    {249,   8,   8,  4,  4,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_GC_Shot
    {250,  32,  32, 40, 40,  65535.0f,  65535.0f,    4.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_BH_Reflect
    {251,  16,  16,  8,  8,      4.0f,      4.0f,   16.0f, M::kAngle,               0, 0.0f, 1, 0.1f, V::kNone},  // S_BH_Shot
    {252,  16,   8,  8,  8,      0.0f,      0.0f,    0.8f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_BS_Shot
    {253,  24,  24, 16, 16,      0.0f,      0.0f,    4.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_BS_ChargeHead
    {254,   8,   8,  4,  4,  65535.0f,  65535.0f,    0.2f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_BS_ChargeBody
    {255,  32,  32, 24, 24,  65535.0f,  65535.0f,    0.5f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_BS_ChargeBlast
    {256,   8,   8,  2,  4,      0.0f,      0.0f,    0.2f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_HSG_Shot
    {257,  16,  24,  8, 12,  65535.0f,  65535.0f,    0.5f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_HSG_Chariot
    {258,  16,  16,  8,  8,      0.0f,      0.0f,   0.34f, M::kAngle,               0, 0.0f, 0, 0.0f, V::kNone},  // S_HSG_ChariotShot
    {259,  32,  32, 16, 16,     32.0f,     32.0f,    4.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_HSG_DisCharge
    {260,   8,   8,  4,  4,      0.0f,      0.0f,    8.0f, M::kAngle,               0, 0.0f, 0, 0.0f, V::kNone},  // S_DOGMA_RadicalTriger
    {261,   8,   8,  4,  4,      0.0f,      0.0f,    1.0f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Hisouten_Iku6CShot
    {262,  16,  16,  8,  8,  65535.0f,  65535.0f,    0.2f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Hisouten_Ryuunome
    {263,  16,  16,  8,  8,  65535.0f,  65535.0f,   0.25f, M::kNone,                0, 0.0f, 0, 0.0f, V::kNone},  // S_Hisouten_Seidenyuudoudan
    {264,  16,  16,  8,  8,  65535.0f,  65535.0f,    0.2f, M::kAngle,               0, 0.0f, 1, 0.0f, V::kNone},  // S_Hisouten_Inabikari
    {265,   8,   8,  8,  8,      0.0f,      0.0f,    1.0f, M::kFixedAngle,          0, 0.0f, 0, 0.0f, V::kNone},  // S_Hattori_Shuriken
    {266,  16,  16, 16, 16,  65535.0f,  65535.0f,    1.0f, M::kFixedAngle,          0, 0.0f, 0, 0.0f, V::kNone},  // S_Hattori_FireBall
};

const WeaponEntry& WeaponRow(int32_t typeId) { return kWeaponTable[typeId - kFirstWeaponId]; }
