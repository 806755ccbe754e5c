// The specialised loops for triangles in perspective, whose corners differ in rhw: the 3D side's
// models, text and sprites.
//
// A row's run of pixels is drawn a span at a time in two steps. First the attributes of the
// span's pixels: the general loop's double-precision planes of rhw, depth, colour and texture
// coordinates (the last two divided by w), evaluated with its own arithmetic, row value plus step
// times pixel, one exact division per pixel; four pixels at a time where AVX2 is at hand, whose
// lanes give what the scalar operations give. Then the pixels, by a loop fixed for the triangle
// (texture by point, linearly or none; Gouraud or one colour) and the draw (blend kind): depth
// test, sample, modulate, alpha test, blend, write, depth write; eight pixels at a time with
// AVX2 under source-alpha blending or none, groups sampling outside the texture (but on a
// wrapped side of a power of two) left to the scalar loop, which addresses them. So every sample
// and every byte is the one the general loop gives.
#include <algorithm>
#include <limits>

#include "platform/gfx/projective_avx2.h"
#include "platform/gfx/raster.h"

namespace platform::gfx {

namespace {

// The attributes one pixel at a time, where AVX2 is not at hand: the same operations as the
// vector lanes.
void ScalarAttributes(const PerspectiveRow& r, int from, int count, bool depth, bool gouraud,
                      PerspectiveTexels texels, PerspectiveSpan* out) {
    const int width = int(r.width), height = int(r.height);
    for (int i = 0; i < count; ++i) {
        const int n = from + i;
        const double w = 1.0 / (r.rhw + r.drhw * n);
        if (depth) out->depth[i] = float(r.depth + r.ddepth * n);
        if (gouraud) {
            uint32_t bytes[4];
            for (int k = 0; k < 4; ++k) bytes[k] = RoundToByte((r.color[k] + r.dcolor[k] * n) * w);
            out->diffuse[i] = Pack(bytes[0], bytes[1], bytes[2], bytes[3]);
        }
        const double u = (r.u + r.du * n) * w, v = (r.v + r.dv * n) * w;
        if (texels == kPointTexels) {
            out->tx[i] = PointTexel(u, width);
            out->ty[i] = PointTexel(v, height);
        } else if (texels == kLinearTexels) {
            const LinearTap x = LinearAxis(u, width), y = LinearAxis(v, height);
            out->tx[i] = x.texel;
            out->ty[i] = y.texel;
            out->wx[i] = int32_t(x.weight);
            out->wy[i] = int32_t(y.weight);
        }
    }
}

// What the pixel loops need besides the span: the states, hoisted out of the loop.
struct SpanJob {
    const PipelineState* ps;
    const StageSampler* sampler;
    uint32_t color;  // the one colour of a triangle without Gouraud shading
    bool depthTest, depthWrite, alphaTest;
};

// The texel at (tx, ty), read directly when it lies inside the texture.
inline uint32_t PointSample(const StageSampler& s, int tx, int ty) {
    return unsigned(tx) < unsigned(s.width) && unsigned(ty) < unsigned(s.height)
               ? s.texels[size_t(ty) * size_t(s.width) + size_t(tx)]
               : FetchTexel(s, tx, ty);
}

// The four texels from (tx, ty) on, read directly when they all lie inside the texture.
inline uint32_t LinearSample(const StageSampler& s, int tx, int ty, uint32_t wx, uint32_t wy) {
    if (unsigned(tx) < unsigned(s.width - 1) && unsigned(ty) < unsigned(s.height - 1)) {
        const uint32_t* top = s.texels + size_t(ty) * size_t(s.width) + size_t(tx);
        const uint32_t* bottom = top + s.width;
        return BlendBilinear(top[0], top[1], bottom[0], bottom[1], wx, wy);
    }
    return SampleLinear(s, tx, ty, wx, wy);
}

// Shades pixels [begin, end) of the span onto target[begin...] (and depth[begin...]); true when
// any passed the depth test.
template <int kTexels, bool kGouraud, int kBlend>
bool ShadeSpan(const SpanJob& job, const PerspectiveSpan& a, int begin, int end, uint32_t* target, float* depth) {
    const PipelineState& ps = *job.ps;
    const StageSampler& s = *job.sampler;
    bool drew = false;
    for (int i = begin; i < end; ++i) {
        if (job.depthTest && !Compare(ps.depthFunc, a.depth[i], depth[i])) continue;
        drew = true;
        uint32_t c = kGouraud ? a.diffuse[i] : job.color;
        if constexpr (kTexels == kPointTexels) c = Modulate(PointSample(s, a.tx[i], a.ty[i]), c);
        if constexpr (kTexels == kLinearTexels) {
            c = Modulate(LinearSample(s, a.tx[i], a.ty[i], uint32_t(a.wx[i]), uint32_t(a.wy[i])), c);
        }
        if (job.alphaTest && !CompareAlpha(ps.alphaFunc, c >> 24, ps.alphaRef)) continue;
        if constexpr (kBlend == kAlphaBlend) c = BlendSourceAlpha(c, target[i]);
        if constexpr (kBlend == kGenericBlend) c = BlendPixel(ps, c, target[i]);
        target[i] = c | ps.alphaOr;
        if (job.depthWrite) depth[i] = a.depth[i];
    }
    return drew;
}

using ShadeRoutine = bool (*)(const SpanJob&, const PerspectiveSpan&, int, int, uint32_t*, float*);

template <int kBlend>
constexpr ShadeRoutine kShades[kPerspectiveTexelKinds][2] = {
    {&ShadeSpan<kNoTexels, false, kBlend>, &ShadeSpan<kNoTexels, true, kBlend>},
    {&ShadeSpan<kPointTexels, false, kBlend>, &ShadeSpan<kPointTexels, true, kBlend>},
    {&ShadeSpan<kLinearTexels, false, kBlend>, &ShadeSpan<kLinearTexels, true, kBlend>}};

// The orderings a comparison function passes, from the comparisons themselves.
CompareLanes LanesOf(uint32_t func) {
    auto lane = [](bool pass) { return pass ? int32_t(-1) : 0; };
    return {lane(Compare(func, 0.0f, 1.0f)), lane(Compare(func, 1.0f, 1.0f)), lane(Compare(func, 1.0f, 0.0f)),
            lane(Compare(func, std::numeric_limits<float>::quiet_NaN(), 0.0f))};
}

CompareLanes AlphaLanesOf(uint32_t func) {
    auto lane = [](bool pass) { return pass ? int32_t(-1) : 0; };
    return {lane(CompareAlpha(func, 0, 1)), lane(CompareAlpha(func, 1, 1)), lane(CompareAlpha(func, 1, 0)), 0};
}

// The mask that wraps texel indexes on a side: the side less one when the side wraps and is a
// power of two, all ones otherwise.
int32_t WrapMask(uint32_t mode, int size) {
    return WrapsByMask(mode, size) ? size - 1 : -1;
}

}  // namespace

class PerspectivePath {
public:
    const ShadeRoutine (*shades)[2];  // by texel kind, then Gouraud
    PerspectiveBlend blend;  // the eight-pixel loop's, where AVX2 is at hand; none past the last
};

namespace {

// The blending of the eight-pixel loop that gives the states' bytes, or kPerspectiveBlends for
// none of them.
PerspectiveBlend VectorBlendOf(const PipelineState& ps) {
    if (!ps.blend) return kWriteSource;
    if (ps.blendOp != blendop::kAdd) return kPerspectiveBlends;
    const uint32_t src = ps.srcBlend, dst = ps.destBlend;
    if (src == blend::kOne && dst == blend::kZero) return kWriteSource;
    if (src == blend::kSrcAlpha && dst == blend::kInvSrcAlpha) return kSourceAlphaBlend;
    if (src == blend::kSrcAlpha && dst == blend::kOne) return kAddWeighted;
    if (src == blend::kOne && dst == blend::kOne) return kAddSource;
    const bool multiply = (src == blend::kZero && dst == blend::kSrcColor) ||
                          (src == blend::kDestColor && dst == blend::kZero);
    return multiply ? kMultiply : kPerspectiveBlends;
}

}  // namespace

const PerspectivePath* ChoosePerspectivePath(const PipelineState& ps) {
    if (ps.quantize || ps.colorWriteMask != 0xF || ps.stageCount > 1 || !ps.modulateOnly) return nullptr;
    // One and zero write the source: the scalar loop takes it as no blending.
    static const PerspectivePath kPaths[kPerspectiveBlends + 1] = {
        {kShades<kOpaque>, kWriteSource},          {kShades<kAlphaBlend>, kSourceAlphaBlend},
        {kShades<kGenericBlend>, kAddWeighted},    {kShades<kGenericBlend>, kAddSource},
        {kShades<kGenericBlend>, kMultiply},       {kShades<kGenericBlend>, kPerspectiveBlends}};
    return &kPaths[VectorBlendOf(ps)];
}

bool DrawPerspectiveTriangle(const PerspectivePath& path, const PipelineState& ps, const TriangleSetup& t,
                             Coverage& coverage) {
    const ScreenVertex& v0 = *t.v[0];
    const ScreenVertex& v1 = *t.v[1];
    const ScreenVertex& v2 = *t.v[2];
    auto planeOf = [&](auto value) { return PlaneOf(t, value(v0), value(v1), value(v2)); };
    const Plane rhw = planeOf([](const ScreenVertex& v) { return double(v.rhw); });
    const Plane depth = planeOf([](const ScreenVertex& v) { return double(v.z); });
    const bool gouraud = !ps.flatShade && (v0.diffuse != v1.diffuse || v0.diffuse != v2.diffuse);
    Plane channels[4]{};
    if (gouraud) {
        for (int k = 0; k < 4; ++k) {
            const int shift = 24 - 8 * k;
            channels[k] = planeOf([shift](const ScreenVertex& v) {
                return double(Channel(v.diffuse, shift)) * double(v.rhw);
            });
        }
    }
    const StageSampler& s = ps.samplers[0];
    const bool textured = ps.stageCount == 1 && s.texels != nullptr;
    Plane u{}, v{};
    PerspectiveTexels texels = kNoTexels;
    if (textured) {
        u = planeOf([](const ScreenVertex& c) { return double(c.uv[0][0]) * double(c.rhw); });
        v = planeOf([](const ScreenVertex& c) { return double(c.uv[0][1]) * double(c.rhw); });
        texels = UsesLinear(s, u.dx, u.dy, v.dx, v.dy) ? kLinearTexels : kPointTexels;
    }
    const ShadeRoutine shade = path.shades[texels][gouraud ? 1 : 0];
    // Without a depth write, a test that rejects only alpha 0 under source-alpha blending
    // changes nothing; with one, it keeps those pixels out of the depth buffer.
    const SpanJob job{&ps, &s, v0.diffuse, ps.depthTest, ps.depthWrite,
                      ps.depthWrite ? ps.alphaTest : AlphaTestMatters(ps)};
    const bool avx2 = UseAvx2();
    // A texture drawn onto itself is read pixel by pixel as it is written.
    const bool vector = avx2 && path.blend != kPerspectiveBlends && !(textured && s.texels == ps.target);
    const int rowEnd = ps.depthTest ? std::min(ps.targetPitch, ps.depthPitch) : ps.targetPitch;
    PerspectiveShading shading{texels, gouraud, path.blend, s.texels, s.width, s.height, WrapMask(s.addressU, s.width),
                               WrapMask(s.addressV, s.height), v0.diffuse, ps.alphaOr, job.depthTest,
                               job.depthWrite, job.alphaTest, LanesOf(ps.depthFunc), AlphaLanesOf(ps.alphaFunc),
                               ps.alphaRef, 0};
    PerspectiveRow row{};
    row.drhw = rhw.dx;
    row.ddepth = depth.dx;
    for (int k = 0; k < 4; ++k) row.dcolor[k] = channels[k].dx;
    row.du = u.dx;
    row.dv = v.dx;
    row.width = double(s.width);
    row.height = double(s.height);
    PerspectiveSpan span;
    bool drew = false;
    for (int py = t.top; py <= t.bottom; ++py) {
        int first, last;
        if (!coverage.NextRow(&first, &last)) continue;
        const int r = py - t.top;
        row.rhw = rhw.origin + rhw.dy * r;
        row.depth = depth.origin + depth.dy * r;
        for (int k = 0; k < 4; ++k) row.color[k] = channels[k].origin + channels[k].dy * r;
        row.u = u.origin + u.dy * r;
        row.v = v.origin + v.dy * r;
        uint32_t* target = ps.target + size_t(py) * size_t(ps.targetPitch);
        float* depthRow = ps.depth ? ps.depth + size_t(py) * size_t(ps.depthPitch) : nullptr;
        for (int from = first; from <= last; from += kPerspectiveSpan) {
            const int count = std::min(kPerspectiveSpan, last - from + 1);
            uint32_t* pixels = target + from;
            float* depths = depthRow ? depthRow + from : nullptr;
            if (!vector) {
                (avx2 ? PerspectiveAttributesAvx2 : ScalarAttributes)(row, from - t.left, count, job.depthTest,
                                                                      gouraud, texels, &span);
                drew |= shade(job, span, 0, count, pixels, depths);
                continue;
            }
            shading.room = rowEnd - from;
            for (int i = 0; (i = ShadePerspectiveAvx2(shading, row, from - t.left, &span, i, count, pixels,
                                                      depths, &drew)) < count;) {
                const int end = std::min(i + 8, count);
                drew |= shade(job, span, i, end, pixels, depths);
                i = end;
            }
        }
    }
    return drew;
}

}  // namespace platform::gfx
