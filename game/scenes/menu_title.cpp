// The title: the logo, the menu rows (or, before four characters are unlocked, a single prompt
// that starts a one-character game), the starting level and the view-state flag; after 600 idle
// frames the attract demo.
#include "game/scenes/menu_title.h"

#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/sound_ids.h"

using namespace menu;

namespace {

constexpr int32_t kRows = 6;
constexpr int32_t kSealRow = 1;
constexpr int32_t kExterminationRow = 3;
constexpr int32_t kExterminationFrom = 16;  // arrest count that opens the extermination row
constexpr int32_t kFirstRunBelow = 4;       // unlocked characters
constexpr int32_t kIdleLimit = 600;
constexpr int32_t kGhostMode = 16;

struct TitleRow {
    const wchar_t* text;
    float y;
    int32_t nextScene;  // 0 = not a choice
    int32_t gameMode;   // -1 = left as it is
};

// row text               y    next scene           mode
const TitleRow kTitleRows[kRows] = {
    {L"COOP MODE",     112, type_id::SC_Menu_Coop,          0},
    {L" * SEAL *",     128, 0,                  -1},
    {L"GHOST MODE",    144, type_id::SC_Menu_Coop,          kGhostMode},
    {L"EXTERMINATION", 160, type_id::SC_Menu_Extermination, -1},
    {L"REPLAY",        176, type_id::SC_Menu_Replay,        -1},
    {L"RANKING",       192, type_id::SC_Menu_Ranking,       -1},
};

struct LogoPiece {
    float dst[4];
    CellSource high;  // ArrestLevel 16 and above
    CellSource low;
};

// The logo below level 16 is read whole, 40 rows from its cell's top: the 16 rows below the cell
// (its two neighbours and the return fire's frames between them) are its last ones.
constexpr CellSource kLowLogo = {cell::title_logo_low.U(), cell::title_logo_low.V(), cell::title_logo_low.W(), 40};

// The upper band, the lower band (the same flipped) and the logo: destination, source from level
// 16, source below.
const LogoPiece kLogo[3] = {
    {{0, 16, 256, 32}, cell::title_band_high.Source(), cell::title_band_low.Source()},
    {{0, 48, 256, 32}, cell::title_band_high.Source(false, true), cell::title_band_low.Source(false, true)},
    {{42, 24, 176, 40}, cell::title_logo_high.Source(), kLowLogo},
};

void DrawPiece(const float* dst, const CellSource& src) {
    Cell(gameSprites.effect2, dst[0], dst[1], dst[2], dst[3], src);
}

}  // namespace

SC_Menu_Title::SC_Menu_Title(float, float, float, float, float, float) { Init(); }

bool SC_Menu_Title::FirstRun(const ObjectController* ctx) { return ctx->scoreData.unlockedCount < kFirstRunBelow; }

void SC_Menu_Title::Update(ObjectController* ctx) {
    buttons.Read(ctx, age);
    if (age < 2) {
        ctx->KillShots();
        ctx->VanishEnemies();
        ctx->VanishBullets();
        ctx->KillEffectsAndWaves();
    }
    if (age == 0) Open(ctx);
    HandleInput(ctx);
    Decide(ctx);
    if (decideCount > 0) decideCount += 1;
    // The pause button never reaches the game's copies; holding it keeps the title too.
    if (buttons.AnyHeld() || ctx->input.raw[kFourth] != 0) {
        idleFrames = 0;
    } else if (++idleFrames >= kIdleLimit && IsAlive()) {
        Vanish();
        ctx->CreateObject(type_id::SC_Demo, 128, 0, 0, 0, 0, 0, nullptr);
    }
    age += 1;
}

void SC_Menu_Title::Open(ObjectController* ctx) {
    ScoreData& scores = ctx->scoreData;
    cursorRow = ctx->lastTitleRow;
    ctx->gameRunning = false;
    ctx->bgm.Play(2);
    bool locked = false;
    for (int32_t member : ctx->partyMembers) locked = locked || scores.unlockFlags[((member % 64) + 64) % 64] == 0;
    if (locked) {
        for (int i = 0; i < 4; ++i) ctx->partyMembers[i] = 11 + i;
    }
    if (ctx->levelBeforePlayback.has_value()) {
        ctx->ArrestLevel = *ctx->levelBeforePlayback;
        ctx->levelBeforePlayback.reset();
    }
    if (ctx->ArrestLevel > scores.arrestCount) ctx->ArrestLevel = 0;
}

int32_t SC_Menu_Title::StepRow(int32_t row, int32_t step, int32_t arrestCount) {
    row = (row + (step > 0 ? 1 : kRows - 1)) % kRows;
    if (row == kExterminationRow && arrestCount < kExterminationFrom) row += step;
    if (row == kSealRow) row += step;
    return row;
}

void SC_Menu_Title::HandleInput(ObjectController* ctx) {
    if (FirstRun(ctx)) {
        if (buttons.Pressed(kDecide)) {
            decideCount += 1;
            ctx->PlaySE(sound::kMenuDecide);
        }
        return;
    }
    const int32_t arrestCount = ctx->scoreData.arrestCount;
    if (decideCount == 0) {
        if (buttons.Pressed(kDown)) {
            cursorRow = StepRow(cursorRow, 1, arrestCount);
            ctx->PlaySE(sound::kMenuMove);
        } else if (buttons.Pressed(kUp)) {
            cursorRow = StepRow(cursorRow, -1, arrestCount);
            ctx->PlaySE(sound::kMenuMove);
        }
        if (arrestCount > 0) {
            if (buttons.Repeating(kLeft)) {
                ctx->LowerRank(1);
                ctx->PlaySE(sound::kMenuMove);
            } else if (buttons.Repeating(kRight)) {
                ctx->RaiseRank(1);
                ctx->PlaySE(sound::kMenuMove);
            }
        }
        if (buttons.Pressed(kThird) && arrestCount >= kExterminationFrom) {
            ctx->viewState = 1 - ctx->viewState;
            ctx->PlaySE(sound::kMenuMove);
        }
    }
    if (buttons.Pressed(kDecide) && decideCount == 0) {
        decideCount = 1;
        ctx->PlaySE(sound::kMenuDecide);
    }
}

void SC_Menu_Title::Decide(ObjectController* ctx) {
    if (decideCount < kDecideDelay || !IsAlive()) return;
    ctx->lastTitleRow = cursorRow;
    Vanish();
    if (FirstRun(ctx)) {
        ctx->gameMode = 0;
        ctx->playerCount = 1;
        StartFresh(ctx);
        ctx->StartGame(11, 12, 13, 14, 1, 0, -1);
        return;
    }
    const TitleRow& row = kTitleRows[cursorRow];
    if (row.nextScene == 0) return;
    if (row.gameMode >= 0) ctx->gameMode = row.gameMode;
    ctx->CreateObject(row.nextScene, 128, 0, 0, 0, 0, 0, nullptr);
}

void SC_Menu_Title::DrawMenu(ObjectController* ctx) {
    const int32_t arrestCount = ctx->scoreData.arrestCount;
    const bool steady = decideCount != 0;
    if (!FirstRun(ctx)) {
        for (int32_t r = 0; r < kRows; ++r) {
            if (r == kExterminationRow && arrestCount < kExterminationFrom) continue;
            Text(kTitleRows[r].text, 64, kTitleRows[r].y);
        }
        if (arrestCount > 0) {
            Text(L"ARRESTED", 56, 216);
            Number(168, 216, ctx->ArrestLevel);
            if (steady || age % 32 >= 16) {
                Cell(gameSprites.effect2, 184, 216, 8, 8, cell::menu_pointer.Source());
                Cell(gameSprites.effect2, 136, 216, 8, 8, cell::menu_pointer.Source(true));
            }
        }
        if (steady || age % 16 < 8) Pointer(48, static_cast<float>((cursorRow + 7) * 16));
    } else if (age % 60 < 30) {
        Text(L"PUSH A BUTTON TO START", 40, 144);
    }
    const bool high = ctx->ArrestLevel >= 16;
    for (const LogoPiece& piece : kLogo) DrawPiece(piece.dst, high ? piece.high : piece.low);
    if (ctx->viewState != 0) Text(L"VIEW STATE", 176, 232);
}

namespace {

const ClassRegistration kTitleClass{{type_id::SC_Menu_Title, MakeObject<SC_Menu_Title>}};

}  // namespace
