// The alpha-blended texture span with 256-bit vectors, for processors that have them.
#pragma once

#include <cstdint>

namespace platform::gfx {

// True when the processor runs AVX2 code.
bool HasAvx2();

// Blends texels of one row onto dst by source alpha, eight pixels at a time, optionally
// modulated by `tint` first; returns how many pixels it did (a multiple of eight), the caller
// does the rest. texels are indexed by columns, or read straight when contiguous.
int BlendSpanAvx2(const uint32_t* texRow, const int* columns, bool contiguous, int width,
                  bool tint, uint32_t color, uint32_t* dst, uint32_t alphaOr);

}  // namespace platform::gfx
