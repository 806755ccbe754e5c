// A world for the stage script: the real classes of the game reading the built data set's
// tables, a probe as the party's controller, and stand-ins for the scenes a stage hands over to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/enemies/enemies_support.h"
#include "game/stage/script.h"
#include "game/world/user_folder.h"

namespace stage_test {

class StageWorld : public enemies_test::EnemyWorld {
protected:
    StageWorld();
    ~StageWorld() override;

    // A new stage script, set up for stage n (with the game mode given first).
    Script* MakeStage(int32_t n, int32_t mode = 0);
    // One world frame's passes without drawing: recount, Run, Move, collisions, sweep.
    void Step(int frames = 1);
    // The objects of a list made as the class of a type id.
    int32_t Count(const ObjectList& list, int32_t typeId) const { return CountOf(list, typeId); }
    int32_t CountAnywhere(int32_t typeId) const;
    // The stand-in of the scene the stage handed over to (341 or 344), or null.
    Object* NextScene() const;

    world_test::UserFolder user;  // the replay and score files a finished game writes
};

// The built data set's folder.
std::string DataFolder();

}  // namespace stage_test
