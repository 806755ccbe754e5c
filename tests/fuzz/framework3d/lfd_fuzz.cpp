// Feeds arbitrary bytes to the font sprite file reader (without sheet images), then looks up
// every code the file's table can name.
#include <cstddef>
#include <cstdint>

#include "framework3d/font_sprite.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CBaseManager* manager = new CBaseManager(nullptr);
    auto* store = new CBaseFontSprite(manager);
    if (store->CreateFromMemory(data, static_cast<uint32_t>(size), nullptr, 12)) {
        uint32_t total = 0;
        for (uint32_t code = 0; code <= 0xFFFF; ++code) {
            if (const CBaseFontSprite::Glyph* glyph = store->FindGlyph(code)) total += glyph->width + glyph->sheet;
        }
        char character[3] = {static_cast<char>(0x88), static_cast<char>(0x9F), 0};
        uint32_t a = 0;
        store->GetGlyphInfo(character, &a, nullptr, nullptr);
        (void)total;
    }
    store->Release();
    return 0;
}
