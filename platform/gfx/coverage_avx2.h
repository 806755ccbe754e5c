// A triangle's runs of pixels eight rows at a time with 256-bit vectors, for processors that
// have them.
#pragma once

#include <cstdint>

namespace platform::gfx {

// An edge's bound on the runs of successive rows: floor(m / divisor) = quotient with
// m - quotient divisor = remainder in [0, divisor), m changing by quotientStep divisor +
// remainderStep (in [0, divisor)) a row. The quotient and its step are kept modulo 2^32: a row
// takes the quotient only where the edge passes it, and there it lies within the guard band,
// far inside 32 bits.
struct RowBound {
    int32_t quotient, remainder, divisor, quotientStep, remainderStep;
};

// Divisors below this keep the sum of eight rows' remainder steps within 32 bits.
constexpr int64_t kRowBoundDivisorLimit = int64_t(1) << 28;

// A triangle's rows from the next one on. Above its middle corner (in y) a run lies between
// the long edge (top to bottom corner) and the upper one (top to middle): there the lower edge
// passes every pixel centre between them. From the middle corner's row down it lies between
// the long edge and the lower one (middle to bottom), and there the upper edge passes every
// pixel centre between them: the corner's own pixel centre, on both short edges, is owned by
// both or by neither, as they bound the same side, unless one is level: a level upper edge is
// the top side and owns its row, a level lower edge the bottom side and owns none of it.
struct TriangleRows {
    RowBound longEdge, upperEdge, lowerEdge;
    bool longStarts;  // the long edge bounds the starts of the runs, the others their ends
    int middle;       // the first row at or below the middle corner
    int left, width;  // the box
};

// The runs of the next `count` rows (at least one): row r's is [first[r], last[r]], the
// quotients kept within [0, width] and [-1, width - 1] and offset by left, so that a row without
// one has first > last. Writes up to seven entries past count. Leaves the rows at the row past
// the last and returns whether a row had a run.
bool TriangleRowsAvx2(TriangleRows& rows, int count, int* first, int* last);

// A parallelogram's rows from its box's top one: a run lies between the greater of two starts
// and the lesser of two ends, as it is convex, and its diagonal splits the run between its two
// triangles.
struct QuadRows {
    // Two pairs of opposite sides, each the side that starts the runs, then the one that ends
    // them. The two of a pair step alike (one divisor, one step a row): the first's are used.
    RowBound sides[2][2];
    RowBound diagonal;   // the bound of the part on the diagonal's inner side
    bool diagonalStarts;  // that part starts at the diagonal (lies on the right) or ends there
    int left, width;      // the box
};

// The runs of `count` rows (1 to 256) as QuadRows gives them: row r's run is [first[r], last[r]]
// (first > last for none). Writes up to seven entries past count. Returns how many of the two
// triangles had a pixel: the parts of the runs on either side of the diagonal.
int QuadRowsAvx2(const QuadRows& rows, int count, int* first, int* last);

}  // namespace platform::gfx
