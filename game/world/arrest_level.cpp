// The starting level of the next game, stepped on the title within the level the player has earned.
#include "game/world/object_controller.h"

namespace {

int32_t Wrap(int64_t level, int32_t ceiling) {
    const int64_t span = int64_t{ceiling} + 1;
    return static_cast<int32_t>(((level % span) + span) % span);
}

}  // namespace

void ObjectController::RaiseRank(int32_t n) {
    const int32_t ceiling = scoreData.arrestCount;
    if (ceiling > 0) ArrestLevel = Wrap(int64_t{ArrestLevel} + n, ceiling);
}

void ObjectController::LowerRank(int32_t n) {
    const int32_t ceiling = scoreData.arrestCount;
    if (ceiling > 0) ArrestLevel = Wrap(int64_t{ArrestLevel} - n, ceiling);
}
