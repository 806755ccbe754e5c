#include "game/stage/stage_tables.h"

#include <algorithm>
#include <vector>

#include "framework/app/log.h"
#include "framework/files/file_system.h"

namespace {

constexpr int kLargestFieldLimit = 16;

// The decimal number at the start of a value: leading blanks, a sign, then digits up to the
// first non-digit. Only the low byte is kept, so the sum never needs more than a few digits.
uint8_t ConvertValue(const char* text, int length) {
    int i = 0;
    while (i < length && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\v' ||
                          text[i] == '\f')) {
        ++i;
    }
    bool negative = false;
    if (i < length && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    uint32_t value = 0;
    for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10u + static_cast<uint32_t>(text[i] - '0');
    if (negative) value = 0u - value;
    return static_cast<uint8_t>(value & 0xFFu);
}

}  // namespace

void ReadTableValues(const uint8_t* data, size_t size, int fieldLimit, uint8_t* out, int count) {
    if (fieldLimit < 0) fieldLimit = 0;
    if (fieldLimit > kLargestFieldLimit) fieldLimit = kLargestFieldLimit;
    // The value's bytes, with room for the byte at the field limit and a terminator.
    char buffer[kLargestFieldLimit + 2] = {};
    int stored = 0;
    int position = 0;
    size_t at = 0;
    while (stored < count && at < size) {
        const char c = static_cast<char>(data[at++]);
        buffer[position] = c;
        if (c == ',' || c == '\n') {
            out[stored++] = ConvertValue(buffer, position);
            position = 0;
        } else if (position == fieldLimit) {
            out[stored++] = ConvertValue(buffer, position + 1);
            position = 0;
        } else {
            ++position;
        }
        buffer[position] = '\0';
    }
    // The end of the data ends a value begun without a separator.
    if (stored < count && position > 0) out[stored++] = ConvertValue(buffer, position);
    const uint8_t last = stored > 0 ? out[stored - 1] : 0;
    while (stored < count) out[stored++] = last;
}

bool LoadTableFile(const char* name, int fieldLimit, uint8_t* out, int count, int capacity) {
    ZethFile::SetCurrentPath("table");
    ZethFile::Stream* stream = ZethFile::FileOpen(name, true);
    if (stream == nullptr) return false;
    const uint32_t limit = static_cast<uint32_t>(capacity) * static_cast<uint32_t>(fieldLimit + 1);
    const uint32_t size = ZethFile::FileGetSize(stream);
    if (size > limit) ZethLog::Report("テーブルファイルが長すぎるため、先頭だけを読みます [ %s ]", name);
    std::vector<uint8_t> bytes(std::min(size, limit));
    const uint32_t read = bytes.empty() ? 0 : ZethFile::FileRead(stream, static_cast<uint32_t>(bytes.size()), bytes.data());
    ZethFile::FileClose(stream);
    ReadTableValues(bytes.data(), read, fieldLimit, out, count);
    return true;
}

const char* BgTableName(int32_t stage) {
    switch (stage) {
        case 1: return "s1bgtable.csv";
        case 2: return "s2bgtable.csv";
        case 3: return "s3bgtable.csv";
        default: return "s16bgtable.csv";
    }
}
