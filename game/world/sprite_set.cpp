// The game's sprite set and the composition of every frame: two background batches into the
// first layer target, all batches into the 256 x 256 playfield target, and the playfield's
// 256 x 240 region doubled onto the grey back buffer at x 64.
#include "framework/graphics/device.h"
#include "framework/files/file_system.h"
#include "framework/graphics/sprite.h"
#include "framework/graphics/texture.h"
#include "game/world/drawing.h"

GameSpriteSet gameSprites;

namespace {

constexpr uint32_t kBatchVertices = 15000;
constexpr uint32_t kVertexType = 1;
constexpr uint32_t kColourKey = 0xFF000000u;
constexpr uint32_t kRenderTargetFormat = 9;
constexpr uint32_t kBackgroundColour = 0xFF202020u;

// Direct3D render-state numbers and values set once at load.
constexpr uint32_t kStateAlphaBlendEnable = 27;
constexpr uint32_t kStateSourceBlend = 19;
constexpr uint32_t kStateDestinationBlend = 20;
constexpr uint32_t kBlendSourceAlpha = 5;
constexpr uint32_t kBlendInverseSourceAlpha = 6;
constexpr uint32_t kClearTarget = 1;
constexpr uint32_t kClearTargetAndDepth = 3;
constexpr uint32_t kBlendModeAlpha = 1;

// A bitmap of the folder "texture" and the batches that draw from it.
struct SheetBatches {
    const char* file;
    uint32_t formatIndex;
    CSprite2D* GameSpriteSet::*batches[4];
    int batchCount;
};

const SheetBatches kSheets[] = {
    {"bullet.bmp", 13, {&GameSpriteSet::bullet}, 1},
    {"enemy.bmp", 14, {&GameSpriteSet::enemy}, 1},
    {"enemyflash.bmp", 14, {&GameSpriteSet::enemyflash}, 1},
    {"enemyghost.bmp", 14, {&GameSpriteSet::enemyghost}, 1},
    {"enemyghostflash.bmp", 14, {&GameSpriteSet::enemyghostflash}, 1},
    {"groundenemy.bmp", 14, {&GameSpriteSet::groundenemy}, 1},
    {"shot.bmp", 13, {&GameSpriteSet::shot}, 1},
    {"pc.bmp", 13, {&GameSpriteSet::pc}, 1},
    {"bg.bmp", 13, {&GameSpriteSet::bg}, 1},
    {"bg2.bmp", 13, {&GameSpriteSet::bg2}, 1},
    {"demo.bmp", 13, {&GameSpriteSet::demo}, 1},
    {"font.bmp", 13, {&GameSpriteSet::font}, 1},
    {"effect.bmp", 12,
     {&GameSpriteSet::effect1, &GameSpriteSet::effect2, &GameSpriteSet::effect3, &GameSpriteSet::effect4}, 4},
};
constexpr int kSheetCount = sizeof(kSheets) / sizeof(kSheets[0]);

CTexture* g_sheetTextures[kSheetCount] = {};

// The playfield's batches, bottom layer first.
CSprite2D* GameSpriteSet::*const kPlayfieldOrder[] = {
    &GameSpriteSet::effect3,     &GameSpriteSet::target1,    &GameSpriteSet::target2,
    &GameSpriteSet::effect4,     &GameSpriteSet::groundenemy, &GameSpriteSet::effect2,
    &GameSpriteSet::enemy,       &GameSpriteSet::enemyflash, &GameSpriteSet::enemyghost,
    &GameSpriteSet::enemyghostflash, &GameSpriteSet::shot,   &GameSpriteSet::pc,
    &GameSpriteSet::demo,        &GameSpriteSet::bullet,     &GameSpriteSet::effect1,
    &GameSpriteSet::font,
};

}  // namespace

bool LoadTextures() {
    Zeth3D::SetAlphaTestEnable(true);
    Zeth3D::SetRenderState(kStateAlphaBlendEnable, 1);
    Zeth3D::SetRenderState(kStateSourceBlend, kBlendSourceAlpha);
    Zeth3D::SetRenderState(kStateDestinationBlend, kBlendInverseSourceAlpha);
    ZethFile::SetCurrentPath("texture");
    bool anyRead = false;
    for (int i = 0; i < kSheetCount; ++i) {
        const SheetBatches& sheet = kSheets[i];
        g_sheetTextures[i] = ZethTexture::CreateFromFile(sheet.file, sheet.formatIndex, kColourKey);
        anyRead |= g_sheetTextures[i] != nullptr;
        for (int b = 0; b < sheet.batchCount; ++b) {
            CSprite2D* batch = ZethSprite::Create(kBatchVertices, kVertexType, false);
            ZethSprite::SetTexture(batch, 0, g_sheetTextures[i]);
            gameSprites.*sheet.batches[b] = batch;
        }
    }
    gameSprites.screenTarget = ZethTexture::CreateRenderTarget(256, 256, kRenderTargetFormat);
    gameSprites.layerTarget1 = ZethTexture::CreateRenderTarget(512, 512, kRenderTargetFormat);
    gameSprites.layerTarget2 = ZethTexture::CreateRenderTarget(512, 512, kRenderTargetFormat);
    gameSprites.target1 = ZethSprite::Create(kBatchVertices, kVertexType, true);
    gameSprites.target2 = ZethSprite::Create(kBatchVertices, kVertexType, true);
    ZethSprite::SetTexture(gameSprites.target1, 0, gameSprites.layerTarget1);
    ZethSprite::SetTexture(gameSprites.target2, 0, gameSprites.layerTarget2);
    return anyRead;
}

void ReleaseTextures() {
    for (int i = 0; i < kSheetCount; ++i) {
        ZethTexture::Release(g_sheetTextures[i]);
        g_sheetTextures[i] = nullptr;
        for (int b = 0; b < kSheets[i].batchCount; ++b) {
            ZethSprite::Release(gameSprites.*kSheets[i].batches[b]);
            gameSprites.*kSheets[i].batches[b] = nullptr;
        }
    }
    ZethTexture::Release(gameSprites.screenTarget);
    ZethTexture::Release(gameSprites.layerTarget1);
    ZethSprite::Release(gameSprites.target1);
    ZethTexture::Release(gameSprites.layerTarget2);
    ZethSprite::Release(gameSprites.target2);
    gameSprites = GameSpriteSet();
}

void BeginSpriteBatches() {
    CSprite2D* batches[GameSpriteSet::kBatches];
    gameSprites.Batches(batches);
    for (CSprite2D* batch : batches) ZethSprite::Begin(batch);
}

namespace {

// Ends every batch; true when a scene could be begun to render them in.
bool EndSpriteBatches() {
    CSprite2D* batches[GameSpriteSet::kBatches];
    gameSprites.Batches(batches);
    for (CSprite2D* batch : batches) ZethSprite::End(batch);
    if (!Zeth3D::BeginScene()) return false;
    Zeth3D::SetFilterEnable(false);
    Zeth3D::SetBlendMode(kBlendModeAlpha);
    return true;
}

// The tile batches onto the first layer target, which keeps them from frame to frame.
void RenderLayerBatches() {
    Zeth3D::SetRenderTarget(gameSprites.layerTarget1);
    ZethSprite::Rendering(gameSprites.bg);
    ZethSprite::Rendering(gameSprites.bg2);
    Zeth3D::SetRenderTarget(gameSprites.screenTarget);
}

}  // namespace

void RenderSpriteBatches() {
    if (!EndSpriteBatches()) return;
    Zeth3D::ResetRenderTarget();
    Zeth3D::Clear(kClearTargetAndDepth, kBackgroundColour, 1.0f, 0);
    RenderLayerBatches();
    Zeth3D::Clear(kClearTarget, 0xFF000000u, 1.0f, 0);
    for (CSprite2D* GameSpriteSet::*batch : kPlayfieldOrder) ZethSprite::Rendering(gameSprites.*batch);
    Zeth3D::ResetRenderTarget();
    const float destination[4] = {64.0f, 0.0f, 512.0f, 480.0f};
    const float source[4] = {0.0f, 0.0f, 256.0f, 240.0f};
    ZethTexture::Draw(gameSprites.screenTarget, destination, source, 0xFFFFFFFFu);
    Zeth3D::EndScene();
}

void RenderLayerSpriteBatches() {
    if (!EndSpriteBatches()) return;
    RenderLayerBatches();
    Zeth3D::EndScene();
}

void PresentFrame() { Zeth3D::Refresh(nullptr); }

