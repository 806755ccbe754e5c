// The sound service's start, end, creation and release of sounds.
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "framework/core/lock.h"
#include "framework/app/log.h"
#include "framework/sound/sound_internal.h"

namespace ZethSound {

using internal::SoundSlot;

namespace {

CCriticalSection& SoundLock() {
    static CCriticalSection lock;
    return lock;
}

SoundSlot* g_slots = nullptr;

void LogLine(const char* text) {
    ZethLog::Print("%s", text);
    ZethLog::PrintBreak();
}

// Drops one reference; at the last one frees the player, every layer and an open stream.
// False when the id names no sound.
bool ReleaseSlot(int32_t id) {
    SoundSlot* slot = internal::UsedSlot(id);
    if (slot == nullptr) return false;
    if (--slot->refCount > 0) return true;
    if (slot->player != nullptr) slot->player->Release();  // stops it first
    // Every layer that exists, whatever the layer count says: a count of 0 still has layer 0.
    for (platform::audio::SoundBuffer* layer : slot->layers) delete layer;
    ZethFile::FileClose(slot->stream);
    std::memset(static_cast<void*>(slot), 0, sizeof(*slot));
    return true;
}

// What a stream player reads; it takes over the stream. A WAVE file is read into memory whole
// and its file closed: its samples are what plays, and every play reads all of them anyway,
// while each of the game's many effects keeping a descriptor of its own would run out under a
// low limit of open files. Ogg music, and a WAVE file larger than a whole file may be, are
// read from their file as they play.
std::unique_ptr<platform::audio::Reader> PlayerReader(ZethFile::Stream* stream) {
    const uint32_t size = ZethFile::FileGetSize(stream);
    std::vector<uint8_t> bytes(size >= 4 && size <= ZethFile::kLoadLimit ? 4 : 0);
    if (!bytes.empty() && ZethFile::FileRead(stream, 4, bytes.data()) == 4 && std::memcmp(bytes.data(), "RIFF", 4) == 0) {
        bytes.resize(size);
        if (ZethFile::FileRead(stream, size - 4, bytes.data() + 4) == size - 4) {
            ZethFile::FileClose(stream);
            return platform::audio::HeldBytesReader(std::move(bytes));
        }
    }
    FileSeek(stream, 0, 1);
    return std::make_unique<internal::FileStreamReader>(stream);
}

// Creation failed: the reason is logged; the slot is freed.
int32_t Fail(int32_t id, const char* reason, const char* detail) {
    ZethLog::PrintError("%s", reason);
    if (detail != nullptr) ZethLog::PrintError("%s", detail);
    ZethLog::PrintBreak();
    ReleaseSlot(id);
    return -1;
}

// Reads the whole stream and makes layer 0 from it.
bool LoadStaticBuffer(SoundSlot& slot, int32_t id, bool hardware, const char* name) {
    uint32_t size = ZethFile::FileGetSize(slot.stream);
    if (size > ZethFile::kLoadLimit) {
        ZethFile::ReportTooLarge(name);
        Fail(id, "ファイル読み込みに失敗しました", nullptr);
        return false;
    }
    void* data = Zeth::MemoryAlloc(size);
    if (data == nullptr) {
        char reason[64];
        std::snprintf(reason, sizeof(reason), "メモリ確保に失敗しました [%dKB]", static_cast<int>(size / 1024));
        Fail(id, reason, nullptr);
        return false;
    }
    if (ZethFile::FileRead(slot.stream, size, data) != size) {
        Zeth::MemoryFree(data);
        Fail(id, "ファイル読み込みに失敗しました", nullptr);
        return false;
    }
    slot.layers[0] = internal::ParseWaveFile(data, size, hardware);
    Zeth::MemoryFree(data);
    if (slot.layers[0] == nullptr) {
        ReleaseSlot(id);
        return false;
    }
    for (uint32_t layer = 1; layer < slot.layerCount; ++layer) slot.layers[layer] = slot.layers[0]->Duplicate().release();
    return true;
}

}  // namespace

namespace internal {

SoundSlot* UsedSlot(int32_t id) {
    if (g_slots == nullptr || id < 0 || id >= kSlotCount || !g_slots[id].inUse) return nullptr;
    return &g_slots[id];
}

}  // namespace internal

bool Initialize() {
    ZethLog::PrintBanner("ZethSoundクラスの初期化");
    ZethLog::PrintBreak();
    ZethLog::PrintBold("サウンド用メモリ確保");
    ZethLog::PrintBreak();
    g_slots = static_cast<SoundSlot*>(Zeth::MemoryAlloc(sizeof(SoundSlot) * kSlotCount));
    if (g_slots == nullptr) {
        ZethLog::PrintError("　　　サウンド用メモリの確保に失敗");
        ZethLog::PrintBreak();
        return false;
    }
    // The output never fails to open: without a device it is a silent sink at the same pace.
    platform::audio::OpenOutput(false);
    LogLine("　■ DirectSound8オブジェクトを生成");
    LogLine("　■ DirectSoundオブジェクトを取得");
    LogLine("　■ DirectSoundオブジェクトを初期化");
    LogLine("　■ 協調レベルを 優先レベル に設定");
    LogLine("　■ メモリのコンパクションを実行");
    LogLine("　■ プライマリサウンドバッファを生成");
    // The output's capabilities cannot be read, so none are logged; the stream player is built
    // in, so there is no library to load.
    ZethLog::PrintBreak();
    return true;
}

void Finalize() {
    ZethLog::PrintBanner("ZethSoundクラスの解放");
    ZethLog::PrintBreak();
    if (g_slots != nullptr) {
        CLockScope scope(SoundLock());
        for (int32_t id = 0; id < kSlotCount; ++id) {
            if (!g_slots[id].inUse) continue;
            ZethLog::Print("Sound Destroy [ No.%u ]", static_cast<unsigned>(id));
            ZethLog::PrintBreak();
            g_slots[id].refCount = 1;
            ReleaseSlot(id);
        }
        Zeth::MemoryFree(g_slots);
        g_slots = nullptr;
    }
    platform::audio::CloseOutput();
    ZethLog::PrintBreak();
}

int32_t CreateFromFile(const char* name, uint32_t, bool usePlayer, bool hardware, uint32_t layerCount) {
    CLockScope scope(SoundLock());
    ZethLog::PrintTitle("ZethSound::CreateFromFile");
    ZethLog::Print(" : %s : ", name);
    int32_t id = 0;
    while (g_slots != nullptr && id < kSlotCount && g_slots[id].inUse) ++id;
    if (g_slots == nullptr || id == kSlotCount) {
        ZethLog::PrintError("空きサウンドが見つかりませんでした");
        ZethLog::PrintBreak();
        return -1;
    }
    SoundSlot& slot = g_slots[id];
    slot.inUse = true;
    slot.refCount = 1;
    slot.looping = slot.paused = false;
    ZethLog::Print("[ No.%u ] : ", static_cast<unsigned>(id));
    slot.layerCount = layerCount < kMaxLayers ? layerCount : kMaxLayers;

    slot.stream = ZethFile::FileOpen(name, true);
    if (slot.stream == nullptr) return Fail(id, "ファイル読み込みに失敗しました", nullptr);
    if (usePlayer) {
        // The player reads the stream while it plays and closes it when it is released (a WAVE
        // file's at once, see PlayerReader).
        ZethFile::Stream* stream = slot.stream;
        slot.stream = nullptr;
        slot.player = platform::audio::Ayame_CreateInstanceFromReader(PlayerReader(stream));
        if (slot.player == nullptr) {
            char reason[512];
            platform::audio::Ayame_GetLastError(reason);
            return Fail(id, "Ayameインターフェースの確保に失敗しました", reason);
        }
    } else if (!LoadStaticBuffer(slot, id, hardware, name)) {
        return -1;
    }
    ZethLog::PrintSuccess("Success!");
    ZethFile::FileClose(slot.stream);
    slot.stream = nullptr;
    std::snprintf(slot.name, sizeof(slot.name), "%s", name);
    return id;
}

void Release(int32_t id) {
    CLockScope scope(SoundLock());
    if (!ReleaseSlot(id)) return;
    ZethLog::PrintError("ZethSound::Release");
    ZethLog::Print(" : [ No.%u ]", static_cast<unsigned>(id));
    ZethLog::PrintBreak();
}

bool GetDirectSound() { return g_slots != nullptr && platform::audio::CurrentOutput() != platform::audio::Output::kNone; }

}  // namespace ZethSound
