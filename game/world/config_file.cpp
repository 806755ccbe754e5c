#include "game/world/config_file.h"

namespace {

// The decimal number at the front of a token, narrowed to a signed byte as the game has
// always stored these values (200 reads as -56).
int32_t TokenValue(const char* token) {
    const char* p = token;
    while (*p == ' ' || *p == '\t') ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    int32_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) value = value * 10 + (*p - '0');
    if (negative) value = -value;
    return static_cast<int8_t>(static_cast<uint8_t>(value & 0xFF));
}

}  // namespace

ConfigValues ParseConfigText(const uint8_t* text, size_t size) {
    ConfigValues values{};
    int count = 0;
    int32_t last = 0;
    char token[kConfigTokenLength + 1] = {};
    int length = 0;
    bool pending = false;  // characters read since the last separator
    auto endToken = [&]() {
        token[length] = '\0';
        last = TokenValue(token);
        values[static_cast<size_t>(count++)] = last;
        length = 0;
        pending = false;
    };
    for (size_t i = 0; i < size && count < kConfigValues; ++i) {
        char c = static_cast<char>(text[i]);
        if (c == ',' || c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < size && text[i + 1] == '\n') ++i;
            endToken();
        } else {
            pending = true;
            if (length < kConfigTokenLength) token[length++] = c;
        }
    }
    if (pending && count < kConfigValues) endToken();
    while (count < kConfigValues) values[static_cast<size_t>(count++)] = last;
    return values;
}
