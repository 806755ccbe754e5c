// The font's interface: Shift-JIS text rasterised straight into the pixels of a locked texture
// (or of the back buffer when no texture is set). The 3D side implements it and registers its
// constructor; the font manager creates fonts, keeps a stack of them and forwards text to the
// one on top.
#pragma once

#include <cstdint>

#include "framework/graphics/device_object.h"

class CTexture;

class CFont : public CDeviceObject {
public:
    // A character's widths: A the space before the black box, B the box, C the space after.
    struct ABC {
        int32_t a;
        uint32_t b;
        int32_t c;
    };

    using CDeviceObject::CDeviceObject;

    virtual bool Create(const char* face, uint32_t size, bool italic, bool bold) = 0;
    virtual void SetTarget(CTexture* target) = 0;  // keeps a reference; null: the back buffer
    // (x, y) is the top of the text line. The smooth forms draw gray glyphs where the target
    // takes them. The text forms return the pen's final x minus x.
    virtual void DrawChar(int32_t x, int32_t y, uint32_t colour, uint16_t code) = 0;
    virtual void DrawCharSmooth(int32_t x, int32_t y, uint32_t colour, uint16_t code) = 0;
    virtual int32_t DrawText(int32_t x, int32_t y, uint32_t colour, const char* text) = 0;
    virtual int32_t DrawTextSmooth(int32_t x, int32_t y, uint32_t colour, const char* text) = 0;
    virtual int32_t DrawTextProportional(int32_t x, int32_t y, uint32_t colour, const char* text) = 0;
    virtual int32_t DrawTextProportionalSmooth(int32_t x, int32_t y, uint32_t colour, const char* text) = 0;
    virtual void GetCharWidths(uint16_t code, ABC* out) = 0;  // B at least the black box
    virtual void Begin(bool updateOnEnd) = 0;  // before any drawing
    virtual void End() = 0;
    virtual int32_t GetTextWidth(const char* format, ...) = 0;  // of the formatted text's last line
    virtual uint32_t GetSize() const = 0;
};
