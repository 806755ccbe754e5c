// Bonus labels and score pop-ups (type ids 276-286, 288, 290, 336): the text effects the stage
// scene puts up when it awards a bonus, reports a failure or ends the game, the rain of bonus
// items of two bonuses, and the number a destroyed enemy floats.
#include "game/enemies/effect.h"
#include "game/world/class_rows.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/text.h"
#include "game/world/type_table.h"

namespace {

constexpr float kTextDepth = 32767.0f;
constexpr int32_t kGhostModes = 16;

// How long a label stands: 61 frames, or 20 in the ghost modes under the bonus-label rule.
enum class LabelRule : uint8_t { kBonus, kFixed };
// Which constructor arguments move it: c to f, or c kept in the angle field and only d to f.
enum class LabelForm : uint8_t { kMoving, kAngleFromC };

struct LabelRow {
    int16_t id;
    const wchar_t* text;
    int16_t labelX, numberX;  // numberX < 0: no number
    LabelRule rule;
    LabelForm form;
    uint32_t colour;
};

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kGrey = 0xFF787878u;

constexpr LabelRow kLabels[] = {
    // id                              text                              label number rule            form                    colour
    {type_id::EF_HecatomBonus,         L"HECATOM",                        80, 176, LabelRule::kBonus, LabelForm::kMoving,     kWhite},
    {type_id::EF_ExcessCapacityBonus,  L"EXCESS CAPACITY",                16, 176, LabelRule::kBonus, LabelForm::kMoving,     kWhite},
    {type_id::EF_SubvertBonus,         L"SUBVERT",                        80, 176, LabelRule::kBonus, LabelForm::kMoving,     kWhite},
    {type_id::EF_MortalWoundBonus,     L"MORTAL WOUND       *8",          40, 176, LabelRule::kBonus, LabelForm::kMoving,     kWhite},
    {type_id::EF_WithoutDelayBonus,    L"WITHOUT DELAY",                  32, 176, LabelRule::kBonus, LabelForm::kMoving,     kWhite},
    {type_id::EF_ParadigmShiftBonus,   L"PARADIGM SHIFT       *8",        24, 176, LabelRule::kFixed, LabelForm::kMoving,     kWhite},
    {type_id::EF_AnnihilateBonus,      L"ANNIHILATE",                     56, 176, LabelRule::kBonus, LabelForm::kMoving,     kWhite},
    {type_id::EF_InefficientBlowBonus, L"INEFFICIENT BLOW",               40, 224, LabelRule::kFixed, LabelForm::kAngleFromC, kWhite},
    {type_id::EF_PlagueBonus,          L"PLAGUE",                         88, 176, LabelRule::kFixed, LabelForm::kAngleFromC, kWhite},
    {type_id::EF_EnthusiasticBonus,    L"ENTHUSIASTIC",                   40, 176, LabelRule::kBonus, LabelForm::kAngleFromC, kWhite},
    {type_id::EF_Failure,              L"FAILURE",                       100,  -1, LabelRule::kBonus, LabelForm::kMoving,     kGrey},
};
static_assert(RowsRunFrom(kLabels, type_id::EF_HecatomBonus));

// A label stands at x 128 on its row; the bonus value comes as the first argument.
template <int32_t Id>
class BonusLabel : public RowEffect<Id> {
public:
    BonusLabel(float a, float b, float c, float d, float e, float f)
        : RowEffect<Id>(128.0f, b, Row().form == LabelForm::kMoving ? c : 0.0f, d, e, f) {
        this->score = static_cast<int32_t>(a);
        this->hp = 100.0f;
        if (Row().form == LabelForm::kAngleFromC) this->angle = static_cast<int32_t>(c);
    }
    void Run(ObjectController* ctx) override {
        const bool ghostCut = Row().rule == LabelRule::kBonus && ctx->gameMode >= kGhostModes && this->age >= 20;
        if (this->age > 60 || ghostCut) this->Kill();
        this->age += 1;
    }
    void Draw(ObjectController*) override {
        DrawText(Row().text, Row().labelX, this->y, kTextDepth, static_cast<int32_t>(Row().colour));
        if (Row().numberX >= 0) DrawNumber(Row().numberX, this->y, this->score, -1);
    }

private:
    static const LabelRow& Row() { return kLabels[Id - type_id::EF_HecatomBonus]; }
};

class EF_HecatomBonus final : public BonusLabel<type_id::EF_HecatomBonus> { using BonusLabel::BonusLabel; };
class EF_ExcessCapacityBonus final : public BonusLabel<type_id::EF_ExcessCapacityBonus> { using BonusLabel::BonusLabel; };
class EF_SubvertBonus final : public BonusLabel<type_id::EF_SubvertBonus> { using BonusLabel::BonusLabel; };
class EF_MortalWoundBonus final : public BonusLabel<type_id::EF_MortalWoundBonus> { using BonusLabel::BonusLabel; };
class EF_WithoutDelayBonus final : public BonusLabel<type_id::EF_WithoutDelayBonus> { using BonusLabel::BonusLabel; };
class EF_ParadigmShiftBonus final : public BonusLabel<type_id::EF_ParadigmShiftBonus> { using BonusLabel::BonusLabel; };
class EF_AnnihilateBonus final : public BonusLabel<type_id::EF_AnnihilateBonus> { using BonusLabel::BonusLabel; };
class EF_InefficientBlowBonus final : public BonusLabel<type_id::EF_InefficientBlowBonus> { using BonusLabel::BonusLabel; };
class EF_PlagueBonus final : public BonusLabel<type_id::EF_PlagueBonus> { using BonusLabel::BonusLabel; };
class EF_EnthusiasticBonus final : public BonusLabel<type_id::EF_EnthusiasticBonus> { using BonusLabel::BonusLabel; };
class EF_Failure final : public BonusLabel<type_id::EF_Failure> { using BonusLabel::BonusLabel; };

// "GAME" over "OVER", falling from the top to the middle, where it stays.
class EF_GameOver final : public RowEffect<type_id::EF_GameOver> {
public:
    EF_GameOver(float, float, float, float, float e, float f) : RowEffect(128.0f, 0.0f, 0.0f, 4.0f, e, f) {}
    void Run(ObjectController*) override {
        if (age == 32) vy = 0.0f;
        age += 1;
    }
    void Draw(ObjectController*) override {
        DrawText(L"GAME", x - 16.0f, y, kTextDepth, -1);
        DrawText(L"OVER", x - 16.0f, y + 8.0f, kTextDepth, -1);
    }
};

// Drops nine bonus items over 33 frames, each worth its score.
class EF_8Bonus final : public RowEffect<type_id::EF_8Bonus> {
public:
    EF_8Bonus(float a, float b, float c, float, float, float) : RowEffect(a, b, 0, 0, 0, 0) {
        score = static_cast<int32_t>(c);
        hp = 31.0f;
    }
    void Run(ObjectController* ctx) override {
        if (age % 4 == 0) {
            Object* item = ctx->CreateObject(type_id::I_Bonus, x, y, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
            if (item != nullptr) item->SetScore(score);
        }
        if (age > 32) Kill();
        age += 1;
    }
};

// The points a destroyed enemy paid, centred on it; large values stay three seconds.
class EF_ScorePop final : public RowEffect<type_id::EF_ScorePop> {
public:
    EF_ScorePop(float a, float b, float c, float d, float, float) : RowEffect(a, b, c, d, 0, 0) {
        width = height = 0;
        hp = 100.0f;
    }
    void Run(ObjectController*) override {
        if ((age > 60 && score <= 10000) || age > 180) Kill();
        age += 1;
    }
    void Draw(ObjectController*) override {
        const float shift = score < 100 ? 0.0f : score < 1000 ? 4.0f : score < 10000 ? 8.0f : 12.0f;
        DrawNumber(x + shift, y - 4.0f, score, -1);
    }
};

const ClassRegistration kBonusLabelClasses{
    {type_id::EF_HecatomBonus, MakeObject<EF_HecatomBonus>},        {type_id::EF_ExcessCapacityBonus, MakeObject<EF_ExcessCapacityBonus>},
    {type_id::EF_SubvertBonus, MakeObject<EF_SubvertBonus>},        {type_id::EF_MortalWoundBonus, MakeObject<EF_MortalWoundBonus>},
    {type_id::EF_WithoutDelayBonus, MakeObject<EF_WithoutDelayBonus>},   {type_id::EF_ParadigmShiftBonus, MakeObject<EF_ParadigmShiftBonus>},
    {type_id::EF_AnnihilateBonus, MakeObject<EF_AnnihilateBonus>},     {type_id::EF_InefficientBlowBonus, MakeObject<EF_InefficientBlowBonus>},
    {type_id::EF_PlagueBonus, MakeObject<EF_PlagueBonus>},         {type_id::EF_EnthusiasticBonus, MakeObject<EF_EnthusiasticBonus>},
    {type_id::EF_Failure, MakeObject<EF_Failure>},             {type_id::EF_GameOver, MakeObject<EF_GameOver>},
    {type_id::EF_8Bonus, MakeObject<EF_8Bonus>},              {type_id::EF_ScorePop, MakeObject<EF_ScorePop>},
};

}  // namespace
