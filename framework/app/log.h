// The HTML log: one page of entries, each flushed at once, with an optional console echo.
// Every print operation takes a printf format; the page's text is written in Shift_JIS (CP932),
// as its header declares. Entries carry no line break: callers add PrintBreak.
#pragma once

#include <cstdarg>

namespace ZethLog {

void PrintBanner(const char* format, ...) __attribute__((format(printf, 1, 2)));   // white on black table
void PrintTitle(const char* format, ...) __attribute__((format(printf, 1, 2)));    // bold blue
void PrintError(const char* format, ...) __attribute__((format(printf, 1, 2)));    // bold red
void PrintSuccess(const char* format, ...) __attribute__((format(printf, 1, 2)));  // bold green
void PrintBold(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Print(const char* format, ...) __attribute__((format(printf, 1, 2)));
void PrintBreak();
// A failure the program goes on after (a damaged or missing file): one error entry and a break,
// or a line on standard error when no page is open or the page cannot be written.
void Report(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Opens the page for writing (mode "wt"); false leaves logging off and says so on standard error.
bool Open(const char* path);
bool IsOpen();
// Writes the page header with the application name as its title.
void WriteHeader(const char* applicationName);
// Writes the footer, flushes and closes the page (and the console when echo is on).
void Close();

void SetConsoleEcho(bool echo);
bool ConsoleEcho();

}  // namespace ZethLog

// The console the log echoes to: standard output with colour escapes.
void ConsoleCreate();
void ConsoleRelease();
void ConsoleWrite(const char* format, ...) __attribute__((format(printf, 1, 2)));
void ConsoleSetColor(unsigned attribute);
