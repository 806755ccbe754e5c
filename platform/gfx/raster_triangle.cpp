// The general triangle path, lines and points.
//
// Positions are snapped to 1/256 pixel and tested with integer edge functions, so coverage is
// exact: a pixel centre on an edge belongs to the triangle when the edge is a top edge
// (horizontal, interior below) or a left edge, which makes two triangles sharing an edge cover
// every pixel once. Each row's run of pixels is found from the edge functions directly.
// Attributes are planes over the snapped positions, evaluated in double precision; when the
// vertices' rhw differ (perspective), attributes are interpolated divided by w and one
// reciprocal per pixel restores them. Without perspective, texels sampled by point come from
// the coordinates' planes in whole numbers (texel_plane.h). Triangles with and without
// perspective go to specialised loops when the draw has them.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "platform/gfx/raster.h"

namespace platform::gfx {

namespace {

// Attribute slots: depth, rhw, the four colour channels, two coordinates per stage.
constexpr int kDepth = 0, kRhw = 1, kColor = 2, kUv = 6;
constexpr int kAttributeCount = kUv + 2 * int(kStageCount);

void LoadAttributes(const ScreenVertex& v, bool perspective, double* out) {
    const double w = perspective ? v.rhw : 1.0;
    out[kDepth] = v.z;
    out[kRhw] = v.rhw;
    out[kColor + 0] = double(v.diffuse >> 24) * w;
    out[kColor + 1] = double((v.diffuse >> 16) & 0xFF) * w;
    out[kColor + 2] = double((v.diffuse >> 8) & 0xFF) * w;
    out[kColor + 3] = double(v.diffuse & 0xFF) * w;
    for (uint32_t s = 0; s < kStageCount; ++s) {
        out[kUv + 2 * s] = v.uv[s][0] * w;
        out[kUv + 2 * s + 1] = v.uv[s][1] * w;
    }
}

// Linear interpolation between two screen vertices (t from a to b), divided by w when the
// vertices are in perspective so that clipping keeps the attributes where they were.
ScreenVertex Lerp(const ScreenVertex& a, const ScreenVertex& b, float t) {
    ScreenVertex out;
    out.x = a.x + (b.x - a.x) * t;
    out.y = a.y + (b.y - a.y) * t;
    out.z = a.z + (b.z - a.z) * t;
    out.rhw = a.rhw + (b.rhw - a.rhw) * t;
    const float wa = a.rhw, wb = b.rhw;
    const bool perspective = wa != wb && out.rhw != 0.0f;
    auto mix = [&](float va, float vb) {
        return perspective ? (va * wa + (vb * wb - va * wa) * t) / out.rhw : va + (vb - va) * t;
    };
    uint32_t color = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const float c = mix(float(Channel(a.diffuse, shift)), float(Channel(b.diffuse, shift)));
        color |= RoundToByte(c) << shift;
    }
    out.diffuse = color;
    for (uint32_t s = 0; s < kStageCount; ++s) {
        out.uv[s][0] = mix(a.uv[s][0], b.uv[s][0]);
        out.uv[s][1] = mix(a.uv[s][1], b.uv[s][1]);
    }
    return out;
}

// Clips a polygon against one side of the guard band: keep points with sign x coord <= limit.
int ClipAgainst(const ScreenVertex* in, int n, ScreenVertex* out, bool useY, float sign) {
    auto value = [&](const ScreenVertex& v) { return sign * (useY ? v.y : v.x); };
    int m = 0;
    for (int i = 0; i < n; ++i) {
        const ScreenVertex& p = in[i];
        const ScreenVertex& q = in[(i + 1) % n];
        const float vp = value(p), vq = value(q);
        if (vp <= kGuardBand) out[m++] = p;
        if ((vp <= kGuardBand) != (vq <= kGuardBand)) {
            out[m++] = Lerp(p, q, (kGuardBand - vp) / (vq - vp));
        }
    }
    return m;
}

bool InsideGuardBand(const ScreenVertex& v) {
    return std::fabs(v.x) <= kGuardBand && std::fabs(v.y) <= kGuardBand;
}

// Whether a triangle of twice this signed area draws nothing: none, or culled.
bool Culled(const PipelineState& ps, int64_t area) {
    return area == 0 || (ps.cullMode == cull::kClockwise && area > 0) ||
           (ps.cullMode == cull::kCounterClockwise && area < 0);
}

}  // namespace

bool UsesLinear(const StageSampler& s, double dudx, double dudy, double dvdx, double dvdy) {
    if (s.linearMag == s.linearMin) return s.linearMag;
    const double sx = std::hypot(dudx * s.width, dvdx * s.height);
    const double sy = std::hypot(dudy * s.width, dvdy * s.height);
    return std::max(sx, sy) > 1.0 ? s.linearMin : s.linearMag;
}

bool SetUpTriangle(const PipelineState& ps, const ScreenVertex* v0, const ScreenVertex* v1,
                   const ScreenVertex* v2, TriangleSetup* out) {
    int64_t x0 = SnapToSubpixel(v0->x), y0 = SnapToSubpixel(v0->y);
    int64_t x1 = SnapToSubpixel(v1->x), y1 = SnapToSubpixel(v1->y);
    int64_t x2 = SnapToSubpixel(v2->x), y2 = SnapToSubpixel(v2->y);
    int64_t area = (x1 - x0) * (y2 - y0) - (y1 - y0) * (x2 - x0);
    if (Culled(ps, area)) return false;
    if (area < 0) {  // make the interior positive for every edge
        std::swap(v1, v2);
        std::swap(x1, x2);
        std::swap(y1, y2);
        area = -area;
    }
    TriangleSetup& t = *out;
    t.v[0] = v0;
    t.v[1] = v1;
    t.v[2] = v2;
    t.x[0] = x0; t.x[1] = x1; t.x[2] = x2;
    t.y[0] = y0; t.y[1] = y1; t.y[2] = y2;
    t.area = area;
    const int64_t minX = std::min({x0, x1, x2}), maxX = std::max({x0, x1, x2});
    const int64_t minY = std::min({y0, y1, y2}), maxY = std::max({y0, y1, y2});
    const int64_t one = int64_t(1) << kSubpixelBits;
    t.left = int(std::max<int64_t>(ps.scissor.left, (minX + one - 1) >> kSubpixelBits));
    t.right = int(std::min<int64_t>(ps.scissor.right - 1, maxX >> kSubpixelBits));
    t.top = int(std::max<int64_t>(ps.scissor.top, (minY + one - 1) >> kSubpixelBits));
    t.bottom = int(std::min<int64_t>(ps.scissor.bottom - 1, maxY >> kSubpixelBits));
    t.det = double(area);
    t.ex1 = double(x1 - x0);
    t.ey1 = double(y1 - y0);
    t.ex2 = double(x2 - x0);
    t.ey2 = double(y2 - y0);
    t.ox = double(t.left) - double(x0) / kSubpixelScale;
    t.oy = double(t.top) - double(y0) / kSubpixelScale;
    return true;
}

namespace {

// m = quotient d + remainder with the remainder in [0, d), for d > 0.
void DivideFloor(int64_t m, int64_t d, int64_t* quotient, int64_t* remainder) {
    const int64_t q = m / d, r = m - q * d;
    const int64_t below = r >> 63;  // all ones where m / d was rounded up, towards zero
    *quotient = q + below;
    *remainder = r + (d & below);
}

}  // namespace

[[gnu::always_inline]] inline EdgeBound EdgeBound::Of(int64_t fromX, int64_t fromY, int64_t toX, int64_t toY,
                                                       int left, int top, int width, bool levelStarts,
                                                       const EdgeBound* opposite) {
    const int64_t one = int64_t(1) << kSubpixelBits;
    const int64_t sx = int64_t(left) << kSubpixelBits, sy = int64_t(top) << kSubpixelBits;
    // E(x, y) = a x + b y + c, >= 0 inside; edges that are not top or left edges do not own the
    // pixel centres on them.
    const int64_t a = fromY - toY, b = toX - fromX;
    const bool topLeft = a > 0 || (a == 0 && b > 0);
    const int64_t c = (toY - fromY) * fromX - (toX - fromX) * fromY - (topLeft ? 0 : 1);
    // Pixel n of the top row (from the box's left) is inside when e0 + step n >= 0; a row down
    // adds b one to e0.
    const int64_t e0 = a * sx + b * sy + c, step = a * one, rowStep = b * one;
    EdgeBound bound;
    if (step == 0) {
        // A level edge takes the whole row when e0 >= 0 and none of it otherwise: as a start,
        // n >= -e0 (width + 1) is that; as an end, n <= e0 (width + 1) + width - 1 (the box is
        // at most 2^15 wide and e0 below 2^47, so this stays within 64 bits).
        bound.startMask = levelStarts ? -1 : 0;
        bound.divisor = 1;
        bound.quotient = levelStarts ? -e0 * (width + 1) : e0 * (width + 1) + width - 1;
        bound.quotientStep = (levelStarts ? -rowStep : rowStep) * (width + 1);
        bound.remainder = bound.remainderStep = 0;
        return bound;
    }
    // Where step > 0, n >= ceil(-e0 / step) = floor((step - 1 - e0) / step) starts the run;
    // where step < 0, n <= floor(e0 / -step) ends it. Masks rather than branches: the sign is
    // either from triangle to triangle.
    const int64_t negative = step >> 63;
    bound.startMask = ~negative;
    bound.divisor = (step ^ negative) - negative;
    const int64_t m = e0 + (bound.startMask & (step - 1 - 2 * e0));
    DivideFloor(m, bound.divisor, &bound.quotient, &bound.remainder);
    if (opposite) {
        // Its a and b are the other's negated, and it bounds the other end of the runs: the
        // same divisor and the same change a row.
        bound.quotientStep = opposite->quotientStep;
        bound.remainderStep = opposite->remainderStep;
    } else {
        const int64_t change = (rowStep ^ bound.startMask) - bound.startMask;
        DivideFloor(change, bound.divisor, &bound.quotientStep, &bound.remainderStep);
    }
    return bound;
}

Coverage::Coverage(const TriangleSetup& t) : left_(t.left), width_(t.right - t.left + 1) {
    // The corners by height (two at one height may be taken in either order).
    int top = t.y[1] < t.y[0] ? 1 : 0, bottom = t.y[1] >= t.y[0] ? 1 : 0;
    top = t.y[2] < t.y[top] ? 2 : top;
    bottom = t.y[2] >= t.y[bottom] ? 2 : bottom;
    const int middle = 3 - top - bottom;
    // The long edge, from the top corner to the bottom one, is never level and bounds the runs
    // on one side; the other two bound them on the other side, a level one included.
    // The edge opposite corner k runs from corner k + 1 to corner k + 2.
    auto opposite = [&](int k, bool levelStarts) __attribute__((always_inline)) {
        const int from = (k + 1) % 3, to = (k + 2) % 3;
        return EdgeBound::Of(t.x[from], t.y[from], t.x[to], t.y[to], t.left, t.top, width_, levelStarts);
    };
    bounds_[0] = opposite(middle, false);
    const bool longStarts = bounds_[0].startMask != 0;
    bounds_[1] = opposite(bottom, !longStarts);
    bounds_[2] = opposite(top, !longStarts);
    const int64_t one = int64_t(1) << kSubpixelBits;
    const int64_t middleRow = ((t.y[middle] + one - 1) >> kSubpixelBits) - t.top;
    rows_ = {bounds_[0].Narrow(), bounds_[1].Narrow(), bounds_[2].Narrow(), longStarts,
             int(std::clamp<int64_t>(middleRow, 0, std::max(t.bottom - t.top + 1, 0))), left_, width_};
    vector_ = UseAvx2() && std::max({bounds_[0].divisor, bounds_[1].divisor, bounds_[2].divisor}) < kRowBoundDivisorLimit;
    if (vector_) return;
    // For the scalar steps the starts are put first.
    if (bounds_[0].startMask == 0) std::swap(bounds_[0], bounds_[bounds_[1].startMask != 0 ? 1 : 2]);
    if (bounds_[1].startMask == 0 && bounds_[2].startMask != 0) std::swap(bounds_[1], bounds_[2]);
    starts_ = bounds_[1].startMask != 0 ? 2 : 1;
}

bool Coverage::NextRow(int* first, int* last) {
    int64_t low = 0, high = width_ - 1;
    for (EdgeBound& bound : bounds_) {
        // Masks rather than branches: which edge bounds which end changes from triangle to
        // triangle, and the carry from row to row.
        const int64_t q = bound.quotient;
        low = std::max(low, q & bound.startMask);  // low is 0 or more already
        high = std::min(high, (q & ~bound.startMask) | (high & bound.startMask));
        bound.remainder += bound.remainderStep;
        const int64_t carry = int64_t(uint64_t(bound.divisor - 1 - bound.remainder) >> 63);
        bound.remainder -= bound.divisor & -carry;
        bound.quotient += bound.quotientStep + carry;
    }
    if (low > high) return false;
    *first = left_ + int(low);
    *last = left_ + int(high);
    return true;
}

namespace {

bool RasterizeTriangle(const PipelineState& ps, const ScreenVertex* a, const ScreenVertex* b,
                       const ScreenVertex* c) {
    TriangleSetup t;
    if (!SetUpTriangle(ps, a, b, c, &t)) return false;
    const int left = t.left, right = t.right, top = t.top, bottom = t.bottom;
    if (left > right || top > bottom) return false;
    const ScreenVertex *v0 = t.v[0], *v1 = t.v[1], *v2 = t.v[2];
    Coverage coverage(t);
    const bool perspective = v0->rhw != v1->rhw || v0->rhw != v2->rhw;
    if (ps.triangles && !perspective) return DrawAffineTriangle(*ps.triangles, ps, t, coverage);
    if (ps.perspective && perspective) return DrawPerspectiveTriangle(*ps.perspective, ps, t, coverage);

    double a0[kAttributeCount], a1[kAttributeCount], a2[kAttributeCount];
    LoadAttributes(*v0, perspective, a0);
    LoadAttributes(*v1, perspective, a1);
    LoadAttributes(*v2, perspective, a2);
    double dx[kAttributeCount], dy[kAttributeCount], origin[kAttributeCount];
    for (int i = 0; i < kAttributeCount; ++i) {
        const Plane p = PlaneOf(t, a0[i], a1[i], a2[i]);
        dx[i] = p.dx;
        dy[i] = p.dy;
        origin[i] = p.origin;
    }
    const bool flat = ps.flatShade || (v0->diffuse == v1->diffuse && v0->diffuse == v2->diffuse);
    const uint32_t flatColor = v0->diffuse;
    bool linear[kStageCount] = {};
    // Without perspective, stages sampled by point take their texels from whole numbers.
    TexelPlane pointU[kStageCount], pointV[kStageCount];
    for (int s = 0; s < ps.stageCount; ++s) {
        const int u = kUv + 2 * s;
        const StageSampler& sampler = ps.samplers[s];
        linear[s] = UsesLinear(sampler, dx[u], dy[u], dx[u + 1], dy[u + 1]);
        if (!perspective && !linear[s]) {
            pointU[s] = TexelPlaneOf(t, s, 0, sampler.width);
            pointV[s] = TexelPlaneOf(t, s, 1, sampler.height);
        }
    }

    bool drew = false;
    double row[kAttributeCount];
    for (int py = top; py <= bottom; ++py) {
        int first, last;
        if (!coverage.NextRow(&first, &last)) continue;
        for (int i = 0; i < kAttributeCount; ++i) row[i] = origin[i] + dy[i] * (py - top);
        uint32_t* target = ps.target + size_t(py) * size_t(ps.targetPitch);
        float* depthRow = ps.depth ? ps.depth + size_t(py) * size_t(ps.depthPitch) : nullptr;
        for (int px = first; px <= last; ++px) {
            const int n = px - left;
            auto at = [&](int i) { return row[i] + dx[i] * n; };
            const double w = perspective ? 1.0 / at(kRhw) : 1.0;
            const float z = float(at(kDepth));
            if (ps.depthTest && !Compare(ps.depthFunc, z, depthRow[px])) continue;
            const uint32_t diffuse =
                flat ? flatColor
                     : Pack(RoundToByte(at(kColor) * w), RoundToByte(at(kColor + 1) * w),
                            RoundToByte(at(kColor + 2) * w), RoundToByte(at(kColor + 3) * w));
            uint32_t texels[kStageCount];
            for (int s = 0; s < ps.stageCount; ++s) {
                texels[s] = !perspective && !linear[s]
                                ? SamplePoint(ps.samplers[s], pointU[s].At(px, py), pointV[s].At(px, py))
                                : SampleStage(ps.samplers[s], at(kUv + 2 * s) * w, at(kUv + 2 * s + 1) * w,
                                              linear[s]);
            }
            if (ShadePixel(ps, diffuse, texels, target + px) && ps.depthWrite && depthRow) {
                depthRow[px] = z;
            }
            drew = true;
        }
    }
    return drew;
}

}  // namespace

bool QuadCoverage::SetUp(const int64_t x[4], const int64_t y[4], const Rect& scissor) {
    const int64_t one = int64_t(1) << kSubpixelBits;
    left_ = int(std::max<int64_t>(scissor.left, (*std::min_element(x, x + 4) + one - 1) >> kSubpixelBits));
    right_ = int(std::min<int64_t>(scissor.right - 1, *std::max_element(x, x + 4) >> kSubpixelBits));
    top_ = int(std::max<int64_t>(scissor.top, (*std::min_element(y, y + 4) + one - 1) >> kSubpixelBits));
    const int bottom = int(std::min<int64_t>(scissor.bottom - 1, *std::max_element(y, y + 4) >> kSubpixelBits));
    count_ = left_ > right_ ? 0 : std::max(bottom - top_ + 1, 0);
    if (count_ > kMaxRows || !UseAvx2()) return false;
    const int width = right_ - left_ + 1;
    // The corners in the order that puts the interior inside each side's edge function, as a
    // triangle's are: q0 q1 q2 is then triangle (a, b, c) or, reversed, (a, d, c) = (c, d, a).
    const bool reversed = (x[1] - x[0]) * (y[2] - y[0]) - (y[1] - y[0]) * (x[2] - x[0]) < 0;
    const int order[4] = {0, reversed ? 3 : 1, 2, reversed ? 1 : 3};
    // Quotients below this in every row stay exact in 32 bits, as do their steps.
    constexpr int64_t kReach = int64_t(1) << 29;
    // Inlined: as a call, five a pair, it made the pair's set-up a tenth dearer.
    auto edge = [&](int from, int to, EdgeBound* bound, const EdgeBound* opposite = nullptr)
                    __attribute__((always_inline)) {
        *bound = EdgeBound::Of(x[from], y[from], x[to], y[to], left_, top_, width, false, opposite);
        // The last row's quotient lies within `steps` above q0 + quotientStep steps, as the
        // remainders stay below the divisor.
        const int64_t steps = std::max(count_ - 1, 0);
        const int64_t last = bound->quotient + bound->quotientStep * steps;
        return bound->divisor < kRowBoundDivisorLimit && std::abs(bound->quotient) < kReach &&
               std::abs(bound->quotientStep) < kReach && last > -kReach && last + steps < kReach;
    };
    // Opposite sides run opposite ways: of two that are not level, one starts the runs and the
    // other ends them. Level ones take whole rows, the top side every row and the bottom side
    // all but the row it lies on, when that is a row of pixel centres: they bound no run.
    for (int k = 0; k < 2; ++k) {
        const int from = order[k], to = order[k + 1];
        if (y[from] != y[to]) {
            EdgeBound near, far;
            if (!edge(from, to, &near) || !edge(order[k + 2], order[(k + 3) % 4], &far, &near)) return false;
            rows_.sides[k][0] = (near.startMask != 0 ? near : far).Narrow();
            rows_.sides[k][1] = (near.startMask != 0 ? far : near).Narrow();
            continue;
        }
        constexpr int32_t kFar = int32_t(1) << 30;
        rows_.sides[k][0] = {-kFar, 0, 1, 0, 0};
        rows_.sides[k][1] = {kFar, 0, 1, 0, 0};
        // The bottom side is the one that runs leftwards.
        const int64_t bottomSide = x[to] < x[from] ? y[from] : y[order[k + 2]];
        count_ = std::clamp(int(((bottomSide + one - 1) >> kSubpixelBits) - top_), 0, count_);
    }
    // The diagonal from q2 to q0 has triangle q0 q1 q2 on its inner side.
    EdgeBound diagonal;
    if (y[order[2]] == y[order[0]] || !edge(order[2], order[0], &diagonal)) return false;
    rows_.diagonal = diagonal.Narrow();
    rows_.diagonalStarts = diagonal.startMask != 0;
    rows_.left = left_;
    rows_.width = width;
    return true;
}

bool DrawParallelogram(const PipelineState& ps, const ScreenVertex* const pair[6], int* covered) {
    const ScreenVertex &a = *pair[0], &b = *pair[1], &c = *pair[2], &d = *pair[4];
    if (!ps.triangles || std::memcmp(pair[3], &c, sizeof c) != 0 || std::memcmp(pair[5], &a, sizeof a) != 0) {
        return false;
    }
    for (const ScreenVertex* p : {&a, &b, &c, &d}) {
        if (!InsideGuardBand(*p) || p->rhw != a.rhw || p->diffuse != a.diffuse) return false;
    }
    const int64_t x[4] = {SnapToSubpixel(a.x), SnapToSubpixel(b.x), SnapToSubpixel(c.x), SnapToSubpixel(d.x)};
    const int64_t y[4] = {SnapToSubpixel(a.y), SnapToSubpixel(b.y), SnapToSubpixel(c.y), SnapToSubpixel(d.y)};
    if (x[0] + x[2] != x[1] + x[3] || y[0] + y[2] != y[1] + y[3]) return false;
    // The corners' texel coordinates, and the first triangle's plane of each, which is the
    // pair's. The two triangles have the same area and winding, so the cull mode keeps both or
    // neither.
    const StageSampler& sampler = ps.samplers[0];
    int64_t u[4], v[4];
    for (int k = 0; k < 4; ++k) {
        const ScreenVertex& corner = k == 3 ? d : *pair[k];
        u[k] = TexelUnits(corner.uv[0][0], sampler.width);
        v[k] = TexelUnits(corner.uv[0][1], sampler.height);
    }
    QuadCoverage coverage;
    if (u[0] + u[2] != u[1] + u[3] || v[0] + v[2] != v[1] + v[3] ||
        Culled(ps, (x[1] - x[0]) * (y[2] - y[0]) - (y[1] - y[0]) * (x[2] - x[0])) ||
        !coverage.SetUp(x, y, ps.scissor)) {
        return false;
    }
    return DrawAffinePair(*ps.triangles, ps, TexelPlaneOf(x, y, u), TexelPlaneOf(x, y, v), coverage, a.diffuse,
                          covered);
}

bool DrawTriangle(const PipelineState& ps, const ScreenVertex& a, const ScreenVertex& b,
                  const ScreenVertex& c) {
    if (InsideGuardBand(a) && InsideGuardBand(b) && InsideGuardBand(c)) {
        return RasterizeTriangle(ps, &a, &b, &c);
    }
    for (const ScreenVertex* v : {&a, &b, &c}) {
        if (!std::isfinite(v->x) || !std::isfinite(v->y)) return false;  // no place to draw
    }
    // Far-reaching triangles (3D close to the eye) are cut to the guard band first so that the
    // edge functions stay within 64 bits; the pieces keep the triangle's winding.
    std::array<ScreenVertex, 9> polygon{a, b, c}, scratch{};
    int n = 3;
    n = ClipAgainst(polygon.data(), n, scratch.data(), false, 1.0f);
    n = ClipAgainst(scratch.data(), n, polygon.data(), false, -1.0f);
    n = ClipAgainst(polygon.data(), n, scratch.data(), true, 1.0f);
    n = ClipAgainst(scratch.data(), n, polygon.data(), true, -1.0f);
    bool drew = false;
    for (int i = 1; i + 1 < n; ++i) {
        drew |= RasterizeTriangle(ps, &polygon[0], &polygon[size_t(i)], &polygon[size_t(i) + 1]);
    }
    return drew;
}

namespace {

void ShadeAt(const PipelineState& ps, const ScreenVertex& v, int px, int py) {
    const Rect& r = ps.scissor;
    if (px < r.left || px >= r.right || py < r.top || py >= r.bottom) return;
    float* depth = ps.depth ? ps.depth + size_t(py) * size_t(ps.depthPitch) + size_t(px) : nullptr;
    if (ps.depthTest && depth && !Compare(ps.depthFunc, v.z, *depth)) return;
    uint32_t texels[kStageCount];
    for (int s = 0; s < ps.stageCount; ++s) {
        texels[s] = SampleStage(ps.samplers[s], v.uv[s][0], v.uv[s][1], ps.samplers[s].linearMag);
    }
    uint32_t* target = ps.target + size_t(py) * size_t(ps.targetPitch) + size_t(px);
    if (ShadePixel(ps, v.diffuse, texels, target) && ps.depthWrite && depth) *depth = v.z;
}

// The pixel nearest a coordinate, within the guard band; not-a-number lies off every target.
int PixelOf(float v) {
    if (!(v == v)) return -1;
    return int(std::floor(std::clamp(v, -kGuardBand, kGuardBand) + 0.5f));
}

}  // namespace

// Lines step one pixel along their longer axis and light the pixel nearest the line at each
// step, both ends included.
void DrawLine(const PipelineState& ps, const ScreenVertex& a, const ScreenVertex& b) {
    const int ax = PixelOf(a.x), ay = PixelOf(a.y), bx = PixelOf(b.x), by = PixelOf(b.y);
    const int steps = std::max(std::abs(bx - ax), std::abs(by - ay));
    for (int i = 0; i <= steps; ++i) {
        const float t = steps ? float(i) / float(steps) : 0.0f;
        const ScreenVertex v = Lerp(a, b, t);
        ShadeAt(ps, v, PixelOf(v.x), PixelOf(v.y));
    }
}

void DrawPoint(const PipelineState& ps, const ScreenVertex& a) {
    ShadeAt(ps, a, PixelOf(a.x), PixelOf(a.y));
}

}  // namespace platform::gfx
