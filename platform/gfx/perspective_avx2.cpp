// The perspective attributes with 256-bit vectors: this file is compiled for AVX2 and includes
// nothing with inline code shared with the rest of the device. Each lane does the operations the
// scalar loop does, in its order and in double precision (the division included), and IEEE
// arithmetic gives each lane the scalar result; the conversions and clamps are chosen to agree
// with the scalar ones on every input, not-a-number included.
#include "platform/gfx/perspective_avx2.h"

#include <immintrin.h>

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

template <bool kDepth, bool kGouraud, int kTexels>
void Attributes(const PerspectiveRow& r, int from, int count, PerspectiveSpan* out) {
    const __m256d lanes = _mm256_setr_pd(0, 1, 2, 3);
    for (int i = 0; i < count; i += 4) {
        const __m256d n = _mm256_add_pd(_mm256_set1_pd(double(from + i)), lanes);
        const __m256d w = _mm256_div_pd(_mm256_set1_pd(1.0), PlaneAt(r.rhw, r.drhw, n));
        if constexpr (kDepth) _mm_storeu_ps(out->depth + i, _mm256_cvtpd_ps(PlaneAt(r.depth, r.ddepth, n)));
        if constexpr (kGouraud) {
            __m128i packed = _mm_setzero_si128();
            for (int k = 0; k < 4; ++k) {
                const __m128i byte = RoundToBytes(_mm256_mul_pd(PlaneAt(r.color[k], r.dcolor[k], n), w));
                packed = _mm_or_si128(packed, _mm_sll_epi32(byte, _mm_cvtsi32_si128(24 - 8 * k)));
            }
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
}

using AttributeRoutine = void (*)(const PerspectiveRow&, int, int, PerspectiveSpan*);

template <bool kDepth, bool kGouraud>
constexpr AttributeRoutine kByTexels[kPerspectiveTexelKinds] = {
    &Attributes<kDepth, kGouraud, kNoTexels>, &Attributes<kDepth, kGouraud, kPointTexels>,
    &Attributes<kDepth, kGouraud, kLinearTexels>};

}  // namespace

void PerspectiveAttributesAvx2(const PerspectiveRow& row, int from, int count, bool depth,
                               bool gouraud, PerspectiveTexels texels, PerspectiveSpan* out) {
    const AttributeRoutine* table = depth ? (gouraud ? kByTexels<true, true> : kByTexels<true, false>)
                                          : (gouraud ? kByTexels<false, true> : kByTexels<false, false>);
    table[texels](row, from, count, out);
}

}  // namespace platform::gfx
