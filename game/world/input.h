// The game's buttons: thirteen hold counters read from pad 0 each frame, the game-facing copy the
// characters and menus read, and the 7-bit button word that replays record. Reading the pad
// itself is not wired yet: the raw counters only change through Reset or their owner.
#pragma once

#include <cstdint>

class ObjectController;

class Input {
public:
    static constexpr int kButtons = 13;
    static constexpr int kPauseButton = 7;

    void Init(ObjectController* game);  // binds the controls
    // Updates the raw counters from the pad; with replay mode 0 also copies them into the game
    // counters (the pause button never reaches the game copy).
    void Read(int32_t replayMode);
    int32_t PackButtons() const;  // bit k = game counter k above 0, k = 0-6
    void Apply(int32_t word);     // drives game counters 0-7 from a recorded word
    void Reset();                 // raw counters to 0

    int32_t raw[kButtons] = {};   // frames held without a break, 0 = up
    int32_t game[kButtons] = {};  // the copy the game reads
};
