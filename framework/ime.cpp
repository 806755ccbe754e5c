#include "framework/ime.h"

bool FepInitialize() { return true; }
void FepFinalize() {}
void FepReleaseWindow() {}
void FepOnChar(uint32_t) {}
