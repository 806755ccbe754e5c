// The AVX2 span: this file alone is compiled for AVX2 and includes nothing with inline code
// shared with the rest of the device, so no AVX2 instruction leaks into code that runs on
// processors without it. Its arithmetic is the device's: round((source x alpha + destination x (255 - alpha)) / 255).
#include "platform/gfx/span_avx2.h"

#include <immintrin.h>

namespace platform::gfx {

namespace {

// round(x / 255) on sixteen 16-bit lanes holding x <= 255 x 255.
__m256i Div255(__m256i x) {
    const __m256i t = _mm256_add_epi16(x, _mm256_set1_epi16(128));
    return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
}

__m256i Mul255(__m256i a, __m256i b) { return Div255(_mm256_mullo_epi16(a, b)); }

__m256i BlendHalf(__m256i src, __m256i dst) {
    __m256i alpha = _mm256_shufflelo_epi16(src, 0xFF);
    alpha = _mm256_shufflehi_epi16(alpha, 0xFF);
    const __m256i inverse = _mm256_sub_epi16(_mm256_set1_epi16(255), alpha);
    return Div255(_mm256_add_epi16(_mm256_mullo_epi16(src, alpha), _mm256_mullo_epi16(dst, inverse)));
}

}  // namespace

bool HasAvx2() { return __builtin_cpu_supports("avx2"); }

int BlendRectAvx2(const uint32_t* texels, int texWidth, const int* rows, const int* columns,
                  TexelRun run, int width, int height, bool tint, uint32_t color, uint32_t* target,
                  int pitch, uint32_t alphaOr) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i alphaMask = _mm256_set1_epi32(int(0xFF000000u));
    const __m256i orMask = _mm256_set1_epi32(int(alphaOr));
    const __m256i tintWide = _mm256_unpacklo_epi8(_mm256_set1_epi32(int(color)), zero);
    const __m256i pairs = _mm256_setr_epi32(0, 0, 1, 1, 2, 2, 3, 3);
    const int done = width & ~7;
    for (int r = 0; r < height; ++r) {
        const uint32_t* texRow = texels + size_t(rows[r]) * size_t(texWidth);
        const uint32_t* first = texRow + columns[0];
        uint32_t* dst = target + size_t(r) * size_t(pitch);
        for (int i = 0; i < done; i += 8) {
            __m256i src;
            if (run == TexelRun::kStraight) {
                src = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(first + i));
            } else if (run == TexelRun::kDoubled) {
                const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first + i / 2));
                src = _mm256_permutevar8x32_epi32(_mm256_castsi128_si256(four), pairs);
            } else {
                src = _mm256_i32gather_epi32(
                    reinterpret_cast<const int*>(texRow),
                    _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns + i)), 4);
            }
            if (tint) {
                src = _mm256_packus_epi16(Mul255(_mm256_unpacklo_epi8(src, zero), tintWide),
                                          Mul255(_mm256_unpackhi_epi8(src, zero), tintWide));
            }
            const __m256i alpha = _mm256_and_si256(src, alphaMask);
            if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(alpha, zero)) == -1) continue;
            __m256i* out = reinterpret_cast<__m256i*>(dst + i);
            if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(alpha, alphaMask)) == -1) {
                _mm256_storeu_si256(out, _mm256_or_si256(src, orMask));
                continue;
            }
            const __m256i d = _mm256_loadu_si256(out);
            const __m256i lo = BlendHalf(_mm256_unpacklo_epi8(src, zero), _mm256_unpacklo_epi8(d, zero));
            const __m256i hi = BlendHalf(_mm256_unpackhi_epi8(src, zero), _mm256_unpackhi_epi8(d, zero));
            _mm256_storeu_si256(out, _mm256_or_si256(_mm256_packus_epi16(lo, hi), orMask));
        }
    }
    return done;
}

}  // namespace platform::gfx
