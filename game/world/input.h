// The game's buttons: pad 0 of the framework's input service bound to the keyboard and the
// joystick; for each of 13 pad buttons the frames it has been down (raw counters) and the copy the
// characters and menus read (game counters), which a replay drives instead; and the 7-bit button
// word that replays record.
#pragma once

#include <cstdint>

class ObjectController;

class Input {
public:
    static constexpr int kButtons = 13;
    static constexpr int kPauseButton = 7;
    static constexpr int kBoundJoystickButtons = 4;  // pad buttons 4-7 take configured joystick buttons

    // Binds the controls: keys and the configured joystick buttons (a number the joystick
    // cannot have binds none).
    void Init(ObjectController* game);
    // Updates the raw counters from pad 0; with replay mode 0 also copies them into the game
    // counters (the pause button never reaches the game copy).
    void Read(int32_t replayMode);
    int32_t PackButtons() const;  // bit k = game counter k above 0, k = 0-6
    void Apply(int32_t word);     // drives game counters 0-7 from a recorded word; -1 clears them
    // Raw and game counters to 0 (recording and playback start from the same counters).
    void Reset();
    // Puts every counter but the pause button's back to its value before this frame's Read: a
    // paused frame is not recorded, so it must not count, or a button held across a pause
    // would read differently live and in the replay.
    void UndoRead();

    int32_t raw[kButtons] = {};   // frames held without a break, 0 = up
    int32_t game[kButtons] = {};  // the copy the game reads
    int32_t joystickButtons[kBoundJoystickButtons] = {};  // configuration values 0-3
    int32_t boundPadButtons[kBoundJoystickButtons] = {};  // 4, 5, 6, 7

private:
    int32_t rawBeforeRead_[kButtons] = {};
    int32_t gameBeforeRead_[kButtons] = {};
};
