// The comma-separated tables of the stages and the demo: a stream of decimal values separated by
// commas or line feeds, each kept as one byte (its value mod 256), read with a field limit.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kEnemyTableFieldLimit = 8;  // a value ends at its 9th character at the latest
constexpr int kMapFieldLimit = 4;         // a value ends at its 5th character at the latest
constexpr int kEnemyTableValues = 256;
constexpr int kMapValues = 24 * 1024;

// Reads `count` values from the bytes into `out`. A value ends at a comma, a line feed, at the
// byte in position `fieldLimit` (counted from 0) or at the end of the data; a value is converted
// as a decimal number (leading blanks and a sign allowed, digits up to the first non-digit, no
// digits give 0). Values missing at the end repeat the last one read (0 when none was).
void ReadTableValues(const uint8_t* data, size_t size, int fieldLimit, uint8_t* out, int count);

// Reads a table of the folder "table" through the file system's streams into `out`; false (out
// untouched) when the file cannot be opened. `capacity` is the most values a table of its kind
// holds: a value takes at most fieldLimit + 1 bytes, so a file longer than capacity times that is
// damaged. Only that much of it is read, and the log says so.
bool LoadTableFile(const char* name, int fieldLimit, uint8_t* out, int count, int capacity);

// The background table of a stage: "s1bgtable.csv", "s2bgtable.csv", "s3bgtable.csv" or, for
// every other stage, "s16bgtable.csv".
const char* BgTableName(int32_t stage);
