// The specialised loops for triangles whose corners share one rhw: every 2D sprite, turned,
// scaled or not, and every flat 3D draw without a depth test.
//
// A row's run of pixels is drawn in two steps: its source colours are read into a buffer by a
// loop fixed for the triangle (texture sampled by point or linearly or none, Gouraud colour or
// one colour), then written into the target by a loop fixed for the draw (tint, alpha test,
// blend kind), source-alpha blending eight pixels at a time where AVX2 is at hand. Attributes
// are the general loop's planes evaluated with its own arithmetic, row value plus step times
// pixel, so every sample and every byte is the one it gives.
#include <algorithm>
#include <cmath>
#include <new>
#include <type_traits>

#include "platform/gfx/raster.h"
#include "platform/gfx/span_avx2.h"

namespace platform::gfx {

namespace {

// Pixels a buffer holds: longer runs are drawn a piece at a time.
constexpr int kSpanPixels = 512;

// What the read loops need of a triangle: the planes of stage 0's coordinates and of the four
// colour channels (alpha, red, green, blue), each evaluated at the row's first box pixel.
struct AffineRow {
    const StageSampler* sampler;
    double u, du, v, dv;
    double color[4], dcolor[4];
};

enum SourceKind { kNoTexture, kPointTexture, kLinearTexture, kSourceKinds };

// Source colours of pixels from, from + 1, ... (counted from the box's left) into out: the
// texel, modulated by the Gouraud colour when there is one; the colour alone without a texture.
// A single colour is applied by the write loop instead (as a tint).
template <int kSource, bool kGouraud>
void ReadSpan(const AffineRow& r, int from, int count, uint32_t* out) {
    for (int i = 0; i < count; ++i) {
        const int n = from + i;
        uint32_t c = 0xFFFFFFFF;
        if constexpr (kSource == kPointTexture) {
            const StageSampler& s = *r.sampler;
            const int tx = PointTexel(r.u + r.du * n, s.width);
            const int ty = PointTexel(r.v + r.dv * n, s.height);
            c = unsigned(tx) < unsigned(s.width) && unsigned(ty) < unsigned(s.height)
                    ? s.texels[size_t(ty) * size_t(s.width) + size_t(tx)]
                    : FetchTexel(s, tx, ty);
        } else if constexpr (kSource == kLinearTexture) {
            c = SampleStage(*r.sampler, r.u + r.du * n, r.v + r.dv * n, true);
        }
        if constexpr (kGouraud) {
            const uint32_t diffuse =
                Pack(RoundToByte(r.color[0] + r.dcolor[0] * n), RoundToByte(r.color[1] + r.dcolor[1] * n),
                     RoundToByte(r.color[2] + r.dcolor[2] * n), RoundToByte(r.color[3] + r.dcolor[3] * n));
            c = kSource == kNoTexture ? diffuse : Modulate(c, diffuse);
        }
        out[i] = c;
    }
}

using ReadRoutine = void (*)(const AffineRow&, int, int, uint32_t*);

template <int kSource>
constexpr ReadRoutine kReads[2] = {&ReadSpan<kSource, false>, &ReadSpan<kSource, true>};

const ReadRoutine* const kReadTable[kSourceKinds] = {kReads<kNoTexture>, kReads<kPointTexture>,
                                                     kReads<kLinearTexture>};

// Writes source colours into the target: tinted by the single colour, alpha-tested, blended.
template <bool kTint, bool kAlphaTest, int kBlend>
void WriteSpan(const PipelineState& ps, const uint32_t* src, int count, uint32_t color, uint32_t* dst) {
    const uint32_t alphaOr = ps.alphaOr;
    int i = 0;
    if constexpr (!kAlphaTest && kBlend == kAlphaBlend) {
        if (UseAvx2()) {
            const int rows[1] = {0}, columns[1] = {0};
            i = BlendRectAvx2(src, 0, rows, columns, TexelRun::kStraight, count, 1, kTint, color,
                              dst, 0, alphaOr);
        }
    }
    for (; i < count; ++i) {
        uint32_t c = src[i];
        if constexpr (kTint) c = Modulate(c, color);
        if constexpr (kAlphaTest) {
            if (!CompareAlpha(ps.alphaFunc, c >> 24, ps.alphaRef)) continue;
        }
        if constexpr (kBlend == kAlphaBlend) c = BlendSourceAlpha(c, dst[i]);
        if constexpr (kBlend == kGenericBlend) c = BlendPixel(ps, c, dst[i]);
        dst[i] = c | alphaOr;
    }
}

using WriteRoutine = void (*)(const PipelineState&, const uint32_t*, int, uint32_t, uint32_t*);

// The walk's coordinates reach up to 2^10 texels from 0.
constexpr double kFixedReach = 1024.0;
// Boxes wider or taller than this are drawn a run at a time.
constexpr int kMaxWalkSide = 1024;

// floor(x) for |x| below 2^62.
int64_t FloorOf(double x) {
    const int64_t truncated = int64_t(x);
    return truncated - (double(truncated) > x ? 1 : 0);
}

// Sets up the fixed-point walk of a point-sampled triangle: false when its box or its
// coordinates reach too far for it.
//
// The triangle path samples pixel n of box row m at x = ((origin + dy m) + dx n) size, in
// double precision, with an error below 2^-30 texel within the reach. The walk's coordinate
// starts from floor(x 2^20) at the box's corner and steps by the slopes rounded to whole units,
// so it is within 1 + (m + n) / 2 units of x (and a little more from the rounding of the
// slopes). A margin of 3 + (width + height) / 2 units, and `extra` more, is added to it: where
// its fraction is at least twice the margin, its whole part is floor(x).
bool SetUpWalk(const PipelineState& ps, const TriangleSetup& t, const Plane& u, const Plane& v, TexelWalk* walk,
               int extra = 0) {
    const int width = t.right - t.left + 1, height = t.bottom - t.top + 1;
    if (width > kMaxWalkSide || height > kMaxWalkSide) return false;
    const StageSampler& s = ps.samplers[0];
    const int32_t margin = 3 + (width + height) / 2 + extra;
    const double unit = double(1 << kWalkShift);
    // The axis's lanes and steps, and whether the box's corners sample inside the texture
    // (then every pixel of it does). Inlined: a call for each axis costs more than its work.
    auto axis = [&](const Plane& p, int size, int32_t* lanes, int32_t* row, int32_t* pixel,
                    bool* inside) __attribute__((always_inline)) {
        const double scale = double(size);
        // Lanes reach up to seven pixels past the box.
        const double reach = std::fabs(p.origin * scale) + std::fabs(p.dy * scale) * height +
                             std::fabs(p.dx * scale) * (width + 8);
        if (!(reach < kFixedReach)) return false;  // also not a number
        const int64_t start = FloorOf(p.origin * scale * unit) + margin;
        const int64_t dx = FloorOf(p.dx * scale * unit + 0.5), dy = FloorOf(p.dy * scale * unit + 0.5);
        for (int k = 0; k < 8; ++k) lanes[k] = int32_t(start + dx * k);
        *row = int32_t(dy);
        *pixel = int32_t(dx);
        const int64_t across = dx * (width - 1), down = dy * (height - 1);
        const int64_t low = start + std::min<int64_t>(across, 0) + std::min<int64_t>(down, 0);
        const int64_t high = start + std::max<int64_t>(across, 0) + std::max<int64_t>(down, 0);
        *inside = *inside && (low >> kWalkShift) >= 0 && (high >> kWalkShift) < size;
        return true;
    };
    bool inside = true;
    if (!axis(u, s.width, walk->u, &walk->uRow, &walk->uPixel, &inside) ||
        !axis(v, s.height, walk->v, &walk->vRow, &walk->vPixel, &inside)) {
        return false;
    }
    walk->texels = s.texels;
    walk->width = s.width;
    walk->height = s.height;
    walk->near = 2 * margin;
    walk->inside = inside;
    return true;
}

}  // namespace

class TrianglePath {
public:
    WriteRoutine write[2];  // untinted, tinted
    bool textured;
    bool sourceAlpha;  // source-alpha blending, no alpha test: the whole row in one vector loop
};

namespace {

// The paths of one texture presence and alpha test, by blend kind.
template <bool kTextured, bool kAlphaTest>
const TrianglePath* PathOf(BlendKind kind) {
    static const TrianglePath kPaths[kBlendKinds] = {
        {{&WriteSpan<false, kAlphaTest, kOpaque>, &WriteSpan<true, kAlphaTest, kOpaque>}, kTextured, false},
        {{&WriteSpan<false, kAlphaTest, kAlphaBlend>, &WriteSpan<true, kAlphaTest, kAlphaBlend>}, kTextured,
         !kAlphaTest},
        {{&WriteSpan<false, kAlphaTest, kGenericBlend>, &WriteSpan<true, kAlphaTest, kGenericBlend>},
         kTextured, false}};
    return &kPaths[kind];
}

}  // namespace

const TrianglePath* ChooseTrianglePath(const PipelineState& ps) {
    if (ps.quantize || ps.depthTest || ps.colorWriteMask != 0xF || ps.stageCount > 1 ||
        !ps.modulateOnly) {
        return nullptr;
    }
    const StageSampler& s = ps.samplers[0];
    // A texture drawn onto itself must be read pixel by pixel as it is written.
    if (ps.stageCount == 1 && s.texels == ps.target) return nullptr;
    const bool textured = ps.stageCount == 1 && s.texels != nullptr;
    const BlendKind kind = BlendKindOf(ps);
    if (AlphaTestMatters(ps)) return textured ? PathOf<true, true>(kind) : PathOf<false, true>(kind);
    return textured ? PathOf<true, false>(kind) : PathOf<false, false>(kind);
}

namespace {

// A triangle's planes and loops, chosen once: draws runs of its pixels through a buffer.
class AffineTriangle {
public:
    AffineTriangle(const TrianglePath& path, const PipelineState& ps, const TriangleSetup& t) : ps_(ps), t_(t) {
        const ScreenVertex *v0 = t.v[0], *v1 = t.v[1], *v2 = t.v[2];
        gouraud_ = !ps.flatShade && (v0->diffuse != v1->diffuse || v0->diffuse != v2->diffuse);
        color_ = v0->diffuse;
        // Only the fields the triangle's loops read are set: zeroing the rest costs more than a
        // small triangle's set-up.
        row_.sampler = &ps.samplers[0];
        source_ = kNoTexture;
        if (path.textured) {
            u_ = PlaneOf(t, double(v0->uv[0][0]), double(v1->uv[0][0]), double(v2->uv[0][0]));
            v_ = PlaneOf(t, double(v0->uv[0][1]), double(v1->uv[0][1]), double(v2->uv[0][1]));
            source_ = UsesLinear(*row_.sampler, u_.dx, u_.dy, v_.dx, v_.dy) ? kLinearTexture : kPointTexture;
            row_.du = u_.dx;
            row_.dv = v_.dx;
        }
        if (gouraud_) {
            for (int k = 0; k < 4; ++k) {
                const int shift = 24 - 8 * k;
                channels_[k] = PlaneOf(t, double(Channel(v0->diffuse, shift)), double(Channel(v1->diffuse, shift)),
                                       double(Channel(v2->diffuse, shift)));
                row_.dcolor[k] = channels_[k].dx;
            }
        }
        read_ = kReadTable[source_][gouraud_ ? 1 : 0];
        // A single colour tints the texels as they are written; without a texture it is the source.
        tint_ = path.textured && !gouraud_ && color_ != 0xFFFFFFFF;
        write_ = path.write[tint_ ? 1 : 0];
        fill_ = !path.textured && !gouraud_;
        if (fill_) std::fill(buffer_, buffer_ + std::min(kSpanPixels, t.right - t.left + 1), color_);
    }

    // Point-sampled texels blended by source alpha, which the walk can read and blend together.
    bool Walkable(const TrianglePath& path) const {
        return path.sourceAlpha && source_ == kPointTexture && !gouraud_ && UseAvx2();
    }
    const Plane& u() const { return u_; }
    const Plane& v() const { return v_; }
    bool tint() const { return tint_; }
    uint32_t color() const { return color_; }

    // Pixels [from, from + count) of box row r, count up to kSpanPixels.
    void DrawRun(int r, int from, int count) {
        row_.u = u_.origin + u_.dy * r;
        row_.v = v_.origin + v_.dy * r;
        if (gouraud_) {
            for (int k = 0; k < 4; ++k) row_.color[k] = channels_[k].origin + channels_[k].dy * r;
        }
        if (!fill_) read_(row_, from - t_.left, count, buffer_);
        write_(ps_, buffer_, count, color_, ps_.target + size_t(t_.top + r) * size_t(ps_.targetPitch) + from);
    }

private:
    const PipelineState& ps_;
    const TriangleSetup& t_;
    AffineRow row_;
    Plane u_{}, v_{}, channels_[4];
    SourceKind source_;
    bool gouraud_, tint_, fill_;
    uint32_t color_;
    ReadRoutine read_;
    WriteRoutine write_;
    uint32_t buffer_[kSpanPixels];
};

// A triangle of a pair set up only when one of its pixels is first sampled on its own. Its
// storage is left as it is until then: std::optional would zero it, a span buffer, at a cost a
// small sprite notices.
class LazyTriangle {
public:
    LazyTriangle() {}
    // The triangle *corners[0..2], which covers a pixel centre.
    void Make(const TrianglePath& path, const PipelineState& ps, const ScreenVertex* const corners[3]) {
        SetUpTriangle(ps, corners[0], corners[1], corners[2], &setup);
        new (&triangle) AffineTriangle(path, ps, setup);
        made = true;
    }

    bool made = false;
    TriangleSetup setup;
    union {
        AffineTriangle triangle;
    };
};
static_assert(std::is_trivially_destructible_v<AffineTriangle>);

// Rows a walk takes at once.
constexpr int kWalkRows = 256;

// Walks the runs [first[r], last[r]] of `count` rows of a box, run r on box row top + r; the box's
// row 0 is target row boxTop and its pixel 0 is column left. A group of eight the walk cannot be
// sure of is handed to sample(r, x, n), for pixels [x, x + n) of run r.
template <class Sample>
void Walk(const PipelineState& ps, const TexelWalk& walk, const int* first, const int* last, int count, int top,
          int boxTop, int left, bool tint, uint32_t color, Sample&& sample) {
    uint32_t* target = ps.target + size_t(boxTop + top) * size_t(ps.targetPitch);
    const WalkRows walkRows{first, last, count, top, left, target, ps.targetPitch,
                            int64_t(ps.scissor.bottom - boxTop - top) * ps.targetPitch};
    int r = 0, x = first[0];
    while (!BlendWalkAvx2(walk, walkRows, tint, color, ps.alphaOr, &r, &x)) {
        const int n = std::min(8, last[r] - x + 1);
        sample(r, x, n);
        x += n;
        if (x > last[r] && ++r < count) x = first[r];
    }
}

}  // namespace

bool DrawAffineTriangle(const TrianglePath& path, const PipelineState& ps, const TriangleSetup& t,
                        Coverage& coverage) {
    AffineTriangle triangle(path, ps, t);
    TexelWalk walk;
    const bool walking = triangle.Walkable(path) && SetUpWalk(ps, t, triangle.u(), triangle.v(), &walk);
    bool drew = false;
    const int rows = t.bottom - t.top + 1;
    int firsts[kWalkRows + Coverage::kRowSlack], lasts[kWalkRows + Coverage::kRowSlack];
    for (int top = 0; top < rows; top += kWalkRows) {
        const int count = std::min(kWalkRows, rows - top);
        if (!coverage.Rows(count, firsts, lasts)) continue;
        drew = true;
        if (!walking) {
            for (int r = 0; r < count; ++r) {
                for (int from = firsts[r]; from <= lasts[r]; from += kSpanPixels) {
                    triangle.DrawRun(top + r, from, std::min(kSpanPixels, lasts[r] - from + 1));
                }
            }
            continue;
        }
        // The vector loop stops at eight pixels it cannot be sure of; they are sampled one by
        // one.
        Walk(ps, walk, firsts, lasts, count, top, t.top, t.left, triangle.tint(), triangle.color(),
             [&](int r, int x, int n) { triangle.DrawRun(top + r, x, n); });
    }
    return drew;
}

bool DrawAffinePair(const TrianglePath& path, const PipelineState& ps, const TriangleSetup& box,
                    const QuadCoverage& coverage, const ScreenVertex* const pair[6], int* covered) {
    *covered = 0;
    const int rows = coverage.rows();
    if (rows == 0) return true;
    // Sampled by point whatever the footprint, so neither triangle's own slopes are needed to
    // choose its loop.
    const StageSampler& sampler = ps.samplers[0];
    if (!path.sourceAlpha || !path.textured || sampler.linearMag || sampler.linearMin) return false;
    // The first triangle's plane over the pair's box. Both triangles' planes are the pair's one
    // map, rounded differently by less than 2^-29 texel: a unit more of margin covers that.
    const ScreenVertex *v0 = box.v[0], *v1 = box.v[1], *v2 = box.v[2];
    const Plane u = PlaneOf(box, double(v0->uv[0][0]), double(v1->uv[0][0]), double(v2->uv[0][0]));
    const Plane v = PlaneOf(box, double(v0->uv[0][1]), double(v1->uv[0][1]), double(v2->uv[0][1]));
    TexelWalk walk;
    if (!SetUpWalk(ps, box, u, v, &walk, 1)) return false;
    // The walk's pixels lie in the parallelogram, so its map takes them within the corners'
    // texture coordinates (give or take 2^-29 texel, which the walk's margin puts above them):
    // inside the texture when those are, whatever the box's corners sample.
    bool cornersInside = true;
    for (const ScreenVertex* corner : {pair[0], pair[1], pair[2], pair[4]}) {
        for (const float c : corner->uv[0]) cornersInside = cornersInside && c >= 0.0f && c <= 1.0f;
    }
    walk.inside = walk.inside || cornersInside;
    int firsts[kWalkRows + Coverage::kRowSlack], lasts[kWalkRows + Coverage::kRowSlack];
    int splits[kWalkRows + Coverage::kRowSlack];
    static_assert(QuadCoverage::kMaxRows <= kWalkRows);
    const int parts = coverage.Rows(firsts, lasts, splits);
    *covered = (parts & 1) + (parts >> 1);
    if (parts == 0) return true;
    // A pixel the walk cannot be sure of is sampled through its own triangle's plane, set up
    // when the first such pixel comes.
    LazyTriangle owners[2];
    const uint32_t color = v0->diffuse;
    Walk(ps, walk, firsts, lasts, rows, 0, box.top, box.left, color != 0xFFFFFFFF, color, [&](int r, int x, int n) {
        const int end = x + n;  // past the group
        const int runs[2][2] = {{x, std::min(splits[r], end)}, {std::max(splits[r], x), end}};
        for (int side = 0; side < 2; ++side) {
            const int from = runs[side][0], to = runs[side][1];
            if (from >= to) continue;
            const int k = side == 0 ? coverage.leftOwner() : 1 - coverage.leftOwner();
            LazyTriangle& owner = owners[k];
            if (!owner.made) owner.Make(path, ps, pair + 3 * k);
            owner.triangle.DrawRun(box.top + r - owner.setup.top, from, to - from);
        }
    });
    return true;
}

}  // namespace platform::gfx
