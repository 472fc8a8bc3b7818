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

// The state of one orbit; the assembly knows its layout.
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

static_assert(sizeof(SquareRow) == 48 && offsetof(SquareRow, hasTrap) == 40 && offsetof(SquareRow, row) == 44);
static_assert(sizeof(SquareLane) == 128 && offsetof(SquareLane, cyHigh) == 64 &&
              offsetof(SquareLane, trapRadiusSquared) == 96 && offsetof(SquareLane, markXBits) == 104 &&
              offsetof(SquareLane, steps) == 112 && offsetof(SquareLane, hasTrap) == 116 &&
              offsetof(SquareLane, row) == 120);
static_assert(offsetof(SquarePair, cx) == 256 && offsetof(SquarePair, scratch) == 272 &&
              offsetof(SquarePair, next) == 288 && offsetof(SquarePair, end) == 296 &&
              offsetof(SquarePair, counts) == 304 && offsetof(SquarePair, escapeRadiusSquared) == 320 &&
              offsetof(SquarePair, limit) == 336 && offsetof(SquarePair, captured) == 340);

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
