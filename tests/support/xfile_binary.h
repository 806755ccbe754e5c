// Re-encodes an X file written as text into the binary encoding, so that tests read the same
// scene both ways: names and strings with their lengths, runs of numbers as integer or float
// lists, punctuation and keywords as their token numbers; comments are dropped.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace xfile_test {

inline std::vector<uint8_t> TextToBinary(const std::string& text, bool doubles = false) {
    std::vector<uint8_t> out;
    auto u16 = [&](uint32_t v) { out.push_back(uint8_t(v)), out.push_back(uint8_t(v >> 8)); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
    const std::string header = std::string("xof 0303bin ") + (doubles ? "0064" : "0032");
    out.assign(header.begin(), header.end());

    const char* const keywords[] = {"WORD",   "DWORD", "FLOAT",   "DOUBLE",  "CHAR",    "UCHAR", "SWORD",
                                    "SDWORD", "void",  "STRING",  "UNICODE", "CSTRING", "array"};
    const std::string punct = "{}()[]<>.,;";
    std::vector<double> run;
    bool runFloats = false;
    auto flush = [&] {
        if (run.empty()) return;
        u16(runFloats ? 7 : 6);
        u32(uint32_t(run.size()));
        for (double v : run) {
            if (!runFloats) {
                u32(uint32_t(int64_t(v)));
            } else if (doubles) {
                uint64_t bits = 0;
                std::memcpy(&bits, &v, 8);
                u32(uint32_t(bits)), u32(uint32_t(bits >> 32));
            } else {
                const float f = float(v);
                uint32_t bits = 0;
                std::memcpy(&bits, &f, 4);
                u32(bits);
            }
        }
        run.clear();
    };
    size_t i = 16;
    while (i < text.size()) {
        const char c = text[i];
        const bool numberStart = isdigit(uint8_t(c)) || ((c == '-' || c == '.') && i + 1 < text.size() &&
                                                           isdigit(uint8_t(text[i + 1])));
        if (isspace(uint8_t(c))) {
            ++i;
        } else if (c == '#' || (c == '/' && text[i + 1] == '/')) {
            while (i < text.size() && text[i] != '\n') ++i;
        } else if ((c == ',' || c == ';') && !run.empty()) {
            ++i;  // separators inside a run of numbers are implied by the list
        } else if (numberStart) {
            size_t end = i + 1;
            while (end < text.size() && (isalnum(uint8_t(text[end])) || text[end] == '.' ||
                                         ((text[end] == '-' || text[end] == '+') && (text[end - 1] == 'e' || text[end - 1] == 'E')))) {
                ++end;
            }
            const std::string number = text.substr(i, end - i);
            const bool real = number.find_first_of(".eE") != std::string::npos;
            if (!run.empty() && real != runFloats) flush();
            runFloats = real;
            run.push_back(std::stod(number));
            i = end;
        } else if (c == '"') {
            flush();
            const size_t end = text.find('"', i + 1);
            u16(2);
            u32(uint32_t(end - i - 1));
            out.insert(out.end(), text.begin() + long(i) + 1, text.begin() + long(end));
            u32(20);
            i = end + 1;
            while (i < text.size() && isspace(uint8_t(text[i]))) ++i;
            if (i < text.size() && (text[i] == ';' || text[i] == ',')) ++i;
        } else if (c == '<') {
            flush();
            const size_t end = text.find('>', i);
            std::string hex;
            for (size_t k = i + 1; k < end; ++k) {
                if (text[k] != '-') hex += text[k];
            }
            auto part = [&](size_t at, size_t digits) { return uint32_t(std::stoul(hex.substr(at, digits), nullptr, 16)); };
            u16(5);
            u32(part(0, 8));
            u16(part(8, 4));
            u16(part(12, 4));
            for (size_t k = 0; k < 8; ++k) out.push_back(uint8_t(part(16 + 2 * k, 2)));
            i = end + 1;
        } else if (isalpha(uint8_t(c)) || c == '_') {
            flush();
            size_t end = i;
            while (end < text.size() && (isalnum(uint8_t(text[end])) || text[end] == '_' || text[end] == '-')) ++end;
            const std::string word = text.substr(i, end - i);
            uint32_t token = 0;
            for (uint32_t k = 0; k < 13; ++k) {
                if (word == keywords[k]) token = 40 + k;
            }
            if (word == "template") token = 31;
            if (token != 0) {
                u16(token);
            } else {
                u16(1);
                u32(uint32_t(word.size()));
                out.insert(out.end(), word.begin(), word.end());
            }
            i = end;
        } else {
            flush();
            u16(10 + uint32_t(punct.find(c)));
            ++i;
        }
    }
    flush();
    return out;
}

}  // namespace xfile_test
