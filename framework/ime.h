// The IME text-input buffer; characters arrive as character messages.
#pragma once

#include <cstdint>

bool FepInitialize();
void FepFinalize();       // the IME context
void FepReleaseWindow();  // the buffer's window
void FepOnChar(uint32_t character);
