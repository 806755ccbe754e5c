#include "framework3d/font_sprite_3d.h"

#include <algorithm>

#include "framework/app/log.h"
#include "framework/files/sjis.h"
#include "framework/graphics/managers.h"
#include "framework3d/sprite3d.h"

namespace {

constexpr uint32_t kVertexType = 1;
constexpr int32_t kHalfTurn = 0x8000;

}  // namespace

CFontSprite3D::~CFontSprite3D() {
    ZethLog::PrintError("CFontSprite3D Destruct [%s]", GetName());
    ZethLog::PrintBreak();
    ReleaseSprites();
}

int32_t CFontSprite3D::GetLongestLine(const char* text) {
    int32_t longest = 0, columns = 0;
    for (; text != nullptr && *text != '\0'; ++text) {
        if (*text == '\n') {
            columns = 0;
            continue;
        }
        columns += *text == '\t' ? 4 : 1;
        longest = std::max(longest, columns);
    }
    return longest;
}

void CFontSprite3D::ReleaseSprites() {
    for (CSprite3D*& sprite : sprites_) {
        if (sprite != nullptr) sprite->Release();
        sprite = nullptr;
    }
}

bool CFontSprite3D::MakeSprites(uint32_t count) {
    for (int32_t i = 0; i < GetSheetCount(); ++i) {
        sprites_[i] = ZethSprite3D::Create(count, kVertexType);
        // A sheet without its batch could never be drawn: the creation fails.
        if (sprites_[i] == nullptr) return false;
        sprites_[i]->SetTexture(0, GetSheet(i));
    }
    ZethLog::Print(" : SHEET COUNT [ %u ] : ", static_cast<uint32_t>(GetSheetCount()));
    return true;
}

bool CFontSprite3D::Create(const char* text, uint32_t count, CFont* font, bool smooth) {
    ZethLog::PrintTitle("CFontSprite3D::Create");
    return LogOutcome(CBaseFontSprite::Create(text, font, smooth) && MakeSprites(count));
}

bool CFontSprite3D::CreateFromFile(const char* file, const char* source, uint32_t count, uint32_t formatIndex) {
    ZethLog::PrintTitle("CFontSprite3D::CreateFromFile");
    return LogOutcome(CBaseFontSprite::CreateFromFile(file, source, formatIndex) && MakeSprites(count));
}

bool CFontSprite3D::LogOutcome(bool created) {
    if (created) ZethLog::PrintSuccess("Success!");
    else ZethLog::PrintError("Failed!");
    ZethLog::PrintBreak();
    return created;
}

bool CFontSprite3D::Rebuild(const char* text, uint32_t count) {
    if (!CBaseFontSprite::Rebuild(text)) return false;
    ReleaseSprites();
    return MakeSprites(count);
}

void CFontSprite3D::Begin() {
    for (CSprite3D* sprite : sprites_) {
        if (sprite != nullptr) sprite->Begin();
    }
}

void CFontSprite3D::End() {
    for (CSprite3D* sprite : sprites_) {
        if (sprite != nullptr) sprite->End();
    }
}

void CFontSprite3D::Rendering() {
    for (CSprite3D* sprite : sprites_) {
        if (sprite != nullptr) sprite->Rendering();
    }
}

void CFontSprite3D::Lay(const char* text, const CTransform3D& placement, float height, uint32_t colour,
                        bool proportional) {
    // The quads are drawn with the placement's orientation at the origin; their centres are
    // turned half a turn about its up axis and moved to its position.
    CTransform3D turn = placement;
    const CVector3 position = turn.position;
    turn.position.Set(0.0f, 0.0f, 0.0f);
    turn.RotateYaw(kHalfTurn);
    turn.Update();
    const CMatrix centreTurn = turn.world;
    turn.RotateYaw(kHalfTurn);
    turn.Update();

    const float size = static_cast<float>(fontSize_);
    const float scale = fontSize_ != 0 ? height / size : 0.0f;
    const float startX = -static_cast<float>(GetLongestLine(text)) * size * 0.25f;
    float penX = startX, penY = 0.5f * size;
    while (text != nullptr && *text != '\0') {
        uint32_t code = 0;
        text += SjisReadChar(text, &code);
        const Glyph* glyph = FindGlyph(code);
        if (code == 0x0A || code == 0x0D) {
            penX = startX;
            penY += proportional ? size : -size;
        } else if (code == 0x09) {
            penX += 4.0f * size;
        } else if (code == 0x08) {
            penX += size;
        } else if (code == 0x20) {
            penX += 0.5f * size;
        } else if (glyph == nullptr || GetSprite(glyph->sheet) == nullptr) {
            penX += proportional ? 0.5f * size : size;
        } else {
            const int32_t w = glyph->right - glyph->left, h = glyph->bottom - glyph->top;
            CVector3 centre = proportional ? CVector3((penX + static_cast<float>(w / 2)) * scale, penY * scale, 0.0f)
                                           : CVector3((penX + static_cast<float>(glyph->A() + w / 2)) * scale,
                                                      (penY + static_cast<float>(h / 2)) * scale, 0.0f);
            centre.TransformCoord(centreTurn);
            const float source[4] = {static_cast<float>(glyph->left), static_cast<float>(glyph->top), static_cast<float>(w),
                                    static_cast<float>(h)};
            GetSprite(glyph->sheet)
                ->DrawQuad(turn, centre.x + position.x, centre.y + position.y, centre.z + position.z,
                           static_cast<float>(w) * scale, height, source, colour, 1);
            if (proportional) penX += static_cast<float>(w + 1);
            else penX += code <= 0xFF ? static_cast<float>(fontSize_ / 2) : size;
        }
    }
}

void CFontSprite3D::DrawText(const char* text, const CTransform3D& placement, float height, uint32_t colour) {
    Lay(text, placement, height, colour, false);
}

void CFontSprite3D::DrawTextProportional(const char* text, const CTransform3D& placement, float height,
                                         uint32_t colour) {
    Lay(text, placement, height, colour, true);
}
