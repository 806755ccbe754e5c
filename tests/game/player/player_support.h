// A world with the real party and characters, stand-ins for the stage scene (337) and the
// blast effect (272), and frames stepped by hand with buttons held in the game counters.
#pragma once

#include <gtest/gtest.h>

#include <set>

#include "game/player/characters.h"
#include "game/player/pc_controller.h"
#include "game/world/world_support.h"

namespace player_test {

// Pad buttons of the game counters.
enum Button { kUp = 0, kDown = 1, kLeft = 2, kRight = 3, kFire1 = 4, kFire2 = 5, kFire3 = 6, kFire4 = 7 };

class PlayerTest : public world_test::WorldTest {
protected:
    PlayerTest();

    // Holds or releases a button from the next frame on.
    void Hold(Button b, bool down = true);
    // Frames of the four passes (run, move, collide, sweep) with the held buttons counted.
    void Step(int frames = 1);
    world_test::Probe* MakeScene();
    template <typename T>
    T* Make(int32_t code) {
        return dynamic_cast<T*>(world.CreatePC(code));
    }
    // A character of the code at level, past the two frames in which it reads no input.
    template <typename T>
    T* Ready(int32_t code, int32_t level) {
        T* pc = Make<T>(code);
        Step(2);
        pc->powerLevel = level;
        return pc;
    }
    // Whether the object is of the class the factory makes for the type id.
    static bool MadeBy(Object* o, int32_t typeId);
    // Live shots of a type id.
    int CountShots(int32_t typeId) const;
    int CountBlasts() const;  // stand-in effects 272

    // Shots of a type id made during the last Step's frame.
    int NewShots(int32_t typeId) const;

    PCController* party = nullptr;
    std::set<int> held_;
    std::set<Object*> shotsBefore_;  // after the frame before the last
    std::set<Object*> shotsAfter_;   // after the last frame
};

}  // namespace player_test
