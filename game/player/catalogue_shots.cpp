// The weapons whose families are still to be built: each its own class with the catalogue's
// constructor values and the shot base's behaviour, and no picture yet. A family that gets built
// takes its classes out of this list.
#include "game/player/shot.h"
#include "game/world/factory.h"

namespace {

class S_GradiusShot final : public CatalogueShot<183> { using CatalogueShot::CatalogueShot; };
class S_GradiusLaser final : public CatalogueShot<184> { using CatalogueShot::CatalogueShot; };
class S_GradiusMissile final : public CatalogueShot<185> { using CatalogueShot::CatalogueShot; };
class S_GradiusShield final : public CatalogueShot<186> { using CatalogueShot::CatalogueShot; };
class S_Gradius2Missile final : public CatalogueShot<187> { using CatalogueShot::CatalogueShot; };
class S_GradiusRipple final : public CatalogueShot<188> { using CatalogueShot::CatalogueShot; };
class S_GradiusForceField final : public CatalogueShot<189> { using CatalogueShot::CatalogueShot; };
class S_SASpriteShot final : public CatalogueShot<190> { using CatalogueShot::CatalogueShot; };
class S_SASprite final : public CatalogueShot<191> { using CatalogueShot::CatalogueShot; };
class S_SASpriteBlast final : public CatalogueShot<192> { using CatalogueShot::CatalogueShot; };
class S_SALaserHead final : public CatalogueShot<193> { using CatalogueShot::CatalogueShot; };
class S_SALaserTail final : public CatalogueShot<194> { using CatalogueShot::CatalogueShot; };
class S_BomberKing_Beam final : public CatalogueShot<195> { using CatalogueShot::CatalogueShot; };
class S_BomberKing_Blast final : public CatalogueShot<196> { using CatalogueShot::CatalogueShot; };
class S_BomberKing_Missile final : public CatalogueShot<197> { using CatalogueShot::CatalogueShot; };
class S_Quinty_Panel final : public CatalogueShot<198> { using CatalogueShot::CatalogueShot; };
class S_Kame_Ika final : public CatalogueShot<199> { using CatalogueShot::CatalogueShot; };
class S_Kame_Tako final : public CatalogueShot<200> { using CatalogueShot::CatalogueShot; };
class S_Kame_Kurage final : public CatalogueShot<201> { using CatalogueShot::CatalogueShot; };
class S_Kame_Umihebi_Bit final : public CatalogueShot<202> { using CatalogueShot::CatalogueShot; };
class S_Kame_Umihebi_Shot final : public CatalogueShot<203> { using CatalogueShot::CatalogueShot; };
class S_Kame_Shinju final : public CatalogueShot<204> { using CatalogueShot::CatalogueShot; };
class S_Kame_STG final : public CatalogueShot<205> { using CatalogueShot::CatalogueShot; };
class S_FZ_Poppoes final : public CatalogueShot<206> { using CatalogueShot::CatalogueShot; };
class S_FZ_Poppoes_Shot final : public CatalogueShot<207> { using CatalogueShot::CatalogueShot; };
class S_FZ_Stanparon_Shot final : public CatalogueShot<208> { using CatalogueShot::CatalogueShot; };
class S_FZ_Kobabeach_Shot final : public CatalogueShot<209> { using CatalogueShot::CatalogueShot; };
class S_FZ_Kobabeach final : public CatalogueShot<210> { using CatalogueShot::CatalogueShot; };
class S_FZ_Boranda_Seed final : public CatalogueShot<211> { using CatalogueShot::CatalogueShot; };
class S_FZ_Boranda_Petal final : public CatalogueShot<212> { using CatalogueShot::CatalogueShot; };
class S_FZ_Opaopa_Shot final : public CatalogueShot<213> { using CatalogueShot::CatalogueShot; };
class S_FZ_Opaopa_Bomb final : public CatalogueShot<214> { using CatalogueShot::CatalogueShot; };
class S_FZ_Opaopa_7way final : public CatalogueShot<215> { using CatalogueShot::CatalogueShot; };
class S_FZ_Opaopa_HeavyBomb final : public CatalogueShot<216> { using CatalogueShot::CatalogueShot; };
class S_BM_Bomb final : public CatalogueShot<221> { using CatalogueShot::CatalogueShot; };
class S_BM_Blast final : public CatalogueShot<222> { using CatalogueShot::CatalogueShot; };
class S_Makaijima_Barrel final : public CatalogueShot<223> { using CatalogueShot::CatalogueShot; };
class S_Meikyuujima_IceWall final : public CatalogueShot<224> { using CatalogueShot::CatalogueShot; };
class S_Meikyuujima_Shot final : public CatalogueShot<225> { using CatalogueShot::CatalogueShot; };
class S_Meikyuujima_IceCube final : public CatalogueShot<226> { using CatalogueShot::CatalogueShot; };
class S_Rockman_RockBuster final : public CatalogueShot<227> { using CatalogueShot::CatalogueShot; };
class S_Rockman_BombBlast final : public CatalogueShot<228> { using CatalogueShot::CatalogueShot; };
class S_Rockman_Elec_Side final : public CatalogueShot<229> { using CatalogueShot::CatalogueShot; };
class S_Rockman_Elec_Front final : public CatalogueShot<230> { using CatalogueShot::CatalogueShot; };
class S_Rockman_Guts final : public CatalogueShot<231> { using CatalogueShot::CatalogueShot; };
class S_Rockman_Ice final : public CatalogueShot<232> { using CatalogueShot::CatalogueShot; };
class S_Rockman_Cut final : public CatalogueShot<233> { using CatalogueShot::CatalogueShot; };
class S_Rockman_Fire final : public CatalogueShot<234> { using CatalogueShot::CatalogueShot; };
class S_Rockman_Fire_Option final : public CatalogueShot<235> { using CatalogueShot::CatalogueShot; };
class S_InvisibleShot final : public CatalogueShot<236> { using CatalogueShot::CatalogueShot; };
class S_DG_Shirodama final : public CatalogueShot<237> { using CatalogueShot::CatalogueShot; };
class S_DG_Laser final : public CatalogueShot<238> { using CatalogueShot::CatalogueShot; };
class S_DG_Wave final : public CatalogueShot<239> { using CatalogueShot::CatalogueShot; };
class S_DG_Missile final : public CatalogueShot<240> { using CatalogueShot::CatalogueShot; };
class S_DG_Arm final : public CatalogueShot<241> { using CatalogueShot::CatalogueShot; };
class S_RTYPELEO_Shot final : public CatalogueShot<242> { using CatalogueShot::CatalogueShot; };
class S_RTYPELEO_Option final : public CatalogueShot<243> { using CatalogueShot::CatalogueShot; };
class S_RTYPELEO_Red_Laser final : public CatalogueShot<244> { using CatalogueShot::CatalogueShot; };
class S_RTYPELEO_Red_Shot final : public CatalogueShot<245> { using CatalogueShot::CatalogueShot; };
class S_RTYPE_Force final : public CatalogueShot<246> { using CatalogueShot::CatalogueShot; };
class S_RTYPE_Laser final : public CatalogueShot<247> { using CatalogueShot::CatalogueShot; };
class S_RTYPELEO_Missile final : public CatalogueShot<248> { using CatalogueShot::CatalogueShot; };
class S_GC_Shot final : public CatalogueShot<249> { using CatalogueShot::CatalogueShot; };
class S_BH_Reflect final : public CatalogueShot<250> { using CatalogueShot::CatalogueShot; };
class S_BH_Shot final : public CatalogueShot<251> { using CatalogueShot::CatalogueShot; };
class S_BS_Shot final : public CatalogueShot<252> { using CatalogueShot::CatalogueShot; };
class S_BS_ChargeHead final : public CatalogueShot<253> { using CatalogueShot::CatalogueShot; };
class S_BS_ChargeBody final : public CatalogueShot<254> { using CatalogueShot::CatalogueShot; };
class S_BS_ChargeBlast final : public CatalogueShot<255> { using CatalogueShot::CatalogueShot; };
class S_HSG_Shot final : public CatalogueShot<256> { using CatalogueShot::CatalogueShot; };
class S_HSG_Chariot final : public CatalogueShot<257> { using CatalogueShot::CatalogueShot; };
class S_HSG_ChariotShot final : public CatalogueShot<258> { using CatalogueShot::CatalogueShot; };
class S_HSG_DisCharge final : public CatalogueShot<259> { using CatalogueShot::CatalogueShot; };
class S_DOGMA_RadicalTriger final : public CatalogueShot<260> { using CatalogueShot::CatalogueShot; };
class S_Hisouten_Iku6CShot final : public CatalogueShot<261> { using CatalogueShot::CatalogueShot; };
class S_Hisouten_Ryuunome final : public CatalogueShot<262> { using CatalogueShot::CatalogueShot; };
class S_Hisouten_Seidenyuudoudan final : public CatalogueShot<263> { using CatalogueShot::CatalogueShot; };
class S_Hisouten_Inabikari final : public CatalogueShot<264> { using CatalogueShot::CatalogueShot; };
class S_Hattori_Shuriken final : public CatalogueShot<265> { using CatalogueShot::CatalogueShot; };
class S_Hattori_FireBall final : public CatalogueShot<266> { using CatalogueShot::CatalogueShot; };

}  // namespace

static ClassRegistration catalogueShots({
    {183, MakeObject<S_GradiusShot>},
    {184, MakeObject<S_GradiusLaser>},
    {185, MakeObject<S_GradiusMissile>},
    {186, MakeObject<S_GradiusShield>},
    {187, MakeObject<S_Gradius2Missile>},
    {188, MakeObject<S_GradiusRipple>},
    {189, MakeObject<S_GradiusForceField>},
    {190, MakeObject<S_SASpriteShot>},
    {191, MakeObject<S_SASprite>},
    {192, MakeObject<S_SASpriteBlast>},
    {193, MakeObject<S_SALaserHead>},
    {194, MakeObject<S_SALaserTail>},
    {195, MakeObject<S_BomberKing_Beam>},
    {196, MakeObject<S_BomberKing_Blast>},
    {197, MakeObject<S_BomberKing_Missile>},
    {198, MakeObject<S_Quinty_Panel>},
    {199, MakeObject<S_Kame_Ika>},
    {200, MakeObject<S_Kame_Tako>},
    {201, MakeObject<S_Kame_Kurage>},
    {202, MakeObject<S_Kame_Umihebi_Bit>},
    {203, MakeObject<S_Kame_Umihebi_Shot>},
    {204, MakeObject<S_Kame_Shinju>},
    {205, MakeObject<S_Kame_STG>},
    {206, MakeObject<S_FZ_Poppoes>},
    {207, MakeObject<S_FZ_Poppoes_Shot>},
    {208, MakeObject<S_FZ_Stanparon_Shot>},
    {209, MakeObject<S_FZ_Kobabeach_Shot>},
    {210, MakeObject<S_FZ_Kobabeach>},
    {211, MakeObject<S_FZ_Boranda_Seed>},
    {212, MakeObject<S_FZ_Boranda_Petal>},
    {213, MakeObject<S_FZ_Opaopa_Shot>},
    {214, MakeObject<S_FZ_Opaopa_Bomb>},
    {215, MakeObject<S_FZ_Opaopa_7way>},
    {216, MakeObject<S_FZ_Opaopa_HeavyBomb>},
    {221, MakeObject<S_BM_Bomb>},
    {222, MakeObject<S_BM_Blast>},
    {223, MakeObject<S_Makaijima_Barrel>},
    {224, MakeObject<S_Meikyuujima_IceWall>},
    {225, MakeObject<S_Meikyuujima_Shot>},
    {226, MakeObject<S_Meikyuujima_IceCube>},
    {227, MakeObject<S_Rockman_RockBuster>},
    {228, MakeObject<S_Rockman_BombBlast>},
    {229, MakeObject<S_Rockman_Elec_Side>},
    {230, MakeObject<S_Rockman_Elec_Front>},
    {231, MakeObject<S_Rockman_Guts>},
    {232, MakeObject<S_Rockman_Ice>},
    {233, MakeObject<S_Rockman_Cut>},
    {234, MakeObject<S_Rockman_Fire>},
    {235, MakeObject<S_Rockman_Fire_Option>},
    {236, MakeObject<S_InvisibleShot>},
    {237, MakeObject<S_DG_Shirodama>},
    {238, MakeObject<S_DG_Laser>},
    {239, MakeObject<S_DG_Wave>},
    {240, MakeObject<S_DG_Missile>},
    {241, MakeObject<S_DG_Arm>},
    {242, MakeObject<S_RTYPELEO_Shot>},
    {243, MakeObject<S_RTYPELEO_Option>},
    {244, MakeObject<S_RTYPELEO_Red_Laser>},
    {245, MakeObject<S_RTYPELEO_Red_Shot>},
    {246, MakeObject<S_RTYPE_Force>},
    {247, MakeObject<S_RTYPE_Laser>},
    {248, MakeObject<S_RTYPELEO_Missile>},
    {249, MakeObject<S_GC_Shot>},
    {250, MakeObject<S_BH_Reflect>},
    {251, MakeObject<S_BH_Shot>},
    {252, MakeObject<S_BS_Shot>},
    {253, MakeObject<S_BS_ChargeHead>},
    {254, MakeObject<S_BS_ChargeBody>},
    {255, MakeObject<S_BS_ChargeBlast>},
    {256, MakeObject<S_HSG_Shot>},
    {257, MakeObject<S_HSG_Chariot>},
    {258, MakeObject<S_HSG_ChariotShot>},
    {259, MakeObject<S_HSG_DisCharge>},
    {260, MakeObject<S_DOGMA_RadicalTriger>},
    {261, MakeObject<S_Hisouten_Iku6CShot>},
    {262, MakeObject<S_Hisouten_Ryuunome>},
    {263, MakeObject<S_Hisouten_Seidenyuudoudan>},
    {264, MakeObject<S_Hisouten_Inabikari>},
    {265, MakeObject<S_Hattori_Shuriken>},
    {266, MakeObject<S_Hattori_FireBall>},
});
