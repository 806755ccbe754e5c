// A party size's ranking table seen through one shape, shared by the record's rules and its file.
#pragma once

#include <cstdint>

#include "game/world/score_data.h"

struct RankingView {
    int32_t entries = 0;  // 64 solo, 10, 20, 35
    int32_t places = 0;   // 0 solo, else the party size
    int32_t* records = nullptr;
    int32_t* maxLevel = nullptr;
    int32_t* members = nullptr;

    int32_t& Record(int32_t entry, int32_t field, int32_t mode) const { return records[(entry * 2 + field) * kGameModes + mode]; }
    int32_t& MaxLevel(int32_t entry, int32_t mode) const { return maxLevel[entry * kGameModes + mode]; }
    int32_t& Member(int32_t entry, int32_t place, int32_t mode) const {
        return members[(entry * places + place) * kGameModes + mode];
    }
};

// The table of a party size 1-4; entries 0 for any other size.
RankingView RankingFor(const ScoreData& data, int32_t partySize);

struct FormationView {
    int32_t size = 0;  // 2-4; 0 for any other party size
    int32_t* members = nullptr;
    int32_t* values = nullptr;

    int32_t& Member(int32_t slot, int32_t place) const { return members[slot * size + place]; }
};

FormationView FormationsFor(const ScoreData& data, int32_t partySize);
int32_t DefaultFormationValue(int32_t partySize);  // 11, 12, 121 for 2, 3, 4

// The non-negative remainder: values read from files or passed by callers never index outside.
inline int32_t Wrap(int32_t value, int32_t count) { return ((value % count) + count) % count; }
