// The per-draw snapshot of the device states and the per-pixel steps every drawing path shares:
// texture addressing and sampling, the texture-stage combiner, alpha test, blending and the
// write into the render target. All colour arithmetic is on 8-bit channels with exact rounding,
// so the rectangle path and the triangle path produce the same bytes.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/gfx/constants.h"
#include "platform/gfx/device.h"

namespace platform::gfx {

// A vertex in screen space with everything the rasteriser interpolates. Texture coordinates
// are per stage (the stage's coordinate set already chosen).
struct ScreenVertex {
    float x, y, z, rhw;
    uint32_t diffuse;
    float uv[kStageCount][2];
};

struct StageSampler {
    const uint32_t* texels = nullptr;  // ARGB rows of level 0; null samples white
    int width = 0;
    int height = 0;
    uint32_t addressU = address::kWrap;
    uint32_t addressV = address::kWrap;
    bool linearMag = false;
    bool linearMin = false;
    uint32_t border = 0;
};

struct StageOps {
    uint32_t colorOp, colorArg1, colorArg2;
    uint32_t alphaOp, alphaArg1, alphaArg2;
    uint32_t constant;
};

class TrianglePath;
class PerspectivePath;

struct PipelineState {
    uint32_t* target = nullptr;  // ARGB words of the render target
    int targetPitch = 0;         // pixels
    Format targetFormat = fmt::kA8R8G8B8;
    bool quantize = false;       // narrower than 32 bits: writes are narrowed to the format
    uint32_t alphaOr = 0;        // 0xFF000000 for a target without alpha
    float* depth = nullptr;      // depth buffer of the same size, or null
    int depthPitch = 0;
    Rect scissor{};              // viewport within the target

    int stageCount = 0;          // stages before the first disabled colour operation
    StageOps ops[kStageCount]{};
    StageSampler samplers[kStageCount]{};
    uint32_t textureFactor = 0xFFFFFFFF;

    bool alphaTest = false;
    uint32_t alphaFunc = cmp::kAlways;
    uint32_t alphaRef = 0;
    bool depthTest = false;
    bool depthWrite = false;
    uint32_t depthFunc = cmp::kLessEqual;
    bool blend = false;
    uint32_t blendOp = blendop::kAdd;
    uint32_t srcBlend = blend::kOne;
    uint32_t destBlend = blend::kZero;
    uint32_t blendFactor = 0xFFFFFFFF;
    uint32_t colorWriteMask = 0xF;
    uint32_t cullMode = cull::kNone;
    bool flatShade = false;

    // Derived by Classify: the two common cases the paths take shortcuts for.
    bool modulateOnly = false;      // stages: none, or stage 0 texture x diffuse for both
    bool sourceAlphaBlend = false;  // blending ADD, SRCALPHA, INVSRCALPHA
    // The specialised triangle loops for these states, or null for the general loop alone.
    const TrianglePath* triangles = nullptr;
    // The loops for triangles in perspective, or null for the general loop alone.
    const PerspectivePath* perspective = nullptr;
};

// ---- channel arithmetic ----

inline uint32_t Mul255(uint32_t a, uint32_t b) {  // round(a x b / 255) for bytes
    const uint32_t t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}

inline uint32_t Channel(uint32_t argb, int shift) { return (argb >> shift) & 0xFF; }

// A channel value rounded to the nearest byte, clamped; not-a-number gives 0 (vertex data is
// the program's and may hold anything).
inline uint32_t RoundToByte(double v) {
    v += 0.5;
    return v > 0.0 ? (v < 255.0 ? uint32_t(v) : 255u) : 0u;
}

inline uint32_t Pack(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return a << 24 | r << 16 | g << 8 | b;
}

inline uint32_t Modulate(uint32_t x, uint32_t y) {
    return Pack(Mul255(x >> 24, y >> 24), Mul255(Channel(x, 16), Channel(y, 16)),
                Mul255(Channel(x, 8), Channel(y, 8)), Mul255(x & 0xFF, y & 0xFF));
}

// Writes one value over count pixels, four at a time where vectors exist (the compiler does
// not vectorise the plain loop at our optimisation level).
inline void FillPixels(uint32_t* row, size_t count, uint32_t value) {
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(int(value));
    for (; i + 4 <= count; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i), four);
#endif
    std::fill(row + i, row + count, value);
}

// ---- texture addressing ----

// Maps a texel index onto the texture by the address mode; -1 for the border colour.
inline int AddressTexel(int t, int size, uint32_t mode) {
    if (unsigned(t) < unsigned(size)) return t;  // inside: every mode agrees
    switch (mode) {
        case address::kClamp:
            return std::clamp(t, 0, size - 1);
        case address::kMirror: {
            const int period = 2 * size;
            int m = t % period;
            if (m < 0) m += period;
            return m < size ? m : period - 1 - m;
        }
        case address::kMirrorOnce:
            return std::clamp(t < 0 ? -t - 1 : t, 0, size - 1);
        case address::kBorder:
            return (t < 0 || t >= size) ? -1 : t;
        default: {  // wrap
            int m = t % size;
            return m < 0 ? m + size : m;
        }
    }
}

// Texel coordinate (u x size) as a floor-able value kept inside int range.
inline double TexelCoordinate(double u, int size) {
    const double x = u * size;
    return x > -1.0e9 && x < 1.0e9 ? x : 0.0;  // far away or not a number: texel 0
}

// The texel index whose square holds coordinate u (point sampling, before addressing): the
// floor of the texel coordinate, from a truncation that is exact within int range.
inline int PointTexel(double u, int size) {
    const double x = TexelCoordinate(u, size);
    const int truncated = int(x);
    return truncated - (double(truncated) > x ? 1 : 0);
}

inline uint32_t FetchTexel(const StageSampler& s, int tx, int ty) {
    tx = AddressTexel(tx, s.width, s.addressU);
    ty = AddressTexel(ty, s.height, s.addressV);
    if (tx < 0 || ty < 0) return s.border;
    return s.texels[size_t(ty) * size_t(s.width) + size_t(tx)];
}

// The four texels around a point, c00 c10 over c01 c11, weighted by the 8-bit fractions wx
// across and wy down (0-256); each channel is rounded once.
inline uint32_t BlendBilinear(uint32_t c00, uint32_t c10, uint32_t c01, uint32_t c11, uint32_t wx, uint32_t wy) {
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t top = Channel(c00, shift) * (256 - wx) + Channel(c10, shift) * wx;
        const uint32_t bottom = Channel(c01, shift) * (256 - wx) + Channel(c11, shift) * wx;
        out |= ((top * (256 - wy) + bottom * wy + 32768) >> 16) << shift;
    }
    return out;
}

// Linear sampling along one axis: the texel at or before the sample (the coordinate less half a
// texel, before addressing) and the 8-bit weight of the texel after it.
struct LinearTap {
    int texel;
    uint32_t weight;
};

inline LinearTap LinearAxis(double u, int size) {
    const double f = TexelCoordinate(u, size) - 0.5;
    const double low = std::floor(f);
    return {int(low), std::min(255u, uint32_t((f - low) * 256.0))};
}

// The four texels from (tx, ty) to (tx + 1, ty + 1), addressed, weighted by wx and wy.
inline uint32_t SampleLinear(const StageSampler& s, int tx, int ty, uint32_t wx, uint32_t wy) {
    const uint32_t c00 = FetchTexel(s, tx, ty), c10 = FetchTexel(s, tx + 1, ty);
    const uint32_t c01 = FetchTexel(s, tx, ty + 1), c11 = FetchTexel(s, tx + 1, ty + 1);
    return BlendBilinear(c00, c10, c01, c11, wx, wy);
}

// Samples one stage at (u, v). Point: the texel whose square holds the point. Linear: the four
// texels around it weighted with 8-bit fractions.
inline uint32_t SampleStage(const StageSampler& s, double u, double v, bool linear) {
    if (!s.texels) return 0xFFFFFFFF;
    if (!linear) return FetchTexel(s, PointTexel(u, s.width), PointTexel(v, s.height));
    const LinearTap x = LinearAxis(u, s.width), y = LinearAxis(v, s.height);
    return SampleLinear(s, x.texel, y.texel, x.weight, y.weight);
}

// ---- texture-stage combiner ----

inline uint32_t StageArgument(uint32_t arg, uint32_t diffuse, uint32_t current, uint32_t texel,
                              const PipelineState& ps, const StageOps& ops) {
    uint32_t value;
    switch (arg & ta::kSelectMask) {
        case ta::kDiffuse: value = diffuse; break;
        case ta::kTexture: value = texel; break;
        case ta::kTFactor: value = ps.textureFactor; break;
        case ta::kConstant: value = ops.constant; break;
        case ta::kSpecular:
        case ta::kTemp: value = 0; break;
        default: value = current; break;
    }
    if (arg & ta::kComplement) value = ~value;
    if (arg & ta::kAlphaReplicate) {
        const uint32_t a = value >> 24;
        value = Pack(a, a, a, a);
    }
    return value;
}

// One operation on the four channels of two arguments (the caller keeps the channels it needs).
inline uint32_t StageOperation(uint32_t op, uint32_t a, uint32_t b) {
    switch (op) {
        case top::kSelectArg1: return a;
        case top::kSelectArg2: return b;
        case top::kModulate2x:
        case top::kModulate4x:
        case top::kAdd: {
            uint32_t out = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const uint32_t x = Channel(a, shift), y = Channel(b, shift);
                uint32_t c = op == top::kAdd ? x + y
                                             : Mul255(x, y) << (op == top::kModulate2x ? 1 : 2);
                out |= std::min(c, 255u) << shift;
            }
            return out;
        }
        default: return Modulate(a, b);  // kModulate and anything the device does not know
    }
}

// Runs the enabled stages; texels[i] is stage i's sample.
inline uint32_t CombineStages(const PipelineState& ps, uint32_t diffuse, const uint32_t* texels) {
    uint32_t current = diffuse;
    for (int i = 0; i < ps.stageCount; ++i) {
        const StageOps& o = ps.ops[i];
        const uint32_t c1 = StageArgument(o.colorArg1, diffuse, current, texels[i], ps, o);
        const uint32_t c2 = StageArgument(o.colorArg2, diffuse, current, texels[i], ps, o);
        const uint32_t rgb = StageOperation(o.colorOp, c1, c2) & 0x00FFFFFF;
        uint32_t alpha = current & 0xFF000000u;
        if (o.alphaOp != top::kDisable) {
            const uint32_t a1 = StageArgument(o.alphaArg1, diffuse, current, texels[i], ps, o);
            const uint32_t a2 = StageArgument(o.alphaArg2, diffuse, current, texels[i], ps, o);
            alpha = StageOperation(o.alphaOp, a1, a2) & 0xFF000000u;
        }
        current = alpha | rgb;
    }
    return current;
}

// Sets the derived flags from the states.
inline void Classify(PipelineState* ps) {
    auto modulates = [](uint32_t op, uint32_t a, uint32_t b) {
        auto isColor = [](uint32_t arg) { return arg == ta::kDiffuse || arg == ta::kCurrent; };
        return op == top::kModulate &&
               ((a == ta::kTexture && isColor(b)) || (isColor(a) && b == ta::kTexture));
    };
    const StageOps& o = ps->ops[0];
    ps->modulateOnly = ps->stageCount == 0 ||
                       (ps->stageCount == 1 && modulates(o.colorOp, o.colorArg1, o.colorArg2) &&
                        modulates(o.alphaOp, o.alphaArg1, o.alphaArg2));
    ps->sourceAlphaBlend = ps->blend && ps->blendOp == blendop::kAdd &&
                           ps->srcBlend == blend::kSrcAlpha && ps->destBlend == blend::kInvSrcAlpha;
}

// ---- tests, blending, write ----

// Source-alpha blending (BlendPixel with ADD, SRCALPHA, INVSRCALPHA): a + (255 - a) = 255, so
// the weighted sum stays within a byte product and rounds like one.
inline uint32_t BlendSourceAlpha(uint32_t src, uint32_t dst) {
    const uint32_t sa = src >> 24;
    if (sa == 0) return dst;
    if (sa == 255) return src;
    const uint32_t da = 255 - sa;
    auto mix = [&](int shift) {
        return (Channel(src, shift) * sa + Channel(dst, shift) * da + 127) / 255;
    };
    return Pack(mix(24), mix(16), mix(8), mix(0));
}

inline bool Compare(uint32_t func, float value, float reference) {
    switch (func) {
        case cmp::kNever: return false;
        case cmp::kLess: return value < reference;
        case cmp::kEqual: return value == reference;
        case cmp::kLessEqual: return value <= reference;
        case cmp::kGreater: return value > reference;
        case cmp::kNotEqual: return value != reference;
        case cmp::kGreaterEqual: return value >= reference;
        default: return true;
    }
}

inline bool CompareAlpha(uint32_t func, uint32_t alpha, uint32_t reference) {
    switch (func) {
        case cmp::kNever: return false;
        case cmp::kLess: return alpha < reference;
        case cmp::kEqual: return alpha == reference;
        case cmp::kLessEqual: return alpha <= reference;
        case cmp::kGreater: return alpha > reference;
        case cmp::kNotEqual: return alpha != reference;
        case cmp::kGreaterEqual: return alpha >= reference;
        default: return true;
    }
}

// The four channel factors (ARGB order in one word) of a blend factor.
inline uint32_t BlendFactorValue(uint32_t factor, uint32_t src, uint32_t dst, uint32_t constant) {
    const uint32_t sa = src >> 24, da = dst >> 24;
    switch (factor) {
        case blend::kZero: return 0;
        case blend::kOne: return 0xFFFFFFFF;
        case blend::kSrcColor: return src;
        case blend::kInvSrcColor: return ~src;
        case blend::kSrcAlpha:
        case blend::kBothSrcAlpha: return Pack(sa, sa, sa, sa);
        case blend::kInvSrcAlpha:
        case blend::kBothInvSrcAlpha: return Pack(255 - sa, 255 - sa, 255 - sa, 255 - sa);
        case blend::kDestAlpha: return Pack(da, da, da, da);
        case blend::kInvDestAlpha: return Pack(255 - da, 255 - da, 255 - da, 255 - da);
        case blend::kDestColor: return dst;
        case blend::kInvDestColor: return ~dst;
        case blend::kSrcAlphaSat: {
            const uint32_t f = std::min(sa, 255 - da);
            return Pack(255, f, f, f);
        }
        case blend::kBlendFactor: return constant;
        case blend::kInvBlendFactor: return ~constant;
        default: return 0xFFFFFFFF;
    }
}

// Blending rounds once per channel: round((source x factor op destination x factor) / 255),
// clamped to 0..255.
inline uint32_t BlendPixel(const PipelineState& ps, uint32_t src, uint32_t dst) {
    uint32_t destFactor = ps.destBlend;
    // The "both" factors set the destination factor from the source one.
    if (ps.srcBlend == blend::kBothSrcAlpha) destFactor = blend::kInvSrcAlpha;
    if (ps.srcBlend == blend::kBothInvSrcAlpha) destFactor = blend::kSrcAlpha;
    const uint32_t fs = BlendFactorValue(ps.srcBlend, src, dst, ps.blendFactor);
    const uint32_t fd = BlendFactorValue(destFactor, src, dst, ps.blendFactor);
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int s = int(Channel(src, shift)), d = int(Channel(dst, shift));
        const int ws = s * int(Channel(fs, shift));
        const int wd = d * int(Channel(fd, shift));
        int c;
        switch (ps.blendOp) {
            case blendop::kSubtract: c = std::max(ws - wd, 0); break;
            case blendop::kRevSubtract: c = std::max(wd - ws, 0); break;
            case blendop::kMin: c = std::min(s, d) * 255; break;
            case blendop::kMax: c = std::max(s, d) * 255; break;
            default: c = ws + wd; break;
        }
        out |= uint32_t(std::min((c + 127) / 255, 255)) << shift;
    }
    return out;
}

inline uint32_t WriteMaskBits(uint32_t mask) {  // colour-write bits 1 R, 2 G, 4 B, 8 A
    return (mask & 1 ? 0x00FF0000u : 0) | (mask & 2 ? 0x0000FF00u : 0) |
           (mask & 4 ? 0x000000FFu : 0) | (mask & 8 ? 0xFF000000u : 0);
}

uint32_t QuantizeArgb(Format format, uint32_t argb);

// Combines, alpha-tests, blends and writes one pixel; false when the alpha test rejected it.
inline bool ShadePixel(const PipelineState& ps, uint32_t diffuse, const uint32_t* texels,
                       uint32_t* destination) {
    uint32_t c = !ps.modulateOnly      ? CombineStages(ps, diffuse, texels)
                 : ps.stageCount == 1 ? Modulate(texels[0], diffuse)
                                      : diffuse;
    if (ps.alphaTest && !CompareAlpha(ps.alphaFunc, c >> 24, ps.alphaRef)) return false;
    const uint32_t dst = *destination;
    if (ps.blend) c = ps.sourceAlphaBlend ? BlendSourceAlpha(c, dst) : BlendPixel(ps, c, dst);
    if (ps.colorWriteMask != 0xF) {
        const uint32_t keep = WriteMaskBits(ps.colorWriteMask);
        c = (c & keep) | (dst & ~keep);
    }
    if (ps.quantize) c = QuantizeArgb(ps.targetFormat, c);
    *destination = c | ps.alphaOr;
    return true;
}

}  // namespace platform::gfx
