// The runs of a triangle's rows eight at a time. This file is compiled for AVX2 and includes no
// inline code shared with the rest of the device, so no AVX2 instruction leaks into code that
// runs on processors without it.
#include "platform/gfx/coverage_avx2.h"

#include <immintrin.h>

namespace platform::gfx {

namespace {

// Where a remainder has reached `times` divisors: takes them off and adds `times` to the
// quotient.
void TakeDivisors(int32_t times, int32_t divisor, __m256i* quotient, __m256i* remainder) {
    const __m256i over = _mm256_sub_epi32(*remainder, _mm256_set1_epi32(times * divisor));
    const __m256i carry = _mm256_cmpgt_epi32(over, _mm256_set1_epi32(-1));
    *remainder = _mm256_blendv_epi8(*remainder, over, carry);
    *quotient = _mm256_add_epi32(*quotient, _mm256_and_si256(carry, _mm256_set1_epi32(times)));
}

// N bounds that step alike (one divisor, one step a row) over eight consecutive rows, one a
// lane, stepped eight rows at a time: a triangle's edge, or two opposite sides of a
// parallelogram.
template <int N>
struct Lanes {
    __m256i quotient[N], remainder[N], divisor, quotientStep, remainderStep;

    // Lane i from the bound i rows down. The remainder plus up to eight steps stays below eight
    // divisors, so taking off four, two and one divisors where they fit brings it into range;
    // the same makes the step of eight rows. The bounds share bounds[0]'s divisor and steps.
    explicit Lanes(const RowBound* bounds) {
        const RowBound& b = bounds[0];
        const __m256i index = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
        divisor = _mm256_set1_epi32(b.divisor);
        const __m256i quotients = _mm256_mullo_epi32(index, _mm256_set1_epi32(b.quotientStep));
        const __m256i remainders = _mm256_mullo_epi32(index, _mm256_set1_epi32(b.remainderStep));
        for (int k = 0; k < N; ++k) {
            quotient[k] = _mm256_add_epi32(_mm256_set1_epi32(bounds[k].quotient), quotients);
            remainder[k] = _mm256_add_epi32(_mm256_set1_epi32(bounds[k].remainder), remainders);
        }
        quotientStep = _mm256_set1_epi32(int32_t(uint32_t(b.quotientStep) * 8));
        remainderStep = _mm256_set1_epi32(b.remainderStep * 8);
        static constexpr int32_t kTimes[] = {4, 2, 1};
        for (const int32_t times : kTimes) {
            for (int k = 0; k < N; ++k) TakeDivisors(times, b.divisor, &quotient[k], &remainder[k]);
            TakeDivisors(times, b.divisor, &quotientStep, &remainderStep);
        }
    }

    void Step() {
        for (int k = 0; k < N; ++k) {
            const __m256i sum = _mm256_add_epi32(remainder[k], remainderStep);
            // Remainders lie below 2^29: as unsigned numbers, sum - divisor is the lesser one
            // exactly when it is not negative.
            const __m256i carry = _mm256_cmpgt_epi32(sum, _mm256_sub_epi32(divisor, _mm256_set1_epi32(1)));
            remainder[k] = _mm256_min_epu32(sum, _mm256_sub_epi32(sum, divisor));
            quotient[k] = _mm256_sub_epi32(_mm256_add_epi32(quotient[k], quotientStep), carry);
        }
    }

    // The bound at the row after lane `lane`'s, from the one-row step.
    void LeaveAfter(int lane, const RowBound& original, RowBound* b) const {
        static_assert(N == 1);
        const __m256i at = _mm256_set1_epi32(lane);
        const int32_t q = _mm256_cvtsi256_si32(_mm256_permutevar8x32_epi32(quotient[0], at));
        const int32_t sum = _mm256_cvtsi256_si32(_mm256_permutevar8x32_epi32(remainder[0], at)) + original.remainderStep;
        const bool carry = sum >= original.divisor;
        b->remainder = carry ? sum - original.divisor : sum;
        b->quotient = int32_t(uint32_t(q) + uint32_t(original.quotientStep) + (carry ? 1u : 0u));
    }
};

// Eight rows' runs clamped to a box and written out offset by its left column: the starts
// within [0, width] and the ends within [-1, width - 1], so that a row without a run has its
// start past its end however far the quotients lie.
struct BoxRuns {
    __m256i zero = _mm256_setzero_si256(), minusOne = _mm256_set1_epi32(-1);
    __m256i width, lastPixel, left;

    BoxRuns(int boxLeft, int boxWidth)
        : width(_mm256_set1_epi32(boxWidth)), lastPixel(_mm256_set1_epi32(boxWidth - 1)),
          left(_mm256_set1_epi32(boxLeft)) {}

    // The runs [starts, ends] from the box's left into first[0..7], last[0..7]; *low and *high
    // are them clamped, before the offset.
    void Write(__m256i starts, __m256i ends, int* first, int* last, __m256i* low, __m256i* high) const {
        *low = _mm256_min_epi32(_mm256_max_epi32(starts, zero), width);
        *high = _mm256_max_epi32(_mm256_min_epi32(ends, lastPixel), minusOne);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(first), _mm256_add_epi32(*low, left));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(last), _mm256_add_epi32(*high, left));
    }
};

}  // namespace

bool TriangleRowsAvx2(TriangleRows& rows, int count, int* first, int* last) {
    Lanes<1> longEdge(&rows.longEdge), upperEdge(&rows.upperEdge), lowerEdge(&rows.lowerEdge);
    const __m256i middle = _mm256_set1_epi32(rows.middle);
    // Which side the long edge bounds changes from triangle to triangle: a mask, not a branch.
    const __m256i longStarts = _mm256_set1_epi32(rows.longStarts ? -1 : 0);
    const BoxRuns box(rows.left, rows.width);
    const __m256i rowCount = _mm256_set1_epi32(count);
    __m256i row = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7), any = _mm256_setzero_si256();
    int r = 0;
    for (;;) {
        const __m256i other =
            _mm256_blendv_epi8(lowerEdge.quotient[0], upperEdge.quotient[0], _mm256_cmpgt_epi32(middle, row));
        const __m256i starts = _mm256_blendv_epi8(other, longEdge.quotient[0], longStarts);
        const __m256i ends = _mm256_blendv_epi8(longEdge.quotient[0], other, longStarts);
        __m256i low, high;
        box.Write(starts, ends, first + r, last + r, &low, &high);
        // Rows past count do not count.
        any = _mm256_or_si256(any, _mm256_andnot_si256(_mm256_cmpgt_epi32(low, high), _mm256_cmpgt_epi32(rowCount, row)));
        if ((r += 8) >= count) break;
        longEdge.Step();
        upperEdge.Step();
        lowerEdge.Step();
        row = _mm256_add_epi32(row, _mm256_set1_epi32(8));
    }
    // The lanes hold rows r - 8 to r - 1; the next call begins at row count.
    const int lane = count - 1 - (r - 8);
    longEdge.LeaveAfter(lane, rows.longEdge, &rows.longEdge);
    upperEdge.LeaveAfter(lane, rows.upperEdge, &rows.upperEdge);
    lowerEdge.LeaveAfter(lane, rows.lowerEdge, &rows.lowerEdge);
    rows.middle -= count;
    return !_mm256_testz_si256(any, any);
}

int QuadRowsAvx2(const QuadRows& rows, int count, int* first, int* last) {
    Lanes<2> sides0(rows.sides[0]), sides1(rows.sides[1]);
    Lanes<1> diagonal(&rows.diagonal);
    // A part that ends at the diagonal's quotient leaves the rest from the pixel after it.
    const __m256i splitOffset = _mm256_set1_epi32(rows.diagonalStarts ? 0 : 1);
    const BoxRuns box(rows.left, rows.width);
    const __m256i one = _mm256_set1_epi32(1), rowCount = _mm256_set1_epi32(count);
    __m256i row = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    __m256i leftParts = _mm256_setzero_si256(), rightParts = _mm256_setzero_si256();
    for (int r = 0;;) {
        const __m256i starts = _mm256_max_epi32(sides0.quotient[0], sides1.quotient[0]);
        const __m256i ends = _mm256_min_epi32(sides0.quotient[1], sides1.quotient[1]);
        __m256i low, high;
        box.Write(starts, ends, first + r, last + r, &low, &high);
        const __m256i cut = _mm256_min_epi32(_mm256_max_epi32(_mm256_add_epi32(diagonal.quotient[0], splitOffset), low),
                                             _mm256_add_epi32(high, one));
        // Rows past count do not count; cut lies within [low, high + 1].
        const __m256i counted = _mm256_cmpgt_epi32(rowCount, row);
        leftParts = _mm256_or_si256(leftParts, _mm256_and_si256(counted, _mm256_cmpgt_epi32(cut, low)));
        rightParts = _mm256_or_si256(rightParts, _mm256_and_si256(counted, _mm256_cmpgt_epi32(_mm256_add_epi32(high, one), cut)));
        if ((r += 8) >= count) break;
        sides0.Step();
        sides1.Step();
        diagonal.Step();
        row = _mm256_add_epi32(row, _mm256_set1_epi32(8));
    }
    return (_mm256_testz_si256(leftParts, leftParts) ? 0 : 1) + (_mm256_testz_si256(rightParts, rightParts) ? 0 : 1);
}

}  // namespace platform::gfx
