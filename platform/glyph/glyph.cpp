#include "platform/glyph/glyph.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <iconv.h>
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace platform::glyph {

namespace {

constexpr const char* kIpaGothic = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

// Face names and their font files; the first row is also the face of every other name.
struct FaceFile {
    const char* face;
    const char* file;
};
constexpr FaceFile kFaceFiles[] = {
    {"IPAGothic", kIpaGothic},
    {"IPAPGothic", "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"},
    {"Misaki Gothic", "/usr/share/fonts/truetype/misaki/misaki_gothic.ttf"},
    {"DejaVu Sans Mono", "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"},
};

// A slant of about 12 degrees (0.21 in 16.16), as an italic face leans.
constexpr FT_Fixed kItalicShear = 0x366A;

// FreeType's library object, made once for the process; FreeType calls on it are serialised.
std::mutex g_freeTypeLock;
FT_Library Library() {
    static FT_Library library = [] {
        FT_Library made = nullptr;
        return FT_Init_FreeType(&made) == 0 ? made : nullptr;
    }();
    return library;
}

const char* FileOfFace(const char* face) {
    for (const FaceFile& row : kFaceFiles) {
        if (face != nullptr && strcasecmp(face, row.face) == 0) return row.file;
    }
    return kIpaGothic;
}

// A rendered glyph: coverage bytes (gray) or bit rows (mono), FreeType's layout.
struct Rendered {
    std::vector<uint8_t> pixels;
    int32_t width = 0, rows = 0, pitch = 0;
    int32_t left = 0, top = 0, advance = 0;
};

}  // namespace

class Font {
public:
    FT_Face face = nullptr;
    int32_t height = 0;
    int32_t ascent = 0;
    bool bold = false;
    bool italic = false;
    iconv_t toUnicode = reinterpret_cast<iconv_t>(-1);

    ~Font() {
        if (toUnicode != reinterpret_cast<iconv_t>(-1)) iconv_close(toUnicode);
        std::lock_guard<std::mutex> hold(g_freeTypeLock);
        if (face != nullptr) FT_Done_Face(face);
    }

    // The Unicode character of a Shift-JIS code, 0 when it has none.
    uint32_t Unicode(uint32_t code) {
        char in[2];
        size_t inLeft = 0;
        if (code <= 0xFF) {
            in[inLeft++] = static_cast<char>(code);
        } else {
            in[inLeft++] = static_cast<char>(code >> 8);
            in[inLeft++] = static_cast<char>(code);
        }
        uint32_t out[2] = {};
        char* inPointer = in;
        char* outPointer = reinterpret_cast<char*>(out);
        size_t outLeft = sizeof out;
        iconv(toUnicode, nullptr, nullptr, nullptr, nullptr);
        if (iconv(toUnicode, &inPointer, &inLeft, &outPointer, &outLeft) == static_cast<size_t>(-1) || inLeft != 0 ||
            outLeft != sizeof out - 4) {
            return 0;
        }
        return out[0];
    }

    bool Render(uint32_t code, bool mono, Rendered* out) {
        uint32_t unicode = Unicode(code);
        std::lock_guard<std::mutex> hold(g_freeTypeLock);
        FT_UInt index = unicode != 0 ? FT_Get_Char_Index(face, unicode) : 0;
        if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP) != 0) return false;
        FT_GlyphSlot slot = face->glyph;
        int32_t extra = 0;
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            if (bold) {
                FT_Pos strength = std::max<FT_Pos>(64, height * 4);
                FT_Outline_Embolden(&slot->outline, strength);
                extra = static_cast<int32_t>(strength >> 6);
            }
            if (italic) {
                FT_Matrix shear{0x10000, kItalicShear, 0, 0x10000};
                FT_Outline_Transform(&slot->outline, &shear);
            }
        }
        if (FT_Render_Glyph(slot, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) return false;
        const FT_Bitmap& bitmap = slot->bitmap;
        out->width = static_cast<int32_t>(bitmap.width);
        out->rows = static_cast<int32_t>(bitmap.rows);
        out->pitch = std::abs(bitmap.pitch);
        out->left = slot->bitmap_left;
        out->top = slot->bitmap_top;
        out->advance = static_cast<int32_t>((slot->advance.x + 32) >> 6) + extra;
        if (out->width == 0 || out->rows == 0) {
            out->width = out->rows = out->pitch = 0;
            out->left = 0;
            out->pixels.clear();
            return true;
        }
        out->pixels.resize(static_cast<size_t>(out->pitch) * out->rows);
        for (int32_t y = 0; y < out->rows; ++y) {
            const uint8_t* row = bitmap.pitch >= 0 ? bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch
                                                   : bitmap.buffer + static_cast<ptrdiff_t>(out->rows - 1 - y) * -bitmap.pitch;
            std::memcpy(out->pixels.data() + static_cast<size_t>(y) * out->pitch, row, static_cast<size_t>(out->pitch));
        }
        return true;
    }
};

class DeviceContext {
public:
    Font* font = nullptr;
};

Font* CreateFontA(int32_t height, int32_t, int32_t, int32_t, int32_t weight, bool italic, bool, bool, uint32_t,
                  uint32_t, uint32_t, uint32_t, uint32_t, const char* face) {
    if (height <= 0 || height > 4096) return nullptr;
    auto* font = new Font;
    font->height = height;
    font->bold = weight >= kWeightBold;
    font->italic = italic;
    font->toUnicode = iconv_open("UTF-32LE", "CP932");
    {
        std::lock_guard<std::mutex> hold(g_freeTypeLock);
        FT_Library library = Library();
        if (library == nullptr || FT_New_Face(library, FileOfFace(face), 0, &font->face) != 0) font->face = nullptr;
        if (font->face != nullptr && FT_Set_Pixel_Sizes(font->face, 0, static_cast<FT_UInt>(height)) == 0) {
            int64_t units = std::max<int64_t>(1, font->face->units_per_EM);
            font->ascent = static_cast<int32_t>((font->face->ascender * int64_t{height} + units / 2) / units);
        }
    }
    if (font->face == nullptr || font->toUnicode == reinterpret_cast<iconv_t>(-1)) {
        delete font;
        return nullptr;
    }
    return font;
}

void DeleteObject(Font* font) { delete font; }

DeviceContext* GetDC(WindowHandle) { return new DeviceContext; }

int32_t ReleaseDC(WindowHandle, DeviceContext* dc) {
    delete dc;
    return dc != nullptr ? 1 : 0;
}

Font* SelectObject(DeviceContext* dc, Font* font) {
    if (dc == nullptr) return nullptr;
    Font* previous = dc->font;
    dc->font = font;
    return previous;
}

bool GetTextMetricsA(DeviceContext* dc, TextMetrics* metrics) {
    if (dc == nullptr || dc->font == nullptr || metrics == nullptr) return false;
    const Font& font = *dc->font;
    *metrics = TextMetrics{font.height, font.ascent, font.height - font.ascent, font.height / 2, font.height};
    return true;
}

uint32_t GetGlyphOutlineA(DeviceContext* dc, uint32_t code, uint32_t format, GlyphMetrics* metrics,
                          uint32_t bufferSize, void* buffer, const Mat2*) {
    if (dc == nullptr || dc->font == nullptr || (format != kGgoBitmap && format != kGgoGray8Bitmap)) return kGdiError;
    bool mono = format == kGgoBitmap;
    Rendered glyph;
    if (!dc->font->Render(code, mono, &glyph)) return kGdiError;
    if (metrics != nullptr) {
        *metrics = GlyphMetrics{static_cast<uint32_t>(glyph.width), static_cast<uint32_t>(glyph.rows), glyph.left,
                                glyph.top, static_cast<int16_t>(glyph.advance), 0};
    }
    uint32_t pitch = mono ? (static_cast<uint32_t>(glyph.width) + 31) / 32 * 4 : (static_cast<uint32_t>(glyph.width) + 3) & ~3u;
    uint32_t bytes = pitch * static_cast<uint32_t>(glyph.rows);
    if (buffer == nullptr || bufferSize == 0) return bytes;
    if (bufferSize < bytes) return kGdiError;
    auto* out = static_cast<uint8_t*>(buffer);
    std::memset(out, 0, bytes);
    for (int32_t y = 0; y < glyph.rows; ++y) {
        const uint8_t* in = glyph.pixels.data() + static_cast<size_t>(y) * glyph.pitch;
        uint8_t* row = out + static_cast<size_t>(y) * pitch;
        if (mono) {
            std::memcpy(row, in, static_cast<size_t>((glyph.width + 7) / 8));
        } else {
            for (int32_t x = 0; x < glyph.width; ++x) row[x] = static_cast<uint8_t>((in[x] * 64 + 127) / 255);
        }
    }
    return bytes;
}

bool GetCharABCWidthsA(DeviceContext* dc, uint32_t first, uint32_t last, Abc* widths) {
    if (dc == nullptr || dc->font == nullptr || widths == nullptr || last < first) return false;
    for (uint32_t code = first; code <= last; ++code) {
        Rendered glyph;
        if (!dc->font->Render(code, false, &glyph)) return false;
        Abc& abc = widths[code - first];
        abc.a = glyph.left;
        abc.b = static_cast<uint32_t>(glyph.width);
        abc.c = glyph.advance - glyph.left - glyph.width;
    }
    return true;
}

}  // namespace platform::glyph
