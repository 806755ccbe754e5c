// The interlude between two stages of a cooperative whole game: the field is cleared, the party
// glides back to its start point, and after 120 frames the next stage scene starts with the
// values carried over from the last one.
#include "game/scenes/menu_stage_clear.h"

#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/message_codes.h"
#include "game/world/object_controller.h"

using namespace menu;

namespace {

constexpr float kHomeX = 128.0f;
constexpr float kHomeY = 180.0f;
constexpr int32_t kGlideFrames = 60;
constexpr int32_t kHandOverAge = 120;

}  // namespace

SC_Menu_StageClear::SC_Menu_StageClear(float, float, float, float, float, float) { Init(); }

void SC_Menu_StageClear::Update(ObjectController* ctx) {
    Object* party = ctx->pcController;
    if (party != nullptr) party->SetAge(0);
    if (age == 0) {
        if (party != nullptr) {
            stepX = (party->GetX() - kHomeX) / 60.0f;
            stepY = (party->GetY() - kHomeY) / 60.0f;
        }
        ctx->VanishEnemies();
        ctx->VanishBullets();
        ctx->KillWaves();
        ctx->KillKind103();
    }
    if (party != nullptr) {
        const float left = static_cast<float>(age < kGlideFrames ? kGlideFrames - age : 0);
        party->x = kHomeX + left * stepX;
        party->y = kHomeY + left * stepY;
    }
    if (age == kHandOverAge) {
        Object* next = ctx->CreateObject(type_id::Script, 128, 0, 0, 0, 0, 0, nullptr);
        if (next != nullptr) {
            next->SetScore(score);
            next->OnMessage(Msg(3, stage_message::kWaveRowSet, angle));
            next->OnMessage(Msg(3, stage_message::kStageSetUp, static_cast<int32_t>(power)));
            next->OnMessage(Msg(3, stage_message::kWaveSizeSet, invincible));
            next->OnMessage(Msg(3, stage_message::kRowTimerSet, inactive));
        }
        Vanish();
    }
    age += 1;
}

void SC_Menu_StageClear::Draw(ObjectController*) {
    if (age == 1) ClearLayerTargets();
    Text(L"CONNECTING NEXT NODE...", 32, 116);
}

namespace {

const ClassRegistration kStageClearClass{{type_id::SC_Menu_StageClear, MakeObject<SC_Menu_StageClear>}};

}  // namespace
