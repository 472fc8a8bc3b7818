#pragma once
// Two orbits of z^2 + c stepped side by side, the column kernel of type 1.
//
// The stepping loop exists twice, with the same results bit for bit: in plain
// C++ (RunSquarePair) and in x87 assembly (quorvex_run_square_pair,
// SquarePairX87.S). The compiler keeps the two orbits' long doubles in memory
// between steps, and reloading an 80-bit value costs as much as a
// multiplication; the assembly keeps both orbits, cx and the escape radius on
// the x87 stack for the whole column.
//
// Past pair.fastFrom steps a lane takes its steps without the escape test,
// which only its renewals every kFastPeriod steps make: where |cx| and every
// |cy| are at most 2, an orbit that has left the circle |z|^2 < 10 stays
// outside (|z'| >= |z|^2 - |c| > 7) and grows without overflow for
// kFastPeriod steps (below 10^(2^kFastPeriod), and 10^4932 is the largest
// long double), so |z_s|^2 < 10 at a renewal says that no step since the
// last one escaped.
// Where z_s is outside, the lane goes back to z at the last renewal (its
// checkpoint) and takes the steps again with the test, which finds the
// count and the end of the orbit as the plain loop does.

#include <climits>
#include <cstddef>
#include <cstdint>

#include "engine/Iteration.h"
#include "engine/KernelLoops.h"
#include "engine/SquarePairLayout.h"

// The steps past which a lane leaves out its escape test between renewals,
// and the value that keeps it in.
inline constexpr int32_t kFastFrom = 256;
inline constexpr int32_t kNeverFast = INT32_MAX;
// Steps between two renewals past kFastFrom; a lane runs that way only
// where the limit is a multiple of it.
inline constexpr int kFastPeriod = SQUARE_FAST_PERIOD;
// Steps between two checkpoints past kFastFrom.
inline constexpr int kCheckPeriod = SQUARE_CHECK_PERIOD;
static_assert(kFastPeriod == 8 && kFastFrom % kCheckPeriod == 0 && kCheckPeriod % kFastPeriod == 0 &&
              (kCheckPeriod & (kCheckPeriod - 1)) == 0);

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
    float before = 0;  // |z_s-1|^2, rounded to float: set by the step that made z_s
    long double checkX = 0;  // z at the last renewal past pair.fastFrom
    long double checkY = 0;
};

struct alignas(16) SquarePair {
    SquareLane lane[2];
    long double cx = 0;
    double scratch[2] = {};  // the assembly's
    const SquareRow* next = nullptr;  // the points still to take up
    const SquareRow* end = nullptr;
    EscapeCount* counts = nullptr;  // the column's counts, by row
    // The bounds of the iteration, read by both loops; the limit is a
    // multiple of 8, and of kCheckPeriod where fastFrom is not kNeverFast.
    long double escapeRadiusSquared = kEscapeRadiusSquared;
    int32_t limit = kDefaultIterationLimit;
    int32_t captured = kCaptured;  // the limit, for the kernels
    EscapeEnd* ends = nullptr;  // by row, where wanted: the ends of escaped orbits
    // Steps past which a lane leaves out the escape test; kNeverFast where
    // a point of the column has |cx| or |cy| above 2.
    int32_t fastFrom = kFastFrom;
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
              offsetof(SquareLane, row) == SQUARE_LANE_ROW && offsetof(SquareLane, before) == SQUARE_LANE_BEFORE &&
              offsetof(SquareLane, checkX) == SQUARE_LANE_CHECK_X && offsetof(SquareLane, checkY) == SQUARE_LANE_CHECK_Y);
static_assert(offsetof(SquarePair, cx) == SQUARE_PAIR_CX && offsetof(SquarePair, scratch) == SQUARE_PAIR_SCRATCH &&
              offsetof(SquarePair, next) == SQUARE_PAIR_NEXT && offsetof(SquarePair, end) == SQUARE_PAIR_END &&
              offsetof(SquarePair, counts) == SQUARE_PAIR_COUNTS &&
              offsetof(SquarePair, escapeRadiusSquared) == SQUARE_PAIR_RADIUS2 &&
              offsetof(SquarePair, limit) == SQUARE_PAIR_LIMIT && offsetof(SquarePair, captured) == SQUARE_PAIR_CAPTURED &&
              offsetof(SquarePair, ends) == SQUARE_PAIR_ENDS && offsetof(SquarePair, fastFrom) == SQUARE_PAIR_FAST_FROM);
// The assembly copies a row's five doubles into the lane whole, stores
// 32-bit counts and ends of two floats, and renews the mark where
// kernel_loops::RenewsMark says.
static_assert(offsetof(SquareLane, trapRadiusSquared) - offsetof(SquareLane, cyHigh) == 32 &&
              sizeof(EscapeCount) == 4 && sizeof(EscapeEnd) == 8 && offsetof(EscapeEnd, after) == 4 &&
              SQUARE_MARK_OCTAVE_SHIFT == kernel_loops::kMarkOctaveShift);

// Steps lane 0, then lane 1, and again. A lane whose point is done stores its
// count and takes up the next point, which takes its first step at once.
// Returns the lane that found no point left; the other is left part way.
//
// A step of a lane whose s is a multiple of 8 first renews it. Up to
// fastFrom steps the renewal ends the point if s is the pair's limit (with
// the count s - 1 if z_s escaped, else captured) or if z_s is in the disk,
// and makes z_s the mark where RenewsMark(s) (and the checkpoint at
// fastFrom); the step tests z_s, and ends the point when the point it
// reaches equals the mark in value. Past fastFrom the renewal goes back to
// the checkpoint if z_s is outside the circle, and then ends the point if
// z_s equals the mark in value; where s is a multiple of kCheckPeriod it
// also ends it if s is the limit or z_s is in the disk, and else renews the
// mark where RenewsMark(s), and the checkpoint; the steps test nothing.
// A point that does not escape stores the pair's captured count; one that
// escapes its count and, with ends, the end of its orbit.
int RunSquarePair(SquarePair& pair);
extern "C" int quorvex_run_square_pair(SquarePair* pair);

// Steps the lane until its point is done and stores the count; takes up the
// next point if there is one, and returns whether it did.
bool FinishSquareLane(SquarePair& pair, int lane);

// Puts the point into the lane at z = 0.
void TakeUpSquareRow(SquareLane& lane, const SquareRow& row);

// The counts (and ends) of IteratePoint for type 1 at the run's limit, the
// pairs stepped by the assembly or by the C++ loop.
void IterateSquareColumn(const ColumnRun& run, bool assembly = true);
// The same at the limit of 256, without ends.
void IterateSquareColumn(long double cx, const long double* cy, int rows, EscapeCount* counts, bool assembly = true);
