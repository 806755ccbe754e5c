// The title scene, the first scene of the game and the one every other scene returns to.
#pragma once

#include <cstdint>

#include "game/scenes/menu.h"
#include "game/world/object.h"

class SC_Menu_Title : public Object {
public:
    SC_Menu_Title(float x, float y, float a, float b, float c, float d);
    void Draw(ObjectController* ctx) override { DrawMenu(ctx); }
    void DrawMenu(ObjectController* ctx);  // the screen of the frame
    void Run(ObjectController* ctx) override { Update(ctx); }
    void Update(ObjectController* ctx);  // one frame of the scene

    // The row after `row` going down (step 1) or up (-1): the seal row is never chosen, the
    // extermination row only from arrest count 16.
    static int32_t StepRow(int32_t row, int32_t step, int32_t arrestCount);

    int32_t cursorRow = 0;
    menu::Buttons buttons;
    int32_t decideCount = 0;
    int32_t idleFrames = 0;

private:
    static bool FirstRun(const ObjectController* ctx);
    void Open(ObjectController* ctx);
    void HandleInput(ObjectController* ctx);
    void Decide(ObjectController* ctx);
};
