#pragma once
// Two orbits of z^2 + c stepped side by side, the column kernel of type 1.
//
// The stepping loop exists twice, with the same results bit for bit: in plain
// C++ (RunSquarePair) and in x87 assembly (quorvex_run_square_pair,
// SquarePairX87.S). The compiler keeps the two orbits' long doubles in memory
// between steps, and reloading an 80-bit value costs as much as a
// multiplication; the assembly keeps both orbits, cx and the escape radius on
// the x87 stack for the whole column.

#include <cstddef>
#include <cstdint>

#include "engine/Iteration.h"
#include "engine/SquarePairLayout.h"

// A point of the column that needs steps, as the loop takes it up.
struct SquareRow {
    double cyHigh = 0;  // cy == cyHigh + cyLow exactly
    double cyLow = 0;
    double trapX = 0;  // the certified disk (InteriorTrap), if hasTrap
    double trapY = 0;
    double trapRadiusSquared = 0;
    int32_t hasTrap = 0;
    int32_t row = 0;
};

// The state of one orbit; the assembly knows its layout (SquarePairLayout.h).
struct alignas(16) SquareLane {
    long double x = 0;  // z_s
    long double y = 0;
    long double markX = 0;  // the point of the orbit it is compared with
    long double markY = 0;
    double cyHigh = 0;  // as in SquareRow
    double cyLow = 0;
    double trapX = 0;
    double trapY = 0;
    double trapRadiusSquared = 0;
    uint64_t markXBits = 0;  // the bits of double(markX)
    int32_t steps = 0;       // s
    int32_t hasTrap = 0;
    int32_t row = 0;
    int32_t unused = 0;
};

struct alignas(16) SquarePair {
    SquareLane lane[2];
    long double cx = 0;
    double scratch[2] = {};  // the assembly's
    const SquareRow* next = nullptr;  // the points still to take up
    const SquareRow* end = nullptr;
    EscapeCount* counts = nullptr;  // the column's counts, by row
    // The bounds of the iteration, read by both loops; the limit is a
    // multiple of 8.
    long double escapeRadiusSquared = kEscapeRadiusSquared;
    int32_t limit = kIterationLimit;
    int32_t captured = kCaptured;
};

static_assert(sizeof(SquareRow) == SQUARE_ROW_SIZE && offsetof(SquareRow, cyHigh) == 0 &&
              offsetof(SquareRow, trapRadiusSquared) == 32 && offsetof(SquareRow, hasTrap) == SQUARE_ROW_HAS_TRAP &&
              offsetof(SquareRow, row) == SQUARE_ROW_ROW);
static_assert(sizeof(SquareLane) == SQUARE_LANE_SIZE && offsetof(SquareLane, x) == SQUARE_LANE_X &&
              offsetof(SquareLane, y) == SQUARE_LANE_Y && offsetof(SquareLane, markX) == SQUARE_LANE_MARK_X &&
              offsetof(SquareLane, markY) == SQUARE_LANE_MARK_Y && offsetof(SquareLane, cyHigh) == SQUARE_LANE_CY_HIGH &&
              offsetof(SquareLane, cyLow) == SQUARE_LANE_CY_LOW && offsetof(SquareLane, trapX) == SQUARE_LANE_TRAP_X &&
              offsetof(SquareLane, trapY) == SQUARE_LANE_TRAP_Y &&
              offsetof(SquareLane, trapRadiusSquared) == SQUARE_LANE_TRAP_RADIUS2 &&
              offsetof(SquareLane, markXBits) == SQUARE_LANE_MARK_X_BITS &&
              offsetof(SquareLane, steps) == SQUARE_LANE_STEPS && offsetof(SquareLane, hasTrap) == SQUARE_LANE_HAS_TRAP &&
              offsetof(SquareLane, row) == SQUARE_LANE_ROW);
static_assert(offsetof(SquarePair, cx) == SQUARE_PAIR_CX && offsetof(SquarePair, scratch) == SQUARE_PAIR_SCRATCH &&
              offsetof(SquarePair, next) == SQUARE_PAIR_NEXT && offsetof(SquarePair, end) == SQUARE_PAIR_END &&
              offsetof(SquarePair, counts) == SQUARE_PAIR_COUNTS &&
              offsetof(SquarePair, escapeRadiusSquared) == SQUARE_PAIR_RADIUS2 &&
              offsetof(SquarePair, limit) == SQUARE_PAIR_LIMIT && offsetof(SquarePair, captured) == SQUARE_PAIR_CAPTURED);
// The assembly copies a row's five doubles into the lane whole, and stores
// 32-bit counts.
static_assert(offsetof(SquareLane, trapRadiusSquared) - offsetof(SquareLane, cyHigh) == 32 &&
              sizeof(EscapeCount) == 4);

// Steps lane 0, then lane 1, and again. A lane whose point is done stores its
// count and takes up the next point, which takes its first step at once.
// Returns the lane that found no point left; the other is left part way.
//
// Each step of a lane whose s is a multiple of 8 first ends the point if z_s
// escaped, if s is the pair's limit or if z_s is in the disk, and makes z_s
// the mark; any step ends it when the point it reaches equals the mark in
// value. A point that does not escape stores the pair's captured count.
int RunSquarePair(SquarePair& pair);
extern "C" int quorvex_run_square_pair(SquarePair* pair);

// Steps the lane until its point is done and stores the count; takes up the
// next point if there is one, and returns whether it did.
bool FinishSquareLane(SquarePair& pair, int lane);

// Puts the point into the lane at z = 0.
void TakeUpSquareRow(SquareLane& lane, const SquareRow& row);

// counts[i] = IteratePoint(1, cx, cy[i]) for i = 0..rows-1, the pairs stepped
// by the assembly or by the C++ loop.
void IterateSquareColumn(long double cx, const long double* cy, int rows, EscapeCount* counts, bool assembly = true);
