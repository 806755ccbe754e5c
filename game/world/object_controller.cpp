#include "game/world/object_controller.h"

#include "framework/core/random.h"
#include "game/world/kinds.h"
#include "game/world/type_table.h"

ObjectController worldController;

namespace {

// Calls op on every object of the list, front to back.
template <typename Op>
void ForEach(ObjectList& list, Op op) {
    WalkList(list, list.begin(), op);
}

}  // namespace

ObjectController::ObjectController() = default;

ObjectController::~ObjectController() {
    // At process exit the lists are already empty (ShutdownController); a world dropped earlier,
    // as in tests, goes the same way: everything is vanished and swept.
    for (int pass = 0; pass < 2; ++pass) {
        ClearAll();
        SweepObjects();
    }
    // Party controllers are in no list; they go last, once nothing can point to them any more.
    if (pcController != nullptr) retiredControllers_.push_back(pcController);
    pcController = nullptr;
    for (Object* controller : retiredControllers_) delete controller;
}

ObjectList& ObjectController::ListForKind(int32_t kind) {
    if (kind::IsEnemyKind(kind)) return enemies;
    if (kind::IsEnemyBulletKind(kind)) return enemyBullets;
    if (kind::IsShotKind(kind)) return shots;
    if (kind::IsPlayerKind(kind)) return players;
    if (kind::IsItemKind(kind)) return items;
    return others;
}

void ObjectController::AddObject(Object* object, int32_t kind) {
    object->kind = kind;
    ObjectList& list = ListForKind(kind);
    auto it = list.begin();
    while (it != list.end() && (*it)->kind <= kind) ++it;
    list.insert(it, object);
}

void ObjectController::SweepList(ObjectList& list, ObjectList::iterator from) {
    auto it = from;
    while (it != list.end()) {
        Object* object = *it;
        if (object->state == kAlive) {
            ++it;
            continue;
        }
        if (object->state == kKilled) object->OnKilled(this);
        object->Detach();
        it = list.erase(it);
        // A scene made by OnKilled above is current now and stays so.
        if (object == currentScene) currentScene = nullptr;
        delete object;
    }
}

void ObjectController::SweepObjects() {
    ObjectList* lists[] = {&enemies, &enemyBullets, &players, &shots, &others, &items};
    ObjectList::iterator starts[6];
    for (int i = 0; i < 6; ++i) starts[i] = lists[i]->begin();
    for (int i = 0; i < 6; ++i) SweepList(*lists[i], starts[i]);
}

void ObjectController::ClearAll() {
    for (ObjectList* list : {&enemies, &enemyBullets, &players, &shots, &others, &items}) {
        ForEach(*list, [](Object* o) { o->Vanish(); });
    }
    currentScene = nullptr;
}

void ObjectController::ClearScene() {
    for (ObjectList* list : {&enemies, &enemyBullets, &players, &shots, &others, &items}) {
        ForEach(*list, [](Object* o) {
            if (o->kind != kind::kPartyController) o->Vanish();
        });
    }
    currentScene = nullptr;
}

void ObjectController::KillBullets() { ForEach(enemyBullets, [](Object* o) { o->Kill(); }); }
void ObjectController::VanishBullets() { ForEach(enemyBullets, [](Object* o) { o->Vanish(); }); }
void ObjectController::KillEnemies() { ForEach(enemies, [](Object* o) { o->Kill(); }); }
void ObjectController::VanishEnemies() { ForEach(enemies, [](Object* o) { o->Vanish(); }); }
void ObjectController::KillShots() { ForEach(shots, [](Object* o) { o->Kill(); }); }
void ObjectController::VanishShots() { ForEach(shots, [](Object* o) { o->Vanish(); }); }
void ObjectController::KillItems() { ForEach(items, [](Object* o) { o->Kill(); }); }

void ObjectController::KillEffectsAndWaves() {
    ForEach(others, [](Object* o) {
        if (o->kind >= kind::kWave) o->Kill();
    });
}

void ObjectController::KillWaves() {
    ForEach(others, [](Object* o) {
        if (o->kind == kind::kWave) o->Kill();
    });
}

void ObjectController::KillKind103() {
    ForEach(others, [](Object* o) {
        if (o->kind == kind::kStarAndRhythm) o->Kill();
    });
}

void ObjectController::PrepareFrame() {
    FrameCounts c;
    for (Object* e : enemies) {
        if (e->kind != kind::kInvisibleWall && e->kind != kind::kUncountedEnemy) c.enemyCount += 1;
        if (e->kind == kind::kLightEnemy) c.enemyLoad += 1;
        else if (e->kind > kind::kGroundEnemy && e->kind < kind::kLightEnemy) c.enemyLoad += 8;
        else if (e->kind == kind::kGroundEnemy) c.enemyLoad += 255;
    }
    c.bulletCount = static_cast<int32_t>(enemyBullets.size());
    c.itemCount = static_cast<int32_t>(items.size());
    c.shotCount = static_cast<int32_t>(shots.size());
    for (Object* o : others) {
        if (o->kind >= kind::kEffect) c.effectCount += 1;
        else c.sceneCount += 1;
    }
    c.objectCount = static_cast<int32_t>(enemies.size() + enemyBullets.size() + items.size() + others.size() +
                                         shots.size());
    counts = c;
}

void ObjectController::ResetController() {
    frame = 0;
    ZethRandom::Seed(0);
    paused = false;
    // Aimed fire paces itself by this counter; left over from an earlier game it would make a
    // replay differ from the game it recorded.
    shotCounter = 0;
}

void ObjectController::ReturnToTitle() {
    ClearAll();
    SweepObjects();
    ResetController();
    // A replay being played back ends here too; otherwise the title would run in playback mode.
    replay.Reset(this);
    CreateObject(type_id::SC_Menu_Title, 128.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, nullptr);
}

void ObjectController::SetPlayerCount(int32_t n) {
    playerCount = n > 4 ? 4 : (n < 1 ? 1 : n);
}

void ObjectController::PlaySE(int32_t id) { soundEffects.Play(id); }

void ObjectController::SetSEVolume(float volume) { ::SetSEVolume(volume); }

void ObjectController::SetBGMVolume(float volume) { bgm.SetVolume(volume); }
