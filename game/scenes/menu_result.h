// The result scene shown when a game ends.
#pragma once

#include <cstdint>
#include <string>

#include "game/scenes/menu.h"
#include "game/world/object.h"

class SC_Menu_Result : public Object {
public:
    enum SaveState : int32_t { kCanSave = 0, kSaved = 1, kNoFreeSlot = 2, kNotOffered = 3 };

    SC_Menu_Result(float x, float y, float a, float b, float c, float d);
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override { Update(ctx); }
    void Update(ObjectController* ctx);  // one frame of the scene
    void OnMessage(const Message& message) override;  // result_message codes

    // "QVREPLAY <slot> .QVREP", cut to 20 characters.
    static std::wstring FileNameLine(int32_t slot);

    menu::Buttons buttons;
    int32_t decideCount = 0;
    int32_t saveState = kCanSave;
    int32_t freeSlot = -1;

private:
    void HandleInput(ObjectController* ctx);
    void Decide(ObjectController* ctx);  // back to the title once the decide countdown is over
};
