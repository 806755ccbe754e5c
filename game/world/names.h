// Character names and party grades: the name of each character id, the grade-combination strings
// of parties of two, three and four, and the combination index of a party.
#pragma once

#include <cstdint>

class ObjectController;

constexpr int kCharacterIds = 64;

// Ids read from files may be anything: they are reduced to 0-63 by a non-negative remainder.
int32_t CharacterSlot(int32_t id);

const wchar_t* CharacterName(int32_t id);  // the name of id mod 64
// The number of grade strings for a party size (10, 20, 35; 4 for one character).
int32_t GradeStringCount(int32_t partySize);
// The grade string of a combination index (a letter C, B, A or S for party size 1); null when
// the index is out of range.
const wchar_t* GradeString(int32_t partySize, int32_t index);
// The combination index of the first partySize ids' grades; 0 for other party sizes.
int32_t PartyGrade(ObjectController* game, int32_t partySize, int32_t id1, int32_t id2, int32_t id3, int32_t id4);
