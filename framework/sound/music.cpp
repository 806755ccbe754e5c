#include "framework/sound/music.h"

#include <cstring>

#include "framework/core/lock.h"
#include "framework/app/log.h"
#include "framework/sound/sound.h"

namespace ZethMusic {

namespace {

// One piece of music; nothing here ever loads one, so a slot only knows whether it is taken.
struct MusicSlot {
    bool inUse;
};

MusicSlot* g_slots = nullptr;
bool g_loader = false;        // the loader exists
bool g_musicObject = false;   // the music object exists
bool g_soundShared = false;   // the sound service's output is shared

void LogLine(const char* text) {
    ZethLog::Print("%s", text);
    ZethLog::PrintBreak();
}

}  // namespace

bool Initialize() {
    ZethLog::PrintBanner("ZethMusicクラスの初期化");
    ZethLog::PrintBreak();
    ZethLog::PrintBold("ミュージック用メモリ確保");
    ZethLog::PrintBreak();
    g_slots = static_cast<MusicSlot*>(Zeth::MemoryAlloc(sizeof(MusicSlot) * kSlotCount));
    if (g_slots == nullptr) {
        ZethLog::PrintError("　　　ミュージック用メモリの確保に失敗");
        ZethLog::PrintBreak();
        return false;
    }
    g_loader = true;
    LogLine("　■ DirectMusicオブジェクトを生成");
    g_musicObject = true;
    g_soundShared = ZethSound::GetDirectSound();
    ZethLog::PrintBreak();
    return true;
}

void MusicRelease(uint32_t slot) {
    if (g_slots == nullptr || slot >= kSlotCount) return;
    std::memset(&g_slots[slot], 0, sizeof(g_slots[slot]));
}

void Finalize() {
    ZethLog::PrintBanner("ZethMusicクラスの解放");
    ZethLog::PrintBreak();
    if (g_slots != nullptr) {
        for (uint32_t slot = 0; slot < kSlotCount; ++slot) {
            MusicRelease(slot);
            ZethLog::Print("Music Destroy [ No.%u ]", slot);
            ZethLog::PrintBreak();
        }
        Zeth::MemoryFree(g_slots);
        g_slots = nullptr;
    }
    if (g_soundShared) LogLine("　■ DirectSoundを解体");
    if (g_musicObject) LogLine("　■ DirectMusicを解体");
    if (g_loader) LogLine("　■ DirectMusicLoaderを解体");
    g_soundShared = g_musicObject = g_loader = false;
}

}  // namespace ZethMusic
