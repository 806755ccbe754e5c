// Text from the 8 x 8 bitmap font "font.bmp" (16 cells a row) through the font batch, which is
// rendered last and so lies above everything on the playfield; and the party icons.
#pragma once

#include <cstdint>

constexpr int32_t kUnknownGlyphCell = 255;
constexpr int32_t kVoicedMarkCell = 116;
constexpr int32_t kSemiVoicedMarkCell = 117;

// The font cell of a character and the cell of the mark drawn 8 above it (0 = none).
struct GlyphCells {
    int32_t cell;
    int32_t mark;
};
GlyphCells FontCells(wchar_t c);

void DrawGlyph(wchar_t c, float x, float y, float z, int32_t colour);
void DrawText(const wchar_t* text, float x, float y, float z, int32_t colour);  // 8 units a character
// Right-aligned decimal with the units digit at x; 0 draws "0", a negative value nothing.
void DrawNumber(float x, float y, int32_t value, int32_t colour);
void DrawCharacterName(float x, float y, int32_t id, int32_t colour);
// One grade letter for party size 1 (codes 0-3), else a grade-combination string.
void DrawGradeText(float x, float y, int32_t partySize, int32_t code, int32_t colour);
// The first partySize members' 16 x 16 icons from the pc batch, placed by the formation code.
void DrawPartyIcons(float x, float y, int32_t partySize, int32_t formation, int32_t m1, int32_t m2, int32_t m3,
                    int32_t m4);

// Where a member's icon sits relative to (x, y) for a party size and formation code.
struct IconOffset {
    int32_t dx, dy;
};
IconOffset PartyIconOffset(int32_t partySize, int32_t formation, int32_t member);
