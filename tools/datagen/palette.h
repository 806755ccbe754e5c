// The shared palette every sheet is drawn with: ramps of shades per hue, read from
// assets/palette.txt.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/datagen/image.h"

namespace datagen {

struct Ramp {
    std::string hue;
    std::vector<Rgb> shades;  // darkest first
};

class SharedPalette {
public:
    // Parses the palette text (format in assets/palette.txt's header); throws std::runtime_error
    // naming the line of the first fault.
    static SharedPalette Parse(std::string_view text);

    // The ramp of that hue, or null.
    const Ramp* FindRamp(std::string_view hue) const;
    // The colour of an entry name: the hue followed by the shade's number, 1 the darkest
    // ("red1", "steel5"); null when there is no such entry.
    const Rgb* FindEntry(std::string_view entry) const;
    const std::vector<Ramp>& Ramps() const { return ramps_; }
    int ColourCount() const;

private:
    std::vector<Ramp> ramps_;
};

}  // namespace datagen
