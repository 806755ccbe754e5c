// Replays: the recorder and player of the per-frame button words, with the header that restores
// a game's conditions, and the extra fast-forward frames of playback. Files are not written or
// read yet: recording keeps nothing and playback runs the header defaults with no buttons.
#pragma once

#include <cstdint>

class ObjectController;

struct ReplayHeader {
    int32_t reserved = 0;  // the final score, written just before saving
    int32_t level = 0;     // ArrestLevel
    int32_t playerCount = 1;
    int32_t members[4] = {11, 11, 11, 11};
    int32_t formation = 0;
    int32_t gameMode = 0;
};

class Replay {
public:
    void Reset(ObjectController* game);  // mode 0, header defaults, no runs
    void BeginRecording();               // a live game starts
    void Record(int32_t word);           // once per running, unpaused live frame
    bool BeginPlayback(int32_t slot);    // mode 1; always true
    int32_t NextInput();                 // the next recorded word; -1 after the last

    int32_t mode = 0;  // 0 live or recording, 1 playback
    int32_t frame = 0;
    ReplayHeader header;

private:
    ObjectController* game_ = nullptr;
};

// Runs n extra playback frames with the recorded buttons; the player sees only the scene.
void FastForward(ObjectController* game, int32_t frames);

namespace ReplayList {

void Scan();  // which replay slot files exist

}  // namespace ReplayList
