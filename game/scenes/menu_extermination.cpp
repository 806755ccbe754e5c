// The extermination menu.
#include "game/scenes/menu_extermination.h"

#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/sound_ids.h"

using namespace menu;

namespace {

constexpr int32_t kShortMission = 13;  // read as stage 3

// Every 4th frame after 30 held frames.
bool Repeats(int32_t held) { return held == 1 || (held > 30 && held % 4 == 0); }

}  // namespace

void DrawSubModeName(int32_t subMode, float x, float y) {
    if (subMode < 10) {
        Text(L"NODE", x, y);
        Number(x + 48, y, subMode);
    } else if (subMode == 10) {
        Text(L"2MIN ATTACK", x, y);
    } else if (subMode == 11) {
        Text(L"5MIN ATTACK", x, y);
    } else if (subMode == 12) {
        Text(L"VENGEANCE", x, y);
    }
}

SC_Menu_Extermination::SC_Menu_Extermination(float, float, float, float, float, float) { Init(); }

int32_t SC_Menu_Extermination::StepSubMode(int32_t s, int32_t step) {
    if (step > 0) {
        s += 1;
        if (s == 13) s = 1;
        if (s == 4) s = 10;
        if (s == 12) s = 1;
    } else {
        s -= 1;
        if (s == 0) s = 12;
        if (s == 12) s = 11;
        if (s == 9) s = 3;
    }
    return s;
}

void SC_Menu_Extermination::Update(ObjectController* ctx) {
    buttons.Read(ctx, age);
    if (age == 0) {
        ctx->gameRunning = false;
        const int32_t m = ctx->gameMode == kShortMission ? 3 : ctx->gameMode;
        ghost = m / 16 != 0;
        subMode = m % 16 == 0 ? 1 : m % 16;
        ctx->bgm.Play(1);
    }
    HandleInput(ctx);
    Decide(ctx);
    if (decideCount > 0) decideCount += 1;
    age += 1;
}

void SC_Menu_Extermination::HandleInput(ObjectController* ctx) {
    if (decideCount != 0 || !IsAlive()) return;
    if (buttons.Pressed(kDecide) && cursorRow == 2) {
        decideCount = 1;
        ctx->PlaySE(sound::kMenuDecide);
    } else if (buttons.Pressed(kCancel)) {
        StartFresh(ctx);
        ctx->PlaySE(sound::kMenuCancel);
        ctx->CreateObject(type_id::SC_Menu_Title, 128, 0, 0, 0, 0, 0, nullptr);
        return;
    }
    if (buttons.Pressed(kDown)) {
        cursorRow = (cursorRow + 1) % 3;
        ctx->PlaySE(sound::kMenuMove);
    } else if (buttons.Pressed(kUp)) {
        cursorRow = (cursorRow + 2) % 3;
        ctx->PlaySE(sound::kMenuMove);
    } else if (buttons.Pressed(kDecide) && cursorRow <= 1) {
        cursorRow += 1;
        ctx->PlaySE(sound::kMenuDecide);
    }
    if (cursorRow == 0 && (buttons.Pressed(kLeft) || buttons.Pressed(kRight))) {
        ghost = !ghost;
        ctx->PlaySE(sound::kMenuMove);
    } else if (cursorRow == 1 && (Repeats(buttons.held[kRight]) || Repeats(buttons.held[kLeft]))) {
        subMode = StepSubMode(subMode, Repeats(buttons.held[kRight]) ? 1 : -1);
        ctx->PlaySE(sound::kMenuMove);
    }
}

void SC_Menu_Extermination::Decide(ObjectController* ctx) {
    if (decideCount < kDecideDelay || !IsAlive()) return;
    Vanish();
    ctx->gameMode = (ghost ? 16 : 0) + subMode;
    ctx->CreateObject(type_id::SC_Menu_Coop, 128, 0, 0, 0, 0, 0, nullptr);
}

void SC_Menu_Extermination::Draw(ObjectController*) {
    Text(L"EXTERMINATION SETTING", 32, 32);
    Text(L"MODE", 64, 96);
    Text(L"COOP    GHOST", 80, 112);
    Cell(gameSprites.effect2, static_cast<float>((ghost ? 2 : 1) * 64), 112, 8, 8, cell::list_marker.Source());
    Text(L"NODE", 64, 128);
    DrawSubModeName(subMode, 80, 144);
    Text(L"OK!", 64, 160);
    if (decideCount != 0 || age % 16 < 8) Pointer(48, static_cast<float>((cursorRow + 3) * 32));
}

namespace {

const ClassRegistration kExterminationClass{{type_id::SC_Menu_Extermination, MakeObject<SC_Menu_Extermination>}};

}  // namespace
