// The perspective attributes and pixels with 256-bit vectors: this file is compiled for AVX2 and
// includes nothing with inline code shared with the rest of the device. Each lane does the
// operations the scalar loops do, in their order and in the same precision (the division
// included), and IEEE and integer arithmetic give each lane the scalar result; the conversions,
// clamps and comparisons are chosen to agree with the scalar ones on every input, not-a-number
// included.
#include "platform/gfx/projective_avx2.h"

#include <immintrin.h>

#include "platform/gfx/pixels_avx2.h"

namespace platform::gfx {

namespace {

// value + step n for the four pixels n.
__m256d PlaneAt(double value, double step, __m256d n) {
    return _mm256_add_pd(_mm256_set1_pd(value), _mm256_mul_pd(_mm256_set1_pd(step), n));
}

// A channel rounded to a byte: v + 0.5 truncated, 0 for v + 0.5 <= 0 or not a number (the
// maximum gives its second operand for a not-a-number), 255 from 255 on.
__m128i RoundToBytes(__m256d v) {
    const __m256d half = _mm256_add_pd(v, _mm256_set1_pd(0.5));
    const __m256d clamped = _mm256_min_pd(_mm256_max_pd(half, _mm256_setzero_pd()), _mm256_set1_pd(255.0));
    return _mm256_cvttpd_epi32(clamped);
}

// The texel coordinate u x size, 0 where it lies beyond +-1e9 or is not a number.
__m256d TexelCoordinates(__m256d u, double size) {
    const __m256d x = _mm256_mul_pd(u, _mm256_set1_pd(size));
    const __m256d near = _mm256_and_pd(_mm256_cmp_pd(x, _mm256_set1_pd(-1.0e9), _CMP_GT_OQ),
                                       _mm256_cmp_pd(x, _mm256_set1_pd(1.0e9), _CMP_LT_OQ));
    return _mm256_and_pd(x, near);
}

// Point: the floor of the coordinate.
void PointAxis(__m256d x, int32_t* texel) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(texel), _mm256_cvttpd_epi32(_mm256_floor_pd(x)));
}

// Linear: the texel at or left of x - 0.5 and the 8-bit weight of the next one.
void LinearAxis(__m256d x, int32_t* texel, int32_t* weight) {
    const __m256d f = _mm256_sub_pd(x, _mm256_set1_pd(0.5));
    const __m256d low = _mm256_floor_pd(f);
    const __m128i w = _mm256_cvttpd_epi32(_mm256_mul_pd(_mm256_sub_pd(f, low), _mm256_set1_pd(256.0)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(weight), _mm_min_epi32(w, _mm_set1_epi32(255)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(texel), _mm256_cvttpd_epi32(low));
}

// The attributes of span entries i to i + 3, pixels from + i... of the row.
template <bool kDepth, bool kGouraud, int kTexels>
[[gnu::always_inline]] inline void FourPixels(const PerspectiveRow& r, int from, int i, PerspectiveSpan* out) {
    const __m256d n = _mm256_add_pd(_mm256_set1_pd(double(from + i)), _mm256_setr_pd(0, 1, 2, 3));
    const __m256d w = _mm256_div_pd(_mm256_set1_pd(1.0), PlaneAt(r.rhw, r.drhw, n));
    if constexpr (kDepth) _mm_storeu_ps(out->depth + i, _mm256_cvtpd_ps(PlaneAt(r.depth, r.ddepth, n)));
    if constexpr (kGouraud) {
        auto channel = [&](int k) { return RoundToBytes(_mm256_mul_pd(PlaneAt(r.color[k], r.dcolor[k], n), w)); };
        const __m128i packed = _mm_or_si128(_mm_or_si128(_mm_slli_epi32(channel(0), 24), _mm_slli_epi32(channel(1), 16)),
                                            _mm_or_si128(_mm_slli_epi32(channel(2), 8), channel(3)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out->diffuse + i), packed);
    }
    if constexpr (kTexels != kNoTexels) {
        const __m256d x = TexelCoordinates(_mm256_mul_pd(PlaneAt(r.u, r.du, n), w), r.width);
        const __m256d y = TexelCoordinates(_mm256_mul_pd(PlaneAt(r.v, r.dv, n), w), r.height);
        if constexpr (kTexels == kPointTexels) {
            PointAxis(x, out->tx + i);
            PointAxis(y, out->ty + i);
        } else {
            LinearAxis(x, out->tx + i, out->wx + i);
            LinearAxis(y, out->ty + i, out->wy + i);
        }
    }
}

template <bool kDepth, bool kGouraud, int kTexels>
void Attributes(const PerspectiveRow& r, int from, int count, PerspectiveSpan* out) {
    for (int i = 0; i < count; i += 4) FourPixels<kDepth, kGouraud, kTexels>(r, from, i, out);
}

using AttributeRoutine = void (*)(const PerspectiveRow&, int, int, PerspectiveSpan*);

template <bool kDepth, bool kGouraud>
constexpr AttributeRoutine kByTexels[kPerspectiveTexelKinds] = {
    &Attributes<kDepth, kGouraud, kNoTexels>, &Attributes<kDepth, kGouraud, kPointTexels>,
    &Attributes<kDepth, kGouraud, kLinearTexels>};

using avx2::Below;

// The lanes whose ordering the comparison passes, from the three (four) orderings.
__m256i Passes(__m256i less, __m256i equal, __m256i greater, const CompareLanes& c) {
    return _mm256_or_si256(_mm256_or_si256(_mm256_and_si256(less, _mm256_set1_epi32(c.less)),
                                           _mm256_and_si256(equal, _mm256_set1_epi32(c.equal))),
                           _mm256_and_si256(greater, _mm256_set1_epi32(c.greater)));
}

__m256i DepthPasses(__m256 z, __m256 reference, const CompareLanes& c) {
    auto lanes = [](__m256 x) { return _mm256_castps_si256(x); };
    const __m256i unordered = _mm256_and_si256(lanes(_mm256_cmp_ps(z, reference, _CMP_UNORD_Q)),
                                               _mm256_set1_epi32(c.unordered));
    return _mm256_or_si256(Passes(lanes(_mm256_cmp_ps(z, reference, _CMP_LT_OQ)),
                                  lanes(_mm256_cmp_ps(z, reference, _CMP_EQ_OQ)),
                                  lanes(_mm256_cmp_ps(z, reference, _CMP_GT_OQ)), c),
                           unordered);
}

__m256i AlphaPasses(__m256i alpha, uint32_t ref, const CompareLanes& c) {
    const __m256i reference = _mm256_set1_epi32(int(ref));
    return Passes(_mm256_cmpgt_epi32(reference, alpha), _mm256_cmpeq_epi32(alpha, reference),
                  _mm256_cmpgt_epi32(alpha, reference), c);
}

// One channel (by its shift) of the four texels around each of eight samples, weighted:
// (256 c00 + wx (c10 - c00)) (256 - wy) + (256 c01 + wx (c11 - c01)) wy, rounded, as the scalar
// sampler's c00 (256 - wx) + c10 wx... in 32-bit lanes.
[[gnu::always_inline]] inline __m256i BilinearChannel(const __m256i c[4], __m256i wx, __m256i wy, int shift) {
    const __m128i by = _mm_cvtsi32_si128(shift);
    const __m256i byte = _mm256_set1_epi32(0xFF);
    auto channel = [&](__m256i v) { return _mm256_and_si256(_mm256_srl_epi32(v, by), byte); };
    auto mix = [](__m256i a, __m256i b, __m256i w) {  // a (256 - w) + b w
        return _mm256_add_epi32(_mm256_slli_epi32(a, 8), _mm256_mullo_epi32(_mm256_sub_epi32(b, a), w));
    };
    const __m256i top = mix(channel(c[0]), channel(c[1]), wx);
    const __m256i bottom = mix(channel(c[2]), channel(c[3]), wx);
    const __m256i sum = _mm256_add_epi32(mix(top, bottom, wy), _mm256_set1_epi32(32768));
    return _mm256_sll_epi32(_mm256_srli_epi32(sum, 16), by);
}

template <int kTexels, bool kGouraud, int kBlend>
int Shade(const PerspectiveShading& job, const PerspectiveRow& row, int first, PerspectiveSpan& a, int from,
          int count, uint32_t* target, float* depth, bool* drew) {
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256i orMask = _mm256_set1_epi32(int(job.alphaOr));
    const __m256i wrapX = _mm256_set1_epi32(job.wrapX), wrapY = _mm256_set1_epi32(job.wrapY);
    const __m256i one = _mm256_set1_epi32(1);
    for (int i = from; i < count; i += 8) {
        const __m256i valid = _mm256_cmpgt_epi32(_mm256_set1_epi32(count - i), lanes);
        // Eight whole pixels of the rows, or those of the run alone at their ends.
        const bool whole = i + 8 <= job.room;
        __m256i pass = valid;
        __m256 z = _mm256_setzero_ps(), reference = _mm256_setzero_ps();
        // The depth first: the other attributes only where a pixel passes.
        if (job.depthTest) {
            const __m256d n = _mm256_add_pd(_mm256_set1_pd(double(first + i)), _mm256_setr_pd(0, 1, 2, 3));
            const __m256d step = _mm256_set1_pd(4.0);
            z = _mm256_set_m128(_mm256_cvtpd_ps(PlaneAt(row.depth, row.ddepth, _mm256_add_pd(n, step))),
                                _mm256_cvtpd_ps(PlaneAt(row.depth, row.ddepth, n)));
            _mm256_storeu_ps(a.depth + i, z);
            reference = whole ? _mm256_loadu_ps(depth + i) : _mm256_maskload_ps(depth + i, valid);
            pass = _mm256_and_si256(pass, DepthPasses(z, reference, job.depthPasses));
            if (_mm256_testz_si256(pass, pass)) continue;
        }
        *drew = true;
        FourPixels<false, kGouraud, kTexels>(row, first, i, &a);
        FourPixels<false, kGouraud, kTexels>(row, first, i + 4, &a);
        __m256i c = kGouraud ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a.diffuse + i))
                             : _mm256_set1_epi32(int(job.color));
        if constexpr (kTexels != kNoTexels) {
            const __m256i tx = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a.tx + i));
            const __m256i ty = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a.ty + i));
            const int* texels = reinterpret_cast<const int*>(job.texture);
            const __m256i pitch = _mm256_set1_epi32(job.width);
            __m256i texel;
            if constexpr (kTexels == kPointTexels) {
                const __m256i x = _mm256_and_si256(tx, wrapX), y = _mm256_and_si256(ty, wrapY);
                const __m256i inside = _mm256_and_si256(Below(x, job.width), Below(y, job.height));
                if (!_mm256_testc_si256(inside, pass)) return i;
                // Lanes not drawn read texel 0.
                const __m256i index = _mm256_and_si256(_mm256_add_epi32(_mm256_mullo_epi32(y, pitch), x), pass);
                texel = _mm256_i32gather_epi32(texels, index, 4);
            } else {
                const __m256i x0 = _mm256_and_si256(tx, wrapX), x1 = _mm256_and_si256(_mm256_add_epi32(tx, one), wrapX);
                const __m256i y0 = _mm256_and_si256(ty, wrapY), y1 = _mm256_and_si256(_mm256_add_epi32(ty, one), wrapY);
                const __m256i inside = _mm256_and_si256(_mm256_and_si256(Below(x0, job.width), Below(x1, job.width)),
                                                        _mm256_and_si256(Below(y0, job.height), Below(y1, job.height)));
                if (!_mm256_testc_si256(inside, pass)) return i;
                const __m256i row0 = _mm256_mullo_epi32(y0, pitch), row1 = _mm256_mullo_epi32(y1, pitch);
                auto gather = [&](__m256i row, __m256i x) {
                    return _mm256_i32gather_epi32(texels, _mm256_and_si256(_mm256_add_epi32(row, x), pass), 4);
                };
                const __m256i corners[4] = {gather(row0, x0), gather(row0, x1), gather(row1, x0), gather(row1, x1)};
                const __m256i wx = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a.wx + i));
                const __m256i wy = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a.wy + i));
                texel = _mm256_or_si256(
                    _mm256_or_si256(BilinearChannel(corners, wx, wy, 24), BilinearChannel(corners, wx, wy, 16)),
                    _mm256_or_si256(BilinearChannel(corners, wx, wy, 8), BilinearChannel(corners, wx, wy, 0)));
            }
            c = avx2::ModulateEight(texel, c);
        }
        if (job.alphaTest) pass = _mm256_and_si256(pass, AlphaPasses(_mm256_srli_epi32(c, 24), job.alphaRef, job.alphaPasses));
        int* out = reinterpret_cast<int*>(target + i);
        const __m256i dst = whole ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out)) : _mm256_maskload_epi32(out, valid);
        if constexpr (kBlend == kSourceAlphaBlend) c = avx2::BlendEight(c, dst);
        if constexpr (kBlend == kAddWeighted) {
            const __m256i alpha = _mm256_shuffle_epi8(
                c, _mm256_setr_epi8(3, 3, 3, 3, 7, 7, 7, 7, 11, 11, 11, 11, 15, 15, 15, 15, 3, 3, 3, 3, 7, 7, 7, 7, 11,
                                    11, 11, 11, 15, 15, 15, 15));
            c = _mm256_adds_epu8(dst, avx2::ModulateEight(c, alpha));
        }
        if constexpr (kBlend == kAddSource) c = _mm256_adds_epu8(c, dst);
        if constexpr (kBlend == kMultiply) c = avx2::ModulateEight(c, dst);
        const __m256i written = _mm256_blendv_epi8(dst, _mm256_or_si256(c, orMask), pass);
        if (whole) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), written);
        } else {
            _mm256_maskstore_epi32(out, valid, written);
        }
        if (job.depthWrite) {
            const __m256 kept = _mm256_blendv_ps(reference, z, _mm256_castsi256_ps(pass));
            if (whole) {
                _mm256_storeu_ps(depth + i, kept);
            } else {
                _mm256_maskstore_ps(depth + i, valid, kept);
            }
        }
    }
    return count;
}

using ShadeRoutine = int (*)(const PerspectiveShading&, const PerspectiveRow&, int, PerspectiveSpan&, int, int,
                             uint32_t*, float*, bool*);

template <int kBlend>
constexpr ShadeRoutine kShades[kPerspectiveTexelKinds][2] = {
    {&Shade<kNoTexels, false, kBlend>, &Shade<kNoTexels, true, kBlend>},
    {&Shade<kPointTexels, false, kBlend>, &Shade<kPointTexels, true, kBlend>},
    {&Shade<kLinearTexels, false, kBlend>, &Shade<kLinearTexels, true, kBlend>}};

}  // namespace

int ShadePerspectiveAvx2(const PerspectiveShading& job, const PerspectiveRow& row, int first,
                         PerspectiveSpan* span, int from, int count, uint32_t* target, float* depth, bool* drew) {
    static constexpr const ShadeRoutine (*kByBlend[kPerspectiveBlends])[2] = {
        kShades<kWriteSource>, kShades<kSourceAlphaBlend>, kShades<kAddWeighted>, kShades<kAddSource>,
        kShades<kMultiply>};
    return kByBlend[job.blend][job.texels][job.gouraud ? 1 : 0](job, row, first, *span, from, count, target, depth,
                                                                drew);
}

void PerspectiveAttributesAvx2(const PerspectiveRow& row, int from, int count, bool depth,
                               bool gouraud, PerspectiveTexels texels, PerspectiveSpan* out) {
    const AttributeRoutine* table = depth ? (gouraud ? kByTexels<true, true> : kByTexels<true, false>)
                                          : (gouraud ? kByTexels<false, true> : kByTexels<false, false>);
    table[texels](row, from, count, out);
}

}  // namespace platform::gfx
