// The GDI font: Shift-JIS text rasterised with the platform's glyph calls straight into the
// pixels of a locked texture or of the back buffer. Each glyph (1 bit, or 65 gray levels where
// the target's format takes them) is placed by the text metrics, clipped to the locked surface
// and written by the blitter of the surface's pixel format.
#pragma once

#include <cstdint>

#include "framework/graphics/font.h"
#include "platform/glyph/glyph.h"

class CGdiFont : public CFont {
public:
    // One side of a blit: a rectangle (right and bottom exclusive) in a pixel array.
    struct BlitRect {
        int32_t left, top, right, bottom;
        int32_t pitch;  // bytes per row
        uint8_t* bits;  // the first byte of the array
    };
    using Blitter = void (*)(uint32_t colour, const BlitRect& dst, const BlitRect& src);

    // Gray level i (0 to 64) as an 8-bit alpha: floor(i x 255 / 64).
    static uint8_t GrayLevel(uint32_t level);

    using CFont::CFont;
    ~CGdiFont() override;

    void OnLostDevice() override {}
    void OnResetDevice() override {}
    bool Create(const char* face, uint32_t size, bool italic, bool bold) override;
    void SetTarget(CTexture* target) override;
    void DrawChar(int32_t x, int32_t y, uint32_t colour, uint16_t code) override;
    void DrawCharSmooth(int32_t x, int32_t y, uint32_t colour, uint16_t code) override;
    int32_t DrawText(int32_t x, int32_t y, uint32_t colour, const char* text) override;
    int32_t DrawTextSmooth(int32_t x, int32_t y, uint32_t colour, const char* text) override;
    int32_t DrawTextProportional(int32_t x, int32_t y, uint32_t colour, const char* text) override;
    int32_t DrawTextProportionalSmooth(int32_t x, int32_t y, uint32_t colour, const char* text) override;
    void GetCharWidths(uint16_t code, ABC* out) override;
    void Begin(bool updateOnEnd) override;
    void End() override;
    int32_t GetTextWidth(const char* format, ...) override;
    uint32_t GetSize() const override { return size_; }

    // Clips dst to width x height, moving the source edges with it; false when nothing is left
    // (an empty rectangle passes).
    static bool ClipBlit(BlitRect& dst, BlitRect& src, int32_t width, int32_t height);
    // The 1-bit and the gray blitter of a pixel format; null where the format has none.
    static Blitter MonoBlitter(gfx::Format format);
    static Blitter GrayBlitter(gfx::Format format);
    static void BlitMonoTo1555(uint32_t colour, const BlitRect& dst, const BlitRect& src);
    static void BlitMonoTo565(uint32_t colour, const BlitRect& dst, const BlitRect& src);
    static void BlitMonoTo4444(uint32_t colour, const BlitRect& dst, const BlitRect& src);
    static void BlitMonoTo8888(uint32_t colour, const BlitRect& dst, const BlitRect& src);
    static void BlitGrayTo4444(uint32_t colour, const BlitRect& dst, const BlitRect& src);
    static void BlitGrayTo8888(uint32_t colour, const BlitRect& dst, const BlitRect& src);

protected:
    // The glyph's bitmap into the glyph buffer; its byte size, 0 when it has none or does not fit
    // the buffer.
    uint32_t GetGlyphBitmap(platform::glyph::DeviceContext* dc, uint16_t code, platform::glyph::GlyphMetrics* metrics,
                            uint8_t** buffer, bool gray);
    bool Lock(uint8_t** bits, int32_t* pitch, gfx::Format* format, uint32_t* width, uint32_t* height);
    void Unlock();

private:
    struct Locked {
        uint8_t* bits;
        int32_t pitch;
        gfx::Format format;
        uint32_t width, height;
    };
    void PlaceGlyph(const Locked& lock, int32_t x, int32_t y, uint32_t colour, uint16_t code, bool gray);
    void DrawOne(int32_t x, int32_t y, uint32_t colour, uint16_t code, bool gray);
    int32_t Layout(int32_t x, int32_t y, uint32_t colour, const char* text, bool proportional, bool gray);

    platform::glyph::DeviceContext* dc_ = nullptr;
    platform::glyph::Font* font_ = nullptr;
    platform::glyph::Font* previousObject_ = nullptr;
    platform::glyph::TextMetrics metrics_{};
    uint32_t size_ = 0;
    CTexture* target_ = nullptr;
    uint8_t* glyphBuffer_ = nullptr;
    uint32_t glyphBufferBytes_ = 0;
    bool begun_ = false;
    bool grayCapable_ = false;
    bool updateOnEnd_ = false;
};
