#include "framework/app/log.h"

#include <iconv.h>

#include <cstdio>
#include <string>

#include "framework/core/lock.h"
#include "platform/os/os.h"

namespace {

FILE* g_log = nullptr;
std::string g_path;           // the page's path, for the notes on standard error
bool g_writeFailed = false;   // a write to the page failed; said once on standard error
bool g_echo = false;
bool g_consoleCreated = false;

std::string FormatV(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    return text;
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    return text;
}

// Our sources and strings are UTF-8; the page declares Shift_JIS, so every entry is converted
// to CP932 on its way to the file. A character CP932 cannot hold is written as '?'.
std::string ToCp932(const std::string& utf8) {
    static iconv_t converter = iconv_open("CP932", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) return utf8;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.reserve(utf8.size());
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char buffer[256];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof(buffer);
        size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            // Skip one invalid or unrepresentable character: its lead byte and continuation bytes.
            out += '?';
            ++in;
            --inLeft;
            while (inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80) {
                ++in;
                --inLeft;
            }
            iconv(converter, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

// A note about the log itself, or an entry the log cannot take, goes to standard error as UTF-8.
void WriteStandardError(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }

void WriteRaw(const std::string& text) {
    std::string encoded = ToCp932(text);
    std::fwrite(encoded.data(), 1, encoded.size(), g_log);
}

// Flushes the page so every entry is on disk at once (a crash loses none). The first failure,
// a full disk for one, is said on standard error; later ones are not repeated.
void Flush() {
    if ((std::fflush(g_log) != 0 || std::ferror(g_log) != 0) && !g_writeFailed) {
        g_writeFailed = true;
        WriteStandardError("ログファイルに書き込めません [ " + g_path + " ]");
    }
}

constexpr unsigned kNoColourChange = 0xFFFF;

// One entry: opening text, the formatted entry, closing text, flush, then the console echo.
void WriteEntry(const char* opening, const char* closing, unsigned colour, const char* format, va_list args) {
    if (g_log == nullptr) return;
    CLockScope scope(Zeth::SystemLock());
    if (g_log == nullptr) return;
    std::string entry = FormatV(format, args);
    WriteRaw(Format(opening, 0) + entry + Format(closing, 0));
    Flush();
    if (g_echo) {
        if (colour != kNoColourChange) ConsoleSetColor(colour);
        ConsoleWrite("%s", entry.substr(0, 1023).c_str());
        if (colour != kNoColourChange) ConsoleSetColor(7);
    }
}

}  // namespace

#pragma GCC diagnostic ignored "-Wformat-extra-args"
#pragma GCC diagnostic ignored "-Wformat-security"
#pragma GCC diagnostic ignored "-Wformat-nonliteral"

namespace ZethLog {

#define ZETH_LOG_ENTRY(name, opening, closing, colour) \
    void name(const char* format, ...) {               \
        va_list args;                                  \
        va_start(args, format);                        \
        WriteEntry(opening, closing, colour, format, args); \
        va_end(args);                                  \
    }

ZETH_LOG_ENTRY(PrintBanner,
               "<TABLE width=\"100%%\" bgcolor=\"#000000\">\n  <TBODY>\n    <TR>\n      <TD align=\"center\">\n"
               "        <B>\n          <FONT color=\"WHITE\">",
               "</FONT>\n        </B>\n      </TD>\n    </TR>\n  </TBODY>\n</TABLE>\n", 0x70)
ZETH_LOG_ENTRY(PrintTitle, "<B><FONT color=\"BLUE\">", "</FONT></B>", 0x17)
ZETH_LOG_ENTRY(PrintError, "<B><FONT color=\"RED\">", "</FONT></B>", 0x47)
ZETH_LOG_ENTRY(PrintSuccess, "<B><FONT color=\"GREEN\">", "</FONT></B>", 0x27)
ZETH_LOG_ENTRY(PrintBold, "<B>", "</B>", kNoColourChange)
ZETH_LOG_ENTRY(Print, "", "", kNoColourChange)

#undef ZETH_LOG_ENTRY

void PrintBreak() {
    if (g_log == nullptr) return;
    CLockScope scope(Zeth::SystemLock());
    if (g_log == nullptr) return;
    std::fputs("<BR>\n", g_log);
    Flush();
    if (g_echo) ConsoleWrite("\n");
}

bool Open(const char* path) {
    CLockScope scope(Zeth::SystemLock());
    if (g_log != nullptr) std::fclose(g_log);
    g_log = std::fopen(path, "wt");
    g_path = path;
    g_writeFailed = false;
    if (g_log == nullptr) WriteStandardError("ログファイルを開けません [ " + g_path + " ]");
    // The page marks its folder as taken while it is open (see platform::LockOpenFile).
    if (g_log != nullptr) platform::LockOpenFile(fileno(g_log));
    return g_log != nullptr;
}

bool IsOpen() { return g_log != nullptr; }

void WriteHeader(const char* applicationName) {
    CLockScope scope(Zeth::SystemLock());
    if (g_log == nullptr) return;
    WriteRaw(Format(
        "<HTML>\n<HEAD>\n<META http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\n"
        "<TITLE>%s</TITLE>\n<STYLE type=\"text/css\">\n<!--\nBODY{\n  font-size : 12px;\n"
        "  font-family : \"ＭＳ ゴシック\";\n}\n-->\n</STYLE>\n</HEAD>\n"
        "<BODY bgcolor=\"#ffffff\" text=\"#000000\" link=\"#444444\" vlink=\"#444444\" alink=\"#444444\">\n",
        applicationName));
    Flush();
}

void Close() {
    CLockScope scope(Zeth::SystemLock());
    if (g_log == nullptr) return;
    std::fputs("</BODY>\n</HTML>\n", g_log);
    Flush();
    std::fclose(g_log);
    g_log = nullptr;
    if (g_echo) ConsoleRelease();
}

void Report(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    CLockScope scope(Zeth::SystemLock());
    if (g_log == nullptr || g_writeFailed) {
        WriteStandardError(text);
        return;
    }
    PrintError("%s", text.c_str());
    PrintBreak();
    if (g_writeFailed) WriteStandardError(text);  // this very entry did not reach the page
}

void SetConsoleEcho(bool echo) { g_echo = echo; }
bool ConsoleEcho() { return g_echo; }

}  // namespace ZethLog

void ConsoleCreate() {
    CLockScope scope(Zeth::SystemLock());
    g_consoleCreated = true;
}

void ConsoleRelease() {
    CLockScope scope(Zeth::SystemLock());
    if (!g_consoleCreated) return;
    g_consoleCreated = false;
    std::fflush(stdout);
}

void ConsoleWrite(const char* format, ...) {
    if (!g_consoleCreated) return;
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    std::fputs(buffer, stdout);
}

// The attribute is a console colour byte: background in the high nibble, foreground in the low.
void ConsoleSetColor(unsigned attribute) {
    if (!g_consoleCreated) return;
    static const int kAnsi[8] = {0, 4, 2, 6, 1, 5, 3, 7};  // blue, green, red bits to ANSI order
    unsigned fg = attribute & 0x0F;
    unsigned bg = (attribute >> 4) & 0x0F;
    std::printf("\x1b[%d;%d;%dm", (fg & 8) ? 1 : 22, 30 + kAnsi[fg & 7], 40 + kAnsi[bg & 7]);
}
