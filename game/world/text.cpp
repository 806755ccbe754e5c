// Drawing text and party icons into the font and pc batches.
#include "game/world/text.h"

#include "framework/graphics/sprite.h"
#include "game/world/drawing.h"
#include "game/world/names.h"

namespace {

constexpr float kTextDepth = 32767.0f;

void DrawFontCell(int32_t cell, float x, float y, float z, int32_t colour) {
    float dst[4] = {x, y, 8.0f, 8.0f};
    float src[4] = {static_cast<float>(cell % 16 * 8), static_cast<float>(cell / 16 * 8), 8.0f, 8.0f};
    ZethSprite::DrawRect(gameSprites.font, dst, z, src, static_cast<uint32_t>(colour), 1);
}

}  // namespace

void DrawGlyph(wchar_t c, float x, float y, float z, int32_t colour) {
    GlyphCells cells = FontCells(c);
    DrawFontCell(cells.cell, x, y, z, colour);
    if (cells.mark != 0) DrawFontCell(cells.mark, x, y - 8.0f, z, colour);
}

void DrawText(const wchar_t* text, float x, float y, float z, int32_t colour) {
    for (int i = 0; text[i] != 0; ++i) DrawGlyph(text[i], x + 8.0f * static_cast<float>(i), y, z, colour);
}

void DrawNumber(float x, float y, int32_t value, int32_t colour) {
    if (value < 0) return;
    // The count of divisions by 10 that bring the value below 1 is the digit count; 0 would
    // give none, so it is drawn as one digit.
    int digits = 0;
    for (float v = static_cast<float>(value); v >= 1.0f; v /= 10.0f) digits += 1;
    if (digits == 0) digits = 1;
    int32_t rest = value;
    for (int i = 0; i < digits; ++i) {
        DrawFontCell(rest % 10, x - 8.0f * static_cast<float>(i), y, kTextDepth, colour);
        rest /= 10;
    }
}

void DrawCharacterName(float x, float y, int32_t id, int32_t colour) {
    DrawText(CharacterName(id), x, y, kTextDepth, colour);
}

void DrawGradeText(float x, float y, int32_t partySize, int32_t code, int32_t colour) {
    int32_t size = partySize == 1 || partySize == 2 || partySize == 3 ? partySize : 4;
    int32_t index = code;
    if (size > 1) {
        int32_t count = GradeStringCount(size);
        index = ((code % count) + count) % count;
    }
    const wchar_t* text = GradeString(size, index);
    if (text != nullptr) DrawText(text, x, y, kTextDepth, colour);
}

void DrawPartyIcons(float x, float y, int32_t partySize, int32_t formation, int32_t m1, int32_t m2, int32_t m3,
                    int32_t m4) {
    int32_t members[4] = {m1, m2, m3, m4};
    for (int32_t i = 0; i < partySize && i < 4; ++i) {
        IconOffset offset = PartyIconOffset(partySize, formation, i);
        int32_t m = members[i];
        float dst[4] = {x - 8.0f + static_cast<float>(offset.dx), y - 8.0f + static_cast<float>(offset.dy), 16.0f,
                        16.0f};
        float src[4] = {static_cast<float>(64 * (m / 16)), static_cast<float>(16 * (m % 16)), 16.0f, 16.0f};
        ZethSprite::DrawRect(gameSprites.pc, dst, kTextDepth, src, 0xFFFFFFFFu, 1);
    }
}
