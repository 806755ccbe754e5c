#include "framework/input.h"

namespace ZethInput {

bool Initialize() { return true; }
void Finalize() {}
void Refresh() {}
void UpdatePads() {}
void OnDoubleClick(int) {}
void OnWheel(int) {}

}  // namespace ZethInput
