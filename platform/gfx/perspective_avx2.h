// The attributes of pixels of a triangle in perspective, four at a time with 256-bit vectors,
// for processors that have them.
#pragma once

#include <cstdint>

namespace platform::gfx {

// Most pixels one call works out.
constexpr int kPerspectiveSpan = 64;

// One row of a triangle in perspective: each attribute is its plane's value at the row's first
// box pixel and its step a pixel. Colour and texture coordinates are the planes of the corner
// values times their rhw, so one division by the rhw plane restores them.
struct PerspectiveRow {
    double rhw, drhw;
    double depth, ddepth;
    double color[4], dcolor[4];  // alpha, red, green, blue
    double u, du, v, dv;         // stage 0
    double width, height;        // of stage 0's texture, in texels
};

// How a span's texture coordinates are wanted.
enum PerspectiveTexels { kNoTexels, kPointTexels, kLinearTexels, kPerspectiveTexelKinds };

// The attributes of pixels from, from + 1, ... (counted from the box's left), in the general
// loop's arithmetic: w = 1 / (rhw + drhw n), each attribute (value + step n) times w.
struct PerspectiveSpan {
    float depth[kPerspectiveSpan];
    uint32_t diffuse[kPerspectiveSpan];  // the colour, rounded to bytes, packed ARGB
    // Point: the texel holding the sample. Linear: the top-left texel of the four around it.
    int32_t tx[kPerspectiveSpan], ty[kPerspectiveSpan];
    int32_t wx[kPerspectiveSpan], wy[kPerspectiveSpan];  // linear: 8-bit weights across and down
};

// Fills the span's depth (when depth is set), colour (when gouraud is set) and texels (as the
// kind says) for count pixels from pixel from on; count is at most kPerspectiveSpan. Entries
// past count up to the next multiple of four are written with values of no use.
void PerspectiveAttributesAvx2(const PerspectiveRow& row, int from, int count, bool depth,
                               bool gouraud, PerspectiveTexels texels, PerspectiveSpan* out);

}  // namespace platform::gfx
