#pragma once
// What a pixel's orbit is computed from, and the bounds of that computation:
// the one definition every kernel takes them from, the x87 loop included
// (through the fields of SquarePair it reads).

#include <cstdint>

#include "engine/FormulaParams.h"
#include "engine/JuliaPoint.h"

// An escape count, 0 to the limit - 1, or the limit itself for a captured
// point: kept whole from the kernels to the render driver, wider than the
// picture's 8-bit buffer.
using EscapeCount = int32_t;

// Steps before a point counts as captured, unless a view says otherwise.
inline constexpr int kDefaultIterationLimit = 256;
// The highest limit a view may have.
inline constexpr int kMostIterationLimit = 1 << 20;
// Every limit is a multiple of this: the kernels test the limit where they
// look at an orbit's mark, every kLimitStep steps.
inline constexpr int kLimitStep = 8;
// A point that does not leave the circle |z|^2 < 10 within the limit takes
// the limit as its count; kCaptured is that count at the default limit.
inline constexpr EscapeCount kCaptured = kDefaultIterationLimit;
constexpr bool IsEscapeCount(EscapeCount count, int limit) { return count < limit; }
// A point escapes once |z|^2 is not less than this.
inline constexpr long double kEscapeRadiusSquared = 10.0L;

// Whether a view may have this limit: a multiple of kLimitStep up to
// kMostIterationLimit.
constexpr bool IsIterationLimit(long long limit)
{
    return limit >= kLimitStep && limit <= kMostIterationLimit && limit % kLimitStep == 0;
}

// How an escaped point left the circle: |z|^2 of its last iterate inside
// (|z_j|^2 < 10, 0 for z_0) and of the first outside (|z_j+1|^2 >= 10), each
// rounded once to the nearest float. What the smooth colouring needs.
struct EscapeEnd {
    float before = 0;
    float after = 0;
    bool operator==(const EscapeEnd&) const = default;
};

// What is iterated: the formula, its parameters and the limit. A render
// takes a copy when it starts and reads nothing else, so the program may
// change its own values meanwhile.
struct Iteration {
    int type = 0;  // a formula type of the table, 1 to 6
    FormulaParams params{};
    int32_t limit = kDefaultIterationLimit;  // IsIterationLimit
    // Set: the Julia set of this c, each orbit starting at the pixel's point.
    JuliaPoint julia{};
};

// The rows of a column and where their counts go: the limit, the counts and,
// where wanted, the ends of the orbits that escape.
struct ColumnRun {
    long double cx;
    const long double* cy;
    int rows;
    int limit;  // IsIterationLimit
    EscapeCount* counts;
    EscapeEnd* ends;  // may be null
};
