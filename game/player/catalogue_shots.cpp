// The weapons whose families are still to be built: each its own class with the catalogue's
// constructor values and the shot base's behaviour, and no picture yet. A family that gets built
// takes its classes out of this list.
#include "game/player/shot.h"
#include "game/world/factory.h"

namespace {

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
