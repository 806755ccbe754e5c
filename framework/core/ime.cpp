#include "framework/core/ime.h"

#include <iconv.h>

#include <algorithm>
#include <cstring>

#include "framework/app/zeth.h"

namespace {

constexpr int32_t kTextSize = 2048;
constexpr uint8_t kEnter = 13;
constexpr uint8_t kBackspace = 8;

struct FepState {
    char text[kTextSize];
    int32_t length;
    uint8_t lastByte;  // the last single byte appended, or 13 after Enter
    Zeth::WindowHandle window;
    bool inputContext;  // the window takes text input
};

FepState g_fep = {};

bool IsLeadByte(uint8_t byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFE); }

void Append(uint8_t byte) {
    if (g_fep.length < kTextSize) g_fep.text[g_fep.length++] = static_cast<char>(byte);
}

// Removes the last character, which is two bytes long when it starts with a lead byte. The text
// is walked from its start because a trail byte can look like a lead byte.
void RemoveLastCharacter() {
    int32_t start = 0;
    for (int32_t i = 0; i < g_fep.length; i += IsLeadByte(static_cast<uint8_t>(g_fep.text[i])) ? 2 : 1) start = i;
    int32_t size = std::min(g_fep.length - start, IsLeadByte(static_cast<uint8_t>(g_fep.text[start])) ? 2 : 1);
    std::memset(g_fep.text + start, 0, static_cast<size_t>(size));
    g_fep.length -= size;
}

void OnByte(uint8_t byte) {
    if (IsLeadByte(g_fep.lastByte)) {
        Append(byte);
        g_fep.lastByte = 0;
        return;
    }
    if (byte == kEnter) {
        g_fep.lastByte = kEnter;
    } else if (byte == kBackspace) {
        if (g_fep.inputContext && g_fep.length > 0) RemoveLastCharacter();
    } else if (byte >= 32) {
        Append(byte);
        g_fep.lastByte = byte;
    }
}

// The window layer delivers Unicode code points; the buffer holds CP932, so a character outside
// ASCII becomes its one or two CP932 bytes, each fed in as the window system would send them.
// A character CP932 cannot hold is dropped.
void OnCodePoint(uint32_t code) {
    static iconv_t converter = iconv_open("CP932", "UTF-32LE");
    if (converter == reinterpret_cast<iconv_t>(-1)) return;
    char in[4] = {static_cast<char>(code & 0xFF), static_cast<char>((code >> 8) & 0xFF),
                  static_cast<char>((code >> 16) & 0xFF), static_cast<char>((code >> 24) & 0xFF)};
    char out[8];
    char* inPtr = in;
    char* outPtr = out;
    size_t inLeft = sizeof(in);
    size_t outLeft = sizeof(out);
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) return;
    for (char* p = out; p < outPtr; ++p) OnByte(static_cast<uint8_t>(*p));
}

}  // namespace

bool FepInitialize() {
    g_fep = {};
    g_fep.window = Zeth::GetWindowHandle();
    g_fep.inputContext = g_fep.window != nullptr;
    return true;
}

void FepFinalize() { g_fep.inputContext = false; }

// Only a window of the buffer's own would need closing, and nothing opens one.
void FepReleaseWindow() {}

void FepOnChar(uint32_t character) {
    if (character < 0x80) OnByte(static_cast<uint8_t>(character));
    else OnCodePoint(character);
}

std::string_view FepGetText() { return std::string_view(g_fep.text, static_cast<size_t>(g_fep.length)); }
