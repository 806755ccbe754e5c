#include "framework/files/sjis.h"

#include <cstring>

bool SjisIsLeadByte(uint8_t byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFE); }

int SjisReadChar(const char* text, uint32_t* code) {
    const uint8_t lead = static_cast<uint8_t>(text[0]);
    const uint8_t trail = lead == 0 ? 0 : static_cast<uint8_t>(text[1]);
    if (SjisIsLeadByte(lead) && trail != 0) {
        *code = lead * 256u + trail;
        return 2;
    }
    *code = lead;
    return 1;
}

uint32_t SjisGetCharCode(const char* text) {
    uint32_t code = 0;
    SjisReadChar(text, &code);
    return code;
}

void ReplaceChar(char* destination, const char* source, char newByte, char oldByte) {
    while (*source != '\0') {
        uint32_t code = 0;
        const int length = SjisReadChar(source, &code);
        if (length == 1 && *source == oldByte) {
            destination[0] = newByte;
        } else {
            std::memcpy(destination, source, static_cast<size_t>(length));
        }
        destination += length;
        source += length;
    }
}
