// The extermination menu: a single stage or a timed attack, cooperative or ghost.
#pragma once

#include <cstdint>

#include "game/scenes/menu.h"
#include "game/world/object.h"

class SC_Menu_Extermination : public Object {
public:
    SC_Menu_Extermination(float x, float y, float a, float b, float c, float d);
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override { Update(ctx); }
    void Update(ObjectController* ctx);  // one frame of the scene

    // The sub-mode one step right (+1) or left (-1) in the cycle 1, 2, 3, 10, 11.
    static int32_t StepSubMode(int32_t subMode, int32_t step);

    int32_t cursorRow = 2;  // 0 family, 1 sub-mode, 2 OK
    menu::Buttons buttons;
    int32_t decideCount = 0;
    int32_t subMode = 1;
    bool ghost = false;

private:
    void HandleInput(ObjectController* ctx);
    void Decide(ObjectController* ctx);
};

// Draws the name of a sub-mode at (x, y): "NODE" and its number below 10, else the attack's name.
void DrawSubModeName(int32_t subMode, float x, float y);
