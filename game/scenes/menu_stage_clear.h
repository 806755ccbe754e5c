// The interlude scene between two stages of a cooperative whole game.
#pragma once

#include "game/scenes/menu.h"
#include "game/world/object.h"

class SC_Menu_StageClear : public Object {
public:
    SC_Menu_StageClear(float x, float y, float a, float b, float c, float d);
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override { Update(ctx); }
    void Update(ObjectController* ctx);  // one frame of the scene

    float stepX = 0.0f;  // the party controller's glide per frame
    float stepY = 0.0f;
};
