// One picture of every texture sheet for reviewing the art: each sheet doubled, named above it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/datagen/font.h"
#include "tools/datagen/image.h"

namespace datagen {

// Lays the sheets out in rows of four, each at twice its size under its file name, on a grey
// ground that sets transparent black apart.
Image DrawContactSheet(const std::vector<std::pair<std::string, Image>>& sheets, const GlyphSource& glyphs);

}  // namespace datagen
