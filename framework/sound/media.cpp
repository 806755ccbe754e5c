#include "framework/sound/media.h"

#include <cstring>

#include "framework/core/lock.h"
#include "framework/app/log.h"
#include "platform/os/os.h"

namespace {

// One piece of media; the graph objects a slot would hold do not exist on this platform.
struct MediaSlot {
    bool inUse;
    uint32_t refCount;
    char path[260];          // the temporary copy of the media
    bool deleteTemporary;    // delete the temporary copy when the slot is released
};

MediaSlot* g_slots = nullptr;

}  // namespace

namespace ZethMedia {

bool Initialize() {
    ZethLog::PrintBanner("ZethMediaクラスの初期化");
    ZethLog::PrintBreak();
    ZethLog::PrintBold("メディア用メモリ確保");
    ZethLog::PrintBreak();
    g_slots = static_cast<MediaSlot*>(Zeth::MemoryAlloc(sizeof(MediaSlot) * kSlotCount));
    if (g_slots == nullptr) {
        ZethLog::PrintError("　　　メディア用メモリの確保に失敗");
        ZethLog::PrintBreak();
        return false;
    }
    return true;
}

void Finalize() {
    ZethLog::PrintBanner("ZethMediaクラスの解放");
    ZethLog::PrintBreak();
    if (g_slots == nullptr) return;
    for (int32_t slot = 0; slot < kSlotCount; ++slot) {
        g_slots[slot].refCount = 1;
        MediaRelease(slot);
    }
    Zeth::MemoryFree(g_slots);
    g_slots = nullptr;
}

}  // namespace ZethMedia

bool MediaRelease(int32_t slot) {
    if (g_slots == nullptr || slot < 0 || slot >= ZethMedia::kSlotCount || !g_slots[slot].inUse) return false;
    MediaSlot& media = g_slots[slot];
    if (--media.refCount > 0) return true;
    if (media.deleteTemporary) platform::DeleteFile(media.path);
    std::memset(&media, 0, sizeof(media));
    return true;
}

// No slot is ever opened here, so no graph has events to hand out; the message is answered and
// nothing else happens.
void MediaEvent() {}
