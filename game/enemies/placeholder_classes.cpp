// Effect classes whose own behaviour is not built yet, one named class per type id: each takes
// its row and the shared movement (or none), draws nothing and dies at its row's life. A class
// leaves these lists when its own behaviour is written.
#include "game/enemies/effect.h"
#include "game/world/factory.h"

namespace {

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
#define PLACEHOLDER_EFFECTS(X)                                                                             \
    X(276, EF_HecatomBonus) X(277, EF_ExcessCapacityBonus) X(278, EF_SubvertBonus)                        \
    X(279, EF_MortalWoundBonus) X(280, EF_WithoutDelayBonus) X(281, EF_ParadigmShiftBonus)                \
    X(282, EF_AnnihilateBonus) X(283, EF_InefficientBlowBonus) X(284, EF_PlagueBonus)                     \
    X(285, EF_EnthusiasticBonus) X(286, EF_Failure) X(288, EF_GameOver) X(290, EF_8Bonus)                 \
    X(302, EF_GradiusOption) X(303, EF_Gradius2Option) X(308, EF_BomberKing_Bomb) X(309, EF_Quinty_Line)  \
    X(310, EF_Quinty_Cross) X(311, EF_Quinty_FB) X(312, EF_Quinty_Sun) X(313, EF_Quinty_Blast)            \
    X(314, EF_FZ_Boranda_Seed) X(318, EF_Rockman_Bomb) X(319, EF_Rockman_Elec_Side)                       \
    X(320, EF_Rockman_Elec_Front) X(326, EF_HSG_DisCharge) X(327, EF_Hisouten_Iku6C)                      \
    X(328, EF_Hisouten_Ryuunome) X(329, EF_Hisouten_SkillCard) X(336, EF_ScorePop)

// Effects whose class keeps no movement (or will have a movement of its own).
#define PLACEHOLDER_STILL_EFFECTS(X) X(325, EF_BS_ChargeController)

#define DECLARE_CLASS(Base, id, Name)                                                  \
    class Name final : public Base {                                                  \
    public:                                                                           \
        Name(float x, float y, float a, float b, float c, float d)                     \
            : Base(id, x, y, a, b, c, d) {}                                           \
    };
#define DECLARE_EFFECT(id, Name) DECLARE_CLASS(PlaceholderEffect, id, Name)
#define DECLARE_STILL_EFFECT(id, Name) DECLARE_CLASS(StillPlaceholderEffect, id, Name)
#define REGISTER_CLASS(id, Name) {id, MakeObject<Name>},

namespace {

PLACEHOLDER_EFFECTS(DECLARE_EFFECT)
PLACEHOLDER_STILL_EFFECTS(DECLARE_STILL_EFFECT)

const ClassRegistration kPlaceholderClasses{
    PLACEHOLDER_EFFECTS(REGISTER_CLASS) PLACEHOLDER_STILL_EFFECTS(REGISTER_CLASS)};

}  // namespace
