#include "tools/datagen/palette.h"

#include <charconv>
#include <sstream>
#include <stdexcept>

#include "tools/datagen/text_lines.h"

namespace datagen {
namespace {

constexpr size_t kFewestShades = 3;
constexpr size_t kMostShades = 5;

[[noreturn]] void Fail(int line, const std::string& message) {
    throw std::runtime_error("palette line " + std::to_string(line) + ": " + message);
}

bool IsHueName(std::string_view word) {
    if (word.empty() || word.size() > 16) return false;
    for (char c : word) {
        if (c < 'a' || c > 'z') return false;
    }
    return true;
}

Rgb ParseColour(const std::string& word, int line) {
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, 16);
    if (word.size() != 6 || error != std::errc() || end != word.data() + word.size()) {
        Fail(line, "bad colour \"" + word + "\" (six hex digits, rrggbb)");
    }
    if (value == 0) Fail(line, "black is the transparent colour key and cannot be a shade");
    return {static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

}  // namespace

SharedPalette SharedPalette::Parse(std::string_view text) {
    SharedPalette palette;
    const std::vector<std::string_view> lines = SplitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        if (lines[i].empty() || lines[i].front() == '#') continue;
        std::istringstream words{std::string(lines[i])};
        Ramp ramp;
        words >> ramp.hue;
        if (!IsHueName(ramp.hue)) Fail(line, "bad hue name \"" + ramp.hue + "\" (1 to 16 letters a-z)");
        if (palette.FindRamp(ramp.hue) != nullptr) Fail(line, "hue \"" + ramp.hue + "\" is listed twice");
        for (std::string word; words >> word;) {
            if (ramp.shades.size() == kMostShades) Fail(line, "a ramp has at most 5 shades");
            ramp.shades.push_back(ParseColour(word, line));
        }
        if (ramp.shades.size() < kFewestShades) Fail(line, "a ramp has at least 3 shades");
        palette.ramps_.push_back(std::move(ramp));
    }
    if (palette.ramps_.empty()) throw std::runtime_error("palette: no ramps");
    return palette;
}

const Ramp* SharedPalette::FindRamp(std::string_view hue) const {
    for (const Ramp& ramp : ramps_) {
        if (ramp.hue == hue) return &ramp;
    }
    return nullptr;
}

const Rgb* SharedPalette::FindEntry(std::string_view entry) const {
    if (entry.size() < 2) return nullptr;
    const char digit = entry.back();
    const Ramp* ramp = FindRamp(entry.substr(0, entry.size() - 1));
    if (ramp == nullptr || digit < '1' || static_cast<size_t>(digit - '1') >= ramp->shades.size()) return nullptr;
    return &ramp->shades[digit - '1'];
}

int SharedPalette::ColourCount() const {
    int count = 0;
    for (const Ramp& ramp : ramps_) count += static_cast<int>(ramp.shades.size());
    return count;
}

}  // namespace datagen
