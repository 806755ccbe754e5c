// Micro-threads: operating-system threads run cooperatively, one at a time, handing control
// round a ring by semaphore whenever the running one calls Switch. The main thread is
// micro-thread 32; threads 0 to 31 may join it. Fibers: the fiber table.
#pragma once

#include <cstdint>

namespace ZethMicroThread {

constexpr int kMainThread = 32;
constexpr int kThreads = 33;

using Routine = void (*)(int index);     // the body of a micro-thread
using EndRoutine = void (*)(int code);   // called with 0 when a micro-thread ends

bool Initialize();   // allocates the thread table
void UpdateList();   // rebuilds the ring of live threads
// Called by micro-thread index (-1: the main thread): passes control to the next thread in the
// ring and returns when control comes back. A thread asked to end ends inside this call.
void Switch(int index);
void Exit();          // ends every micro-thread but the main one
void ReleaseTable();  // frees the thread table
// Adds a micro-thread that first runs when control reaches it; its index, or -1 when the table
// is full. A routine that returns ends its thread.
int Create(Routine routine, EndRoutine endRoutine);

}  // namespace ZethMicroThread

void MicroThreadStartMain();  // makes the calling thread micro-thread 32
bool MicroThreadWaitAll();    // true when no micro-thread is still on its way out

namespace ZethFiber {

bool Initialize();
void Finalize();

}  // namespace ZethFiber
