// The menu scenes' shared buttons and drawing.
#include "game/scenes/menu.h"

#include "framework/graphics/device.h"
#include "framework/graphics/sprite.h"
#include "framework/graphics/texture.h"
#include "game/world/cells.h"
#include "game/world/drawing.h"
#include "game/world/object_controller.h"
#include "game/world/text.h"

namespace menu {

void Buttons::Read(const ObjectController* ctx, int32_t age) {
    for (int i = 0; i < 8; ++i) held[i] = age < 2 ? 0 : ctx->input.game[i];
}

bool Buttons::AnyHeld() const {
    for (int32_t h : held) {
        if (h != 0) return true;
    }
    return false;
}

void Text(const wchar_t* text, float x, float y, int32_t colour) { DrawText(text, x, y, kDepth, colour); }

void Number(float x, float y, int32_t value, int32_t colour) { DrawNumber(x, y, value, colour); }

void Cell(CSprite2D* batch, float x, float y, float w, float h, float u, float v, float uw, float vh,
          uint32_t colour) {
    if (batch == nullptr) return;
    const float dst[4] = {x, y, w, h};
    const float src[4] = {u, v, uw, vh};
    ZethSprite::DrawRect(batch, dst, kDepth, src, colour, 1);
}

void Cell(CSprite2D* batch, float x, float y, float w, float h, const CellSource& source, uint32_t colour) {
    Cell(batch, x, y, w, h, source.u, source.v, source.width, source.height, colour);
}

void Pointer(float x, float y) { Cell(gameSprites.effect2, x, y, 8, 8, cell::menu_pointer.Source()); }

// The message frame's 8 x 8 quarters at the corners; its middle texels stretched along the edges.
void Frame(float left, float top, float right, float bottom) {
    CSprite2D* b = gameSprites.effect2;
    const SheetCell& f = cell::message_frame;
    Cell(b, left, top, 8, 8, f.U(0), f.V(0), 8, 8);
    Cell(b, right, top, 8, 8, f.U(8), f.V(0), 8, 8);
    Cell(b, left, bottom, 8, 8, f.U(0), f.V(8), 8, 8);
    Cell(b, right, bottom, 8, 8, f.U(8), f.V(8), 8, 8);
    Cell(b, left + 8, top, right - left - 8, 8, f.U(4), f.V(0), 8, 8);
    Cell(b, left + 8, bottom, right - left - 8, 8, f.U(4), f.V(8), 8, 8);
    Cell(b, left, top + 8, 8, bottom - top - 8, f.U(0), f.V(4), 8, 8);
    Cell(b, right, top + 8, 8, bottom - top - 8, f.U(8), f.V(4), 8, 8);
}

void Icon(int32_t id, float x, float y) {
    Cell(gameSprites.pc, x, y, 16, 16, static_cast<float>((id / 16) * 64), static_cast<float>((id % 16) * 16), 16, 16);
}

void ClearLayerTargets() {
    constexpr uint32_t kClearTarget = 1;
    for (CTexture* target : {gameSprites.layerTarget1, gameSprites.layerTarget2}) {
        if (target == nullptr) continue;
        Zeth3D::SetRenderTarget(target);
        Zeth3D::Clear(kClearTarget, 0, 1.0f, 0);
    }
}

void StartFresh(ObjectController* ctx) {
    ctx->ClearScene();
    ctx->ResetController();
}

}  // namespace menu
