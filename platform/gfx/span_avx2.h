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

// Point sampling over a triangle without perspective, in fixed point: the texel coordinates of
// a pixel, in units of 2^-shift texel, are lane values plus a group's offsets. They are offset
// by a margin wider than their error, so that a coordinate lying further than the margin from
// a texel edge gives the texel by its whole part; `near` is twice the margin.
struct FixedWalk {
    const uint32_t* texels;
    int width, height;
    int32_t u[8], v[8];  // the coordinates of pixels 0-7 of the box's top row, plus the margin
    int shift;
    int32_t near;
    bool inside;        // every sample lies inside the texture: no test for it
    uint32_t* target;   // ARGB words; groups address them from here
    int64_t end;        // words of the target
};

// Up to eight pixels of a row: target words at + i for i below count (count may exceed 8:
// eight then), sampled at the walk's lanes plus u and v.
struct WalkGroup {
    int32_t at, u, v, count;
};

// Blends by source alpha the texels the walk samples onto the groups' pixels, optionally
// modulated by the colour first (tint), from group *group on. Returns true when it reached the
// end; false with *group at a group that has a sample near a texel edge or outside the
// texture (the caller samples that one itself and goes on after it).
bool BlendGroupsAvx2(const FixedWalk& walk, const WalkGroup* groups, int count, bool tint,
                     uint32_t color, uint32_t alphaOr, int* group);

}  // namespace platform::gfx
