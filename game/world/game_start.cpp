// The start of a game: from a menu to a running stage with its party, recording or playing back.
#include "game/world/message_codes.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

// The stage the new stage script sets up for a game mode.
int32_t StageOfMode(int32_t mode) {
    if (mode == 0) return 1;
    if (mode == 13) return 3;
    if (mode == 16) return 16;
    return mode % 16;
}

}  // namespace

void ObjectController::StartGame(int32_t id1, int32_t id2, int32_t id3, int32_t id4, int32_t formation,
                                 int32_t replayMode, int32_t replaySlot) {
    ClearAll();
    if (pcController != nullptr) {
        pcController->x = 128.0f;
        pcController->y = 180.0f;
        pcController->SetAge(0);
    }
    replay.mode = replayMode;
    gameRunning = true;
    int32_t ids[4] = {id1, id2, id3, id4};
    if (replayMode == 1) {
        replay.BeginPlayback(replaySlot);
        for (int i = 0; i < 4; ++i) ids[i] = replay.header.members[i];
        formation = replay.header.formation;
        SetPlayerCount(replay.header.playerCount);
        if (!levelBeforePlayback.has_value()) levelBeforePlayback = ArrestLevel;
        ArrestLevel = replay.header.level;
        gameMode = replay.header.gameMode;
    }

    CreateObject(type_id::Script, 128.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
    if (currentScene != nullptr) currentScene->OnMessage(Msg(3, stage_message::kStageSetUp, StageOfMode(gameMode)));

    // Last member first, so that the players list holds them as member n, ..., member 1.
    int32_t n = playerCount;
    Object* characters[4] = {};
    for (int i = n - 1; i >= 0; --i) characters[i] = CreatePC(ids[i] + 99);
    if (pcController != nullptr) {
        Message party(4, n);
        for (int i = 0; i < n; ++i) {
            party.Add(characters[i]);
            party.Add(ids[i]);
        }
        pcController->OnMessage(party);
        pcController->OnMessage(Msg(3, party_message::kFormation, formation));
    }

    for (int i = 0; i < 4; ++i) partyMembers[i] = ids[i];
    formations[n - 1] = formation;

    if (gameMode >= 16) {
        if (pcController != nullptr) pcController->OnMessage(Msg(3, party_message::kGhostGameStart, this));
        if (gameMode == 16 && currentScene != nullptr) currentScene->OnMessage(Msg(3, stage_message::kStageSetUp, 16));
    }
    if (replayMode == 0) replay.BeginRecording();
    if (gameMode == 16) {
        bgm.PlayStage(16);
        bgm.Play(3);
    }
}
