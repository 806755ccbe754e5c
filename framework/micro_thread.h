// Micro-threads (threads handing control to each other) and fibers.
#pragma once

namespace ZethMicroThread {

bool Initialize();
bool StartMain();        // registers the main thread
void Exit();             // ends every micro-thread
void ReleaseTable();     // frees the thread table
bool AnyThreadEnding();  // a thread is still on its way out

}  // namespace ZethMicroThread

namespace ZethFiber {

bool Initialize();
void Finalize();

}  // namespace ZethFiber
