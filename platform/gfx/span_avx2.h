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

// The walk's fixed point: texel coordinates in units of 2^-kWalkShift texel.
constexpr int kWalkShift = 20;

// Point sampling over a triangle without perspective, in fixed point: the texel coordinates of
// pixel n of box row m, in units of 2^-kWalkShift texel, are u[0] + uRow m + uPixel n and
// v[0] + vRow m + vPixel n, and the texel is their whole part.
struct TexelWalk {
    // How the texels stay inside the texture.
    enum Bounds {
        kInside,   // every pixel of the box samples inside it
        kWrapped,  // sizes are powers of two, addressed by wrapping: whole parts modulo the size
        kTested,   // a group with a sample outside it stops the walk
    };
    const uint32_t* texels;
    int width, height;
    int32_t u[8], v[8];  // pixels 0-7 of the box's top row
    int32_t uRow, uPixel, vRow, vPixel;
    Bounds bounds;
};

// Rows a walk takes at once.
constexpr int kMaxWalkRows = 256;

// Rows of a triangle, up to kMaxWalkRows, their arrays holding seven entries more: row r covers
// pixels [first[r], last[r]] of target row r (none when first > last); it is row top + r of the
// box, and pixel x is its pixel x - left. Target words from `end` on lie past the target.
struct WalkRows {
    const int* first;
    const int* last;
    int count, top, left;
    uint32_t* target;
    int pitch;
    int64_t end;
};

// Blends by source alpha the texels the walk samples onto the rows' pixels, optionally
// modulated by the colour first (tint), eight at a time, from row *row pixel *x on. Returns
// true when it reached the end; false with *row, *x at a group of eight pixels with a sample
// outside the texture (the caller samples those and goes on after them).
bool BlendWalkAvx2(const TexelWalk& walk, const WalkRows& rows, bool tint, uint32_t color,
                   uint32_t alphaOr, int* row, int* x);

}  // namespace platform::gfx
