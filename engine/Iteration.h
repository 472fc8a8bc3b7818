#pragma once
// What a pixel's orbit is computed from, and the bounds of that computation:
// the one definition every kernel takes them from, the x87 loop included
// (through the fields of SquarePair it reads).

#include <cstdint>

#include "engine/FormulaParams.h"

// An escape count, 0 to kIterationLimit - 1, or kCaptured: kept whole from
// the kernels to the render driver, wider than the picture's 8-bit buffer.
using EscapeCount = int32_t;

// Steps before a point counts as captured. A multiple of 8: the kernels test
// it where they renew the point an orbit is compared with.
inline constexpr int kIterationLimit = 256;
// The count of a point that never leaves the circle |z|^2 < 10.
inline constexpr int kCaptured = 256;
// A point escapes once |z|^2 is not less than this.
inline constexpr long double kEscapeRadiusSquared = 10.0L;

// What is iterated: the formula and its parameters. A render takes a copy
// when it starts and reads nothing else, so the program may change its own
// values meanwhile.
struct Iteration {
    int type = 0;  // a formula type of the table, 1 to 6
    FormulaParams params{};
};
