// Pixel arithmetic on eight ARGB pixels at a time with 256-bit vectors, for the files compiled for
// AVX2 alone (and included by nothing else, so no AVX2 instruction leaks into code that runs on
// processors without it). It is the device's: round(a x b / 255) per channel, and
// round((source x alpha + destination x (255 - alpha)) / 255).
#pragma once

#include <immintrin.h>

namespace platform::gfx::avx2 {

// round(x / 255) on sixteen 16-bit lanes holding x <= 255 x 255: with t = x + 128,
// (t + (t >> 8)) >> 8 equals (t x 257) >> 16, one high multiply.
inline __m256i Div255(__m256i x) {
    return _mm256_mulhi_epu16(_mm256_add_epi16(x, _mm256_set1_epi16(128)), _mm256_set1_epi16(257));
}

inline __m256i Mul255(__m256i a, __m256i b) { return Div255(_mm256_mullo_epi16(a, b)); }

// Each channel of eight pixels times the same channel of eight others, rounded.
inline __m256i ModulateEight(__m256i a, __m256i b) {
    const __m256i zero = _mm256_setzero_si256();
    return _mm256_packus_epi16(Mul255(_mm256_unpacklo_epi8(a, zero), _mm256_unpacklo_epi8(b, zero)),
                               Mul255(_mm256_unpackhi_epi8(a, zero), _mm256_unpackhi_epi8(b, zero)));
}

// Source-alpha blending of eight pixels. The channels are split into the red-blue and the
// alpha-green byte of each 16-bit lane, so no widening or packing is needed.
inline __m256i BlendEight(__m256i src, __m256i dst) {
    const __m256i low = _mm256_set1_epi16(0x00FF);
    // The source alpha in the low byte of both lanes of each pixel.
    const __m256i alphaPick = _mm256_setr_epi8(3, -1, 3, -1, 7, -1, 7, -1, 11, -1, 11, -1, 15, -1, 15, -1,
                                               3, -1, 3, -1, 7, -1, 7, -1, 11, -1, 11, -1, 15, -1, 15, -1);
    const __m256i alpha = _mm256_shuffle_epi8(src, alphaPick);
    const __m256i inverse = _mm256_xor_si256(alpha, low);
    const __m256i rb = Div255(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(src, low), alpha),
                                               _mm256_mullo_epi16(_mm256_and_si256(dst, low), inverse)));
    const __m256i ag = Div255(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_srli_epi16(src, 8), alpha),
                                               _mm256_mullo_epi16(_mm256_srli_epi16(dst, 8), inverse)));
    return _mm256_or_si256(rb, _mm256_slli_epi16(ag, 8));
}

// Lanes of x below the limit, as unsigned numbers (negative ones are not).
inline __m256i Below(__m256i x, int limit) {
    return _mm256_cmpeq_epi32(_mm256_min_epu32(x, _mm256_set1_epi32(limit - 1)), x);
}

}  // namespace platform::gfx::avx2
