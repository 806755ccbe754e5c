// The specialised loops for triangles whose corners share one rhw: every 2D sprite, turned,
// scaled or not, and every flat 3D draw without a depth test.
//
// A row's run of pixels is drawn in two steps: its source colours are read into a buffer by a
// loop fixed for the triangle (texture sampled by point or linearly or none, Gouraud colour or
// one colour), then written into the target by a loop fixed for the draw (tint, alpha test,
// blend kind), source-alpha blending eight pixels at a time where AVX2 is at hand. Attributes
// are the general loop's planes evaluated with its own arithmetic, row value plus step times
// pixel, and texels sampled by point come from the same whole-number planes, so every sample
// and every byte is the one it gives.
#include <algorithm>
#include <cmath>
#include <type_traits>

#include "platform/gfx/raster.h"
#include "platform/gfx/span_avx2.h"

namespace platform::gfx {

namespace {

// Pixels a buffer holds: longer runs are drawn a piece at a time.
constexpr int kSpanPixels = 512;

// What the read loops need of a triangle: the planes of stage 0's coordinates (in double
// precision for linear sampling, in units for sampling by point) and of the four colour
// channels (alpha, red, green, blue), each evaluated at the row's first box pixel.
struct AffineRow {
    const StageSampler* sampler;
    double u, du, v, dv;
    int64_t pointU, pointDu, pointV, pointDv;
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
            const int tx = TexelOf(r.pointU + r.pointDu * n), ty = TexelOf(r.pointV + r.pointDv * n);
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

static_assert(kWalkShift == kTexelFraction);

// The walk's coordinates reach up to 2^10 texels from 0, in 32 bits with every step.
constexpr int64_t kWalkReach = int64_t(1) << (kTexelFraction + 10);

// Sets up the walk of planes u and v over a box of pixels from (left, top): false when its
// coordinates reach too far for 32 bits.
bool SetUpWalk(const PipelineState& ps, int left, int top, int width, int height, const TexelPlane& u,
               const TexelPlane& v, TexelWalk* walk) {
    const StageSampler& s = ps.samplers[0];
    // The axis's lanes and steps, and whether the box's corners sample inside the texture
    // (then every pixel of it does). Inlined: a call for each axis costs more than its work.
    auto axis = [&](const TexelPlane& p, int size, int32_t* lanes, int32_t* row, int32_t* pixel,
                    bool* inside) __attribute__((always_inline)) {
        const int64_t start = p.At(left, top);
        // Lanes reach up to seven pixels past the box.
        if (std::abs(start) + std::abs(p.dy) * height + std::abs(p.dx) * (width + 8) >= kWalkReach) return false;
        for (int k = 0; k < 8; ++k) lanes[k] = int32_t(start + p.dx * k);
        *row = int32_t(p.dy);
        *pixel = int32_t(p.dx);
        const int64_t across = p.dx * (width - 1), down = p.dy * (height - 1);
        const int64_t low = start + std::min<int64_t>(across, 0) + std::min<int64_t>(down, 0);
        const int64_t high = start + std::max<int64_t>(across, 0) + std::max<int64_t>(down, 0);
        *inside = *inside && (low >> kTexelFraction) >= 0 && (high >> kTexelFraction) < size;
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
    const bool wrapped = WrapsByMask(s.addressU, s.width) && WrapsByMask(s.addressV, s.height);
    walk->bounds = inside ? TexelWalk::kInside : wrapped ? TexelWalk::kWrapped : TexelWalk::kTested;
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
            if (source_ == kPointTexture) {
                pointU_ = TexelPlaneOf(t, 0, 0, row_.sampler->width);
                pointV_ = TexelPlaneOf(t, 0, 1, row_.sampler->height);
                row_.pointDu = pointU_.dx;
                row_.pointDv = pointV_.dx;
            }
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
    const TexelPlane& pointU() const { return pointU_; }
    const TexelPlane& pointV() const { return pointV_; }
    bool tint() const { return tint_; }
    uint32_t color() const { return color_; }

    // Pixels [from, from + count) of box row r, count up to kSpanPixels.
    void DrawRun(int r, int from, int count) {
        row_.u = u_.origin + u_.dy * r;
        row_.v = v_.origin + v_.dy * r;
        row_.pointU = pointU_.At(t_.left, t_.top + r);
        row_.pointV = pointV_.At(t_.left, t_.top + r);
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
    TexelPlane pointU_{}, pointV_{};
    SourceKind source_;
    bool gouraud_, tint_, fill_;
    uint32_t color_;
    ReadRoutine read_;
    WriteRoutine write_;
    uint32_t buffer_[kSpanPixels];
};

// Walks the runs [first[r], last[r]] of `count` rows of a box, run r on box row top + r; the box's
// row 0 is target row boxTop and its pixel 0 is column left. A group of eight with a sample
// outside the texture is sampled here, one pixel at a time, from the planes u and v.
void Walk(const PipelineState& ps, const TexelWalk& walk, const TexelPlane& u, const TexelPlane& v, const int* first,
          const int* last, int count, int top, int boxTop, int left, bool tint, uint32_t color) {
    uint32_t* target = ps.target + size_t(boxTop + top) * size_t(ps.targetPitch);
    const WalkRows walkRows{first, last, count, top, left, target, ps.targetPitch,
                            int64_t(ps.scissor.bottom - boxTop - top) * ps.targetPitch};
    int r = 0, x = first[0];
    while (!BlendWalkAvx2(walk, walkRows, tint, color, ps.alphaOr, &r, &x)) {
        const int y = boxTop + top + r;
        uint32_t* row = target + size_t(r) * size_t(ps.targetPitch);
        for (const int end = std::min(x + 8, last[r] + 1); x < end; ++x) {
            uint32_t c = SamplePoint(ps.samplers[0], u.At(x, y), v.At(x, y));
            if (tint) c = Modulate(c, color);
            row[x] = BlendSourceAlpha(c, row[x]) | ps.alphaOr;
        }
        if (x > last[r] && ++r < count) x = first[r];
    }
}

}  // namespace

bool DrawAffineTriangle(const TrianglePath& path, const PipelineState& ps, const TriangleSetup& t,
                        Coverage& coverage) {
    AffineTriangle triangle(path, ps, t);
    TexelWalk walk;
    const bool walking = triangle.Walkable(path) && SetUpWalk(ps, t.left, t.top, t.right - t.left + 1,
                                                              t.bottom - t.top + 1, triangle.pointU(),
                                                              triangle.pointV(), &walk);
    bool drew = false;
    const int rows = t.bottom - t.top + 1;
    int firsts[kMaxWalkRows + Coverage::kRowSlack], lasts[kMaxWalkRows + Coverage::kRowSlack];
    for (int top = 0; top < rows; top += kMaxWalkRows) {
        const int count = std::min(kMaxWalkRows, rows - top);
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
        Walk(ps, walk, triangle.pointU(), triangle.pointV(), firsts, lasts, count, top, t.top, t.left,
             triangle.tint(), triangle.color());
    }
    return drew;
}

bool DrawAffinePair(const TrianglePath& path, const PipelineState& ps, const TexelPlane& u, const TexelPlane& v,
                    const QuadCoverage& coverage, uint32_t color, int* covered) {
    *covered = 0;
    const int rows = coverage.rows();
    if (rows == 0) return true;
    const StageSampler& sampler = ps.samplers[0];
    if (!path.sourceAlpha || !path.textured || sampler.linearMag || sampler.linearMin) return false;
    TexelWalk walk;
    const int left = coverage.left(), top = coverage.top();
    if (!SetUpWalk(ps, left, top, coverage.right() - left + 1, rows, u, v, &walk)) return false;
    int firsts[kMaxWalkRows + Coverage::kRowSlack], lasts[kMaxWalkRows + Coverage::kRowSlack];
    static_assert(QuadCoverage::kMaxRows <= kMaxWalkRows);
    *covered = coverage.Rows(firsts, lasts);
    if (*covered == 0) return true;
    Walk(ps, walk, u, v, firsts, lasts, rows, 0, top, left, color != 0xFFFFFFFF, color);
    return true;
}

}  // namespace platform::gfx
