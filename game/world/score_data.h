// The player's records and the configuration values. The score and configuration files are not
// read yet: Load keeps the defaults, as a game without those files would.
#pragma once

#include <cstdint>

class ObjectController;

class ScoreData {
public:
    void Clear();                     // the defaults
    bool Load(ObjectController* game);  // true when the score file was read

    int32_t joystickButtons[4] = {0, 1, 2, 3};  // configuration values 0-3
    int32_t ghostDisplay = 2;                   // configuration value 4
    bool fullScreenAtStart = false;             // configuration value 5
    int32_t soundEffectVolume = 100;            // configuration value 6
    int32_t musicVolume = 100;                  // configuration value 7
};
