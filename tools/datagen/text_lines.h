// Line splitting shared by the readers of the authored text sources.
#pragma once

#include <string_view>
#include <vector>

namespace datagen {

// The text without leading spaces and tabs or trailing spaces, tabs and carriage returns.
inline std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// The trimmed lines of the text; line n of a message is element n - 1.
inline std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        lines.push_back(Trim(text.substr(start, end - start)));
        start = end + 1;
    }
    return lines;
}

}  // namespace datagen
