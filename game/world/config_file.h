// The configuration file "qvconfig.dat": sixteen numbers separated by "," or line ends. Values
// 0-3 bind joystick buttons, 4 is the ghost display mode, 5 full screen at start, 6 and 7 the
// sound-effect and music volumes; 8-15 are read and ignored.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

constexpr int kConfigValues = 16;
constexpr int kConfigTokenLength = 4;  // characters kept per token; the rest is skipped

using ConfigValues = std::array<int32_t, kConfigValues>;

// Parses the text. Each token keeps its first four characters and reads as a decimal number
// (blanks, an optional sign, digits; no digits is 0) reduced to a signed byte; CR LF is one line
// end. Past the end of the text every remaining value repeats the last one read (0 for none).
ConfigValues ParseConfigText(const uint8_t* text, size_t size);
