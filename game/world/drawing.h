// The game's sprite set: the 18 sprite batches named after their sheets, the textures they draw
// from and the three render targets, held as globals that every Draw uses; and the frame's
// composition of the batches into the playfield and onto the back buffer.
#pragma once

#include <cstdint>

#include "game/world/cells.h"

class CSprite2D;
class CTexture;

struct GameSpriteSet {
    static constexpr int kBatches = 18;

    CSprite2D* bullet = nullptr;
    CSprite2D* enemy = nullptr;  // enemy, enemyflash, enemyghost, enemyghostflash: EnemyBatch(0-3)
    CSprite2D* enemyflash = nullptr;
    CSprite2D* enemyghost = nullptr;
    CSprite2D* enemyghostflash = nullptr;
    CSprite2D* groundenemy = nullptr;
    CSprite2D* shot = nullptr;
    CSprite2D* pc = nullptr;
    CSprite2D* bg = nullptr;
    CSprite2D* bg2 = nullptr;
    CSprite2D* demo = nullptr;
    CSprite2D* font = nullptr;
    CSprite2D* effect1 = nullptr;
    CSprite2D* effect2 = nullptr;
    CSprite2D* effect3 = nullptr;
    CSprite2D* effect4 = nullptr;
    CSprite2D* target1 = nullptr;  // depth-sorted, textured with layerTarget1
    CSprite2D* target2 = nullptr;  // depth-sorted, textured with layerTarget2

    CTexture* screenTarget = nullptr;  // 256 x 256: the playfield
    CTexture* layerTarget1 = nullptr;  // 512 x 512
    CTexture* layerTarget2 = nullptr;  // 512 x 512

    // The enemy batch by index: 0 normal, 1 hit flash, 2 ghost, 3 ghost hit flash.
    CSprite2D* EnemyBatch(int index) const;
    // The batches in begin order.
    void Batches(CSprite2D* out[kBatches]) const;
};

extern GameSpriteSet gameSprites;

// The menu pointer's solid middle: stretched, it makes the covers and panels of one colour.
inline constexpr CellSource kSolidTexels = {cell::menu_pointer.U(4), cell::menu_pointer.V(4), 2.0f, 2.0f};

// The 13 bitmaps with their batches, the render targets; false when not one bitmap could be read.
bool LoadTextures();
void ReleaseTextures();     // in load order
void BeginSpriteBatches();  // all 18 batches, in begin order
void RenderSpriteBatches(); // ends the batches and composes the frame
// Ends the batches and renders only those that paint the layer targets, which outlast the frame.
void RenderLayerSpriteBatches();
void PresentFrame();        // shows the back buffer
