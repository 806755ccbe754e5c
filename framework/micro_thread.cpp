#include "framework/micro_thread.h"

namespace ZethMicroThread {

bool Initialize() { return true; }
bool StartMain() { return true; }
void Exit() {}
void ReleaseTable() {}
bool AnyThreadEnding() { return false; }

}  // namespace ZethMicroThread

namespace ZethFiber {

bool Initialize() { return true; }
void Finalize() {}

}  // namespace ZethFiber
