#include "framework/cdda.h"

void CDDAClose() {}
void CDDANotify(uintptr_t, intptr_t) {}
