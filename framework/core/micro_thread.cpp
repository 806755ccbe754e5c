// Micro-threads handing control to each other by semaphore.
#include "framework/core/micro_thread.h"

#include <atomic>
#include <functional>
#include <semaphore>
#include <thread>

#include "framework/core/lock.h"
#include "framework/app/log.h"
#include "framework/app/zeth.h"
#include "platform/os/os.h"

namespace ZethMicroThread {
namespace {

// The thread behind a record. The main thread's is a pseudo handle with no thread of its own.
struct ThreadHandle {
    std::thread thread;
    std::atomic<bool> finished{false};  // signalled: the thread has run to its end
};

struct Record {
    EndRoutine endRoutine;
    int32_t next;
    int32_t previous;
    uint32_t threadId;
    ThreadHandle* handle;  // null = record free
    std::binary_semaphore* semaphore;  // the thread runs while it holds it
    uint64_t lastSwitchTime;
    uint64_t switchTime;
    float framesElapsed;
    bool active;  // cleared to ask the thread to end
};

// Clock values are milliseconds scaled by 2^32, so that their ratio to the frequency is seconds.
constexpr uint64_t kFrequency = uint64_t{1000} << 32;

Record* g_records = nullptr;
ThreadHandle g_mainHandle;
ThreadHandle* g_ending = nullptr;  // a thread on its way out, kept until it has finished

// Thrown inside Switch to unwind an ending micro-thread back to its entry function.
struct Terminated {};

uint64_t Now() { return platform::GetClock().NowMs() << 32; }

uint32_t ThreadId(std::thread::id id) { return static_cast<uint32_t>(std::hash<std::thread::id>{}(id)); }

// Keeps the handle of a thread that is ending; an earlier one is collected first.
void KeepEnding(ThreadHandle* handle) {
    if (g_ending != nullptr) {
        g_ending->thread.join();
        delete g_ending;
    }
    g_ending = handle;
}

[[noreturn]] void Terminate(int self) {
    Record& record = g_records[self];
    ZethLog::PrintTitle("ZethMicroThread::Terminate");
    ZethLog::Print(" : [%02d] : {", self);
    ZethLog::PrintBreak();
    if (record.endRoutine != nullptr) record.endRoutine(0);
    delete record.semaphore;
    KeepEnding(record.handle);
    int next = record.next;
    record = {};
    UpdateList();
    ZethLog::Print("} : ");
    ZethLog::PrintSuccess("Success!");
    ZethLog::PrintBreak();
    g_records[next].semaphore->release();
    throw Terminated{};
}

void ThreadMain(int index, Routine routine, ThreadHandle* handle) {
    g_records[index].semaphore->acquire();
    try {
        if (g_records[index].active) routine(index);
        Terminate(index);
    } catch (const Terminated&) {
    }
    handle->finished.store(true, std::memory_order_release);
}

}  // namespace

bool Initialize() {
    g_records = static_cast<Record*>(Zeth::MemoryAlloc(sizeof(Record) * kThreads));
    return g_records != nullptr;
}

void UpdateList() {
    ZethLog::PrintTitle("ZethMicroThread::UpdateList");
    ZethLog::PrintBreak();
    int previous = kMainThread;
    for (int i = 0; i < kThreads; ++i) {
        if (g_records[i].handle == nullptr) continue;
        int next = (i + 1) % kThreads;
        while (g_records[next].handle == nullptr) next = (next + 1) % kThreads;
        ZethLog::Print("　[%02d] -> [%02d]", i, next);
        ZethLog::PrintBreak();
        g_records[i].next = next;
        g_records[i].previous = previous;
        previous = i;
    }
}

void Switch(int index) {
    int self = index < 0 ? kMainThread : index;
    if (g_records == nullptr || self >= kThreads || g_records[self].handle == nullptr) return;
    Record& record = g_records[self];
    record.switchTime = Now();
    if (record.next != self) {
        g_records[record.next].semaphore->release();
        record.semaphore->acquire();
        std::this_thread::yield();
    }
    uint64_t now = Now();
    record.framesElapsed = static_cast<float>(static_cast<double>(now - record.lastSwitchTime) /
                                              static_cast<double>(kFrequency) * Zeth::GetFrameRate());
    if (!record.active) Terminate(self);
    record.lastSwitchTime = now;
}

int Create(Routine routine, EndRoutine endRoutine) {
    if (g_records == nullptr || g_records[kMainThread].handle == nullptr) return -1;
    for (int i = 0; i < kMainThread; ++i) {
        Record& record = g_records[i];
        if (record.handle != nullptr) continue;
        record.endRoutine = endRoutine;
        record.semaphore = new std::binary_semaphore(0);
        record.active = true;
        record.lastSwitchTime = Now();
        record.handle = new ThreadHandle;
        record.handle->thread = std::thread(ThreadMain, i, routine, record.handle);
        record.threadId = ThreadId(record.handle->thread.get_id());
        UpdateList();
        return i;
    }
    return -1;
}

void Exit() {
    if (g_records == nullptr) return;
    for (int i = 0; i < kMainThread; ++i) {
        Record& record = g_records[i];
        if (record.handle == nullptr) continue;
        ZethLog::PrintTitle("ZethMicroThread::Exit");
        ZethLog::Print(" : [%02d] : ", i);
        record.active = false;
        ZethLog::PrintSuccess("Success!");
        ZethLog::PrintBreak();
        // Control goes round the ring until the thread has taken it, ended and finished.
        while (record.handle != nullptr) Switch(-1);
        while (!MicroThreadWaitAll()) std::this_thread::yield();
    }
    Record& main = g_records[kMainThread];
    delete main.semaphore;
    main.semaphore = nullptr;
    main.handle = nullptr;
    ZethLog::PrintSuccess("ZethMicroThread::全マイクロスレッドの終了");
    ZethLog::PrintBreak();
}

void ReleaseTable() {
    Zeth::MemoryFree(g_records);
    g_records = nullptr;
}

}  // namespace ZethMicroThread

using namespace ZethMicroThread;

void MicroThreadStartMain() {
    ZethLog::PrintSuccess("ZethMicroThread::メインマイクロスレッドの起動");
    ZethLog::PrintBreak();
    if (g_records == nullptr) return;
    Record& main = g_records[kMainThread];
    main.handle = &g_mainHandle;
    main.threadId = ThreadId(std::this_thread::get_id());
    main.active = true;
    main.semaphore = new std::binary_semaphore(0);
    main.lastSwitchTime = Now();
    UpdateList();
}

bool MicroThreadWaitAll() {
    if (g_ending == nullptr) return true;
    if (!g_ending->finished.load(std::memory_order_acquire)) return false;
    g_ending->thread.join();
    delete g_ending;
    g_ending = nullptr;
    return true;
}
