// The ranking scene.
#include "game/scenes/menu_ranking.h"

#include "game/scenes/menu_extermination.h"

#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/sound_ids.h"
#include "game/world/text.h"

using namespace menu;

int32_t rankingSortColumn = 0;

namespace {

constexpr int32_t kShownRows = 12;
constexpr int32_t kGhostModes = 16;
constexpr int32_t kSubModesFrom = 16;  // arrest count that opens the sub-mode row
constexpr int32_t kPartyCombinations[5] = {0, 64, 10, 20, 35};
const wchar_t* const kPartyNames[5] = {L"", L"SOLO", L"PAIR", L"TRIO", L"QUARTETTO"};

// A direction acts on its first frame, then every `every` frames after `after` held frames.
bool Repeats(int32_t held, int32_t after, int32_t every) { return held == 1 || (held > after && held % every == 0); }

// The marks that more rows lie below (at the bottom) and above (at the top, flipped).
void ScrollMarks(bool below, bool above) {
    if (below) Cell(gameSprites.effect2, 248, 224, 8, 8, cell::list_more.Source());
    if (above) Cell(gameSprites.effect2, 248, 48, 8, 8, cell::list_more.Source(false, true));
}

void Level(float x, float y, int32_t level) {
    if (level <= -1) Text(L"-", x, y);
    else Number(x, y, level);
}

}  // namespace

bool RankingLess(const RankingRow& a, const RankingRow& b) {
    switch (rankingSortColumn) {
        case 0: return a.members[0] < b.members[0];
        case 2: return a.bestLevel > b.bestLevel;
        case 3: return a.maxLevel > b.maxLevel;
        case 4: return a.tableIndex > b.tableIndex;
        default: return a.bestScore > b.bestScore;
    }
}

SC_Menu_Ranking::SC_Menu_Ranking(float, float, float, float, float, float) {
    Init();
    rankingSortColumn = 0;
}

void SC_Menu_Ranking::Run(ObjectController* ctx) {
    buttons.Read(ctx, age);
    if (age == 0) ctx->gameRunning = false;
    Update(ctx);
    Decide(ctx);
    if (decideCount > 0) decideCount += 1;
    age += 1;
}

void SC_Menu_Ranking::Update(ObjectController* ctx) {
    if (page == 0) {
        if (decideCount == 0) UpdateMenu(ctx);
        return;
    }
    if (age == 1) BuildTable(ctx);
    UpdateTable(ctx);
}

void SC_Menu_Ranking::UpdateMenu(ObjectController* ctx) {
    const bool subModes = ctx->scoreData.arrestCount >= kSubModesFrom;
    const bool ghost = rankingMode >= kGhostModes;
    auto held = [&](int32_t b) { return Repeats(buttons.held[b], 30, 8); };
    if (held(kDown) || (buttons.Pressed(kDecide) && cursorRow <= 2)) {
        ctx->PlaySE(held(kDown) ? sound::kMenuMove : sound::kMenuDecide);
        cursorRow = (cursorRow + 1) % 4;
        if (cursorRow == 2 && !subModes) cursorRow = 3;
    } else if (held(kUp)) {
        ctx->PlaySE(sound::kMenuMove);
        cursorRow = (cursorRow + 3) % 4;
        if (cursorRow == 2 && !subModes) cursorRow = 1;
    } else if (held(kRight) || held(kLeft)) {
        ctx->PlaySE(sound::kMenuMove);
        const bool right = held(kRight);
        if (cursorRow == 0) {
            if (right) {
                partySize += 1;
                if (partySize == 5) partySize = ghost ? 2 : 1;
            } else {
                partySize -= 1;
                if (partySize == 0 || (ghost && partySize == 1)) partySize = 4;
            }
        } else if (cursorRow == 1) {
            rankingMode = (rankingMode + 16) % 32;
            if (rankingMode == 29) rankingMode = 16;
            if (partySize == 1) partySize = 2;
        } else if (cursorRow == 2) {
            const int32_t family = rankingMode / 16 * 16;
            int32_t sub = rankingMode % 16;
            if (right) {
                sub += 1;
                if (sub == 13) sub = 0;
                if (sub == 4) sub = 10;
                if (sub == 12) sub = 0;
            } else {
                sub -= 1;
                if (sub == -1) sub = 12;
                if (sub == 12) sub = 11;
                if (sub == 9) sub = 3;
            }
            rankingMode = family + sub;
        }
    } else if (buttons.Pressed(kCancel)) {
        decideCount = 1;
        ctx->PlaySE(sound::kMenuDecide);
    } else if (buttons.Pressed(kDecide) && cursorRow == 3) {
        page = partySize;
        age = 0;
        scroll = 0;
        ctx->PlaySE(sound::kMenuDecide);
    }
}

int32_t SC_Menu_Ranking::RowCount(const ObjectController* ctx) const {
    return page == 1 ? ctx->scoreData.unlockedCount : kPartyCombinations[page];
}

void SC_Menu_Ranking::BuildTable(ObjectController* ctx) {
    const ScoreData& s = ctx->scoreData;
    rows.clear();
    if (page == 1) {
        for (int32_t id = 0; id < 64; ++id) {
            if (s.unlockFlags[id] == 0) continue;
            rows.push_back({{id, 12, 13, 14}, 1, s.GetRankingEntry(id, 0, rankingMode, 1),
                            s.GetRankingEntry(id, 1, rankingMode, 1), s.GetRankingExtra(id, rankingMode, 1)});
        }
        rankingSortColumn = 0;
        return;
    }
    const int32_t n = page;
    for (int32_t c = 0; c < kPartyCombinations[n]; ++c) {
        RankingRow row{{12, 12, 13, 14}, c, s.GetRankingEntry(c, 0, rankingMode, n), s.GetRankingEntry(c, 1, rankingMode, n),
                       s.GetRankingExtra(c, rankingMode, n)};
        for (int32_t m = 0; m < n; ++m) row.members[m] = s.GetRankingMember(c, m, n, rankingMode);
        rows.push_back(row);
    }
    rankingSortColumn = 4;
}

void SC_Menu_Ranking::UpdateTable(ObjectController* ctx) {
    auto held = [&](int32_t b) { return Repeats(buttons.held[b], 20, 4); };
    if (buttons.Pressed(kCancel)) {
        page = 0;
        rows.clear();
        ctx->PlaySE(sound::kMenuCancel);
    } else if (buttons.Pressed(kDecide)) {
        rows.sort(RankingLess);  // a stable sort: equal rows keep their order
        scroll = 0;
        ctx->PlaySE(sound::kMenuDecide);
    } else if (held(kUp)) {
        if (scroll + kShownRows < RowCount(ctx)) {
            scroll += 1;
            ctx->PlaySE(sound::kMenuMove);
        }
    } else if (held(kDown)) {
        if (scroll >= 1) {
            scroll -= 1;
            ctx->PlaySE(sound::kMenuMove);
        }
    } else if (held(kRight) || held(kLeft)) {
        ctx->PlaySE(sound::kMenuMove);
        const bool right = held(kRight);
        if (page == 1) {
            rankingSortColumn = (rankingSortColumn + (right ? 1 : 3)) % 4;
        } else {
            rankingSortColumn += right ? 1 : -1;
            if (rankingSortColumn == 5) rankingSortColumn = 1;
            if (rankingSortColumn == 0) rankingSortColumn = 4;
        }
    }
}

void SC_Menu_Ranking::Decide(ObjectController* ctx) {
    if (decideCount < kDecideDelay || !IsAlive()) return;
    Vanish();
    ctx->CreateObject(type_id::SC_Menu_Title, 128, 0, 0, 0, 0, 0, nullptr);
}

void SC_Menu_Ranking::Draw(ObjectController* ctx) {
    if (page == 0) DrawMenu(ctx);
    else if (page == 1) DrawTable(ctx);
    else DrawTable2(ctx);
}

void SC_Menu_Ranking::DrawMenu(ObjectController* ctx) {
    Text(L"RANKING MENU", 82, 16);
    Text(L"PLAYER NUMBER", 64, 64);
    if (partySize >= 1 && partySize <= 4) Text(kPartyNames[partySize], 96, 80);
    Text(L"MODE", 64, 112);
    Text(L"COOP    GHOST", 80, 128);
    Cell(gameSprites.effect2, static_cast<float>((rankingMode / 16 + 1) * 64), 128, 8, 8, cell::list_marker.Source());
    if (ctx->scoreData.arrestCount >= kSubModesFrom) {
        Text(L"NODE", 64, 160);
        const int32_t sub = rankingMode % 16;
        if (rankingMode == 0) Text(L"COOP FULL", 80, 176);
        else if (rankingMode == 16) Text(L"GHOST NORMAL", 80, 176);
        else if (sub == 13) Text(L"SHORT MISSION", 80, 176);
        else DrawSubModeName(sub, 80, 176);
    }
    Text(L"OK!", 64, 208);
    if (decideCount != 0 || age % 16 < 8) Pointer(48, static_cast<float>(cursorRow * 48 + 64));
}

void SC_Menu_Ranking::DrawTableFrame(bool solo, const int32_t (&markerX)[5]) {
    const float shift = solo ? 0.0f : 24.0f;
    Text(L"AVENGER", solo ? 8 : 32, 16);
    Text(L"CRACKED DATA", 80 + (solo ? 0 : 32), 8);
    Text(L"ARR", 176 + shift, 16);
    Text(L"MAX", 216 + (solo ? 0 : 16), 8);
    Text(L"ARR", 216 + (solo ? 0 : 16), 16);
    Text(L"SORT", 0, 32);
    if ((age / 12) % 2 != 0) return;
    if (rankingSortColumn >= 0 && rankingSortColumn <= 4 && markerX[rankingSortColumn] >= 0) {
        Cell(gameSprites.effect2, static_cast<float>(markerX[rankingSortColumn]), 32, 8, 8, cell::list_marker.Source());
    }
}

void SC_Menu_Ranking::DrawTable(ObjectController* ctx) {
    DrawTableFrame(true, {42, 130, 189, 229, -1});
    if ((age / 12) % 2 == 0) ScrollMarks(scroll + kShownRows < RowCount(ctx), scroll > 0);
    int32_t k = 0;
    for (const RankingRow& row : rows) {
        if (k >= scroll && k < scroll + kShownRows) {
            const float y = static_cast<float>((k - scroll + 3) * 16);
            Number(8, y, k + 1);
            Icon(row.members[0], 40, static_cast<float>((k - scroll) * 16 + 44));
            DrawCharacterName(56, y, row.members[0], kWhite);
            Number(160, y, 0);
            if (row.bestScore > 0) Number(152, y, row.bestScore);
            Level(192, y, row.bestLevel);
            Level(232, y, row.maxLevel);
        }
        ++k;
    }
}

void SC_Menu_Ranking::DrawTable2(ObjectController* ctx) {
    DrawTableFrame(false, {-1, 146, 197, 229, 58});
    if ((age / 12) % 2 == 0) ScrollMarks(scroll + kShownRows < RowCount(ctx), scroll > 0);
    const int32_t n = page;
    int32_t k = 0;
    for (const RankingRow& row : rows) {
        if (k >= scroll && k < scroll + kShownRows) {
            const float y = static_cast<float>((k - scroll + 3) * 16);
            Number(8, y, k + 1);
            for (int32_t m = 0; m < n; ++m) {
                Icon(row.members[m], static_cast<float>((m - n + 5) * 16), static_cast<float>((k - scroll) * 16 + 44));
            }
            DrawGradeText(80, y, n, row.tableIndex, kWhite);
            Number(192, y, 0);
            if (row.bestScore > 0) Number(184, y, row.bestScore);
            Level(216, y, row.bestLevel);
            Level(240, y, row.maxLevel);
        }
        ++k;
    }
}

namespace {

const ClassRegistration kRankingClass{{type_id::SC_Menu_Ranking, MakeObject<SC_Menu_Ranking>}};

}  // namespace
