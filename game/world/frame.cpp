// One world frame: input, pause, the replay hook, the four passes, drawing and the counters.
// The order of the passes and of the lists within each pass is what lets a replay repeat a
// game frame by frame.
#include "game/world/object_controller.h"

namespace {

constexpr int kFastForwardShortButton = 4;  // 3 extra frames
constexpr int kFastForwardLongButton = 5;   // 15 extra frames

}  // namespace

void ObjectController::RunAll() {
    Pass({&others, &enemies, &enemyBullets, &players, &shots, &items}, 3, [this](Object* o) { o->Run(this); });
}

void ObjectController::MoveAll() {
    Pass({&enemies, &enemyBullets, &players, &shots, &others, &items}, 2, [this](Object* o) { o->Move(this); });
}

void ObjectController::RunFrame() {
    UpdateWorld();
    DrawAll(1);
    CloseFrame();
}

void ObjectController::UpdateWorld() {
    // A replay that could not be saved asks for the title from inside the stage's Run; the
    // world is emptied here, where no pass holds an object.
    if (replay.TakeTitleRequest()) ReturnToTitle();
    PrepareFrame();
    input.Read(replay.mode);
    if (input.raw[Input::kPauseButton] == 1 && gameRunning && replay.mode == 0) {
        paused = !paused;
        bgm.SetPaused(gameMode == 16);
    }
    if (paused) input.UndoRead();
    if (gameRunning && !paused) {
        if (replay.mode == 0) replay.Record(input.PackButtons());
        else if (replay.mode == 1) input.Apply(replay.NextInput());
    }
    if (!paused) {
        RunAll();
        MoveAll();
        CollideAll();
        SweepObjects();
    }
}

void ObjectController::CloseFrame() {
    frame += 1;
    soundEffects.TickCooldowns();
    bgm.Update();
    if (replay.mode == 1 && gameRunning) {
        if (input.raw[kFastForwardShortButton] > 0) FastForward(this, 3);
        else if (input.raw[kFastForwardLongButton] > 0) FastForward(this, 15);
    }
}
