// Shift-JIS text helpers: two-byte characters start with a lead byte (0x81-0x9F or 0xE0-0xFE)
// and their trail byte is never a character of its own, even when it equals '\' or a letter.
#pragma once

#include <cstdint>

// True for a byte that starts a two-byte character.
bool SjisIsLeadByte(uint8_t byte);
// The first character's code: lead * 256 + trail for a two-byte character, else the byte.
uint32_t SjisGetCharCode(const char* text);
// Stores the first character's code and returns its length in bytes (1 or 2). A lead byte
// followed by the terminating zero counts as a single byte, so the zero is never skipped.
int SjisReadChar(const char* text, uint32_t* code);
// Copies source up to its terminating zero, replacing each single-byte character oldByte by
// newByte. Writes no terminating zero: the destination must be zero-filled and large enough.
void ReplaceChar(char* destination, const char* source, char newByte, char oldByte);
