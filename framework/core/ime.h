// The IME text-input buffer: typed characters, two-byte Shift-JIS (CP932) ones included, arrive
// as character messages and collect in a 2048-byte buffer.
#pragma once

#include <cstdint>
#include <string_view>

bool FepInitialize();     // clears the buffer and takes the main window's input context
void FepFinalize();       // releases the input context
void FepReleaseWindow();  // closes the buffer's own window (this system never creates one)
// One character message: a character code (a Unicode code point from the window layer; codes
// 0x80 and above are stored as their CP932 bytes), Enter (13) or Backspace (8).
void FepOnChar(uint32_t character);
std::string_view FepGetText();  // the bytes typed so far
