// The alpha-blended texture span with 256-bit vectors, for processors that have them.
#pragma once

#include <cstdint>

namespace platform::gfx {

// True when the processor runs AVX2 code.
bool HasAvx2();

// How the texel columns of a row run.
enum class TexelRun {
    kIndexed,   // any columns: read through the column table
    kStraight,  // columns[0] + i: one texel per pixel
    kDoubled,   // columns[0] + i / 2: every texel twice
};

// Blends texels onto a rectangle of the target by source alpha, eight pixels at a time,
// optionally modulated by the colour first (tint). Row r reads texture row rows[r]; pixel i of a
// row reads column columns[i] (columns[0] + i or + i / 2 when the run says so). Does the first
// (width rounded down to eight) pixels of every row and returns that count; the caller does the
// rest.
int BlendRectAvx2(const uint32_t* texels, int texWidth, const int* rows, const int* columns,
                  TexelRun run, int width, int height, bool tint, uint32_t color, uint32_t* target,
                  int pitch, uint32_t alphaOr);

}  // namespace platform::gfx
