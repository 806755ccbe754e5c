#include "framework3d/font_sprite_2d.h"

#include "framework/app/log.h"
#include "framework/files/sjis.h"
#include "framework/graphics/sprite.h"

namespace {

constexpr uint32_t kVertexType = 1;

}  // namespace

CFontSprite2D::~CFontSprite2D() {
    ZethLog::PrintError("CFontSprite2D Destruct [%s]", GetName());
    ZethLog::PrintBreak();
    ReleaseSprites();
}

void CFontSprite2D::ReleaseSprites() {
    for (CSprite2D*& sprite : sprites_) {
        ZethSprite::Release(sprite);
        sprite = nullptr;
    }
}

bool CFontSprite2D::MakeSprites(uint32_t count, bool sort) {
    for (int32_t i = 0; i < GetSheetCount(); ++i) {
        ZethLog::Print("　");
        sprites_[i] = ZethSprite::Create(count, kVertexType, sort);
        // A sheet without its batch could never be drawn: the creation fails.
        if (sprites_[i] == nullptr) return false;
        sprites_[i]->SetTexture(0, GetSheet(i));
    }
    sortSprites_ = sort;
    ZethLog::Print("} : SHEET COUNT [ %u ] : ", static_cast<uint32_t>(GetSheetCount()));
    return true;
}

bool CFontSprite2D::Create(const char* text, uint32_t count, CFont* font, bool sort, bool smooth) {
    return BuildLogged([&] { return CBaseFontSprite::Create(text, font, smooth); }, count, sort);
}

bool CFontSprite2D::CreateFromFile(const char* file, const char* source, uint32_t count, bool sort,
                                   uint32_t formatIndex) {
    return BuildLogged([&] { return CBaseFontSprite::CreateFromFile(file, source, formatIndex); }, count, sort);
}

bool CFontSprite2D::BuildLogged(const std::function<bool()>& buildStore, uint32_t count, bool sort) {
    ZethLog::Print(" : Texture {");
    ZethLog::PrintBreak();
    if (!buildStore()) {
        ZethLog::PrintError("Failed!");
        ZethLog::PrintBreak();
        return false;
    }
    ZethLog::Print("} Sprite {");
    ZethLog::PrintBreak();
    return MakeSprites(count, sort);
}

void CFontSprite2D::Resize(uint32_t count) {
    for (CSprite2D* sprite : sprites_) {
        if (sprite != nullptr) sprite->Resize(count);
    }
}

bool CFontSprite2D::Rebuild(const char* text, uint32_t count) {
    if (!CBaseFontSprite::Rebuild(text)) return false;
    ReleaseSprites();
    return MakeSprites(count, sortSprites_);
}

void CFontSprite2D::Begin(int32_t spacing) {
    for (CSprite2D* sprite : sprites_) ZethSprite::Begin(sprite);
    spacing_ = spacing;
}

void CFontSprite2D::End() {
    for (CSprite2D* sprite : sprites_) ZethSprite::End(sprite);
}

void CFontSprite2D::Rendering() {
    for (CSprite2D* sprite : sprites_) ZethSprite::Rendering(sprite);
}

const CBaseFontSprite::Glyph* CFontSprite2D::Cell(const char* character, CSprite2D** sprite, float* source) const {
    const Glyph* glyph = FindGlyph(SjisGetCharCode(character));
    if (glyph == nullptr || GetSprite(glyph->sheet) == nullptr) return nullptr;
    *sprite = GetSprite(glyph->sheet);
    source[0] = glyph->left;
    source[1] = glyph->top;
    source[2] = static_cast<float>(glyph->right - glyph->left);
    source[3] = static_cast<float>(glyph->bottom - glyph->top);
    return glyph;
}

CFontSprite2D::Point CFontSprite2D::Walk(const char* text, int32_t x, int32_t y, bool proportional, bool measure,
                                         float depth, uint32_t colour) {
    const float size = static_cast<float>(fontSize_);
    const float pitch = static_cast<float>(fontSize_ + spacing_);
    float pen = static_cast<float>(x);
    while (text != nullptr && *text != '\0') {
        const char* character = text;
        uint32_t code = 0;
        text += SjisReadChar(text, &code);
        CSprite2D* sprite = nullptr;
        float source[4];
        const Glyph* glyph = Cell(character, &sprite, source);
        if (code == 0x0A || code == 0x0D) {
            pen = static_cast<float>(x);
            y += measure && !proportional ? fontSize_ + spacing_ : fontSize_;
        } else if (code == 0x09) {
            pen += 4.0f * (proportional ? size : pitch);
        } else if (code == 0x08) {
            pen -= proportional ? size : pitch;
        } else if (code == 0x20) {
            pen += proportional ? (measure ? static_cast<float>(fontSize_ / 2) : 0.5f * size) : 0.5f * pitch;
        } else if (glyph == nullptr) {
            pen += proportional ? static_cast<float>(fontSize_ / 2) : pitch;
        } else {
            const float left = static_cast<float>(static_cast<int32_t>(pen) + (proportional ? 1 : glyph->A()));
            const float destination[4] = {left, static_cast<float>(y), source[2], source[3]};
            if (!measure) sprite->DrawRect(destination, depth, source, colour, 1);
            if (proportional) pen += static_cast<float>(glyph->width + 1);
            else pen += code <= 0xFF && halfWidthSingleByte_ ? 0.5f * pitch : pitch;
        }
    }
    return Point{static_cast<int32_t>(pen), y};
}

void CFontSprite2D::DrawText(const char* text, int32_t x, int32_t y, float depth, uint32_t colour) {
    Walk(text, x, y, false, false, depth, colour);
}

void CFontSprite2D::DrawTextProportional(const char* text, int32_t x, int32_t y, float depth, uint32_t colour) {
    Walk(text, x, y, true, false, depth, colour);
}

void CFontSprite2D::GetTextEnd(Point* out, const char* text, int32_t x, int32_t y) {
    *out = Walk(text, x, y, false, true, 0.0f, 0);
}

void CFontSprite2D::GetTextEndProportional(Point* out, const char* text, int32_t x, int32_t y) {
    *out = Walk(text, x, y, true, true, 0.0f, 0);
}

namespace {

int32_t ByteLength(const char* character) { return SjisGetCharCode(character) <= 0xFF ? 1 : 2; }

}  // namespace

int32_t CFontSprite2D::DrawChar(const char* character, const float* rect, float depth, uint32_t colour) {
    CSprite2D* sprite = nullptr;
    float source[4];
    if (Cell(character, &sprite, source) == nullptr) return 0;
    sprite->DrawRect(rect, depth, source, colour, 1);
    return ByteLength(character);
}

int32_t CFontSprite2D::DrawCharRotate(const char* character, const float* rect, float depth, uint32_t colour,
                                      int32_t angle) {
    CSprite2D* sprite = nullptr;
    float source[4];
    if (Cell(character, &sprite, source) == nullptr) return 0;
    sprite->DrawRotate(rect, depth, source, colour, angle, 1, 0.0f, 0.0f);
    return ByteLength(character);
}

int32_t CFontSprite2D::DrawCharRotateXYZ(const char* character, const float* rect, float depth, uint32_t colour,
                                         int32_t ax, int32_t ay, int32_t az) {
    CSprite2D* sprite = nullptr;
    float source[4];
    if (Cell(character, &sprite, source) == nullptr) return 0;
    sprite->DrawRotate3D(rect, depth, source, colour, ax, ay, az, 1);
    return ByteLength(character);
}
