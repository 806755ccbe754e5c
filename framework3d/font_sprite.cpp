#include "framework3d/font_sprite.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "framework/app/log.h"
#include "framework/core/lock.h"
#include "framework/files/byte_order.h"
#include "framework/files/file_system.h"
#include "framework/files/sjis.h"
#include "framework/graphics/device.h"
#include "framework/graphics/texture.h"

namespace {

constexpr uint32_t kSheetFormatIndex = 14;
constexpr uint32_t kWhite = 0xFFFFFFFF;

// Code ranges and the first code of each; the first matching row wins.
struct CodeRange {
    uint16_t first, last, base;
};
constexpr CodeRange kCodeRanges[] = {
    {0x0000, 0x00FF, 0x0000},
    {0x8041, 0x9FFF, 0x8041},
    {0xC082, 0xEEFF, 0xC082},
    {0xEF00, 0xFC4F, 0xCA23},
};

// The next free x of each sheet row while a store is built; one table for every font sprite.
int32_t g_fill[CBaseFontSprite::kFillRows];


}  // namespace

CBaseFontSprite::~CBaseFontSprite() {
    Clear();
    if (font_ != nullptr) font_->Release();
}

uint16_t CBaseFontSprite::GetCodeIndex(uint16_t code) {
    for (const CodeRange& range : kCodeRanges) {
        if (code >= range.first && code <= range.last) return static_cast<uint16_t>(code - range.base);
    }
    return kNoGlyph;
}

void CBaseFontSprite::Clear() {
    Zeth::MemoryFree(glyphs_);
    glyphs_ = nullptr;
    for (CTexture*& sheet : sheets_) {
        ZethTexture::Release(sheet);
        sheet = nullptr;
    }
    std::fill(std::begin(glyphOfCode_), std::end(glyphOfCode_), kNoGlyph);
    sheetWidth_ = sheetHeight_ = sheetCount_ = glyphCount_ = 0;
}

bool CBaseFontSprite::AddSheet() {
    if (sheetCount_ >= kMaxSheets) return false;
    ZethLog::Print("　");
    sheets_[sheetCount_] = ZethTexture::Create(static_cast<uint32_t>(sheetWidth_), static_cast<uint32_t>(sheetHeight_),
                                               kSheetFormatIndex);
    // A sheet that could not be made would send the font to the back buffer: the build fails.
    if (sheets_[sheetCount_] == nullptr) return false;
    ++sheetCount_;
    return true;
}

bool CBaseFontSprite::Settle(uint32_t code, uint32_t width, const CFont::ABC& widths, int32_t row) {
    uint16_t index = GetCodeIndex(static_cast<uint16_t>(code));
    if (index >= kCodeIndexes || glyphOfCode_[index] != kNoGlyph) return false;
    int32_t cell = fontSize_ + 2;
    glyphOfCode_[index] = static_cast<uint16_t>(glyphCount_);
    if (smooth_) {
        font_->DrawCharSmooth(g_fill[row] + 1, row * cell + 1, kWhite, static_cast<uint16_t>(code));
    } else {
        font_->DrawChar(g_fill[row] + 1, row * cell + 1, kWhite, static_cast<uint16_t>(code));
    }
    Glyph& glyph = glyphs_[glyphCount_++];
    glyph.sheet = static_cast<uint8_t>(sheetCount_ - 1);
    glyph.a = static_cast<uint8_t>(widths.a);
    glyph.width = static_cast<uint8_t>(width);
    glyph.c = static_cast<uint8_t>(widths.c);
    glyph.left = static_cast<uint16_t>(g_fill[row]);
    glyph.top = static_cast<uint16_t>(row * cell);
    glyph.right = static_cast<uint16_t>(glyph.left + width);
    glyph.bottom = static_cast<uint16_t>(glyph.top + cell);
    return true;
}

bool CBaseFontSprite::Create(const char* text, CFont* font, bool smooth) {
    if (text == nullptr || font == nullptr) return false;
    std::fill(std::begin(g_fill), std::end(g_fill), 0);
    smooth_ = smooth;
    // A rebuild passes the font the store holds: its reference is taken over, not doubled.
    font->AddRef();
    if (font_ != nullptr) font_->Release();
    font_ = font;
    glyphs_ = static_cast<Glyph*>(Zeth::MemoryAlloc(kCodeIndexes * sizeof(Glyph)));
    if (glyphs_ == nullptr) return false;
    for (uint32_t i = 0; i < kCodeIndexes; ++i) glyphs_[i].sheet = 0xFF;
    std::fill(std::begin(glyphOfCode_), std::end(glyphOfCode_), kNoGlyph);

    fontSize_ = static_cast<int32_t>(font->GetSize());
    const uint64_t cell = static_cast<uint64_t>(fontSize_) + 2;
    const uint64_t area = std::strlen(text) * cell * cell;
    uint64_t side = 1;
    while (side * side < area) side *= 2;
    Zeth3D::DeviceInformation device{};
    Zeth3D::GetDeviceInformation(&device);
    sheetWidth_ = static_cast<int32_t>(std::min<uint64_t>(device.maxTextureWidth, side));
    sheetHeight_ = static_cast<int32_t>(std::min<uint64_t>(device.maxTextureHeight, side));
    // Rows come from the sheet's height and stop at the fill table's end.
    const int32_t rows = static_cast<int32_t>(std::min<uint64_t>(static_cast<uint64_t>(sheetHeight_) / cell, kFillRows));
    if (rows == 0 || !AddSheet()) return false;

    while (*text != '\0') {
        uint32_t code = 0;
        text += SjisReadChar(text, &code);
        for (int32_t row = 0;;) {
            font->SetTarget(sheets_[sheetCount_ - 1]);
            font->Begin(false);
            CFont::ABC widths{};
            font->GetCharWidths(static_cast<uint16_t>(code), &widths);
            const int64_t width = static_cast<int64_t>(widths.b) + 2;
            // A glyph wider than an empty row would open sheet after sheet in vain.
            if (width >= sheetWidth_) {
                font->End();
                return false;
            }
            if (g_fill[row] + width < sheetWidth_) {
                if (Settle(code, static_cast<uint32_t>(width), widths, row)) g_fill[row] += static_cast<int32_t>(width);
                font->End();
                break;
            }
            font->End();
            if (++row < rows) continue;
            std::fill(std::begin(g_fill), std::end(g_fill), 0);
            row = 0;
            if (!AddSheet() || sheetCount_ == kMaxSheets) return false;
        }
    }
    for (int32_t i = 0; i < sheetCount_; ++i) sheets_[i]->UpdateTexture();
    return true;
}

bool CBaseFontSprite::CreateFromFile(const char* file, const char* source, uint32_t formatIndex) {
    void* image = nullptr;
    uint32_t size = 0;
    if (!ZethFile::Load(file, &image, &size)) return false;
    bool created = CreateFromMemory(image, size, source, formatIndex);
    Zeth::MemoryFree(image);
    return created;
}

bool CBaseFontSprite::CreateFromMemory(const void* image, uint32_t size, const char* source, uint32_t formatIndex) {
    const auto* bytes = static_cast<const uint8_t*>(image);
    if (bytes == nullptr || size < kHeaderBytes + kTableBytes) return false;
    if (strncasecmp(reinterpret_cast<const char*>(bytes), "LFD", 3) != 0 || bytes[3] != 0) return false;
    const int32_t sheets = bytes[5];
    const uint32_t glyphs = ReadLittleEndian16(bytes + 10);
    const uint32_t namesAt = kHeaderBytes + kTableBytes;
    const uint32_t recordsAt = namesAt + kSheetNameBytes * static_cast<uint32_t>(sheets);
    // Everything the file names must lie inside it: sheets, records, and glyphs of the table.
    if (sheets > kMaxSheets || size < recordsAt + glyphs * sizeof(Glyph)) return false;
    for (uint32_t i = 0; i < kCodeIndexes; ++i) {
        uint16_t glyph = ReadLittleEndian16(bytes + kHeaderBytes + 2 * i);
        if (glyph != kNoGlyph && glyph >= glyphs) return false;
    }
    for (uint32_t i = 0; i < glyphs; ++i) {
        if (bytes[recordsAt + i * sizeof(Glyph)] >= sheets) return false;
    }
    Clear();
    fontSize_ = bytes[4];
    sheetWidth_ = ReadLittleEndian16(bytes + 6);
    sheetHeight_ = ReadLittleEndian16(bytes + 8);
    for (int32_t i = 0; i < sheets; ++i) {
        char name[kSheetNameBytes + 1] = {};
        std::memcpy(name, bytes + namesAt + kSheetNameBytes * static_cast<uint32_t>(i), kSheetNameBytes);
        if (source == nullptr) continue;
        ZethLog::Print("　");
        if (source[0] == '.') {
            char file[kSheetNameBytes + ZethFile::kPathSize] = {};
            std::snprintf(file, sizeof file, "%s%s", name, source);
            sheets_[i] = ZethTexture::CreateFromFile(file, formatIndex, 0);
        } else {
            sheets_[i] = ZethTexture::CreateFromLAG(source, name, formatIndex);
        }
        if (sheets_[i] == nullptr) return false;
    }
    sheetCount_ = sheets;
    for (uint32_t i = 0; i < kCodeIndexes; ++i) glyphOfCode_[i] = ReadLittleEndian16(bytes + kHeaderBytes + 2 * i);
    glyphs_ = static_cast<Glyph*>(Zeth::MemoryAlloc(std::max<uint32_t>(1, glyphs) * sizeof(Glyph)));
    if (glyphs_ == nullptr) return false;
    for (uint32_t i = 0; i < glyphs; ++i) {
        const uint8_t* record = bytes + recordsAt + i * sizeof(Glyph);
        glyphs_[i] = Glyph{record[0], record[1], record[2], record[3], ReadLittleEndian16(record + 4), ReadLittleEndian16(record + 6),
                           ReadLittleEndian16(record + 8), ReadLittleEndian16(record + 10)};
    }
    glyphCount_ = static_cast<int32_t>(glyphs);
    return true;
}

bool CBaseFontSprite::Rebuild(const char* text) {
    if (font_ == nullptr) return false;
    Clear();
    return Create(text, font_, smooth_);
}

const CBaseFontSprite::Glyph* CBaseFontSprite::FindGlyph(uint32_t code) const {
    uint16_t index = GetCodeIndex(static_cast<uint16_t>(code));
    if (code > 0xFFFF || index >= kCodeIndexes || glyphs_ == nullptr) return nullptr;
    uint16_t glyph = glyphOfCode_[index];
    return glyph != kNoGlyph && glyph < glyphCount_ ? &glyphs_[glyph] : nullptr;
}

bool CBaseFontSprite::GetGlyphInfo(const char* character, uint32_t* a, uint32_t* width, uint32_t* c) const {
    const Glyph* glyph = FindGlyph(SjisGetCharCode(character));
    if (glyph == nullptr) return false;
    if (a != nullptr) *a = static_cast<uint32_t>(glyph->A());
    if (width != nullptr) *width = glyph->width;
    if (c != nullptr) *c = static_cast<uint32_t>(glyph->C());
    return true;
}
