// The AVX2 span: this file is compiled for AVX2 and includes no inline code shared with the
// rest of the device but the AVX2 pixel arithmetic, so no AVX2 instruction leaks into code that
// runs on processors without it. Its arithmetic is the device's: round((source x alpha + destination x (255 - alpha)) / 255).
#include "platform/gfx/span_avx2.h"

#include <immintrin.h>

#include "platform/gfx/pixels_avx2.h"

namespace platform::gfx {

namespace {

using avx2::Below;
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

template <bool kTint, bool kInside>
bool BlendWalk(const TexelWalk& walk, const WalkRows& rows, uint32_t color, uint32_t alphaOr, int* row, int* x) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i orMask = _mm256_set1_epi32(int(alphaOr));
    const __m256i tintWide = _mm256_unpacklo_epi8(_mm256_set1_epi32(int(color)), zero);
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256i uLanes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(walk.u));
    const __m256i vLanes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(walk.v));
    const __m256i uEight = _mm256_set1_epi32(8 * walk.uPixel), vEight = _mm256_set1_epi32(8 * walk.vPixel);
    const __m256i fraction = _mm256_set1_epi32((1 << walk.shift) - 1);
    const __m256i near = _mm256_set1_epi32(walk.near);
    const __m256i width = _mm256_set1_epi32(walk.width);
    const __m128i shift = _mm_cvtsi32_si128(walk.shift);
    const int* texels = reinterpret_cast<const int*>(walk.texels);  // for the inserts
    int from = *x;
    for (int r = *row; r < rows.count; from = ++r < rows.count ? rows.first[r] : 0) {
        const int last = rows.last[r];
        const int m = rows.top + r, n = from - rows.left;
        __m256i u = _mm256_add_epi32(uLanes, _mm256_set1_epi32(walk.uRow * m + walk.uPixel * n));
        __m256i v = _mm256_add_epi32(vLanes, _mm256_set1_epi32(walk.vRow * m + walk.vPixel * n));
        const int64_t rowAt = int64_t(r) * rows.pitch;
        for (; from <= last; from += 8, u = _mm256_add_epi32(u, uEight), v = _mm256_add_epi32(v, vEight)) {
            const __m256i valid = _mm256_cmpgt_epi32(_mm256_set1_epi32(last + 1 - from), lanes);
            const __m256i doubtful = _mm256_cmpgt_epi32(
                near, _mm256_min_epu32(_mm256_and_si256(u, fraction), _mm256_and_si256(v, fraction)));
            const __m256i tx = _mm256_sra_epi32(u, shift), ty = _mm256_sra_epi32(v, shift);
            bool sure;
            if constexpr (kInside) {
                sure = _mm256_testz_si256(doubtful, valid);
            } else {
                const __m256i inside = _mm256_and_si256(Below(tx, walk.width), Below(ty, walk.height));
                sure = _mm256_testc_si256(_mm256_andnot_si256(doubtful, inside), valid);
            }
            if (!sure) {
                *row = r;
                *x = from;
                return false;
            }
            // Lanes past the run read texel 0 and are not written. The texels are read one by
            // one: quicker than a gather on the processors at hand.
            // Unsigned (lanes inside the texture, or 0): the addresses need no sign extension.
            alignas(32) uint32_t index[8];
            _mm256_store_si256(reinterpret_cast<__m256i*>(index),
                               _mm256_and_si256(_mm256_add_epi32(_mm256_mullo_epi32(ty, width), tx), valid));
            __m128i low = _mm_cvtsi32_si128(texels[index[0]]);
            __m128i high = _mm_cvtsi32_si128(texels[index[4]]);
            low = _mm_insert_epi32(low, texels[index[1]], 1);
            high = _mm_insert_epi32(high, texels[index[5]], 1);
            low = _mm_insert_epi32(low, texels[index[2]], 2);
            high = _mm_insert_epi32(high, texels[index[6]], 2);
            low = _mm_insert_epi32(low, texels[index[3]], 3);
            high = _mm_insert_epi32(high, texels[index[7]], 3);
            __m256i src = _mm256_set_m128i(high, low);
            if constexpr (kTint) {
                src = _mm256_packus_epi16(Mul255(_mm256_unpacklo_epi8(src, zero), tintWide),
                                          Mul255(_mm256_unpackhi_epi8(src, zero), tintWide));
            }
            const int64_t at = rowAt + from;
            if (at + 8 <= rows.end) {
                // Eight pixels of the row: those past the run are written back as they were.
                __m256i* out = reinterpret_cast<__m256i*>(rows.target + at);
                const __m256i dst = _mm256_loadu_si256(out);
                const __m256i blended = _mm256_or_si256(BlendEight(src, dst), orMask);
                _mm256_storeu_si256(out, _mm256_blendv_epi8(dst, blended, valid));
            } else {
                int* out = reinterpret_cast<int*>(rows.target + at);
                const __m256i dst = _mm256_maskload_epi32(out, valid);
                _mm256_maskstore_epi32(out, valid, _mm256_or_si256(BlendEight(src, dst), orMask));
            }
        }
    }
    return true;
}

}  // namespace

bool BlendWalkAvx2(const TexelWalk& walk, const WalkRows& rows, bool tint, uint32_t color,
                   uint32_t alphaOr, int* row, int* x) {
    if (walk.inside) {
        return (tint ? BlendWalk<true, true> : BlendWalk<false, true>)(walk, rows, color, alphaOr, row, x);
    }
    return (tint ? BlendWalk<true, false> : BlendWalk<false, false>)(walk, rows, color, alphaOr, row, x);
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
