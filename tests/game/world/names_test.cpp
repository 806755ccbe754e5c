#include <algorithm>

#include "game/world/names.h"
#include "game/world/text.h"
#include "world_support.h"

using namespace world_test;

class Names : public WorldTest {};

// Every party of every size against the rule: sort the grade letters best first and find the
// string in the list of that size.
TEST_F(Names, PartyGradeIsTheIndexOfTheSortedLetters) {
    world.InitController();
    const int32_t idOfGrade[4] = {0, 6, 8, 18};  // a C, a B, an A and an S character
    const wchar_t letters[4] = {L'C', L'B', L'A', L'S'};
    for (int32_t size = 2; size <= 4; ++size) {
        int32_t combinations = 1;
        for (int i = 0; i < size; ++i) combinations *= 4;
        for (int32_t n = 0; n < combinations; ++n) {
            int32_t grades[4] = {0, 0, 0, 0};
            for (int i = 0, rest = n; i < size; ++i, rest /= 4) grades[i] = rest % 4;
            std::wstring text;
            for (int i = 0; i < size; ++i) text += letters[grades[i]];
            std::sort(text.begin(), text.end(), [](wchar_t a, wchar_t b) {
                return std::wstring(L"SABC").find(a) < std::wstring(L"SABC").find(b);
            });
            int32_t expected = -1;
            for (int32_t i = 0; i < GradeStringCount(size); ++i) {
                if (text == GradeString(size, i)) expected = i;
            }
            int32_t ids[4] = {0, 0, 0, 0};
            for (int i = 0; i < size; ++i) ids[i] = idOfGrade[grades[i]];
            EXPECT_EQ(PartyGrade(&world, size, ids[0], ids[1], ids[2], ids[3]), expected);
        }
    }
    EXPECT_EQ(PartyGrade(&world, 1, 18, 0, 0, 0), 0);
    EXPECT_EQ(PartyGrade(&world, 2, 18 - 64, 8 + 128, 0, 0), 8);  // "SA" from ids reduced mod 64
}

TEST(CharacterNames, Table) {
    EXPECT_EQ(std::wstring(CharacterName(0)), L"のあ");
    EXPECT_EQ(std::wstring(CharacterName(63)), L"らんだむ");
    EXPECT_EQ(std::wstring(CharacterName(-1)), L"らんだむ");  // -1 reduces to 63, not below the table
    EXPECT_EQ(std::wstring(CharacterName(2)), L"すぐにけせ");
    EXPECT_EQ(std::wstring(CharacterName(64 + 13)), L"カレン");
    EXPECT_EQ(GradeString(2, 10), nullptr);
    EXPECT_EQ(std::wstring(GradeString(4, 23)), L"SAAB");
}

TEST(FontCells, CellMap) {
    struct Case {
        wchar_t c;
        GlyphCells cells;
    } cases[] = {
        {L'0', {0, 0}},        {L'9', {9, 0}},         {L'A', {32, 0}},        {L'Z', {57, 0}},
        {L'.', {19, 0}},       {0xFF1F, {18, 0}},      {L'a', {255, 0}},       {L' ', {255, 0}},
        {0x304B, {69, 0}},     {0x304C, {69, 116}},    {0x3071, {89, 117}},    {0x3082, {98, 0}},
        {0x308D, {106, 0}},    {0x3093, {109, 0}},     {0x3063, {115, 0}},     {0x30FC, {121, 0}},
        {0x30AB, {133, 0}},    {0x30AC, {133, 116}},   {0x30D1, {153, 117}},   {0x30E2, {162, 0}},
        {0x30ED, {170, 0}},    {0x30C3, {179, 0}},     {0x30E7, {184, 0}},     {0x3094, {255, 0}},
    };
    for (const Case& c : cases) {
        GlyphCells got = FontCells(c.c);
        EXPECT_EQ(got.cell, c.cells.cell) << std::hex << static_cast<int>(c.c);
        EXPECT_EQ(got.mark, c.cells.mark) << std::hex << static_cast<int>(c.c);
    }
}
