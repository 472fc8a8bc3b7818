#pragma once
// The six escape-time maps, iterated from z = 0 for at most 256 steps.

#include "engine/Iteration.h"

inline constexpr int kFirstFormulaType = 1;
inline constexpr int kLastFormulaType = 6;

// Escape count 0..255, or kCaptured. Unknown types capture every point.
int IteratePoint(int type, long double cx, long double cy, const FormulaParams& params);

// The values the coefficient dialog starts with: xi 1.01, eta 1.12, lambda 1.18.
FormulaParams StartupEditedParams();
