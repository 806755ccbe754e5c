// The rasterisers: the general triangle path, the specialised loops for triangles with and
// without perspective, lines, points, and the rectangle path for pairs of triangles that form an
// axis-aligned rectangle sampled by point.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>

#include "platform/gfx/coverage_avx2.h"
#include "platform/gfx/pipeline.h"
#include "platform/gfx/texel_plane.h"

namespace platform::gfx {

// Draws one triangle (culling by ps.cullMode, top-left fill rule, pixel centres at integers),
// through ps.triangles when it is set and the corners share one rhw. Returns false when it was
// culled or covered no pixel centre.
bool DrawTriangle(const PipelineState& ps, const ScreenVertex& a, const ScreenVertex& b,
                  const ScreenVertex& c);
// Draws the pair *pair[0..2], *pair[3..5] as one walk, with the bytes the two triangles give,
// when it is (a, b, c), (c, d, a) for corners and texel coordinates with a + c = b + d after
// snapping and rounding (one parallelogram: both triangles have one texel plane) of one colour
// and rhw that ps.triangles samples by point and blends by source alpha; false (nothing drawn)
// otherwise.
// *covered is how many of the two covered a pixel centre.
bool DrawParallelogram(const PipelineState& ps, const ScreenVertex* const pair[6], int* covered);
void DrawLine(const PipelineState& ps, const ScreenVertex& a, const ScreenVertex& b);
void DrawPoint(const PipelineState& ps, const ScreenVertex& a);

// A drawing routine for rectangles, chosen once per draw from the states; null when the states
// need the triangle path (depth test, several stages, linear filtering, a narrow target...).
class RectanglePath;
const RectanglePath* ChooseRectanglePath(const PipelineState& ps);
// A target of width x height pixels (its pitch) that is to hold one value everywhere before
// the draw but holds it not yet.
struct TargetFill {
    uint32_t value;
    int width, height;
    const Rect* around = nullptr;  // the pixels outside it hold the value already (null: unknown)
    Rect drawn{};                  // set by the draw: the rectangle it drew, around which it filled
};
// Draws the two triangles *t[0..2], *t[3..5] as one rectangle, with the bytes the triangle path
// would give, when they form an axis-aligned rectangle of one colour whose texture coordinates
// follow its sides; false (nothing drawn) otherwise. With a fill, it writes every pixel of the
// target: the fill's value outside the rectangle, and inside it the bytes the draw gives over
// that value.
bool DrawRectangle(const RectanglePath& path, const PipelineState& ps,
                   const ScreenVertex* const t[6], TargetFill* fill = nullptr);
// The same for a pair known to have the sprite batches' shape, (top left, top right, bottom
// right) and (bottom right, bottom left, top left) of one colour, depth and rhw with its texture
// coordinates following its sides, from those two corners; false (nothing drawn) where
// DrawRectangle of the whole pair is to decide.
bool DrawSpritePair(const RectanglePath& path, const PipelineState& ps, const ScreenVertex& topLeft,
                    const ScreenVertex& bottomRight, TargetFill* fill = nullptr);

// How a draw's pixels meet the target, shared by the specialised paths.
enum BlendKind { kOpaque, kAlphaBlend, kGenericBlend, kBlendKinds };
BlendKind BlendKindOf(const PipelineState& ps);
// False when the alpha test passes every pixel or rejects only pixels that would leave the
// target as it was (alpha 0 under source-alpha blending).
bool AlphaTestMatters(const PipelineState& ps);
// True when the AVX2 spans are to be used (the processor has them and no test forbids them).
bool UseAvx2();

// Whether texel indexes on a side wrap by a mask of the side less one: it wraps and is a power
// of two.
inline bool WrapsByMask(uint32_t mode, int size) {
    return mode == address::kWrap && std::has_single_bit(unsigned(size));
}

// The loops for triangles whose corners share one rhw (no perspective), chosen once per draw
// from the states; null when the states need the general loop (depth test, several stages, a
// narrow target, a colour write mask...).
class TrianglePath;
const TrianglePath* ChooseTrianglePath(const PipelineState& ps);

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

// One triangle made ready for rasterising, shared by both paths so that the rectangle path
// reproduces the triangle path's arithmetic to the bit: corners snapped and ordered so that the
// area is positive, the box of pixels it may cover within the scissor, and the terms of its
// attribute planes.
struct TriangleSetup {
    const ScreenVertex* v[3];
    int64_t x[3], y[3];  // subpixels
    int64_t area;        // twice the area, in square subpixels
    int left, right, top, bottom;  // inclusive; empty when left > right or top > bottom
    double det, ex1, ey1, ex2, ey2;  // area and edges from corner 0, as doubles
    double ox, oy;  // pixel (left, top) from corner 0, in pixels
};

// False for a triangle without area or one the cull mode removes. Corners lie within the
// guard band.
bool SetUpTriangle(const PipelineState& ps, const ScreenVertex* a, const ScreenVertex* b,
                   const ScreenVertex* c, TriangleSetup* out);

// The plane of a set-up triangle's stage coordinate (axis 0: u, 1: v) for a texture `size`
// texels along it, when its corners share one rhw.
inline TexelPlane TexelPlaneOf(const TriangleSetup& t, int stage, int axis, int size) {
    const int64_t c[3] = {TexelUnits(t.v[0]->uv[stage][axis], size), TexelUnits(t.v[1]->uv[stage][axis], size),
                          TexelUnits(t.v[2]->uv[stage][axis], size)};
    return TexelPlaneOf(t.x, t.y, c);
}

// Samples a stage by point at coordinates in units; a stage without a texture gives white.
inline uint32_t SamplePoint(const StageSampler& s, int64_t u, int64_t v) {
    if (!s.texels) return 0xFFFFFFFF;
    return FetchTexel(s, TexelOf(u), TexelOf(v));
}

// The bound an edge puts on the runs of a box's rows: pixel n of a row (from the box's left) is
// inside the edge when n >= quotient (the edge starts the runs) or n <= quotient (it ends them),
// floor(m / d) = quotient with m - quotient d = remainder in [0, d), m changing by a fixed
// amount a row (quotientStep d + remainderStep).
struct EdgeBound {
    int64_t quotient, remainder, divisor, quotientStep, remainderStep;
    int64_t startMask;  // all ones: the run starts at the quotient; 0: it ends there

    // The edge from (fromX, fromY) to (toX, toY) in subpixels, with the interior on the side
    // its edge function puts it for corners in the triangles' order, over the box of `width`
    // pixels whose top left pixel is (left, top), from its top row on. A pixel centre on the
    // edge is inside only if it is a top or left edge. A level edge takes whole rows or none,
    // and bounds the starts or the ends as asked. An edge that is not level, parallel to another
    // but running the other way (the opposite side of a parallelogram), steps as that one does:
    // given it, its steps are taken rather than worked out again.
    static EdgeBound Of(int64_t fromX, int64_t fromY, int64_t toX, int64_t toY, int left, int top, int width,
                        bool levelStarts, const EdgeBound* opposite = nullptr);

    // The quotient, then a row down (the remainder stays in [0, divisor)).
    [[gnu::always_inline]] int64_t Step() {
        const int64_t q = quotient;
        remainder += remainderStep;
        const int64_t carry = int64_t(uint64_t(divisor - 1 - remainder) >> 63);
        remainder -= divisor & -carry;
        quotient += quotientStep + carry;
        return q;
    }
    // The bound in 32 bits, for the vector steps.
    RowBound Narrow() const {
        return {int32_t(quotient), int32_t(remainder), int32_t(divisor), int32_t(quotientStep),
                int32_t(remainderStep)};
    }
};

// The pixels a set-up triangle covers, row by row from the top of its box: on each row one run
// of pixels (a triangle's row is one run), those whose centres its edge functions put inside
// under the top-left rule. Each edge bounds the run by a quotient of whole numbers, stepped
// exactly from row to row. A coverage is read either by NextRow or by Rows.
class Coverage {
public:
    // Entries past the requested rows that Rows may write.
    static constexpr int kRowSlack = 7;

    explicit Coverage(const TriangleSetup& t);
    // The run of the next row (the box's top row first) as [*first, *last]; false when the row
    // has none.
    bool NextRow(int* first, int* last);
    // The runs of the next `count` rows as [first[r], last[r]], r from 0, as NextRow gives them;
    // a row without one has first > last. The arrays hold count + kRowSlack entries. False when
    // no row had one.
    bool Rows(int count, int* first, int* last) {
        return vector_ ? TriangleRowsAvx2(rows_, count, first, last)
               : starts_ == 1 ? StepRows<1>(count, first, last)
                              : StepRows<2>(count, first, last);
    }

private:
    template <int kStarts>
    bool StepRows(int count, int* first, int* last) {
        EdgeBound b0 = bounds_[0], b1 = bounds_[1], b2 = bounds_[2];
        const int64_t width = width_;
        int64_t widest = -1;
        for (int r = 0; r < count; ++r) {
            const int64_t q0 = b0.Step(), q1 = b1.Step(), q2 = b2.Step();
            // Kept within [0, width] and [-1, width - 1]: far quotients mean an empty row.
            const int64_t low = std::clamp<int64_t>(kStarts == 1 ? q0 : std::max(q0, q1), 0, width);
            const int64_t high = std::clamp<int64_t>(kStarts == 1 ? std::min(q1, q2) : q2, -1, width - 1);
            widest = std::max(widest, high - low);
            first[r] = left_ + int(low);
            last[r] = left_ + int(high);
        }
        bounds_[0] = b0;
        bounds_[1] = b1;
        bounds_[2] = b2;
        return widest >= 0;
    }

    EdgeBound bounds_[3];  // for the scalar steps, the bounds where runs start first
    int starts_ = 0;       // how many: 1 or 2 (a triangle has an edge on either side)
    int left_, width_;
    bool vector_;          // Rows steps eight rows at a time from rows_ (AVX2, divisors in range)
    TriangleRows rows_;    // the bounds by edge, in 32 bits
};

// The pixels of a parallelogram, the pair of triangles (a, b, c), (c, d, a) with a + c = b + d,
// row by row from the top of a box around both. A row's run is where all four sides put the
// pixel centres inside under the top-left rule: as the two triangles share the diagonal and
// the rule gives each pixel centre on it to one of them, that is exactly the pixels of both.
// The diagonal, under the same rule, splits each run between them.
class QuadCoverage {
public:
    static constexpr int kMaxRows = 256;

    // Corners a, b, c, d in subpixels, of non-zero area, within the guard band; the box around
    // them within the scissor. False where the rows are not to be had this way: more than
    // kMaxRows of them, a level diagonal, no AVX2, or bounds that 32-bit steps do not keep exact
    // (edges far taller than the box, or almost level and far from it).
    bool SetUp(const int64_t x[4], const int64_t y[4], const Rect& scissor);
    // The box: its first column and row, its last column.
    int left() const { return left_; }
    int top() const { return top_; }
    int right() const { return right_; }
    // Rows of the box from the top one that may have pixels (a level bottom side on a row of
    // pixel centres owns none of them); 0 when the box is empty.
    int rows() const { return count_; }
    // The runs of the rows as [first[r], last[r]] (first > last for none), the arrays holding
    // rows() + Coverage::kRowSlack entries; returns how many of the two triangles had a pixel.
    // Only when rows() > 0.
    int Rows(int* first, int* last) const { return QuadRowsAvx2(rows_, count_, first, last); }

private:
    QuadRows rows_;
    int left_ = 0, top_ = 0, right_ = -1;
    int count_ = 0;
};

// Whether a stage samples a triangle linearly: minification or magnification by the texel
// footprint of a pixel, from its coordinates' slopes.
bool UsesLinear(const StageSampler& s, double dudx, double dudy, double dvdx, double dvdy);

// An attribute over a triangle: at pixel (left + n, top + m) it is (origin + dy m) + dx n,
// evaluated in that order.
struct Plane {
    double dx, dy, origin;
};

// The plane through the attribute's values a0, a1, a2 at the triangle's corners.
inline Plane PlaneOf(const TriangleSetup& t, double a0, double a1, double a2) {
    const double d1 = a1 - a0, d2 = a2 - a0;
    Plane p;
    p.dx = (d1 * t.ey2 - d2 * t.ey1) / t.det * kSubpixelScale;
    p.dy = (d2 * t.ex1 - d1 * t.ex2) / t.det * kSubpixelScale;
    p.origin = a0 + p.dx * t.ox + p.dy * t.oy;  // at the first pixel of the box
    return p;
}

// Draws a set-up triangle whose corners share one rhw through the path's loops, with the bytes
// the general loop gives; false when it covered no pixel.
bool DrawAffineTriangle(const TrianglePath& path, const PipelineState& ps, const TriangleSetup& t,
                        Coverage& coverage);

// Draws a parallelogram pair (DrawParallelogram) of one colour as one walk over its runs, with
// the bytes its two triangles give: they have one texel plane for u and one for v. False, with
// nothing drawn, where that is not to be had (coordinates reaching too far for the walk, other
// sampling); else *covered is how many of the two covered a pixel centre.
bool DrawAffinePair(const TrianglePath& path, const PipelineState& ps, const TexelPlane& u, const TexelPlane& v,
                    const QuadCoverage& coverage, uint32_t color, int* covered);

// The loops for triangles in perspective (corners of differing rhw), chosen once per draw from
// the states; null when the states need the general loop (several stages, a narrow target, a
// colour write mask...).
class PerspectivePath;
const PerspectivePath* ChoosePerspectivePath(const PipelineState& ps);

// Draws a set-up triangle in perspective through the path's loops, with the bytes the general
// loop gives; false when no pixel of it passed the depth test.
bool DrawPerspectiveTriangle(const PerspectivePath& path, const PipelineState& ps,
                             const TriangleSetup& t, Coverage& coverage);

}  // namespace platform::gfx
