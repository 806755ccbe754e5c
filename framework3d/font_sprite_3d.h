// Text as textured quads in the 3D scene: one 3D sprite batch per glyph sheet. A text is laid
// out in font pixels, centred on its longest line, scaled to a requested line height, turned by
// a placement's axes and moved to its position.
#pragma once

#include <cstdint>

#include "framework3d/font_sprite.h"
#include "framework3d/transform3d.h"

class CSprite3D;

class CFontSprite3D : public CBaseFontSprite {
public:
    explicit CFontSprite3D(CBaseManager* manager) : CBaseFontSprite(manager) {}
    ~CFontSprite3D() override;

    // The widest line in columns: one a byte, four a tab.
    static int32_t GetLongestLine(const char* text);
    // Each logs its own title ("CFontSprite3D::Create" or "CFontSprite3D::CreateFromFile") and
    // how it ended.
    bool Create(const char* text, uint32_t count, CFont* font, bool smooth);
    bool CreateFromFile(const char* file, const char* source, uint32_t count, uint32_t formatIndex);
    bool Rebuild(const char* text, uint32_t count);
    void Begin();
    void End();
    void Rendering();
    // height: the world height of one line; fixed-pitch lines go down, proportional ones up.
    void DrawText(const char* text, const CTransform3D& placement, float height, uint32_t colour);
    void DrawTextProportional(const char* text, const CTransform3D& placement, float height, uint32_t colour);

    CSprite3D* GetSprite(int32_t sheet) const { return sheet >= 0 && sheet < kMaxSheets ? sprites_[sheet] : nullptr; }

private:
    bool MakeSprites(uint32_t count);
    static bool LogOutcome(bool created);  // "Success!" or "Failed!", then a line break
    void ReleaseSprites();
    void Lay(const char* text, const CTransform3D& placement, float height, uint32_t colour, bool proportional);

    CSprite3D* sprites_[kMaxSheets] = {};
};
