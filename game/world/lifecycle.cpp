// The whole-run operations of the world: the start of a run, the resources, the shutdown.
#include "framework/app/zeth.h"
#include "game/world/drawing.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

// Grade by character id: 0 C, 1 B, 2 A, 3 S.
constexpr int32_t kInitialGrades[64] = {
    0, 0, 0, 0, 0, 0, 1, 1, 2, 2,  // 0-9
    0, 2, 2, 1, 1, 2, 2, 2, 3, 3,  // 10-19
    2, 2, 1, 1, 1, 2, 2, 2, 2, 1,  // 20-29
    0, 2, 3, 3, 3, 3, 3, 3, 3, 3,  // 30-39
    3, 1, 1, 1, 1, 1, 1, 1, 1, 1,  // 40-49
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1,  // 50-59
    1, 1, 1, 1,                    // 60-63
};

constexpr int32_t kInitialFormations[4] = {1, 2, 12, 121};

}  // namespace

void ObjectController::InitController() {
    ResetController();
    bgm.Load();
    scoreData.Clear();
    scoreData.Load(this);
    input.Init(this);
    if (scoreData.fullScreenAtStart) Zeth::ChangeScreenMode();
    playerCount = 1;
    ArrestLevel = 0;
    levelBeforePlayback.reset();
    if (pcController != nullptr) {
        pcController->Vanish();
        retiredControllers_.push_back(pcController);
    }
    pcController = nullptr;
    currentScene = nullptr;
    background = nullptr;
    CreatePC(kPartyControllerCode);
    CreateObject(type_id::SC_Menu_Title, 128.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
    for (int i = 0; i < 4; ++i) {
        partyMembers[i] = 11 + i;
        savedMembers[i] = 11;
        partyValues[i] = 0;
        formations[i] = kInitialFormations[i];
    }
    for (int i = 0; i < 64; ++i) grades[i] = kInitialGrades[i];
    gameMode = 0;
    gameRunning = false;
    replay.Reset(this);
    paused = false;
}

int32_t ObjectController::ShutdownController() {
    ReleaseResources();
    // The first sweep's Detach and OnKilled calls may leave objects behind; the second removes them.
    for (int pass = 0; pass < 2; ++pass) {
        ClearAll();
        SweepObjects();
    }
    return 0;
}

bool LoadResources() {
    const bool read = LoadTextures();
    LoadSoundEffects();
    worldController.SetSEVolume(static_cast<float>(worldController.scoreData.soundEffectVolume));
    return read;
}

void ReleaseResources() {
    ReleaseTextures();
    ReleaseSoundEffects();
    worldController.bgm.Unload();
}
