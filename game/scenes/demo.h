// The attract demo: three dancers over tile pictures to a song, a title card and, once the player
// has earned an arrest count of 16, the song's words and masked messages.
#pragma once

#include <cstdint>

#include "game/scenes/menu.h"
#include "game/world/object.h"

constexpr int32_t kDemoPictures = 3;
constexpr int32_t kDemoDancers = 3;
constexpr int32_t kDemoHiddenPose = 8;
constexpr int32_t kDemoLastBar = 58;

class SC_Demo : public Object {
public:
    SC_Demo(float x, float y, float a, float b, float c, float d);
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override { Update(ctx); }
    void Update(ObjectController* ctx);  // one frame of the scene

    // Reads "demo1.csv" to "demo3.csv" into the pictures (a missing file leaves its picture as
    // it was, after a message box).
    void LoadDemoScript();
    // Frames in a bar of the timeline.
    static int32_t BarLength(int32_t bar);

    int32_t pose[kDemoDancers] = {};  // 0-3 a cell, 4-7 mirrored, 8 hidden
    float dancerX[kDemoDancers] = {128.0f, 48.0f, 208.0f};
    float dancerY[kDemoDancers] = {144.0f, 128.0f, 128.0f};
    int32_t backdrop = 0;
    int32_t tileMaps[kDemoPictures][16][16] = {};  // [picture][row, bottom row first][column]
    int32_t bar = 0;
    int32_t barFrame = 0;
    int32_t lyricIndex = 0;

private:
    void Play(ObjectController* ctx);
    void PlayVerse(int32_t verseBar, int32_t leader, bool fullTroupe);
    // Starts the song's lines and the messages due in the frame of the timeline just played.
    void SpawnLyrics(ObjectController* ctx, int32_t bar, int32_t barFrame);
    void Leave(ObjectController* ctx);
    void DrawPictures();
    void HideAll();
};
