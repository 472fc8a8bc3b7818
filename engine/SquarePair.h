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

#include <cstddef>
#include <cstdint>

#include "engine/Iteration.h"
#include "engine/KernelLoops.h"
#include "engine/SquareLane.h"

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
    // Where set, a lane that reaches fastFrom steps parks its point here
    // (renewed, z in its checkpoint) and takes up the next, for the loop of
    // three orbits (SquareTriple.h) to go on with.
    SquareLane* parked = nullptr;
    int32_t parkedCount = 0;
};

static_assert(offsetof(SquarePair, cx) == SQUARE_PAIR_CX && offsetof(SquarePair, scratch) == SQUARE_PAIR_SCRATCH &&
              offsetof(SquarePair, next) == SQUARE_PAIR_NEXT && offsetof(SquarePair, end) == SQUARE_PAIR_END &&
              offsetof(SquarePair, counts) == SQUARE_PAIR_COUNTS &&
              offsetof(SquarePair, escapeRadiusSquared) == SQUARE_PAIR_RADIUS2 &&
              offsetof(SquarePair, limit) == SQUARE_PAIR_LIMIT && offsetof(SquarePair, captured) == SQUARE_PAIR_CAPTURED &&
              offsetof(SquarePair, ends) == SQUARE_PAIR_ENDS && offsetof(SquarePair, fastFrom) == SQUARE_PAIR_FAST_FROM &&
              offsetof(SquarePair, parked) == SQUARE_PAIR_PARKED &&
              offsetof(SquarePair, parkedCount) == SQUARE_PAIR_PARKED_COUNT);
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
// escapes its count and, with ends, the end of its orbit. With parked, a
// point renewed at fastFrom steps is parked instead.
int RunSquarePair(SquarePair& pair);
extern "C" int quorvex_run_square_pair(SquarePair* pair);

// Steps the lane until its point is done and stores the count; takes up the
// next point if there is one, and returns whether it did.
bool FinishSquareLane(SquarePair& pair, int lane);

// Puts the point into the lane at z = 0.
void TakeUpSquareRow(SquareLane& lane, const SquareRow& row);

// A lane that left the circle since its checkpoint: its steps again from
// there, each tested, and on to the end of its point; stores the count.
void RerunSquareLane(const SquarePair& pair, SquareLane lane);
