#include "game/world/type_table.h"
#include "stage_support.h"

#include <cstdlib>

#include "framework/files/file_system.h"

namespace stage_test {

std::string DataFolder() {
    const char* build = std::getenv("TANZLOR_BUILD_DIR");
    return std::string(build != nullptr ? build : ".") + "/data";
}

StageWorld::StageWorld() {
    ZethFile::SetRootPath(0, DataFolder().c_str(), "");
    // The scenes that follow a stage belong to the menus; probes keep what they are handed.
    StandIn(341);
    StandIn(344);
    world.ClearAll();
    world.SweepObjects();
    world.pcController = party;
}

StageWorld::~StageWorld() {
    world.ClearAll();
    world.SweepObjects();
    ZethFile::SetRootPath(0, "", "");
}

Script* StageWorld::MakeStage(int32_t n, int32_t mode) {
    world.gameMode = mode;
    Object* o = world.CreateObject(type_id::Script, 128, 0, 0, 0, 0, 0, nullptr);
    auto* script = dynamic_cast<Script*>(o);
    if (script != nullptr) script->OnMessage(Msg(3, 11, n));
    return script;
}

void StageWorld::Step(int frames) {
    for (int i = 0; i < frames; ++i) {
        world.PrepareFrame();
        world.RunAll();
        world.MoveAll();
        world.CollideAll();
        world.SweepObjects();
    }
}

int32_t StageWorld::CountAnywhere(int32_t typeId) const {
    int32_t n = 0;
    for (const ObjectList* list : {&world.enemies, &world.enemyBullets, &world.shots, &world.others, &world.items}) {
        n += CountOf(*list, typeId);
    }
    return n;
}

Object* StageWorld::NextScene() const {
    for (Object* o : world.others) {
        if (enemies_test::ClassOf(o) == "Probe" && o->state == kAlive) return o;
    }
    return nullptr;
}

}  // namespace stage_test
