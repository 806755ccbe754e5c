// The stage's background: map rows painted once each into a 512 x 512 render target used as a
// ring of 32 rows, the 256 x 256 window of the ring shown behind everything every frame, and the
// ground enemies that the painted rows' cell values place.
#include "framework/graphics/device.h"
#include "framework/graphics/sprite.h"
#include "framework/graphics/texture.h"
#include "game/stage/ground_table.h"
#include "game/stage/script.h"
#include "game/world/drawing.h"
#include "game/world/object_controller.h"

namespace {

constexpr float kDepth = 32767.0f;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kGrey = 0xFF787878u;
constexpr uint32_t kStage8Ground = 0xFF2000B0u;
constexpr uint32_t kClearTarget = 1;
constexpr float kGridTile[2] = {208.0f, 16.0f};   // light lines on black
constexpr float kStage6Tile[2] = {144.0f, 96.0f};

void DrawTile(CSprite2D* batch, float x, float y, float u, float v, uint32_t colour) {
    const float dst[4] = {x, y, 16.0f, 16.0f};
    const float src[4] = {u, v, 16.0f, 16.0f};
    ZethSprite::DrawRect(batch, dst, kDepth, src, colour, 1);
}

// Fills the ring area [0, right] x [0, 496] with one tile.
void FillTiles(CSprite2D* batch, const float* tile, float right, uint32_t colour) {
    for (float y = 0.0f; y <= 496.0f; y += 16.0f) {
        for (float x = 0.0f; x <= right; x += 16.0f) DrawTile(batch, x, y, tile[0], tile[1], colour);
    }
}

void ClearTarget(CTexture* target, uint32_t colour) {
    if (target == nullptr) return;
    Zeth3D::SetRenderTarget(target);
    Zeth3D::Clear(kClearTarget, colour, 1.0f, 0);
}

void CopyTexture(CTexture* from, const float* destination, const float* source) {
    if (from != nullptr) ZethTexture::Draw(from, destination, source, kWhite);
}

}  // namespace

int32_t RingY(int32_t row) { return (496 - (row % 32) * 16) % 512; }

void Script::DrawBackground(ObjectController* ctx) {
    const int32_t s = stage % 16;
    CSprite2D* bg = gameSprites.bg;
    if (age == 1) {
        Zeth3D::BeginScene();
        ClearTarget(gameSprites.layerTarget1, 0);
        ClearTarget(gameSprites.layerTarget2, 0);
        if (s == 8) {
            ClearTarget(gameSprites.layerTarget1, kStage8Ground);
            ClearTarget(gameSprites.layerTarget2, kStage8Ground);
        }
        Zeth3D::SetRenderTarget(gameSprites.screenTarget);
        Zeth3D::EndScene();
        if (bg != nullptr) {
            if (stage == 16) FillTiles(bg, kGridTile, 240.0f, kWhite);
            else if (s == 6) FillTiles(bg, kStage6Tile, 240.0f, kWhite);
            else if (s != 8 && ctx->gameMode > kGhostModes) FillTiles(bg, kGridTile, 496.0f, kGrey);
        }
    }
    if (rowDirty != 0 && stage != 16) DrawMapRow(ctx);
    if (gameSprites.target1 != nullptr) {
        const float dst[4] = {0.0f, 0.0f, 256.0f, 256.0f};
        const float src[4] = {static_cast<float>(scrollX), static_cast<float>(512 - scrollY % 512), 256.0f, 256.0f};
        ZethSprite::DrawRect(gameSprites.target1, dst, kDepth, src, static_cast<uint32_t>(backgroundColour), 1);
    }
}

void Script::DrawMapRow(ObjectController* ctx) {
    world_ = ctx;
    const int32_t r = scrollY / 16;
    if (r % 16 == 0 && gameSprites.layerTarget1 != nullptr && gameSprites.layerTarget2 != nullptr) {
        // Keep the half of the ring still on screen: copy the ring aside, clear it and copy that
        // half back, so the rows about to be painted land on a clean half.
        Zeth3D::BeginScene();
        const float whole[4] = {0.0f, 0.0f, 512.0f, 512.0f};
        ClearTarget(gameSprites.layerTarget2, 0xFF000000u);
        CopyTexture(gameSprites.layerTarget1, whole, whole);
        ClearTarget(gameSprites.layerTarget1, 0xFF000000u);
        const float half[4] = {0.0f, (r / 16) % 2 == 1 ? 256.0f : 0.0f, 512.0f, 256.0f};
        Zeth3D::SetRenderTarget(gameSprites.layerTarget1);
        CopyTexture(gameSprites.layerTarget2, half, half);
        Zeth3D::SetRenderTarget(gameSprites.screenTarget);
        Zeth3D::EndScene();
    }
    CSprite2D* sheet = stage % 16 < 7 ? gameSprites.bg : gameSprites.bg2;
    const float ringY = static_cast<float>(RingY(r));
    const bool ghostAttack = ctx->gameMode > kGhostModes;
    for (int32_t c = 0; c < mapWidth; ++c) {
        const int32_t v = map[r % kMapRows][c];
        if (sheet != nullptr) {
            const float ringX = static_cast<float>((c * 16) % 512);
            DrawTile(sheet, ringX, ringY, static_cast<float>((v % 16) * 16), static_cast<float>((v / 16) * 16), kWhite);
            if (ghostAttack && v == 0) DrawTile(sheet, ringX, ringY, kGridTile[0], kGridTile[1], kGrey);
        }
        const GroundPlacement* p = FindGroundPlacement(stage, v);
        if (p == nullptr) continue;
        float gx = static_cast<float>(c * 16 + 8);
        float gy = static_cast<float>(scrollY % 16 - 8 + scrollSpeed);
        if (p->atTop) {
            gx = static_cast<float>(8 + 10 * c);
            gy = 0.0f;
        }
        gx += static_cast<float>(p->shiftX);
        gy += static_cast<float>(p->shiftY);
        Object* enemy = ctx->CreateObject(p->typeId, gx, gy, 0, p->b, 0, 0, p->owned ? this : nullptr);
        if (enemy != nullptr) enemy->angle = GroundLevel(*p, v);
    }
    rowDirty = 0;
}
