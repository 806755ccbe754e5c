// The GDI glyph calls the framework's font uses, on FreeType: a font is made from a face name
// and a pixel height, selected into a device context, and asked for its text metrics, the
// bitmap of one character (1 bit or 65 gray levels per pixel) and a character's A, B and C
// widths. Character codes are Shift-JIS (lead x 256 + trail for two-byte characters).
//
// Face names map to font files through a table; any other name gets IPA Gothic. The line height
// H is the requested height, the ascent the face's ascender scaled to H. A code that does not
// convert to a character draws the face's missing-glyph shape.
#pragma once

#include <cstdint>

namespace platform::glyph {

class Font;
class DeviceContext;
using WindowHandle = void*;

// Values of the glyph calls, typed in from what their callers expect.
constexpr uint32_t kGdiError = 0xFFFFFFFF;  // GetGlyphOutlineA's failure
constexpr uint32_t kGgoBitmap = 1;          // 1 bit per pixel, the highest bit leftmost
constexpr uint32_t kGgoGray8Bitmap = 6;     // one byte per pixel, levels 0 to 64
constexpr int32_t kWeightBold = 700;

struct TextMetrics {
    int32_t height;  // H
    int32_t ascent;
    int32_t descent;
    int32_t averageCharWidth;
    int32_t maxCharWidth;
};

struct GlyphMetrics {
    uint32_t blackBoxX;   // bitmap width
    uint32_t blackBoxY;   // bitmap rows
    int32_t originX;      // left of the bitmap from the pen
    int32_t originY;      // top of the bitmap above the baseline
    int16_t cellIncX;     // advance
    int16_t cellIncY;
};

struct Fixed {
    uint16_t fraction;
    int16_t value;
};
struct Mat2 {
    Fixed m11, m12, m21, m22;
};

struct Abc {
    int32_t a;   // left bearing
    uint32_t b;  // black-box width
    int32_t c;   // advance - a - b
};

// height in pixels; weight kWeightBold or more emboldens; italic shears. Null when no font file
// could be read.
Font* CreateFontA(int32_t height, int32_t width, int32_t escapement, int32_t orientation, int32_t weight,
                  bool italic, bool underline, bool strikeOut, uint32_t charSet, uint32_t outPrecision,
                  uint32_t clipPrecision, uint32_t quality, uint32_t pitchAndFamily, const char* face);
void DeleteObject(Font* font);

DeviceContext* GetDC(WindowHandle window);  // a context with no font selected
int32_t ReleaseDC(WindowHandle window, DeviceContext* dc);
// Selects the font and returns the one selected before (null the first time).
Font* SelectObject(DeviceContext* dc, Font* font);

bool GetTextMetricsA(DeviceContext* dc, TextMetrics* metrics);
// With a null buffer or size 0: the bytes the bitmap needs. Otherwise fills the buffer (rows
// padded to 4 bytes) and returns the bytes written; kGdiError when the buffer is too small, no
// font is selected or the format is not one of the two above. The transform is accepted and
// must be the identity.
uint32_t GetGlyphOutlineA(DeviceContext* dc, uint32_t code, uint32_t format, GlyphMetrics* metrics,
                          uint32_t bufferSize, void* buffer, const Mat2* transform);
// The widths of the codes first to last, one record each.
bool GetCharABCWidthsA(DeviceContext* dc, uint32_t first, uint32_t last, Abc* widths);

}  // namespace platform::glyph
