// The end of a game: the final score, the best results registered, the offer to keep the last
// replay in the first free slot, and "RETURN" to the title.
#include "game/scenes/menu_result.h"

#include <string>

#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/message_codes.h"
#include "game/world/object_controller.h"
#include "game/world/sound_ids.h"

using namespace menu;

namespace {

constexpr int32_t kReturnAfter = 31;  // button 4 is ignored before this age
constexpr int32_t kUnrankedLevel = 16;
constexpr size_t kFileNameChars = 20;

}  // namespace

SC_Menu_Result::SC_Menu_Result(float, float, float, float, float, float) { Init(); }

void SC_Menu_Result::OnMessage(const Message& message) {
    if (message.Code() == result_message::kWasPlayback) saveState = kNotOffered;
}

void SC_Menu_Result::Update(ObjectController* ctx) {
    buttons.Read(ctx, age);
    ctx->KillShots();
    ctx->VanishEnemies();
    ctx->VanishBullets();
    if (age == 0) {
        ctx->gameRunning = false;
        // A playback is over: from here on the player's own buttons drive the menus again.
        ctx->replay.mode = 0;
        if (saveState == kCanSave) {
            ctx->scoreData.UpdateBest(ctx, score);
            if (angle == 0) ctx->scoreData.UpdateBestValue(ctx);
        }
        freeSlot = ReplayList::FindFreeSlot();
        if (freeSlot == -1 && saveState == kCanSave) saveState = kNoFreeSlot;
    }
    HandleInput(ctx);
    Decide(ctx);
    if (decideCount > 0) decideCount += 1;
    age += 1;
}

void SC_Menu_Result::Decide(ObjectController* ctx) {
    if (decideCount < kDecideDelay || !IsAlive()) return;
    Vanish();
    ctx->KillEffectsAndWaves();
    ctx->CreateObject(type_id::SC_Menu_Title, 128, 0, 0, 0, 0, 0, nullptr);
}

void SC_Menu_Result::HandleInput(ObjectController* ctx) {
    if (buttons.Pressed(kDecide) && decideCount == 0 && age >= kReturnAfter) {
        decideCount = 1;
        ctx->PlaySE(sound::kMenuDecide);
    }
    if (!buttons.Pressed(kThird) || decideCount != 0) return;
    if (saveState == kCanSave) {
        // A copy that failed is not reported as saved: the offer stays for another try.
        if (ReplayList::SaveToSlot(freeSlot)) {
            saveState = kSaved;
            ctx->PlaySE(sound::kMenuDecide);
        } else {
            ctx->PlaySE(sound::kMenuCancel);
        }
    } else if (saveState == kNotOffered) {
        ctx->PlaySE(sound::kMenuCancel);
    }
}

std::wstring SC_Menu_Result::FileNameLine(int32_t slot) {
    std::wstring line = L"QVREPLAY " + std::to_wstring(slot) + L" .QVREP";
    if (line.size() > kFileNameChars) line.resize(kFileNameChars);
    return line;
}

void SC_Menu_Result::Draw(ObjectController* ctx) {
    Text(L"RESULT", 104, 16);
    Text(L"CRACKED DATA", 32, 64);
    Number(216, 72, score);
    Number(224, 72, 0);
    if (ctx->ArrestLevel >= kUnrankedLevel) Text(L"さんこう  きろく", 160, 64);
    Text(L"RETURN", 104, 192);
    if (decideCount != 0 || age % 16 < 8) Pointer(88, 192);
    if (saveState == kCanSave) Text(L"PUSH SELECT TO SAVE REPLAY", 32, 208);
    if (saveState == kSaved) Text(L"SAVED", 120, 208);
    if (saveState == kNoFreeSlot) Text(L"WITHOUT EMPTY CANNOT SAVE", 32, 208);
    if (saveState != kNotOffered) Text(FileNameLine(freeSlot).c_str(), 64, 216);
}

namespace {

const ClassRegistration kResultClass{{type_id::SC_Menu_Result, MakeObject<SC_Menu_Result>}};

}  // namespace
