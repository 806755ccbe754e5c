// The game world: one controller owns every game object from its creation by a factory to its
// deletion by the sweep, keeps them in six lists sorted by kind, runs the fixed passes of every
// frame, and holds the shared game values and services that every object reaches through ctx.
#pragma once

#include <cstdint>
#include <list>
#include <optional>
#include <vector>

#include "game/world/bgm.h"
#include "game/world/input.h"
#include "game/world/object.h"
#include "game/world/replay.h"
#include "game/world/score_data.h"
#include "game/world/sound_effects.h"

using ObjectList = std::list<Object*>;

// Walks a list from a position taken before the pass began: objects inserted behind the current
// position are visited in the same walk, objects inserted in front of the start are not.
template <typename Op>
void WalkList(ObjectList& list, ObjectList::iterator from, Op op) {
    for (auto it = from; it != list.end(); ++it) op(*it);
}

// The per-frame counts of PrepareFrame, in this order.
struct FrameCounts {
    int32_t enemyCount = 0;   // enemies but kinds 495 and 497
    int32_t bulletCount = 0;  // enemy bullets
    int32_t itemCount = 0;
    int32_t effectCount = 0;  // others of kind 100 and above
    int32_t shotCount = 0;
    int32_t objectCount = 0;  // everything but the players
    int32_t enemyLoad = 0;    // kind 490 adds 1, 401-489 add 8, 400 adds 255
    int32_t sceneCount = 0;   // others below kind 100
};

class ObjectController {
public:
    ObjectController();
    virtual ~ObjectController();
    ObjectController(const ObjectController&) = delete;
    ObjectController& operator=(const ObjectController&) = delete;

    // Virtual operations, in the controller's slot order.
    virtual void ClearAll();  // vanishes every listed object; no current scene
    virtual void RunFrame();  // one world frame
    virtual void DrawAll(int32_t unused);  // draws every object and presents
    virtual void DrawOverlay();            // the current scene alone, rendered, not presented
    // The current scene alone, with only what it paints into the layer targets rendered: the
    // frames a long fast-forward skips still leave their map rows in the background ring.
    void DrawLayers();
    virtual void InitController();         // the start of a run
    // Makes the object of a type id (0-346) at (x, y) with four class values; null for an id
    // with no class (after a message box).
    virtual Object* CreateObject(int32_t typeId, float x, float y, float a, float b, float c, float d, Object* owner);

    // Makes the party's controller (code 98) or a character (character id + 99) at (128, 200).
    Object* CreatePC(int32_t code);

    // Lists.
    void AddObject(Object* object, int32_t kind);  // stores the kind, inserts after equal kinds
    void SweepObjects();  // OnKilled (killed only), Detach and delete for every object not alive
    void ClearScene();    // as ClearAll, but kind-200 players stay
    void KillBullets();
    void VanishBullets();
    void KillEnemies();
    void VanishEnemies();
    void KillShots();
    void VanishShots();
    void KillItems();
    void KillEffectsAndWaves();  // others of kind 10 and above
    void KillWaves();            // others of kind 10
    void KillKind103();
    void PrepareFrame();  // recounts the lists into counts

    // Run lifecycle.
    void ResetController();  // frame 0, random seed 0, not paused
    void ReturnToTitle();    // empties the world and creates the title scene
    int32_t ShutdownController();
    void SetPlayerCount(int32_t n);  // forced into 1-4
    // Step ArrestLevel by n, wrapping within 0 to the arrest count; nothing while that count is 0.
    void RaiseRank(int32_t n);
    void LowerRank(int32_t n);

    // RunFrame's steps: UpdateWorld (input, the replay hook and the four passes), DrawAll, then
    // CloseFrame (the counters and fast-forward).
    void UpdateWorld();
    void CloseFrame();

    // The frame's passes.
    void RunAll();
    void MoveAll();
    void CollideAll();

    // Game start.
    void StartGame(int32_t id1, int32_t id2, int32_t id3, int32_t id4, int32_t formation, int32_t replayMode,
                   int32_t replaySlot);

    // World queries and area effects.
    Object* FindNearestEnemy(float x, float y);
    Object* FindNearestShot(float x, float y);
    Object* FindEnemyAbove(float x, float y, float margin, bool useHitWidth);
    Object* FindEnemyOnDiagonal(float x, float y, float band, bool antiDiagonal);
    Object* FindEnemyOnAxes(float x, float y, float band, bool right, bool down, bool left, bool up);
    int32_t BombAll(int32_t damage, bool hitKind400);
    void ItemsToBonus(int32_t score);
    void ItemsToBullets();

    // Firing helpers.
    void FirePattern(int32_t typeId, float x, float y, float speed, float accel, int32_t count, bool aimed,
                     int32_t angleDegrees, int32_t spreadDegrees, Object* owner);
    void FireAimed(int32_t typeId, float x, float y, bool burst, bool limited, bool useAngle, int32_t angle);

    // Sound.
    void PlaySE(int32_t id);
    void SetSEVolume(float volume);
    void SetBGMVolume(float volume);

    int32_t frame = 0;
    int32_t ArrestLevel = 0;
    // The title's level while a replay plays at its own; the title takes it back when it opens.
    std::optional<int32_t> levelBeforePlayback;
    int32_t partyMembers[4] = {};
    int32_t savedMembers[4] = {};
    int32_t formations[4] = {};  // by player count 1-4
    int32_t partyValues[4] = {};
    bool gameRunning = false;
    int32_t grades[64] = {};  // 0 C, 1 B, 2 A, 3 S by character id
    int32_t gameMode = 0;     // family x 16 + sub-mode
    bool paused = false;
    int32_t playerCount = 1;
    int32_t lastTitleRow = 0;
    int32_t viewState = 0;
    int32_t shotCounter = 0;  // FireAimed calls since the last ordinary shot

    ObjectList enemies, enemyBullets, players, shots, others, items;

    ObjectController* handle = nullptr;  // what every object receives as ctx
    Object* pcController = nullptr;      // the party's controller, in no list
    Object* currentScene = nullptr;      // the last kind-0 object made, null once it is swept away
    Object* background = nullptr;
    // The object whose Draw runs now, null between them: tells a test which object drew a sprite.
    Object* drawing = nullptr;
    SoundEffects soundEffects;
    Bgm bgm;
    FrameCounts counts;
    Input input;
    Replay replay;
    ScoreData scoreData;

private:
    void DrawScene();  // the current scene's Draw alone
    // Calls op on every object of the six lists in the given order, and on the party's
    // controller before list number partyBefore. Every start position is taken
    // before the first call.
    template <typename Op>
    void Pass(ObjectList* const (&order)[6], int partyBefore, Op op);
    ObjectList& ListForKind(int32_t kind);
    void SweepList(ObjectList& list, ObjectList::iterator from);
    // Party controllers replaced by a newer one. Their characters may still name them as owner,
    // so they live on (vanished) until the world itself goes.
    std::vector<Object*> retiredControllers_;
};

template <typename Op>
void ObjectController::Pass(ObjectList* const (&order)[6], int partyBefore, Op op) {
    ObjectList::iterator starts[6];
    for (int i = 0; i < 6; ++i) starts[i] = order[i]->begin();
    for (int i = 0; i < 6; ++i) {
        if (i == partyBefore && pcController != nullptr) op(pcController);
        WalkList(*order[i], starts[i], op);
    }
}

// The one world of the program.
extern ObjectController worldController;

// Pictures, batches and sound effects; false when not one picture could be read.
bool LoadResources();
void ReleaseResources();
