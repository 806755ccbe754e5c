// The music: looping streams of the sound service for the title, the character select and the
// stages, and the ghost-mode tune on the Ogg tune player, whose position follows the world's
// frame count so that the tune stays on the game's beat.
#pragma once

#include <cstdint>
#include <string>

class VoxPlayer;

// The stage tracks a scene asks for.
constexpr int32_t kGhostTune = 16;
constexpr int32_t kVoiceTune = 17;

class Bgm {
public:
    Bgm() = default;
    ~Bgm() { Unload(); }
    Bgm(const Bgm&) = delete;
    Bgm& operator=(const Bgm&) = delete;

    void Load();                     // the title and select streams, the tune player
    void Unload();                   // releases the tune player (also when the music goes)
    void Play(int32_t which);        // 0 stage track, 1 character select, 2 title, 3 tune
    void Stop();                     // the streams stop, a playing tune pauses
    void SetPaused(bool ghostGame);  // each time pause is toggled
    void Update();                   // once per world frame: keeps a playing tune on the frame count
    // Chooses the stage track (10 and 11: a random one of 1-3) or, from 16, the tune.
    void PlayStage(int32_t track);
    void SetVolume(float volume);    // 0-100 for the streams and the tune

    int32_t titleStream = -1;
    int32_t selectStream = -1;
    int32_t stageStream = -1;
    VoxPlayer* vox = nullptr;
    int32_t tuneFrames = 0;  // frames the tune has played; read by the stage
    float volume = 100.0f;
    int32_t stageTrack = 0;  // 0 = none
    int32_t tune = 0;        // 0 = none, 16 or 17

private:
    bool TunePlaying();
    void ReportUnplayableTune(const std::string& path);

    bool unplayableTuneReported_[2] = {};  // by tune - kGhostTune: the log has said so
};

// A tune's file, in the folder "fixbgm" beside the executable: a path relative to that folder,
// which every search makes current, so that the folder's own name (whatever bytes it holds) is
// never converted as the game's paths are; empty for other numbers.
std::string TunePath(int32_t tune);
// The tune position, in milliseconds, that a frame count stands for. The ghost tune plays its
// first 640 frames once and then loops over the next 7520.
double TuneTargetMs(int32_t tune, int32_t frames);
