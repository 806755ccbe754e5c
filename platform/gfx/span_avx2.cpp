// The AVX2 span: this file is compiled for AVX2 and includes no inline code shared with the
// rest of the device but the AVX2 pixel arithmetic, so no AVX2 instruction leaks into code that
// runs on processors without it. Its arithmetic is the device's: round((source x alpha + destination x (255 - alpha)) / 255).
#include "platform/gfx/span_avx2.h"

#include <immintrin.h>

#include "platform/gfx/pixels_avx2.h"

namespace platform::gfx {

namespace {

using avx2::BlendEight;
using avx2::Mul255;

// The rows of BlendRectAvx2 with the texel run and the tint fixed, so that the inner loop has
// no tests but its own.
template <TexelRun kRun, bool kTint>
void BlendRows(const uint32_t* texels, int texWidth, const int* rows, const int* columns,
               int done, int height, uint32_t color, uint32_t* target, int pitch, uint32_t alphaOr) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i orMask = _mm256_set1_epi32(int(alphaOr));
    const __m256i tintWide = _mm256_unpacklo_epi8(_mm256_set1_epi32(int(color)), zero);
    const __m256i pairs = _mm256_setr_epi32(0, 0, 1, 1, 2, 2, 3, 3);
    for (int r = 0; r < height; ++r) {
        const uint32_t* texRow = texels + size_t(rows[r]) * size_t(texWidth);
        const uint32_t* first = texRow + columns[0];
        uint32_t* dst = target + size_t(r) * size_t(pitch);
        for (int i = 0; i < done; i += 8) {
            __m256i src;
            if constexpr (kRun == TexelRun::kStraight) {
                src = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(first + i));
            } else if constexpr (kRun == TexelRun::kDoubled) {
                const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first + i / 2));
                src = _mm256_permutevar8x32_epi32(_mm256_castsi128_si256(four), pairs);
            } else {
                src = _mm256_i32gather_epi32(
                    reinterpret_cast<const int*>(texRow),
                    _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns + i)), 4);
            }
            if constexpr (kTint) {
                src = _mm256_packus_epi16(Mul255(_mm256_unpacklo_epi8(src, zero), tintWide),
                                          Mul255(_mm256_unpackhi_epi8(src, zero), tintWide));
            }
            // Every group is blended, even wholly opaque or transparent ones (the arithmetic
            // gives the source or the destination exactly there): sprite edges mix the two
            // within a few pixels, and a branch on them mispredicts more than it saves.
            __m256i* out = reinterpret_cast<__m256i*>(dst + i);
            _mm256_storeu_si256(out, _mm256_or_si256(BlendEight(src, _mm256_loadu_si256(out)), orMask));
        }
    }
}

template <TexelRun kRun>
void BlendRowsOfRun(bool tint, const uint32_t* texels, int texWidth, const int* rows,
                    const int* columns, int done, int height, uint32_t color, uint32_t* target,
                    int pitch, uint32_t alphaOr) {
    (tint ? BlendRows<kRun, true> : BlendRows<kRun, false>)(texels, texWidth, rows, columns, done,
                                                            height, color, target, pitch, alphaOr);
}

// The texel indexes along one axis of four pixels: floor(coordinate x size). Where the device
// gives up on a far place or not a number (beyond +-1e9) the index lies outside the texture
// (far from it, or the conversion's 0x80000000), so the caller samples those pixels itself.
__m128i AxisTexels(__m256d pixels, double start, double step, double size) {
    const __m256d x = _mm256_mul_pd(
        _mm256_add_pd(_mm256_set1_pd(start), _mm256_mul_pd(_mm256_set1_pd(step), pixels)), _mm256_set1_pd(size));
    return _mm256_cvttpd_epi32(_mm256_floor_pd(x));
}

// Lanes of x below the limit, as unsigned numbers (negative ones are not).
__m256i Below(__m256i x, int limit) {
    return _mm256_cmpeq_epi32(_mm256_min_epu32(x, _mm256_set1_epi32(limit - 1)), x);
}

template <bool kTint>
bool BlendWalk(const TexelWalk& walk, const WalkRows& rows, uint32_t color, uint32_t alphaOr, int* row,
               int* x) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i orMask = _mm256_set1_epi32(int(alphaOr));
    const __m256i tintWide = _mm256_unpacklo_epi8(_mm256_set1_epi32(int(color)), zero);
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256d low = _mm256_setr_pd(0, 1, 2, 3), high = _mm256_setr_pd(4, 5, 6, 7);
    const double width = double(walk.width), height = double(walk.height);
    // One group of eight a turn, moving to the next row by selection rather than by an inner
    // loop: runs are short, and the number of groups in each would be mispredicted.
    int r = *row, from = *x;
    while (r < rows.count) {
        const int last = rows.last[r];
        const double u = walk.u + walk.uRow * (rows.top + r), v = walk.v + walk.vRow * (rows.top + r);
        const __m256i valid = _mm256_cmpgt_epi32(_mm256_set1_epi32(last + 1 - from), lanes);
        const __m256d n = _mm256_set1_pd(double(from - rows.left));
        const __m256d n0 = _mm256_add_pd(n, low), n1 = _mm256_add_pd(n, high);
        const __m256i tx = _mm256_set_m128i(AxisTexels(n1, u, walk.du, width), AxisTexels(n0, u, walk.du, width));
        const __m256i ty = _mm256_set_m128i(AxisTexels(n1, v, walk.dv, height), AxisTexels(n0, v, walk.dv, height));
        const __m256i inside = _mm256_and_si256(Below(tx, walk.width), Below(ty, walk.height));
        if (!_mm256_testc_si256(inside, valid)) {  // a pixel of the run samples outside
            *row = r;
            *x = from;
            return false;
        }
        // Lanes past the run read texel 0 and are not written.
        const __m256i index =
            _mm256_and_si256(_mm256_add_epi32(_mm256_mullo_epi32(ty, _mm256_set1_epi32(walk.width)), tx), valid);
        __m256i src = _mm256_i32gather_epi32(reinterpret_cast<const int*>(walk.texels), index, 4);
        if constexpr (kTint) {
            src = _mm256_packus_epi16(Mul255(_mm256_unpacklo_epi8(src, zero), tintWide),
                                      Mul255(_mm256_unpackhi_epi8(src, zero), tintWide));
        }
        uint32_t* target = rows.target + size_t(r) * size_t(rows.pitch) + from;
        if (from + 8 <= rows.pitch) {
            // Eight pixels of the row: those past the run are written back as they were.
            __m256i* out = reinterpret_cast<__m256i*>(target);
            const __m256i dst = _mm256_loadu_si256(out);
            const __m256i blended = _mm256_or_si256(BlendEight(src, dst), orMask);
            _mm256_storeu_si256(out, _mm256_blendv_epi8(dst, blended, valid));
        } else {
            int* out = reinterpret_cast<int*>(target);
            const __m256i dst = _mm256_maskload_epi32(out, valid);
            _mm256_maskstore_epi32(out, valid, _mm256_or_si256(BlendEight(src, dst), orMask));
        }
        from += 8;
        const bool rowDone = from > last;
        r += rowDone ? 1 : 0;
        from = rowDone && r < rows.count ? rows.first[r] : from;
    }
    return true;
}

}  // namespace

bool BlendWalkAvx2(const TexelWalk& walk, const WalkRows& rows, bool tint, uint32_t color,
                   uint32_t alphaOr, int* row, int* x) {
    return (tint ? BlendWalk<true> : BlendWalk<false>)(walk, rows, color, alphaOr, row, x);
}

bool HasAvx2() { return __builtin_cpu_supports("avx2"); }

int BlendRectAvx2(const uint32_t* texels, int texWidth, const int* rows, const int* columns,
                  TexelRun run, int width, int height, bool tint, uint32_t color, uint32_t* target,
                  int pitch, uint32_t alphaOr) {
    const int done = width & ~7;
    if (done == 0) return 0;
    switch (run) {
        case TexelRun::kStraight:
            BlendRowsOfRun<TexelRun::kStraight>(tint, texels, texWidth, rows, columns, done, height,
                                                color, target, pitch, alphaOr);
            break;
        case TexelRun::kDoubled:
            BlendRowsOfRun<TexelRun::kDoubled>(tint, texels, texWidth, rows, columns, done, height,
                                               color, target, pitch, alphaOr);
            break;
        default:
            BlendRowsOfRun<TexelRun::kIndexed>(tint, texels, texWidth, rows, columns, done, height,
                                               color, target, pitch, alphaOr);
            break;
    }
    return done;
}

}  // namespace platform::gfx
