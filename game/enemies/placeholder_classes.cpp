// Classes whose own behaviour is not built yet, one named class per type id. An enemy takes its
// table row, the shared movement and simple Run, and draws one placeholder cell; an effect takes
// its row and the shared movement (or none), draws nothing and dies at its row's life. A class
// leaves these lists when its own behaviour is written.
#include "game/enemies/effect.h"
#include "game/enemies/enemy.h"
#include "game/world/factory.h"

namespace {

// The placeholder look of "enemy.bmp", stretched over the enemy's draw size.
constexpr float kPlaceholderCell[4] = {240.0f, 32.0f, 16.0f, 16.0f};

class PlaceholderEnemy : public Enemy {
public:
    PlaceholderEnemy(int32_t typeId, float x, float y, float a, float b, float c, float d) {
        Setup(typeId, x, y, a, b, c, d);
    }
    void Run(ObjectController* ctx) override { RunSimple(ctx); }
    void Draw(ObjectController*) override {
        DrawFrom(kPlaceholderCell[0], kPlaceholderCell[1], kPlaceholderCell[2], kPlaceholderCell[3]);
    }
};

class PlaceholderEffect : public Effect {
public:
    PlaceholderEffect(int32_t typeId, float a, float b, float c, float d, float e, float f) : typeId_(typeId) {
        Setup(typeId, a, b, c, d, e, f);
    }
    void Run(ObjectController*) override {
        KillAtRowLife(typeId_);
        age += 1;
    }

private:
    int32_t typeId_;
};

// Effects that never move by themselves.
class StillPlaceholderEffect : public PlaceholderEffect {
public:
    using PlaceholderEffect::PlaceholderEffect;
    void Move(ObjectController*) override {}
};

}  // namespace

// id, class
#define PLACEHOLDER_ENEMIES(X)                                                                          \
    X(81, E_Star_G) X(82, E_ZeguOr_G) X(83, E_ZeguBr_G) X(84, E_S2GE_G) X(85, E_S28Coin_G)               \
    X(86, E_ZanacFortress1_G) X(87, E_ZanacFortress2_G) X(88, E_ZanacFortress3_G)                        \
    X(89, E_ZanacFortress4_G) X(90, E_InvisibleWall_G) X(91, E_Gradius_Hatch_G)                          \
    X(92, E_Gradius_Battery_G) X(93, E_AliceClone_G) X(94, E_SF_Panel_G) X(95, E_SF_SmallBlock_G)        \
    X(96, E_SF_BigBlock_G)

#define PLACEHOLDER_EFFECTS(X)                                                                             \
    X(276, EF_HecatomBonus) X(277, EF_ExcessCapacityBonus) X(278, EF_SubvertBonus)                        \
    X(279, EF_MortalWoundBonus) X(280, EF_WithoutDelayBonus) X(281, EF_ParadigmShiftBonus)                \
    X(282, EF_AnnihilateBonus) X(283, EF_InefficientBlowBonus) X(284, EF_PlagueBonus)                     \
    X(285, EF_EnthusiasticBonus) X(286, EF_Failure) X(287, EF_Star_SS) X(288, EF_GameOver)                \
    X(289, EF_Wind) X(290, EF_8Bonus) X(299, EF_UnLock) X(300, EF_UnLock_Trace) X(301, EF_UnLock_Trace2)  \
    X(302, EF_GradiusOption) X(303, EF_Gradius2Option) X(304, EF_ExclamationMark) X(305, EF_GhostRythm)   \
    X(306, EF_GhostBeat) X(308, EF_BomberKing_Bomb) X(309, EF_Quinty_Line) X(310, EF_Quinty_Cross)        \
    X(311, EF_Quinty_FB) X(312, EF_Quinty_Sun) X(313, EF_Quinty_Blast) X(314, EF_FZ_Boranda_Seed)         \
    X(316, EF_S5BGController) X(318, EF_Rockman_Bomb) X(319, EF_Rockman_Elec_Side)                        \
    X(320, EF_Rockman_Elec_Front) X(321, EF_S6_BlockController) X(322, EF_Bombris_EraseLine)              \
    X(323, EF_Bombris_NearBlast) X(326, EF_HSG_DisCharge) X(327, EF_Hisouten_Iku6C)                       \
    X(328, EF_Hisouten_Ryuunome) X(329, EF_Hisouten_SkillCard) X(330, EF_TwinBee_Cloud) X(331, EF_5963)   \
    X(332, EF_SecretUnlock) X(334, EF_Demo_Message) X(336, EF_ScorePop)

// Effects whose class keeps no movement (or will have a movement of its own).
#define PLACEHOLDER_STILL_EFFECTS(X) \
    X(307, EF_GhostBossBase) X(317, EF_S5BG) X(325, EF_BS_ChargeController) X(333, EF_Demo_Words)

#define DECLARE_CLASS(Base, id, Name)                                                  \
    class Name final : public Base {                                                  \
    public:                                                                           \
        Name(float x, float y, float a, float b, float c, float d)                     \
            : Base(id, x, y, a, b, c, d) {}                                           \
    };
#define DECLARE_ENEMY(id, Name) DECLARE_CLASS(PlaceholderEnemy, id, Name)
#define DECLARE_EFFECT(id, Name) DECLARE_CLASS(PlaceholderEffect, id, Name)
#define DECLARE_STILL_EFFECT(id, Name) DECLARE_CLASS(StillPlaceholderEffect, id, Name)
#define REGISTER_CLASS(id, Name) {id, MakeObject<Name>},

namespace {

PLACEHOLDER_ENEMIES(DECLARE_ENEMY)
PLACEHOLDER_EFFECTS(DECLARE_EFFECT)
PLACEHOLDER_STILL_EFFECTS(DECLARE_STILL_EFFECT)

const ClassRegistration kPlaceholderClasses{
    PLACEHOLDER_ENEMIES(REGISTER_CLASS) PLACEHOLDER_EFFECTS(REGISTER_CLASS) PLACEHOLDER_STILL_EFFECTS(REGISTER_CLASS)};

}  // namespace
