#include "framework3d/font.h"

#include <cstdarg>
#include <cstdio>

#include "framework/app/log.h"
#include "framework/core/lock.h"
#include "framework/files/sjis.h"
#include "framework/graphics/device.h"
#include "framework/graphics/texture.h"

namespace glyph = platform::glyph;

namespace {

constexpr uint32_t kTextWidthBuffer = 1024;

// The font's request to the glyph layer.
constexpr int32_t kWeightDefault = 0;
constexpr int32_t kWeightHeavy = 1000;
constexpr uint32_t kShiftJisCharset = 128;
constexpr uint32_t kOutTrueTypePrecision = 4;
constexpr uint32_t kProofQuality = 2;
constexpr uint32_t kFixedPitchModern = 0x31;

const glyph::Mat2 kIdentity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};

bool TakesGray(gfx::Format format) {
    using namespace gfx::fmt;
    return format == kA8R8G8B8 || format == kX8R8G8B8 || format == kA4R4G4B4 || format == kX4R4G4B4;
}

}  // namespace

CGdiFont::~CGdiFont() {
    ZethLog::PrintError("CFont Destruct");
    ZethLog::PrintBreak();
    End();
    glyph::DeleteObject(font_);
    Zeth::MemoryFree(glyphBuffer_);
    if (target_ != nullptr) target_->Release();
}

bool CGdiFont::Create(const char* face, uint32_t size, bool italic, bool bold) {
    ZethLog::Print(" : フォントバッファ用メモリ確保 : ");
    Zeth::MemoryFree(glyphBuffer_);
    uint64_t bytes = uint64_t{size} * size * 4;
    glyphBuffer_ = bytes > 0 && bytes <= UINT32_MAX ? static_cast<uint8_t*>(Zeth::MemoryAlloc(static_cast<uint32_t>(bytes)))
                                                    : nullptr;
    if (glyphBuffer_ == nullptr) {
        ZethLog::PrintError("フォントバッファ用メモリの確保に失敗");
        ZethLog::PrintBreak();
        return false;
    }
    glyphBufferBytes_ = static_cast<uint32_t>(bytes);
    ZethLog::Print(" } ");
    glyph::DeleteObject(font_);
    font_ = glyph::CreateFontA(static_cast<int32_t>(size), 0, 0, 0, bold ? kWeightHeavy : kWeightDefault, italic, false,
                               false, kShiftJisCharset, kOutTrueTypePrecision, 0, kProofQuality, kFixedPitchModern,
                               face);
    size_ = size;
    ZethLog::Print("FONT FACE [ %s ] : FONT SIZE [ %u ] : ", face != nullptr ? face : "", size);
    // Without a font every glyph would be missing: the creation fails instead.
    return font_ != nullptr;
}

void CGdiFont::SetTarget(CTexture* target) {
    if (target != nullptr) target->AddRef();
    if (target_ != nullptr) target_->Release();
    target_ = target;
}

void CGdiFont::Begin(bool updateOnEnd) {
    begun_ = true;
    dc_ = glyph::GetDC(GetFocusWindow());
    previousObject_ = glyph::SelectObject(dc_, font_);
    metrics_ = glyph::TextMetrics{};
    glyph::GetTextMetricsA(dc_, &metrics_);
    grayCapable_ = target_ != nullptr && TakesGray(target_->GetFormat());
    updateOnEnd_ = updateOnEnd;
}

void CGdiFont::End() {
    if (!begun_) return;
    begun_ = false;
    glyph::SelectObject(dc_, previousObject_);
    glyph::ReleaseDC(GetFocusWindow(), dc_);
    dc_ = nullptr;
}

uint32_t CGdiFont::GetGlyphBitmap(glyph::DeviceContext* dc, uint16_t code, glyph::GlyphMetrics* metrics,
                                  uint8_t** buffer, bool gray) {
    uint32_t format = gray ? glyph::kGgoGray8Bitmap : glyph::kGgoBitmap;
    *metrics = glyph::GlyphMetrics{};
    uint32_t bytes = glyph::GetGlyphOutlineA(dc, code, format, metrics, 0, nullptr, &kIdentity);
    // A glyph larger than the buffer, or one the layer cannot give, is drawn as nothing.
    if (bytes == glyph::kGdiError || bytes == 0 || bytes > glyphBufferBytes_) return 0;
    *buffer = glyphBuffer_;
    return glyph::GetGlyphOutlineA(dc, code, format, metrics, glyphBufferBytes_, glyphBuffer_, &kIdentity) == bytes ? bytes
                                                                                                                    : 0;
}

bool CGdiFont::Lock(uint8_t** bits, int32_t* pitch, gfx::Format* format, uint32_t* width, uint32_t* height) {
    void* locked = nullptr;
    uint32_t lockedPitch = 0;
    bool ok = target_ != nullptr ? target_->Lock(nullptr, &lockedPitch, &locked, width, height, format)
                                 : Zeth3D::LockBackBuffer(&locked, &lockedPitch, format, width, height);
    *bits = static_cast<uint8_t*>(locked);
    *pitch = static_cast<int32_t>(lockedPitch);
    return ok && locked != nullptr;
}

void CGdiFont::Unlock() {
    if (target_ == nullptr) {
        Zeth3D::UnlockBackBuffer();
        return;
    }
    target_->Unlock();
    if (updateOnEnd_) target_->UpdateTexture();
}

void CGdiFont::PlaceGlyph(const Locked& lock, int32_t x, int32_t y, uint32_t colour, uint16_t code, bool gray) {
    glyph::GlyphMetrics metrics{};
    uint8_t* buffer = nullptr;
    uint32_t bytes = GetGlyphBitmap(dc_, code, &metrics, &buffer, gray);
    int32_t boxWidth = static_cast<int32_t>(metrics.blackBoxX), boxHeight = static_cast<int32_t>(metrics.blackBoxY);
    // An empty black box has no rows to take a pitch from: nothing to draw.
    if (bytes == 0 || boxWidth <= 0 || boxHeight <= 0) return;
    BlitRect src{0, 0, boxWidth, boxHeight, static_cast<int32_t>(bytes / static_cast<uint32_t>(boxHeight)) & ~3, buffer};
    int32_t top = y + metrics_.ascent - metrics.originY;
    BlitRect dst{x, top, x + boxWidth, top + boxHeight, lock.pitch, lock.bits};
    Blitter blit = gray ? GrayBlitter(lock.format) : MonoBlitter(lock.format);
    if (blit != nullptr && ClipBlit(dst, src, static_cast<int32_t>(lock.width), static_cast<int32_t>(lock.height))) {
        blit(colour, dst, src);
    }
}

void CGdiFont::DrawOne(int32_t x, int32_t y, uint32_t colour, uint16_t code, bool gray) {
    Locked lock{};
    if (!Lock(&lock.bits, &lock.pitch, &lock.format, &lock.width, &lock.height)) return;
    PlaceGlyph(lock, x, y, colour, code, gray);
    Unlock();
}

void CGdiFont::DrawChar(int32_t x, int32_t y, uint32_t colour, uint16_t code) { DrawOne(x, y, colour, code, false); }

void CGdiFont::DrawCharSmooth(int32_t x, int32_t y, uint32_t colour, uint16_t code) {
    DrawOne(x, y, colour, code, grayCapable_);
}

void CGdiFont::GetCharWidths(uint16_t code, ABC* out) {
    glyph::Abc abc{};
    glyph::GetCharABCWidthsA(dc_, code, code, &abc);
    glyph::GlyphMetrics metrics{};
    glyph::GetGlyphOutlineA(dc_, code, glyph::kGgoGray8Bitmap, &metrics, 0, nullptr, &kIdentity);
    *out = ABC{abc.a, abc.b < metrics.blackBoxX ? metrics.blackBoxX : abc.b, abc.c};
}

int32_t CGdiFont::Layout(int32_t x, int32_t y, uint32_t colour, const char* text, bool proportional, bool gray) {
    Locked lock{};
    if (text == nullptr || !Lock(&lock.bits, &lock.pitch, &lock.format, &lock.width, &lock.height)) return 0;
    const int32_t h = metrics_.height;
    int32_t pen = x;
    while (*text != '\0') {
        uint32_t code = 0;
        text += SjisReadChar(text, &code);
        ABC widths{};
        GetCharWidths(static_cast<uint16_t>(code), &widths);
        if (!proportional) pen += widths.a;
        if (code == 0x0A || code == 0x0D) {
            pen = x;
            y += h;
        } else if (code == 0x09) {
            pen += 4 * h;
        } else if (code == 0x08 && proportional) {
            pen -= h;
        } else if (code == 0x20) {
            pen += h / 2;
        } else if (code == 0x8140) {
            pen += h;
        } else {
            PlaceGlyph(lock, pen, y, colour, static_cast<uint16_t>(code), gray);
            int32_t advance = code <= 0xFF ? h / 2 : h;
            pen += proportional ? static_cast<int32_t>(widths.b) : advance - widths.a;
        }
    }
    Unlock();
    return pen - x;
}

int32_t CGdiFont::DrawText(int32_t x, int32_t y, uint32_t colour, const char* text) {
    return Layout(x, y, colour, text, false, false);
}

int32_t CGdiFont::DrawTextSmooth(int32_t x, int32_t y, uint32_t colour, const char* text) {
    return Layout(x, y, colour, text, false, grayCapable_);
}

int32_t CGdiFont::DrawTextProportional(int32_t x, int32_t y, uint32_t colour, const char* text) {
    return Layout(x, y, colour, text, true, false);
}

int32_t CGdiFont::DrawTextProportionalSmooth(int32_t x, int32_t y, uint32_t colour, const char* text) {
    return Layout(x, y, colour, text, true, grayCapable_);
}

int32_t CGdiFont::GetTextWidth(const char* format, ...) {
    // Formatted text longer than the buffer is cut at its end.
    char text[kTextWidthBuffer] = {};
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    const int32_t h = metrics_.height;
    int32_t width = 0;
    for (const char* p = text; *p != '\0';) {
        uint32_t code = 0;
        p += SjisReadChar(p, &code);
        ABC widths{};
        GetCharWidths(static_cast<uint16_t>(code), &widths);
        width += widths.a;
        if (code == 0x0A || code == 0x0D) {
            width = 0;
        } else if (code == 0x09) {
            width += 4 * h;
        } else if (code == 0x08) {
            width -= h;
        } else if (code == 0x20) {
            width += h / 2;
        } else if (code == 0x8140) {
            width += h;
        } else {
            width += static_cast<int32_t>(widths.b) + widths.c;
        }
    }
    return width;
}
