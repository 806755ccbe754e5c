// Writes the "LFD" font sprite file of a glyph store, and the sheets' pixels for image files
// and LAG archives, so the tests can load stores back.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "framework/graphics/texture.h"
#include "framework3d/font_sprite.h"

namespace lfd {

inline void Put16(std::vector<uint8_t>* out, uint32_t value) {
    out->push_back(static_cast<uint8_t>(value));
    out->push_back(static_cast<uint8_t>(value >> 8));
}

inline void Put32(std::vector<uint8_t>* out, uint32_t value) {
    Put16(out, value);
    Put16(out, value >> 16);
}

// The file of the store, its sheets named by names.
inline std::vector<uint8_t> Write(const CBaseFontSprite& store, const std::vector<std::string>& names) {
    std::vector<uint8_t> out = {'L', 'F', 'D', 0};
    uint32_t size = 0;
    store.GetFontSize(&size);
    out.push_back(static_cast<uint8_t>(size));
    out.push_back(static_cast<uint8_t>(names.size()));
    Put16(&out, static_cast<uint32_t>(store.GetSheetWidth()));
    Put16(&out, static_cast<uint32_t>(store.GetSheetHeight()));
    Put16(&out, static_cast<uint32_t>(store.GetGlyphCount()));
    for (uint32_t i = 0; i < CBaseFontSprite::kCodeIndexes; ++i) Put16(&out, store.GetCodeTable()[i]);
    for (const std::string& name : names) {
        char field[CBaseFontSprite::kSheetNameBytes] = {};
        std::memcpy(field, name.c_str(), std::min(name.size(), sizeof field - 1));
        out.insert(out.end(), field, field + sizeof field);
    }
    for (int32_t i = 0; i < store.GetGlyphCount(); ++i) {
        const CBaseFontSprite::Glyph& g = store.GetGlyphs()[i];
        out.insert(out.end(), {g.sheet, g.a, g.width, g.c});
        for (uint16_t v : {g.left, g.top, g.right, g.bottom}) Put16(&out, v);
    }
    return out;
}

// The texture's pixels as ARGB words, row after row.
inline std::vector<uint32_t> SheetPixels(CTexture* texture) {
    std::vector<uint32_t> out;
    uint32_t pitch = 0, width = 0, height = 0;
    void* bits = nullptr;
    if (texture == nullptr || !texture->Lock(nullptr, &pitch, &bits, &width, &height, nullptr)) return out;
    for (uint32_t y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(bits) + y * pitch);
        out.insert(out.end(), row, row + width);
    }
    texture->Unlock();
    return out;
}

// Appends an uncompressed 32-bit entry (blue, green, red, alpha bytes) to a LAG archive.
inline void AppendLagEntry(std::vector<uint8_t>* lag, const std::string& name, uint32_t width, uint32_t height,
                           const std::vector<uint32_t>& argb) {
    char field[16] = {};
    std::memcpy(field, name.c_str(), std::min(name.size(), sizeof field));
    lag->insert(lag->end(), field, field + sizeof field);
    Put32(lag, width);
    Put32(lag, height);
    Put32(lag, 1);
    Put32(lag, width * height * 4);
    for (uint32_t pixel : argb) Put32(lag, pixel);
}

}  // namespace lfd
