#include "game/world/names.h"

#include "game/world/object_controller.h"

namespace {

const wchar_t* const kUnnamed = L"すぐにけせ";

struct NamedCharacter {
    int32_t id;
    const wchar_t* name;
};

const NamedCharacter kNames[] = {
    {0, L"のあ"},   {1, L"あきみ"}, {9, L"けいと"},   {11, L"なつき"}, {12, L"さやか"}, {13, L"カレン"},
    {14, L"ひかる"}, {21, L"みなと"}, {25, L"あいこ"}, {28, L"ゆう"},   {63, L"らんだむ"},
};

const wchar_t* const kSingles[] = {L"C", L"B", L"A", L"S"};
const wchar_t* const kPairs[] = {L"CC", L"BC", L"BB", L"AC", L"AB", L"AA", L"SC", L"SB", L"SA", L"SS"};
const wchar_t* const kTrios[] = {L"CCC", L"BCC", L"BBC", L"BBB", L"ACC", L"ABC", L"ABB", L"AAC", L"AAB", L"AAA",
                                 L"SCC", L"SBC", L"SBB", L"SAC", L"SAB", L"SAA", L"SSC", L"SSB", L"SSA", L"SSS"};
const wchar_t* const kQuartets[] = {
    L"CCCC", L"BCCC", L"BBCC", L"BBBC", L"BBBB", L"ACCC", L"ABCC", L"ABBC", L"ABBB", L"AACC", L"AABC", L"AABB",
    L"AAAC", L"AAAB", L"AAAA", L"SCCC", L"SBCC", L"SBBC", L"SBBB", L"SACC", L"SABC", L"SABB", L"SAAC", L"SAAB",
    L"SAAA", L"SSCC", L"SSBC", L"SSBB", L"SSAC", L"SSAB", L"SSAA", L"SSSC", L"SSSB", L"SSSA", L"SSSS"};

struct GradeList {
    const wchar_t* const* strings;
    int32_t count;
    int32_t weights[4];  // C, B, A, S: every combination of a size has its own sum
};

const GradeList* ListOf(int32_t partySize) {
    static const GradeList lists[] = {
        {kSingles, 4, {0, 1, 2, 3}},
        {kPairs, 10, {0, 1, 3, 7}},
        {kTrios, 20, {0, 1, 4, 13}},
        {kQuartets, 35, {0, 1, 5, 21}},
    };
    if (partySize < 1 || partySize > 4) return nullptr;
    return &lists[partySize - 1];
}

int32_t GradeOfLetter(wchar_t letter) {
    switch (letter) {
        case L'B': return 1;
        case L'A': return 2;
        case L'S': return 3;
        default: return 0;
    }
}

// The weight sum of each combination string, so that a party's sum finds its index.
int32_t WeightOfString(const GradeList& list, const wchar_t* text) {
    int32_t sum = 0;
    for (const wchar_t* c = text; *c != 0; ++c) sum += list.weights[GradeOfLetter(*c)];
    return sum;
}

}  // namespace

int32_t CharacterSlot(int32_t id) { return ((id % kCharacterIds) + kCharacterIds) % kCharacterIds; }

const wchar_t* CharacterName(int32_t id) {
    int32_t slot = CharacterSlot(id);
    for (const NamedCharacter& n : kNames) {
        if (n.id == slot) return n.name;
    }
    return kUnnamed;
}

int32_t GradeStringCount(int32_t partySize) {
    const GradeList* list = ListOf(partySize);
    return list != nullptr ? list->count : 0;
}

const wchar_t* GradeString(int32_t partySize, int32_t index) {
    const GradeList* list = ListOf(partySize);
    if (list == nullptr || index < 0 || index >= list->count) return nullptr;
    return list->strings[index];
}

int32_t PartyGrade(ObjectController* game, int32_t partySize, int32_t id1, int32_t id2, int32_t id3, int32_t id4) {
    if (partySize < 2 || partySize > 4) return 0;
    const GradeList& list = *ListOf(partySize);
    int32_t ids[4] = {id1, id2, id3, id4};
    int32_t sum = 0;
    for (int i = 0; i < partySize; ++i) {
        int32_t grade = game->grades[CharacterSlot(ids[i])];
        if (grade < 0 || grade > 3) grade = 0;
        sum += list.weights[grade];
    }
    for (int32_t index = 0; index < list.count; ++index) {
        if (WeightOfString(list, list.strings[index]) == sum) return index;
    }
    return 0;
}
