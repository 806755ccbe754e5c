// The music: framework streams for the title, character select and stages, and the ghost-mode
// tune whose frame counter the stage script reads. No music is played yet; the calls keep only
// the state the rest of the game reads.
#pragma once

#include <cstdint>

class Bgm {
public:
    void Load();
    void Unload();
    void Play(int32_t which);        // 0 stage track, 1 character select, 2 title, 3 tune
    void Stop();
    void SetPaused(bool ghostGame);  // each time pause is toggled
    void Update();                   // once per world frame
    void PlayStage(int32_t track);
    void SetVolume(float volume);

    int32_t tuneFrames = 0;  // frames the ghost-mode tune has played
    float volume = 100.0f;
    int32_t stageTrack = 0;
    int32_t tune = 0;
};
