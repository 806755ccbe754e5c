// The input recording of the ghost modes: run-length input words and timed events, recorded
// during a member's live turn and played back on the turns after it.
#include "framework/app/zeth.h"
#include "game/player/pc.h"
#include "game/world/message_codes.h"
#include "game/world/object_controller.h"

void PC::RecordInput(int32_t word) {
    if (word != record.recordWord) {
        record.inputRuns.push_back({record.recordWord, record.recordRun});
        record.recordRun = 0;
        record.recordWord = word;
    } else {
        record.recordRun += 1;
    }
}

void PC::RecordEvent(int32_t type, int32_t frame, float a, int32_t b, int32_t c) {
    record.events.push_back({type, frame, static_cast<int32_t>(a), b, c});
}

int32_t PC::PlaybackInput(ObjectController* ctx) {
    // Events due by now. One whose frame has already passed (the age was moved forward) runs
    // late rather than holding up every event behind it.
    while (record.eventPos < record.events.size() && record.events[record.eventPos].frame <= age) {
        const PCEvent event = record.events[record.eventPos];
        record.eventPos += 1;
        switch (event.type) {
            case 0:
                SetInactive(3600);
                Burst(ctx);
                inputMode = kInputParked;
                break;
            case 1:
                PowerUp(ctx, 2);
                break;
            case 2:
                if (ctx->currentScene != nullptr) {
                    ctx->currentScene->OnMessage(Msg(6, stage_message::kEnemyQueueSpawn, ctx, event.a, event.b, event.c));
                }
                break;
            default:
                Zeth::MessageBox(0, "test", "不正なイベントが記録されてるよ\nTYPE：%d\nFRAME：%d", event.type, event.frame);
                break;
        }
    }

    if (record.inputRunPos >= record.inputRuns.size()) return -1;
    const PCInputRun& run = record.inputRuns[record.inputRunPos];
    if (record.recordRun > run.count) {
        record.recordRun = 1;
        record.inputRunPos += 1;
        if (record.inputRunPos >= record.inputRuns.size()) return -1;
        return record.inputRuns[record.inputRunPos].word;
    }
    record.recordRun += 1;
    return run.word;
}
