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

// Source-alpha blending of eight pixels. With s' = s - 128 and d' = d - 128 as signed bytes,
// s a + d (255 - a) = s' a + d' (255 - a) + 128 x 255, and s' a + d' (255 - a) lies within
// [-128 x 255, 127 x 255]: one multiply-add of each channel's (a, 255 - a) with its (s', d') gives
// it without saturating, and adding 128 x 255 + 128 leaves it ready for the rounding division.
inline __m256i BlendEight(__m256i src, __m256i dst) {
    const __m256i flip = _mm256_set1_epi8(char(0x80));
    // The source alpha in every byte of its pixel.
    const __m256i alphaPick = _mm256_setr_epi8(3, 3, 3, 3, 7, 7, 7, 7, 11, 11, 11, 11, 15, 15, 15, 15,
                                               3, 3, 3, 3, 7, 7, 7, 7, 11, 11, 11, 11, 15, 15, 15, 15);
    const __m256i alpha = _mm256_shuffle_epi8(src, alphaPick);
    const __m256i inverse = _mm256_xor_si256(alpha, _mm256_set1_epi8(char(0xFF)));
    const __m256i s = _mm256_xor_si256(src, flip), d = _mm256_xor_si256(dst, flip);
    const __m256i bias = _mm256_set1_epi16(short(128 * 255 + 128));
    const __m256i scale = _mm256_set1_epi16(257);
    const __m256i low = _mm256_add_epi16(
        _mm256_maddubs_epi16(_mm256_unpacklo_epi8(alpha, inverse), _mm256_unpacklo_epi8(s, d)), bias);
    const __m256i high = _mm256_add_epi16(
        _mm256_maddubs_epi16(_mm256_unpackhi_epi8(alpha, inverse), _mm256_unpackhi_epi8(s, d)), bias);
    // (t x 257) >> 16 with t = x + 128 is round(x / 255), as in Div255.
    return _mm256_packus_epi16(_mm256_mulhi_epu16(low, scale), _mm256_mulhi_epu16(high, scale));
}

// Lanes of x below the limit, as unsigned numbers (negative ones are not).
inline __m256i Below(__m256i x, int limit) {
    return _mm256_cmpeq_epi32(_mm256_min_epu32(x, _mm256_set1_epi32(limit - 1)), x);
}

}  // namespace platform::gfx::avx2
