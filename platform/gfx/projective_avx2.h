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

// Which orderings of a value against a reference pass a comparison: all ones or 0 each
// (unordered: either is not a number).
struct CompareLanes {
    int32_t less, equal, greater, unordered;
};

// The blendings the eight-pixel loop does, each per channel exactly as the device's
// round((source x factor + destination x factor) / 255) clamped to 255 comes out for them.
enum PerspectiveBlend {
    kWriteSource,      // no blending, or one and zero
    kSourceAlphaBlend,  // source alpha and its inverse
    kAddWeighted,       // source alpha and one: destination + round(source x alpha / 255), clamped
    kAddSource,         // one and one: source + destination, clamped
    kMultiply,          // zero and source colour, or destination colour and zero: round(source x destination / 255)
    kPerspectiveBlends
};

// How ShadePerspectiveAvx2 shades pixels: texture times colour (or the colour alone), depth
// test, alpha test, blending, write, depth write.
struct PerspectiveShading {
    PerspectiveTexels texels;  // how the texture is sampled, or none
    bool gouraud;              // the colour from the span, or the one colour below
    PerspectiveBlend blend;
    const uint32_t* texture;   // stage 0's
    int width, height;
    // Masks applied to texel indexes before they are checked against the sides: the side less
    // one for a wrapped side of a power of two, all ones (no change) otherwise.
    int32_t wrapX, wrapY;
    uint32_t color;  // the colour of a triangle without Gouraud shading
    uint32_t alphaOr;
    bool depthTest, depthWrite, alphaTest;
    CompareLanes depthPasses, alphaPasses;
    uint32_t alphaRef;
    int room;  // pixels from target[0] (and depth[0]) to the end of their rows
};

// Shades pixels [from, count) of the span (pixels first + from... of the row) onto
// target[from...] and depth[from...], eight at a time, from a multiple of eight: works out their
// attributes into the span (the colour and texels only of groups with a pixel past the depth
// test) and draws them; sets *drew when any passed the depth test. Returns count when it reached
// the end, or the first pixel of a group of eight whose samples fall outside the texture, their
// attributes in the span (the caller addresses those eight and goes on after them).
int ShadePerspectiveAvx2(const PerspectiveShading& job, const PerspectiveRow& row, int first,
                         PerspectiveSpan* span, int from, int count, uint32_t* target, float* depth, bool* drew);

}  // namespace platform::gfx
