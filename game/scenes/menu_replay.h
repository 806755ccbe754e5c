// The replay list: the last finished game and the 100 numbered slots, ten to a page; the chosen
// one is played back.
#pragma once

#include <cstdint>

#include "game/scenes/menu.h"
#include "game/world/object.h"
#include "game/world/replay.h"

constexpr int32_t kReplayCancel = -2;

class SC_Menu_Replay : public Object {
public:
    SC_Menu_Replay(float x, float y, float a, float b, float c, float d);
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override { Update(ctx); }
    void Update(ObjectController* ctx);  // one frame of the scene

    // The cursor after a move: down (+1 with wrap), up (to -1, then 99), left and right (ten
    // back or on, through the last replay).
    static int32_t MoveCursor(int32_t cursor, int32_t button);

    int32_t cursor = kLastReplaySlot;
    menu::Buttons buttons;
    int32_t decideCount = 0;
    bool lastExists = false;
    ReplayEntry lastHeader;
    ReplayEntry headers[kReplaySlots];
    // The slot's header could be read. A slot whose name holds something that is no file (a
    // folder, a pipe, a link to a device) has no replay: it is listed and chosen as an empty one.
    bool slotRead[kReplaySlots] = {};

private:
    void HandleInput(ObjectController* ctx);
    void Decide(ObjectController* ctx);
    bool EntryExists(const ObjectController* ctx, int32_t slot) const;
};
