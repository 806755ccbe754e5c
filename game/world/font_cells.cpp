// The cell map of the bitmap font and the placement of party icons.
#include "game/world/text.h"

namespace {

// Runs of consecutive code points that map to consecutive cells.
struct CellRun {
    wchar_t first;
    wchar_t last;
    int32_t cell;
};

constexpr CellRun kRuns[] = {
    {L'0', L'9', 0},
    {L'A', L'Z', 32},
    {0x3089, 0x308D, 102},  // hiragana ra row
    {0x30E9, 0x30ED, 166},  // katakana ra row
};

struct SingleCell {
    wchar_t c;
    int32_t cell;
};

constexpr SingleCell kSingles[] = {
    {L'!', 10}, {L'*', 11}, {L'(', 12}, {L')', 13}, {L'\'', 14}, {L',', 15}, {L'+', 16}, {L'-', 17},
    {L'?', 18}, {L'.', 19}, {0xFF1F, 18},
    // hiragana a i u e o, ya yu yo, wa wo n, small a i u e o, small tsu, marks, small ya yu yo, long vowel
    {0x3042, 64}, {0x3044, 65}, {0x3046, 66}, {0x3048, 67}, {0x304A, 68},
    {0x3084, 99}, {0x3086, 100}, {0x3088, 101},
    {0x308F, 107}, {0x3092, 108}, {0x3093, 109},
    {0x3041, 110}, {0x3043, 111}, {0x3045, 112}, {0x3047, 113}, {0x3049, 114},
    {0x3063, 115}, {0x309B, 116}, {0x309C, 117}, {0x3083, 118}, {0x3085, 119}, {0x3087, 120}, {0x30FC, 121},
    // katakana a i u e o, ya yu yo, wa wo n, small a i u e o, small tsu, small ya yu yo
    {0x30A2, 128}, {0x30A4, 129}, {0x30A6, 130}, {0x30A8, 131}, {0x30AA, 132},
    {0x30E4, 163}, {0x30E6, 164}, {0x30E8, 165},
    {0x30EF, 171}, {0x30F2, 172}, {0x30F3, 173},
    {0x30A1, 174}, {0x30A3, 175}, {0x30A5, 176}, {0x30A7, 177}, {0x30A9, 178},
    {0x30C3, 179}, {0x30E3, 182}, {0x30E5, 183}, {0x30E7, 184},
};

// The unvoiced hiragana of the ka, sa, ta, na, ha and ma rows in cell order (cells 69-98); the
// katakana rows are the same code points plus 0x60 (cells 133-162).
constexpr wchar_t kUnvoicedRows[30] = {
    0x304B, 0x304D, 0x304F, 0x3051, 0x3053,  // ka
    0x3055, 0x3057, 0x3059, 0x305B, 0x305D,  // sa
    0x305F, 0x3061, 0x3064, 0x3066, 0x3068,  // ta
    0x306A, 0x306B, 0x306C, 0x306D, 0x306E,  // na
    0x306F, 0x3072, 0x3075, 0x3078, 0x307B,  // ha
    0x307E, 0x307F, 0x3080, 0x3081, 0x3082,  // ma
};
constexpr wchar_t kKatakanaShift = 0x60;
constexpr int32_t kHiraganaRowCell = 69;
constexpr int32_t kKatakanaRowCell = 133;

// Only the ka, sa, ta and ha rows have voiced forms; only the ha row semi-voiced ones.
bool HasVoicedForm(int index) { return index < 15 || (index >= 20 && index < 25); }
bool HasSemiVoicedForm(int index) { return index >= 20 && index < 25; }

}  // namespace

GlyphCells FontCells(wchar_t c) {
    for (const CellRun& run : kRuns) {
        if (c >= run.first && c <= run.last) return {run.cell + static_cast<int32_t>(c - run.first), 0};
    }
    for (const SingleCell& single : kSingles) {
        if (single.c == c) return {single.cell, 0};
    }
    for (int shift = 0; shift < 2; ++shift) {
        wchar_t offset = shift == 0 ? 0 : kKatakanaShift;
        int32_t rowCell = shift == 0 ? kHiraganaRowCell : kKatakanaRowCell;
        for (int i = 0; i < 30; ++i) {
            wchar_t base = kUnvoicedRows[i] + offset;
            if (c == base) return {rowCell + i, 0};
            if (c == base + 1 && HasVoicedForm(i)) return {rowCell + i, kVoicedMarkCell};
            if (c == base + 2 && HasSemiVoicedForm(i)) return {rowCell + i, kSemiVoicedMarkCell};
        }
    }
    return {kUnknownGlyphCell, 0};
}

namespace {

struct FormationIcons {
    int32_t size;
    int32_t formation;  // -1 = any
    IconOffset members[4];
};

constexpr FormationIcons kIcons[] = {
    {1, -1, {{0, 0}}},
    {2, 11, {{0, -8}, {0, 8}}},
    {2, 2, {{-8, 0}, {8, 0}}},
    {3, 111, {{0, -16}, {0, 0}, {0, 16}}},
    {3, 12, {{0, -8}, {-8, 8}, {8, 8}}},
    {3, 21, {{-8, -8}, {8, -8}, {0, 8}}},
    {3, 3, {{-16, 0}, {0, 0}, {16, 0}}},
    {4, 1111, {{0, -24}, {0, -8}, {0, 8}, {0, 24}}},
    {4, 211, {{-8, -16}, {8, -16}, {0, 0}, {0, 16}}},
    {4, 121, {{0, -16}, {-8, 0}, {8, 0}, {0, 16}}},
    {4, 112, {{0, -16}, {0, 0}, {-8, 16}, {8, 16}}},
    {4, 22, {{-8, -8}, {8, -8}, {-8, 8}, {8, 8}}},
    {4, 31, {{-16, -8}, {0, -8}, {16, -8}, {0, 8}}},
    {4, 13, {{0, -8}, {-16, 8}, {0, 8}, {16, 8}}},
    {4, 4, {{-24, 0}, {-8, 0}, {8, 0}, {24, 0}}},
};

}  // namespace

IconOffset PartyIconOffset(int32_t partySize, int32_t formation, int32_t member) {
    if (member < 0 || member > 3) return {0, 0};
    for (const FormationIcons& icons : kIcons) {
        if (icons.size == partySize && (icons.formation == -1 || icons.formation == formation)) {
            return icons.members[member];
        }
    }
    return {0, 0};
}
