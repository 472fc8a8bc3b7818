#pragma once
// Three orbits of z^2 + c stepped side by side past the tested steps, for the
// points the pair loop (SquarePair.h) parks at fastFrom steps.
//
// Two orbits on the x87 stack wait on the latency of their steps; a third
// fills that wait. With three orbits and cx the stack has one register
// free, so this loop takes the steps of every lane in blocks of
// kFastPeriod, with nothing tested, and the renewals after each block test
// what one free register allows:
// - between checkpoints, whether double(x) and double(y) are below 4 in
//   magnitude, and whether z is the mark. An orbit that left the circle
//   |z|^2 < 10 at an earlier step of the block is beyond |z| > 7 by now and
//   fails the test; one that left it at the renewal's own step may pass,
//   and fails at the next renewal, which is never past the next checkpoint;
// - at a checkpoint (a multiple of kCheckPeriod), |z|^2 < 10 exactly, with
//   x and y squared in their own registers after z is kept in pendingX and
//   pendingY; then the mark, the limit, the certified disk, the renewal of
//   the mark and the checkpoint, as the pair loop does.
// A lane that fails goes into reruns (its steps from the checkpoint again,
// each tested, are the pair's: RerunSquareLane); a point that ends stores
// the captured count; either way the lane takes up the next parked point.
//
// The loop exists twice, with the same results bit for bit: in C++
// (RunSquareTriple) and in x87 assembly (quorvex_run_square_triple,
// SquareTripleX87.S).

#include <cstddef>
#include <cstdint>

#include "engine/SquarePair.h"

struct alignas(16) SquareTriple {
    SquareLane lane[3];
    long double cx = 0;
    long double pendingX = 0;  // the assembly's
    long double pendingY = 0;
    double scratch[2] = {};
    const SquareLane* next = nullptr;  // the parked points still to take up
    const SquareLane* end = nullptr;
    EscapeCount* counts = nullptr;
    SquareLane* reruns = nullptr;  // room for one lane a parked point
    int32_t rerunCount = 0;
    int32_t limit = 0;  // a multiple of kCheckPeriod
    int32_t captured = 0;
    double escapeRadiusSquared = 0;
};

static_assert(offsetof(SquareTriple, cx) == SQUARE_TRIPLE_CX &&
              offsetof(SquareTriple, pendingX) == SQUARE_TRIPLE_PENDING_X &&
              offsetof(SquareTriple, pendingY) == SQUARE_TRIPLE_PENDING_Y &&
              offsetof(SquareTriple, scratch) == SQUARE_TRIPLE_SCRATCH &&
              offsetof(SquareTriple, next) == SQUARE_TRIPLE_NEXT && offsetof(SquareTriple, end) == SQUARE_TRIPLE_END &&
              offsetof(SquareTriple, counts) == SQUARE_TRIPLE_COUNTS &&
              offsetof(SquareTriple, reruns) == SQUARE_TRIPLE_RERUNS &&
              offsetof(SquareTriple, rerunCount) == SQUARE_TRIPLE_RERUN_COUNT &&
              offsetof(SquareTriple, limit) == SQUARE_TRIPLE_LIMIT &&
              offsetof(SquareTriple, captured) == SQUARE_TRIPLE_CAPTURED &&
              offsetof(SquareTriple, escapeRadiusSquared) == SQUARE_TRIPLE_RADIUS2);

// Whether the pair's points may go on in three lanes: its escape radius is a
// double, which the assembly compares with.
bool SquareTripleTakes(const SquarePair& pair);

// Puts a parked point into the lane, z at its checkpoint.
void TakeUpParked(SquareLane& lane, const SquareLane& parked);

// Blocks of kFastPeriod steps of the three lanes and their renewals, until
// a lane finds no parked point left: returns that lane; the other two are
// left part way, renewed at their steps where they come before it.
int RunSquareTriple(SquareTriple& triple);
extern "C" int quorvex_run_square_triple(SquareTriple* triple);

// The parked points of the pair's column to their ends (or, fewer than
// three, none of them): stores the counts, reruns the lanes that failed,
// puts the lanes still going into left and returns how many, at most two.
int RunParkedPoints(const SquarePair& pair, const SquareLane* parked, int count, SquareLane* left, bool assembly);
