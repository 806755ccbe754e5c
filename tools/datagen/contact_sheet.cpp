#include "tools/datagen/contact_sheet.h"

#include <algorithm>

namespace datagen {
namespace {

constexpr int kScale = 2;
constexpr int kColumns = 4;
constexpr int kGap = 16;                     // between slots and around the edge
constexpr int kNameHeight = 8 * kScale + 6;  // a line of doubled 8 x 8 glyphs and a little room
constexpr Rgb kGround{88, 88, 96};
constexpr Rgb kInk{255, 255, 255};

void FillRect(Image& image, int left, int top, int width, int height, Rgb colour) {
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) image.Set(x, y, colour);
    }
}

// Printable ASCII through the font's full-width forms, each texel kScale pixels square.
void WriteName(Image& image, int left, int top, const std::string& name, const GlyphSource& glyphs) {
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (c <= 0x20 || c > 0x7E) continue;
        const GlyphRows rows = glyphs.Glyph(static_cast<char32_t>(c) + 0xFEE0);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                const int column = left + (static_cast<int>(i) * 8 + x) * kScale;
                if (rows[y] & (0x80 >> x)) FillRect(image, column, top + y * kScale, kScale, kScale, kInk);
            }
        }
    }
}

}  // namespace

Image DrawContactSheet(const std::vector<std::pair<std::string, Image>>& sheets, const GlyphSource& glyphs) {
    int largest = 0;
    for (const auto& [name, sheet] : sheets) largest = std::max({largest, sheet.Width(), sheet.Height()});
    const int slotWidth = largest * kScale + kGap;
    const int slotHeight = kNameHeight + largest * kScale + kGap;
    const int rows = (static_cast<int>(sheets.size()) + kColumns - 1) / kColumns;
    Image contact(kGap + kColumns * slotWidth, kGap + rows * slotHeight);
    FillRect(contact, 0, 0, contact.Width(), contact.Height(), kGround);
    for (size_t i = 0; i < sheets.size(); ++i) {
        const auto& [name, sheet] = sheets[i];
        const int left = kGap + static_cast<int>(i % kColumns) * slotWidth;
        const int top = kGap + static_cast<int>(i / kColumns) * slotHeight;
        WriteName(contact, left, top, name, glyphs);
        for (int y = 0; y < sheet.Height(); ++y) {
            for (int x = 0; x < sheet.Width(); ++x) {
                FillRect(contact, left + x * kScale, top + kNameHeight + y * kScale, kScale, kScale, sheet.Get(x, y));
            }
        }
    }
    return contact;
}

}  // namespace datagen
