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

// The walk's fixed point: coordinates in units of 2^-20 texel, up to 2^10 texels from 0.
constexpr int kFixedShift = 20;
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
// slopes). A margin of 3 + (width + height) / 2 units is added to it: where its fraction is at
// least twice the margin, its whole part is floor(x).
bool SetUpWalk(const PipelineState& ps, const TriangleSetup& t, const Plane& u, const Plane& v, TexelWalk* walk) {
    const int width = t.right - t.left + 1, height = t.bottom - t.top + 1;
    if (width > kMaxWalkSide || height > kMaxWalkSide) return false;
    const StageSampler& s = ps.samplers[0];
    const int32_t margin = 3 + (width + height) / 2;
    const double unit = double(1 << kFixedShift);
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
        *inside = *inside && (low >> kFixedShift) >= 0 && (high >> kFixedShift) < size;
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
    walk->shift = kFixedShift;
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

bool DrawAffineTriangle(const TrianglePath& path, const PipelineState& ps, const TriangleSetup& t,
                        Coverage& coverage) {
    const ScreenVertex *v0 = t.v[0], *v1 = t.v[1], *v2 = t.v[2];
    const bool gouraud = !ps.flatShade && (v0->diffuse != v1->diffuse || v0->diffuse != v2->diffuse);
    const uint32_t color = v0->diffuse;
    // Only the fields the triangle's loops read are set: zeroing the rest costs more than a
    // small triangle's set-up.
    AffineRow row;
    row.sampler = &ps.samplers[0];
    Plane u{}, v{}, channels[4];
    SourceKind source = kNoTexture;
    if (path.textured) {
        u = PlaneOf(t, double(v0->uv[0][0]), double(v1->uv[0][0]), double(v2->uv[0][0]));
        v = PlaneOf(t, double(v0->uv[0][1]), double(v1->uv[0][1]), double(v2->uv[0][1]));
        source = UsesLinear(*row.sampler, u.dx, u.dy, v.dx, v.dy) ? kLinearTexture : kPointTexture;
        row.du = u.dx;
        row.dv = v.dx;
    }
    if (gouraud) {
        for (int k = 0; k < 4; ++k) {
            const int shift = 24 - 8 * k;
            channels[k] = PlaneOf(t, double(Channel(v0->diffuse, shift)), double(Channel(v1->diffuse, shift)),
                                  double(Channel(v2->diffuse, shift)));
            row.dcolor[k] = channels[k].dx;
        }
    }
    const ReadRoutine read = kReadTable[source][gouraud ? 1 : 0];
    // A single colour tints the texels as they are written; without a texture it is the source.
    const bool tint = path.textured && !gouraud && color != 0xFFFFFFFF;
    const WriteRoutine write = path.write[tint ? 1 : 0];
    const bool fill = !path.textured && !gouraud;
    // Point-sampled texels blended by source alpha: read and blended together, eight at a time.
    TexelWalk walk;
    const bool walking = path.sourceAlpha && source == kPointTexture && !gouraud && UseAvx2() &&
                         SetUpWalk(ps, t, u, v, &walk);
    uint32_t buffer[kSpanPixels];
    if (fill) std::fill(buffer, buffer + std::min(kSpanPixels, t.right - t.left + 1), color);
    // Pixels [from, from + count) of box row r, by the buffer.
    auto drawRun = [&](int r, int from, int count) {
        row.u = u.origin + u.dy * r;
        row.v = v.origin + v.dy * r;
        if (gouraud) {
            for (int k = 0; k < 4; ++k) row.color[k] = channels[k].origin + channels[k].dy * r;
        }
        if (!fill) read(row, from - t.left, count, buffer);
        write(ps, buffer, count, color, ps.target + size_t(t.top + r) * size_t(ps.targetPitch) + from);
    };

    bool drew = false;
    const int rows = t.bottom - t.top + 1;
    constexpr int kRows = 256;
    int firsts[kRows + Coverage::kRowSlack], lasts[kRows + Coverage::kRowSlack];
    for (int top = 0; top < rows; top += kRows) {
        const int count = std::min(kRows, rows - top);
        if (!coverage.Rows(count, firsts, lasts)) continue;
        drew = true;
        if (!walking) {
            for (int r = 0; r < count; ++r) {
                for (int from = firsts[r]; from <= lasts[r]; from += kSpanPixels) {
                    drawRun(top + r, from, std::min(kSpanPixels, lasts[r] - from + 1));
                }
            }
            continue;
        }
        uint32_t* target = ps.target + size_t(t.top + top) * size_t(ps.targetPitch);
        const WalkRows walkRows{firsts, lasts, count, top, t.left, target, ps.targetPitch,
                                int64_t(ps.scissor.bottom - t.top - top) * ps.targetPitch};
        // The vector loop stops at eight pixels it cannot be sure of; they are sampled one by
        // one.
        int r = 0, x = firsts[0];
        while (!BlendWalkAvx2(walk, walkRows, tint, color, ps.alphaOr, &r, &x)) {
            const int n = std::min(8, lasts[r] - x + 1);
            drawRun(top + r, x, n);
            x += n;
            if (x > lasts[r] && ++r < count) x = firsts[r];
        }
    }
    return drew;
}

}  // namespace platform::gfx
