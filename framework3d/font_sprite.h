// The glyph store shared by the 2D and 3D font sprites: up to 32 glyph sheets and one glyph
// record per distinct character of a text, found from any Shift-JIS code by a fixed code-index
// rule. A store is built by drawing every distinct character of a text once with a font into
// cells packed row by row into the sheets, or loaded from an "LFD" file whose sheets are image
// files or entries of a "LAG" archive.
#pragma once

#include <cstdint>

#include "framework/graphics/font.h"

class CTexture;

class CBaseFontSprite : public CDeviceObject {
public:
    static constexpr int32_t kMaxSheets = 32;
    static constexpr uint32_t kCodeIndexes = 12844;
    static constexpr uint16_t kNoGlyph = 0xFFFF;
    static constexpr uint32_t kFillRows = 1024;

    // A glyph's cell; the same 12 bytes in memory and in the file, little-endian.
    struct Glyph {
        uint8_t sheet;  // 0xFF in records never assigned
        uint8_t a;      // the A width's low byte
        uint8_t width;  // cell width: B' + 2
        uint8_t c;      // the C width's low byte
        uint16_t left, top, right, bottom;
        // The A and C widths back from their stored bytes, which hold signed values.
        int32_t A() const { return static_cast<int8_t>(a); }
        int32_t C() const { return static_cast<int8_t>(c); }
    };
    static_assert(sizeof(Glyph) == 12);

    // The "LFD" file: header, code table, sheet names and glyph records.
    static constexpr uint32_t kHeaderBytes = 12;
    static constexpr uint32_t kTableBytes = kCodeIndexes * 2;
    static constexpr uint32_t kSheetNameBytes = 32;

    explicit CBaseFontSprite(CBaseManager* manager) : CDeviceObject(manager) {}
    ~CBaseFontSprite() override;
    void OnLostDevice() override {}
    void OnResetDevice() override {}

    static uint16_t GetCodeIndex(uint16_t code);  // kNoGlyph when the code has no index
    bool Create(const char* text, CFont* font, bool smooth);
    bool CreateFromFile(const char* file, const char* source, uint32_t formatIndex);
    // Sheets come from each name followed by the source when it begins with '.', else from the
    // LAG archive the source names; without a source no sheet texture is made.
    bool CreateFromMemory(const void* image, uint32_t size, const char* source, uint32_t formatIndex);
    bool Rebuild(const char* text);  // false for a store loaded from a file
    // The glyph widths of the character at the pointer; null outs are skipped.
    bool GetGlyphInfo(const char* character, uint32_t* a, uint32_t* width, uint32_t* c) const;
    void GetFontSize(uint32_t* size) const { *size = static_cast<uint32_t>(fontSize_); }

    const Glyph* FindGlyph(uint32_t code) const;  // null when the code has no glyph
    int32_t GetSheetCount() const { return sheetCount_; }
    CTexture* GetSheet(int32_t i) const { return i >= 0 && i < kMaxSheets ? sheets_[i] : nullptr; }
    const uint16_t* GetCodeTable() const { return glyphOfCode_; }
    int32_t GetGlyphCount() const { return glyphCount_; }
    const Glyph* GetGlyphs() const { return glyphs_; }
    int32_t GetSheetWidth() const { return sheetWidth_; }
    int32_t GetSheetHeight() const { return sheetHeight_; }

protected:
    int32_t fontSize_ = 0;
    CFont* font_ = nullptr;

private:
    void Clear();       // frees the records and releases the sheets; the font stays
    bool AddSheet();    // a new empty sheet at the end
    bool Settle(uint32_t code, uint32_t width, const CFont::ABC& widths, int32_t row);

    Glyph* glyphs_ = nullptr;
    CTexture* sheets_[kMaxSheets] = {};
    uint16_t glyphOfCode_[kCodeIndexes] = {};
    int32_t sheetWidth_ = 0, sheetHeight_ = 0;
    int32_t sheetCount_ = 0;
    int32_t glyphCount_ = 0;
    bool smooth_ = false;
};
