// The menu scenes' shared buttons and drawing.
#include "game/stage/menu.h"

#include "framework/graphics/sprite.h"
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

void Pointer(float x, float y) { Cell(gameSprites.effect2, x, y, 8, 8, 0, 24, 8, 8); }

void StartFresh(ObjectController* ctx) {
    ctx->ClearScene();
    ctx->ResetController();
}

}  // namespace menu
