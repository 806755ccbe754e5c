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

// The walk with the tint, the bounds and the test of the target's end fixed (only a walk down
// to its last row needs it). Its loop reads the next group's texels before it blends the
// current one, rows included, so that the loads of one run beside the arithmetic of the other.
template <bool kTint, TexelWalk::Bounds kBounds, bool kNearEnd>
class Walker {
public:
    Walker(const TexelWalk& walk, const WalkRows& rows, uint32_t color, uint32_t alphaOr)
        : walk_(walk),
          rows_(rows),
          texels_(reinterpret_cast<const int*>(walk.texels)),
          target_(rows.target),
          orMask_(_mm256_set1_epi32(int(alphaOr))),
          tint_(_mm256_unpacklo_epi8(_mm256_set1_epi32(int(color)), _mm256_setzero_si256())),
          uLanes_(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(walk.u))),
          vLanes_(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(walk.v))),
          uEight_(_mm256_set1_epi32(8 * walk.uPixel)),
          vEight_(_mm256_set1_epi32(8 * walk.vPixel)),
          width_(_mm256_set1_epi32(walk.width)),
          uWrap_(_mm256_set1_epi32(walk.width - 1)),
          vWrap_(_mm256_set1_epi32(walk.height - 1)) {}

    // BlendWalkAvx2's loop.
    bool Run(int* row, int* x) {
        // The coordinates at the first pixel of every run, eight runs at a time.
        const __m256i uRow = _mm256_set1_epi32(walk_.uRow), uPixel = _mm256_set1_epi32(walk_.uPixel);
        const __m256i vRow = _mm256_set1_epi32(walk_.vRow), vPixel = _mm256_set1_epi32(walk_.vPixel);
        for (int r = 0; r < rows_.count; r += 8) {
            const __m256i m = _mm256_add_epi32(_mm256_set1_epi32(rows_.top + r), Lanes());
            const __m256i n = _mm256_sub_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows_.first + r)),
                                               _mm256_set1_epi32(rows_.left));
            _mm256_store_si256(reinterpret_cast<__m256i*>(runU_ + r),
                               _mm256_add_epi32(_mm256_mullo_epi32(m, uRow), _mm256_mullo_epi32(n, uPixel)));
            _mm256_store_si256(reinterpret_cast<__m256i*>(runV_ + r),
                               _mm256_add_epi32(_mm256_mullo_epi32(m, vRow), _mm256_mullo_epi32(n, vPixel)));
        }
        Group group;
        if (*row >= rows_.count || !Locate(*row, *x, &group)) return true;
        if (!Sure(group)) return Stop(group, row, x);
        __m256i src = Fetch(group);
        for (;;) {
            Group next;
            if (!Next(group, &next)) {
                Put(src, group);
                return true;
            }
            if (!Sure(next)) {
                Put(src, group);
                return Stop(next, row, x);
            }
            const __m256i nextSrc = Fetch(next);
            Put(src, group);
            group = next;
            src = nextSrc;
        }
    }

private:
    // Eight pixels from `from` of run r (those up to `last` lie in it), and their coordinates.
    struct Group {
        int r, from, last;
        int64_t at;     // the first pixel's word in the target
        __m256i u, v;
        __m256i left;   // pixels of the run from the group on, in every lane
        __m256i valid;  // lanes below `left`
    };

    // The group at pixel `from` of run r, or at the start of the first run after it with
    // pixels: false when there is none.
    bool Locate(int r, int from, Group* g) const {
        if (from > rows_.last[r]) return NextRun(r + 1, g);
        const int n = from - rows_.first[r];
        Place(r, from, runU_[r] + walk_.uPixel * n, runV_[r] + walk_.vPixel * n, g);
        return true;
    }

    // The group at the start of the first run from run r on with pixels: false when there is none.
    __attribute__((always_inline)) bool NextRun(int r, Group* g) const {
        for (; r < rows_.count; ++r) {
            if (rows_.first[r] <= rows_.last[r]) {
                Place(r, rows_.first[r], runU_[r], runV_[r], g);
                return true;
            }
        }
        return false;
    }

    // The group at pixel `from` of run r, whose first pixel's coordinates are the box's top left
    // pixel's plus (u, v).
    __attribute__((always_inline)) void Place(int r, int from, int32_t u, int32_t v, Group* g) const {
        g->r = r;
        g->from = from;
        g->last = rows_.last[r];
        g->at = int64_t(r) * rows_.pitch + from;
        g->u = _mm256_add_epi32(uLanes_, _mm256_set1_epi32(u));
        g->v = _mm256_add_epi32(vLanes_, _mm256_set1_epi32(v));
        g->left = _mm256_set1_epi32(g->last + 1 - from);
        g->valid = _mm256_cmpgt_epi32(g->left, Lanes());
    }

    // The group after g: the next eight pixels of its run by a step, else the next run's first.
    __attribute__((always_inline)) bool Next(const Group& g, Group* next) const {
        if (g.from + 8 > g.last) return NextRun(g.r + 1, next);
        *next = g;
        next->from += 8;
        next->at += 8;
        next->u = _mm256_add_epi32(g.u, uEight_);
        next->v = _mm256_add_epi32(g.v, vEight_);
        // Stepped in the vector: a broadcast from a general register costs more.
        next->left = _mm256_sub_epi32(g.left, _mm256_set1_epi32(8));
        next->valid = _mm256_cmpgt_epi32(next->left, Lanes());
        return true;
    }

    // Whether every pixel of the group samples inside the texture.
    bool Sure(const Group& g) const {
        if constexpr (kBounds != TexelWalk::kTested) return true;
        const __m256i inside = _mm256_and_si256(Below(_mm256_srai_epi32(g.u, kWalkShift), walk_.width),
                                                Below(_mm256_srai_epi32(g.v, kWalkShift), walk_.height));
        return _mm256_testc_si256(inside, g.valid);
    }

    // The group's texels, read one by one: quicker than a gather on the processors at hand.
    // Lanes past the run read texel 0, so every index is inside the texture and unsigned (the
    // addresses need no sign extension). The indices leave the vector two at a time, as moves
    // from vector to general registers are what the loop waits on most.
    __m256i Fetch(const Group& g) const {
        __m256i tx = _mm256_srai_epi32(g.u, kWalkShift), ty = _mm256_srai_epi32(g.v, kWalkShift);
        if constexpr (kBounds == TexelWalk::kWrapped) {
            tx = _mm256_and_si256(tx, uWrap_);
            ty = _mm256_and_si256(ty, vWrap_);
        }
        const __m256i indices = _mm256_and_si256(_mm256_add_epi32(_mm256_mullo_epi32(ty, width_), tx), g.valid);
        const __m128i lower = _mm256_castsi256_si128(indices), upper = _mm256_extracti128_si256(indices, 1);
        const uint64_t pairs[4] = {uint64_t(_mm_cvtsi128_si64(lower)), uint64_t(_mm_extract_epi64(lower, 1)),
                                   uint64_t(_mm_cvtsi128_si64(upper)), uint64_t(_mm_extract_epi64(upper, 1))};
        const uint32_t index[8] = {uint32_t(pairs[0]), uint32_t(pairs[0] >> 32), uint32_t(pairs[1]),
                                   uint32_t(pairs[1] >> 32), uint32_t(pairs[2]), uint32_t(pairs[2] >> 32),
                                   uint32_t(pairs[3]), uint32_t(pairs[3] >> 32)};
        __m128i low = _mm_cvtsi32_si128(texels_[index[0]]);
        __m128i high = _mm_cvtsi32_si128(texels_[index[4]]);
        low = _mm_insert_epi32(low, texels_[index[1]], 1);
        high = _mm_insert_epi32(high, texels_[index[5]], 1);
        low = _mm_insert_epi32(low, texels_[index[2]], 2);
        high = _mm_insert_epi32(high, texels_[index[6]], 2);
        low = _mm_insert_epi32(low, texels_[index[3]], 3);
        high = _mm_insert_epi32(high, texels_[index[7]], 3);
        return _mm256_set_m128i(high, low);
    }

    // Blends the texels, tinted first if so, onto the group's pixels in the run.
    void Put(__m256i src, const Group& g) const {
        if constexpr (kTint) {
            const __m256i zero = _mm256_setzero_si256();
            src = _mm256_packus_epi16(Mul255(_mm256_unpacklo_epi8(src, zero), tint_),
                                      Mul255(_mm256_unpackhi_epi8(src, zero), tint_));
        }
        if (!kNearEnd || g.at + 8 <= rows_.end) {
            // Eight pixels of the row: those past the run are written back as they were.
            __m256i* out = reinterpret_cast<__m256i*>(target_ + g.at);
            const __m256i dst = _mm256_loadu_si256(out);
            const __m256i blended = _mm256_or_si256(BlendEight(src, dst), orMask_);
            _mm256_storeu_si256(out, _mm256_blendv_epi8(dst, blended, g.valid));
        } else {
            int* out = reinterpret_cast<int*>(target_ + g.at);
            const __m256i dst = _mm256_maskload_epi32(out, g.valid);
            _mm256_maskstore_epi32(out, g.valid, _mm256_or_si256(BlendEight(src, dst), orMask_));
        }
    }

    static __m256i Lanes() { return _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7); }

    // Leaves the walk at group g, for the caller to sample it: false, as BlendWalkAvx2 returns.
    static bool Stop(const Group& g, int* row, int* x) {
        *row = g.r;
        *x = g.from;
        return false;
    }

    const TexelWalk& walk_;
    const WalkRows& rows_;
    // Copied: stores into the target could otherwise alias them, and they would be read again.
    const int* const texels_;
    uint32_t* const target_;
    const __m256i orMask_, tint_, uLanes_, vLanes_, uEight_, vEight_, width_, uWrap_, vWrap_;
    alignas(32) int32_t runU_[kMaxWalkRows + 7], runV_[kMaxWalkRows + 7];
};

}  // namespace

bool BlendWalkAvx2(const TexelWalk& walk, const WalkRows& rows, bool tint, uint32_t color,
                   uint32_t alphaOr, int* row, int* x) {
    // A group's eight words lie within its row and the seven words after it.
    const bool nearEnd = int64_t(rows.count) * rows.pitch + 7 > rows.end;
    auto run = [&]<TexelWalk::Bounds kBounds>() {
        if (nearEnd) {
            return tint ? Walker<true, kBounds, true>(walk, rows, color, alphaOr).Run(row, x)
                        : Walker<false, kBounds, true>(walk, rows, color, alphaOr).Run(row, x);
        }
        return tint ? Walker<true, kBounds, false>(walk, rows, color, alphaOr).Run(row, x)
                    : Walker<false, kBounds, false>(walk, rows, color, alphaOr).Run(row, x);
    };
    switch (walk.bounds) {
        case TexelWalk::kInside:
            return run.template operator()<TexelWalk::kInside>();
        case TexelWalk::kWrapped:
            return run.template operator()<TexelWalk::kWrapped>();
        default:
            return run.template operator()<TexelWalk::kTested>();
    }
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
