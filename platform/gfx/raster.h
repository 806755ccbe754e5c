// The rasterisers: the general triangle path, lines, points, and the rectangle path for pairs
// of triangles that form an axis-aligned rectangle drawn at a whole-texel scale.
#pragma once

#include <cstdint>

#include "platform/gfx/pipeline.h"

namespace platform::gfx {

// Draws one triangle (culling by ps.cullMode, top-left fill rule, pixel centres at integers).
// Returns false when it was culled or covered no pixel centre.
bool DrawTriangle(const PipelineState& ps, const ScreenVertex& a, const ScreenVertex& b,
                  const ScreenVertex& c);
void DrawLine(const PipelineState& ps, const ScreenVertex& a, const ScreenVertex& b);
void DrawPoint(const PipelineState& ps, const ScreenVertex& a);

// A drawing routine for rectangles, chosen once per draw from the states; null when the states
// need the triangle path (depth test, several stages, linear filtering, a narrow target...).
class RectanglePath;
const RectanglePath* ChooseRectanglePath(const PipelineState& ps);
// Draws the two triangles *t[0..2], *t[3..5] as one rectangle when they form an axis-aligned
// rectangle of one colour whose texels land exactly as the triangle path would pick them;
// false (nothing drawn) otherwise.
bool DrawRectangle(const RectanglePath& path, const PipelineState& ps,
                   const ScreenVertex* const t[6]);

// Vertex positions are snapped to 1/256 pixel before rasterising (shared by both paths).
constexpr int kSubpixelBits = 8;
constexpr double kSubpixelScale = 256.0;
// Triangles reaching further than this from the origin are clipped to it first.
constexpr float kGuardBand = 16384.0f;

// A coordinate in subpixels, rounded to the nearest (halves away from zero). Callers keep
// coordinates within the guard band.
inline int64_t SnapToSubpixel(float v) {
    const double scaled = double(v) * kSubpixelScale;
    return int64_t(scaled >= 0.0 ? scaled + 0.5 : scaled - 0.5);
}

}  // namespace platform::gfx
