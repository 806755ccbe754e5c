// What the world draws each frame: every object's Draw in list order, or "PAUSE".
#include "game/world/drawing.h"

#include "game/world/object_controller.h"
#include "game/world/text.h"

void ObjectController::DrawAll(int32_t) {
    BeginSpriteBatches();
    if (!paused) {
        Pass({&enemies, &enemyBullets, &players, &shots, &others, &items}, 2, [this](Object* o) {
            drawing = o;
            o->Draw(this);
        });
        drawing = nullptr;
    } else {
        DrawText(L"PAUSE", 104.0f, 112.0f, 32767.0f, -1);
    }
    RenderSpriteBatches();
    PresentFrame();
}

void ObjectController::DrawOverlay() {
    BeginSpriteBatches();
    DrawScene();
    RenderSpriteBatches();
}

void ObjectController::DrawLayers() {
    BeginSpriteBatches();
    DrawScene();
    RenderLayerSpriteBatches();
}

void ObjectController::DrawScene() {
    if (currentScene == nullptr) return;
    drawing = currentScene;
    currentScene->Draw(this);
    drawing = nullptr;
}

CSprite2D* GameSpriteSet::EnemyBatch(int index) const {
    CSprite2D* const batches[4] = {enemy, enemyflash, enemyghost, enemyghostflash};
    return index >= 0 && index < 4 ? batches[index] : nullptr;
}

void GameSpriteSet::Batches(CSprite2D* out[kBatches]) const {
    CSprite2D* const inOrder[kBatches] = {bullet, enemy, enemyflash, enemyghost, enemyghostflash, groundenemy,
                                          shot,   pc,    bg,         bg2,        demo,            font,
                                          effect1, effect2, effect3, effect4,   target1,         target2};
    for (int i = 0; i < kBatches; ++i) out[i] = inOrder[i];
}
