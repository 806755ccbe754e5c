// The scenery some stages run besides their waves: stage 5's waving bands, whose wave grows
// livelier as the stage goes on; stage 6's falling-block game, which stops dropping blocks once
// the stage is ending; and the bell clouds that drift down over stages 7 and 9.
#include <algorithm>

#include "game/stage/script.h"
#include "game/world/object_controller.h"
#include "game/world/type_table.h"

namespace {

constexpr int32_t kBandStage = 5;
constexpr int32_t kBlockStage = 6;
constexpr int32_t kBandModes = 4;
constexpr int32_t kFramesPerBandMode = 1200;  // 20 seconds still, then each livelier wave in turn

constexpr int32_t kFirstCloud = 300;      // five seconds into the stage
constexpr int32_t kCloudInterval = 600;   // then one every ten seconds
constexpr float kCloudEntryY = -8.0f;     // just above the field, so it drifts in
constexpr float kCloudLanes[] = {64.0f, 192.0f, 128.0f, 40.0f, 216.0f, 96.0f, 160.0f};

bool HasClouds(int32_t stage) { return stage == 7 || stage == 9; }

int32_t BandModeAt(int32_t age) { return std::min(age / kFramesPerBandMode, kBandModes - 1); }

}  // namespace

void Script::RunScenery(ObjectController* ctx) {
    const int32_t s = stage % 16;
    const bool ending = clearCountdown > 0 || gameOverCountdown > 0 || bossActive != 0;
    if (s == kBandStage || s == kBlockStage) {
        if (age == 0 && scenery == nullptr) {
            const int32_t id = s == kBandStage ? type_id::EF_S5BGController : type_id::EF_S6_BlockController;
            scenery = ctx->CreateObject(id, 0, 0, 0, 0, 0, 0, this);
        }
        if (scenery == nullptr) return;
        // Stage 5: the band controller's wave mode. Stage 6: the block game's stop flag, so that
        // no block falls on a party whose game is over or whose stage is being cleared.
        scenery->angle = s == kBandStage ? BandModeAt(age) : (ending ? 1 : 0);
        return;
    }
    if (HasClouds(s) && !ending && age >= kFirstCloud && (age - kFirstCloud) % kCloudInterval == 0) {
        const int32_t n = (age - kFirstCloud) / kCloudInterval;
        const float x = kCloudLanes[n % static_cast<int32_t>(std::size(kCloudLanes))];
        ctx->CreateObject(type_id::EF_TwinBee_Cloud, x, kCloudEntryY, 0, static_cast<float>(scrollSpeed), 0, 0, this);
    }
}
