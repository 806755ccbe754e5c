#include "game/world/replay.h"

#include "game/world/object_controller.h"

void Replay::Reset(ObjectController* game) {
    mode = 0;
    frame = 0;
    header = ReplayHeader();
    game_ = game;
}

void Replay::BeginRecording() {
    ObjectController* game = game_;
    Reset(game);
    if (game == nullptr) return;
    header.level = game->ArrestLevel;
    header.playerCount = game->playerCount;
    for (int i = 0; i < 4; ++i) header.members[i] = game->partyMembers[i];
    header.formation = game->formations[(game->playerCount - 1) & 3];
    header.gameMode = game->gameMode;
    game->input.Reset();
}

void Replay::Record(int32_t) { frame += 1; }

bool Replay::BeginPlayback(int32_t) {
    ObjectController* game = game_;
    Reset(game);
    mode = 1;
    if (game != nullptr) {
        game->input.Reset();
        game->gameMode = header.gameMode;
    }
    return true;
}

int32_t Replay::NextInput() {
    frame += 1;
    return -1;
}

void FastForward(ObjectController* game, int32_t frames) {
    for (int32_t n = 0; n < frames; ++n) {
        game->PrepareFrame();
        game->input.Apply(game->replay.NextInput());
        game->RunAll();
        game->MoveAll();
        game->CollideAll();
        game->SweepObjects();
        game->bgm.Update();
        if (frames < 5) game->DrawOverlay();
        else if (game->currentScene != nullptr) game->currentScene->Draw(game);
        game->frame += 1;
    }
}

namespace ReplayList {

void Scan() {}

}  // namespace ReplayList
