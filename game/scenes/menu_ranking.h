// The ranking: a menu page picks the party size and the game mode, a table page lists the best
// results of every character or party grade combination, scrolls and sorts them.
#pragma once

#include <cstdint>
#include <list>

#include "game/scenes/menu.h"
#include "game/world/object.h"

struct RankingRow {
    int32_t members[4];  // seats beyond the party size hold 12, 13, 14
    int32_t tableIndex;  // 1 for solo rows, the grade combination for parties
    int32_t bestScore;   // in tens
    int32_t bestLevel;   // arrest level of the best run
    int32_t maxLevel;    // highest arrest level, -1 none
};

// The column the tables sort by: 0 member 1 ascending; 1 best score, 2 its level, 3 highest
// level, 4 table index, all descending.
extern int32_t rankingSortColumn;
bool RankingLess(const RankingRow& a, const RankingRow& b);

class SC_Menu_Ranking : public Object {
public:
    SC_Menu_Ranking(float x, float y, float a, float b, float c, float d);
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;

    int32_t cursorRow = 0;  // 0 party size, 1 family, 2 sub-mode, 3 OK
    menu::Buttons buttons;
    int32_t decideCount = 0;
    int32_t page = 0;  // 0 menu, 1 solo table, 2-4 party tables
    int32_t partySize = 1;
    std::list<RankingRow> rows;
    int32_t scroll = 0;
    int32_t rankingMode = 0;

private:
    void Update(ObjectController* ctx);
    void UpdateMenu(ObjectController* ctx);
    void UpdateTable(ObjectController* ctx);
    void BuildTable(ObjectController* ctx);
    void Decide(ObjectController* ctx);
    void DrawMenu(ObjectController* ctx);
    void DrawTable(ObjectController* ctx);   // solo
    void DrawTable2(ObjectController* ctx);  // parties
    void DrawTableFrame(bool solo, const int32_t (&markerX)[5]);
    int32_t RowCount(const ObjectController* ctx) const;
};
