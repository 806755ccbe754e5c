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

// Blends texels of one row onto dst by source alpha, eight pixels at a time, optionally
// modulated by the colour first (tint); returns how many pixels it did (a multiple of eight),
// the caller does the rest.
int BlendSpanAvx2(const uint32_t* texRow, const int* columns, TexelRun run, int width, bool tint,
                  uint32_t color, uint32_t* dst, uint32_t alphaOr);

}  // namespace platform::gfx
