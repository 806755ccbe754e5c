// The fiber table: allocated at start-up and freed at shutdown; no fiber is ever made.
#include "framework/core/lock.h"
#include "framework/app/log.h"
#include "framework/core/micro_thread.h"

namespace ZethFiber {
namespace {

constexpr uint32_t kFibers = 32;

struct FiberRecord {
    void* fiber;
    void* parameter;
};

FiberRecord* g_fibers = nullptr;

}  // namespace

bool Initialize() {
    ZethLog::PrintBanner("ZethFiberクラスの初期化");
    ZethLog::PrintBreak();
    ZethLog::PrintBold("ファイバークラス用メモリ確保");
    ZethLog::PrintBreak();
    g_fibers = static_cast<FiberRecord*>(Zeth::MemoryAlloc(sizeof(FiberRecord) * kFibers));
    if (g_fibers == nullptr) {
        ZethLog::PrintError("　　　ファイバークラス用メモリの確保に失敗");
        ZethLog::PrintBreak();
        return false;
    }
    ZethLog::PrintBreak();
    return true;
}

void Finalize() {
    ZethLog::PrintBanner("ZethFiberクラスの解放");
    ZethLog::PrintBreak();
    Zeth::MemoryFree(g_fibers);
    g_fibers = nullptr;
    ZethLog::PrintBreak();
}

}  // namespace ZethFiber
