#pragma once
// The six escape-time maps, iterated from z = 0 for at most 256 steps.

#include "untQVINC.h"

struct FormulaParams {
    ComplexValue Og;  // whole-view centre of types 2 to 5
    ComplexValue Gz;  // xi
    ComplexValue It;  // eta
    ComplexValue Rm;  // lambda
    ComplexValue Mu;  // mu
};

inline constexpr int kFirstFormulaType = 1;
inline constexpr int kLastFormulaType = 6;
inline constexpr int kIterationLimit = 256;
// Returned by IteratePoint for a point that never leaves the circle |z|^2 < 10.
inline constexpr int kCaptured = 256;

// Escape count 0..255, or kCaptured. Unknown types capture every point.
int IteratePoint(int type, long double cx, long double cy, const FormulaParams& params);

// The values the coefficient dialog starts with: xi 1.01, eta 1.12, lambda 1.18.
FormulaParams StartupEditedParams();
