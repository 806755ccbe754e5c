// Text on screen from a glyph store: one 2D sprite batch per sheet, each textured with its
// sheet, receives one rectangle per character. Text is laid out with fixed pitch or
// proportionally; single characters are drawn into given rectangles, also turned.
#pragma once

#include <cstdint>
#include <functional>

#include "framework3d/font_sprite.h"

class CSprite2D;

class CFontSprite2D : public CBaseFontSprite {
public:
    struct Point {
        int32_t x, y;
    };

    explicit CFontSprite2D(CBaseManager* manager) : CBaseFontSprite(manager) {}
    ~CFontSprite2D() override;

    bool Create(const char* text, uint32_t count, CFont* font, bool sort, bool smooth);
    bool CreateFromFile(const char* file, const char* source, uint32_t count, bool sort, uint32_t formatIndex);
    void SetFullWidthAdvance() { halfWidthSingleByte_ = false; }
    void Resize(uint32_t count);
    bool Rebuild(const char* text, uint32_t count);
    void Begin(int32_t spacing);
    void End();
    void Rendering();
    // (x, y) is the top left of the first line; depth and colour as the sprite batch takes them.
    void DrawText(const char* text, int32_t x, int32_t y, float depth, uint32_t colour);
    void DrawTextProportional(const char* text, int32_t x, int32_t y, float depth, uint32_t colour);
    // rect {x, y, width, height}; the character's byte length, 0 when it has no glyph.
    int32_t DrawChar(const char* character, const float* rect, float depth, uint32_t colour);
    int32_t DrawCharRotate(const char* character, const float* rect, float depth, uint32_t colour, int32_t angle);
    int32_t DrawCharRotateXYZ(const char* character, const float* rect, float depth, uint32_t colour, int32_t ax,
                              int32_t ay, int32_t az);
    // Where the pen stands after the text.
    void GetTextEnd(Point* out, const char* text, int32_t x, int32_t y);
    void GetTextEndProportional(Point* out, const char* text, int32_t x, int32_t y);

    CSprite2D* GetSprite(int32_t sheet) const { return sheet >= 0 && sheet < kMaxSheets ? sprites_[sheet] : nullptr; }

private:
    bool MakeSprites(uint32_t count, bool sort);  // one batch per sheet
    // Builds the glyph store between the log's "Texture" and "Sprite" sections, then the batches.
    bool BuildLogged(const std::function<bool()>& buildStore, uint32_t count, bool sort);
    void ReleaseSprites();
    Point Walk(const char* text, int32_t x, int32_t y, bool proportional, bool measure, float depth, uint32_t colour);
    // The glyph of the character at the pointer and its batch; null when it has none.
    const Glyph* Cell(const char* character, CSprite2D** sprite, float* source) const;

    bool sortSprites_ = false;
    bool halfWidthSingleByte_ = true;
    int32_t spacing_ = 0;
    CSprite2D* sprites_[kMaxSheets] = {};
};
