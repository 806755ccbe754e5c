// The party set-up menu: its main page, the seat and whole-team selections with the firing
// preview, and the saved formations.
#include "game/scenes/menu_coop.h"

#include <algorithm>

#include "framework/core/random.h"
#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/sound_ids.h"
#include "game/world/text.h"

using namespace menu;

namespace {

constexpr int32_t kGhostModes = 16;
constexpr int32_t kFirstListedCode = 99;  // the character code of the list's first entry
constexpr int32_t kListLength = 10;
constexpr int32_t kCountRow = 0, kYesRow = 1, kNoRow = 2, kFirstSeatRow = 3, kTeamRow = 7, kDataRow = 8;
constexpr int32_t kOkRow = 16, kRetryRow = 17;
constexpr int32_t kGameStarted = -2;

// Formation codes by player count, in stepping order.
constexpr int32_t kFormations[5][8] = {
    {},
    {1},
    {11, 2},
    {111, 12, 21, 3},
    {1111, 112, 121, 211, 22, 13, 31, 4},
};
constexpr int32_t kFormationCounts[5] = {0, 1, 2, 4, 8};

// The player-count line by family and arrest-count band (0-4, 5-8, 9 and more).
const wchar_t* const kCountLines[2][3] = {
    {L"なんにんでプレイする?   1   2", L"なんにんでプレイする?   1   2   3", L"なんにんでプレイする?   1   2   3   4"},
    {L"なんにんでプレイする?               4", L"なんにんでプレイする?           3   4",
     L"なんにんでプレイする?       2   3   4"},
};
const wchar_t* const kSeatLabels[4] = {L"1P", L"2P", L"3P", L"4P"};
const wchar_t* const kSelectHeadings[4] = {L"1P SELECT", L"2P SELECT", L"3P SELECT", L"4P SELECT"};

int32_t Band(int32_t arrestCount) { return arrestCount <= 4 ? 0 : (arrestCount <= 8 ? 1 : 2); }

// Down and up in the lists: the first frame, then every 4th from the 13th held frame.
bool ListRepeats(int32_t held) { return held == 1 || (held >= 13 && (held - 13) % 4 == 0); }

void Panel(float x, float y, float w, float h, uint32_t colour) {
    Cell(gameSprites.effect2, x, y, w, h, kSolidTexels, colour);
}


// A box of the data page: filled with the page colour inside a thin frame.
void DataBox(float x, float y, float w, float h, uint32_t colour) {
    CSprite2D* b = gameSprites.effect2;
    const SheetCell& f = cell::data_box_frame;
    Panel(x, y, w, h, colour);
    Cell(b, x - 4, y - 4, 8, 8, f.U(0), f.V(0), 8, 8);
    Cell(b, x + w - 4, y - 4, 8, 8, f.U(8), f.V(0), 8, 8);
    Cell(b, x - 4, y + h - 4, 8, 8, f.U(0), f.V(8), 8, 8);
    Cell(b, x + w - 4, y + h - 4, 8, 8, f.U(8), f.V(8), 8, 8);
    Cell(b, x + 4, y - 4, w - 8, 8, f.U(5), f.V(0), 4, 8);
    Cell(b, x + 4, y + h - 4, w - 8, 8, f.U(5), f.V(8), 4, 8);
    Cell(b, x - 4, y + 4, 8, h - 8, f.U(0), f.V(5), 8, 4);
    Cell(b, x + w - 4, y + 4, 8, h - 8, f.U(8), f.V(5), 8, 4);
}


}  // namespace

int32_t FormationCount(int32_t players) { return players >= 1 && players <= 4 ? kFormationCounts[players] : 0; }

int32_t FormationCode(int32_t players, int32_t index) {
    if (index < 0 || index >= FormationCount(players)) return 0;
    return kFormations[players][index];
}

bool IsFormationOf(int32_t players, int32_t code) {
    for (int32_t i = 0; i < FormationCount(players); ++i) {
        if (kFormations[players][i] == code) return true;
    }
    return false;
}

int32_t StepFormation(int32_t players, int32_t code, int32_t step) {
    const int32_t n = FormationCount(players);
    if (n == 0) return code;
    for (int32_t i = 0; i < n; ++i) {
        if (kFormations[players][i] == code) return kFormations[players][(i + step % n + n) % n];
    }
    return kFormations[players][0];
}

bool SC_Menu_Coop::CountAllowed(int32_t count, bool ghost, int32_t arrestCount) {
    if (count < 1 || count > 4) return false;
    const int32_t band = Band(arrestCount);
    if (ghost) return count == 4 || (count == 3 && band >= 1) || (count == 2 && band >= 2);
    return count <= 2 || (count == 3 && band >= 1) || (count == 4 && band >= 2);
}

SC_Menu_Coop::SC_Menu_Coop(float, float, float, float, float, float) {
    Init();
    available[kRandomPick] = 1;
}

void SC_Menu_Coop::Update(ObjectController* ctx) {
    buttons.Read(ctx, age);
    switch (page) {
        case kMainPage: UpdatePlayerCount(ctx); break;
        case kSeatPage:
        case kTeamPage: UpdateCharacterSelect(ctx); break;
        default: UpdateFormationData(ctx); break;
    }
    if (age == 0) Open(ctx);
    ZethRandom::Range(0, 0);
    age += 1;
    if (decideCount != 0) decideCount += 1;
}

void SC_Menu_Coop::Open(ObjectController* ctx) {
    ctx->gameRunning = false;
    std::copy(ctx->partyMembers, ctx->partyMembers + 4, members);
    std::copy(ctx->formations, ctx->formations + 4, formationValues);
    const bool ghost = ctx->gameMode >= kGhostModes;
    if (!CountAllowed(ctx->playerCount, ghost, ctx->scoreData.arrestCount)) ctx->playerCount = ghost ? 4 : 1;
    std::copy(ctx->scoreData.unlockFlags, ctx->scoreData.unlockFlags + kRandomPick, available);
    ctx->bgm.Play(1);
}

void SC_Menu_Coop::KillPreview() {
    // The party's controller owns the preview, so nothing tells this menu when it goes.
    if (preview != nullptr) preview->Kill();
    preview = nullptr;
}

void SC_Menu_Coop::NextFormation(ObjectController* ctx) {
    const int32_t n = ctx->playerCount;
    formationValues[n - 1] = StepFormation(n, formationValues[n - 1], 1);
}

void SC_Menu_Coop::PrevFormation(ObjectController* ctx) {
    const int32_t n = ctx->playerCount;
    formationValues[n - 1] = StepFormation(n, formationValues[n - 1], -1);
}

void SC_Menu_Coop::StartGame(ObjectController* ctx) {
    KillPreview();
    StartFresh(ctx);
    ctx->StartGame(members[0], members[1], members[2], members[3], formationValues[ctx->playerCount - 1], 0, -1);
}

void SC_Menu_Coop::UpdateCountRow(ObjectController* ctx) {
    const int32_t ac = ctx->scoreData.arrestCount;
    int32_t& count = ctx->playerCount;
    const bool left = buttons.Pressed(kLeft);
    const bool right = !left && buttons.Pressed(kRight);
    if (ctx->gameMode < kGhostModes) {
        if (left) {
            count = ((count + 2) % 4) + 1;
            if (count == 4 && !CountAllowed(4, false, ac)) count = ac <= 4 ? 2 : 3;
            ctx->PlaySE(sound::kMenuMove);
        } else if (right) {
            count = (count % 4) + 1;
            if (!CountAllowed(count, false, ac)) count = 1;
            ctx->PlaySE(sound::kMenuMove);
        }
    } else if (ac > 4 && (left || right)) {
        count = left ? ((count + 2) % 4) + 1 : (count % 4) + 1;
        ctx->PlaySE(sound::kMenuMove);
        if (left && !CountAllowed(count, true, ac)) count = 4;
        if (right && count == 1) count = ac <= 4 ? 4 : (ac <= 8 ? 3 : 2);
    }
    if (buttons.Pressed(kDecide) || buttons.Pressed(kDown)) {
        cursorRow = kNoRow;
        ctx->PlaySE(sound::kMenuDecide);
    } else if (buttons.Pressed(kCancel)) {
        KillPreview();
        StartFresh(ctx);
        ctx->PlaySE(sound::kMenuCancel);
        ctx->CreateObject(ctx->gameMode % 16 == 0 ? type_id::SC_Menu_Title : type_id::SC_Menu_Extermination, 128, 0, 0, 0, 0, 0, nullptr);
    }
}

void SC_Menu_Coop::UpdatePlayerCount(ObjectController* ctx) {
    const int32_t n = ctx->playerCount;
    const int32_t row = cursorRow;
    if (row == kCountRow) {
        UpdateCountRow(ctx);
    } else if (row == kYesRow || row == kNoRow) {
        if (buttons.Pressed(kLeft) || buttons.Pressed(kRight)) {
            cursorRow = row == kYesRow ? kNoRow : kYesRow;
            ctx->PlaySE(sound::kMenuMove);
        } else if (buttons.Pressed(kUp) || buttons.Pressed(kCancel)) {
            cursorRow = kCountRow;
            ctx->PlaySE(sound::kMenuCancel);
        } else if (buttons.Pressed(kDecide) || buttons.Pressed(kDown)) {
            cursorRow = row == kNoRow ? kOkRow : (n == 1 ? kFirstSeatRow : kTeamRow);
            ctx->PlaySE(sound::kMenuDecide);
        }
    } else if (row >= kFirstSeatRow && row <= kDataRow) {
        if (buttons.Pressed(kDown)) {
            int32_t next = row + 1;
            if (next == n + 3) next = kTeamRow;
            if (next == 9) next = kOkRow;
            if (next == kTeamRow && n == 1) next = kOkRow;
            cursorRow = next;
            ctx->PlaySE(sound::kMenuMove);
        } else if (buttons.Pressed(kUp)) {
            int32_t next = row - 1;
            if (next < kFirstSeatRow) next = kCountRow;
            if (next == 6) next = n + 2;
            if (next == kTeamRow && n == 1) next = kFirstSeatRow;
            cursorRow = next;
            ctx->PlaySE(sound::kMenuMove);
        } else if (buttons.Pressed(kCancel)) {
            cursorRow = kCountRow;
            ctx->PlaySE(sound::kMenuCancel);
        } else if (buttons.Pressed(kDecide)) {
            if (row <= 6) {
                page = kSeatPage;
                selection = members[row - kFirstSeatRow];
            } else if (row == kTeamRow) {
                page = kTeamPage;
                selection = members[0];
                chosenCount = 0;
                std::fill(std::begin(chosen), std::end(chosen), -1);
            } else {
                page = kDataPage;
                dataRow = 0;
                saveMode = 0;
            }
            ctx->PlaySE(sound::kMenuDecide);
        } else if (ctx->gameMode < kGhostModes && n >= 2 && buttons.Pressed(kRight)) {
            NextFormation(ctx);
            ctx->PlaySE(sound::kMenuMove);
        } else if (ctx->gameMode < kGhostModes && n >= 2 && buttons.Pressed(kLeft)) {
            PrevFormation(ctx);
            ctx->PlaySE(sound::kMenuMove);
        }
    } else if ((row == kOkRow || row == kRetryRow) && decideCount == 0) {
        if ((buttons.Pressed(kDecide) && row == kRetryRow) || buttons.Pressed(kCancel)) {
            cursorRow = kCountRow;
            ctx->PlaySE(sound::kMenuCancel);
        } else if (buttons.Pressed(kUp)) {
            cursorRow = n >= 2 ? kDataRow : kFirstSeatRow;
            ctx->PlaySE(sound::kMenuMove);
        } else if (buttons.Pressed(kLeft) || buttons.Pressed(kRight)) {
            cursorRow = row == kOkRow ? kRetryRow : kOkRow;
            ctx->PlaySE(sound::kMenuMove);
        } else if (buttons.Pressed(kDecide)) {
            decideCount = 1;
            ctx->PlaySE(sound::kMenuDecide);
            ctx->bgm.Stop();
        }
    }
    if (decideCount >= kDecideDelay) {
        StartGame(ctx);
        decideCount = kGameStarted;
    }
    ctx->KillShots();
    ctx->KillEffectsAndWaves();
}

int32_t SC_Menu_Coop::RandomPick(const int32_t* excluded, int32_t excludedCount) const {
    int32_t candidates[kRandomPick];
    int32_t n = 0;
    for (int32_t id = 0; id < kRandomPick; ++id) {
        if (available[id] != 0 && std::find(excluded, excluded + excludedCount, id) == excluded + excludedCount) {
            candidates[n++] = id;
        }
    }
    if (n == 0) return -1;
    return candidates[ZethRandom::Range(0, n - 1)];
}

// Seat `seat` takes `pick`; a seat that held the pick receives the seat's old character.
void SC_Menu_Coop::TakePick(int32_t seat, int32_t pick) {
    for (int32_t& member : members) {
        if (member == pick) {
            member = members[seat];
            break;
        }
    }
    members[seat] = pick;
}

void SC_Menu_Coop::UpdateCharacterSelect(ObjectController* ctx) {
    Input& input = ctx->input;
    if (preview == nullptr && selection != kRandomPick) {
        preview = ctx->CreatePC(selection + kFirstListedCode);
        if (preview != nullptr) {
            preview->PowerUp(ctx, 1);
            preview->x = 80.0f;
        }
        for (int32_t b = kUp; b <= kRight; ++b) input.game[b] = 0;
        ctx->KillShots();
        ctx->KillEffectsAndWaves();
    } else {
        // The preview fires its main weapon without pause.
        input.game[kDecide] = age;
        input.game[kCancel] = 0;
        for (int32_t b = kUp; b <= kRight; ++b) input.game[b] = 0;
    }
    const int32_t n = ctx->playerCount;
    if (buttons.Pressed(kCancel)) {
        ctx->PlaySE(sound::kMenuCancel);
        ctx->KillShots();
        ctx->KillEffectsAndWaves();
        if (page == kSeatPage) {
            page = kMainPage;
            KillPreview();
        } else if (--chosenCount < 0) {
            chosenCount = 0;
            page = kMainPage;
            KillPreview();
        } else {
            chosen[chosenCount] = -1;
        }
    } else if (ListRepeats(buttons.held[kDown]) || ListRepeats(buttons.held[kUp])) {
        const bool down = ListRepeats(buttons.held[kDown]);
        do {
            selection = (selection + (down ? 63 : 1)) % 64;
        } while (available[selection] == 0);
        scrollOffset = down ? -16 : 16;
        ctx->PlaySE(sound::kMenuMove);
        KillPreview();
    } else if (buttons.Pressed(kDecide) && page == kSeatPage) {
        const int32_t seat = cursorRow - kFirstSeatRow;
        int32_t pick = selection;
        if (pick == kRandomPick) pick = RandomPick(members, n == 1 ? 0 : n - 1);
        if (pick >= 0) TakePick(seat, pick);
        page = kMainPage;
        KillPreview();
        ctx->PlaySE(sound::kMenuDecide);
        ctx->VanishShots();
        ctx->KillBullets();
        ctx->KillEffectsAndWaves();
    } else if (buttons.Pressed(kDecide) && page == kTeamPage) {
        if (std::find(chosen, chosen + 4, selection) != chosen + 4) {
            ctx->PlaySE(sound::kMenuCancel);
        } else {
            int32_t pick = selection;
            if (pick == kRandomPick) pick = RandomPick(chosen, chosenCount);
            if (pick >= 0) {
                if (selection == kRandomPick) TakePick(chosenCount, pick);
                chosen[chosenCount] = pick;
                chosenCount += 1;
            }
            ctx->PlaySE(sound::kMenuDecide);
            if (chosenCount >= n) FinishTeam(ctx);
        }
    }
    if (scrollOffset > 1 || scrollOffset < -1) scrollOffset /= 2;
    else scrollOffset = 0;
}

void SC_Menu_Coop::FinishTeam(ObjectController* ctx) {
    for (int32_t i = 0; i < ctx->playerCount; ++i) members[i] = chosen[i];
    // The seats out of play keep characters distinct from the chosen ones.
    auto lastFreeDefault = [&](int32_t seats) {
        for (int32_t id = 14; id >= 11; --id) {
            if (std::find(members, members + seats, id) == members + seats) return id;
        }
        return 11;
    };
    if (members[2] == members[0] || members[2] == members[1]) members[2] = lastFreeDefault(2);
    if (std::find(members, members + 3, members[3]) != members + 3) members[3] = lastFreeDefault(3);
    page = kMainPage;
    KillPreview();
    ctx->KillShots();
    ctx->KillEffectsAndWaves();
}

void SC_Menu_Coop::UpdateFormationData(ObjectController* ctx) {
    if (dataRow <= 1) {
        if (buttons.Pressed(kCancel)) {
            page = kMainPage;
            ctx->PlaySE(sound::kMenuCancel);
        } else if (buttons.Pressed(kUp) || buttons.Pressed(kDown)) {
            dataRow = 1 - dataRow;
            saveMode = static_cast<uint8_t>(dataRow);
            ctx->PlaySE(sound::kMenuMove);
        } else if (buttons.Pressed(kDecide)) {
            dataRow = 2;
            ctx->PlaySE(sound::kMenuDecide);
        }
        return;
    }
    const int32_t slot = dataRow - 2;
    const int32_t n = ctx->playerCount;
    if (buttons.Pressed(kCancel)) {
        dataRow = saveMode;
        ctx->PlaySE(sound::kMenuCancel);
    } else if (buttons.Pressed(kRight) || buttons.Pressed(kLeft)) {
        const int32_t line = slot / 4;
        const int32_t column = (slot % 4 + (buttons.Pressed(kRight) ? 1 : 3)) % 4;
        dataRow = 2 + line * 4 + column;
        ctx->PlaySE(sound::kMenuMove);
    } else if (buttons.Pressed(kUp) || buttons.Pressed(kDown)) {
        dataRow = 2 + (slot + 4) % 8;
        ctx->PlaySE(sound::kMenuMove);
    } else if (buttons.Pressed(kDecide)) {
        if (saveMode != 0) {
            ctx->PlaySE(sound::kMenuDecide);
            ctx->scoreData.SaveParty(n, slot, formationValues[n - 1], members[0], members[1], members[2], members[3]);
        } else {
            LoadFormation(ctx, slot);
        }
    }
}

void SC_Menu_Coop::LoadFormation(ObjectController* ctx, int32_t slot) {
    const ScoreData& s = ctx->scoreData;
    const int32_t n = ctx->playerCount;
    // A slot is taken only when its members are distinct, every one of them can be chosen, and
    // its formation is one of this player count.
    bool usable = s.IsPartyDistinct(n, slot) && IsFormationOf(n, s.GetPartyValue(n, slot));
    for (int32_t i = 1; i <= n && usable; ++i) {
        const int32_t id = s.GetPartyMember(n, slot, i);
        usable = id >= 0 && id < kRandomPick && available[id] != 0;
    }
    if (!usable) {
        ctx->PlaySE(sound::kMenuCancel);
        return;
    }
    ctx->PlaySE(sound::kMenuDecide);
    for (int32_t i = 0; i < 4; ++i) members[i] = 11 + i;
    formationValues[n - 1] = s.GetPartyValue(n, slot);
    for (int32_t i = 1; i <= n; ++i) members[i - 1] = s.GetPartyMember(n, slot, i);
    auto firstNotLoaded = [&](int32_t last) {
        for (int32_t id = 11; id <= last; ++id) {
            if (std::find(members, members + n, id) == members + n) return id;
        }
        return last;
    };
    const bool loaded14 = std::find(members, members + n, 14) != members + n;
    const bool loaded13 = std::find(members, members + n, 13) != members + n;
    if (n == 3 && loaded14) members[3] = firstNotLoaded(13);
    if (n == 2 && loaded14) members[3] = firstNotLoaded(12);
    if (n == 2 && loaded13) members[2] = firstNotLoaded(12);
}

void SC_Menu_Coop::Draw(ObjectController* ctx) {
    if (page == kMainPage) {
        if (decideCount >= 0 && decideCount <= 24) DrawPlayerCount(ctx);
    } else if (page == kDataPage) {
        DrawFormationData(ctx);
    } else {
        DrawCharacterSelect(ctx);
    }
}

void SC_Menu_Coop::DrawFormation(ObjectController* ctx, float x, float y) {
    const int32_t n = ctx->playerCount;
    DrawPartyIcons(x, y, n, formationValues[n - 1], members[0], members[1], members[2], members[3]);
}

void SC_Menu_Coop::DrawPlayerCount(ObjectController* ctx) {
    const int32_t n = ctx->playerCount;
    const int32_t row = cursorRow;
    const bool ghost = ctx->gameMode >= kGhostModes;
    Panel(0, 0, 256, 240, 0xFF285080u);
    Frame(16, 24, 240, 56);
    Frame(16, 72, 240, 200);
    const bool blink = age % 20 < 10;
    if (row != kCountRow || blink) Pointer(static_cast<float>(n * 32 + 92), 40);
    if ((row == kYesRow || row == kNoRow) && blink) Pointer(static_cast<float>(row * 32 + 140), 80);
    if (row >= kFirstSeatRow && row <= kDataRow && blink) Pointer(144, static_cast<float>(row * 16 + 56));
    if ((row == kOkRow || row == kRetryRow) && (blink || decideCount >= 1)) Pointer(static_cast<float>(row * 60 - 888), 216);
    Text(kCountLines[ghost ? 1 : 0][Band(ctx->scoreData.arrestCount)], 24, 40);
    DrawFormation(ctx, 64, 168);
    Text(L"チームをへんこうしますか?　　　　　　　はい　　いいえ", 24, 80);
    for (int32_t i = 0; i < n; ++i) {
        const float y = static_cast<float>(104 + 16 * i);
        Text(kSeatLabels[i], 152, y);
        DrawCharacterName(176, y, members[i], kWhite);
        DrawGradeText(216, y, 1, ctx->grades[members[i] & 63], kWhite);
    }
    if (n >= 2) {
        Text(L"ぜんいん　へんこう", 152, 168);
        Text(L"データ", 152, 184);
    }
    if (!ghost && n >= 2) {
        Text(L"フォーメーション", 32, 104);
        Number(72, 120, formationValues[n - 1]);
        if (row >= kFirstSeatRow && row <= kDataRow && age % 30 < 15) {
            Cell(gameSprites.effect2, 40, 120, 8, 8, cell::menu_pointer.Source(true));
            Cell(gameSprites.effect2, 80, 120, 8, 8, cell::menu_pointer.Source());
        }
    }
    Text(L"OK!  　　　やりなおし", 80, 216);
}

void SC_Menu_Coop::DrawCharacterSelect(ObjectController* ctx) {
    constexpr uint32_t kPink = 0xFFFFC8B8u;
    constexpr uint32_t kCurrent = 0xFFFFB8E8u;
    constexpr uint32_t kTop = 0xFF98E800u;
    constexpr uint32_t kOther = 0xFFA0A0A0u;
    const int32_t n = ctx->playerCount;
    const int32_t seat = cursorRow - kFirstSeatRow;
    Panel(0, 0, 256, 240, 0xFF2800B8u);
    Panel(64, 0, 32, 240, kPink);
    const int32_t headingSeat = page == kSeatPage ? seat : chosenCount;
    if (headingSeat >= 0 && headingSeat < 4) Text(kSelectHeadings[headingSeat], 160, 32, static_cast<int32_t>(kPink));
    int32_t j = 0;
    for (int32_t k = 0; k < 64 && j < kListLength; ++k) {
        const int32_t id = (selection + k) % 64;
        if (available[id] == 0) continue;
        const float y = static_cast<float>(48 + 16 * j);
        const bool current = page == kSeatPage && seat >= 0 && seat < 4 && members[seat] == id;
        const uint32_t colour = current ? kCurrent : (j == 0 ? kTop : kOther);
        const int32_t c = static_cast<int32_t>(colour);
        DrawCharacterName(192, y, id, c);
        if (id != kRandomPick) DrawGradeText(232, y, 1, ctx->grades[id], c);
        Icon(id, 176, static_cast<float>(44 + 16 * j + scrollOffset));
        if (page == kSeatPage) {
            for (int32_t s = 0; s < n; ++s) {
                if (members[s] == id) Text(kSeatLabels[current ? seat : s], 160, y, c);
            }
        } else {
            for (int32_t s = 0; s < 4; ++s) {
                if (chosen[s] == id) Text(kSeatLabels[s], 160, y, c);
            }
        }
        ++j;
    }
    if (page == kTeamPage) {
        for (int32_t i = 0; i < chosenCount && i < 4; ++i) {
            const float y = static_cast<float>((i + 4) * 16);
            Text(kSeatLabels[i], 80, y);
            DrawCharacterName(104, y, chosen[i], kWhite);
            DrawGradeText(144, y, 1, ctx->grades[chosen[i] & 63], kWhite);
        }
        if (chosenCount < 4) {
            const float y = static_cast<float>((chosenCount + 4) * 16);
            Text(kSeatLabels[chosenCount], 80, y, static_cast<int32_t>(kTop));
            DrawCharacterName(104, y, selection, static_cast<int32_t>(kTop));
            if (selection != kRandomPick) DrawGradeText(144, y, 1, ctx->grades[selection], static_cast<int32_t>(kTop));
        }
    }
    for (float x : {88.0f, 104.0f, 120.0f, 136.0f}) {
        Cell(gameSprites.effect1, x, 48, 8, 8, cell::menu_chevron.Source(true), kPink);
    }
}

void SC_Menu_Coop::DrawFormationData(ObjectController* ctx) {
    const ScoreData& s = ctx->scoreData;
    const int32_t n = ctx->playerCount;
    const uint32_t colour = saveMode == 0 ? 0xFF2000B0u : 0xFF3A6C00u;
    Panel(0, 0, 256, 240, 0xFF000001u);
    DataBox(8, 24, 40, 56, colour);
    Text(L"ロード", 16, 40);
    Text(L"セーブ", 16, 56);
    DataBox(96, 16, 64, 64, colour);
    DrawFormation(ctx, 128, 48);
    for (int32_t slot = 0; slot < 8; ++slot) {
        const float c = static_cast<float>(slot % 4);
        const float r = static_cast<float>(slot / 4);
        DataBox(64 * c, 96 + 64 * r, 64, 64, colour);
        Number(8 + 64 * c, 104 + 64 * r, slot + 1);
        int32_t m[4];
        for (int32_t i = 0; i < 4; ++i) m[i] = s.GetPartyMember(n, slot, i + 1);
        bool distinct = m[0] != m[1];
        if (n >= 3) distinct = distinct && m[2] != m[0] && m[2] != m[1];
        if (n >= 4) distinct = distinct && m[3] != m[0] && m[3] != m[1] && m[3] != m[2];
        if (distinct) DrawPartyIcons(32 + 64 * c, 128 + 64 * r, n, s.GetPartyValue(n, slot), m[0], m[1], m[2], m[3]);
        else Text(L"EMPTY", 12 + 64 * c, 124 + 64 * r);
    }
    if (dataRow <= 1) {
        Cell(gameSprites.effect2, 0, dataRow == 0 ? 40 : 56, 16, 16, cell::data_cursor.Source());
    } else {
        const int32_t slot = dataRow - 2;
        Cell(gameSprites.effect2, static_cast<float>(64 * (slot % 4) - 8), static_cast<float>(104 + 64 * (slot / 4)), 16, 16,
             cell::data_cursor.Source());
    }
}

namespace {

const ClassRegistration kCoopClass{{type_id::SC_Menu_Coop, MakeObject<SC_Menu_Coop>}};

}  // namespace
